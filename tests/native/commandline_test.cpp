// Names on a command line: quoting that the started program reads back as
// the same arguments, the names that are refused, and the refusal's message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "argsplit.h"
#include "services/commandline.h"

namespace {

using ARGUMENTS = std::vector<std::string>;

// The splitter itself, on the runtime's documented examples, so that the
// round trips below test the quoting against the real rules.
TEST(ArgumentSplitter, ReadsLikeTheRuntime) {
    const struct {
        std::string Line;
        ARGUMENTS Expected;
    } cases[] = {
        {R"("abc" d e)", {"abc", "d", "e"}},
        {R"(a\\b d"e f"g h)", {R"(a\\b)", "de fg", "h"}},
        {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
        {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
        {R"(a"b"" c d)", {R"(ab" c d)"}},
        {"  \t x\ty  ", {"x", "y"}},
        {R"("" x "")", {"", "x", ""}},
        {R"(C:\dir\ "unclosed a)", {R"(C:\dir\)", "unclosed a"}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SPLITARGUMENTS(c.Line), c.Expected) << c.Line;
}

TEST(QuoteArgument, QuotesOnlyWhatNeedsItAndRoundTrips) {
    const struct {
        std::string Argument;
        std::string Quoted;
    } cases[] = {
        {R"(C:\src\prog.bas)", R"(C:\src\prog.bas)"},
        {R"(\\srv\share\a.res)", R"(\\srv\share\a.res)"},
        {R"(C:\dir\)", R"(C:\dir\)"},  // no quotes, so the backslash is literal
        {"-s", "-s"},
        {"", R"("")"},
        {R"(C:\my src\app.res)", R"("C:\my src\app.res")"},
        {"C:\\tab\there", "\"C:\\tab\there\""},
        {"trailing blank ", R"("trailing blank ")"},
        {" ", R"(" ")"},
        {R"(C:\Free Basic\inc\)", R"("C:\Free Basic\inc\\")"},
        {R"(C:\Free Basic\inc\\\)", R"("C:\Free Basic\inc\\\\\\")"},
        {"C:\\tab\tdir\\", "\"C:\\tab\tdir\\\\\""},
        {R"(C:\a b\\c\d)", R"("C:\a b\\c\d")"},  // backslashes inside stay single
        {R"(say "hi")", R"("say \"hi\"")"},
        {R"(a\"b)", R"("a\\\"b")"},
        {R"(")", R"("\"")"},
    };
    ARGUMENTS all;
    std::string line;
    for (const auto &c : cases) {
        EXPECT_EQ(QUOTEARGUMENT(c.Argument), c.Quoted) << c.Argument;
        EXPECT_EQ(SPLITARGUMENTS(QUOTEARGUMENT(c.Argument)), ARGUMENTS{c.Argument}) << c.Argument;
        all.push_back(c.Argument);
        line += (line.empty() ? "" : " ") + QUOTEARGUMENT(c.Argument);
    }
    // Side by side on one line, each still arrives on its own.
    EXPECT_EQ(SPLITARGUMENTS(line), all);
}

TEST(SafeNames, QuotesAndControlCharactersAreRefused) {
    const struct {
        std::string Name;
        bool Safe;
    } cases[] = {
        {R"(C:\Program Files\FreeBASIC\fbc.exe)", true},
        {"", true},
        {"C:\\\xC4rger\\\xFC.bas", true},  // bytes above 127 are letters of the code page
        {"~!@#$%^&*()_+{}|:<>?`-=[];',./", true},
        {"a\"b", false},
        {std::string("a\0b", 3), false},
        {"a\tb", false},
        {"a\rb", false},
        {"a\nb", false},
        {"\x01", false},
        {"a\x1F", false},
        {"a\x7F", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ISSAFENAME(c.Name), c.Safe) << c.Name;
}

TEST(SafeNames, TheRefusalNamesTheKeyAndShowsTheValueOnOneLine) {
    const std::string message = UNSAFENAMEMESSAGE("ZEOUTFILE", std::string("out\r\n\"x\0y\x7F.exe\t", 15));
    EXPECT_EQ(message, "The name given for ZEOUTFILE holds a double quote or a control character:\r"
                       "out??\"x?y?.exe?\r"
                       "Nothing was compiled, started or created.");
    EXPECT_EQ(UNSAFENAMEMESSAGE("Compiler", "C:\\fb\"c.exe"),
              "The name given for Compiler holds a double quote or a control character:\r"
              "C:\\fb\"c.exe\r"
              "Nothing was compiled, started or created.");
}

TEST(ToolNames, AConfiguredNameIsAbsoluteRelativeOrBare) {
    const struct {
        const char *Name;
        TOOLNAMEKIND Kind;
    } cases[] = {
        {"C:\\FreeBASIC\\fbc.exe", TOOLABSOLUTE}, {"c:/fb/fbc.exe", TOOLABSOLUTE},
        {"\\\\srv\\tools\\fbc.exe", TOOLABSOLUTE}, {"\\fb\\fbc.exe", TOOLABSOLUTE},
        {"tools\\fbc.exe", TOOLRELATIVE},          {".\\fbc.exe", TOOLRELATIVE},
        {"..\\fb\\fbc.exe", TOOLRELATIVE},          {"C:fbc.exe", TOOLRELATIVE},
        {"fbc.exe", TOOLBARE},                     {"fbc", TOOLBARE},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TOOLNAMEKINDOF(c.Name), c.Kind) << c.Name;
}

TEST(ToolNames, ABareNameIsSoughtInTheProgramsAndSystemFoldersThenOnPathNeverHere) {
    const std::vector<std::string> folders =
        TOOLSEARCHFOLDERS("C:\\Quillet\\", "C:\\Windows\\system32", "C:\\Windows",
                          ".;C:\\FB;;\"D:\\Power Basic\\bin\\\";tools;tools\\bin;..\\x;\\\\srv\\share");
    const std::vector<std::string> expected = {"C:\\Quillet\\", "C:\\Windows\\system32\\", "C:\\Windows\\",
                                               "C:\\FB\\", "D:\\Power Basic\\bin\\", "\\\\srv\\share\\"};
    EXPECT_EQ(folders, expected);
}

}  // namespace
