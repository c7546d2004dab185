// The definitions of a listing that the Go to Sub list shows, its filter,
// and the words completion offers.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "editing/subrules.h"

namespace {

// What a scan found: each entry as "line: text".
std::vector<std::string> FOUND(const std::string &listing) {
    std::vector<std::string> found;
    for (const SubEntry &e : SCANSUBS(listing))
        found.push_back(std::to_string(e.Line) + ": " + std::string(ENTRYTEXT(listing, e)));
    return found;
}

std::vector<std::string> NAMES(const std::string &listing) {
    std::vector<std::string> names;
    for (const SubEntry &e : SCANSUBS(listing))
        names.emplace_back(ENTRYNAME(listing, e));
    return names;
}

using Lines = std::vector<std::string>;

struct OneLine {
    const char *Text;
    bool Defines;
};

// One statement line each, on its own.
const OneLine ONELINES[] = {
    // each keyword
    {"Sub Main()", true},
    {"Function Parse(text As String) As Long", true},
    {"Property Get Caption() As String", true},
    {"Property Set Caption(v As String)", true},
    {"Property Vec.Length() As Double", true},
    {"Constructor Vec()", true},
    {"Destructor Vec()", true},
    {"Operator + (ByRef a As Vec, ByRef b As Vec) As Vec", true},
    {"Operator Vec.Let (ByRef v As Vec)", true},
    {"Operator = (ByRef a As Vec, ByRef b As Vec) As Long", true},
    {"Method Draw(x As Long)", true},
    {"Callback Function DlgProc()", true},
    {"CALLBACK FUNCTION DlgProc", true},
    // each modifier, alone and together
    {"Public Sub A()", true},
    {"Private Function B() As Long", true},
    {"Protected Sub C()", true},
    {"Static Sub D()", true},
    {"Export Function E() As Long", true},
    {"Overload Function F(a As Long) As Long", true},
    {"Thread Function Worker(ByVal p As Long) As Long", true},
    {"Virtual Sub G()", true},
    {"Abstract Sub H()", true},
    {"Override Sub I()", true},
    {"Class Method Create()", true},
    {"Private Static Sub J()", true},
    {"Public Callback Function K()", true},
    // mixed case
    {"sUb lower()", true},
    {"FUNCTION UPPER() AS LONG", true},
    {"pRiVaTe sub Mixed", true},
    // blanks and tabs
    {"\t  Sub Indented()", true},
    {"Sub\tTabbed()", true},
    {"Sub  _Underscored()", true},
    // a name of other letters (UTF-8)
    {"Sub \xC3\x84nderung()", true},
    // declarations, ends, exits, the return value
    {"Declare Sub A()", false},
    {"Declare Function B() As Long", false},
    {"Private Declare Sub C()", false},
    {"End Sub", false},
    {"End Function", false},
    {"Exit Function", false},
    {"Exit Sub", false},
    {"Function = 5", false},
    {"FUNCTION = x + 1", false},
    {"Property = v", false},
    {"Operator = result", false},
    {"Operator = (a + b)", false},
    {"Operator = ", false},
    {"Operator 'x", false},
    {"Operator :", false},
    // a keyword without a name, or not followed by a blank
    {"Sub", false},
    {"Sub ", false},
    {"Sub()", false},
    {"Function=1", false},
    {"Sub.Member = 1", false},
    {"Sub 1()", false},
    {"Sub (x)", false},
    {"Callback Sub X()", false},
    {"Callback Function", false},
    {"Callback FunctionX()", false},
    {"Callback", false},
    {"Public", false},
    {"Public:", false},
    {"Private Sub", false},
    {"Static x As Long", false},
    // a keyword that is part of a longer word
    {"Subtotal = 1", false},
    {"MySub()", false},
    {"Sub_Total = 3", false},
    {"Functions()", false},
    {"Submit x", false},
    {"SubX Y", false},
    // comments
    {"' Sub Commented()", false},
    {"Rem Sub Commented()", false},
    {"REM Function Commented()", false},
    {"Print \"Sub Quoted()\"", false},
    {"Call Sub1()", false},
    {"", false},
    {"   ", false},
};

TEST(SubScan, EachLineAsTheTableSays) {
    for (const OneLine &l : ONELINES) {
        const std::string listing = std::string(l.Text) + "\r\n";
        const auto entries = SCANSUBS(listing);
        EXPECT_EQ(entries.size(), l.Defines ? 1u : 0u) << l.Text;
        EXPECT_EQ(ISDEFINITIONLINE(l.Text), l.Defines) << l.Text;
    }
}

TEST(SubScan, TheTextIsTheLineAsWrittenWithoutTheBlanksAround) {
    const std::string listing = "  Function Parse(text As String) As Long  \t\r\n";
    EXPECT_EQ(FOUND(listing), Lines{"0: Function Parse(text As String) As Long"});
    EXPECT_EQ(FOUND("Sub A() ' the first\r\n"), Lines{"0: Sub A() ' the first"});
}

TEST(SubScan, NamesForCompletion) {
    EXPECT_EQ(NAMES("Sub Main()\r\nFunction Parse$(t As String)\r\nProperty Get Caption() As String\r\n"
                    "Property Vec.Length() As Double\r\nOperator + (a As V, b As V) As V\r\n"
                    "Callback Function DlgProc\r\nSub Count&\r\nMethod X.Y.Z()\r\nSub _p\r\n"),
              (Lines{"Main", "Parse$", "Caption", "Length", "", "DlgProc", "Count&", "Z", "_p"}));
    // Digits from 0 to 9 belong to a name.
    EXPECT_EQ(NAMES("Sub A0()\r\nSub B9x\r\n"), (Lines{"A0", "B9x"}));
    // Property Get with nothing after it is a property named Get.
    EXPECT_EQ(NAMES("Property Get() As Long\r\n"), Lines{"Get"});
    EXPECT_EQ(NAMES("Property Set\r\n"), Lines{"Set"});
}

TEST(SubScan, LineNumbersCountEveryKindOfLineEnd) {
    EXPECT_EQ(FOUND("Sub A\nSub B\r\nSub C\rSub D\r\n\r\n\nSub E"),
              (Lines{"0: Sub A", "1: Sub B", "2: Sub C", "3: Sub D", "6: Sub E"}));
}

TEST(SubScan, NoFinalLineBreak) {
    EXPECT_EQ(FOUND("Sub A"), Lines{"0: Sub A"});
    EXPECT_EQ(FOUND("' x\r\nFunction F() As Long"), Lines{"1: Function F() As Long"});
    EXPECT_EQ(FOUND("Sub B\r"), Lines{"0: Sub B"});
    EXPECT_EQ(FOUND("Sub"), Lines{});
    EXPECT_EQ(FOUND("Rem"), Lines{});
    EXPECT_EQ(FOUND("x = 1 _"), Lines{});
    EXPECT_EQ(FOUND(""), Lines{});
}

TEST(SubScan, AContinuedDefinitionIsOneEntryOnItsFirstLine) {
    const std::string listing =
        "Function Long(a As Long, _\r\n"
        "              b As Long, _ ' the second\r\n"
        "              c As Long) As Long\r\n"
        "End Function\r\n"
        "x = 1 + _\r\n"
        "Sub NotOne()\r\n"
        "_\r\n"
        "Sub NotTwo()\r\n"
        "y = a_\r\n"
        "Sub Three()\r\n";
    EXPECT_EQ(FOUND(listing), (Lines{"0: Function Long(a As Long, _", "9: Sub Three()"}));
    // An underscore inside a comment or a string continues nothing.
    EXPECT_EQ(FOUND("x = 1 ' _\r\nSub A\r\nPrint \" _\"\r\nSub B\r\nPrint \" _\r\nSub C\r\n"),
              (Lines{"1: Sub A", "3: Sub B", "5: Sub C"}));
    // The continuation may start its line.
    EXPECT_EQ(FOUND("x = 1\r\n  _\r\nSub A\r\nSub B\r\n"), Lines{"3: Sub B"});
}

TEST(SubScan, CommentsAndStrings) {
    const std::string listing =
        "' Sub InComment()\r\n"        // 0
        "Rem Sub InRem()\r\n"          // 1
        "x = 1 : Rem _\r\n"            // 2  a Rem after a colon continues nothing
        "Sub A()\r\n"                  // 3
        "Print \"/'\"\r\n"             // 4  no block comment in a string
        "Sub B()\r\n"                  // 5
        "Remark = 1 _\r\n"             // 6  a word that starts with Rem is code
        "Sub NotC()\r\n"               // 7
        "s = \"\"\"\" _\r\n"           // 8  doubled quotes, then a continuation
        "Sub NotD()\r\n"               // 9
        "s = !\"\\\" _\"\r\n"          // 10 an escaped quote in an escape string
        "Sub E()\r\n"                  // 11
        "s = \"\\\" _\r\n"             // 12 a backslash ends a plain string
        "Sub NotF()\r\n"               // 13
        "s = \"\"\" _\r\n"              // 14 a doubled quote inside: the string stays open
        "Sub G()\r\n";                 // 15
    EXPECT_EQ(FOUND(listing), (Lines{"3: Sub A()", "5: Sub B()", "11: Sub E()", "15: Sub G()"}));
}

TEST(SubScan, BlockCommentsNestAndEndMidLine) {
    const std::string listing =
        "/' Sub Hidden()\r\n"          // 0
        "Sub AlsoHidden()\r\n"         // 1
        "  /' nested '/\r\n"           // 2
        "Sub StillHidden()\r\n"        // 3
        "'/ x = 1\r\n"                 // 4
        "Sub Shown()\r\n"              // 5
        "x = 1 /' a comment '/ _\r\n"  // 6  closed on its line: the continuation counts
        "Sub NotShown()\r\n"           // 7
        "Sub Open() /' opens\r\n"      // 8
        "Sub Inside()\r\n"             // 9
        "'/\r\n"                       // 10
        "' /' in a line comment\r\n"   // 11
        "Sub Last()";                  // 12
    EXPECT_EQ(FOUND(listing), (Lines{"5: Sub Shown()", "8: Sub Open() /' opens", "12: Sub Last()"}));
    // One comment closed and the next opened right after it.
    EXPECT_EQ(FOUND("/' a '//' b\r\nSub Hidden()\r\n'/\r\nSub B()\r\n"), Lines{"3: Sub B()"});
}

TEST(SubScan, MethodsOfAnInterfaceOutsideAClassAreDeclarations) {
    const std::string listing =
        "Interface IShape\r\n"           // 0
        "  Inherit IUnknown\r\n"
        "  Method Area() As Double\r\n"  // 2 declared only
        "End Interface\r\n"
        "Class CSquare\r\n"              // 4
        "  Instance Side As Double\r\n"
        "  Class Method Create()\r\n"    // 6
        "  End Method\r\n"
        "  Interface IShape\r\n"
        "    Inherit IUnknown\r\n"
        "    Method Area() As Double\r\n"  // 10 defined
        "    End Method\r\n"
        "  End Interface\r\n"
        "End Class\r\n"
        "Interface IOther\r\n"           // 14
        "  Property Get Name() As String\r\n"
        "End Interface\r\n"
        "Sub Main()\r\n";                // 17
    EXPECT_EQ(FOUND(listing),
              (Lines{"6: Class Method Create()", "10: Method Area() As Double", "17: Sub Main()"}));
    // Words that only look like the block statements change nothing.
    EXPECT_EQ(FOUND("Interface = 1\r\nClass = 2\r\nEnd\r\nEnd  \r\nInterfaceX Y\r\nMethod M()\r\n"),
              Lines{"5: Method M()"});
}

TEST(SubScan, AUtf8ListingWithItsMark) {
    const std::string listing = "\xEF\xBB\xBFSub Gr\xC3\xB6\xC3\x9F" "e()\r\n' \xE6\x97\xA5 Sub X\r\n"
                                "Function \xE6\x97\xA5\xE6\x9C\xAC() As Long\r\n";
    EXPECT_EQ(FOUND(listing),
              (Lines{"0: Sub Gr\xC3\xB6\xC3\x9F" "e()", "2: Function \xE6\x97\xA5\xE6\x9C\xAC() As Long"}));
    EXPECT_EQ(SCANSUBS(listing)[0].Offset, 3u);
    // Only the mark at the very start is skipped.
    EXPECT_EQ(FOUND("x\r\n\xEF\xBB\xBFSub A\r\n"), Lines{});
    EXPECT_EQ(FOUND("\xEF\xBB"), Lines{});
}

TEST(SubScan, AManyThousandSubListingInOnePass) {
    std::string listing;
    for (int i = 0; i < 20000; ++i)
        listing += "Sub S" + std::to_string(i) + "()\r\n  Print \"x\" ' c\r\nEnd Sub\r\n";
    const auto entries = SCANSUBS(listing);
    ASSERT_EQ(entries.size(), 20000u);
    EXPECT_EQ(entries[19999].Line, 3 * 19999);
    EXPECT_EQ(ENTRYTEXT(listing, entries[19999]), "Sub S19999()");
}

TEST(SubScan, TheEntryAtACaretLine) {
    const std::string listing = "' top\r\nSub A\r\nx\r\nEnd Sub\r\nSub B\r\ny\r\n";
    const auto entries = SCANSUBS(listing);
    EXPECT_EQ(ENTRYATLINE(entries, 0), 0u);  // above all: the first
    EXPECT_EQ(ENTRYATLINE(entries, 1), 0u);
    EXPECT_EQ(ENTRYATLINE(entries, 3), 0u);
    EXPECT_EQ(ENTRYATLINE(entries, 4), 1u);
    EXPECT_EQ(ENTRYATLINE(entries, 5), 1u);
    EXPECT_EQ(ENTRYATLINE(entries, 500), 1u);
    EXPECT_EQ(ENTRYATLINE({}, 3), 0u);
}

// ---------------------------------------------------------------- filter

TEST(SubFilter, ContainsAnywhereLetterCaseAside) {
    EXPECT_TRUE(CONTAINSNOCASE("Function Parse(text As String)", "parse"));
    EXPECT_TRUE(CONTAINSNOCASE("Function Parse(text As String)", "STRING)"));
    EXPECT_TRUE(CONTAINSNOCASE("Sub A", "Sub A"));
    EXPECT_TRUE(CONTAINSNOCASE("Sub A", ""));
    EXPECT_TRUE(CONTAINSNOCASE("", ""));
    EXPECT_FALSE(CONTAINSNOCASE("Sub A", "Sub AB"));
    EXPECT_FALSE(CONTAINSNOCASE("", "a"));
    EXPECT_FALSE(CONTAINSNOCASE("Sub Parse", "pars e"));
    EXPECT_TRUE(CONTAINSNOCASE("aab", "ab"));  // a false start first
    EXPECT_TRUE(CONTAINSNOCASE("xyz", "Z"));   // at the very end
    EXPECT_FALSE(CONTAINSNOCASE("xy", "yz"));
    // Only ASCII letters fold; other bytes match exactly.
    EXPECT_TRUE(CONTAINSNOCASE("Sub Gr\xC3\xB6\xC3\x9F" "e", "GR\xC3\xB6"));
    EXPECT_FALSE(CONTAINSNOCASE("Sub \xC3\xB6", "\xC3\x96"));
    EXPECT_FALSE(CONTAINSNOCASE("Sub [a]", "{A}"));  // [ and { are not a letter's two cases
    EXPECT_FALSE(CONTAINSNOCASE("Sub @", "`"));
}

TEST(SubFilter, KeepsTheOrderAndFiltersFurther) {
    const std::string listing = "Sub ParseLine()\r\nSub Draw()\r\nFunction parser() As Long\r\nSub Other\r\n";
    const auto entries = SCANSUBS(listing);
    const auto all = ALLENTRIES(entries.size());
    EXPECT_EQ(all, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(FILTERENTRIES(listing, entries, all, ""), all);
    const auto parse = FILTERENTRIES(listing, entries, all, "PARSE");
    EXPECT_EQ(parse, (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(FILTERENTRIES(listing, entries, parse, "parser"), (std::vector<std::uint32_t>{2}));
    EXPECT_EQ(FILTERENTRIES(listing, entries, all, "nothing"), std::vector<std::uint32_t>{});
    EXPECT_EQ(ALLENTRIES(0), std::vector<std::uint32_t>{});
}

// ---------------------------------------------------------------- completion

std::string KEYWORDFILE(const std::string &name) {
    std::ifstream in(std::string(QUILLET_KEYWORDS_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> RANGE(const std::vector<std::string> &words, std::string_view prefix) {
    const WordRange r = WORDRANGE(words, prefix);
    return std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(r.First),
                                    words.begin() + static_cast<std::ptrdiff_t>(r.Last));
}

TEST(Completion, TheOrderFoldsLettersToCapitals) {
    EXPECT_LT(COMPAREWORDS("abc", "ABD"), 0);
    EXPECT_EQ(COMPAREWORDS("LTrim$", "ltrim$"), 0);
    EXPECT_LT(COMPAREWORDS("Str", "str$"), 0);  // shorter first
    EXPECT_GT(COMPAREWORDS("str$", "Str"), 0);
    // The underscore (after Z) comes after every letter, as the control sorts.
    EXPECT_GT(COMPAREWORDS("a_b", "aZb"), 0);
    EXPECT_GT(COMPAREWORDS("a_b", "azb"), 0);
    EXPECT_LT(COMPAREWORDS("a$", "aa"), 0);
    EXPECT_LT(COMPAREWORDS("a#", "a$"), 0);
    EXPECT_LT(COMPAREWORDS("", "a"), 0);
    EXPECT_EQ(COMPAREWORDS("", ""), 0);
    EXPECT_TRUE(WORDLESS("a", "B"));
    EXPECT_FALSE(WORDLESS("b", "A"));
    EXPECT_FALSE(WORDLESS("a", "A"));
}

TEST(Completion, KeywordListsSortedWithoutDuplicatesAndTheFirstSpellingWins) {
    const auto words = KEYWORDWORDS("Print  LTrim$\tlen\r\nLen #Include Bits??? Bits% %Def Print",
                                    "GetDC getdc len Beep \xC3\xA4x ok\x01 CreateWindowEx");
    EXPECT_EQ(words, (std::vector<std::string>{"#Include", "%Def", "Beep", "Bits%", "Bits???", "CreateWindowEx",
                                               "GetDC", "len", "LTrim$", "Print"}));
    EXPECT_EQ(KEYWORDWORDS("", ""), std::vector<std::string>{});
    EXPECT_EQ(KEYWORDWORDS("   \r\n ", "x"), std::vector<std::string>{"x"});
    // The API list's spelling when the Basic list lacks the word.
    EXPECT_EQ(KEYWORDWORDS("a", "BEEP beep"), (std::vector<std::string>{"a", "BEEP"}));
}

TEST(Completion, TheBuiltInListsAreSortedAsTheControlSortsThem) {
    const auto words = KEYWORDWORDS(KEYWORDFILE("freebasic.txt"), KEYWORDFILE("api.txt"));
    ASSERT_GT(words.size(), 1800u);
    for (std::size_t i = 1; i < words.size(); ++i)
        ASSERT_LT(COMPAREWORDS(words[i - 1], words[i]), 0) << words[i - 1] << " " << words[i];
    EXPECT_EQ(RANGE(words, "ltrim"), std::vector<std::string>{"LTrim$"});
    EXPECT_EQ(RANGE(words, "LTRIM$"), std::vector<std::string>{"LTrim$"});
    // Beep is in both lists: once, as the Basic list writes it.
    EXPECT_EQ(RANGE(words, "beep"), std::vector<std::string>{"Beep"});
    EXPECT_EQ(RANGE(words, "#ifd"), std::vector<std::string>{"#ifdef"});
    const auto pb = KEYWORDWORDS(KEYWORDFILE("powerbasic.txt"), "");
    EXPECT_EQ(RANGE(pb, "bits"), (std::vector<std::string>{"Bits", "Bits%", "Bits&", "Bits?", "Bits??", "Bits???"}));
    EXPECT_EQ(RANGE(pb, "Input#"), std::vector<std::string>{"Input#"});
    EXPECT_EQ(RANGE(pb, "%d"), std::vector<std::string>{"%Def"});
}

TEST(Completion, TheListingsNamesJoinTheKeywords) {
    const std::string listing = "Sub LTrimAll()\r\nFunction ltrim$(s As String)\r\nSub Zed\r\nSub zed\r\n"
                                "Operator + (a As V, b As V) As V\r\nSub \xC3\xA4nderung()\r\n"
                                "Sub Pay\x80Total()\r\n";  // the lowest non-ASCII byte, inside a name
    const auto names = SUBNAMES(listing, SCANSUBS(listing));
    EXPECT_EQ(names, (std::vector<std::string>{"ltrim$", "LTrimAll", "Zed"}));
    const auto merged = MERGEWORDS(KEYWORDWORDS("LTrim$ Len", ""), names);
    EXPECT_EQ(merged, (std::vector<std::string>{"Len", "LTrim$", "LTrimAll", "Zed"}));
    EXPECT_EQ(MERGEWORDS({}, names), names);
    EXPECT_EQ(MERGEWORDS(names, {}), names);
    EXPECT_EQ(MERGEWORDS({"b"}, {"a", "c"}), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(MERGEWORDS({"a", "c"}, {"b", "C", "d"}), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(Completion, ThePrefixRangeLetterCaseAside) {
    const std::vector<std::string> words{"Left$", "Len", "LTrim$", "LTrimAll", "Mid$"};
    EXPECT_EQ(RANGE(words, "le"), (std::vector<std::string>{"Left$", "Len"}));
    EXPECT_EQ(RANGE(words, "LTRIM"), (std::vector<std::string>{"LTrim$", "LTrimAll"}));
    EXPECT_EQ(RANGE(words, "Mid$"), std::vector<std::string>{"Mid$"});
    EXPECT_EQ(RANGE(words, "l"), (std::vector<std::string>{"Left$", "Len", "LTrim$", "LTrimAll"}));
    EXPECT_EQ(RANGE(words, "a"), std::vector<std::string>{});
    EXPECT_EQ(RANGE(words, "z"), std::vector<std::string>{});
    EXPECT_EQ(RANGE(words, "Mid$x"), std::vector<std::string>{});
    EXPECT_EQ(WORDRANGE(words, "").COUNT(), 5u);
    EXPECT_EQ(WORDRANGE(words, "z").First, 5u);
    EXPECT_EQ(WORDRANGE({}, "a").COUNT(), 0u);
}

TEST(Completion, TheWordBeforeTheCaret) {
    const struct {
        const char *Before;
        const char *Word;
    } cases[] = {
        {"ltrim", "ltrim"},          {"  x = ltrim", "ltrim"},  {"x=LTrim$", "LTrim$"},
        {"Print#", "Print#"},        {"a&", "a&"},              {"Bits???", "Bits???"},
        {"#incl", "#incl"},          {"  $Dyn", "$Dyn"},        {"%De", "%De"},
        {"x%Def", "Def"},            {"a$#x", "x"},             {"Left$(a", "a"},
        {"my_var2", "my_var2"},      {"", ""},                  {"x = ", ""},
        {"#", ""},                   {"$$", ""},                {"a.b", "b"},
        {"\xC3\xA4x", "x"},          {"(", ""},                 {"#x", "#x"},
    };
    for (const auto &c : cases) {
        const std::string before = c.Before;
        EXPECT_EQ(before.substr(COMPLETIONWORDSTART(before)), c.Word) << c.Before;
    }
}

TEST(Completion, JoinedForTheListAndTheTypedWordAlone) {
    const std::vector<std::string> words{"Left$", "Len", "LTrim$"};
    EXPECT_EQ(JOINWORDS(words, WordRange{0, 3}, '\n'), "Left$\nLen\nLTrim$");
    EXPECT_EQ(JOINWORDS(words, WordRange{1, 2}, ' '), "Len");
    EXPECT_EQ(JOINWORDS(words, WordRange{2, 2}, ' '), "");
    EXPECT_TRUE(ONLYTHETYPEDWORD(words, WordRange{1, 2}, "Len"));
    EXPECT_FALSE(ONLYTHETYPEDWORD(words, WordRange{1, 2}, "len"));  // the list would fix its case
    EXPECT_FALSE(ONLYTHETYPEDWORD(words, WordRange{0, 2}, "Left$"));
    EXPECT_FALSE(ONLYTHETYPEDWORD(words, WordRange{1, 1}, "Len"));
}

TEST(Completion, WhichChangesCanTouchTheSubs) {
    EXPECT_FALSE(CHANGEMAYTOUCHSUBS(false, "x", false, "  Print x"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(true, "x", false, "  Print x"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "x", true, "  Print x"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "o", false, "Sub Fo"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "'", false, "x = 1 '"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "/", false, "x = 1 /"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "_", false, "x = 1 _"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "e", false, "Interface"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "s", false, "  class"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "s", false, "End Class"));
    EXPECT_TRUE(CHANGEMAYTOUCHSUBS(false, "e", false, "  end  interface"));
    EXPECT_FALSE(CHANGEMAYTOUCHSUBS(false, "d", false, "End"));
    EXPECT_FALSE(CHANGEMAYTOUCHSUBS(false, "f", false, "  End If"));
    EXPECT_FALSE(CHANGEMAYTOUCHSUBS(false, "d", false, "Ended = 1"));
    EXPECT_FALSE(CHANGEMAYTOUCHSUBS(false, "s", false, "Classes = 1"));
    EXPECT_FALSE(CHANGEMAYTOUCHSUBS(false, "", false, ""));
}

TEST(Completion, TheNamesKeyChangesWithAnyName) {
    const auto KEY = [](const std::string &listing) { return SUBNAMESKEY(listing, SCANSUBS(listing)); };
    const std::uint64_t key = KEY("Sub A()\r\nSub Bc()\r\n");
    EXPECT_EQ(KEY("Sub A(x As Long)\r\n  Print\r\nSub Bc\r\n"), key);  // the same names
    EXPECT_NE(KEY("Sub A()\r\nSub Bd()\r\n"), key);
    EXPECT_NE(KEY("Sub Bc()\r\nSub A()\r\n"), key);                 // another order
    EXPECT_NE(KEY("Sub AB()\r\nSub c()\r\n"), key);                 // the same letters split otherwise
    EXPECT_NE(KEY("Sub A()\r\n"), key);
    EXPECT_NE(KEY("Sub A()\r\nSub Bc()\r\nOperator + (a As T) As T\r\n"), key);  // a nameless one counts
    EXPECT_NE(KEY(""), KEY("Operator + (a As T) As T\r\n"));
}

}  // namespace
