#include "resfiles/resrules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

RESOURCESTATEMENT SCAN(std::vector<std::string> lines) {
    return FINDRESOURCESTATEMENT(lines);
}

// A listing of filler lines with one line placed at index at.
std::vector<std::string> LISTINGWITH(const std::string &line, std::size_t at) {
    std::vector<std::string> lines(at, "  Local x As Long  ' filler\r\n");
    lines.push_back(line);
    lines.push_back("Function PBMain() As Long\r\n");
    return lines;
}

}  // namespace

TEST(ResourceStatement, PlainStatementsInBothSpellings) {
    auto found = SCAN({"#Compile Exe\r\n", "#RESOURCE \"app.pbr\"\r\n"});
    EXPECT_EQ(found.Status, RESSTATEMENTFOUND);
    EXPECT_EQ(found.Name, "app.pbr");
    found = SCAN({"$resource = \"My Dialogs.pbr\"\r\n"});
    EXPECT_EQ(found.Status, RESSTATEMENTFOUND);
    EXPECT_EQ(found.Name, "My Dialogs.pbr");
    found = SCAN({"#Resource=\"MyTestResource.pbr\"\n"});
    EXPECT_EQ(found.Name, "MyTestResource.pbr");
    // Indented, a blank instead of "=", and a comment after the name.
    found = SCAN({"    #Resource \"x1.pbr\" ' the dialogs\r\n"});
    EXPECT_EQ(found.Status, RESSTATEMENTFOUND);
    EXPECT_EQ(found.Name, "x1.pbr");
    // The last line of a listing may have no line end.
    found = SCAN({"#Resource \"abcdef.pbr\""});
    EXPECT_EQ(found.Name, "abcdef.pbr");
}

TEST(ResourceStatement, OnlyTheFirst300LinesCount) {
    EXPECT_EQ(SCAN(LISTINGWITH("#RESOURCE \"late.pbr\"\r\n", 299)).Name, "late.pbr");
    EXPECT_EQ(SCAN(LISTINGWITH("#RESOURCE \"late.pbr\"\r\n", 300)).Status, RESSTATEMENTMISSING);
    EXPECT_EQ(SCAN({}).Status, RESSTATEMENTMISSING);
}

TEST(ResourceStatement, ShortLinesAndTheLineEndMargin) {
    // 16 bytes with the line end: skipped.
    EXPECT_EQ(SCAN({"#Resource\"a.pbr\"\r\n"}).Status, RESSTATEMENTFOUND);  // 18 bytes
    EXPECT_EQ(SCAN({"#Resource \"a.r\"\n"}).Status, RESSTATEMENTMISSING);    // 16 bytes
    EXPECT_EQ(SCAN({"#Resource\"ab.r\"\n"}).Status, RESSTATEMENTMISSING);    // 16 bytes
    // 17 bytes: examined, but position 0 is more than length - 18.
    EXPECT_EQ(SCAN({"#Resource \"ab.r\"\n"}).Status, RESSTATEMENTMISSING);
    // The keyword must start at length - 18 or before.
    EXPECT_EQ(SCAN({" #Resource\"a.pbr\"\r\n"}).Name, "a.pbr");          // 19 bytes, start 1
    EXPECT_EQ(SCAN({"  #Resource\"a.pbr\"\r\n"}).Status, RESSTATEMENTFOUND); // 20 bytes, start 2 = 20 - 18
    EXPECT_EQ(SCAN({"   #Resource\"a.pbr\"\r\n"}).Status, RESSTATEMENTFOUND);  // 21 bytes, start 3 = 21 - 18
    EXPECT_EQ(SCAN({"   #Resource\"ab\"\r\n"}).Status, RESSTATEMENTMISSING);  // 18 bytes, start 3 > 0
}

TEST(ResourceStatement, ApostrophesHideTheStatementOrTheName) {
    EXPECT_EQ(SCAN({"' #Resource \"old.pbr\"\r\n"}).Status, RESSTATEMENTMISSING);
    EXPECT_EQ(SCAN({"x = 1 ' #Resource \"old.pbr\"\r\n"}).Status, RESSTATEMENTMISSING);
    // A hidden statement does not stop the search in later lines.
    EXPECT_EQ(SCAN({"'#Resource \"old.pbr\"\r\n", "#Resource \"new.pbr\"\r\n"}).Name, "new.pbr");
    // An apostrophe between keyword and quote gives the format message.
    EXPECT_EQ(SCAN({"#Resource ' \"app.pbr\"\r\n"}).Status, RESSTATEMENTBADFORMAT);
    EXPECT_EQ(SCAN({"#Resource \"app'.pbr\" xx\r\n"}).Status, RESSTATEMENTBADFORMAT);
}

TEST(ResourceStatement, QuotedPieces) {
    // Several quoted pieces: the first one counts, without a message.
    auto found = SCAN({"#Resource=\"MyTe\"+Chr$(&H73)+\"t.pbr\"\r\n"});
    EXPECT_EQ(found.Status, RESSTATEMENTFOUND);
    EXPECT_EQ(found.Name, "MyTe");
    EXPECT_EQ(PBRTORES(found.Name), "Mres");
    EXPECT_EQ(SCAN({"#Resource \"\" + \"x.pbr\"\r\n"}).Status, RESSTATEMENTBADFORMAT);
    EXPECT_EQ(SCAN({"#Resource \"unclosed.pbr\r\n"}).Status, RESSTATEMENTBADFORMAT);
    EXPECT_EQ(SCAN({"#Resource app.pbr  xxxxxx\r\n"}).Status, RESSTATEMENTBADFORMAT);
    EXPECT_EQ(SCAN({"#Resource$ + \"x.pbr\"  \r\n"}).Name, "x.pbr");
    // The first statement found is the one used, even with a bad name.
    EXPECT_EQ(SCAN({"#Resource Name$ xxxxxxxx\r\n", "#Resource \"good.pbr\"\r\n"}).Status, RESSTATEMENTBADFORMAT);
}

TEST(ResourceNames, PbrBecomesRes) {
    EXPECT_EQ(PBRTORES("app.pbr"), "app.res");
    EXPECT_EQ(PBRTORES("APP.PBR"), "APP.res");
    EXPECT_EQ(PBRTORES("app.res"), "app.res");
    EXPECT_EQ(PBRTORES("app.rc"), "appres");  // the last three characters, whatever they are
    EXPECT_EQ(PBRTORES("ab"), "res");
}

TEST(ResourceNames, ExtensionCheck) {
    EXPECT_TRUE(HASRESEXTENSION("C:\\src\\app.res"));
    EXPECT_TRUE(HASRESEXTENSION("APP.RES"));
    EXPECT_TRUE(HASRESEXTENSION("a.ReS"));
    EXPECT_TRUE(HASRESEXTENSION(".res"));
    EXPECT_FALSE(HASRESEXTENSION("app.rc"));
    EXPECT_FALSE(HASRESEXTENSION("appres"));
    EXPECT_FALSE(HASRESEXTENSION("app.res.bak"));
    EXPECT_FALSE(HASRESEXTENSION("res"));
    EXPECT_FALSE(HASRESEXTENSION(""));
}

TEST(ResourceNames, PowerBasicNameLiesBesideTheListing) {
    EXPECT_EQ(PBRESOURCENAME("C:\\src\\prog.bas", "app.pbr"), "C:\\src\\app.res");
    EXPECT_EQ(PBRESOURCENAME("C:\\my src\\prog.bas", "My Dialogs.pbr"), "C:\\my src\\My Dialogs.res");
    EXPECT_EQ(PBRESOURCENAME("C:\\src\\prog.bas", "res\\app.pbr"), "C:\\src\\res\\app.res");
    // An absolute name is not put behind the listing's folder.
    EXPECT_EQ(PBRESOURCENAME("C:\\src\\prog.bas", "D:\\shared\\app.pbr"), "D:\\shared\\app.res");
    EXPECT_EQ(PBRESOURCENAME("C:\\src\\prog.bas", "\\\\srv\\s\\app.pbr"), "\\\\srv\\s\\app.res");
}

TEST(ResourceNames, RelativeNamesAreTakenFromTheListingsFolder) {
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", "app.res"), "C:\\src\\app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", "..\\res\\app.res"), "C:\\src\\..\\res\\app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", "E:\\res\\app.res"), "E:\\res\\app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", "E:/res/app.res"), "E:/res/app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", "\\res\\app.res"), "C:\\res\\app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("\\\\srv\\s\\prog.bas", "app.res"), "\\\\srv\\s\\app.res");
    // A drive-relative name depends on the drive's own current folder: kept.
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", "E:app.res"), "E:app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("prog.bas", "app.res"), "app.res");
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", ""), "");
    // Cut, never overrun.
    const std::string longName(600, 'a');
    EXPECT_EQ(RESOLVERESOURCENAME("C:\\src\\prog.bas", longName).size(), RESOURCENAMEMAX);
}

// A name that needs no current folder or drive is used as it is, whichever
// separator it is written with; one that does is not absolute.
TEST(ResourceNames, AbsoluteNamesWithEitherSeparator) {
    const struct {
        std::string Name;
        bool Absolute;
    } cases[] = {
        {"C:\\res\\app.pbr", true},  {"c:/res/app.pbr", true},     {"\\\\srv\\share\\app.pbr", true},
        {"//srv/share/app.pbr", true}, {"\\/srv/share/app.pbr", true}, {"/\\srv\\share\\app.pbr", true},
        {"\\res\\app.pbr", false},   {"/res/app.pbr", false},      {"C:app.pbr", false},
        {"app.pbr", false},            {"1:\\app.pbr", false},       {"", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ISABSOLUTEPATH(c.Name), c.Absolute) << c.Name;
        if (c.Absolute)
            EXPECT_EQ(PBRESOURCENAME("C:\\src\\prog.bas", c.Name), PBRTORES(c.Name)) << c.Name;
    }
    EXPECT_EQ(PBRESOURCENAME("C:\\src\\prog.bas", "/res/app.pbr"), "C:/res/app.res");
}

TEST(ResourceNames, ProposedName) {
    EXPECT_EQ(PROPOSEDRESOURCENAME("C:\\src\\prog.bas"), "C:\\src\\prog.res");
    EXPECT_EQ(PROPOSEDRESOURCENAME("C:\\my src\\prog.v2.bas"), "C:\\my src\\prog.v2.res");
    EXPECT_EQ(PROPOSEDRESOURCENAME("C:\\src\\prog."), "C:\\src\\prog.res");
    // A point in a folder name is not the file's extension.
    EXPECT_EQ(PROPOSEDRESOURCENAME("C:\\my.dir\\prog"), "C:\\my.dir\\prog.res");
}

TEST(ResourceNames, EmptyResourceFileBytes) {
    const std::string expected("\0\0\0\0\x20\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0"
                               "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0",
                               32);
    EXPECT_EQ(EMPTYRESFILEBYTES(), expected);
}

TEST(CommandLines, BlanksAreQuoted) {
    EXPECT_EQ(QUOTEARGUMENT("C:\\src\\app.res"), "C:\\src\\app.res");
    EXPECT_EQ(QUOTEARGUMENT("C:\\my src\\app.res"), "\"C:\\my src\\app.res\"");
    EXPECT_EQ(QUOTEARGUMENT("C:\\tab\there"), "\"C:\\tab\there\"");
    EXPECT_EQ(QUOTEARGUMENT("C:\\my dir\\"), "\"C:\\my dir\\\\\"");
    EXPECT_EQ(TOOLCOMMANDLINE("C:\\tools\\re.exe", true, "C:\\my src\\a b.res"),
              "C:\\tools\\re.exe \"C:\\my src\\a b.res\"");
    EXPECT_EQ(TOOLCOMMANDLINE("C:\\Program Files\\re.exe", true, "C:\\src\\a.res"),
              "\"C:\\Program Files\\re.exe\" C:\\src\\a.res");
    // A setting that is no file name as it stands is kept as typed.
    EXPECT_EQ(TOOLCOMMANDLINE("\"C:\\Program Files\\re.exe\" /x", false, "a.res"),
              "\"C:\\Program Files\\re.exe\" /x a.res");
    EXPECT_EQ(TOOLCOMMANDLINE("", false, "a.res"), " a.res");
}
