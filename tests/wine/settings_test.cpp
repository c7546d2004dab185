// The settings dialogs driven through their own controls from a second
// thread, as a user would: General settings with its directory chooser and
// file boxes, Project settings, Font and colours.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>
#include <vector>

#include "Scintilla.h"
#include "services/profilerecord.h"
#include "document/document.h"
#include "inprocess.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

// How a failed write of the settings file is reported.
const std::string INIREPORT = "The settings could not be written to\r";

namespace {

// ------------------------------------------------------------------ helpers

std::string TEXTOF(HWND dialog, int id) {
    return harness::WINDOWTEXTOF(GetDlgItem(dialog, id));
}

// Types text into an edit field as the keyboard would: the old text is
// selected and cleared, then each character arrives as WM_CHAR.
void TYPE(HWND dialog, int id, const std::string &text) {
    HWND edit = GetDlgItem(dialog, id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CLEAR, 0, 0);
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// A button pressed with the mouse; radio buttons check themselves.
void CLICK(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// A button whose command opens another modal box: posted, so that this
// thread is free to answer that box.
void PRESS(HWND dialog, int id) {
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Another dialog of this process than the one given, once it shows.
HWND WAITFOROTHER(HWND dialog, int timeoutMs = 10000) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (HWND other = harness::FINDDIALOG(GetCurrentProcessId(), dialog)) {
            Sleep(200);  // let it finish its initialisation
            return other;
        }
        Sleep(20);
    }
    return nullptr;
}

bool WAITGONE(HWND window, int timeoutMs = 5000) {
    for (int waited = 0; waited < timeoutMs && IsWindow(window); waited += 20)
        Sleep(20);
    return !IsWindow(window);
}

// Keys as the keyboard gives them, to whichever window has the focus.
void KEYS(std::initializer_list<WORD> down) {
    std::vector<INPUT> inputs;
    for (WORD key : down) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = down.end(); it != down.begin();) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *--it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(200);
}

// Moves the mouse to the middle of a window, as a hand on the mouse would,
// and gives the dialog's thread time to see it.
void HOVER(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;  // no distance: a move event at the new place
    SendInput(1, &in, sizeof in);
    Sleep(200);
}

// The hint line once the mouse rests over a window. Input reaches the
// dialog's thread asynchronously, so a few moves are allowed for it.
std::string HINTOVER(HWND dialog, HWND window, const std::string &expected) {
    std::string hint;
    for (int attempt = 0; attempt < 5; ++attempt) {
        HOVER(window);
        hint = TEXTOF(dialog, IDC_HINTLINE);
        if (hint == expected)
            break;
    }
    return hint;
}

HWND FOCUSOF(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

// The INI file's lines without blank ones.
std::vector<std::string> LINES(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

class SettingsTest : public InProcessTest {
protected:
    void SetUp() override {
        Document.ProjectSettings = PROJECTSETTINGSRECORD{};
        Document.ProjectSettingsChanged = false;
    }
    // Runs a menu command whose modal dialog the driver works on; makes sure
    // the dialog ends even when the driver did not close it.
    void RUNDIALOG(int command, std::function<void(HWND)> drive) {
        DialogAnswerer answer([drive](HWND dialog) {
            drive(dialog);
            if (IsWindow(dialog) && !WAITGONE(dialog, 1000))
                harness::PRESSBUTTON(dialog, IDCANCEL);
        });
        COMMAND(command);
        EXPECT_TRUE(answer.RESULT().Seen);
    }
};

// ---------------------------------------------------------- general settings

class GeneralSettingsTest : public SettingsTest {
protected:
    // Writes a configuration naming every path (keyword files in the program
    // folder so they need not exist elsewhere).
    void WRITEPATHS(int compilerType) {
        Folder.WRITEFILE("basic words.txt", "Print");
        Folder.WRITEFILE("api words.txt", "MessageBox");
        WRITEINI("[PathSettings]\r\nCompiler=C:\\fb\\fbc.exe\r\nIncludeDir=C:\\fb\\inc\\\r\nTemplateDir=C:\\templates\\\r\n"
                 "ApiHelpFile=C:\\help\\api.chm\r\nBasicHelpFile=C:\\help\\basic.hlp\r\nPbResourceConverter=C:\\pb\\pbres.exe\r\n"
                 "ResourceEditor=C:\\tools\\reseditor.exe\r\nBasicKeywordFile=" + Folder.FILE("basic words.txt") +
                 "\r\nApiKeywordFile=" + Folder.FILE("api words.txt") + "\r\n[OtherSettings]\r\nCompilerType=" +
                 std::to_string(compilerType) + "\r\n");
    }
};

TEST_F(GeneralSettingsTest, OpensWithTheSettingsAndTheConverterOnlyForPowerBasic) {
    WRITEPATHS(0);
    START();
    std::vector<std::string> fields;
    bool freeBasic = false, converterEnabled = true, converterButtonEnabled = true, enabledAfterClick = false;
    bool disabledAgain = false;
    std::string caption;
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        caption = harness::WINDOWTEXTOF(dialog);
        for (int id = IDC_TEMPLATEDIR; id <= IDC_APIKEYWORDFILE; id += 10)
            fields.push_back(TEXTOF(dialog, id));
        freeBasic = IsDlgButtonChecked(dialog, IDC_FREEBASIC) == BST_CHECKED;
        converterEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PBRESCONVERTER));
        converterButtonEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PBRESCONVERTERBROWSE));
        harness::SHOT(dialog, "general-settings");
        CLICK(dialog, IDC_POWERBASIC);
        enabledAfterClick = IsWindowEnabled(GetDlgItem(dialog, IDC_PBRESCONVERTER)) &&
                            IsWindowEnabled(GetDlgItem(dialog, IDC_PBRESCONVERTERBROWSE));
        CLICK(dialog, IDC_FREEBASIC);
        disabledAgain = !IsWindowEnabled(GetDlgItem(dialog, IDC_PBRESCONVERTER));
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(caption, "General settings");
    const std::vector<std::string> expected = {"C:\\templates\\", "C:\\fb\\inc\\", "C:\\fb\\fbc.exe", "C:\\pb\\pbres.exe",
                                               "C:\\tools\\reseditor.exe", "C:\\help\\api.chm", "C:\\help\\basic.hlp",
                                               Folder.FILE("basic words.txt"), Folder.FILE("api words.txt")};
    EXPECT_EQ(fields, expected);
    EXPECT_TRUE(freeBasic);
    EXPECT_FALSE(converterEnabled);
    EXPECT_FALSE(converterButtonEnabled);
    EXPECT_TRUE(enabledAfterClick);
    EXPECT_TRUE(disabledAgain);
}

TEST_F(GeneralSettingsTest, TheQuestionAsksInBothDirectionsAndNoKeepsTheDialog) {
    WRITEPATHS(0);
    START();
    const std::string before = READINI();
    struct Seen {
        std::string Caption, Text;
        bool NoIsDefault = false, Question = false, StillOpen = false;
        std::string Typed;
        std::int32_t TypeAfterNo = -1;
    } free, power;
    auto ask = [](HWND dialog, Seen &seen) {
        PRESS(dialog, IDOK);
        HWND box = WAITFOROTHER(dialog);
        if (!box)
            return;
        seen.Caption = harness::WINDOWTEXTOF(box);
        seen.Text = harness::MESSAGEBOXTEXT(box);
        seen.NoIsDefault = (GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        seen.Question = harness::HASBUTTON(box, IDYES) && harness::HASBUTTON(box, IDNO) && !harness::HASBUTTON(box, IDCANCEL);
        harness::PRESSBUTTON(box, IDNO);
        WAITGONE(box);
        Sleep(100);
        seen.StillOpen = IsWindowVisible(dialog) != FALSE;
        seen.Typed = TEXTOF(dialog, IDC_BASICKEYWORDFILE);
        seen.TypeAfterNo = AppSettings.CompilerType;
    };
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        // A folder named PowerBasic is enough, in any letter case.
        TYPE(dialog, IDC_BASICKEYWORDFILE, "c:\\powerbasic\\words.txt");
        TYPE(dialog, IDC_COMPILER, "C:\\other\\fbc.exe");
        ask(dialog, free);
        CLICK(dialog, IDC_POWERBASIC);
        TYPE(dialog, IDC_BASICKEYWORDFILE, "D:\\Basic\\FREEBASICwords.txt");
        ask(dialog, power);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(free.Caption, "Possible error");
    EXPECT_EQ(free.Text, "You have selected the FreeBasic compiler but the\rBasic keyword filename contains the string "
                         "\"PowerBasic\".\rReally continue?");
    EXPECT_TRUE(free.Question);
    EXPECT_TRUE(free.NoIsDefault);
    EXPECT_TRUE(free.StillOpen);
    EXPECT_EQ(free.Typed, "c:\\powerbasic\\words.txt");
    EXPECT_EQ(power.Text, "You have selected the PowerBasic compiler but the\rBasic keyword filename contains the string "
                          "\"FreeBasic\".\rReally continue?");
    EXPECT_TRUE(power.StillOpen);
    EXPECT_EQ(power.Typed, "D:\\Basic\\FREEBASICwords.txt");
    // The compiler type was taken before the question and stays for the run;
    // nothing else was stored, nothing written.
    EXPECT_EQ(power.TypeAfterNo, 1);
    EXPECT_EQ(AppSettings.CompilerType, 1);
    EXPECT_EQ(AppSettings.Compiler, "C:\\fb\\fbc.exe");
    EXPECT_EQ(READINI(), before);
}

TEST_F(GeneralSettingsTest, YesToTheQuestionStoresAndWritesTheKeysInOrder) {
    WRITEINI("");
    START();
    AppSettings.CompilerType = FREEBASICCOMPILER;
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        TYPE(dialog, IDC_TEMPLATEDIR, "C:\\t\\");
        TYPE(dialog, IDC_INCLUDEPATH, "C:\\i\\");
        TYPE(dialog, IDC_COMPILER, "C:\\c\\fbc.exe");
        TYPE(dialog, IDC_RESOURCEEDITOR, "C:\\r\\edit.exe");
        TYPE(dialog, IDC_APIHELPFILE, "C:\\h\\api.chm");
        TYPE(dialog, IDC_BASICHELPFILE, "");
        TYPE(dialog, IDC_BASICKEYWORDFILE, Folder.FILE("PowerBasic words.txt"));
        TYPE(dialog, IDC_APIKEYWORDFILE, Folder.FILE("api.txt"));
        PRESS(dialog, IDOK);
        if (HWND box = WAITFOROTHER(dialog))
            harness::PRESSBUTTON(box, IDYES);
        WAITGONE(dialog);
    });
    EXPECT_EQ(AppSettings.TemplateDir, "C:\\t\\");
    EXPECT_EQ(AppSettings.IncludeDir, "C:\\i\\");
    EXPECT_EQ(AppSettings.BasicHelpFile, "");
    EXPECT_EQ(AppSettings.BasicKeywordFile, Folder.FILE("PowerBasic words.txt"));
    const std::vector<std::string> expected = {
        "[PathSettings]", "IncludeDir=C:\\i\\", "TemplateDir=C:\\t\\", "BasicHelpFile=", "ApiHelpFile=C:\\h\\api.chm",
        "Compiler=C:\\c\\fbc.exe", "ResourceEditor=C:\\r\\edit.exe",
        "BasicKeywordFile=" + Folder.FILE("PowerBasic words.txt"), "ApiKeywordFile=" + Folder.FILE("api.txt"),
        "[OtherSettings]", "CompilerType=0"};
    EXPECT_EQ(LINES(READINI()), expected);
}

TEST_F(GeneralSettingsTest, PowerBasicWritesTheConverterToo) {
    WRITEINI("");
    START();
    AppSettings.CompilerType = POWERBASICCOMPILER;
    AppSettings.BasicKeywordFile = Folder.FILE("pb.txt");
    AppSettings.ApiKeywordFile = Folder.FILE("api.txt");
    AppSettings.IncludeDir = "C:\\pb\\winapi\\";
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        TYPE(dialog, IDC_PBRESCONVERTER, "C:\\pb\\bin\\pbres.exe");
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    std::vector<std::string> keys;
    for (const std::string &line : LINES(READINI()))
        keys.push_back(line.substr(0, line.find('=')));
    const std::vector<std::string> expected = {
        "[PathSettings]", "IncludeDir", "TemplateDir", "BasicHelpFile", "ApiHelpFile", "Compiler", "PbResourceConverter",
        "ResourceEditor", "BasicKeywordFile", "ApiKeywordFile", "[OtherSettings]", "CompilerType"};
    EXPECT_EQ(keys, expected);
    EXPECT_NE(READINI().find("PbResourceConverter=C:\\pb\\bin\\pbres.exe\r\n"), std::string::npos);
    EXPECT_NE(READINI().find("CompilerType=1"), std::string::npos);
    EXPECT_EQ(AppSettings.PbResourceConverter, "C:\\pb\\bin\\pbres.exe");
}

TEST_F(GeneralSettingsTest, AFileThatCannotBeWrittenStillTakesTheValues) {
    WRITEPATHS(0);
    START();
    const std::string before = READINI();
    // Held open without sharing, the file refuses every write (root ignores
    // the read-only attribute).
    HANDLE lock = CreateFileA(AppSettings.IniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    // Reported once, however many keys fail.
    harness::BoxWatcher report(INIREPORT, IDOK);
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        TYPE(dialog, IDC_TEMPLATEDIR, "C:\\new\\");
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_EQ(report.STOP(), 1);
    CloseHandle(lock);
    EXPECT_EQ(AppSettings.TemplateDir, "C:\\new\\");
    EXPECT_EQ(READINI(), before);
}

// A keyword named in a new file is coloured only once the lists were
// reloaded.
class KeywordReloadTest : public GeneralSettingsTest {
protected:
    bool ISKEYWORD(const std::string &word) {
        SETTEXT("x " + word + " x\r\n");
        CALL(SCI_COLOURISE, 0, -1);
        return CALL(SCI_GETSTYLEAT, 2) == 3;
    }
};

TEST_F(KeywordReloadTest, ATypedKeywordFileReloadsTheLists) {
    WRITEPATHS(0);
    START();
    Folder.WRITEFILE("new words.txt", "Zebrafish");
    ASSERT_FALSE(ISKEYWORD("zebrafish"));
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        TYPE(dialog, IDC_BASICKEYWORDFILE, Folder.FILE("new words.txt"));
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_TRUE(ISKEYWORD("zebrafish"));
    EXPECT_TRUE(ISKEYWORD("MessageBox"));  // the API list is still there
    EXPECT_FALSE(ISKEYWORD("Print"));
}

TEST_F(KeywordReloadTest, ATypedApiKeywordFileReloadsAndAMissingOneIsCreated) {
    WRITEPATHS(0);
    START();
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        TYPE(dialog, IDC_APIKEYWORDFILE, Folder.FILE("fresh api.txt"));
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_EQ(Folder.READFILE("fresh api.txt").size(), 25477u);
    EXPECT_TRUE(ISKEYWORD("AbortDoc"));
}

TEST_F(KeywordReloadTest, AFileChosenWithTheButtonAloneDoesNotReload) {
    WRITEPATHS(0);
    START();
    Folder.WRITEFILE("chosen.txt", "Zebrafish");
    std::string startFolder, proposed, filled;
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        PRESS(dialog, IDC_BASICKEYWORDFILEBROWSE);
        if (HWND box = WAITFOROTHER(dialog)) {
            startFolder = harness::FILEDIALOGTEXT(box, CDM_GETFOLDERPATH);
            proposed = harness::FILEDIALOGTEXT(box, CDM_GETSPEC);
            SetDlgItemTextA(box, GetDlgItem(box, 1152) ? 1152 : 1148, Folder.FILE("chosen.txt").c_str());
            harness::PRESSBUTTON(box, IDOK);
            WAITGONE(box);
        }
        filled = TEXTOF(dialog, IDC_BASICKEYWORDFILE);
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_EQ(startFolder + "\\", Folder.PATH());
    EXPECT_EQ(proposed, "basic words.txt");
    EXPECT_EQ(filled, Folder.FILE("chosen.txt"));
    EXPECT_EQ(AppSettings.BasicKeywordFile, Folder.FILE("chosen.txt"));
    EXPECT_NE(READINI().find("BasicKeywordFile=" + Folder.FILE("chosen.txt")), std::string::npos);
    EXPECT_FALSE(ISKEYWORD("zebrafish"));
}

TEST_F(GeneralSettingsTest, TheDirectoryChooserGivesTheLongFormWithABackslash) {
    WRITEPATHS(0);
    START();
    Folder.MAKEFOLDER("Long Folder Name");
    AppSettings.TemplateDir = Folder.PATH();
    bool foldersVisible = false, drivesVisible = false, nameHidden = false, filesHidden = false;
    std::string boxCaption, filled;
    std::vector<std::string> items;
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        PRESS(dialog, IDC_TEMPLATEDIRBROWSE);
        HWND box = WAITFOROTHER(dialog);
        if (!box)
            return;
        harness::SHOT(box, "select-directory");
        boxCaption = harness::WINDOWTEXTOF(box);
        foldersVisible = IsWindowVisible(GetDlgItem(box, IDC_DIR_FOLDERS)) != FALSE;
        drivesVisible = IsWindowVisible(GetDlgItem(box, IDC_DIR_DRIVES)) != FALSE;
        nameHidden = GetDlgItem(box, IDC_DIR_NAME) && !IsWindowVisible(GetDlgItem(box, IDC_DIR_NAME));
        filesHidden = GetDlgItem(box, IDC_DIR_FILES) && !IsWindowVisible(GetDlgItem(box, IDC_DIR_FILES));
        HWND folders = GetDlgItem(box, IDC_DIR_FOLDERS);
        const LRESULT count = SendMessageA(folders, LB_GETCOUNT, 0, 0);
        LRESULT wanted = -1;
        for (LRESULT i = 0; i < count; ++i) {
            char text[MAX_PATH] = {};
            SendMessageA(folders, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
            if (std::string(text).find("long folder name") != std::string::npos ||
                std::string(text).find("Long Folder Name") != std::string::npos)
                wanted = i;
        }
        if (wanted >= 0) {
            // A double click on the folder moves into it.
            RECT item;
            SendMessageA(folders, LB_GETITEMRECT, wanted, reinterpret_cast<LPARAM>(&item));
            const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
            SendMessageA(folders, LB_SETCURSEL, wanted, 0);
            SendMessageA(folders, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            SendMessageA(folders, WM_LBUTTONUP, 0, at);
            Sleep(300);
        }
        harness::PRESSBUTTON(box, IDOK);
        WAITGONE(box);
        filled = TEXTOF(dialog, IDC_TEMPLATEDIR);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(boxCaption, "Select directory");
    EXPECT_TRUE(foldersVisible);
    EXPECT_TRUE(drivesVisible);
    EXPECT_TRUE(nameHidden);
    EXPECT_TRUE(filesHidden);
    EXPECT_EQ(filled, Folder.FILE("Long Folder Name\\")) << ::testing::PrintToString(items);
}

TEST_F(GeneralSettingsTest, HintsFollowTheMouse) {
    WRITEPATHS(0);
    START();
    const std::string fieldHint = "Directory opened when clicking menu item File-->New-->By template file...";
    const std::string buttonHint = "Select the file/directory by file selection box.";
    const std::string okHint = "Make changes permanent and leave dialog.";
    std::string overField, overButton, overLabel, overOk;
    RUNDIALOG(CMD_GENERALSETTINGS, [&](HWND dialog) {
        overField = HINTOVER(dialog, GetDlgItem(dialog, IDC_TEMPLATEDIR), fieldHint);
        overButton = HINTOVER(dialog, GetDlgItem(dialog, IDC_TEMPLATEDIRBROWSE), buttonHint);
        HINTOVER(dialog, GetDlgItem(dialog, IDC_APIHELPFILE), "API help file for context sensitive help and menu entry "
                 "Help-->API help. Can be either be a WinHelp (*.hlp) or HTML help (*.col/*.chm) file. For other files "
                 "(for example *.exe) ShellExecute() is called with or wihout a keyword as command line parameter.");
        harness::SHOT(dialog, "general-settings-hint");
        overOk = HINTOVER(dialog, GetDlgItem(dialog, IDOK), okHint);
        HWND label = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (harness::WINDOWTEXTOF(child) == "&Template directory:")
                label = child;
        if (label)
            overLabel = HINTOVER(dialog, label, "");
        else
            overLabel = "no label";
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(overField, fieldHint);
    EXPECT_EQ(overButton, buttonHint);
    EXPECT_EQ(overOk, okHint);
    EXPECT_EQ(overLabel, "");
}

// ---------------------------------------------------------- project settings

class ProjectSettingsTest : public SettingsTest {};

TEST_F(ProjectSettingsTest, TitleEntriesAndAnOutOfRangeTarget) {
    START();
    Document.CurrentFile = Folder.FILE("my prog.bas");
    Document.ProjectSettings = PROJECTSETTINGSRECORD{7, "C:\\res dir\\app.rc", "app.exe"};
    std::string title, resource, output;
    std::vector<std::string> entries;
    LRESULT selected = -2;
    RUNDIALOG(CMD_PROJECTSETTINGS, [&](HWND dialog) {
        title = harness::WINDOWTEXTOF(dialog);
        HWND list = GetDlgItem(dialog, IDC_TARGETTYPE);
        for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char text[128] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
        resource = TEXTOF(dialog, IDC_RESOURCEFILE);
        output = TEXTOF(dialog, IDC_OUTPUTFILE);
        harness::SHOT(dialog, "project-settings");
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_EQ(title, "Project settings for my prog.bas");
    const std::vector<std::string> expected = {"Win32 console application (*.exe)", "Win32 GUI application (*.exe)",
                                               "Win32 dynamic library (*.dll)", "Win32 static library (*.lib)",
                                               "Win32 object file (*.obj)"};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(resource, "C:\\res dir\\app.rc");
    EXPECT_EQ(output, "app.exe");
    EXPECT_EQ(Document.ProjectSettings.TargetType, 0);
    EXPECT_EQ(Document.ProjectSettings.ResourceFile, "C:\\res dir\\app.rc");

    Document.CurrentFile.clear();
    RUNDIALOG(CMD_PROJECTSETTINGS, [&](HWND dialog) {
        title = harness::WINDOWTEXTOF(dialog);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(title, "Project settings for current file");
}

TEST_F(ProjectSettingsTest, TheHintDescribesTheSelectedTarget) {
    START();
    Document.ProjectSettings.TargetType = 0;
    std::string afterSelection, shown, overResource, overOk;
    RUNDIALOG(CMD_PROJECTSETTINGS, [&](HWND dialog) {
        overResource = HINTOVER(dialog, GetDlgItem(dialog, IDC_RESOURCEFILE),
                                "Filename of the Resource file containing dialog templates, menues, version info and so "
                                "on. Open+edit with menu Tools-->Edit resources.");
        overOk = HINTOVER(dialog, GetDlgItem(dialog, IDOK), "Use current settings and leave dialog.");
        // The next entry chosen with the keyboard.
        HWND list = GetDlgItem(dialog, IDC_TARGETTYPE);
        SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
        Sleep(300);
        afterSelection = TEXTOF(dialog, IDC_HINTLINE);
        shown = harness::WINDOWTEXTOF(list);
        harness::SHOT(dialog, "project-settings-hint");
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(overResource, "Filename of the Resource file containing dialog templates, menues, version info and so on. "
                            "Open+edit with menu Tools-->Edit resources.");
    EXPECT_EQ(overOk, "Use current settings and leave dialog.");
    EXPECT_EQ(afterSelection, "File type to compile: Win32 standard application (*.exe)");
    EXPECT_EQ(shown, "Win32 GUI application (*.exe)");
    EXPECT_EQ(Document.ProjectSettings.TargetType, 0);  // cancelled
}

TEST_F(ProjectSettingsTest, TheResourceButtonOffersResourceFiles) {
    START();
    Folder.WRITEFILE("app.rc", "");
    Document.ProjectSettings.ResourceFile = Folder.FILE("old.rc");
    std::string firstType, filled;
    RUNDIALOG(CMD_PROJECTSETTINGS, [&](HWND dialog) {
        PRESS(dialog, IDC_RESOURCEFILEBROWSE);
        if (HWND box = WAITFOROTHER(dialog)) {
            char text[128] = {};
            SendDlgItemMessageA(box, 1136, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            firstType = text;
            SetDlgItemTextA(box, GetDlgItem(box, 1152) ? 1152 : 1148, Folder.FILE("app.rc").c_str());
            harness::PRESSBUTTON(box, IDOK);
            WAITGONE(box);
        }
        filled = TEXTOF(dialog, IDC_RESOURCEFILE);
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_EQ(firstType, "*.res;*.rc");
    EXPECT_EQ(filled, Folder.FILE("app.rc"));
    EXPECT_EQ(Document.ProjectSettings.ResourceFile, Folder.FILE("app.rc"));
}

TEST_F(ProjectSettingsTest, AChangeCountsAsUnsavedUntilSaved) {
    START();
    SETTEXT("Print 1\r\n");
    Document.CurrentFile = Folder.FILE("prog.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(ITEMSTATE(0, CMD_SAVE) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));

    // OK without a change, and Cancel after typing, change nothing.
    RUNDIALOG(CMD_PROJECTSETTINGS, [](HWND dialog) { harness::PRESSBUTTON(dialog, IDOK); });
    RUNDIALOG(CMD_PROJECTSETTINGS, [](HWND dialog) {
        TYPE(dialog, IDC_OUTPUTFILE, "other.exe");
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_FALSE(DOCUMENTMODIFIED());
    EXPECT_EQ(Document.ProjectSettings.OutputFile, "");

    RUNDIALOG(CMD_PROJECTSETTINGS, [](HWND dialog) {
        TYPE(dialog, IDC_OUTPUTFILE, "prog2.exe");
        harness::PRESSBUTTON(dialog, IDOK);
    });
    EXPECT_EQ(Document.ProjectSettings.OutputFile, "prog2.exe");
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    EXPECT_TRUE(DOCUMENTMODIFIED());
    EXPECT_EQ(ITEMSTATE(0, CMD_SAVE) & MF_GRAYED, 0u);
    {
        // Closing asks; Cancel keeps the program running.
        DialogAnswerer answer(IDCANCEL);
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        EXPECT_EQ(answer.RESULT().Text, "The text was been changed.\rSave changes?");
    }
    ASSERT_TRUE(IsWindow(MainWindow));
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_NE(Folder.READFILE("prog.bas").find("'ZEOUTFILE=prog2.exe"), std::string::npos);
    EXPECT_FALSE(DOCUMENTMODIFIED());

    // New after a change asks too; a document put in its place starts clean.
    RUNDIALOG(CMD_PROJECTSETTINGS, [](HWND dialog) {
        TYPE(dialog, IDC_OUTPUTFILE, "prog3.exe");
        harness::PRESSBUTTON(dialog, IDOK);
    });
    {
        DialogAnswerer answer(IDNO);
        EXPECT_EQ(OPENFILE(CMD_NEWEMPTY), 0);
        EXPECT_TRUE(answer.RESULT().Seen);
    }
    EXPECT_FALSE(DOCUMENTMODIFIED());
    EXPECT_EQ(Document.ProjectSettings.OutputFile, "prog3.exe");  // the new document inherits it
}

// ---------------------------------------------------------- font and colours

class FontSettingsTest : public SettingsTest {
protected:
    std::vector<std::string> ITEMS(HWND list) {
        std::vector<std::string> items;
        const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char text[LF_FACESIZE + 8] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    static std::string SELECTED(HWND list) {
        char text[LF_FACESIZE + 8] = {};
        SendMessageA(list, CB_GETLBTEXT, SendMessageA(list, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // A colour record as the configuration file holds it, with the keyword
    // colour outside the palette.
    void WRITECOLORS(const std::string &font, int size) {
        std::uint32_t colors[15];
        for (int i = 0; i < 15; ++i)
            colors[i] = 0x000080;  // dark red
        colors[0] = 0x000000;
        colors[3] = 0x123456;
        colors[4] = 0x008000;  // green
        colors[7] = 0x00FF00;
        WRITEINI("[Windows]\r\nFont=" + font + "\r\nFontSize=" + std::to_string(size) + "\r\nSyntaxColors=" +
                 ENCODEPROFILERECORD(colors, sizeof colors) + "\r\n");
    }
};

TEST_F(FontSettingsTest, ListsFallBackToCourierNewAndOkWritesTheThreeKeys) {
    WRITECOLORS("Marlett", 12);
    START();
    std::vector<std::string> sizes, fonts;
    std::string size, font, keywordItem;
    LRESULT keyword = -1, string = -1, colorCount = 0;
    LRESULT stringData = -1;
    RUNDIALOG(CMD_FONTSETTINGS, [&](HWND dialog) {
        sizes = ITEMS(GetDlgItem(dialog, IDC_SIZELIST));
        size = SELECTED(GetDlgItem(dialog, IDC_SIZELIST));
        fonts = ITEMS(GetDlgItem(dialog, IDC_FONTLIST));
        font = SELECTED(GetDlgItem(dialog, IDC_FONTLIST));
        HWND keywords = GetDlgItem(dialog, IDC_KEYWORDCOLOR);
        keyword = SendMessageA(keywords, CB_GETCURSEL, 0, 0);
        colorCount = SendMessageA(keywords, CB_GETCOUNT, 0, 0);
        keywordItem = ITEMS(keywords).at(0);
        string = SendDlgItemMessageA(dialog, IDC_STRINGCOLOR, CB_GETCURSEL, 0, 0);
        stringData = SendDlgItemMessageA(dialog, IDC_STRINGCOLOR, CB_GETITEMDATA, string, 0);
        harness::SHOT(dialog, "font-settings");
        // The default colour one step down: grey.
        SendMessageA(GetDlgItem(dialog, IDC_DEFAULTCOLOR), WM_KEYDOWN, VK_DOWN, 0);
        harness::PRESSBUTTON(dialog, IDOK);
    });
    EXPECT_EQ(sizes.size(), 15u);
    EXPECT_EQ(sizes.front(), "4");
    EXPECT_EQ(sizes.back(), "18");
    EXPECT_EQ(size, "12");
    EXPECT_EQ(font, "Courier New") << ::testing::PrintToString(fonts);
    EXPECT_EQ(std::count(fonts.begin(), fonts.end(), "Marlett"), 0);
    EXPECT_TRUE(std::is_sorted(fonts.begin(), fonts.end(), [](const std::string &a, const std::string &b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }));
    EXPECT_EQ(colorCount, 9);
    EXPECT_EQ(keywordItem, "&Keyword color");
    EXPECT_EQ(keyword, 0);  // not in the palette: shown as black
    EXPECT_EQ(string, 8);
    EXPECT_EQ(stringData, 0x008000);

    // The untouched keyword colour keeps its value; style 7 follows the default.
    EXPECT_EQ(AppSettings.SyntaxColors[3], 0x123456u);
    EXPECT_EQ(AppSettings.SyntaxColors[0], 0x808080u);
    EXPECT_EQ(AppSettings.SyntaxColors[7], 0x808080u);
    EXPECT_EQ(AppSettings.Font, "Courier New");
    EXPECT_EQ(CALL(SCI_STYLEGETFORE, 3), 0x123456);
    EXPECT_EQ(CALL(SCI_STYLEGETFORE, 0), 0x808080);
    const std::string ini = READINI();
    EXPECT_NE(ini.find("Font=Courier New\r\n"), std::string::npos);
    EXPECT_NE(ini.find("FontSize=12\r\n"), std::string::npos);
    LOADONLY();
    EXPECT_EQ(AppSettings.SyntaxColors[3], 0x123456u);
    EXPECT_EQ(AppSettings.SyntaxColors[7], 0x808080u);
    EXPECT_EQ(AppSettings.SyntaxColors[4], 0x008000u);
}

TEST_F(FontSettingsTest, AltKeysReachTheColourListsAndTheFocusedItemHasAThickFrame) {
    WRITECOLORS("Courier New", 9);
    START();
    HWND afterK = nullptr, afterD = nullptr, keywords = nullptr, defaults = nullptr;
    RUNDIALOG(CMD_FONTSETTINGS, [&](HWND dialog) {
        keywords = GetDlgItem(dialog, IDC_KEYWORDCOLOR);
        defaults = GetDlgItem(dialog, IDC_DEFAULTCOLOR);
        SetForegroundWindow(dialog);
        KEYS({VK_MENU, 'K'});
        afterK = FOCUSOF(dialog);
        KEYS({VK_MENU, 'D'});
        afterD = FOCUSOF(dialog);
        harness::SHOT(dialog, "font-settings-focus");
        SendMessageA(GetDlgItem(dialog, IDC_STRINGCOLOR), CB_SHOWDROPDOWN, TRUE, 0);
        harness::SHOT(dialog, "font-settings-open", 120);
        SendMessageA(GetDlgItem(dialog, IDC_STRINGCOLOR), CB_SHOWDROPDOWN, FALSE, 0);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(afterK, keywords);
    EXPECT_EQ(afterD, defaults);
}

TEST_F(FontSettingsTest, CancelChangesNothing) {
    WRITECOLORS("Courier New", 9);
    START();
    const std::string before = READINI();
    RUNDIALOG(CMD_FONTSETTINGS, [&](HWND dialog) {
        SendMessageA(GetDlgItem(dialog, IDC_SIZELIST), WM_KEYDOWN, VK_DOWN, 0);
        SendMessageA(GetDlgItem(dialog, IDC_DEFAULTCOLOR), WM_KEYDOWN, VK_DOWN, 0);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(AppSettings.FontSize, 9);
    EXPECT_EQ(AppSettings.SyntaxColors[0], 0u);
    EXPECT_EQ(READINI(), before);
}

TEST_F(FontSettingsTest, AFailedFontWriteSkipsTheOtherKeysButTheLookChanges) {
    WRITECOLORS("Courier New", 9);
    START();
    const std::string before = READINI();
    HANDLE lock = CreateFileA(AppSettings.IniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    // The failed write is reported, over the dialog, before it closes.
    harness::BoxWatcher report(INIREPORT, IDOK);
    RUNDIALOG(CMD_FONTSETTINGS, [&](HWND dialog) {
        SendMessageA(GetDlgItem(dialog, IDC_SIZELIST), WM_KEYDOWN, VK_DOWN, 0);  // 10
        harness::PRESSBUTTON(dialog, IDOK);
        WAITGONE(dialog);
    });
    EXPECT_EQ(report.STOP(), 1);
    CloseHandle(lock);
    EXPECT_EQ(report.LASTTEXT(), INIREPORT + AppSettings.IniPath + "\rChanged settings will be lost when the editor closes.");
    EXPECT_EQ(READINI(), before);
    EXPECT_EQ(AppSettings.FontSize, 10);
    EXPECT_EQ(CALL(SCI_STYLEGETSIZE, STYLE_DEFAULT), 10);
    EXPECT_EQ(AppSettings.SyntaxColors[7], 0x00FF00u);  // no copy without the write
}

TEST_F(FontSettingsTest, FontSizesOutsideFourToEighteenAreRefusedWhereRead) {
    const std::pair<int, int> cases[] = {{3, 4}, {4, 4}, {18, 18}, {19, 18}};
    for (const auto &c : cases) {
        WRITEINI("[Windows]\r\nFontSize=" + std::to_string(c.first) + "\r\n");
        LOADONLY();
        EXPECT_EQ(AppSettings.FontSize, c.second) << c.first;
    }
}

}  // namespace
