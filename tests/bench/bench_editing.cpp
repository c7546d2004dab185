// Benchmark of Replace all through the Search/Replace dialog and of Toggle
// all Subs below, against Scintilla's own work measured in the same run.
// Prints figures; it checks nothing. Run: scripts/bench.sh editing
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Scintilla.h"
#include "app/app.h"
#include "benchcommon.h"
#include "editing/editing.h"
#include "ui/resource.h"

namespace {

double PEAKMB() {
    using Proc = BOOL(WINAPI *)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    static auto proc = reinterpret_cast<Proc>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!proc || !proc(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
}

// A listing as people write them (Subs and Functions with comments, strings,
// numbers and API calls), with a comment word on `marks` lines spread evenly.
std::string MARKEDLISTING(size_t bytes, size_t marks, const std::string &mark) {
    std::string text = LISTING(bytes);
    if (marks == 0)
        return text;
    size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    const size_t every = std::max<size_t>(lines / marks, 1);
    std::string marked;
    marked.reserve(text.size() + marks * (mark.size() + 3));
    size_t line = 0, placed = 0, start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2, ++line) {
        marked.append(text, start, end - start);
        if (line % every == every - 1 && placed < marks) {
            marked += " ' " + mark;
            ++placed;
        }
        marked += "\r\n";
    }
    marked.append(text, start, std::string::npos);
    return marked;
}

void LOADTEXT(const std::string &text) {
    SCI(SCI_CLEARALL);
    SCI(SCI_EMPTYUNDOBUFFER);
    SCI(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    SCI(SCI_EMPTYUNDOBUFFER);
    SCI(SCI_SETSAVEPOINT);
    SCI(SCI_GOTOPOS, 0);
}

// Answers the two boxes of Replace all (Yes, then OK) from a second thread
// and keeps the text of the result box.
class ReplaceAllAnswerer {
public:
    explicit ReplaceAllAnswerer(HWND dialog) {
        Worker = std::thread([this, dialog] {
            for (int step = 0; step < 2; ++step) {
                HWND box = nullptr;
                while (!box) {
                    box = FINDBOX(dialog);
                    if (!box)
                        Sleep(2);
                }
                if (step == 1) {
                    char text[512] = {};
                    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
                    Result = text;
                }
                PostMessageA(box, WM_COMMAND, step == 0 ? IDYES : IDOK, 0);
                while (IsWindow(box))
                    Sleep(2);
            }
        });
    }
    std::string RESULT() {
        Worker.join();
        return Result;
    }

private:
    struct Find {
        HWND Dialog;
        HWND Found;
    };
    // A named stdcall function: on i686 a lambda does not convert to WNDENUMPROC.
    static BOOL CALLBACK FINDOTHERBOX(HWND window, LPARAM param) {
        auto *f = reinterpret_cast<Find *>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        if (process == GetCurrentProcessId() && window != f->Dialog && IsWindowVisible(window) &&
            std::string(name) == "#32770") {
            f->Found = window;
            return FALSE;
        }
        return TRUE;
    }
    static HWND FINDBOX(HWND dialog) {
        Find find{dialog, nullptr};
        EnumWindows(FINDOTHERBOX, reinterpret_cast<LPARAM>(&find));
        return find.Found;
    }
    std::thread Worker;
    std::string Result;
};

// Replace all through the dialog's own procedure; returns the milliseconds
// the dialog reported, and the wall time including its two boxes.
double REPLACEALLBYDIALOG(const std::string &search, const std::string &replacement, double &wall, long &count) {
    OPENSEARCHDIALOG();
    HWND dialog = SearchDialog;
    SetDlgItemTextA(dialog, IDC_SEARCHTEXT, search.c_str());
    SetDlgItemTextA(dialog, IDC_REPLACETEXT, replacement.c_str());
    SCI(SCI_GOTOPOS, 0);
    ReplaceAllAnswerer answerer(dialog);
    const double start = NOW();
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REPLACEALL, BN_CLICKED), 0);
    wall = NOW() - start;
    const std::string result = answerer.RESULT();
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    count = std::atol(result.c_str());
    const size_t at = result.find("Needed time: ");
    return at == std::string::npos ? -1 : std::atof(result.c_str() + at + 13) / 1000;
}

// The bare loop: Scintilla's search in target and replace, nothing else.
double REPLACEALLBARE(const std::string &search, const std::string &replacement, long &count) {
    const double start = NOW();
    SCI(SCI_SETSEARCHFLAGS, 0);
    SCI(SCI_SETTARGETSTART, 0);
    SCI(SCI_SETTARGETEND, static_cast<WPARAM>(SCI(SCI_GETLENGTH)));
    count = 0;
    for (;;) {
        const LRESULT found = SCI(SCI_SEARCHINTARGET, search.size(), reinterpret_cast<LPARAM>(search.c_str()));
        if (found < 0)
            break;
        SCI(SCI_REPLACETARGET, replacement.size(), reinterpret_cast<LPARAM>(replacement.c_str()));
        SCI(SCI_SETTARGETSTART, static_cast<WPARAM>(found + static_cast<LRESULT>(replacement.size())));
        SCI(SCI_SETTARGETEND, static_cast<WPARAM>(SCI(SCI_GETLENGTH)));
        ++count;
    }
    return NOW() - start;
}

void BENCHREPLACEALL(size_t megabytes, size_t occurrences, int runs) {
    const std::string search = "Qmark", replacement = "Rmark7";
    const std::string text = MARKEDLISTING(megabytes << 20, occurrences, search);
    std::printf("Replace all, %.1f MB listing, %zu occurrences, best of %d:\n", text.size() / 1e6, occurrences, runs);
    double dialogBest = 1e9, wallBest = 1e9, bareBest = 1e9;
    long dialogCount = 0, bareCount = 0;
    for (int run = 0; run < runs; ++run) {
        LOADTEXT(text);
        double wall = 0;
        dialogBest = std::min(dialogBest, REPLACEALLBYDIALOG(search, replacement, wall, dialogCount));
        wallBest = std::min(wallBest, wall);
        const double peakDialog = PEAKMB();
        LOADTEXT(text);
        bareBest = std::min(bareBest, REPLACEALLBARE(search, replacement, bareCount));
        if (run == 0)
            std::printf("  peak working set after the dialog's run %.0f MB, after the bare loop %.0f MB\n", peakDialog,
                        PEAKMB());
    }
    std::printf("  through the dialog (its own count)          %8.0f ms  (%ld replaced; %.0f ms with its two boxes)\n",
                dialogBest * 1000, dialogCount, wallBest * 1000);
    std::printf("  bare SCI_SEARCHINTARGET/SCI_REPLACETARGET    %8.0f ms  (%ld replaced)\n", bareBest * 1000, bareCount);
    std::printf("  ratio                                        %8.2f x\n", dialogBest / bareBest);
    std::fflush(stdout);
}

void BENCHTOGGLEALL(size_t megabytes) {
    const std::string text = LISTING(megabytes << 20);
    std::printf("Toggle all Subs below from line 0, %.1f MB listing:\n", text.size() / 1e6);
    std::fflush(stdout);
    LOADTEXT(text);
    double start = NOW();
    SendMessageA(MainWindow, WM_COMMAND, CMD_TOGGLESUBSBELOW, 0);
    const double command = NOW() - start;
    long headers = 0, folded = 0;
    std::vector<LRESULT> lines;
    for (LRESULT line = 0, count = SCI(SCI_GETLINECOUNT); line < count; ++line)
        if (SCI(SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG) {
            ++headers;
            lines.push_back(line);
            folded += SCI(SCI_GETFOLDEXPANDED, line) == 0;
        }
    std::printf("  command 1221 (lexing included)               %8.0f ms  (%ld of %ld Subs folded)\n", command * 1000,
                folded, headers);
    std::fflush(stdout);
    start = NOW();
    SCI(SCI_CLEARALL);
    std::printf("  deleting the whole folded listing            %8.0f ms\n", (NOW() - start) * 1000);
    std::fflush(stdout);

    LOADTEXT(text);
    start = NOW();
    SCI(SCI_COLOURISE, 0, -1);
    const double colour = NOW() - start;
    std::printf("  colouring the whole listing                  %8.0f ms\n", colour * 1000);
    std::fflush(stdout);
    start = NOW();
    SendMessageA(MainWindow, WM_COMMAND, CMD_TOGGLESUBSBELOW, 0);
    const double commandColoured = NOW() - start;
    std::printf("  command 1221 on the coloured listing         %8.0f ms\n", commandColoured * 1000);
    std::fflush(stdout);

    LOADTEXT(text);
    SCI(SCI_COLOURISE, 0, -1);
    start = NOW();
    SendMessageA(EditorControl, WM_SETREDRAW, FALSE, 0);
    for (LRESULT line : lines)
        SCI(SCI_TOGGLEFOLD, line);
    SendMessageA(EditorControl, WM_SETREDRAW, TRUE, 0);
    const double toggles = NOW() - start;
    std::printf("  the toggles alone, redraw off                %8.0f ms\n", toggles * 1000);
    std::printf("  ratio to colouring plus toggles              %8.2f x\n", command / (colour + toggles));
    std::fflush(stdout);

    // The trap: folds applied one by one with redrawing on.
    LOADTEXT(text);
    SCI(SCI_COLOURISE, 0, -1);
    const size_t sample = std::min<size_t>(100, lines.size());
    start = NOW();
    for (size_t i = 0; i < sample; ++i)
        SCI(SCI_TOGGLEFOLD, lines[i]);
    const double redrawn = NOW() - start;
    std::printf("  (the first %zu toggles with redraw on: %.0f ms)\n", sample, redrawn * 1000);
    std::printf("  peak working set %.0f MB\n", PEAKMB());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv) {
    const std::string folder = STARTBENCHWINDOW("quillet-bench-editing");

    // "small" for a quick look; "replace" or "toggle" for one half.
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "small") {
        BENCHREPLACEALL(1, 10000, 1);
        BENCHTOGGLEALL(4);
    }
    if (what.empty() || what == "replace") {
        BENCHREPLACEALL(10, 100000, 3);
        BENCHREPLACEALL(64, 1000000, 2);
    }
    if (what.empty() || what == "toggle")
        BENCHTOGGLEALL(64);
    SCI(SCI_SETSAVEPOINT);
    DestroyWindow(MainWindow);
    DeleteFileA(AppSettings.IniPath.c_str());
    DeleteFileA((folder + "FreeBasicKeywords.txt").c_str());
    DeleteFileA((folder + "ApiKeywords.txt").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
