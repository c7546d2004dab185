// The real Quillet.exe as a separate process: first start, exit keys, the
// command line, and a second instance.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness.h"

namespace {

using harness::TempFolder;

// A copy of the program in a folder of its own, so that its INI file and
// keyword files land there.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string bin = harness::PROGRAMFOLDER();
        ASSERT_TRUE(CopyFileA((bin + "Quillet.exe").c_str(), Folder.FILE("Quillet.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "ZESCIN.DLL").c_str(), Folder.FILE("ZESCIN.DLL").c_str(), FALSE));
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
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.PATH().c_str(),
                                   &startup, &process));
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
    std::string INI() const { return Folder.READFILE("Quillet.ini"); }
    TempFolder Folder;
    std::vector<PROCESS_INFORMATION> Processes;
};

TEST_F(ProgramTest, FirstStartFindsTheCompilerAndTheExitCreatesTheRest) {
    ASSERT_TRUE(CopyFileA((harness::PROGRAMFOLDER() + "standin_compiler.exe").c_str(), Folder.FILE("fbc.exe").c_str(), FALSE));
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

TEST_F(ProgramTest, AnOverlongCommandLineIsCutNotFatal) {
    HWND window = START(std::string(5000, 'q'));
    ASSERT_NE(window, nullptr);
    HWND box = harness::WAITFORDIALOG(PID(), 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box), "Can't find/open file\r" + std::string(259, 'q'));
    harness::PRESSBUTTON(box, IDOK);
    Sleep(200);
    EXPECT_EQ(CLOSE(window), 0u);
}

TEST_F(ProgramTest, EmptyWindowCommandStartsASecondInstanceWithoutAFile) {
    Folder.WRITEFILE("last.bas", "Print \"last\"\r\n");
    Folder.WRITEFILE("Quillet.ini", "[PathSettings]\r\nLastFile=" + Folder.FILE("last.bas") + "\r\n");
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
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
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
    // Rectangles no window should get: tiny, far off every monitor, sizes
    // whose arithmetic would overflow. The default window appears instead.
    const std::int32_t bad[][4] = {{10, 10, 40, 30},
                                   {-32000, -32000, -31840, -31972},
                                   {5000, 5000, 5600, 5400},
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

}  // namespace
