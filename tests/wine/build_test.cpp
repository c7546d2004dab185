// Compiling and running with stand-ins for the compilers and the built
// program: the checks and their messages, the command lines, the output box,
// the error position, large and endless output, time-outs, the log of a
// PowerBASIC compilation, and starting the program.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Scintilla.h"
#include "app/app.h"
#include "document/document.h"
#include "compiling/build.h"
#include "compiling/buildrules.h"
#include "compiling/errormarks.h"
#include "document/settingsblock.h"
#include "services/commandline.h"
#include "inprocess.h"
#include "ui/resource.h"


using harness::DialogAnswerer;
using harness::SeenBox;

namespace {

const std::string BANNER =
    "FreeBASIC Compiler - Version 1.10.1 (2023-12-24), built for win64 (64bit)\r\n"
    "Copyright (C) 2004-2023 The FreeBASIC development team.\r\n"
    "standalone\r\n"
    "target:       win64, x86-64, 64bit\r\n"
    "backend:      gcc\r\n"
    "compiling:    prog.bas -o prog.c (main module)\r\n";

const std::string LISTING =
    "' Sample\r\n"
    "Sub One()\r\n"
    "  Print 1\r\n"
    "  x\r\n"
    "End Sub\r\n"
    "Print \"end\"\r\n";

std::string SHORTPATHOF(const std::string &path) {
    char buffer[MAX_PATH + 1] = {};
    GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return buffer;
}

// The value of the first "key=" line of a stand-in's record, "" when none.
std::string RECORDED(const std::string &record, const std::string &key) {
    const size_t at = record.find(key + "=");
    if (at == std::string::npos)
        return std::string();
    const size_t start = at + key.size() + 1;
    return record.substr(start, record.find("\r\n", start) - start);
}

// The arguments a program gets from a command line, as the C runtime of
// Windows splits it; a line that starts with a blank (the program was named
// apart) gets a name put in front, which is not returned.
std::vector<std::string> ARGUMENTSOF(const std::string &commandLine) {
    const bool named = !commandLine.empty() && commandLine[0] != ' ';
    const std::string line = named ? commandLine : "program" + commandLine;
    std::wstring wide(line.size(), L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, line.data(), static_cast<int>(line.size()),
                                                        wide.data(), static_cast<int>(wide.size()))));
    int count = 0;
    LPWSTR *parsed = CommandLineToArgvW(wide.c_str(), &count);
    std::vector<std::string> args;
    for (int i = named ? 0 : 1; parsed && i < count; ++i) {
        char buffer[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, parsed[i], -1, buffer, sizeof buffer - 1, nullptr, nullptr);
        args.push_back(buffer);
    }
    LocalFree(parsed);
    return args;
}

// Ends a process a stand-in left running, by its id.
void ENDPROCESS(const std::string &id) {
    if (id.empty())
        return;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, std::strtoul(id.c_str(), nullptr, 10))) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

bool PROCESSENDED(const std::string &id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, std::strtoul(id.c_str(), nullptr, 10));
    if (!process)
        return true;
    const bool ended = WaitForSingleObject(process, 2000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// Waits for every stand-in that recorded itself in the folder to end, so
// that the folder can be removed.
void WAITFORSTANDINS(const std::string &folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*.rec").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string record = harness::READWHOLEFILE(folder + entry.cFileName);
        for (size_t at = record.find("pid="); at != std::string::npos; at = record.find("pid=", at + 4))
            PROCESSENDED(record.substr(at + 4, record.find("\r\n", at) - at - 4));
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

class BuildTest : public InProcessTest {
protected:
    void SetUp() override {
        Document.ProjectSettings = PROJECTSETTINGSRECORD{};
        const std::string bin = harness::PROGRAMFOLDER();
        ASSERT_TRUE(CopyFileA((bin + "standin_freebasic.exe").c_str(), Folder.FILE("fbc.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((bin + "standin_powerbasic.exe").c_str(), Folder.FILE("pbwin.exe").c_str(), FALSE));
        // Not named like a folder that the first-start search looks for, so that a
        // left-over copy can never be taken for another test's include folder.
        Folder.MAKEFOLDER("basic headers");
        WRITEINI("[PathSettings]\r\nCompiler=" + Folder.FILE("fbc.exe") + "\r\nIncludeDir=" + Folder.FILE("basic headers\\") +
                 "\r\n[OtherSettings]\r\nCompilerType=0\r\nCompileTimeout=20\r\n");
        START();
        ASSERT_EQ(AppSettings.Compiler, Folder.FILE("fbc.exe"));
        LISTINGFILE("prog.bas", LISTING);
    }
    void TearDown() override {
        for (const std::string &id : Leftovers)
            ENDPROCESS(id);
        WAITFORSTANDINS(Folder.PATH());
        WAITFORSTANDINS(Folder.FILE("out\\"));
        InProcessTest::TearDown();
        SetCurrentDirectoryA(harness::PROGRAMFOLDER().c_str());
    }
    // The listing on disk and in the editor, as the save before compiling leaves it.
    void LISTINGFILE(const std::string &name, const std::string &text) {
        Folder.WRITEFILE(name, text);
        Document.CurrentFile = Folder.FILE(name);
        SETTEXT(text);
    }
    // A program beside the listing that the compilers' stand-ins write, as
    // a real compiler writes the program it builds (see WRITEOUTPUTS).
    void PROGRAMFILE(const std::string &name) {
        PLANTEDFILE(name);
        for (const char *compiler : {"fbc.writes", "pbwin.writes", "power basic\\pbwin.writes"})
            harness::WRITEWHOLEFILE(Folder.FILE(compiler),
                                    Folder.READFILE(compiler) + Folder.FILE(name) + "\r\n");
    }
    // A program that was there before the compilation and that it does not write.
    void PLANTEDFILE(const std::string &name) {
        ASSERT_TRUE(
            CopyFileA((harness::PROGRAMFOLDER() + "standin_program.exe").c_str(), Folder.FILE(name).c_str(), FALSE));
    }
    void USEPOWERBASIC() {
        AppSettings.CompilerType = POWERBASICCOMPILER;
        AppSettings.Compiler = Folder.FILE("pbwin.exe");
    }
    // Compiles (or runs) and answers the box that comes up; with no box
    // expected, waits only briefly for one.
    // HandIcon tells whether the box shows an icon at all.
    SeenBox COMPILE(int runAfter, std::int32_t &status, bool boxExpected = true) {
        std::atomic<bool> iconShown{false};
        DialogAnswerer answer(
            [&iconShown](HWND box) {
                HWND icon = GetDlgItem(box, 1088);
                iconShown = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
                harness::PRESSBUTTON(box, IDOK);
            },
            boxExpected ? 30000 : 1500);
        status = AppSettings.CompilerType == 1 ? COMPILEPOWERBASIC(runAfter) : COMPILEFREEBASIC(runAfter);
        SeenBox seen = answer.RESULT();
        seen.HandIcon = iconShown;
        return seen;
    }
    // Waits for a stand-in's record to appear.
    std::string WAITFORRECORD(const std::string &name, int timeoutMs = 10000) {
        std::string record;
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            record = Folder.READFILE(name);
            if (record.find("pid=") != std::string::npos)
                break;
            Sleep(50);
        }
        return record;
    }
    std::string FOLDERNOSLASH() const { return Folder.PATH().substr(0, Folder.PATH().size() - 1); }
    std::string QUOTEDINCLUDE() const { return "\"" + Folder.FILE("basic headers\\") + "\\\""; }
    std::vector<std::string> Leftovers;
};

// ---- FreeBASIC: the checks ----

TEST_F(BuildTest, FreeBasicChecksShowTheirMessages) {
    std::int32_t status = -1;
    AppSettings.IncludeDir.clear();
    SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Caption, "Error starting compiler:");
    EXPECT_EQ(box.Text, "No valid INCLUDE directory set (see menu \"Options\").");
    EXPECT_TRUE(box.Buttons[IDOK]);
    EXPECT_TRUE(box.HandIcon);

    AppSettings.IncludeDir = Folder.FILE("basic headers\\");
    AppSettings.Compiler = Folder.FILE("nothing here.exe");
    box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Caption, "Error starting compiler:");
    EXPECT_EQ(box.Text,
              "Couldn't find compiler. Check compiler path+filename (see menu \"Options-->General settings\").");
    EXPECT_TRUE(box.HandIcon);

    AppSettings.Compiler = Folder.FILE("fbc.exe");
    Document.CurrentFile = Folder.PATH();
    box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Text, "Illegal or no filename for the current listing.\r" + Folder.PATH());
    EXPECT_TRUE(box.HandIcon);

    // A file that exists but is no program.
    Folder.WRITEFILE("broken.exe", "not a program");
    AppSettings.Compiler = Folder.FILE("broken.exe");
    Document.CurrentFile = Folder.FILE("prog.bas");
    box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Caption, "Error starting compiler:");
    EXPECT_EQ(box.Text, "Application:\r" + Folder.FILE("broken.exe") + "\r\rCommand line:\r -s console -v -i " +
                            QUOTEDINCLUDE() + " prog.bas");
    EXPECT_TRUE(box.HandIcon);
    EXPECT_EQ(Folder.READFILE("fbc.rec"), "");  // the compiler never ran
}

// ---- FreeBASIC: compiling ----

TEST_F(BuildTest, CleanCompileShowsTheOutputBoxAndRunsInTheListingsFolder) {
    Folder.WRITEFILE("fbc.out", BANNER + "Umlaut \x81 from the OEM set\r\n");
    CALL(SCI_GOTOPOS, 14);
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(box.Caption, "Compiler result");
    EXPECT_EQ(box.Text, BANNER + "Umlaut \xC3\xBC from the OEM set\r\n");
    EXPECT_TRUE(box.Buttons[IDOK]);
    EXPECT_FALSE(box.HandIcon);
    const std::string record = Folder.READFILE("fbc.rec");
    EXPECT_EQ(RECORDED(record, "cmd"), " -s console -v -i " + QUOTEDINCLUDE() + " prog.bas");
    EXPECT_EQ(RECORDED(record, "dir"), FOLDERNOSLASH());
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 14);
}

TEST_F(BuildTest, CommandLineCarriesTargetOutputAndResource) {
    Document.ProjectSettings.TargetType = 3;
    Document.ProjectSettings.OutputFile = "my lib.a";
    Document.ProjectSettings.ResourceFile = "prog.rc";
    LISTINGFILE("my prog.bas", LISTING);
    std::int32_t status = -1;
    COMPILE(0, status);
    EXPECT_EQ(RECORDED(Folder.READFILE("fbc.rec"), "cmd"),
              " -lib -v -i " + QUOTEDINCLUDE() + " -x \"my lib.a\" \"my prog.bas\" prog.rc");
}

TEST_F(BuildTest, CompileCommandSavesFirstThenCompiles) {
    Folder.WRITEFILE("fbc.out", BANNER);
    SETTEXT("Print \"saved\"\r\n");
    DialogAnswerer answer(IDOK, 30000);
    COMMAND(CMD_COMPILE);
    const SeenBox &box = answer.RESULT();
    EXPECT_EQ(box.Caption, "Compiler result");
    EXPECT_EQ(Folder.READFILE("prog.bas").substr(0, 15), "Print \"saved\"\r\n");
    EXPECT_NE(Folder.READFILE("fbc.rec").find("prog.bas"), std::string::npos);
}

TEST_F(BuildTest, AnErrorMovesTheCaretIntoAFoldedSub) {
    CALL(SCI_COLOURISE, 0, -1);
    ASSERT_TRUE(CALL(SCI_GETFOLDLEVEL, 1) & SC_FOLDLEVELHEADERFLAG);
    CALL(SCI_FOLDLINE, 1, SC_FOLDACTION_CONTRACT);
    ASSERT_FALSE(CALL(SCI_GETLINEVISIBLE, 3));
    CALL(SCI_SETSEL, 5, 9);
    Folder.WRITEFILE("fbc.out", BANNER + "prog.bas(4) error 10: Expected '=', found 'end of line' in 'x'\r\n");
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(1, status);  // a failed Run shows the box and starts nothing
    EXPECT_EQ(status, 2);
    EXPECT_EQ(box.Caption, "Compiler result");
    const auto lineStart = CALL(SCI_POSITIONFROMLINE, 3);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), lineStart);
    EXPECT_EQ(CALL(SCI_GETANCHOR), lineStart);
    EXPECT_TRUE(CALL(SCI_GETLINEVISIBLE, 3));
    EXPECT_TRUE(CALL(SCI_GETFOLDEXPANDED, 1));
}

TEST_F(BuildTest, ErrorOfANameWithBlanksIsFoundAsTheCompilerPrintsIt) {
    LISTINGFILE("my prog.bas", LISTING);
    Folder.WRITEFILE("fbc.out", "my prog.bas(6) error 42: Variable not declared, x\r\n");
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\nstderr=1\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(box.Text, "my prog.bas(6) error 42: Variable not declared, x\r\n");
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), CALL(SCI_POSITIONFROMLINE, 5));
}

TEST_F(BuildTest, AnErrorWithoutPositionLeavesTheCaret) {
    CALL(SCI_GOTOPOS, 12);
    Folder.WRITEFILE("fbc.out", BANNER + "error: could not link\r\nprog.bas(main)\r\n");
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(box.Seen);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 12);
}

TEST_F(BuildTest, AMegabyteOfOutputIsDrainedAndItsFirst2048BytesShown) {
    const std::string first = "prog.bas(2) error 1: Argument count mismatch\r\n";
    Folder.WRITEFILE("fbc.out", first);
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\nfill=1048576\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 2);
    ASSERT_EQ(box.Text.size(), 2048u);
    EXPECT_EQ(box.Text.substr(0, first.size()), first);
    EXPECT_EQ(box.Text.substr(first.size(), 34), "compiling:    module1.bas -o modul");
    // The compiler was not held up by a full pipe: it has ended.
    EXPECT_TRUE(PROCESSENDED(RECORDED(Folder.READFILE("fbc.rec"), "pid")));
}

// CompileTimeout 0 is no time-out: a compiler that takes its time is waited for.
TEST_F(BuildTest, NoTimeOutWaitsUntilTheCompilerEnds) {
    AppSettings.CompileTimeout = 0;
    Folder.WRITEFILE("fbc.out", "compiling:    prog.bas\r\n");
    Folder.WRITEFILE("fbc.cfg", "sleep=1500\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(box.Text, "compiling:    prog.bas\r\n");
}

TEST_F(BuildTest, ACompilerPastItsTimeOutIsEndedWithWhatItStarted) {
    AppSettings.CompileTimeout = 1;
    Folder.WRITEFILE("fbc.out", "compiling:    prog.bas\r\n");
    // It sleeps past the time-out and has started a program of its own (as
    // the assembler and linker are).
    Folder.WRITEFILE("fbc.cfg", "sleep=8000\r\nhold=30000\r\n");
    std::int32_t status = -1;
    const DWORD start = GetTickCount();
    const SeenBox box = COMPILE(1, status);  // not finished: the box, and no run
    const DWORD took = GetTickCount() - start;
    const std::string id = RECORDED(Folder.READFILE("fbc.rec"), "pid");
    const std::string child = Folder.READFILE("fbc.child");
    Leftovers = {id, child};
    EXPECT_EQ(box.Caption, "Compiler result");
    EXPECT_EQ(box.Text, "The compiler did not finish within 1 second (CompileTimeout).\r"
                        "It was ended, together with the programs it had started.\r\r"
                        "compiling:    prog.bas\r\n");
    EXPECT_EQ(status, 3);
    EXPECT_GE(took, 900u);
    EXPECT_LT(took, 6000u);
    ASSERT_FALSE(child.empty());
    EXPECT_TRUE(PROCESSENDED(id));
    EXPECT_TRUE(PROCESSENDED(child));
}

TEST_F(BuildTest, AChildOfTheCompilerHoldingThePipeDoesNotHoldTheEditor) {
    Folder.WRITEFILE("fbc.out", BANNER + "linking:      done\r\n");
    Folder.WRITEFILE("fbc.cfg", "hold=30000\r\n");
    std::int32_t status = -1;
    const DWORD start = GetTickCount();
    const SeenBox box = COMPILE(0, status);
    const DWORD took = GetTickCount() - start;
    Leftovers.push_back(Folder.READFILE("fbc.child"));
    EXPECT_FALSE(Leftovers.back().empty());
    EXPECT_EQ(box.Text, BANNER + "linking:      done\r\n");
    EXPECT_LT(took, 10000u);
}

// ---- FreeBASIC: running ----

TEST_F(BuildTest, RunStartsTheProgramOfConsoleAndGuiTargets) {
    PROGRAMFILE("prog.exe");
    for (int target : {0, 1}) {
        DeleteFileA(Folder.FILE("prog.rec").c_str());
        Document.ProjectSettings.TargetType = target;
        std::int32_t status = -1;
        const SeenBox box = COMPILE(1, status, false);
        EXPECT_FALSE(box.Seen) << box.Text;
        EXPECT_EQ(status, 0);
        const std::string record = WAITFORRECORD("prog.rec");
        // The folder of the test has a blank in its name: the path is quoted.
        EXPECT_EQ(RECORDED(record, "cmd"), "\"" + Folder.FILE("prog.exe") + "\"") << target;
    }
}

TEST_F(BuildTest, RunOfALibraryOrObjectStartsNothingAndShowsNothing) {
    PROGRAMFILE("prog.exe");
    for (int target : {2, 3, 4}) {
        Document.ProjectSettings.TargetType = target;
        std::int32_t status = -1;
        const SeenBox box = COMPILE(1, status, false);
        EXPECT_FALSE(box.Seen) << target;
    }
    Sleep(300);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("prog.rec")));
}

TEST_F(BuildTest, RunStartsTheOutputFileRelativeToTheListing) {
    Folder.MAKEFOLDER("out");
    PROGRAMFILE("out\\tool.exe");
    Document.ProjectSettings.OutputFile = "out\\tool.exe";
    std::int32_t status = -1;
    EXPECT_FALSE(COMPILE(1, status, false).Seen);
    EXPECT_NE(RECORDED(WAITFORRECORD("out\\tool.rec"), "cmd"), "");
    EXPECT_EQ(RECORDED(Folder.READFILE("fbc.rec"), "cmd"),
              " -s console -v -i " + QUOTEDINCLUDE() + " -x out\\tool.exe prog.bas");
}

TEST_F(BuildTest, AProgramPathWithBlanksStartsThatProgramNotAPrefixOfIt) {
    LISTINGFILE("my prog.bas", LISTING);
    PROGRAMFILE("my prog.exe");
    PROGRAMFILE("my.exe");
    std::int32_t status = -1;
    EXPECT_FALSE(COMPILE(1, status, false).Seen);
    const std::string record = WAITFORRECORD("my prog.rec");
    EXPECT_EQ(RECORDED(record, "cmd"), "\"" + Folder.FILE("my prog.exe") + "\"");
    Sleep(300);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("my.rec")));
}

TEST_F(BuildTest, AMissingProgramIsReported) {
    std::int32_t status = -1;
    const SeenBox box = COMPILE(1, status);
    EXPECT_EQ(box.Caption, "Error");  // no caption of its own
    EXPECT_EQ(box.Text, "File not found:\r" + Folder.FILE("prog.exe"));
    EXPECT_TRUE(box.HandIcon);
}

TEST_F(BuildTest, NoHandleIsLeftBehindByManyCompiles) {
    Document.ProjectSettings.TargetType = 2;  // clean Run of a library: no box, nothing started
    auto compileOnce = [] { EXPECT_EQ(COMPILEFREEBASIC(1), 0); };
    compileOnce();
    DWORD before = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
    // Any box that comes up (a compiler that failed to start or to end in
    // time) is answered and reported, so the loop can never hang on one.
    // Wine now and then loses a process while it starts (a few in a
    // thousand); the editor then starts it once more. Should both starts be
    // lost, nothing is left behind, so a handful of such boxes is counted and
    // shown, but any other box fails the test.
    const std::string startFailed =
        FREEBASICSTARTMESSAGE(AppSettings.Compiler,
                              FREEBASICCOMMANDLINE(AppSettings.IncludeDir, "prog.bas", 2, Document.ProjectSettings.OutputFile,
                                                   Document.ProjectSettings.ResourceFile));
    std::atomic<bool> stop{false};
    std::string boxes;
    int startFailures = 0;
    std::thread answerer([&] {
        while (!stop) {
            if (HWND box = harness::FINDDIALOG(GetCurrentProcessId())) {
                Sleep(50);
                const std::string text = harness::MESSAGEBOXTEXT(box);
                if (text == startFailed)
                    ++startFailures;
                else
                    boxes += text + "\n";
                harness::PRESSBUTTON(box, IDOK);
                for (int i = 0; i < 100 && IsWindow(box); ++i)
                    Sleep(20);
            }
            Sleep(20);
        }
    });
    const int rounds = 1000;
    for (int i = 0; i < rounds; ++i)
        compileOnce();
    stop = true;
    answerer.join();
    EXPECT_EQ(boxes, "");
    EXPECT_LE(startFailures, rounds / 100);
    if (startFailures > 0)
        std::printf("%d of %d compiler starts failed under Wine\n", startFailures, rounds);
    DWORD after = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
    EXPECT_LE(after, before + 5) << "before " << before << ", after " << after;
}

// A start that Wine lost (ERROR_INTERNAL_ERROR) is made once more; any other
// failure is final and keeps its error code for the message.
TEST(StartProcess, ALostStartIsMadeOnceMoreAndOtherFailuresAreFinal) {
    int calls = 0;
    EXPECT_TRUE(STARTPROCESS([&] {
        SetLastError(ERROR_INTERNAL_ERROR);
        return ++calls == 2;
    }));
    EXPECT_EQ(calls, 2);
    calls = 0;
    EXPECT_FALSE(STARTPROCESS([&] {
        ++calls;
        SetLastError(ERROR_INTERNAL_ERROR);
        return false;
    }));
    EXPECT_EQ(calls, 2);
    calls = 0;
    EXPECT_FALSE(STARTPROCESS([&] {
        ++calls;
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// ---- PowerBASIC ----

TEST_F(BuildTest, PowerBasicChecksShowTheirMessages) {
    USEPOWERBASIC();
    std::int32_t status = -1;
    AppSettings.IncludeDir = Folder.FILE("no such folder\\");
    SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Caption, "Error starting compiler:");
    EXPECT_EQ(box.Text, "No valid INCLUDE directory set (see menu \"Options\").");
    EXPECT_TRUE(box.HandIcon);

    AppSettings.IncludeDir = Folder.FILE("basic headers\\");
    AppSettings.Compiler = Folder.FILE("pbcc.exe");
    box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Caption, "Error starting compiler:");
    EXPECT_EQ(box.Text, "No compiler set (see menu \"Options\").");

    AppSettings.Compiler = Folder.FILE("pbwin.exe");
    Document.CurrentFile = Folder.PATH();
    box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Text, "Illegal or no filename for the current listing.\r" + Folder.PATH());

    Folder.WRITEFILE("broken.exe", "not a program");
    AppSettings.Compiler = Folder.FILE("broken.exe");
    Document.CurrentFile = Folder.FILE("prog.bas");
    box = COMPILE(0, status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(box.Caption, "Error starting compiler:");
    EXPECT_EQ(box.Text, "Command line:\r\r" + SHORTPATHOF(Folder.FILE("broken.exe")) + " /L /Q prog.bas /I" +
                            SHORTPATHOF(Folder.FILE("basic headers\\")));
}

TEST_F(BuildTest, PowerBasicLogIsShownAndDeleted) {
    USEPOWERBASIC();
    const std::string log = "PowerBASIC for Windows\r\nCopyright (c) 1996-2011 PowerBASIC Inc.\r\n\r\n"
                            "Compile time: 0.1 seconds\r\nNo errors.\r\n";
    Folder.WRITEFILE("pbwin.out", log);
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(box.Caption, "Compiler result");
    EXPECT_EQ(box.Text, log);
    EXPECT_FALSE(box.HandIcon);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("prog.log")));
    const std::string record = Folder.READFILE("pbwin.rec");
    EXPECT_EQ(RECORDED(record, "cmd"), SHORTPATHOF(Folder.FILE("pbwin.exe")) + " /L /Q prog.bas /I" +
                                           SHORTPATHOF(Folder.FILE("basic headers\\")));
    EXPECT_EQ(RECORDED(record, "dir"), FOLDERNOSLASH());
}

TEST_F(BuildTest, PowerBasicErrorSelectsTheWordAndTheLogIsDeleted) {
    USEPOWERBASIC();
    LISTINGFILE("my prog.bas", "#COMPILE EXE\r\nFunction PBMain()\r\n  Print 1\r\n  Dim value As Lng\r\nEnd Function\r\n");
    CALL(SCI_COLOURISE, 0, -1);
    CALL(SCI_FOLDLINE, 1, SC_FOLDACTION_CONTRACT);
    const std::string log = "PowerBASIC for Windows\r\n\r\nError 516 in " + Folder.FILE("my prog.bas") +
                            "(4:16):  Undefined TYPE\r\nLine 4:   Dim value As Lng\r\n";
    Folder.WRITEFILE("pbwin.out", log);
    std::int32_t status = -1;
    const SeenBox box = COMPILE(1, status);  // an error: the box, no run
    EXPECT_EQ(status, 2);
    EXPECT_EQ(box.Text, log);
    const auto lineStart = CALL(SCI_POSITIONFROMLINE, 3);
    EXPECT_EQ(CALL(SCI_GETANCHOR), lineStart + 15);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), lineStart + 18);
    EXPECT_TRUE(CALL(SCI_GETLINEVISIBLE, 3));
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("my prog.log")));
    EXPECT_NE(RECORDED(Folder.READFILE("pbwin.rec"), "cmd").find(" /L /Q \"my prog.bas\" /I"), std::string::npos);
}

TEST_F(BuildTest, AMissingLogIsReported) {
    USEPOWERBASIC();
    Folder.WRITEFILE("pbwin.cfg", "nolog=1\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(1, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(box.Caption, "Compiling error:");
    EXPECT_EQ(box.Text, "Couldn't find the Log File.\r" + Folder.FILE("prog.log"));
    EXPECT_TRUE(box.HandIcon);
}

TEST_F(BuildTest, AListingNamedLikeItsLogIsNeitherReadNorDeleted) {
    USEPOWERBASIC();
    const std::string text = "#COMPILE EXE\r\nFunction PBMain()\r\nEnd Function\r\n";
    LISTINGFILE("change.log", text);
    Folder.WRITEFILE("pbwin.cfg", "nolog=1\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(box.Caption, "Compiling error:");
    EXPECT_EQ(box.Text, "Couldn't find the Log File.\r" + Folder.FILE("change.log"));
    EXPECT_EQ(Folder.READFILE("change.log"), text);
}

// A name the code page cannot hold goes to the compiler as its short form,
// whose extension is the first three letters of its own: the log made from
// Ωmega.logx's short name is the listing itself, by another name.
TEST_F(BuildTest, AListingWhoseShortNameIsItsLogsIsNeitherReadNorDeleted) {
    USEPOWERBASIC();
    const std::string name = "\xCE\xA9mega.logx";
    const std::string text = "#COMPILE EXE\r\nFunction PBMain()\r\nEnd Function\r\n";
    LISTINGFILE(name, text);
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(harness::WIDEPATH(Folder.FILE(name)).c_str(), shortName.data(), MAX_PATH));
    if (shortName.empty() || shortName.find(L'\x03A9') != std::wstring::npos)
        GTEST_SKIP() << "this file system keeps no short names";
    Folder.WRITEFILE("pbwin.cfg", "nolog=1\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(box.Caption, "Compiling error:");
    EXPECT_EQ(Folder.READFILE(name), text);
}

TEST_F(BuildTest, PowerBasicPastItsTimeOutIsEndedBeforeItsLogIsRead) {
    USEPOWERBASIC();
    AppSettings.CompileTimeout = 1;
    Folder.WRITEFILE("pbwin.out", "PowerBASIC\r\nNo errors.\r\n");
    Folder.WRITEFILE("pbwin.cfg", "sleep=5000\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    const std::string id = RECORDED(Folder.READFILE("pbwin.rec"), "pid");
    Leftovers.push_back(id);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(box.Text, "The compiler did not finish within 1 second (CompileTimeout).\r"
                        "It was ended, together with the programs it had started.");
    EXPECT_TRUE(PROCESSENDED(id));
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("prog.log")));
}

TEST_F(BuildTest, ThePowerBasicLogIsTheListingsNameWithLogForItsExtension) {
    USEPOWERBASIC();
    // x.bi: its log is x.log; a file "xlog" beside it is not the editor's.
    const std::string text = "#COMPILE EXE\r\nFunction PBMain()\r\nEnd Function\r\n";
    LISTINGFILE("x.bi", text);
    Folder.WRITEFILE("xlog", "someone else's file");
    Folder.WRITEFILE("pbwin.out", "PowerBASIC\r\nNo errors.\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(box.Text, "PowerBASIC\r\nNo errors.\r\n");
    EXPECT_EQ(Folder.READFILE("xlog"), "someone else's file");
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("x.log")));  // read and deleted
}

TEST_F(BuildTest, PowerBasicNamesWithBlanksAreQuotedWhereNoShortNamesExist) {
    USEPOWERBASIC();
    Folder.MAKEFOLDER("power basic");
    ASSERT_TRUE(CopyFileA(Folder.FILE("pbwin.exe").c_str(), Folder.FILE("power basic\\pbwin.exe").c_str(), FALSE));
    // A decoy where the unquoted path would end.
    PROGRAMFILE("power.exe");
    AppSettings.Compiler = Folder.FILE("power basic\\pbwin.exe");
    Folder.WRITEFILE("power basic\\pbwin.out", "PowerBASIC\r\nNo errors.\r\n");
    ShortNameSeams.NoShortNames = true;
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    ShortNameSeams.NoShortNames = false;
    EXPECT_EQ(box.Text, "PowerBASIC\r\nNo errors.\r\n");
    const std::vector<std::string> args = ARGUMENTSOF(RECORDED(Folder.READFILE("power basic\\pbwin.rec"), "cmd"));
    const std::vector<std::string> expected = {Folder.FILE("power basic\\pbwin.exe"), "/L", "/Q", "prog.bas",
                                               "/I" + Folder.FILE("basic headers")};
    EXPECT_EQ(args, expected);
    Sleep(200);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("power.rec")));
}

TEST_F(BuildTest, PowerBasicRunFollowsTheDirective) {
    USEPOWERBASIC();
    Folder.WRITEFILE("pbwin.out", "PowerBASIC\r\nNo errors.\r\n");
    PROGRAMFILE("prog.exe");
    PROGRAMFILE("tool one.exe");
    std::int32_t status = -1;

    // No directive: the listing's name with exe.
    LISTINGFILE("prog.bas", "Function PBMain()\r\nEnd Function\r\n");
    EXPECT_FALSE(COMPILE(1, status, false).Seen);
    EXPECT_EQ(RECORDED(WAITFORRECORD("prog.rec"), "cmd"), "\"" + Folder.FILE("prog.exe") + "\"");

    // The name the directive gives, in the listing's folder.
    LISTINGFILE("prog.bas", "#Compile Exe \"tool one.exe\"\r\nFunction PBMain()\r\nEnd Function\r\n");
    EXPECT_FALSE(COMPILE(1, status, false).Seen);
    EXPECT_EQ(RECORDED(WAITFORRECORD("tool one.rec"), "cmd"), "\"" + Folder.FILE("tool one.exe") + "\"");

    // A library: nothing shown, nothing started.
    DeleteFileA(Folder.FILE("prog.rec").c_str());
    LISTINGFILE("prog.bas", "#COMPILE DLL \"prog.exe\"\r\nFunction PBMain()\r\nEnd Function\r\n");
    EXPECT_FALSE(COMPILE(1, status, false).Seen);
    Sleep(300);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("prog.rec")));

    // An EXE directive without a name, and a missing program.
    DeleteFileA(Folder.FILE("prog.exe").c_str());
    LISTINGFILE("prog.bas", "#COMPILE EXE\r\nFunction PBMain()\r\nEnd Function\r\n");
    const SeenBox box = COMPILE(1, status);
    EXPECT_EQ(box.Text, "File not found:\r" + Folder.FILE("prog.exe"));
}

// A downloaded listing whose directive names a program shipped beside it:
// Run starts only what the compilation wrote, for both compilers, also when
// the program shipped is dated in the future (an archive keeps its dates).
TEST_F(BuildTest, RunStartsNoProgramThatTheCompilationDidNotWrite) {
    Folder.WRITEFILE("pbwin.out", "PowerBASIC\r\nNo errors.\r\n");
    PROGRAMFILE("prog.exe");
    PLANTEDFILE("helper.exe");
    const struct {
        COMPILERKIND Compiler;
        std::string Listing, Output;
    } cases[] = {
        {POWERBASICCOMPILER, "%COMPILED = 1 : $NEXT = \"helper.exe\"\r\nFunction PBMain()\r\nEnd Function\r\n", ""},
        {FREEBASICCOMPILER, LISTING, "helper.exe"},
    };
    for (const bool future : {false, true}) {
        if (future) {
            // 1 January 2099.
            SYSTEMTIME when{2099, 1, 4, 1, 12, 0, 0, 0};
            FILETIME stamp;
            ASSERT_TRUE(SystemTimeToFileTime(&when, &stamp));
            HANDLE file = CreateFileA(Folder.FILE("helper.exe").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &stamp));
            CloseHandle(file);
        }
        for (const auto &c : cases) {
            AppSettings.CompilerType = c.Compiler;
            AppSettings.Compiler = Folder.FILE(c.Compiler == POWERBASICCOMPILER ? "pbwin.exe" : "fbc.exe");
            Document.ProjectSettings.OutputFile = c.Output;
            LISTINGFILE("prog.bas", c.Listing);
            std::int32_t status = -1;
            const SeenBox box = COMPILE(1, status);
            EXPECT_EQ(box.Text, "This compilation did not write the program to run:\r" + Folder.FILE("helper.exe") +
                                    "\rIt is the same file as before the compilation, so it was not started.")
                << future;
            EXPECT_TRUE(box.HandIcon);
        }
    }
    Sleep(300);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("helper.rec")));
}

// Names of the block and the listing's own name that begin like an option
// reach the compiler as files in the listing's folder.
TEST_F(BuildTest, NoNameFromTheListingReachesTheCompilerAsAnOption) {
    Document.ProjectSettings.OutputFile = "-prefix=evil";
    Document.ProjectSettings.ResourceFile = "@opts.txt";
    LISTINGFILE("-v.bas", LISTING);
    std::int32_t status = -1;
    COMPILE(0, status);
    const std::vector<std::string> expected = {"-s", "console", "-v", "-i", Folder.FILE("basic headers\\"), "-x",
                                               ".\\-prefix=evil", ".\\-v.bas", ".\\@opts.txt"};
    EXPECT_EQ(ARGUMENTSOF(RECORDED(Folder.READFILE("fbc.rec"), "cmd")), expected);
}

TEST_F(BuildTest, FindCompileDirectiveReadsTheEditorText) {
    std::string name = "stale";
    SETTEXT("' PowerBASIC listing\r\n#COMPILE DLL \"My Lib.dll\"\r\n");
    EXPECT_EQ(FINDCOMPILEDIRECTIVE(name), 1);
    EXPECT_EQ(name, "My Lib.dll");
    SETTEXT("#COMPILE EXE");  // 12 characters, no line end
    EXPECT_EQ(FINDCOMPILEDIRECTIVE(name), 0);
    EXPECT_EQ(name, "");
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "Print " + std::to_string(i) + "\r\n";
    SETTEXT(text + "#COMPILE EXE \"late.exe\"\r\n");
    EXPECT_EQ(FINDCOMPILEDIRECTIVE(name), 0);
}

}  // namespace

namespace {

// ---- Names from a listing and the tools that run ----

TEST_F(BuildTest, NamesFromTheListingThatCouldEndTheirArgumentAreRefused) {
    const struct {
        const char *key;
        std::string output, resource;
        std::string shown;
    } cases[] = {
        {"ZEOUTFILE", "a.exe\" -Wl \"--script=evil", "", "a.exe\" -Wl \"--script=evil"},
        {"ZEOUTFILE", "a\x01" "b.exe", "", "a?b.exe"},
        {"ZERESFILE", "", std::string("x.bat\0.res", 10), "x.bat?.res"},
    };
    for (const auto &c : cases) {
        Document.ProjectSettings.OutputFile = c.output;
        Document.ProjectSettings.ResourceFile = c.resource;
        std::int32_t status = -1;
        const SeenBox box = COMPILE(1, status);
        EXPECT_EQ(status, 1) << c.key;
        EXPECT_EQ(box.Caption, "Error starting compiler:");
        EXPECT_EQ(box.Text, UNSAFENAMEMESSAGE(c.key, c.output + c.resource));
        EXPECT_NE(box.Text.find(c.key), std::string::npos);
        EXPECT_NE(box.Text.find(c.shown), std::string::npos) << box.Text;
    }
    EXPECT_EQ(Folder.READFILE("fbc.rec"), "");  // nothing was compiled
}

TEST_F(BuildTest, EveryArgumentReachesTheCompilerAsItWasMeant) {
    // The configured include folder: a tab, a blank and a trailing backslash.
    AppSettings.IncludeDir = Folder.FILE("inc\tdir\\");
    Document.ProjectSettings.TargetType = 1;
    Document.ProjectSettings.OutputFile = "out dir\\my app.exe";
    Document.ProjectSettings.ResourceFile = "res dir\\app.rc";
    LISTINGFILE("my prog.bas", LISTING);
    std::int32_t status = -1;
    COMPILE(0, status);
    const std::vector<std::string> expected = {"-s", "gui", "-v", "-i", Folder.FILE("inc\tdir\\"), "-x",
                                               "out dir\\my app.exe", "my prog.bas", "res dir\\app.rc"};
    EXPECT_EQ(ARGUMENTSOF(RECORDED(Folder.READFILE("fbc.rec"), "cmd")), expected);
}

TEST_F(BuildTest, TheErrorOfTheListingIsNotTakenFromAnotherWhoseNameEndsLikeIt) {
    Folder.WRITEFILE("fbc.out", "myprog.bas(3) error 1: in the other file\r\nprog.bas(5) error 2: here\r\n");
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\n");
    std::int32_t status = -1;
    COMPILE(0, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), CALL(SCI_POSITIONFROMLINE, 4));
}

TEST_F(BuildTest, OnlyTheConfiguredCompilerRunsNeverOneInTheListingsFolder) {
    // A downloaded project with compilers of the same names in it.
    Folder.MAKEFOLDER("project");
    Folder.MAKEFOLDER("project\\tools");
    Folder.MAKEFOLDER("tools");
    Folder.MAKEFOLDER("on path");
    const std::string standin = harness::PROGRAMFOLDER() + "standin_freebasic.exe";
    for (const char *copy : {"tools\\fbc.exe", "on path\\pathfbc.exe", "project\\fbc.exe",
                             "project\\tools\\fbc.exe", "project\\pathfbc.exe"})
        ASSERT_TRUE(CopyFileA(standin.c_str(), Folder.FILE(copy).c_str(), FALSE)) << copy;
    LISTINGFILE("project\\prog.bas", LISTING);
    const std::string path = [] {
        char value[32768] = {};
        GetEnvironmentVariableA("PATH", value, sizeof value);
        return std::string(value);
    }();
    SetEnvironmentVariableA("PATH", (path + ";" + Folder.FILE("on path")).c_str());
    const struct {
        const char *configured, *record;
    } cases[] = {{"tools\\fbc.exe", "tools\\fbc.rec"}, {"fbc.exe", "fbc.rec"}, {"pathfbc.exe", "on path\\pathfbc.rec"}};
    for (const auto &c : cases) {
        AppSettings.Compiler = c.configured;
        std::int32_t status = -1;
        COMPILE(0, status);
        // A file dialog in between moves no folder that the next start would use.
        CALL(SCI_SETSAVEPOINT);
        {
            DialogAnswerer answer(CHOOSEFILE(Folder.FILE("project\\prog.bas")));
            OPENFILE(OPENDIALOG);
            answer.RESULT();
        }
        COMPILE(0, status);
        const std::string record = Folder.READFILE(c.record);
        EXPECT_NE(record.find("pid="), std::string::npos) << c.configured;
        EXPECT_NE(record.find("pid=", record.find("pid=") + 4), std::string::npos) << "twice: " << c.configured;
        EXPECT_EQ(RECORDED(record, "dir"), Folder.FILE("project")) << c.configured;
    }
    SetEnvironmentVariableA("PATH", path.c_str());
    for (const char *planted : {"project\\fbc.rec", "project\\tools\\fbc.rec", "project\\pathfbc.rec"})
        EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE(planted))) << planted;
    // The editor's own current folder was never the listing's.
    char current[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_NE(std::string(current) + "\\", Folder.FILE("project\\"));
}

}  // namespace

// ---- Every error in the listing: marks, the text under the lines, F9 ----

namespace {

// Ten lines: two Subs, the second from line 6 (one-based) to line 9.
const std::string TENLINES =
    "' Sample\r\n"
    "Sub One()\r\n"
    "  Print 1\r\n"
    "  x\r\n"
    "End Sub\r\n"
    "Sub Two()\r\n"
    "  Print 2\r\n"
    "  y\r\n"
    "End Sub\r\n"
    "Print \"end\"\r\n";

const std::string FOURMESSAGES = BANNER +
                                 "prog.bas(4) error 10: Expected '=', found 'end of line'\r\n"
                                 "    x\r\n"
                                 "     ^\r\n"
                                 "prog.bas(8) error 42: Variable not declared, y\r\n"
                                 "prog.bas(8) error 3: Expected End-of-Line\r\n"
                                 "prog.bas(2) error 1: Argument count mismatch\r\n"
                                 "prog.bas(10) warning 4(1): Suspicious pointer assignment\r\n";

}  // namespace

class ErrorMarksTest : public BuildTest {
protected:
    void SetUp() override {
        BuildTest::SetUp();
        LISTINGFILE("prog.bas", TENLINES);
        CALL(SCI_EMPTYUNDOBUFFER);
        CALL(SCI_SETSAVEPOINT);
    }
    // Compiles with the four messages (three lines of errors, one of a warning).
    void COMPILEFOUR() {
        Folder.WRITEFILE("fbc.out", FOURMESSAGES);
        Folder.WRITEFILE("fbc.cfg", "exit=1\r\n");
        std::int32_t status = -1;
        LastBox = COMPILE(0, status);
        ASSERT_EQ(status, 2);
    }
    // Each marked line (zero-based) with E for an error, W for a warning.
    std::vector<std::string> MARKS() {
        std::vector<std::string> marks;
        for (LRESULT line = CALL(SCI_MARKERNEXT, 0, MASK); line >= 0; line = CALL(SCI_MARKERNEXT, line + 1, MASK)) {
            const LRESULT set = CALL(SCI_MARKERGET, line);
            marks.push_back(std::to_string(line) + ((set & (1 << ERRORMARKER)) ? "E" : "") +
                            ((set & (1 << WARNINGMARKER)) ? "W" : ""));
        }
        return marks;
    }
    std::string NOTE(LRESULT line) {
        std::string text(static_cast<size_t>(CALL(SCI_ANNOTATIONGETTEXT, line, 0)), '\0');
        CALL(SCI_ANNOTATIONGETTEXT, line, reinterpret_cast<LPARAM>(text.data()));
        return text;
    }
    // The lines F9 (or Shift+F9) visits, one per press.
    std::vector<LRESULT> VISITS(int id, int presses) {
        std::vector<LRESULT> lines;
        for (int i = 0; i < presses; ++i) {
            COMMAND(id);
            const LRESULT position = CALL(SCI_GETCURRENTPOS);
            EXPECT_EQ(CALL(SCI_GETANCHOR), position);
            EXPECT_EQ(position, CALL(SCI_POSITIONFROMLINE, CALL(SCI_LINEFROMPOSITION, position)));
            lines.push_back(CALL(SCI_LINEFROMPOSITION, position));
        }
        return lines;
    }
    bool NOMARKS() { return CALL(SCI_MARKERNEXT, 0, -1) < 0 && NOTE(0).empty() && NOTE(3).empty(); }
    static constexpr int MASK = (1 << ERRORMARKER) | (1 << WARNINGMARKER);
    SeenBox LastBox;
};

TEST_F(ErrorMarksTest, ThreeErrorsAndAWarningGiveFourMarksAndTheirTexts) {
    EXPECT_TRUE(ITEMSTATE(4, CMD_NEXTERROR) & MF_GRAYED);
    EXPECT_TRUE(ITEMSTATE(4, CMD_PREVIOUSERROR) & MF_GRAYED);
    COMPILEFOUR();
    EXPECT_EQ(LastBox.Text, FOURMESSAGES);  // the box as ever, nothing added
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"1E", "3E", "7E", "9W"}));
    EXPECT_EQ(NOTE(1), "error 1: Argument count mismatch");
    EXPECT_EQ(NOTE(3), "error 10: Expected '=', found 'end of line'");
    EXPECT_EQ(NOTE(7), "error 42: Variable not declared, y\nerror 3: Expected End-of-Line");
    EXPECT_EQ(NOTE(9), "warning 4(1): Suspicious pointer assignment");
    EXPECT_EQ(NOTE(0), "");
    EXPECT_NE(CALL(SCI_ANNOTATIONGETSTYLE, 1), CALL(SCI_ANNOTATIONGETSTYLE, 9));
    EXPECT_EQ(CALL(SCI_ANNOTATIONGETVISIBLE), ANNOTATION_INDENTED);
    // The first error of the output still takes the caret.
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), CALL(SCI_POSITIONFROMLINE, 3));
    EXPECT_FALSE(ITEMSTATE(4, CMD_NEXTERROR) & MF_GRAYED);
    EXPECT_FALSE(ITEMSTATE(4, CMD_PREVIOUSERROR) & MF_GRAYED);
    EXPECT_FALSE(ITEMSTATE(4, CMD_CLEARERRORMARKS) & MF_GRAYED);
    // The next compile replaces them.
    Folder.WRITEFILE("fbc.out", "prog.bas(6) warning 2(2): w\r\n");
    std::int32_t status = -1;
    COMPILE(0, status);
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"5W"}));
    EXPECT_EQ(NOTE(3), "");
    EXPECT_EQ(NOTE(5), "warning 2(2): w");
}

TEST_F(ErrorMarksTest, NextAndPreviousVisitTheMarksInOrderAndWrap) {
    COMPILEFOUR();
    CALL(SCI_GOTOPOS, 0);
    EXPECT_EQ(VISITS(CMD_NEXTERROR, 5), (std::vector<LRESULT>{1, 3, 7, 9, 1}));
    CALL(SCI_GOTOPOS, 0);
    EXPECT_EQ(VISITS(CMD_PREVIOUSERROR, 5), (std::vector<LRESULT>{9, 7, 3, 1, 9}));
    // From inside a line, and from the last line.
    CALL(SCI_GOTOPOS, CALL(SCI_POSITIONFROMLINE, 3) + 2);
    EXPECT_EQ(VISITS(CMD_NEXTERROR, 1), (std::vector<LRESULT>{7}));
    CALL(SCI_GOTOPOS, CALL(SCI_POSITIONFROMLINE, 3) + 2);
    EXPECT_EQ(VISITS(CMD_PREVIOUSERROR, 1), (std::vector<LRESULT>{1}));
    CALL(SCI_DOCUMENTEND);
    EXPECT_EQ(VISITS(CMD_NEXTERROR, 1), (std::vector<LRESULT>{1}));
    // The keys: F9 and Shift+F9 through the accelerator table.
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDA_MAINACCEL));
    ACCEL keys[64];
    const int count = CopyAcceleratorTableA(table, keys, 64);
    DestroyAcceleratorTable(table);
    int found = 0;
    for (int i = 0; i < count; ++i) {
        if (keys[i].key == VK_F9 && (keys[i].fVirt & ~FNOINVERT) == FVIRTKEY)
            found += keys[i].cmd == CMD_NEXTERROR;
        if (keys[i].key == VK_F9 && (keys[i].fVirt & ~FNOINVERT) == (FVIRTKEY | FSHIFT))
            found += keys[i].cmd == CMD_PREVIOUSERROR;
    }
    EXPECT_EQ(found, 2);
}

TEST_F(ErrorMarksTest, WithNoMarksNextAndPreviousDoNothing) {
    CALL(SCI_GOTOPOS, 12);
    harness::BoxWatcher boxes("", IDOK);
    COMMAND(CMD_NEXTERROR);
    COMMAND(CMD_PREVIOUSERROR);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 12);
    EXPECT_EQ(boxes.STOP(), 0);
}

TEST_F(ErrorMarksTest, LinesTypedAboveMoveEveryMarkWithItsLine) {
    COMPILEFOUR();
    CALL(SCI_GOTOPOS, 0);
    for (const char *typed : {"a\r\n", "b\r\n", "c\r\n"})
        CALL(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(typed));
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"4E", "6E", "10E", "12W"}));
    EXPECT_EQ(NOTE(6), "error 10: Expected '=', found 'end of line'");
    EXPECT_EQ(NOTE(3), "");
    CALL(SCI_GOTOPOS, 0);
    EXPECT_EQ(VISITS(CMD_NEXTERROR, 5), (std::vector<LRESULT>{4, 6, 10, 12, 4}));
    // Deleting the lines again brings them back.
    CALL(SCI_SETSEL, 0, CALL(SCI_POSITIONFROMLINE, 3));
    CALL(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"1E", "3E", "7E", "9W"}));
    // The marks never were in the undo history: undo takes back the typing only.
    while (CALL(SCI_CANUNDO))
        CALL(SCI_UNDO);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"1E", "3E", "7E", "9W"}));
    EXPECT_EQ(NOTE(7), "error 42: Variable not declared, y\nerror 3: Expected End-of-Line");
}

TEST_F(ErrorMarksTest, NextErrorOpensAFoldedSub) {
    COMPILEFOUR();
    CALL(SCI_COLOURISE, 0, -1);
    ASSERT_TRUE(CALL(SCI_GETFOLDLEVEL, 5) & SC_FOLDLEVELHEADERFLAG);
    CALL(SCI_FOLDLINE, 5, SC_FOLDACTION_CONTRACT);
    ASSERT_FALSE(CALL(SCI_GETLINEVISIBLE, 7));
    CALL(SCI_GOTOLINE, 4);
    EXPECT_EQ(VISITS(CMD_NEXTERROR, 1), (std::vector<LRESULT>{7}));
    EXPECT_TRUE(CALL(SCI_GETLINEVISIBLE, 7));
    EXPECT_TRUE(CALL(SCI_GETFOLDEXPANDED, 5));
    // Scrolled into view: the first line shown is at or above it.
    EXPECT_LE(CALL(SCI_DOCLINEFROMVISIBLE, CALL(SCI_GETFIRSTVISIBLELINE)), 7);
}

TEST_F(ErrorMarksTest, ClearNewAndOpenRemoveTheMarks) {
    COMPILEFOUR();
    COMMAND(CMD_CLEARERRORMARKS);
    EXPECT_TRUE(NOMARKS());
    EXPECT_TRUE(ITEMSTATE(4, CMD_NEXTERROR) & MF_GRAYED);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    COMPILEFOUR();
    COMMAND(CMD_NEWEMPTY);
    EXPECT_EQ(Document.CurrentFile, "");
    EXPECT_TRUE(NOMARKS());
    LISTINGFILE("prog.bas", TENLINES);
    CALL(SCI_SETSAVEPOINT);
    COMPILEFOUR();
    ASSERT_EQ(OPENPATH(Folder.FILE("prog.bas")), OPENDONE);
    PUMP(200);
    EXPECT_TRUE(NOMARKS());
    EXPECT_TRUE(ITEMSTATE(4, CMD_NEXTERROR) & MF_GRAYED);
}

TEST_F(ErrorMarksTest, NothingOfThemReachesTheFileTheExportOrTheRecoveryCopy) {
    COMPILEFOUR();
    EXPECT_FALSE(CALL(SCI_CANUNDO));
    CALL(SCI_GOTOPOS, CALL(SCI_POSITIONFROMLINE, 9));
    CALL(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>("' edited\r\n"));
    WRITERECOVERYNOW();
    ENDRECOVERY();
    const std::string copy = harness::READWHOLEFILE(RECOVERYFILE());
    ASSERT_NE(copy.find("' edited"), std::string::npos);
    ASSERT_EQ(SAVEFILE(), 0);
    ASSERT_EQ(EXPORTRTF(Folder.FILE("prog.rtf")), 0);
    const std::string saved = Folder.READFILE("prog.bas");
    const std::string rtf = Folder.READFILE("prog.rtf");
    EXPECT_EQ(saved.substr(0, saved.find("\r\n'ZESETTINGS")), DOCUMENTTEXT());
    for (const std::string &file : {saved, rtf, copy}) {
        for (const char *text : {"Argument count", "Variable not declared", "Suspicious", "error 1"})
            EXPECT_EQ(file.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"1E", "3E", "7E", "10W"}));
}

TEST_F(ErrorMarksTest, TheOptionHidesTheTextKeepsTheMarkersAndIsStored) {
    EXPECT_TRUE(ITEMSTATE(5, CMD_ERRORTEXT) & MF_CHECKED);
    COMPILEFOUR();
    COMMAND(CMD_ERRORTEXT);
    EXPECT_EQ(AppSettings.ErrorText, 0);
    EXPECT_FALSE(ITEMSTATE(5, CMD_ERRORTEXT) & MF_CHECKED);
    EXPECT_EQ(CALL(SCI_ANNOTATIONGETVISIBLE), ANNOTATION_HIDDEN);
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"1E", "3E", "7E", "9W"}));
    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    EXPECT_NE(READINI().find("ErrorText=0\r\n"), std::string::npos);
    // The next compile keeps it hidden.
    COMPILEFOUR();
    EXPECT_EQ(CALL(SCI_ANNOTATIONGETVISIBLE), ANNOTATION_HIDDEN);
    COMMAND(CMD_ERRORTEXT);
    EXPECT_EQ(CALL(SCI_ANNOTATIONGETVISIBLE), ANNOTATION_INDENTED);
    EXPECT_TRUE(ITEMSTATE(5, CMD_ERRORTEXT) & MF_CHECKED);
    COMMAND(CMD_ERRORTEXT);
    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    LOADONLY();
    EXPECT_EQ(AppSettings.ErrorText, 0);
}

TEST_F(ErrorMarksTest, TheTextUnderTheLineFollowsTheFontOfTheFontDialog) {
    COMPILEFOUR();
    const LRESULT style = CALL(SCI_ANNOTATIONGETSTYLEOFFSET) + CALL(SCI_ANNOTATIONGETSTYLE, 1);
    char face[64] = {};
    CALL(SCI_STYLEGETFONT, style, reinterpret_cast<LPARAM>(face));
    EXPECT_EQ(std::string(face), AppSettings.Font);
    EXPECT_EQ(CALL(SCI_STYLEGETSIZE, style), AppSettings.FontSize);
    AppSettings.Font = "Arial";
    AppSettings.FontSize = 14;
    APPLYSTYLES();
    STYLEERRORMARKS();
    CALL(SCI_STYLEGETFONT, style, reinterpret_cast<LPARAM>(face));
    EXPECT_EQ(std::string(face), "Arial");
    EXPECT_EQ(CALL(SCI_STYLEGETSIZE, style), 14);
    EXPECT_NE(CALL(SCI_STYLEGETBACK, style), CALL(SCI_STYLEGETBACK, STYLE_DEFAULT));
}

TEST_F(ErrorMarksTest, MessagesInTheConsolesCodePageReadRightInAnAnsiAndAUtf8Listing) {
    // 0x81 is u with diaeresis in the console's code page (437).
    ASSERT_EQ(GetOEMCP(), 437u);
    Folder.WRITEFILE("fbc.out", "prog.bas(2) error 1: Gr\x81n\r\n");
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\n");
    std::int32_t status = -1;
    COMPILE(0, status);
    EXPECT_EQ(NOTE(1), "error 1: Gr\xFCn");  // Windows-1252
    LISTINGFILE("prog.bas", "\xEF\xBB\xBF" + TENLINES);
    CALL(SCI_SETSAVEPOINT);
    ASSERT_EQ(OPENPATH(Folder.FILE("prog.bas")), OPENDONE);
    ASSERT_TRUE(EDITORISUTF8());
    COMPILE(0, status);
    EXPECT_EQ(NOTE(1), "error 1: Gr\xC3\xBCn");
}

TEST_F(ErrorMarksTest, ThousandsOfMessagesAndOutputPastAMegabyteAreCountedInTheLastLine) {
    std::string lines, output;
    for (int i = 1; i <= 1005; ++i) {
        lines += "Print " + std::to_string(i) + "\r\n";
        output += "prog.bas(" + std::to_string(i) + ") error 1: e\r\n";
    }
    LISTINGFILE("prog.bas", lines);
    Folder.WRITEFILE("fbc.out", output);
    Folder.WRITEFILE("fbc.cfg", "exit=1\r\nfill=1100000\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(box.Text.substr(0, 2048), output.substr(0, 2048));
    EXPECT_EQ(box.Text.substr(2048), "\rOnly the first 1 MB of the compiler's 1,100,000 bytes was read. "
                                     "5 more messages were not marked (at most 1,000 are).");
    EXPECT_EQ(CALL(SCI_MARKERPREVIOUS, 2000, MASK), 999);
    EXPECT_EQ(CALL(SCI_MARKERNEXT, 0, MASK), 0);
}

TEST_F(ErrorMarksTest, PowerBasicLogEntriesAreMarked) {
    USEPOWERBASIC();
    Folder.WRITEFILE("pbwin.out", "PowerBASIC for Windows\r\n"
                                  "Error 426 in " + Folder.FILE("prog.bas") + "(4:3):  Statement expected\r\n"
                                  "Line 4:   x\r\n"
                                  "Error 519 in " + Folder.FILE("prog.bas") + "(8:3):  Missing declaration: Y\r\n");
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(MARKS(), (std::vector<std::string>{"3E", "7E"}));
    EXPECT_EQ(NOTE(3), "Error 426: Statement expected");
    EXPECT_EQ(NOTE(7), "Error 519: Missing declaration: Y");
}

// ---- The window while the compiler runs ----

// Asks the window from another thread, as Windows does to see whether it
// hangs: the longest answer while the compiler runs.
class WindowProbe {
public:
    WindowProbe()
        : Worker([this] {
              while (!Stop) {
                  DWORD_PTR result = 0;
                  const DWORD start = GetTickCount();
                  if (!SendMessageTimeoutA(MainWindow, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result))
                      Failures++;
                  const DWORD took = GetTickCount() - start;
                  if (took > Longest)
                      Longest = took;
                  Answers++;
                  Sleep(100);
              }
          }) {}
    ~WindowProbe() { STOP(); }
    void STOP() {
        Stop = true;
        if (Worker.joinable())
            Worker.join();
    }
    std::atomic<bool> Stop{false};
    std::atomic<int> Answers{0}, Failures{0};
    std::atomic<DWORD> Longest{0};
    std::thread Worker;
};

TEST_F(ErrorMarksTest, TheWindowAnswersWhileTheCompilerRunsAndEscapeEndsIt) {
    AppSettings.CompileTimeout = 0;
    Folder.WRITEFILE("fbc.out", "compiling:    prog.bas -o prog.c (main module)\r\n");
    Folder.WRITEFILE("fbc.cfg", "sleep=15000\r\n");
    WindowProbe probe;
    // A key typed and a command given while it runs are refused; Escape ends it.
    std::thread user([] {
        Sleep(3000);
        PostMessageA(EditorControl, WM_KEYDOWN, 'Q', 0);
        PostMessageA(EditorControl, WM_CHAR, 'q', 0);
        PostMessageA(MainWindow, WM_COMMAND, CMD_SELECTALL, 0);
        PostMessageA(MainWindow, WM_COMMAND, CMD_NEWEMPTY, 0);
        Sleep(3000);
        PostMessageA(EditorControl, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    std::int32_t status = -1;
    const DWORD start = GetTickCount();
    const SeenBox box = COMPILE(0, status);
    const DWORD took = GetTickCount() - start;
    user.join();
    probe.STOP();
    const std::string id = RECORDED(Folder.READFILE("fbc.rec"), "pid");
    Leftovers = {id};
    EXPECT_EQ(status, 4);
    EXPECT_EQ(box.Caption, "Compiler result");
    EXPECT_EQ(box.Text, "The compile was cancelled. The compiler was ended.\r\r"
                        "compiling:    prog.bas -o prog.c (main module)\r\n");
    EXPECT_GE(took, 5500u);
    EXPECT_LT(took, 12000u);
    EXPECT_TRUE(PROCESSENDED(id));
    EXPECT_GE(probe.Answers.load(), 30);
    EXPECT_EQ(probe.Failures.load(), 0);
    EXPECT_LT(probe.Longest.load(), 1000u);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(Document.CurrentFile, Folder.FILE("prog.bas"));
    EXPECT_EQ(CALL(SCI_GETSELECTIONEMPTY), 1);
    EXPECT_FALSE(COMPILERRUNNING());
}

TEST_F(ErrorMarksTest, ASecondCompileCancelsTheFirst) {
    AppSettings.CompileTimeout = 0;
    Folder.WRITEFILE("fbc.cfg", "sleep=15000\r\n");
    std::thread user([] {
        Sleep(1500);
        PostMessageA(MainWindow, WM_COMMAND, CMD_COMPILE, 0);
    });
    std::int32_t status = -1;
    const SeenBox box = COMPILE(0, status);
    user.join();
    Leftovers = {RECORDED(Folder.READFILE("fbc.rec"), "pid")};
    EXPECT_EQ(status, 4);
    EXPECT_EQ(box.Text, "The compile was cancelled. The compiler was ended.");
    EXPECT_TRUE(PROCESSENDED(Leftovers[0]));
}

TEST_F(ErrorMarksTest, ClosingTheWindowDuringACompileEndsTheCompilerThenCloses) {
    AppSettings.CompileTimeout = 0;
    Folder.WRITEFILE("fbc.cfg", "sleep=15000\r\n");
    std::thread user([] {
        Sleep(1500);
        PostMessageA(MainWindow, WM_CLOSE, 0, 0);
    });
    harness::BoxWatcher boxes("", IDOK);
    const DWORD start = GetTickCount();
    COMMAND(CMD_COMPILE);  // saves (unmodified: no question), compiles
    user.join();
    PUMP(500);
    const DWORD took = GetTickCount() - start;
    Leftovers = {RECORDED(Folder.READFILE("fbc.rec"), "pid")};
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(boxes.STOP(), 0);
    EXPECT_LT(took, 8000u);
    EXPECT_TRUE(PROCESSENDED(Leftovers[0]));
}

// The marks and their texts in the window, for a screenshot (QUILLET_SHOTS
// names the folder).
TEST_F(ErrorMarksTest, MarksForAScreenshot) {
    if (!std::getenv("QUILLET_SHOTS"))
        GTEST_SKIP() << "set QUILLET_SHOTS to a folder to look at the marks";
    COMPILEFOUR();
    CALL(SCI_GOTOPOS, 0);
    COMMAND(CMD_NEXTERROR);
    PUMP(500);
    harness::SHOT(MainWindow, "error-marks");
}
