// Benchmark of the editor's reaction to a compiler's end: the time from the
// moment a stand-in compiler ends to the moment the result box comes up, for
// one that prints a banner and one that prints 1 MB. Prints medians; it
// checks nothing. Run: scripts/bench.sh build
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "document/document.h"
#include "benchcommon.h"
#include "Scintilla.h"
#include "compiling/build.h"
#include "compiling/errorlist.h"
#include "compiling/errormarks.h"
#include "document/settingsblock.h"


namespace {

LONGLONG FREQUENCY() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

LONGLONG COUNTER() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double MS(LONGLONG ticks) {
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(FREQUENCY());
}

// The moment the result box is activated; the box is closed at once.
LONGLONG BoxShown = 0;
HHOOK Hook = nullptr;

LRESULT CALLBACK WATCHBOXES(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        char name[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (std::string(name) == "#32770") {
            BoxShown = COUNTER();
            PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(Hook, code, wParam, lParam);
}

void WRITEFILE(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string READFILE(const std::string &path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

// The counter the stand-in wrote at its end (the last "end=" of its record).
LONGLONG ENDED(const std::string &record) {
    const size_t at = record.rfind("end=");
    return at == std::string::npos ? 0 : std::atoll(record.c_str() + at + 4);
}

struct Figures {
    double ExitToBox;
    double StartToBox;
};

Figures MEDIANS(const std::string &folder, int runs) {
    std::vector<double> exitToBox, startToBox;
    for (int i = 0; i < runs; ++i) {
        DeleteFileA((folder + "fbc.rec").c_str());
        BoxShown = 0;
        const LONGLONG start = COUNTER();
        COMPILEFREEBASIC(0);
        const LONGLONG ended = ENDED(READFILE(folder + "fbc.rec"));
        if (!BoxShown || !ended)
            continue;
        exitToBox.push_back(MS(BoxShown - ended));
        startToBox.push_back(MS(BoxShown - start));
    }
    if (exitToBox.empty())
        return {-1, -1};
    std::sort(exitToBox.begin(), exitToBox.end());
    std::sort(startToBox.begin(), startToBox.end());
    return {exitToBox[exitToBox.size() / 2], startToBox[startToBox.size() / 2]};
}

}  // namespace

int main() {
    const std::string folder = STARTBENCHWINDOW("quillet-bench-build");
    CreateDirectoryA((folder + "headers").c_str(), nullptr);

    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string bin = self;
    bin = bin.substr(0, bin.rfind('\\') + 1);
    CopyFileA((bin + "standin_freebasic.exe").c_str(), (folder + "fbc.exe").c_str(), FALSE);
    AppSettings.Compiler = folder + "fbc.exe";
    AppSettings.IncludeDir = folder + "headers\\";
    AppSettings.CompileTimeout = 30;
    Document.CurrentFile = folder + "prog.bas";
    WRITEFILE(Document.CurrentFile, "Print \"benchmark\"\r\n");
    Document.ProjectSettings = PROJECTSETTINGSRECORD{};
    WRITEFILE(folder + "fbc.out", "FreeBASIC Compiler - Version 1.10.1\r\ncompiling:    prog.bas -o prog.c\r\n");
    Hook = SetWindowsHookExA(WH_CBT, WATCHBOXES, nullptr, GetCurrentThreadId());

    WRITEFILE(folder + "fbc.cfg", "exit=0\r\n");
    const Figures quick = MEDIANS(folder, 21);
    std::printf("compiler that exits at once: exit to result box %.1f ms, start to box %.1f ms (median of 21)\n",
                quick.ExitToBox, quick.StartToBox);

    WRITEFILE(folder + "fbc.cfg", "exit=0\r\nfill=1048576\r\n");
    const Figures megabyte = MEDIANS(folder, 11);
    std::printf("compiler that prints 1 MB:   exit to result box %.1f ms, start to box %.1f ms (median of 11)\n",
                megabyte.ExitToBox, megabyte.StartToBox);

    // The compiler's messages: 1 MB of output read for them, 1,000 of them
    // marked in the 16 MB listing, and a compile that reports 1,000 errors.
    const std::string listing = LISTING(16u << 20);
    SCI(SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(listing.c_str()));
    SCI(SCI_EMPTYUNDOBUFFER);
    const LRESULT lines = SCI(SCI_GETLINECOUNT);
    std::string errors, output;
    for (int i = 0; i < 1000; ++i)
        errors += "prog.bas(" + std::to_string(1 + lines * i / 1000) + ") error 42: Variable not declared, x" +
                  std::to_string(i) + "\r\n";
    // The errors spread over the first part of the megabyte, among lines
    // that name other files.
    std::size_t next = 0;
    for (unsigned n = 0; output.size() < (1u << 20); ++n) {
        output += "compiling:    module" + std::to_string(n) + ".bas -o module" + std::to_string(n) + ".c\r\n";
        if (n % 20 == 0 && next < errors.size()) {
            const std::size_t end = errors.find("\r\n", next) + 2;
            output += errors.substr(next, end - next);
            next = end;
        }
    }
    std::vector<double> parse, mark, clear;
    COMPILERMESSAGELIST list;
    for (int i = 0; i < 11; ++i) {
        const double start = NOW();
        list = FREEBASICMESSAGES(output, "prog.bas", lines);
        parse.push_back((NOW() - start) * 1000);
    }
    for (int i = 0; i < 5; ++i) {
        const double start = NOW();
        SHOWERRORMARKS(list, CP_OEMCP);
        UpdateWindow(EditorControl);
        mark.push_back((NOW() - start) * 1000);
        const double cleared = NOW();
        CLEARERRORMARKS();
        clear.push_back((NOW() - cleared) * 1000);
    }
    for (auto *v : {&parse, &mark, &clear})
        std::sort(v->begin(), v->end());
    std::printf("messages: %zu found in %zu bytes of output in %.2f ms (median of 11); marking them in the %.1f MB "
                "listing (%ld lines) %.1f ms with its paint, clearing %.1f ms (medians of 5)\n",
                list.Entries.size(), output.size(), parse[5], listing.size() / 1048576.0, static_cast<long>(lines),
                mark[2], clear[2]);
    std::string reported;
    for (int i = 0; i < 1000; ++i)
        reported += "prog.bas(" + std::to_string(1 + lines * i / 1000) + ") error 42: Variable not declared, x\r\n";
    WRITEFILE(folder + "fbc.out", reported);
    WRITEFILE(folder + "fbc.cfg", "exit=1\r\n");
    const Figures thousand = MEDIANS(folder, 11);
    std::printf("compiler that reports 1,000 errors in the 16 MB listing: exit to result box %.1f ms, start to box "
                "%.1f ms (median of 11)\n",
                thousand.ExitToBox, thousand.StartToBox);
    WRITEFILE(folder + "fbc.out", "prog.bas(1) error 42: Variable not declared, x\r\n");
    const Figures one = MEDIANS(folder, 11);
    std::printf("compiler that reports 1 error in the same listing:            exit to result box %.1f ms, start to "
                "box %.1f ms (median of 11)\n",
                one.ExitToBox, one.StartToBox);
    CLEARERRORMARKS();
    SCI(SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(""));

    // Baselines measured the same way: how long the system takes from the
    // stand-in's end to its process handle being signalled, and how long a
    // message box takes to come up.
    std::vector<double> exitToSignal, boxAlone;
    WRITEFILE(folder + "fbc.cfg", "exit=0\r\n");
    for (int i = 0; i < 21; ++i) {
        DeleteFileA((folder + "fbc.rec").c_str());
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;  // no output anywhere
        PROCESS_INFORMATION process{};
        std::string line = " -v";
        if (CreateProcessA((folder + "fbc.exe").c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process)) {
            WaitForSingleObject(process.hProcess, INFINITE);
            const LONGLONG signalled = COUNTER();
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
            exitToSignal.push_back(MS(signalled - ENDED(READFILE(folder + "fbc.rec"))));
        }
        BoxShown = 0;
        const LONGLONG before = COUNTER();
        MessageBoxA(MainWindow, "baseline", "Compiler result", MB_OK);
        boxAlone.push_back(MS(BoxShown - before));
    }
    std::sort(exitToSignal.begin(), exitToSignal.end());
    std::sort(boxAlone.begin(), boxAlone.end());
    std::printf("baselines: process end to handle signalled %.1f ms, a message box alone %.1f ms (median of 21)\n",
                exitToSignal[exitToSignal.size() / 2], boxAlone[boxAlone.size() / 2]);

    UnhookWindowsHookEx(Hook);
    DestroyWindow(MainWindow);
    // Nothing is left behind in the temporary folder.
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA((folder + entry.cFileName).c_str());
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA((folder + "headers").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
