// The application shell in-process: configuration store, detections, menu
// states, commands, the close prompt and the message loop.
#include <gtest/gtest.h>

#include <vector>

#include "Scintilla.h"
#include "services/profilerecord.h"
#include "services/settingsrules.h"
#include "inprocess.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

namespace {

// ---------------------------------------------------------------- FINDPROGRAMFILE

class FindProgramFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root.MAKEFOLDER("app");
        AppSettings = AppSettingsRecord{};
        AppSettings.ExeDir = Root.FILE("app\\");
    }
    // Entries of a folder in the order the file system gives them.
    static std::vector<std::string> ENTRIES(const std::string &folder) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &entry);
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return names;
    }
    harness::TempFolder Root;
};

TEST_F(FindProgramFileTest, TakesMatchesInEnumerationOrderOneLevelDeep) {
    // The same name in several subfolders and at the top: whichever entry the
    // enumeration lists first supplies the result.
    for (const char *sub : {"aaa", "mmm", "zzz"}) {
        Root.MAKEFOLDER(std::string("app\\") + sub);
        Root.WRITEFILE(std::string("app\\") + sub + "\\fbc.exe", "x");
    }
    Root.WRITEFILE("app\\FBC.EXE", "x");
    std::string expected;
    for (const auto &name : ENTRIES(AppSettings.ExeDir)) {
        expected = AppSettings.ExeDir + name;
        if (name != "FBC.EXE")
            expected += "\\fbc.exe";
        break;
    }
    std::string result = "stale";
    EXPECT_EQ(FINDPROGRAMFILE("fbc.exe", result, 0), 1);
    EXPECT_EQ(result, expected);
}

TEST_F(FindProgramFileTest, NothingTwoLevelsDeepAndTheParentOnlyWhenAsked) {
    Root.MAKEFOLDER("app\\one");
    Root.MAKEFOLDER("app\\one\\two");
    Root.WRITEFILE("app\\one\\two\\pbcc.exe", "x");
    Root.WRITEFILE("pbres.exe", "x");
    std::string result = "stale";
    EXPECT_EQ(FINDPROGRAMFILE("pbcc.exe", result, 1), 0);
    EXPECT_EQ(result, "");
    EXPECT_EQ(FINDPROGRAMFILE("pbres.exe", result, 0), 0);
    EXPECT_EQ(FINDPROGRAMFILE("pbres.exe", result, 1), 1);
    EXPECT_EQ(result, Root.FILE("pbres.exe"));
}

TEST_F(FindProgramFileTest, FoldersComeBackWithoutBackslashAndNamesAfterABackslash) {
    Root.MAKEFOLDER("app\\inc");
    std::string result;
    EXPECT_EQ(FINDPROGRAMFILE("INC", result, 0), 1);
    EXPECT_EQ(result, AppSettings.ExeDir + "inc");
    Root.WRITEFILE("app\\fbc.exe", "x");
    EXPECT_EQ(FINDPROGRAMFILE("C:\\elsewhere\\fbc.exe", result, 0), 0);  // only "elsewhere\fbc.exe" is searched
    EXPECT_EQ(FINDPROGRAMFILE("bin\\fbc.exe", result, 0), 1);
    EXPECT_EQ(result, AppSettings.ExeDir + "fbc.exe");
}

// ---------------------------------------------------------------- loading

class LoadingTest : public InProcessTest {};

TEST_F(LoadingTest, NoIniGivesTheDefaults) {
    LOADONLY();
    const AppSettingsRecord &s = AppSettings;
    EXPECT_EQ(s.Compiler, "");
    EXPECT_EQ(s.CompilerType, 0);
    EXPECT_EQ(s.IncludeDir, "");  // the detection found nothing and emptied it
    EXPECT_EQ(s.TemplateDir, s.ExeDir);
    EXPECT_EQ(s.Font, "Courier New");
    EXPECT_EQ(s.FontSize, 9);
    EXPECT_EQ(s.AutoIndent, 1);
    EXPECT_EQ(s.ErrorText, 1);
    EXPECT_EQ(s.CompileTimeout, 10);
    EXPECT_EQ(s.MainWndPos.right, 0);  // none: the default, sized once the window knows its DPI
    EXPECT_EQ(s.SearchWndPos.right, 0);
    EXPECT_EQ(s.SyntaxColors[3], 0x000080u);
    EXPECT_EQ(s.SyntaxColors[10], 0x004080u);
    EXPECT_EQ(s.BasicKeywordFile, s.ExeDir + "FreeBasicKeywords.txt");
    EXPECT_EQ(s.ApiKeywordFile, s.ExeDir + "ApiKeywords.txt");
    EXPECT_EQ(READINI(), "");  // nothing found, nothing written
}

TEST_F(LoadingTest, RangeChecksTreatNegativeNumbersAsLarge) {
    WRITEINI("[Windows]\r\nFontSize=-5\r\nAutoIndent=2\r\nErrorText=7\r\n[OtherSettings]\r\nCompilerType=-1\r\nCompileTimeout=-1\r\n");
    LOADONLY();
    // Anything but 1 hides the text under the lines, as anything but 1 is
    // no auto indent.
    EXPECT_EQ(AppSettings.ErrorText, 7);
    EXPECT_EQ(AppSettings.FontSize, 18);
    EXPECT_EQ(AppSettings.CompilerType, 0);
    EXPECT_EQ(AppSettings.CompileTimeout, 30);
    EXPECT_EQ(AppSettings.AutoIndent, 2);
}

TEST_F(LoadingTest, RecordsAreReadWithTheirChecksum) {
    const WindowRect stored{-50, 30, 550, 430};
    const std::string encoded = ENCODEPROFILERECORD(&stored, sizeof stored);
    std::uint32_t colors[15];
    for (int i = 0; i < 15; ++i)
        colors[i] = 0x10101u * static_cast<std::uint32_t>(i);
    std::string colorText = ENCODEPROFILERECORD(colors, sizeof colors);
    colorText[colorText.size() - 1] = colorText.back() == '0' ? '1' : '0';  // edited by hand
    WRITEINI("[Windows]\r\nMainWndPos=" + encoded + "\r\nSearchWndPos=" + encoded + "\r\nGoToWndPos=12\r\nSyntaxColors=" +
             colorText + "\r\n");
    LOADONLY();
    EXPECT_EQ(AppSettings.MainWndPos.left, 0);
    EXPECT_EQ(AppSettings.MainWndPos.right, 550);
    EXPECT_EQ(AppSettings.SearchWndPos.left, -50);  // not clamped
    EXPECT_EQ(AppSettings.GoToWndPos.right, 0);
    EXPECT_EQ(AppSettings.SyntaxColors[1], 0x808080u);  // the whole default table
    EXPECT_EQ(AppSettings.SyntaxColors[14], 0x004080u);
}

TEST_F(LoadingTest, OurRecordEncodingIsThePlatformsOwn) {
    LOADONLY();
    const WindowRect r{-7, 123456, 1024, -1};
    WritePrivateProfileStructA("Windows", "Probe", const_cast<WindowRect *>(&r), sizeof r, AppSettings.IniPath.c_str());
    char text[64] = {};
    GetPrivateProfileStringA("Windows", "Probe", "", text, sizeof text, AppSettings.IniPath.c_str());
    EXPECT_EQ(text, ENCODEPROFILERECORD(&r, sizeof r));
}

TEST_F(LoadingTest, IncludeDirDetectionRunsOnlyForTheExactProgramFolder) {
    Folder.MAKEFOLDER("include");
    WRITEINI("[PathSettings]\r\nIncludeDir=" + UPPERTEXT(Folder.PATH()) + "\r\n");
    LOADONLY();
    EXPECT_EQ(AppSettings.IncludeDir, UPPERTEXT(Folder.PATH()));

    WRITEINI("[PathSettings]\r\nIncludeDir=" + Folder.PATH() + "\r\n");
    LOADONLY();
    EXPECT_EQ(AppSettings.IncludeDir, Folder.FILE("include\\"));
    EXPECT_NE(READINI().find("IncludeDir=" + Folder.FILE("include\\")), std::string::npos);
}

TEST_F(LoadingTest, FreeBasicTriesIncBeforeInclude) {
    Folder.MAKEFOLDER("zz");
    Folder.MAKEFOLDER("zz\\INCLUDE");
    Folder.MAKEFOLDER("zz\\INC");
    LOADONLY();
    EXPECT_EQ(AppSettings.IncludeDir, Folder.FILE("zz\\INC\\"));
}

TEST_F(LoadingTest, PowerBasicSetupDetectsItsFolderHelpAndConverter) {
    Folder.WRITEFILE("pbwin.exe", "x");
    Folder.MAKEFOLDER("bin");
    Folder.WRITEFILE("bin\\pbres.exe", "x");
    Folder.WRITEFILE("pbcc.hlp", "x");
    LOADONLY();
    EXPECT_EQ(AppSettings.Compiler, Folder.FILE("pbwin.exe"));
    EXPECT_EQ(AppSettings.CompilerType, 1);
    EXPECT_EQ(AppSettings.IncludeDir, "");  // no WINAPI folder
    EXPECT_EQ(AppSettings.BasicHelpFile, Folder.FILE("pbcc.hlp"));
    EXPECT_EQ(AppSettings.PbResourceConverter, Folder.FILE("bin\\pbres.exe"));
    EXPECT_EQ(AppSettings.BasicKeywordFile, Folder.FILE("PowerBasicKeywords.txt"));
    const std::string ini = READINI();
    EXPECT_NE(ini.find("CompilerType=1"), std::string::npos);
    EXPECT_NE(ini.find("PbResourceConverter="), std::string::npos);
    EXPECT_NE(ini.find("BasicHelpFile="), std::string::npos);
}

TEST_F(LoadingTest, MissingKeywordFileIsReplacedInMemoryOnly) {
    Folder.WRITEFILE("mine.txt", "Dim");
    WRITEINI("[PathSettings]\r\nBasicKeywordFile=" + Folder.FILE("gone.txt") + "\r\nApiKeywordFile=" + Folder.FILE("mine.txt") +
             "\r\n");
    LOADONLY();
    EXPECT_EQ(AppSettings.BasicKeywordFile, Folder.FILE("FreeBasicKeywords.txt"));
    EXPECT_EQ(AppSettings.ApiKeywordFile, Folder.FILE("mine.txt"));
    EXPECT_NE(READINI().find("gone.txt"), std::string::npos);
}

TEST_F(LoadingTest, OverlongValuesAreCutNotOverrun) {
    const std::string huge(10000, 'k');
    WRITEINI("[PathSettings]\r\nLastFile=" + huge + "\r\nCompiler=" + huge + "\r\n[Windows]\r\nFont=" + huge +
             "\r\nLastSearchKey=" + huge + "\r\n");
    LOADONLY("");
    EXPECT_EQ(Document.CurrentFile.size(), 259u);
    EXPECT_EQ(AppSettings.Compiler.size(), 259u);
    EXPECT_EQ(AppSettings.Font.size(), 254u);
    EXPECT_EQ(AppSettings.LastSearchKey.size(), 259u);
}

TEST_F(LoadingTest, FirstFileFromTheTailOrTheLastRun) {
    WRITEINI("[PathSettings]\r\nLastFile=C:\\src\\last.bas\r\n");
    LOADONLY("");
    EXPECT_EQ(Document.CurrentFile, "C:\\src\\last.bas");
    EXPECT_EQ(Document.CurrentDir, "C:\\src\\");
    LOADONLY("/e");
    EXPECT_EQ(Document.CurrentFile, "");
    EXPECT_EQ(Document.CurrentDir, Folder.PATH());
    LOADONLY("\"C:\\my src\\prog.bas\"");
    EXPECT_EQ(Document.CurrentFile, "C:\\my src\\prog.bas");
    EXPECT_EQ(Document.CurrentDir, "C:\\my src\\");
    LOADONLY("test.bas");
    EXPECT_EQ(Document.CurrentDir, Folder.PATH());
}

// ---------------------------------------------------------------- exit keys

TEST_F(LoadingTest, ExitKeysAreWrittenInOrder) {
    LOADONLY("/e");
    Document.CurrentFile = "C:\\src\\prog.bas";
    AppSettings.LastSearchKey = std::string(300, 's');
    AppSettings.AutoIndent = 0;
    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    const std::string ini = READINI();
    const char *order[] = {"LastFile=C:\\src\\prog.bas", "MainWndPos=", "SearchWndPos=", "GoToWndPos=",
                           "AutoIndent=0", "LastSearchKey=", "LastReplaceKey=", "CompileTimeout=10"};
    size_t at = 0;
    for (const char *key : order) {
        const size_t found = ini.find(key, at);
        ASSERT_NE(found, std::string::npos) << key << " in\n" << ini;
        at = found;
    }
    EXPECT_NE(ini.find("LastSearchKey=" + std::string(259, 's') + "\r\n"), std::string::npos);
    EXPECT_EQ(ini.find("Font="), std::string::npos);
}

TEST_F(LoadingTest, NothingIsWrittenAfterAFailedLastFileWrite) {
    WRITEINI("[Windows]\r\nFontSize=12\r\n");
    LOADONLY("/e");
    // The tests run as root, whom a read-only attribute does not stop; a file
    // held open without sharing refuses the write just as well.
    HANDLE lock = CreateFileA(AppSettings.IniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    harness::BoxWatcher report("The settings could not be written to\r", IDOK);
    EXPECT_NE(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    EXPECT_EQ(report.STOP(), 1);
    CloseHandle(lock);
    EXPECT_EQ(READINI(), "[Windows]\r\nFontSize=12\r\n");
}

// The switch to UTF-16 reads the file for what it is: a file another editor
// saved as UTF-8 keeps its first section and its letters; one that is no
// clean text is left alone with one message.
TEST_F(LoadingTest, TheSwitchToUtf16ConvertsFromTheFilesOwnEncoding) {
    const std::string greek = "C:\\\xCE\xA9mega\\";
    const std::string body = "[PathSettings]\r\nIncludeDir=C:\\Gr\xC3\xB6\xC3\x9F" "e\\\r\n[Windows]\r\nFontSize=12\r\n";
    const auto utf16le = [](const std::string &utf8) {
        const std::wstring wide = harness::WIDE(utf8);
        return "\xFF\xFE" + std::string(reinterpret_cast<const char *>(wide.data()), wide.size() * 2);
    };
    std::string bigEndian = "\xFE\xFF";
    for (const wchar_t c : harness::WIDE(body))
        bigEndian += std::string{static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    for (const std::string &file : {"\xEF\xBB\xBF" + body, body, bigEndian}) {
        WRITEINI(file);
        LOADONLY("/e");
        ASSERT_EQ(WRITESETTINGSTRING("PathSettings", "TemplateDir", greek), 0);
        const std::string ini = READINI();
        ASSERT_EQ(ini.rfind(utf16le("[PathSettings]\r\nIncludeDir=C:\\Gr\xC3\xB6\xC3\x9F" "e\\\r\n"), 0), 0u)
            << file.substr(0, 3);
        EXPECT_NE(ini.find(utf16le("TemplateDir=" + greek).substr(2)), std::string::npos);
        LOADONLY("/e");
        EXPECT_EQ(AppSettings.IncludeDir, "C:\\Gr\xC3\xB6\xC3\x9F" "e\\");
        EXPECT_EQ(AppSettings.TemplateDir, greek);
        EXPECT_EQ(AppSettings.FontSize, 12);
    }
    // Marked as UTF-8 but holding a byte that starts no character.
    const std::string broken = "\xEF\xBB\xBF[Windows]\r\nFont=a\x80z\r\n";
    WRITEINI(broken);
    LOADONLY("/e");
    harness::BoxWatcher report("The settings file\r", IDOK);
    EXPECT_NE(WRITESETTINGSTRING("PathSettings", "TemplateDir", greek), 0);
    EXPECT_NE(WRITESETTINGSTRING("PathSettings", "IncludeDir", greek), 0);
    EXPECT_EQ(report.STOP(), 1);
    EXPECT_EQ(READINI(), broken);
}

// ---------------------------------------------------------------- main window

class MainWindowTest : public InProcessTest {};

TEST_F(MainWindowTest, CreatesTheEditorFillingTheClientArea) {
    START();
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), "Quillet by Vandrell");
    EXPECT_EQ(harness::CLASSNAMEOF(EditorControl), "ScintillaPb");
    EXPECT_NE(EditorPointer, nullptr);
    EXPECT_EQ(GetParent(EditorControl), MainWindow);
    RECT client, editor;
    GetClientRect(MainWindow, &client);
    GetWindowRect(EditorControl, &editor);
    EXPECT_EQ(editor.right - editor.left, client.right);
    EXPECT_EQ(editor.bottom - editor.top, client.bottom);
    EXPECT_EQ(GetFocus(), EditorControl);
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    GetWindowPlacement(MainWindow, &place);
    EXPECT_EQ(place.rcNormalPosition.left, 20);
    EXPECT_EQ(place.rcNormalPosition.right, 600);
}

TEST_F(MainWindowTest, MenuTextsAsStored) {
    START();
    char text[128];
    const std::pair<int, const char *> items[] = {
        {CMD_OPEN, "&Open...\tCtrl+O"},           {CMD_SAVEAS, "Save &as...\tCtrl+S"},
        {CMD_TOGGLESUB, "&Toggle current Sub\tAlt+Q/F11"}, {CMD_BLOCKINDENT, "Block &indend\tAlt+Right"},
        {CMD_UPDATEPBRESOURCES, "&Update PowerBasic Resources\tF8"}, {CMD_AUTOINDENT, "Auto &indent"},
        {CMD_ABOUT, "Ab&out\tShift+Ctrl+Alt+F1 ;-)"}, {CMD_GOTOSUB, "Go to &Sub...\tCtrl+G"},
        {CMD_COMPLETEWORD, "Complete &word\tCtrl+Space"}, {CMD_AUTOCOMPLETE, "Auto &complete"},
    };
    for (const auto &item : items) {
        GetMenuStringA(MainMenu, item.first, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, item.second);
    }
    const char *bar[] = {"&File", "&Edit", "&Compile!", "&Run!", "&Tools", "&Options", "&Help"};
    for (int i = 0; i < 7; ++i) {
        GetMenuStringA(MainMenu, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, bar[i]);
    }
    EXPECT_EQ(GetMenuItemID(MainMenu, 2), static_cast<UINT>(CMD_COMPILE));
}

// The error commands come at the end of Tools and Options, each after a
// separator; every item before them keeps its place.
TEST_F(MainWindowTest, ErrorItemsAtTheEndOfToolsAndOptions) {
    START();
    const std::vector<std::pair<int, const char *>> tools = {
        {CMD_COMPILE, "&Compile\tAlt+C/F5"},
        {CMD_RUN, "&Run\tAlt+R/F6"},
        {0, ""},
        {CMD_EDITRESOURCES, "&Edit Resources\tF7"},
        {CMD_UPDATEPBRESOURCES, "&Update PowerBasic Resources\tF8"},
        {0, ""},
        {CMD_NEXTERROR, "Next &error\tF9"},
        {CMD_PREVIOUSERROR, "&Previous error\tShift+F9"},
        {CMD_CLEARERRORMARKS, "C&lear error marks"},
    };
    const std::vector<std::pair<int, const char *>> options = {
        {CMD_FONTSETTINGS, "&Font settings..."},
        {CMD_GENERALSETTINGS, "&General settings..."},
        {CMD_PROJECTSETTINGS, "&Project settings..."},
        {0, ""},
        {CMD_AUTOINDENT, "Auto &indent"},
        {0, ""},
        {CMD_ERRORTEXT, "&Error text in the listing"},
    };
    for (const auto &[bar, items] : {std::pair{4, tools}, std::pair{5, options}}) {
        HMENU popup = GetSubMenu(MainMenu, bar);
        // The items listed; another popup's additions may follow them.
        ASSERT_GE(GetMenuItemCount(popup), static_cast<int>(items.size()));
        for (size_t i = 0; i < items.size(); ++i) {
            char text[128] = {};
            GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), static_cast<UINT>(items[i].first)) << bar << " " << i;
            EXPECT_STREQ(text, items[i].second);
        }
    }
    // With no marks, Next and Previous are grayed, Clear is not.
    EXPECT_TRUE(ITEMSTATE(4, CMD_NEXTERROR) & MF_GRAYED);
    EXPECT_TRUE(ITEMSTATE(4, CMD_PREVIOUSERROR) & MF_GRAYED);
    EXPECT_FALSE(ITEMSTATE(4, CMD_CLEARERRORMARKS) & MF_GRAYED);
    EXPECT_TRUE(ITEMSTATE(5, CMD_ERRORTEXT) & MF_CHECKED);
}

// Every item of every popup where it stands, by position (0 a separator);
// the commands added later come at the ends, after a separator.
TEST_F(MainWindowTest, EveryMenuItemKeepsItsPlace) {
    START();
    const std::vector<std::vector<UINT>> popups = {
        {static_cast<UINT>(-1), CMD_OPEN, CMD_SAVE, CMD_SAVEAS, 0, CMD_EXIT},
        {CMD_UNDO, 0, CMD_CUT, CMD_COPY, CMD_PASTE, 0, CMD_SELECTALL, 0, CMD_SEARCH, CMD_GOTO, 0, CMD_TOGGLESUB,
         CMD_TOGGLESUBSBELOW, 0, CMD_BLOCKCOMMENT, CMD_BLOCKUNCOMMENT, CMD_BLOCKINDENT, CMD_BLOCKUNINDENT, 0,
         CMD_GOTOSUB, CMD_COMPLETEWORD},
        {},
        {},
        {CMD_COMPILE, CMD_RUN, 0, CMD_EDITRESOURCES, CMD_UPDATEPBRESOURCES, 0, CMD_NEXTERROR, CMD_PREVIOUSERROR,
         CMD_CLEARERRORMARKS},
        {CMD_FONTSETTINGS, CMD_GENERALSETTINGS, CMD_PROJECTSETTINGS, 0, CMD_AUTOINDENT, 0, CMD_ERRORTEXT,
         CMD_AUTOCOMPLETE},
        {CMD_HELPKEYWORD, CMD_BASICHELP, CMD_APIHELP, CMD_EDITORHELP, 0, CMD_ABOUT},
    };
    ASSERT_EQ(GetMenuItemCount(MainMenu), static_cast<int>(popups.size()));
    for (std::size_t bar = 0; bar < popups.size(); ++bar) {
        HMENU popup = GetSubMenu(MainMenu, static_cast<int>(bar));
        if (popups[bar].empty()) {
            EXPECT_EQ(popup, nullptr) << bar;
            continue;
        }
        ASSERT_NE(popup, nullptr) << bar;
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(popups[bar].size())) << bar;
        for (std::size_t at = 0; at < popups[bar].size(); ++at) {
            const UINT id = GetMenuItemID(popup, static_cast<int>(at));
            if (popups[bar][at] == 0)
                EXPECT_TRUE(GetMenuState(popup, static_cast<UINT>(at), MF_BYPOSITION) & MF_SEPARATOR) << bar << "/" << at;
            else
                EXPECT_EQ(id, popups[bar][at]) << bar << "/" << at;
        }
    }
}

TEST(Accelerators, TableAsTheMenuHintsSay) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAINACCEL));
    ACCEL entries[64];
    const int count = CopyAcceleratorTableA(table, entries, 64);
    struct Key {
        BYTE flags;
        WORD key;
        WORD cmd;
    } expected[] = {
        {FCONTROL, 'O', CMD_OPEN},           {0, VK_F2, CMD_SAVE},
        {FCONTROL, 'S', CMD_SAVEAS},         {FCONTROL, 'F', CMD_SEARCH},
        {0, VK_F4, CMD_GOTO},                {FALT, 'Q', CMD_TOGGLESUB},
        {0, VK_F11, CMD_TOGGLESUB},          {FALT, 'W', CMD_TOGGLESUBSBELOW},
        {0, VK_F12, CMD_TOGGLESUBSBELOW},    {0, VK_F5, CMD_COMPILE},
        {FALT, 'C', CMD_COMPILE},            {0, VK_F6, CMD_RUN},
        {FALT, 'R', CMD_RUN},                {0, VK_F7, CMD_EDITRESOURCES},
        {0, VK_F8, CMD_UPDATEPBRESOURCES},   {0, VK_F1, CMD_HELPKEYWORD},
        {FSHIFT, VK_F1, CMD_BASICHELP},      {FALT, VK_F1, CMD_APIHELP},
        {FCONTROL, VK_F1, CMD_EDITORHELP},   {FCONTROL | FALT | FSHIFT, VK_F1, CMD_ABOUT},
        {FALT, VK_RIGHT, CMD_BLOCKINDENT},   {FALT, VK_LEFT, CMD_BLOCKUNINDENT},
        {FCONTROL | FALT, VK_RIGHT, CMD_BLOCKCOMMENT}, {FCONTROL | FALT, VK_LEFT, CMD_BLOCKUNCOMMENT},
        {FCONTROL, 'G', CMD_GOTOSUB},        {FCONTROL, VK_SPACE, CMD_COMPLETEWORD},
        {0, VK_F9, CMD_NEXTERROR},           {FSHIFT, VK_F9, CMD_PREVIOUSERROR},
    };
    ASSERT_EQ(count, static_cast<int>(sizeof expected / sizeof expected[0]));
    for (const auto &want : expected) {
        bool found = false;
        for (int i = 0; i < count; ++i)
            found |= (entries[i].fVirt & ~FNOINVERT) == (want.flags | FVIRTKEY) && entries[i].key == want.key &&
                     entries[i].cmd == want.cmd;
        EXPECT_TRUE(found) << "key " << want.key << " for " << want.cmd;
    }
    DestroyAcceleratorTable(table);
}

TEST_F(MainWindowTest, SaveIsEnabledOnlyForAModifiedNamedText) {
    START();
    EXPECT_TRUE(ITEMSTATE(0, CMD_SAVE) & MF_GRAYED);
    SETTEXT("x");
    EXPECT_TRUE(ITEMSTATE(0, CMD_SAVE) & MF_GRAYED);  // modified but untitled
    EXPECT_FALSE(ITEMSTATE(0, CMD_SAVEAS) & MF_GRAYED);
    Document.CurrentFile = Folder.FILE("a.bas");
    EXPECT_FALSE(ITEMSTATE(0, CMD_SAVE) & MF_GRAYED);
    CALL(SCI_SETSAVEPOINT);
    EXPECT_TRUE(ITEMSTATE(0, CMD_SAVE) & MF_GRAYED);
}

TEST_F(MainWindowTest, PasteFollowsTheClipboard) {
    START();
    ASSERT_TRUE(OpenClipboard(MainWindow));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_TRUE(ITEMSTATE(1, CMD_PASTE) & MF_GRAYED);
    SETTEXT("Print 1");
    CALL(SCI_SELECTALL);
    COMMAND(CMD_COPY);
    EXPECT_FALSE(ITEMSTATE(1, CMD_PASTE) & MF_GRAYED);
    CALL(SCI_DOCUMENTEND);
    COMMAND(CMD_PASTE);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 1Print 1");
    COMMAND(CMD_UNDO);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 1");
    EXPECT_FALSE(ITEMSTATE(1, CMD_UNDO) & MF_GRAYED);
}

TEST_F(MainWindowTest, ToolsAndOptionsFollowTheCompilerType) {
    START();
    EXPECT_TRUE(ITEMSTATE(4, CMD_EDITRESOURCES) & MF_GRAYED);
    EXPECT_TRUE(ITEMSTATE(4, CMD_UPDATEPBRESOURCES) & MF_GRAYED);
    Document.CurrentFile = Folder.FILE("a.bas");
    EXPECT_FALSE(ITEMSTATE(4, CMD_EDITRESOURCES) & MF_GRAYED);
    EXPECT_TRUE(ITEMSTATE(4, CMD_UPDATEPBRESOURCES) & MF_GRAYED);
    EXPECT_FALSE(ITEMSTATE(5, CMD_PROJECTSETTINGS) & MF_GRAYED);
    AppSettings.CompilerType = POWERBASICCOMPILER;
    EXPECT_FALSE(ITEMSTATE(4, CMD_UPDATEPBRESOURCES) & MF_GRAYED);
    EXPECT_TRUE(ITEMSTATE(5, CMD_PROJECTSETTINGS) & MF_GRAYED);
    EXPECT_FALSE(ITEMSTATE(4, CMD_COMPILE) & MF_GRAYED);
}

TEST_F(MainWindowTest, AutoIndentToggleAndCheckMark) {
    WRITEINI("[Windows]\r\nAutoIndent=2\r\n");
    START();
    EXPECT_FALSE(ITEMSTATE(5, CMD_AUTOINDENT) & MF_CHECKED);
    COMMAND(CMD_AUTOINDENT);
    EXPECT_EQ(AppSettings.AutoIndent, 1);
    EXPECT_TRUE(ITEMSTATE(5, CMD_AUTOINDENT) & MF_CHECKED);
    COMMAND(CMD_AUTOINDENT);
    EXPECT_EQ(AppSettings.AutoIndent, 0);
    EXPECT_FALSE(ITEMSTATE(5, CMD_AUTOINDENT) & MF_CHECKED);
}

TEST_F(MainWindowTest, AutoCompleteIsOffByDefaultTogglesAndIsKept) {
    START();
    EXPECT_EQ(AppSettings.AutoComplete, 0);
    EXPECT_FALSE(ITEMSTATE(5, CMD_AUTOCOMPLETE) & MF_CHECKED);
    COMMAND(CMD_AUTOCOMPLETE);
    EXPECT_EQ(AppSettings.AutoComplete, 1);
    EXPECT_TRUE(ITEMSTATE(5, CMD_AUTOCOMPLETE) & MF_CHECKED);
    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    EXPECT_NE(READINI().find("AutoComplete=1\r\n"), std::string::npos) << READINI();
    LOADONLY("/e");
    EXPECT_EQ(AppSettings.AutoComplete, 1);
    COMMAND(CMD_AUTOCOMPLETE);
    EXPECT_EQ(AppSettings.AutoComplete, 0);
    EXPECT_FALSE(ITEMSTATE(5, CMD_AUTOCOMPLETE) & MF_CHECKED);
    // Only 1 is on, as with AutoIndent.
    WRITEINI("[Windows]\r\nAutoComplete=2\r\n");
    LOADONLY("/e");
    EXPECT_EQ(AppSettings.AutoComplete, 2);
    EXPECT_FALSE(ITEMSTATE(5, CMD_AUTOCOMPLETE) & MF_CHECKED);
    COMMAND(CMD_AUTOCOMPLETE);
    EXPECT_EQ(AppSettings.AutoComplete, 1);
}

TEST_F(MainWindowTest, UnmodifiedTextClosesWithoutAPrompt) {
    START();
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(AppSettings.MainWndPos.left, 20);  // stored by the destroy step
}

TEST_F(MainWindowTest, ClosePromptCancelKeepsAndNoCloses) {
    START();
    SETTEXT("Print 1");
    {
        DialogAnswerer answer(IDCANCEL);
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        const harness::SeenBox &box = answer.RESULT();
        ASSERT_TRUE(box.Seen);
        EXPECT_EQ(box.Caption, "Quillet");
        EXPECT_EQ(box.Text, "The text was been changed.\rSave changes?");
        EXPECT_TRUE(box.Buttons[IDYES] && box.Buttons[IDNO] && box.Buttons[IDCANCEL]);
        EXPECT_TRUE(box.HandIcon);
    }
    EXPECT_TRUE(IsWindow(MainWindow));
    {
        DialogAnswerer answer(IDNO);
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        EXPECT_TRUE(answer.RESULT().Seen);
    }
    EXPECT_FALSE(IsWindow(MainWindow));
}

TEST_F(MainWindowTest, ClosePromptYesSavesANamedText) {
    START();
    Document.CurrentFile = Folder.FILE("keep.bas");
    SETTEXT("Print 1\r\n");
    {
        DialogAnswerer answer(IDYES);
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        EXPECT_TRUE(answer.RESULT().Seen);
    }
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(Folder.READFILE("keep.bas").substr(0, 9), "Print 1\r\n");
}

TEST_F(MainWindowTest, CompilingUntitledTextAsksAndNoDoesNothing) {
    START();
    SETTEXT("Print 1");
    DialogAnswerer answer(IDNO);
    COMMAND(CMD_COMPILE);
    const harness::SeenBox &box = answer.RESULT();
    ASSERT_TRUE(box.Seen);
    EXPECT_EQ(box.Caption, "Quillet");
    EXPECT_EQ(box.Text, "The editor content isn't saved as file. Save now?");
    EXPECT_TRUE(box.Buttons[IDYES] && box.Buttons[IDNO] && !box.Buttons[IDCANCEL]);
    PUMP(100);
    EXPECT_EQ(harness::FINDDIALOG(GetCurrentProcessId()), nullptr);  // no further message
}

TEST_F(MainWindowTest, CompilingAnUnmodifiedFileSavesItAgain) {
    START();
    Document.CurrentFile = Folder.FILE("prog.bas");
    SETTEXT("Print 1");
    CALL(SCI_SETSAVEPOINT);
    // No compiler is set up here: after the save the compile step reports that.
    DialogAnswerer answer(IDOK);
    COMMAND(CMD_COMPILE);
    EXPECT_EQ(answer.RESULT().Caption, "Error starting compiler:");
    EXPECT_EQ(Folder.READFILE("prog.bas").substr(0, 7), "Print 1");
}

// Named, not a lambda: a dialog procedure is stdcall on i686.
INT_PTR CALLBACK EMPTYDIALOGPROC(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A modeless dialog of the loop takes its keyboard input: F2 never reaches
// the accelerators while it has the focus.
TEST_F(MainWindowTest, ModelessDialogKeepsF2FromTheAccelerators) {
    START();
    AccelTable = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAINACCEL));
    Document.CurrentFile = Folder.FILE("f2.bas");
    SETTEXT("Print 1");

    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } dialogTemplate{{WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 10, 10, 100, 50}, 0, 0, 0};
    HWND dialog = CreateDialogIndirectA(GetModuleHandleA(nullptr), &dialogTemplate.t, MainWindow, EMPTYDIALOGPROC);
    ASSERT_NE(dialog, nullptr);
    SearchDialog = dialog;
    SetFocus(dialog);
    PostMessageA(dialog, WM_KEYDOWN, VK_F2, 0x003C0001);
    PostMessageA(dialog, WM_KEYUP, VK_F2, 0xC03C0001);
    PostQuitMessage(0);
    RUNMESSAGELOOP();
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("f2.bas")));

    // Without the dialog the same key saves.
    DestroyWindow(dialog);
    SearchDialog = nullptr;
    SetFocus(EditorControl);
    PostMessageA(EditorControl, WM_KEYDOWN, VK_F2, 0x003C0001);
    PostMessageA(EditorControl, WM_KEYUP, VK_F2, 0xC03C0001);
    PostQuitMessage(0);
    RUNMESSAGELOOP();
    EXPECT_TRUE(harness::FILEEXISTS(Folder.FILE("f2.bas")));
}

}  // namespace
