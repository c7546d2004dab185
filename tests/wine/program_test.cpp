// The real Quillet.exe as a separate process: first start, exit keys, the
// command line, and a second instance.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include <commctrl.h>

#include "harness.h"

namespace {

using harness::TempFolder;

// A folder name in several scripts, with an emoji no ANSI code page holds.
const std::string UNICODENAME = " \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC "
                                "\xD0\x9F\xD1\x80\xD0\xB8 \xF0\x9F\x99\x82";

bool COPY(const std::string &from, const std::string &to) {
    return CopyFileW(harness::WIDEPATH(from).c_str(), harness::WIDEPATH(to).c_str(), FALSE) != FALSE;
}

// A copy of the program in a folder of its own, so that its INI file and
// keyword files land there. The folder's name holds letters of several
// scripts and an emoji: the program runs from there as from any folder.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string bin = harness::PROGRAMFOLDER();
        ASSERT_TRUE(COPY(bin + "Quillet.exe", Folder.FILE("Quillet.exe")));
        ASSERT_TRUE(COPY(bin + "ZESCIN.DLL", Folder.FILE("ZESCIN.DLL")));
    }
    void TearDown() override {
        for (auto &p : Processes) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(p.hProcess, 1);
            WaitForSingleObject(p.hProcess, 5000);
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
    }
    // Starts the program with a command-line tail; returns its main window.
    HWND START(const std::string &tail, bool expectWindow = true) {
        std::string command = "\"" + Folder.FILE("Quillet.exe") + "\"";
        if (!tail.empty())
            command += " " + tail;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring line = harness::WIDE(command);
        line.push_back(L'\0');
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   harness::WIDE(Folder.PATH()).c_str(), &startup, &process));
        Processes.push_back(process);
        WaitForInputIdle(process.hProcess, 5000);
        if (!expectWindow)
            return nullptr;
        HWND window = harness::WAITFORWINDOW(process.dwProcessId, "ZeTarvikClass", 10000);
        EXPECT_NE(window, nullptr);
        return window;
    }
    DWORD PID() const { return Processes.back().dwProcessId; }
    // Closes the window and returns the exit code of its process.
    DWORD CLOSE(HWND window, size_t index = 0) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        const HANDLE process = Processes.at(index).hProcess;
        EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(process, &code);
        return code;
    }
    // The settings file's text, in UTF-8 whether the file is ANSI or UTF-16.
    std::string INI() const {
        const std::string bytes = Folder.READFILE("Quillet.ini");
        if (bytes.rfind("\xFF\xFE", 0) != 0)
            return bytes;
        return harness::UTF8PATH(std::wstring(reinterpret_cast<const wchar_t *>(bytes.data() + 2), (bytes.size() - 2) / 2));
    }
    // Writes the settings file as UTF-16, which holds a path of any characters.
    void WRITEINI(const std::string &text) {
        const std::wstring wide = harness::WIDE(text);
        Folder.WRITEFILE("Quillet.ini", "\xFF\xFE" + std::string(reinterpret_cast<const char *>(wide.data()), wide.size() * 2));
    }
    TempFolder Folder{UNICODENAME};
    std::vector<PROCESS_INFORMATION> Processes;
};

TEST_F(ProgramTest, FirstStartFindsTheCompilerAndTheExitCreatesTheRest) {
    ASSERT_TRUE(COPY(harness::PROGRAMFOLDER() + "standin_compiler.exe", Folder.FILE("fbc.exe")));
    HWND window = START("/e");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), "Quillet by Vandrell");
    std::string ini = INI();
    EXPECT_NE(ini.find("Compiler=" + Folder.FILE("fbc.exe")), std::string::npos) << ini;
    EXPECT_NE(ini.find("CompilerType=0"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("LastFile"), std::string::npos);
    // The keyword files are made from the built-in lists.
    EXPECT_EQ(Folder.READFILE("FreeBasicKeywords.txt").size(), 1529u);
    EXPECT_EQ(Folder.READFILE("ApiKeywords.txt").size(), 25477u);

    EXPECT_EQ(CLOSE(window), 0u);
    ini = INI();
    for (const char *key : {"LastFile=\r\n", "MainWndPos=", "SearchWndPos=", "GoToWndPos=", "AutoIndent=1",
                            "LastSearchKey=", "LastReplaceKey=", "CompileTimeout=10"})
        EXPECT_NE(ini.find(key), std::string::npos) << key << " in\n" << ini;
}

TEST_F(ProgramTest, AMissingFileIsReportedWithItsPathAndKeptAsName) {
    const std::string missing = Folder.FILE("gone away.bas");
    HWND window = START("\"" + missing + "\"");
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box), "Can't find/open file\r" + missing);
    EXPECT_EQ(harness::WINDOWTEXTOF(box), "Error");  // no caption of its own
    harness::PRESSBUTTON(box, IDOK);
    Sleep(200);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), "Quillet by Vandrell");
    EXPECT_EQ(CLOSE(window), 0u);
    EXPECT_NE(INI().find("LastFile=" + missing + "\r\n"), std::string::npos);
}

// A listing whose folder and name hold letters of several scripts: named on
// the command line, saved in place, and the last file of the next start.
TEST_F(ProgramTest, AListingOfAnyNameOpensSavesAndComesBackAsTheLastFile) {
    const std::string listing = Folder.FILE("\xCE\xB1 \xE6\x97\xA5 \xF0\x9F\x99\x82.bas");
    Folder.WRITEFILE("\xCE\xB1 \xE6\x97\xA5 \xF0\x9F\x99\x82.bas", "Print 1\r\n");
    HWND window = START("\"" + listing + "\"");
    ASSERT_NE(window, nullptr);
    Sleep(300);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), listing);
    HWND editor = FindWindowExW(window, nullptr, L"ScintillaPb", nullptr);
    ASSERT_NE(editor, nullptr);
    SendMessageW(editor, WM_CHAR, L'x', 1);
    PostMessageW(window, WM_COMMAND, 1111, 0);  // Save
    Sleep(500);
    EXPECT_EQ(Folder.READFILE("\xCE\xB1 \xE6\x97\xA5 \xF0\x9F\x99\x82.bas").substr(0, 10), "xPrint 1\r\n");
    EXPECT_EQ(CLOSE(window), 0u);
    EXPECT_NE(INI().find("LastFile=" + listing + "\r\n"), std::string::npos) << INI();
    window = START("");
    ASSERT_NE(window, nullptr);
    Sleep(300);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), listing);
    EXPECT_EQ(CLOSE(window, 1), 0u);
}

TEST_F(ProgramTest, AnOverlongCommandLineIsRefusedNotCut) {
    HWND window = START(std::string(5000, 'q'));
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box), "The file name is longer than 259 characters:\r" + std::string(5000, 'q'));
    harness::PRESSBUTTON(box, IDOK);
    Sleep(200);
    EXPECT_EQ(CLOSE(window), 0u);
}

TEST_F(ProgramTest, EmptyWindowCommandStartsASecondInstanceWithoutAFile) {
    Folder.WRITEFILE("last.bas", "Print \"last\"\r\n");
    WRITEINI("[PathSettings]\r\nLastFile=" + Folder.FILE("last.bas") + "\r\n");
    HWND first = START("");
    ASSERT_NE(first, nullptr);
    Sleep(300);
    EXPECT_EQ(harness::WINDOWTEXTOF(first), Folder.FILE("last.bas"));  // no tail: the last file

    PostMessageA(first, WM_COMMAND, 1105, 0);
    HWND second = nullptr;
    for (int i = 0; i < 200 && !second; ++i) {
        for (HWND w = FindWindowExA(nullptr, nullptr, "ZeTarvikClass", nullptr); w;
             w = FindWindowExA(nullptr, w, "ZeTarvikClass", nullptr))
            if (w != first)
                second = w;
        Sleep(50);
    }
    ASSERT_NE(second, nullptr);
    Sleep(500);
    // Started with "/e": the last file is not opened there, and it reports
    // no file either (the folder of the test has a blank in its name).
    EXPECT_EQ(harness::WINDOWTEXTOF(second), "Quillet by Vandrell");
    DWORD secondPid = 0;
    GetWindowThreadProcessId(second, &secondPid);
    EXPECT_EQ(harness::WAITFORDIALOG(secondPid, 1000), nullptr);
    HANDLE secondProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, secondPid);
    PostMessageA(second, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(secondProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(secondProcess);
    EXPECT_EQ(CLOSE(first), 0u);
}

// Waits for the next box of the program, reads its text and presses a button.
std::string ANSWERBOX(DWORD pid, int button) {
    HWND box = harness::WAITFORDIALOG(pid, 10000);
    if (!box)
        return "(no box)";
    Sleep(100);
    const std::string text = harness::MESSAGEBOXTEXT(box);
    harness::PRESSBUTTON(box, button);
    for (int i = 0; i < 100 && IsWindow(box); ++i)
        Sleep(20);
    return text;
}

TEST_F(ProgramTest, AListingThatCannotBeReadAtStartIsNeverReplaced) {
    const std::string listing = "Print \"mine\"\r\n";
    Folder.WRITEFILE("held.bas", listing);
    const std::string path = Folder.FILE("held.bas");
    // Another program holds the file open without sharing.
    HANDLE held = CreateFileW(harness::WIDEPATH(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HWND window = START("\"" + path + "\"");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ANSWERBOX(PID(), IDOK), "Can't find/open file\r" + path);
    CloseHandle(held);
    // F2 and F5 find no file name to write to.
    PostMessageA(window, WM_COMMAND, 1111, 0);
    EXPECT_EQ(ANSWERBOX(PID(), IDOK), "No file opened.");
    PostMessageA(window, WM_COMMAND, 1301, 0);
    EXPECT_EQ(ANSWERBOX(PID(), IDNO), "The editor content isn't saved as file. Save now?");
    EXPECT_EQ(harness::WINDOWTEXTOF(window), "Quillet by Vandrell");
    EXPECT_EQ(CLOSE(window), 0u);
    EXPECT_EQ(Folder.READFILE("held.bas"), listing);
    EXPECT_NE(INI().find("LastFile=\r\n"), std::string::npos) << INI();
}

// The INI line of a stored window rectangle, as the program writes it.
std::string RECTLINE(const char *key, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    const std::int32_t values[4] = {left, top, right, bottom};
    const auto *bytes = reinterpret_cast<const unsigned char *>(values);
    std::string line = std::string(key) + "=";
    unsigned sum = 0;
    char pair[3];
    for (size_t i = 0; i < sizeof values; ++i) {
        wsprintfA(pair, "%02X", bytes[i]);
        line += pair;
        sum += bytes[i];
    }
    wsprintfA(pair, "%02X", sum & 0xFF);
    return line + pair + "\r\n";
}

TEST_F(ProgramTest, TheWindowComesBackAsItWasLeft) {
    HWND window = START("/e");
    ASSERT_NE(window, nullptr);
    SetWindowPos(window, nullptr, 100, 120, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    Sleep(200);
    RECT normal;
    GetWindowRect(window, &normal);
    // Closed while minimised, and while maximised: the normal rectangle is stored.
    for (const int state : {SW_MINIMIZE, SW_MAXIMIZE}) {
        ShowWindow(window, state);
        Sleep(300);
        EXPECT_EQ(CLOSE(window, Processes.size() - 1), 0u);
        window = START("/e");
        ASSERT_NE(window, nullptr);
        RECT back;
        GetWindowRect(window, &back);
        EXPECT_TRUE(EqualRect(&back, &normal)) << state << ": " << back.left << "," << back.top << ","
                                               << back.right << "," << back.bottom;
    }
    EXPECT_EQ(CLOSE(window, Processes.size() - 1), 0u);
    // A window closed on a monitor that is gone comes back at the edge of the
    // nearest one, its right and bottom as stored.
    Folder.WRITEFILE("Quillet.ini", "[Windows]\r\n" + RECTLINE("MainWndPos", 5000, 3000, 5300, 3200));
    window = START("/e");
    ASSERT_NE(window, nullptr);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const RECT gone{5000, 3000, 5300, 3200};
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromRect(&gone, MONITOR_DEFAULTTONEAREST), &monitor));
    RECT pulled;
    GetWindowRect(window, &pulled);
    EXPECT_EQ(pulled.left, monitor.rcWork.right - 100);
    EXPECT_EQ(pulled.top, monitor.rcWork.bottom - 100);
    EXPECT_EQ(CLOSE(window, Processes.size() - 1), 0u);
    // A hand-edited rectangle whose left lies beyond its right is clamped
    // first: what is left is still a window, from the clamped left to the
    // stored right.
    const LONG right = monitor.rcWork.right + 200;
    Folder.WRITEFILE("Quillet.ini", "[Windows]\r\n" + RECTLINE("MainWndPos", 50000, 20, right, 400));
    window = START("/e");
    ASSERT_NE(window, nullptr);
    GetWindowRect(window, &pulled);
    EXPECT_EQ(pulled.left, monitor.rcWork.right - 100);
    EXPECT_EQ(pulled.right, right);
    EXPECT_EQ(CLOSE(window, Processes.size() - 1), 0u);
    // Rectangles that are still no window's after clamping: minimised, left
    // beyond the stored right even when clamped, sizes whose arithmetic would
    // overflow. The default window appears instead.
    const std::int32_t bad[][4] = {{50000, 20, 40, 400},
                                   {-32000, -32000, -31840, -31972},
                                   {-2147483647 - 1, 0, 2147483647, 400},
                                   {300, 300, 100, 100}};
    for (const auto &r : bad) {
        Folder.WRITEFILE("Quillet.ini", "[Windows]\r\n" + RECTLINE("MainWndPos", r[0], r[1], r[2], r[3]));
        window = START("/e");
        ASSERT_NE(window, nullptr);
        RECT got;
        GetWindowRect(window, &got);
        const RECT fallback{20, 20, 600, 400};
        EXPECT_TRUE(EqualRect(&got, &fallback)) << r[0] << "," << r[1] << "," << r[2] << "," << r[3] << " gave "
                                                << got.left << "," << got.top << "," << got.right << "," << got.bottom;
        EXPECT_EQ(CLOSE(window, Processes.size() - 1), 0u);
    }
}

// ---- Recovery copies of unsaved text ----

// The editing control's messages these tests send to the program's window.
constexpr UINT SCI_GETLENGTH = 2006;
constexpr UINT SCI_GETCURRENTPOS = 2008;
constexpr UINT SCI_GOTOPOS = 2025;
constexpr UINT SCI_GETFOLDEXPANDED = 2230;
constexpr UINT SCI_TOGGLEFOLD = 2231;
constexpr UINT SCI_COLOURISE = 4003;

class RecoveryTest : public ProgramTest {
protected:
    std::string RECOVERYFOLDER() const { return Folder.FILE("Recovery\\"); }
    std::vector<std::string> COPIES() const { return harness::FILESIN(RECOVERYFOLDER()); }
    // Waits until the program has copied unsaved text aside (a few seconds
    // after typing paused) and the copy holds text.
    bool WAITFORCOPY(const std::string &holding, int timeoutMs = 15000) {
        for (int waited = 0; waited < timeoutMs; waited += 100) {
            for (const std::string &name : COPIES())
                if (harness::READWHOLEFILE(RECOVERYFOLDER() + name).find(holding) != std::string::npos)
                    return true;
            Sleep(100);
        }
        return false;
    }
    HWND EDITOROF(HWND window) { return FindWindowExW(window, nullptr, L"ScintillaPb", nullptr); }
    void TYPE(HWND window, const std::wstring &text) {
        for (const wchar_t c : text)
            SendMessageW(EDITOROF(window), WM_CHAR, c, 1);
    }
    // The length of the editor's text (its text cannot be read from another
    // program; a save shows it).
    LRESULT LENGTHOF(HWND window) { return SendMessageW(EDITOROF(window), SCI_GETLENGTH, 0, 0); }
    // Presses a box's button and waits until the box is gone.
    void PRESS(HWND box, int button) {
        harness::PRESSBUTTON(box, button);
        for (int i = 0; i < 250 && IsWindow(box) && IsWindowVisible(box); ++i)
            Sleep(20);
    }
    // Ends a program as Task Manager does: no question, no clean-up.
    void KILL(size_t index) {
        TerminateProcess(Processes.at(index).hProcess, 1);
        WaitForSingleObject(Processes.at(index).hProcess, 5000);
    }
};

const std::string SUBS = "' two subs\r\nSub One()\r\n  Print 1\r\nEnd Sub\r\nSub Two()\r\n  Print 2\r\nEnd Sub\r\n";

TEST_F(RecoveryTest, TextTypedBeforeAKillIsOfferedAndRestoredUnderItsName) {
    const std::string listing = Folder.FILE("kept.bas");
    Folder.WRITEFILE("kept.bas", SUBS);
    HWND window = START("\"" + listing + "\"");
    ASSERT_NE(window, nullptr);
    Sleep(300);
    // Sub One folded, the caret on line 5, two letters typed.
    HWND editor = EDITOROF(window);
    SendMessageW(editor, SCI_COLOURISE, 0, -1);
    SendMessageW(editor, SCI_TOGGLEFOLD, 1, 0);
    SendMessageW(editor, SCI_GOTOPOS, 50, 0);
    TYPE(window, L"Zz");
    const std::string typed = SUBS.substr(0, 50) + "Zz" + SUBS.substr(50);
    ASSERT_TRUE(WAITFORCOPY("Zz"));
    KILL(0);
    EXPECT_EQ(Folder.READFILE("kept.bas"), SUBS);

    window = START("\"" + listing + "\"");
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    const std::string question = harness::MESSAGEBOXTEXT(box);
    EXPECT_EQ(question.rfind(listing + " was not saved when Quillet ended on ", 0), 0u) << question;
    EXPECT_EQ(question.substr(question.size() - 27), ".\rRestore the unsaved text?");
    PRESS(box, IDYES);
    Sleep(500);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), listing);
    EXPECT_EQ(LENGTHOF(window), static_cast<LRESULT>(typed.size()));
    editor = EDITOROF(window);
    EXPECT_EQ(SendMessageW(editor, SCI_GETCURRENTPOS, 0, 0), 52);
    EXPECT_EQ(SendMessageW(editor, SCI_GETFOLDEXPANDED, 1, 0), 0);
    // The file on disk is untouched until the save; the text counts as changed.
    EXPECT_EQ(Folder.READFILE("kept.bas"), SUBS);
    PostMessageW(window, WM_COMMAND, 1111, 0);  // Save
    Sleep(500);
    const std::string saved = Folder.READFILE("kept.bas");
    EXPECT_EQ(saved.substr(0, typed.size()), typed);
    EXPECT_NE(saved.find("\r\n'ZECURSOR=34\r\n'ZETOGGLE=01"), std::string::npos) << saved.substr(typed.size());
    // Saved: no copy is left.
    EXPECT_TRUE(COPIES().empty());
    EXPECT_EQ(CLOSE(window, 1), 0u);
}

TEST_F(RecoveryTest, UntitledTextComesBackUntitledAndModified) {
    HWND window = START("/e");
    ASSERT_NE(window, nullptr);
    TYPE(window, L"Print \"draft\"");
    ASSERT_TRUE(WAITFORCOPY("draft"));
    KILL(0);
    window = START("/e");
    ASSERT_NE(window, nullptr);
    const std::string question = [&] {
        HWND box = harness::WAITFORDIALOG(PID(), 10000);
        const std::string text = box ? harness::MESSAGEBOXTEXT(box) : std::string();
        if (box)
            PRESS(box, IDYES);
        return text;
    }();
    EXPECT_EQ(question.rfind("Untitled text was not saved when Quillet ended on ", 0), 0u) << question;
    Sleep(500);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), "Quillet by Vandrell");
    EXPECT_EQ(LENGTHOF(window), 13);
    // Closing asks about the unsaved text; No gives it up, and the copy with it.
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box), "The text was been changed.\rSave changes?");
    harness::PRESSBUTTON(box, IDNO);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(COPIES().empty());
}

// No asks once more: OK deletes the copy, Cancel keeps it for the next start.
// Two programs killed together give two offers; a copy of a program that
// still runs is not offered.
TEST_F(RecoveryTest, EveryCopyIsOfferedNothingGoesByOneClickAndLiveCopiesStay) {
    Folder.WRITEFILE("a.bas", "Print \"a\"\r\n");
    Folder.WRITEFILE("b.bas", "Print \"b\"\r\n");
    HWND a = START("\"" + Folder.FILE("a.bas") + "\"");
    HWND b = START("\"" + Folder.FILE("b.bas") + "\"");
    ASSERT_TRUE(a && b);
    Sleep(300);
    TYPE(a, L"AAA");
    TYPE(b, L"BBB");
    ASSERT_TRUE(WAITFORCOPY("AAA") && WAITFORCOPY("BBB"));
    HWND live = START("/e");
    TYPE(live, L"LIVE");
    ASSERT_TRUE(WAITFORCOPY("LIVE"));
    KILL(0);
    KILL(1);

    // Both killed copies are offered, the one of the start file first; the
    // live program's copy is not.
    std::vector<std::string> asked;
    auto answer = [&](DWORD pid, std::vector<int> buttons) {
        for (const int button : buttons) {
            HWND box = harness::WAITFORDIALOG(pid, 10000);
            if (!box)
                return;
            Sleep(100);
            asked.push_back(harness::MESSAGEBOXTEXT(box));
            harness::PRESSBUTTON(box, button);
            for (int i = 0; i < 100 && IsWindow(box); ++i)
                Sleep(20);
        }
    };
    HWND third = START("\"" + Folder.FILE("b.bas") + "\"");
    ASSERT_NE(third, nullptr);
    answer(PID(), {IDNO, IDCANCEL, IDNO, IDOK});
    ASSERT_EQ(asked.size(), 4u);
    EXPECT_EQ(asked[0].rfind(Folder.FILE("b.bas") + " was not saved", 0), 0u) << asked[0];
    EXPECT_EQ(asked[1], "The unsaved text will be deleted.");
    EXPECT_EQ(asked[2].rfind(Folder.FILE("a.bas") + " was not saved", 0), 0u) << asked[2];
    EXPECT_EQ(harness::WAITFORDIALOG(PID(), 1500), nullptr);  // no third offer
    Sleep(300);
    EXPECT_EQ(harness::WINDOWTEXTOF(third), Folder.FILE("b.bas"));  // the start file opened
    // b's copy was kept (Cancel), a's deleted (OK); the live one and the new
    // program's own do not count.
    int kept = 0;
    for (const std::string &name : COPIES()) {
        const std::string copy = harness::READWHOLEFILE(RECOVERYFOLDER() + name);
        EXPECT_EQ(copy.find("AAA"), std::string::npos);
        kept += copy.find("BBB") != std::string::npos;
    }
    EXPECT_EQ(kept, 1);
    EXPECT_EQ(CLOSE(third, 3), 0u);
    PostMessageW(live, WM_CLOSE, 0, 0);
    answer(Processes.at(2).dwProcessId, {IDNO});
}

// The copy restored is another listing's than the one named on the command
// line: that one opens all the same, in a window of its own.
TEST_F(RecoveryTest, AStartFileIsOpenedInAWindowOfItsOwnWhenAnotherListingIsRestored) {
    Folder.WRITEFILE("a.bas", "Print \"a\"\r\n");
    Folder.WRITEFILE("b.bas", "Print \"b\"\r\n");
    HWND a = START("\"" + Folder.FILE("a.bas") + "\"");
    ASSERT_NE(a, nullptr);
    Sleep(300);
    TYPE(a, L"AAA");
    ASSERT_TRUE(WAITFORCOPY("AAA"));
    KILL(0);
    HWND window = START("\"" + Folder.FILE("b.bas") + "\"");
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    PRESS(box, IDYES);
    Sleep(500);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), Folder.FILE("a.bas"));
    // The other window, found by its title.
    HWND other = nullptr;
    for (int waited = 0; waited < 10000 && !other; waited += 100) {
        other = FindWindowW(L"ZeTarvikClass", harness::WIDE(Folder.FILE("b.bas")).c_str());
        Sleep(100);
    }
    ASSERT_NE(other, nullptr);
    DWORD otherId = 0;
    GetWindowThreadProcessId(other, &otherId);
    HANDLE otherProcess = OpenProcess(SYNCHRONIZE, FALSE, otherId);
    PostMessageW(other, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(otherProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(otherProcess);
    // a's text stays unsaved in the first window.
    PostMessageW(window, WM_CLOSE, 0, 0);
    box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    harness::PRESSBUTTON(box, IDNO);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
}

// Windows' Restart Manager (an installer or an update) asks the program to
// close for a restart: the copy of unsaved text is written, the program
// ends by itself, and the next start offers the text.
TEST_F(RecoveryTest, TheRestartManagerClosesTheProgramAndTheCopyStays) {
    HWND window = START("/e");
    ASSERT_NE(window, nullptr);
    TYPE(window, L"before the update");
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 10000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 10000, &answer);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(WAITFORCOPY("before the update", 1000));
    window = START("/e");
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box).rfind("Untitled text was not saved when Quillet ended on ", 0), 0u);
    PRESS(box, IDYES);
    Sleep(300);
    EXPECT_EQ(LENGTHOF(window), 17);
    PostMessageW(window, WM_CLOSE, 0, 0);
    box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    harness::PRESSBUTTON(box, IDNO);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(COPIES().empty());
}

// The Restart Manager closes the program while a compiler runs without a
// time-out: the compiler is ended, no box comes up, and the program ends
// long before the compiler would have.
TEST_F(RecoveryTest, TheRestartManagerDuringACompileEndsTheCompilerAndTheProgram) {
    TempFolder tools(" fbc");  // the stand-in finds its settings by an ANSI name
    ASSERT_TRUE(COPY(harness::PROGRAMFOLDER() + "standin_freebasic.exe", tools.FILE("fbc.exe")));
    tools.WRITEFILE("fbc.cfg", "sleep=30000\r\n");
    WRITEINI("[PathSettings]\r\nCompiler=" + tools.FILE("fbc.exe") + "\r\nIncludeDir=" + tools.PATH() +
             "\r\n[OtherSettings]\r\nCompilerType=0\r\nCompileTimeout=0\r\n");
    Folder.WRITEFILE("prog.bas", SUBS);
    HWND window = START("\"" + Folder.FILE("prog.bas") + "\"");
    ASSERT_NE(window, nullptr);
    Sleep(300);
    PostMessageW(window, WM_COMMAND, 1301, 0);  // Compile
    std::string pid;
    for (int waited = 0; waited < 10000 && pid.find("\r\n") == std::string::npos; waited += 100) {
        Sleep(100);
        const std::string record = tools.READFILE("fbc.rec");
        const size_t at = record.find("pid=");
        pid = at == std::string::npos ? std::string() : record.substr(at + 4);
    }
    pid = pid.substr(0, pid.find("\r\n"));
    ASSERT_FALSE(pid.empty());
    HANDLE compiler = OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(pid.c_str(), nullptr, 10));
    ASSERT_NE(compiler, nullptr);
    const DWORD start = GetTickCount();
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 10000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 10000, &answer);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_LT(GetTickCount() - start, 10000u);
    DWORD code = 12345;
    GetExitCodeProcess(Processes.back().hProcess, &code);
    EXPECT_EQ(code, 0u);  // ended, not crashed on its way out
    EXPECT_EQ(WaitForSingleObject(compiler, 5000), WAIT_OBJECT_0);
    CloseHandle(compiler);
    EXPECT_NE(INI().find("LastFile=" + Folder.FILE("prog.bas")), std::string::npos) << INI();
    EXPECT_EQ(Folder.READFILE("prog.bas").rfind(SUBS, 0), 0u);  // saved before the compile, with its block
}

// A copy that is cut short is reported in one line and left where it is;
// the program starts all the same.
TEST_F(RecoveryTest, ADamagedCopyIsReportedNotLoaded) {
    Folder.MAKEFOLDER("Recovery");
    const std::string name = "Quillet-00000004-01DB4A2F3C5E7A80.qrc";
    const std::string cut = "Quillet recovery copy 1\r\nListing=untitled\r\nWritten=01DB4A2F3C5E7A80\r\nLength=99\r\n\r\nPrint";
    Folder.WRITEFILE("Recovery\\" + name, cut);
    Folder.WRITEFILE("Recovery\\Quillet-00000008-01DB4A2F3C5E7A80.qrc", "");
    HWND window = START("/e");
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    const std::string report = harness::MESSAGEBOXTEXT(box);
    EXPECT_NE(report.find("The recovery copy " + RECOVERYFOLDER() + name + " is cut short; it is left where it is."),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("is empty or no recovery copy"), std::string::npos) << report;
    PRESS(box, IDOK);
    EXPECT_EQ(harness::WAITFORDIALOG(PID(), 1500), nullptr);
    EXPECT_EQ(LENGTHOF(window), 0);
    EXPECT_EQ(Folder.READFILE("Recovery\\" + name), cut);
    EXPECT_EQ(CLOSE(window), 0u);
}

// Where no copy can be written, the user is told once, and typing goes on.
TEST_F(RecoveryTest, AFolderThatCannotBeWrittenIsReportedOnce) {
    Folder.WRITEFILE("Recovery", "a file where the folder would be");
    HWND window = START("/e");
    ASSERT_NE(window, nullptr);
    TYPE(window, L"one");
    HWND box = harness::WAITFORDIALOG(PID(), 15000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box).rfind("Unsaved text cannot be copied aside for recovery in\r" +
                                                     RECOVERYFOLDER(), 0),
              0u);
    PRESS(box, IDOK);
    TYPE(window, L" two");
    EXPECT_EQ(harness::WAITFORDIALOG(PID(), 8000), nullptr);  // once per run
    EXPECT_EQ(LENGTHOF(window), 7);
    PostMessageW(window, WM_CLOSE, 0, 0);
    box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    harness::PRESSBUTTON(box, IDNO);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
}

// The commands, controls and editing-control messages they use.
constexpr UINT CMD_GOTOSUB = 1240;
constexpr UINT CMD_COMPLETEWORD = 1241;
constexpr int IDC_SUBFILTER = 10401;
constexpr int IDC_SUBLIST = 10402;
constexpr UINT SCI_GETCHARAT = 2007;
constexpr UINT SCI_GETFIRSTVISIBLELINE = 2152;
constexpr UINT SCI_POSITIONFROMLINE = 2167;
constexpr UINT SCI_DOCUMENTEND = 2318;

// Go to Sub and word completion in the real program, driven from outside:
// the command brings up the list of the listing's Subs, the filter narrows
// it, Enter takes the caret to a folded Sub and opens it; Complete word
// gives the keyword list's spelling.
TEST_F(ProgramTest, GoToSubAndCompleteWordInTheProgram) {
    std::string listing = "' subs\r\nSub First()\r\n  Print 1\r\nEnd Sub\r\n"
                          "Function Parse(text As String) As Long\r\nEnd Function\r\n"
                          "Declare Sub Hidden()\r\nSub Last()\r\n  Print 3\r\nEnd Sub\r\n";
    for (int i = 0; i < 100; ++i)
        listing += "' line " + std::to_string(i) + "\r\n";
    Folder.WRITEFILE("subs.bas", listing);
    HWND window = START("\"" + Folder.FILE("subs.bas") + "\"");
    ASSERT_NE(window, nullptr);
    HWND editor = FindWindowExW(window, nullptr, L"ScintillaPb", nullptr);
    ASSERT_NE(editor, nullptr);
    for (int i = 0; i < 100 && SendMessageW(editor, SCI_GETLENGTH, 0, 0) == 0; ++i)
        Sleep(50);
    const auto EDITOR = [editor](UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(editor, message, wParam, lParam);
    };
    EDITOR(SCI_COLOURISE, 0, -1);
    EDITOR(SCI_TOGGLEFOLD, 7);
    ASSERT_EQ(EDITOR(SCI_GETFOLDEXPANDED, 7), 0);

    PostMessageW(window, WM_COMMAND, CMD_GOTOSUB, 0);
    HWND dialog = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(harness::WINDOWTEXTOF(dialog), "Go to Sub");
    HWND list = GetDlgItem(dialog, IDC_SUBLIST);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
    HWND filter = GetDlgItem(dialog, IDC_SUBFILTER);
    SendMessageW(filter, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"LAST"));
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    PostMessageW(filter, WM_KEYDOWN, VK_RETURN, 1);
    for (int i = 0; i < 250 && IsWindow(dialog); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(EDITOR(SCI_GETCURRENTPOS), EDITOR(SCI_POSITIONFROMLINE, 7));
    EXPECT_NE(EDITOR(SCI_GETFOLDEXPANDED, 7), 0);
    EXPECT_EQ(EDITOR(SCI_GETFIRSTVISIBLELINE), 7);

    // Typed at the end of the listing, then completed.
    EDITOR(SCI_DOCUMENTEND);
    for (char c : std::string("x = ltrim"))
        EDITOR(WM_CHAR, static_cast<WPARAM>(c), 1);
    PostMessageW(window, WM_COMMAND, CMD_COMPLETEWORD, 0);
    std::string end;
    for (int i = 0; i < 100 && end != "x = LTrim$"; ++i) {
        Sleep(20);
        const LRESULT length = EDITOR(SCI_GETLENGTH);
        end.clear();
        for (LRESULT at = std::max<LRESULT>(length - 10, 0); at < length; ++at)
            end += static_cast<char>(EDITOR(SCI_GETCHARAT, static_cast<WPARAM>(at)));
    }
    EXPECT_EQ(end, "x = LTrim$");

    // Closed without saving.
    PostMessageW(window, WM_CLOSE, 0, 0);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    harness::PRESSBUTTON(box, IDNO);
    EXPECT_EQ(WaitForSingleObject(Processes.back().hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(Folder.READFILE("subs.bas"), listing);
}

}  // namespace
