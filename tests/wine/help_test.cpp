// Help in-process: the word at the caret, the help files by type (a help
// program stand-in, and real calls of the viewers on missing files), the
// editor's help window with its topics, and the About box with the version
// resource.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <sstream>
#include <vector>

#include "Scintilla.h"
#include "help/help.h"
#include "help/helprules.h"
#include "inprocess.h"
#include "services/dpi.h"
#include "ui/resource.h"
#include "version.h"

using harness::DialogAnswerer;

namespace {

// What the help program stand-in was started with.
struct Started {
    bool Seen = false;
    std::vector<std::string> Arguments;
};

class HelpTest : public InProcessTest {
protected:
    // A copy of the help program stand-in under the given name in the folder.
    std::string HELPPROGRAM(const std::string &name) {
        const std::string path = Folder.FILE(name);
        EXPECT_TRUE(CopyFileA((harness::PROGRAMFOLDER() + "standin_helpviewer.exe").c_str(), path.c_str(), FALSE));
        return path;
    }
    // Waits for the stand-in's record (beside it, same name, ".log").
    Started STARTED(const std::string &program, int timeoutMs = 10000) {
        const std::string log = program.substr(0, program.rfind('.')) + ".log";
        Started started;
        PUMP(0);
        harness::PUMP(timeoutMs, [&] { return harness::FILEEXISTS(log); });
        if (!harness::FILEEXISTS(log))
            return started;
        std::istringstream in(harness::READWHOLEFILE(log));
        std::string commandLine, count, line;
        std::getline(in, commandLine);
        std::getline(in, count);
        while (std::getline(in, line) && line != "--end")
            started.Arguments.push_back(line);
        started.Seen = true;
        return started;
    }
    void CARETAT(Sci_Position position) { CALL(SCI_GOTOPOS, static_cast<WPARAM>(position)); }
};

// ---------------------------------------------------------------- keyword help

TEST_F(HelpTest, KeywordHelpStartsABasicHelpProgramWithTheWordAtTheCaret) {
    Folder.MAKEFOLDER("fb help");
    const std::string program = HELPPROGRAM("fb help\\fbhelp.EXE");
    WRITEINI("[PathSettings]\r\nBasicHelpFile=" + program + "\r\n");
    START();
    SETTEXT("  ScreenLock\r\nDim x As Long\r\n");
    CARETAT(5);  // inside ScreenLock, a word of the built-in FreeBASIC list
    // F1 through the accelerator table, as the message loop translates it.
    AccelTable = LoadAcceleratorsA(ProgramInstance, MAKEINTRESOURCEA(IDA_MAINACCEL));
    PostMessageA(EditorControl, WM_KEYDOWN, VK_F1, 1);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (TranslateAcceleratorA(MainWindow, AccelTable, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    const Started started = STARTED(program);
    ASSERT_TRUE(started.Seen) << "the help program was not started";
    EXPECT_EQ(started.Arguments, std::vector<std::string>{"ScreenLock"});
    EXPECT_TRUE(IsWindow(MainWindow));
}

TEST_F(HelpTest, TheWordAroundTheCaretWithItsRules) {
    START();
    SETTEXT("x = lopen(a) + %WM_COMMAND + %RED\r\n$Include\r\n" + std::string(3000, '=') + "\r\nCALL\r\n");
    std::string keyword;
    CARETAT(6);  // inside "lopen"
    EXPECT_EQ(GETHELPKEYWORD(keyword), 0);
    EXPECT_EQ(keyword, "_lopen");
    CARETAT(18);  // inside "%WM_COMMAND"
    EXPECT_EQ(GETHELPKEYWORD(keyword), 0);
    EXPECT_EQ(keyword, "WM_COMMAND");
    CARETAT(31);  // inside "%RED"
    EXPECT_EQ(GETHELPKEYWORD(keyword), 1);
    EXPECT_EQ(keyword, "%RED");
    CARETAT(static_cast<Sci_Position>(CALL(SCI_POSITIONFROMLINE, 1)) + 3);
    EXPECT_EQ(GETHELPKEYWORD(keyword), 1);
    EXPECT_EQ(keyword, "$Include");
    // A line of 3000 "=" is one word to the control; the keyword keeps 1023 bytes.
    CARETAT(static_cast<Sci_Position>(CALL(SCI_POSITIONFROMLINE, 2)) + 1500);
    EXPECT_EQ(GETHELPKEYWORD(keyword), 0);
    EXPECT_EQ(keyword, std::string(1023, '='));
    // The last line: the caret at the very end of the text.
    CARETAT(static_cast<Sci_Position>(CALL(SCI_GETLENGTH)));
    GETHELPKEYWORD(keyword);
    EXPECT_LE(keyword.size(), 2u);
}

TEST_F(HelpTest, ApiHelpStartsAProgramWithoutParametersAndKeywordHelpNeverDoes) {
    const std::string program = HELPPROGRAM("apiviewer.exe");
    WRITEINI("[PathSettings]\r\nApiHelpFile=" + program + "\r\n");
    START();
    SETTEXT("SendMessage\r\n");
    CARETAT(3);
    // The keyword goes to the API file, which keyword help hands to HTML Help.
    COMMAND(CMD_HELPKEYWORD);
    EXPECT_FALSE(STARTED(program, 1500).Seen);
    COMMAND(CMD_APIHELP);
    const Started started = STARTED(program);
    ASSERT_TRUE(started.Seen);
    EXPECT_TRUE(started.Arguments.empty());
}

// A relative help program is the user's configured one in the program's
// folder, never one of that name in the current folder (a listing's, when
// Explorer started the editor).
TEST_F(HelpTest, ARelativeHelpProgramIsTakenFromTheProgramsFolder) {
    Folder.MAKEFOLDER("tools");
    const std::string program = HELPPROGRAM("tools\\viewer.exe");
    harness::TempFolder elsewhere;
    elsewhere.MAKEFOLDER("tools");
    ASSERT_TRUE(CopyFileA((harness::PROGRAMFOLDER() + "standin_helpviewer.exe").c_str(),
                          elsewhere.FILE("tools\\viewer.exe").c_str(), FALSE));
    WRITEINI("[PathSettings]\r\nApiHelpFile=tools\\viewer.exe\r\n");
    START();
    SetCurrentDirectoryA(elsewhere.PATH().c_str());
    COMMAND(CMD_APIHELP);
    const bool startedOurs = STARTED(program).Seen;
    SetCurrentDirectoryA(harness::PROGRAMFOLDER().c_str());
    EXPECT_TRUE(startedOurs);
    EXPECT_FALSE(harness::FILEEXISTS(elsewhere.FILE("tools\\viewer.log")));
}

TEST_F(HelpTest, BasicHelpHandsAProgramToHtmlHelpAndMissingFilesHarmNothing) {
    const std::string program = HELPPROGRAM("basichelp.exe");
    WRITEINI("[PathSettings]\r\nBasicHelpFile=" + program + "\r\nApiHelpFile=" + Folder.FILE("missing api.chm") +
             "\r\n");
    START();
    COMMAND(CMD_BASICHELP);
    EXPECT_FALSE(STARTED(program, 1500).Seen);
    // HTML Help on a file that does not exist, by both commands.
    SETTEXT("CreateWindowEx\r\n");
    CARETAT(2);
    COMMAND(CMD_HELPKEYWORD);
    COMMAND(CMD_APIHELP);
    PUMP(300);
    EXPECT_TRUE(IsWindow(MainWindow));
    EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr) << "HTML Help is loaded when first needed";
}

TEST_F(HelpTest, TheShellOnAMissingFileHarmsNothing) {
    WRITEINI("[PathSettings]\r\nBasicHelpFile=" + Folder.FILE("no such manual.pdf") + "\r\n");
    START();
    SETTEXT("Print\r\n");
    CARETAT(2);
    {
        // Whatever the shell shows about the missing file is its own box.
        DialogAnswerer answer(IDOK, 3000);
        COMMAND(CMD_HELPKEYWORD);
        answer.RESULT();
    }
    PUMP(100);
    EXPECT_TRUE(IsWindow(MainWindow));
}

// Top-level windows of other processes that show a WinHelp viewer, and the
// processes behind them.
std::vector<DWORD> WINHELPPROCESSES() {
    std::vector<DWORD> ids;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "MS_WINHELP", nullptr)) != nullptr) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        if (id != GetCurrentProcessId())
            ids.push_back(id);
    }
    return ids;
}

TEST_F(HelpTest, WinHelpOnAMissingFileHarmsNothing) {
    WRITEINI("[PathSettings]\r\nBasicHelpFile=" + Folder.FILE("missing basic.hlp") + "\r\n");
    START();
    SETTEXT("Dim\r\n");
    CARETAT(1);
    // The viewer runs as a process of its own and may ask about the missing
    // file; its boxes are answered from here so the call can return.
    std::atomic<bool> done{false};
    std::thread answerer([&] {
        while (!done) {
            for (DWORD id : WINHELPPROCESSES()) {
                if (HWND box = harness::FINDDIALOG(id))
                    harness::PRESSBUTTON(box, IDOK);
            }
            Sleep(50);
        }
    });
    COMMAND(CMD_HELPKEYWORD);
    COMMAND(CMD_BASICHELP);
    PUMP(500);
    done = true;
    answerer.join();
    EXPECT_TRUE(IsWindow(MainWindow));
    // The viewer this test started ends with it.
    WinHelpA(MainWindow, AppSettings.BasicHelpFile.c_str(), HELP_QUIT, 0);
    PUMP(300);
    for (DWORD id : WINHELPPROCESSES()) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
            TerminateProcess(process, 0);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
        }
    }
}

// ---------------------------------------------------------------- editor's help

class HelpWindowTest : public InProcessTest {
protected:
    HWND TOPICS() { return GetDlgItem(HelpWindow, IDC_HELPTOPICS); }
    HWND HELPTEXT() { return GetDlgItem(HelpWindow, IDC_HELPTEXT); }
    void CHOOSE(int topic) {
        SendMessageA(TOPICS(), LB_SETCURSEL, static_cast<WPARAM>(topic), 0);
        SendMessageA(HelpWindow, WM_COMMAND, MAKEWPARAM(IDC_HELPTOPICS, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(TOPICS()));
        PUMP(50);
    }
    std::string SHOWN() { return harness::WINDOWTEXTOF(HELPTEXT()); }
    RECT CHILDRECT(HWND child) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, HelpWindow, reinterpret_cast<POINT *>(&r), 2);
        return r;
    }
    // The chosen topic heads the text, and nothing of the other sections is there.
    void EXPECTONLYTOPIC(int topic) {
        static const char *const phrases[HELPTOPICCOUNT] = {"Quick reference", "Put Quillet where your compiler is",
                                                            "The menus and their keys", "Setting it up",
                                                            "The settings block at the end of a listing",
                                                            "Going from error to error"};
        const std::string text = SHOWN();
        EXPECT_EQ(text.find(topic == 0 ? "Quillet, the editor's help" : HELPTOPICS[topic]), 0u)
            << "topic " << topic << " shows:\n" << text.substr(0, 200);
        for (int k = 0; k < HELPTOPICCOUNT; ++k)
            EXPECT_EQ(text.find(phrases[k]) != std::string::npos, k == topic) << "topic " << topic << ": " << phrases[k];
        EXPECT_EQ(text.find('\x7F'), std::string::npos);
        EXPECT_EQ(text.find("\\par"), std::string::npos) << "the RTF is read, not shown";
    }
};

TEST_F(HelpWindowTest, OpensWithContentShownAndEachTopicShowsItsSection) {
    START();
    COMMAND(CMD_EDITORHELP);
    ASSERT_NE(HelpWindow, nullptr);
    EXPECT_TRUE(IsWindowVisible(HelpWindow));
    EXPECT_EQ(harness::WINDOWTEXTOF(HelpWindow), "Editor's help");
    EXPECT_EQ(GetWindow(HelpWindow, GW_OWNER), MainWindow);
    EXPECT_EQ(lstrcmpiA(harness::CLASSNAMEOF(HELPTEXT()).c_str(), "RichEdit"), 0) << harness::CLASSNAMEOF(HELPTEXT());
    ASSERT_EQ(SendMessageA(TOPICS(), LB_GETCOUNT, 0, 0), HELPTOPICCOUNT);
    for (int k = 0; k < HELPTOPICCOUNT; ++k) {
        char item[64] = {};
        SendMessageA(TOPICS(), LB_GETTEXT, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, HELPTOPICS[k]);
    }
    EXPECT_EQ(GetWindowLongA(HELPTEXT(), GWL_STYLE) & (ES_READONLY | ES_MULTILINE), ES_READONLY | ES_MULTILINE);
    // "Content" is there as soon as the window runs.
    PUMP(100);
    EXPECT_EQ(SendMessageA(TOPICS(), LB_GETCURSEL, 0, 0), 0);
    EXPECTONLYTOPIC(0);
    harness::SHOT(HelpWindow, "help-0");
    for (int k : {1, 2, 3, 4, 0}) {
        CHOOSE(k);
        EXPECTONLYTOPIC(k);
        harness::SHOT(HelpWindow, "help-" + std::to_string(k));
    }
    // The last topic runs to the end of the guide; the others stop before the next.
    CHOOSE(4);
    EXPECT_NE(SHOWN().find("Files are taken as they are"), std::string::npos);
    // A long topic scrolls.
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(HELPTEXT(), SB_VERT, &scroll));
    EXPECT_GT(scroll.nMax - scroll.nMin + 1, static_cast<int>(scroll.nPage));
    CHOOSE(3);
    EXPECT_NE(SHOWN().find("Listings of both dialects"), std::string::npos);
    EXPECT_EQ(SHOWN().find("settings block at the end of a listing"), std::string::npos);
}

// The list is 150 pixels wide at 96 DPI, in the stock variable font, and
// keeps its width whatever the window's size.
TEST_F(HelpWindowTest, PlacedOnTheRightTwoThirdsAndTheListKeepsItsWidth) {
    START();
    COMMAND(CMD_EDITORHELP);
    ASSERT_NE(HelpWindow, nullptr);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (WINDOWDPI(HelpWindow) == 96)
        EXPECT_EQ(SendMessageW(TOPICS(), WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(GetStockObject(ANSI_VAR_FONT)));
    RECT outer;
    GetWindowRect(HelpWindow, &outer);
    EXPECT_EQ(outer.left, sw / 3);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right - outer.left, sw * 2 / 3);
    EXPECT_EQ(outer.bottom - outer.top, sh);
    LONG width = 0;
    for (SIZE size : {SIZE{640, 480}, SIZE{320, 200}, SIZE{1000, 700}}) {
        MoveWindow(HelpWindow, 10, 10, size.cx, size.cy, TRUE);
        PUMP(20);
        RECT client;
        GetClientRect(HelpWindow, &client);
        const RECT list = CHILDRECT(TOPICS());
        const RECT text = CHILDRECT(HELPTEXT());
        EXPECT_EQ(list.left, 0);
        EXPECT_EQ(list.top, 0);
        if (width == 0)
            width = list.right - list.left;
        EXPECT_EQ(width, MulDiv(150, static_cast<int>(WINDOWDPI(HelpWindow)), 96));
        EXPECT_EQ(list.right - list.left, width) << size.cx;
        EXPECT_EQ(list.bottom, client.bottom);
        EXPECT_EQ(text.left, width);
        EXPECT_EQ(text.right, client.right);
        EXPECT_EQ(text.bottom, client.bottom);
    }
}

TEST_F(HelpWindowTest, EachCommandOpensANewWindowAndEscapeClosesIt) {
    START();
    COMMAND(CMD_EDITORHELP);
    HWND first = HelpWindow;
    COMMAND(CMD_EDITORHELP);
    HWND second = HelpWindow;
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_TRUE(IsWindow(first));
    // Escape in the newest window, through the loop's dialog handling.
    SetFocus(GetDlgItem(second, IDC_HELPTOPICS));
    PostMessageA(GetDlgItem(second, IDC_HELPTOPICS), WM_KEYDOWN, VK_ESCAPE, 0);
    MSG message;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (HelpWindow && IsDialogMessageA(HelpWindow, &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(HelpWindow, nullptr) << "a closed window is no longer offered messages";
    // The close box of the older one.
    SendMessageA(first, WM_CLOSE, 0, 0);
    PUMP(50);
    EXPECT_FALSE(IsWindow(first));
}

// ---------------------------------------------------------------- About

// The five strings of a program file's version resource.
VersionStrings READVERSION(const std::string &file, std::string &fixedVersion) {
    VersionStrings s;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    EXPECT_GT(size, 0u) << file;
    std::vector<char> info(size);
    EXPECT_TRUE(GetFileVersionInfoA(file.c_str(), 0, size, info.data()));
    auto value = [&](const char *name) {
        void *data = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
        if (!VerQueryValueA(info.data(), path.c_str(), &data, &length) || !data)
            return std::string();
        return std::string(static_cast<const char *>(data));
    };
    s.Comments = value("Comments");
    s.OriginalFilename = value("OriginalFilename");
    s.LegalCopyright = value("LegalCopyright");
    s.CompanyName = value("CompanyName");
    s.FileVersion = value("FileVersion");
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(info.data(), "\\", reinterpret_cast<void **>(&fixed), &length) && fixed)
        fixedVersion = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                       std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                       std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                       std::to_string(LOWORD(fixed->dwFileVersionLS));
    return s;
}

TEST(VersionResource, TheBuiltProgramCarriesTheProjectVersion) {
    for (const std::string file : {harness::PROGRAMFOLDER() + "Quillet.exe", harness::PROGRAMFOLDER() + "help_tests.exe"}) {
        ASSERT_TRUE(harness::FILEEXISTS(file)) << file;
        std::string fixed;
        const VersionStrings s = READVERSION(file, fixed);
        EXPECT_EQ(s.FileVersion, QUILLET_VERSION_TEXT) << file;
        EXPECT_EQ(fixed, QUILLET_VERSION_TEXT) << file;
        EXPECT_EQ(s.OriginalFilename, "Quillet.exe");
        EXPECT_FALSE(s.Comments.empty());
        EXPECT_FALSE(s.LegalCopyright.empty());
        EXPECT_FALSE(s.CompanyName.empty());
    }
}

TEST_F(HelpTest, AboutShowsTheVersionStringsInOrderWithCaptionAndIcon) {
    START();
    // The program file is this test program, which carries the program's resources.
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    AppSettings.ExePath = self;
    std::string fixed;
    const VersionStrings expected = READVERSION(self, fixed);

    bool information = false;
    DialogAnswerer answer([&](HWND box) {
        const HICON shown = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 1088, STM_GETICON, 0, 0));
        information = shown != nullptr && shown == LoadIconA(nullptr, MAKEINTRESOURCEA(32516));  // IDI_INFORMATION
        harness::SHOT(box, "about");
        harness::PRESSBUTTON(box, IDOK);
    });
    COMMAND(CMD_ABOUT);
    const harness::SeenBox &box = answer.RESULT();
    ASSERT_TRUE(box.Seen);
    EXPECT_EQ(box.Caption, "About Quillet");
    EXPECT_TRUE(box.Buttons[IDOK]);
    EXPECT_FALSE(box.Buttons[IDCANCEL]);
    EXPECT_TRUE(information) << "the information icon";
    EXPECT_EQ(box.Text, ABOUTTEXT(expected));
    // Comments, file name, version, legal notice, company.
    const std::vector<std::string> order = {expected.Comments, expected.OriginalFilename, expected.FileVersion,
                                            expected.LegalCopyright, expected.CompanyName};
    std::size_t at = 0;
    for (const std::string &part : order) {
        const auto found = box.Text.find(part, at);
        ASSERT_NE(found, std::string::npos) << part;
        at = found + part.size();
    }
    EXPECT_NE(box.Text.find(std::string("Updates: ") + UPDATEADDRESS), std::string::npos);
}

}  // namespace
