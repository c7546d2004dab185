// The settings dialogs' decisions: the compiler-type question, hint texts,
// filters, starting folders, the keys written on OK, the project title and
// targets; the font dialog's family filter, selections and palette.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/dialogrules.h"
#include "settings/fontrules.h"
#include "ui/settingsids.h"

namespace {

// A literal with its zero bytes, without the one the compiler adds.
template <std::size_t N>
std::string BYTES(const char (&text)[N]) {
    return std::string(text, N - 1);
}

TEST(CompilerTypeQuestion, AsksWhenTheKeywordFileNamesTheOtherDialect) {
    const std::string toFree = "You have selected the FreeBasic compiler but the\rBasic keyword filename contains the string "
                               "\"PowerBasic\".\rReally continue?";
    const std::string toPower = "You have selected the PowerBasic compiler but the\rBasic keyword filename contains the "
                                "string \"FreeBasic\".\rReally continue?";
    EXPECT_EQ(COMPILERTYPEQUESTION(0, "C:\\pb\\PowerBasicKeywords.txt"), toFree);
    // Any letter case, and anywhere in the path, directories included.
    EXPECT_EQ(COMPILERTYPEQUESTION(0, "c:\\powerbasic\\words.txt"), toFree);
    EXPECT_EQ(COMPILERTYPEQUESTION(1, "D:\\FREEBASIC\\kw.txt"), toPower);
    EXPECT_EQ(COMPILERTYPEQUESTION(1, "freebasickeywords.txt"), toPower);
    // No contradiction, no question.
    EXPECT_EQ(COMPILERTYPEQUESTION(0, "C:\\FreeBasicKeywords.txt"), "");
    EXPECT_EQ(COMPILERTYPEQUESTION(1, "C:\\PowerBasicKeywords.txt"), "");
    EXPECT_EQ(COMPILERTYPEQUESTION(0, ""), "");
    EXPECT_EQ(COMPILERTYPEQUESTION(0, "C:\\Power Basic\\kw.txt"), "");
}

TEST(Hints, GeneralSettingsByControl) {
    EXPECT_EQ(GENERALHINT(1), "Make changes permanent and leave dialog.");
    EXPECT_EQ(GENERALHINT(2), "Reject changes and leave dialog.");
    EXPECT_EQ(GENERALHINT(IDC_INCLUDEPATH),
              "Directory for the include files. For PowerBasic by default \"WINAPI\" and for FreeBasic \"INC\".");
    EXPECT_EQ(GENERALHINT(IDC_COMPILER),
              "Path+Filename of the FreeBasic compiler (fbc.exe) or the PowerBasic compiler "
              "(pbdll.exe/pbdll16.exe/pbwin.exe/pbcc.exe, by default in \"BIN\" directory). A compilation may take "
              "CompileTimeout seconds (INI file, at most 30); with 0 the editor waits until the compiler ends.");
    const std::string second =
        " For other files (for example *.exe) ShellExecute() is called with or wihout a keyword as command line parameter.";
    EXPECT_EQ(GENERALHINT(IDC_APIHELPFILE),
              "API help file for context sensitive help and menu entry Help-->API help. Can be either be a WinHelp "
              "(*.hlp) or HTML help (*.col/*.chm) file." + second);
    EXPECT_EQ(GENERALHINT(IDC_BASICHELPFILE),
              "Basic help file for context sensitive help and menu entry Help-->Basic help. Can be either be a "
              "WinHelp (*.hlp) or HTML help (*.col/*.chm) file." + second);
    for (int field = IDC_TEMPLATEDIR; field <= IDC_APIKEYWORDFILE; field += 10) {
        EXPECT_NE(GENERALHINT(field), "") << field;
        EXPECT_EQ(GENERALHINT(field + 1), "Select the file/directory by file selection box.") << field + 1;
    }
    // Labels, the group box, the radio buttons, the hint line: nothing.
    for (int other : {-1, 0, IDC_COMPILERGROUP, IDC_FREEBASIC, IDC_POWERBASIC, IDC_HINTLINE, 112, 3})
        EXPECT_EQ(GENERALHINT(other), "") << other;
}

// Each path field has its own hint: the two keyword files, the converter and
// the editor are told apart.
TEST(Hints, EachPathFieldDescribesItsOwnFile) {
    const struct {
        int Field;
        std::string Hint;
    } cases[] = {
        {IDC_TEMPLATEDIR, "Directory opened when clicking menu item File-->New-->By template file..."},
        {IDC_PBRESCONVERTER, "Needed for PowerBasic Win/CC only: Resource converter which converts the *.pbr resource "
                             "file into a standard Windows *.res resource file (pbres.exe). By default found in \"BIN\" "
                             "directory."},
        {IDC_RESOURCEEDITOR, "Resource editor opened with menu item Tools-->Edit resources. In PowerBasic the resource "
                             "filename is taken from #RESORCE statement. More see in editor's help."},
        {IDC_BASICKEYWORDFILE, "Text file containing a space-separated list of Basic keywords for syntax coloring and "
                               "context-sensitive help. If not existing the editor creates the file with default "
                               "content."},
        {IDC_APIKEYWORDFILE, "Text file containing a space-separated list of Windows API keywords for syntax coloring "
                             "and context-sensitive help. If not existing the editor creates the file with default "
                             "content."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GENERALHINT(c.Field), c.Hint) << c.Field;
}

TEST(Hints, ProjectSettingsDescribeTheSelectedTarget) {
    EXPECT_EQ(PROJECTHINT(1, 0), "Use current settings and leave dialog.");
    EXPECT_EQ(PROJECTHINT(2, 0), "Reject changes and leave dialog.");
    EXPECT_EQ(PROJECTHINT(IDC_TARGETTYPE, 1), "File type to compile: Win32 standard application (*.exe)");
    EXPECT_EQ(PROJECTHINT(IDC_TARGETTYPE, 0), "File type to compile: Win32 textmode application (*.exe)");
    EXPECT_EQ(PROJECTHINT(IDC_TARGETTYPE, 2), "File type to compile: Win32 dynamic link library (*.dll)");
    EXPECT_EQ(PROJECTHINT(IDC_TARGETTYPE, -1), "File type to compile: ");
    EXPECT_EQ(PROJECTHINT(IDC_OUTPUTFILE, 0), "Alternative target filename with or without path. Leave empty to "
                                              "generate the filename from the currently loaded file.");
    EXPECT_EQ(PROJECTHINT(IDC_RESOURCEFILEBROWSE, 0), "");
    EXPECT_EQ(PROJECTHINT(IDC_HINTLINE, 0), "");
}

TEST(Filters, PairsEndedByAnExtraZero) {
    EXPECT_EQ(EXECUTABLEFILTER(), BYTES("*.exe\0*.EXE\0*.*\0*.*\0\0"));
    EXPECT_EQ(HELPFILTER(), BYTES("*.hlp;*.col;*.chm\0*.HLP;*.COL;*.CHM\0*.*\0*.*\0\0"));
    EXPECT_EQ(TEXTFILTER(), BYTES("*.txt\0*.TXT\0*.*\0*.*\0\0"));
    EXPECT_EQ(RESOURCEFILTER(), BYTES("*.res;*.rc\0*.RES;*.RC\0*.*\0*.*\0\0"));
    EXPECT_EQ(ALLFILESFILTER(), BYTES("*.*\0*.*\0\0"));
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_COMPILERBROWSE), EXECUTABLEFILTER());
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_PBRESCONVERTERBROWSE), EXECUTABLEFILTER());
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_RESOURCEEDITORBROWSE), EXECUTABLEFILTER());
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_APIHELPFILEBROWSE), HELPFILTER());
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_BASICHELPFILEBROWSE), HELPFILTER());
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_BASICKEYWORDFILEBROWSE), TEXTFILTER());
    EXPECT_EQ(GENERALBROWSEFILTER(IDC_APIKEYWORDFILEBROWSE), TEXTFILTER());
}

TEST(Browsing, StartingFoldersAndTheChosenDirectory) {
    EXPECT_EQ(BROWSESTARTFOLDER("", "C:\\prog\\"), "C:\\prog\\");
    EXPECT_EQ(BROWSESTARTFOLDER("C:\\fb\\bin\\fbc.exe", "C:\\prog\\"), "C:\\fb\\bin\\");
    EXPECT_EQ(BROWSESTARTFOLDER("fbc.exe", "C:\\prog\\"), "");
    EXPECT_EQ(DIRECTORYSTARTFOLDER("", "C:\\prog\\"), "C:\\prog\\");
    EXPECT_EQ(DIRECTORYSTARTFOLDER("D:\\templates\\", "C:\\prog\\"), "D:\\templates\\");
    EXPECT_EQ(DIRECTORYFIELDTEXT("C:\\Program Files\\Long Name"), "C:\\Program Files\\Long Name\\");
    // A drive's root keeps its single backslash.
    EXPECT_EQ(DIRECTORYFIELDTEXT("C:\\"), "C:\\");
    // Never longer than a path field holds.
    EXPECT_EQ(DIRECTORYFIELDTEXT(std::string(300, 'x')).size(), 259u);
}

TEST(GeneralSettingsWrites, KeysInOrderConverterOnlyForPowerBasic) {
    GENERALPATHS paths{"T\\", "I\\", "C.exe", "R.exe", "E.exe", "A.chm", "B.hlp", "K.txt", "W.txt"};
    auto keys = [](const std::vector<INIWRITE> &writes) {
        std::vector<std::string> list;
        for (const auto &w : writes)
            list.push_back(std::string(w.Section) + ":" + w.Key + "=" + w.Value);
        return list;
    };
    const std::vector<std::string> free = {
        "PathSettings:IncludeDir=I\\",       "PathSettings:TemplateDir=T\\",    "PathSettings:BasicHelpFile=B.hlp",
        "PathSettings:ApiHelpFile=A.chm",    "PathSettings:Compiler=C.exe",     "PathSettings:ResourceEditor=E.exe",
        "PathSettings:BasicKeywordFile=K.txt", "PathSettings:ApiKeywordFile=W.txt", "OtherSettings:CompilerType=0"};
    EXPECT_EQ(keys(GENERALSETTINGSWRITES(paths, 0)), free);
    std::vector<std::string> power = free;
    power.insert(power.begin() + 5, "PathSettings:PbResourceConverter=R.exe");
    power.back() = "OtherSettings:CompilerType=1";
    EXPECT_EQ(keys(GENERALSETTINGSWRITES(paths, 1)), power);
}

TEST(ProjectSettings, TitleAndTargets) {
    EXPECT_EQ(PROJECTTITLE(""), "Project settings for current file");
    EXPECT_EQ(PROJECTTITLE("C:\\src\\my prog.bas"), "Project settings for my prog.bas");
    EXPECT_EQ(PROJECTTITLE("prog.bas"), "Project settings for prog.bas");
    EXPECT_STREQ(TARGETENTRY(1), "Win32 GUI application (*.exe)");
    EXPECT_STREQ(TARGETDESCRIPTION(1), "Win32 standard application (*.exe)");
    EXPECT_STREQ(TARGETENTRY(4), "Win32 object file (*.obj)");
    EXPECT_STREQ(TARGETENTRY(5), "");
    EXPECT_STREQ(TARGETDESCRIPTION(-1), "");
}

TEST(FontFamilies, RomanSwissAndModernOfTheAnsiSetOnly) {
    EXPECT_TRUE(FONTFAMILYLISTED(0x10 | 2, 0));  // Roman, variable pitch
    EXPECT_TRUE(FONTFAMILYLISTED(0x20, 0));      // Swiss
    EXPECT_TRUE(FONTFAMILYLISTED(0x30 | 1, 0));  // Modern, fixed pitch
    EXPECT_FALSE(FONTFAMILYLISTED(0x00, 0));     // unclassified
    EXPECT_FALSE(FONTFAMILYLISTED(0x40, 0));     // script
    EXPECT_FALSE(FONTFAMILYLISTED(0x50, 0));     // decorative
    EXPECT_FALSE(FONTFAMILYLISTED(0x20, 2));     // symbol character set
    EXPECT_FALSE(FONTFAMILYLISTED(0x30, 204));   // Cyrillic
}

TEST(FontSizes, FourToEighteenAndTheSelection) {
    const std::vector<std::string> texts = FONTSIZETEXTS();
    ASSERT_EQ(texts.size(), 15u);
    EXPECT_EQ(texts.front(), "4");
    EXPECT_EQ(texts[5], "9");
    EXPECT_EQ(texts.back(), "18");
    EXPECT_EQ(SIZESELECTION(9), 5);
    EXPECT_EQ(SIZESELECTION(4), 0);
    EXPECT_EQ(SIZESELECTION(18), 14);
    // The first entry that begins with the number: 1 finds "10".
    EXPECT_EQ(texts[SIZESELECTION(1)], "10");
    // Nothing begins with 19 or 3: "9".
    EXPECT_EQ(texts[SIZESELECTION(19)], "9");
    EXPECT_EQ(texts[SIZESELECTION(3)], "9");
    EXPECT_EQ(texts[SIZESELECTION(-5)], "9");
    EXPECT_EQ(SIZEOFTEXT("12"), 12);
    EXPECT_EQ(SIZEOFTEXT(""), 9);
    EXPECT_EQ(SIZEOFTEXT("0"), 9);
}

TEST(FontSelection, PrefixWithoutCaseThenCourierNewThenTheFirst) {
    const std::vector<std::string> fonts = {"Arial", "Courier", "Courier New", "Liberation Mono", "Tahoma"};
    EXPECT_EQ(FONTSELECTION(fonts, "Tahoma"), 4);
    EXPECT_EQ(FONTSELECTION(fonts, "liberation"), 3);
    EXPECT_EQ(FONTSELECTION(fonts, "courier"), 1);   // the first that begins with it
    EXPECT_EQ(FONTSELECTION(fonts, "Wingdings"), 2);  // not listed: Courier New
    EXPECT_EQ(FONTSELECTION({"Arial", "Tahoma"}, "Wingdings"), 0);
    EXPECT_EQ(FONTSELECTION({}, "Arial"), -1);
}

TEST(Palette, NineColoursAndTheirLookup) {
    const std::uint32_t expected[9] = {0x000000, 0x808080, 0x004080, 0x000080, 0x0000FF,
                                       0x800080, 0xFF0000, 0x800000, 0x008000};
    for (int i = 0; i < PALETTESIZE; ++i) {
        EXPECT_EQ(PALETTECOLOR(i), expected[i]) << i;
        EXPECT_EQ(PALETTEINDEXOF(expected[i]), i) << i;
    }
    EXPECT_EQ(PALETTEINDEXOF(0x123456), -1);
    EXPECT_EQ(PALETTEINDEXOF(0xFFFFFF), -1);
}

TEST(ColourLists, StylesTextsAndOnlyChangedListsStore) {
    EXPECT_EQ(COLORLISTSTYLE(IDC_KEYWORDCOLOR), 3);
    EXPECT_EQ(COLORLISTSTYLE(IDC_STRINGCOLOR), 4);
    EXPECT_EQ(COLORLISTSTYLE(IDC_NUMBERCOLOR), 2);
    EXPECT_EQ(COLORLISTSTYLE(IDC_OPERATORCOLOR), 6);
    EXPECT_EQ(COLORLISTSTYLE(IDC_COMMENTCOLOR), 1);
    EXPECT_EQ(COLORLISTSTYLE(IDC_CONSTANTCOLOR), 13);
    EXPECT_EQ(COLORLISTSTYLE(IDC_ASSEMBLERCOLOR), 14);
    EXPECT_EQ(COLORLISTSTYLE(IDC_DEFAULTCOLOR), 0);
    EXPECT_STREQ(COLORLISTTEXT(IDC_CONSTANTCOLOR), "Const&ant color");
    EXPECT_STREQ(COLORLISTTEXT(IDC_DEFAULTCOLOR), "&Default color");

    std::uint32_t colors[15] = {};
    colors[3] = 0x123456;  // set by hand, not in the palette
    colors[4] = 0x008000;
    const int chosen[COLORLISTCOUNT] = {0, 4, 0, 0, 0, 0, 0, 1};
    const bool changed[COLORLISTCOUNT] = {false, true, false, false, false, false, false, true};
    APPLYCHOSENCOLORS(colors, chosen, changed);
    EXPECT_EQ(colors[3], 0x123456u);  // untouched list: kept
    EXPECT_EQ(colors[4], 0x0000FFu);  // red
    EXPECT_EQ(colors[0], 0x808080u);  // grey
    EXPECT_EQ(colors[7], 0u);         // style 7 is the caller's business
}

// Palette entry 0 is black, a colour like any other: choosing it stores it.
TEST(ColourLists, BlackIsStoredLikeAnyOtherChoice) {
    for (int list = 0; list < COLORLISTCOUNT; ++list) {
        std::uint32_t colors[15];
        for (std::uint32_t &color : colors)
            color = 0x00FF00;  // not black, not in the palette
        int chosen[COLORLISTCOUNT];
        bool changed[COLORLISTCOUNT];
        for (int i = 0; i < COLORLISTCOUNT; ++i) {
            chosen[i] = i == list ? 0 : -1;
            changed[i] = i == list;
        }
        APPLYCHOSENCOLORS(colors, chosen, changed);
        const int style = COLORLISTSTYLE(FIRSTCOLORLIST + list);
        for (int s = 0; s < 15; ++s)
            EXPECT_EQ(colors[s], s == style ? 0u : 0x00FF00u) << "list " << list << ", style " << s;
    }
}

}  // namespace

TEST(ProjectNames, ANameTheListingsCodePageCannotHoldIsNamed) {
    EXPECT_EQ(NAMENOTHELDTEXT("\xCE\xA9.res", 1252),
              "This name holds characters that the listing's code page (1252) cannot hold:\r\xCE\xA9.res\r"
              "The project settings are stored in the listing; choose a name of its characters, or keep the "
              "listing as UTF-8 (with the byte-order mark).");
}
