// Documents with the real control and real files: the settings block on save
// and reopen, the file dialogs with their panel, failed saves, RTF export.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <functional>

#include "Scintilla.h"
#include "document/document.h"
#include "document/settingsblock.h"
#include "inprocess.h"
#include "settings/settings.h"
#include "ui/resource.h"
#include "zescin.h"


using harness::DialogAnswerer;

namespace {

const std::string LISTING =
    "' Sample\r\n"
    "Sub One()\r\n"
    "  Print 1\r\n"
    "End Sub\r\n"
    "Sub Two()\r\n"
    "  Print \"two\"\r\n"
    "End Sub\r\n"
    "Function Three() As Long\r\n"
    "  Return 3\r\n"
    "End Function\r\n";

struct FindControl {
    int Id;
    HWND Found;
};

// Enumeration callbacks are named stdcall functions: on i686 a lambda does
// not convert to WNDENUMPROC.
BOOL CALLBACK FINDCONTROLBYID(HWND child, LPARAM param) {
    auto *f = reinterpret_cast<FindControl *>(param);
    if (GetDlgCtrlID(child) == f->Id) {
        f->Found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FINDLISTVIEW(HWND child, LPARAM param) {
    if (harness::CLASSNAMEOF(child) == "SysListView32") {
        *reinterpret_cast<HWND *>(param) = child;
        return FALSE;
    }
    return TRUE;
}

HWND PANELCONTROL(HWND dialog, int id) {
    FindControl find{id, nullptr};
    EnumChildWindows(dialog, FINDCONTROLBYID, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

class DocumentTest : public InProcessTest {
protected:
    void SetUp() override { Document.ProjectSettings = PROJECTSETTINGSRECORD{}; }
    // Saves the editor's text under a name and reopens it from disk.
    void SAVEANDREOPEN(const std::string &name) {
        Document.CurrentFile = Folder.FILE(name);
        ASSERT_EQ(SAVEFILE(), 0);
        OPENFILE(CMD_NEWEMPTY);
        Document.CurrentFile = Folder.FILE(name);
        ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
        PUMP(300);  // the settings are applied on the timer
    }
    void FOLD(int line) {
        CALL(SCI_COLOURISE, 0, -1);
        CALL(SCI_TOGGLEFOLD, line);
    }
    bool EXPANDED(int line) { return CALL(SCI_GETFOLDEXPANDED, line) != 0; }
};

TEST_F(DocumentTest, SaveAndReopenRestoresTextCaretFoldsAndProjectSettings) {
    START();
    SETTEXT(LISTING);
    FOLD(4);
    CALL(SCI_GOTOPOS, 27);
    Document.ProjectSettings = PROJECTSETTINGSRECORD{1, "C:\\my res\\app.rc", "app.exe"};
    Document.CurrentFile = Folder.FILE("prog.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    EXPECT_EQ(Folder.READFILE("prog.bas"), LISTING +
                                              "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=1B\r\n'ZETOGGLE=101\r\n"
                                              "'ZETARGET=1\r\n'ZERESFILE=C:\\my res\\app.rc\r\n'ZEOUTFILE=app.exe");

    OPENFILE(CMD_NEWEMPTY);
    Document.ProjectSettings = PROJECTSETTINGSRECORD{};
    Document.CurrentFile = Folder.FILE("prog.bas");
    ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
    EXPECT_EQ(DOCUMENTTEXT(), LISTING);
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    EXPECT_EQ(CALL(SCI_CANUNDO), 0);
    EXPECT_FALSE(Document.PendingSettings.empty());
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), Folder.FILE("prog.bas"));
    EXPECT_EQ(Document.CurrentDir, Folder.PATH());
    PUMP(300);
    EXPECT_TRUE(Document.PendingSettings.empty());
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 27);
    EXPECT_TRUE(EXPANDED(1));
    EXPECT_FALSE(EXPANDED(4));
    EXPECT_TRUE(EXPANDED(7));
    EXPECT_EQ(Document.ProjectSettings.TargetType, 1);
    EXPECT_EQ(Document.ProjectSettings.ResourceFile, "C:\\my res\\app.rc");
    EXPECT_EQ(Document.ProjectSettings.OutputFile, "app.exe");
}

TEST_F(DocumentTest, TextsSurviveByteForByte) {
    START();
    const std::string texts[] = {
        "Print 1",                                            // no final line break
        "Print 1\r\nPrint 2\r\n",                             // CR LF
        "Print 1\nPrint 2\n",                                 // LF only
        "Print 1\rPrint 2\rEnd\r",                            // CR only
        "' Gr\xFC\xDF""e \xE4\xF6\xFC \x80\xFF\r\nPrint \"\xE9\"\r\n",  // bytes above 127
        std::string("A\0B\r\n\0\0End", 10),                   // NUL bytes
        "",
    };
    int n = 0;
    for (const auto &text : texts) {
        SETTEXT(text);
        SAVEANDREOPEN("t" + std::to_string(++n) + ".bas");
        EXPECT_EQ(DOCUMENTTEXT(), text) << "text " << n;
    }
}

TEST_F(DocumentTest, UnchangedFileSavedTwiceIsByteIdentical) {
    START();
    SETTEXT(LISTING);
    FOLD(1);
    Document.CurrentFile = Folder.FILE("twice.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    const std::string first = Folder.READFILE("twice.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("twice.bas"), first);
}

TEST_F(DocumentTest, PowerBasicBlockHasThreeLinesAndResetsProjectSettings) {
    WRITEINI("[OtherSettings]\r\nCompilerType=1\r\n");
    START();
    SETTEXT("Function PBMain()\r\nEnd Function");
    Document.ProjectSettings = PROJECTSETTINGSRECORD{2, "x.rc", "y.exe"};
    Document.CurrentFile = Folder.FILE("pb.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("pb.bas"),
              "Function PBMain()\r\nEnd Function\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=1F\r\n'ZETOGGLE=1");
    SAVEANDREOPEN("pb.bas");
    EXPECT_EQ(Document.ProjectSettings.TargetType, 0);
    EXPECT_EQ(Document.ProjectSettings.ResourceFile, "");
}

TEST_F(DocumentTest, AFileWithoutBlockKeepsProjectSettingsAndStartsAtTheTop) {
    START();
    Folder.WRITEFILE("plain.bas", "Print 1\r\nPrint 2");
    Document.ProjectSettings.TargetType = 2;
    Document.CurrentFile = Folder.FILE("plain.bas");
    ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
    PUMP(150);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 1\r\nPrint 2");
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 0);
    EXPECT_EQ(Document.ProjectSettings.TargetType, 2);
}

TEST_F(DocumentTest, OlderBlockFormIsRead) {
    START();
    Folder.WRITEFILE("old.bas", LISTING + "\r\n'PZESETTINGS=0000000901");
    Document.ProjectSettings.TargetType = 3;
    Document.CurrentFile = Folder.FILE("old.bas");
    OPENFILE(CMD_OPENCURRENT);
    PUMP(300);
    EXPECT_EQ(DOCUMENTTEXT(), LISTING);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 9);
    EXPECT_FALSE(EXPANDED(1));
    EXPECT_TRUE(EXPANDED(4));
    EXPECT_EQ(Document.ProjectSettings.TargetType, 3);
}

TEST_F(DocumentTest, SavingUntitledTextSaysNoFileOpened) {
    START();
    SETTEXT("x");
    DialogAnswerer answer(IDOK);
    EXPECT_EQ(SAVEFILE(), 1);
    const harness::SeenBox &box = answer.RESULT();
    EXPECT_EQ(box.Text, "No file opened.");
    EXPECT_EQ(box.Caption, "Error");
    EXPECT_TRUE(box.HandIcon);
}

TEST_F(DocumentTest, AFailedSaveKeepsTheOriginalAndTheTextModified) {
    START();
    Folder.WRITEFILE("locked.bas", "original");
    SetFileAttributesA(Folder.FILE("locked.bas").c_str(), FILE_ATTRIBUTE_READONLY);
    Folder.MAKEFOLDER("folder.bas");
    SETTEXT("new text");
    for (const char *name : {"locked.bas", "folder.bas"}) {
        Document.CurrentFile = Folder.FILE(name);
        DialogAnswerer answer(IDOK);
        EXPECT_EQ(SAVEFILE(), 2);
        EXPECT_EQ(answer.RESULT().Text, std::string("Couldn't create/overwrite the file\r") + Folder.FILE(name));
        EXPECT_NE(CALL(SCI_GETMODIFY), 0);
    }
    EXPECT_EQ(Folder.READFILE("locked.bas"), "original");
    // No temporary files are left behind.
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(Folder.FILE("*.tmp").c_str(), &entry);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

TEST_F(DocumentTest, SaveKeepsTheAttributesOfTheFileItReplaces) {
    START();
    Folder.WRITEFILE("hidden.bas", "old");
    SetFileAttributesA(Folder.FILE("hidden.bas").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SETTEXT("new");
    Document.CurrentFile = Folder.FILE("hidden.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("hidden.bas").substr(0, 3), "new");
    EXPECT_TRUE(GetFileAttributesA(Folder.FILE("hidden.bas").c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(DocumentTest, SaveAsCompletesTheNameByTheChosenType) {
    START();
    SETTEXT("Print 1\r\n");
    struct Case {
        const char *typed;
        int type;
        const char *saved;
    } cases[] = {{"prog1", 1, "prog1.bas"}, {"prog2", 2, "prog2.inc"}, {"prog3.", 1, "prog3.bas"},
                 {"prog4", 4, "prog4.bas"}, {"notes.txt", 1, "notes.txt.bas"}, {"Prog5.Bas", 2, "Prog5.Bas"}};
    for (const auto &c : cases) {
        const std::function<void(HWND)> choose = CHOOSEFILE(Folder.FILE(c.typed), c.type);
        DialogAnswerer answer([&](HWND dialog) {
            if (&c == cases)
                harness::SHOT(dialog, "save-dialog");
            choose(dialog);
        });
        EXPECT_EQ(SAVEFILEAS(), 0) << c.typed;
        answer.RESULT();
        EXPECT_EQ(Document.CurrentFile, Folder.FILE(c.saved));
        EXPECT_TRUE(harness::FILEEXISTS(Folder.FILE(c.saved))) << c.saved;
        EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), Folder.FILE(c.saved));
    }
}

TEST_F(DocumentTest, SaveAsRtfExportsAndKeepsTheDocument) {
    START();
    SETTEXT("Dim s As String ' {note} \\ \xE4\r\nPrint \"x\"\r\n");
    Document.CurrentFile = Folder.FILE("doc.bas");
    DialogAnswerer answer(CHOOSEFILE(Folder.FILE("listing"), 3));
    EXPECT_EQ(SAVEFILEAS(), 0);
    answer.RESULT();
    EXPECT_EQ(Document.CurrentFile, Folder.FILE("doc.bas"));
    EXPECT_NE(CALL(SCI_GETMODIFY), 0);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("doc.bas")));
    const std::string rtf = Folder.READFILE("listing.rtf");
    // The listing's code page is named (Western here).
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}{\\colortbl ", 0),
              0u);
    EXPECT_NE(rtf.find("\\cf3 Dim"), std::string::npos);
    EXPECT_NE(rtf.find("\\{note\\} \\\\ \xE4\\par "), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 5), "\\par}");
}

TEST_F(DocumentTest, LongListingIsExportedInColourToItsEnd) {
    START();
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "Sub S" + std::to_string(i) + "()\r\n  Print \"x\" ' c\r\nEnd Sub\r\n";
    SETTEXT(text);
    ASSERT_EQ(EXPORTRTF(Folder.FILE("long.rtf")), 0);
    const std::string rtf = Folder.READFILE("long.rtf");
    const size_t last = rtf.rfind("S19999");
    ASSERT_NE(last, std::string::npos);
    // The last Sub is coloured like the first: keyword, string and comment styles.
    EXPECT_NE(rtf.find("\\cf3 End\\cf0  \\cf3 Sub", last), std::string::npos);
    EXPECT_NE(rtf.find("\\cf4 \"x\"", last), std::string::npos);
    EXPECT_NE(rtf.find("\\cf1 ' c", last), std::string::npos);
}

// Writes the sample that the independent reader checks (tests/check-rtf.sh
// runs this case alone, with QUILLET_RTF_SAMPLE naming a fresh file). The
// face name holds braces and a backslash, as a hand-edited INI file may.
TEST_F(DocumentTest, SampleForTheIndependentReader) {
    char path[MAX_PATH + 1] = {};
    if (!GetEnvironmentVariableA("QUILLET_RTF_SAMPLE", path, sizeof path))
        GTEST_SKIP() << "run by tests/check-rtf.sh";
    START();
    AppSettings.Font = "Odd}{\\Face";
    SETTEXT("' Umlaut \xE4 and braces {}\r\nSub Main()\r\n  Print \"a\\b\"\r\nEnd Sub\r\n");
    EXPECT_EQ(EXPORTRTF(path), 0);
}

TEST_F(DocumentTest, OpenDialogHasThePanelAndOpensTheChosenFile) {
    START();
    Folder.WRITEFILE("template.bas", "  ' A template for dialogs\r\nPrint 1\r\n");
    Document.CurrentDir = Folder.PATH();
    AppSettings.IncludeDir.clear();
    bool currentEnabled = true, includeEnabled = true;
    std::string preview;
    DialogAnswerer answer([&](HWND dialog) {
        Sleep(300);
        currentEnabled = IsWindowEnabled(PANELCONTROL(dialog, IDC_CURRENTDIR));
        includeEnabled = IsWindowEnabled(PANELCONTROL(dialog, IDC_INCLUDEDIR));
        // Selecting the file in the list shows its first line.
        HWND list = nullptr;
        EnumChildWindows(dialog, FINDLISTVIEW, reinterpret_cast<LPARAM>(&list));
        if (list) {
            LVITEMA item{};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
            Sleep(200);
        }
        preview = harness::WINDOWTEXTOF(PANELCONTROL(dialog, IDC_PREVIEW));
        harness::SHOT(dialog, "open-dialog");
        SetDlgItemTextA(dialog, 1152, "template.bas");
        harness::PRESSBUTTON(dialog, IDOK);
    });
    EXPECT_EQ(OPENFILE(CMD_OPEN), 0);
    EXPECT_TRUE(answer.RESULT().Seen);
    EXPECT_FALSE(currentEnabled);
    EXPECT_FALSE(includeEnabled);
    // Blanks go before the apostrophe is taken off, so the one after it stays.
    EXPECT_EQ(preview, " A template for dialogs");
    EXPECT_EQ(Document.CurrentFile, Folder.FILE("template.bas"));
    EXPECT_EQ(DOCUMENTTEXT(), "  ' A template for dialogs\r\nPrint 1\r\n");
}

TEST_F(DocumentTest, PanelSwitchesBetweenTheFolderAndTheIncludeFolder) {
    START();
    Folder.MAKEFOLDER("inc");
    Folder.WRITEFILE("inc\\win.bi", "' header");
    Folder.WRITEFILE("main.INC", "' include");
    AppSettings.IncludeDir = Folder.FILE("inc\\");
    Document.CurrentDir = Folder.PATH();
    Document.CurrentFile = Folder.FILE("main.INC");
    std::string afterInclude, afterCurrent, typedAfter, folderPreview;
    LRESULT type = -1;
    bool currentChecked = false;
    DialogAnswerer answer([&](HWND dialog) {
        Sleep(300);
        type = SendDlgItemMessageA(dialog, 1136, CB_GETCURSEL, 0, 0);
        currentChecked = SendMessageA(PANELCONTROL(dialog, IDC_CURRENTDIR), BM_GETCHECK, 0, 0) == BST_CHECKED;
        folderPreview = harness::WINDOWTEXTOF(PANELCONTROL(dialog, IDC_PREVIEW));
        SetDlgItemTextA(dialog, 1152, "typed.bas");
        harness::SHOT(dialog, "open-dialog-include");
        SendMessageA(PANELCONTROL(dialog, IDC_INCLUDEDIR), BM_CLICK, 0, 0);
        Sleep(300);
        afterInclude = harness::FILEDIALOGTEXT(dialog, CDM_GETFOLDERPATH);
        typedAfter = harness::WINDOWTEXTOF(GetDlgItem(dialog, 1152));
        SendMessageA(PANELCONTROL(dialog, IDC_CURRENTDIR), BM_CLICK, 0, 0);
        Sleep(300);
        afterCurrent = harness::FILEDIALOGTEXT(dialog, CDM_GETFOLDERPATH);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    EXPECT_EQ(OPENFILE(CMD_OPEN), 2);
    answer.RESULT();
    EXPECT_EQ(type, 1);  // a name ending in INC starts on the include files
    EXPECT_TRUE(currentChecked);
    // The panel shows the folder on a folder change, and the first line of the
    // starting file once the dialog selects it.
    EXPECT_TRUE(folderPreview == " include" ||
                folderPreview.rfind(Folder.PATH().substr(0, Folder.PATH().size() - 1), 0) == 0)
        << folderPreview;
    EXPECT_EQ(afterInclude + "\\", Folder.FILE("inc\\"));
    EXPECT_EQ(typedAfter, "typed.bas");
    EXPECT_EQ(afterCurrent + "\\", Folder.PATH());
}

TEST_F(DocumentTest, NewFromTemplateIsUntitledAndAppliesTheTemplatesBlock) {
    START();
    Folder.MAKEFOLDER("templates");
    Folder.WRITEFILE("templates\\gui.bas", LISTING + "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=5\r\n'ZETOGGLE=\r\n'ZETARGET=1");
    AppSettings.TemplateDir = Folder.FILE("templates\\");
    Document.CurrentFile = Folder.FILE("old.bas");
    DialogAnswerer answer(CHOOSEFILE("gui.bas"));
    EXPECT_EQ(OPENFILE(CMD_NEWTEMPLATE), 0);
    answer.RESULT();
    PUMP(300);
    EXPECT_EQ(Document.CurrentFile, "");
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), "Quillet by Vandrell");
    EXPECT_EQ(DOCUMENTTEXT(), LISTING);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 5);
    EXPECT_EQ(Document.ProjectSettings.TargetType, 1);
}

TEST_F(DocumentTest, SavePromptBeforeNew) {
    START();
    Document.CurrentFile = Folder.FILE("keep.bas");
    SETTEXT("changed");
    {
        DialogAnswerer answer(IDCANCEL);
        EXPECT_EQ(OPENFILE(CMD_NEWEMPTY), 1);
        EXPECT_EQ(answer.RESULT().Text, "The text was been changed.\rSave changes?");
    }
    EXPECT_EQ(DOCUMENTTEXT(), "changed");
    {
        DialogAnswerer answer(IDNO);
        EXPECT_EQ(OPENFILE(CMD_NEWEMPTY), 0);
    }
    EXPECT_EQ(DOCUMENTTEXT(), "");
    EXPECT_EQ(Document.CurrentFile, "");
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("keep.bas")));
}

TEST_F(DocumentTest, YesWithAFailingSaveKeepsTheText) {
    START();
    Folder.MAKEFOLDER("dir.bas");
    Document.CurrentFile = Folder.FILE("dir.bas");
    SETTEXT("precious");
    std::string error;
    {
        // Yes at the prompt, then the save error's OK.
        DialogAnswerer answers({[](HWND box) { harness::PRESSBUTTON(box, IDYES); },
                                [&error](HWND box) {
                                    error = harness::MESSAGEBOXTEXT(box);
                                    harness::PRESSBUTTON(box, IDOK);
                                }});
        EXPECT_EQ(OPENFILE(CMD_NEWEMPTY), 1);
        answers.RESULT();
    }
    EXPECT_EQ(error, "Couldn't create/overwrite the file\r" + Folder.FILE("dir.bas"));
    EXPECT_EQ(DOCUMENTTEXT(), "precious");
}

TEST_F(DocumentTest, YesThenCancelInSaveAsAtClosingKeepsTheWindow) {
    START();
    SETTEXT("untitled work");
    {
        DialogAnswerer answers({[](HWND box) { harness::PRESSBUTTON(box, IDYES); },
                                [](HWND dialog) {
                                    Sleep(300);
                                    harness::PRESSBUTTON(dialog, IDCANCEL);
                                }});
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        answers.RESULT();
    }
    EXPECT_TRUE(IsWindow(MainWindow));
    EXPECT_EQ(DOCUMENTTEXT(), "untitled work");
}

TEST_F(DocumentTest, FilesTooLargeForTheEditorChangeNothing) {
    START();
    // A sparse file larger than the control takes.
    HANDLE file = CreateFileA(Folder.FILE("huge.bas").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
    SETTEXT("kept");
    CALL(SCI_SETSAVEPOINT);
    Document.CurrentFile = Folder.FILE("huge.bas");
    DialogAnswerer answer(IDOK);
    EXPECT_EQ(OPENFILE(CMD_OPENCURRENT), 4);
    EXPECT_EQ(answer.RESULT().Text, "Error while reading from file\r" + Folder.FILE("huge.bas"));
    EXPECT_EQ(DOCUMENTTEXT(), "kept");
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), "Quillet by Vandrell");
}

// A listing the editing control cannot take (its memory is short, forced
// here by a budget for what the component may hold) is refused like a failed read:
// the document before stays, under its own name, and its next save writes
// it to its own file.
TEST_F(DocumentTest, AListingTheControlCannotTakeLeavesTheDocumentBefore) {
    START();
    Folder.WRITEFILE("before.bas", "kept\r\n");
    Document.CurrentFile = Folder.FILE("before.bas");
    ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
    PUMP(100);
    const std::string large(64 * 1024, 'x');
    Folder.WRITEFILE("large.bas", large);
    CALL(ZESCIN_SETALLOCATIONBUDGET, 16 * 1024);
    {
        DialogAnswerer answer(IDOK);
        EXPECT_EQ(OPENPATH(Folder.FILE("large.bas")), OPENCANNOTREAD);
        EXPECT_EQ(answer.RESULT().Text, "Error while reading from file\r" + Folder.FILE("large.bas"));
    }
    CALL(ZESCIN_SETALLOCATIONBUDGET, 0);
    EXPECT_EQ(DOCUMENTTEXT(), "kept\r\n");
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    EXPECT_EQ(Document.CurrentFile, Folder.FILE("before.bas"));
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), Folder.FILE("before.bas"));
    CALL(SCI_DOCUMENTEND);
    SendMessageA(EditorControl, WM_CHAR, 'y', 1);
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("before.bas").substr(0, 7), "kept\r\ny");
    EXPECT_EQ(Folder.READFILE("large.bas"), large);
}

// F5, Save or the Project settings pressed right after opening, before the
// timer applied the block, work with the opened listing's own settings and
// write its own block back.
TEST_F(DocumentTest, WhatUsesTheBlockAppliesItFirst) {
    START();
    PROJECTSETTINGSRECORD first;
    first.TargetType = 1;
    first.OutputFile = "first.exe";
    Document.ProjectSettings = first;
    SETTEXT("first\r\n");
    Document.CurrentFile = Folder.FILE("first.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    PROJECTSETTINGSRECORD second;
    second.TargetType = 2;
    second.ResourceFile = "second.rc";
    second.OutputFile = "second.dll";
    Document.ProjectSettings = second;
    SETTEXT("second\r\nline\r\n");
    CALL(SCI_GOTOPOS, 8);
    Document.CurrentFile = Folder.FILE("second.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    const std::string secondOnDisk = Folder.READFILE("second.bas");

    const std::function<void()> uses[] = {
        [] { ASSERT_EQ(SAVEFILE(), 0); },
        [] { ASSERT_EQ(EXPORTRTF(Document.CurrentFile + ".rtf"), 0); },
        [] {
            DialogAnswerer answer(IDCANCEL);
            OPENPROJECTSETTINGS();
        },
    };
    for (const auto &use : uses) {
        Document.CurrentFile = Folder.FILE("first.bas");
        ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
        PUMP(200);
        ASSERT_EQ(Document.ProjectSettings.OutputFile, "first.exe");
        // No message is handled between the opening and its use.
        ASSERT_EQ(OPENPATH(Folder.FILE("second.bas")), 0);
        CALL(SCI_SETSAVEPOINT);
        use();
        EXPECT_EQ(Document.ProjectSettings.TargetType, 2);
        EXPECT_EQ(Document.ProjectSettings.ResourceFile, "second.rc");
        EXPECT_EQ(Document.ProjectSettings.OutputFile, "second.dll");
        EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 8);
        ASSERT_EQ(SAVEFILE(), 0);
        EXPECT_EQ(Folder.READFILE("second.bas"), secondOnDisk);
    }
}

}  // namespace
