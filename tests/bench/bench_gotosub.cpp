// Benchmark of Go to Sub and word completion on the 16 MB listing: the scan
// alone, the dialog until its list is painted, each keystroke of the filter
// until the list is painted again, and Complete word with its words built
// afresh, kept, and built again after a change. Prints figures; it checks
// nothing. Run: scripts/bench.sh gotosub
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "Scintilla.h"
#include "app/app.h"
#include "benchcommon.h"
#include "editing/editing.h"
#include "editing/subrules.h"
#include "ui/resource.h"

namespace {

void LOADTEXT(const std::string &text) {
    SCI(SCI_CLEARALL);
    SCI(SCI_EMPTYUNDOBUFFER);
    SCI(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    SCI(SCI_EMPTYUNDOBUFFER);
    SCI(SCI_SETSAVEPOINT);
    SCI(SCI_GOTOPOS, 0);
}

double MEDIAN(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// What the second thread saw of one opening of the dialog.
struct Opening {
    double Shown = 0;       // the list answers and is painted
    long Rows = 0;
    std::vector<double> Keys;  // each filter keystroke until painted
    std::vector<double> Paints;  // ... of which the paint
    std::vector<long> KeyRows;
    double Widen = 0;          // the filter emptied again
};

// Opens Go to Sub on the main thread and works the dialog from a second one,
// which sees what the user sees: the list painted.
Opening OPENDIALOG(const std::string &needle) {
    Opening seen;
    const double start = NOW();
    std::thread worker([&] {
        HWND dialog = nullptr;
        // Shown once its list is made.
        while (!(dialog = FindWindowW(L"#32770", L"Go to Sub")) || !IsWindowVisible(dialog))
            Sleep(1);
        HWND list = GetDlgItem(dialog, IDC_SUBLIST);
        HWND filter = GetDlgItem(dialog, IDC_SUBFILTER);
        seen.Rows = static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        UpdateWindow(list);
        seen.Shown = NOW() - start;
        for (char c : needle) {
            const double key = NOW();
            SendMessageW(filter, WM_CHAR, static_cast<WPARAM>(c), 1);
            const double paint = NOW();
            UpdateWindow(list);
            seen.Keys.push_back(NOW() - key);
            seen.Paints.push_back(NOW() - paint);
            seen.KeyRows.push_back(static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
        }
        const double widen = NOW();
        SendMessageW(filter, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        UpdateWindow(list);
        seen.Widen = NOW() - widen;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    SendMessageA(MainWindow, WM_COMMAND, CMD_GOTOSUB, 0);
    worker.join();
    return seen;
}

void BENCHGOTOSUB(size_t megabytes, int runs) {
    const std::string text = LISTING(megabytes << 20);
    LOADTEXT(text);
    std::vector<double> scans;
    size_t count = 0;
    for (int run = 0; run < runs; ++run) {
        const double start = NOW();
        const char *listing = reinterpret_cast<const char *>(SCI(SCI_GETRANGEPOINTER, 0, SCI(SCI_GETLENGTH)));
        count = SCANSUBS(std::string_view(listing, text.size())).size();
        scans.push_back(NOW() - start);
    }
    std::printf("Go to Sub, %.1f MB listing, %zu definitions, median of %d:\n", text.size() / 1e6, count, runs);
    std::printf("  the scan alone                               %8.1f ms\n", MEDIAN(scans) * 1000);
    std::fflush(stdout);
    // The needle narrows 57,000 rows to a few: "handler1" keeps a ninth of
    // them, "handler1234" one; each key filters what the one before kept.
    const std::string needle = "handler1234";
    std::vector<double> shown, widen;
    std::vector<std::vector<double>> keys(needle.size()), paints(needle.size());
    Opening last;
    for (int run = 0; run < runs; ++run) {
        last = OPENDIALOG(needle);
        shown.push_back(last.Shown);
        widen.push_back(last.Widen);
        for (size_t k = 0; k < needle.size(); ++k) {
            keys[k].push_back(last.Keys[k]);
            paints[k].push_back(last.Paints[k]);
        }
    }
    // The filter's own share: the same narrowing without the list.
    const char *listing = reinterpret_cast<const char *>(SCI(SCI_GETRANGEPOINTER, 0, SCI(SCI_GETLENGTH)));
    const std::string_view view(listing, text.size());
    const std::vector<SubEntry> entries = SCANSUBS(view);
    std::vector<std::vector<double>> alone(needle.size());
    for (int run = 0; run < runs; ++run) {
        std::vector<std::uint32_t> rows = ALLENTRIES(entries.size());
        for (size_t k = 0; k < needle.size(); ++k) {
            const double start = NOW();
            rows = FILTERENTRIES(view, entries, rows, needle.substr(0, k + 1));
            alone[k].push_back(NOW() - start);
        }
    }
    std::printf("  command to the list painted (scan included)  %8.1f ms  (%ld rows)\n", MEDIAN(shown) * 1000, last.Rows);
    std::printf("  each key of the filter until the list is painted (the paint; the filter alone):\n");
    for (size_t k = 0; k < needle.size(); ++k)
        std::printf("  filter \"%s\"%*s %8.1f ms  (%5.1f ms; %5.1f ms; %ld rows)\n", needle.substr(0, k + 1).c_str(),
                    static_cast<int>(32 - k), "", MEDIAN(keys[k]) * 1000, MEDIAN(paints[k]) * 1000,
                    MEDIAN(alone[k]) * 1000, last.KeyRows[k]);
    std::printf("  the filter emptied again                     %8.1f ms\n", MEDIAN(widen) * 1000);
    std::fflush(stdout);
}

// Ctrl+Space at the end of the listing: the first time builds the words
// (keyword lists and a scan for the names), the next keeps them; a key
// typed in a Sub's body keeps them, a new line has the names built again.
void BENCHCOMPLETION(size_t megabytes) {
    const std::string text = LISTING(megabytes << 20);
    LOADTEXT(text + "x = handler12");
    std::printf("Complete word, %.1f MB listing:\n", text.size() / 1e6);
    const auto complete = [] {
        SCI(SCI_DOCUMENTEND);
        const double start = NOW();
        SendMessageA(MainWindow, WM_COMMAND, CMD_COMPLETEWORD, 0);
        const double took = NOW() - start;
        const bool open = SCI(SCI_AUTOCACTIVE) != 0;
        SCI(SCI_AUTOCCANCEL);
        return std::make_pair(took, open);
    };
    auto first = complete();
    std::printf("  first Ctrl+Space (words built)               %8.1f ms  (list %s)\n", first.first * 1000,
                first.second ? "shown" : "not shown");
    auto again = complete();
    std::printf("  again, nothing changed                       %8.1f ms\n", again.first * 1000);
    SCI(SCI_GOTOPOS, SCI(SCI_GETLINEENDPOSITION, 9));  // a Print line
    SendMessageA(EditorControl, WM_CHAR, 'q', 1);
    auto body = complete();
    std::printf("  after a key in a Sub's body                  %8.1f ms\n", body.first * 1000);
    SCI(SCI_GOTOPOS, SCI(SCI_GETLINEENDPOSITION, 10));
    SendMessageA(EditorControl, WM_KEYDOWN, VK_RETURN, 1);
    auto line = complete();
    std::printf("  after a new line (names built again)         %8.1f ms\n", line.first * 1000);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv) {
    const std::string folder = STARTBENCHWINDOW("quillet-bench-gotosub");
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "small") {
        BENCHGOTOSUB(1, 3);
        BENCHCOMPLETION(1);
    } else {
        BENCHGOTOSUB(16, 5);
        BENCHCOMPLETION(16);
    }
    SCI(SCI_SETSAVEPOINT);
    DestroyWindow(MainWindow);
    DeleteFileA(AppSettings.IniPath.c_str());
    DeleteFileA((folder + "FreeBasicKeywords.txt").c_str());
    DeleteFileA((folder + "ApiKeywords.txt").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
