// A long session in one process: cycles of open, edit, save, export and
// every dialog opened and closed, then the process's GDI and USER objects,
// kernel handles and private bytes compared with their counts after the
// first fifth of the cycles. Prints the figures; fails on growth beyond
// small bounds.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "document/document.h"
#include "editing/editing.h"
#include "help/help.h"
#include "inprocess.h"
#include "settings/settings.h"
#include "ui/resource.h"

namespace {

// Wine answers the counting functions with 0, so each kind is also counted
// by its table: GDI, USER and kernel tables all hand out a freed slot before
// a new one, so after taking N more objects than there are free slots, the
// highest slot taken is (live objects + N) in slot units. The difference of
// that figure over a session is the growth of live objects, whatever order
// the free slots are handed out in.
struct Resources {
    DWORD Gdi = 0;
    DWORD User = 0;
    DWORD Handles = 0;
    long GdiLive = 0;
    long UserLive = 0;
    long HandlesLive = 0;
    SIZE_T PrivateBytes = 0;
    SIZE_T PagefileBytes = 0;
};

template <typename Make, typename Free>
long LIVEBYTABLE(int probes, unsigned slotShift, Make make, Free free) {
    std::vector<std::uintptr_t> taken;
    taken.reserve(static_cast<std::size_t>(probes));
    std::uintptr_t highest = 0;
    for (int i = 0; i < probes; ++i) {
        const std::uintptr_t handle = make();
        if (!handle)
            break;
        taken.push_back(handle);
        highest = std::max<std::uintptr_t>(highest, (handle & 0xFFFF) >> slotShift);
    }
    for (auto it = taken.rbegin(); it != taken.rend(); ++it)
        free(*it);
    return static_cast<long>(highest) - static_cast<long>(taken.size());
}

Resources MEASURE() {
    Resources r;
    HANDLE self = GetCurrentProcess();
    r.Gdi = GetGuiResources(self, GR_GDIOBJECTS);
    r.User = GetGuiResources(self, GR_USEROBJECTS);
    GetProcessHandleCount(self, &r.Handles);
    constexpr int probes = 3000;
    r.GdiLive = LIVEBYTABLE(
        probes, 0, [] { return reinterpret_cast<std::uintptr_t>(CreateSolidBrush(RGB(1, 2, 3))); },
        [](std::uintptr_t h) { DeleteObject(reinterpret_cast<HBRUSH>(h)); });
    r.UserLive = LIVEBYTABLE(
        probes, 1, [] { return reinterpret_cast<std::uintptr_t>(CreateMenu()); },
        [](std::uintptr_t h) { DestroyMenu(reinterpret_cast<HMENU>(h)); });
    // Kernel handles are not limited to 16 bits of slot.
    std::vector<HANDLE> events;
    std::uintptr_t highest = 0;
    for (int i = 0; i < probes; ++i) {
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        events.push_back(event);
        highest = std::max(highest, reinterpret_cast<std::uintptr_t>(event) >> 2);
    }
    for (HANDLE event : events)
        CloseHandle(event);
    r.HandlesLive = static_cast<long>(highest) - probes;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (K32GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters), sizeof counters)) {
        r.PrivateBytes = counters.PrivateUsage;
        r.PagefileBytes = counters.PagefileUsage;
    }
    return r;
}

void REPORT(int cycles, const Resources &r) {
    std::printf("after %4d cycles: GDI objects %lu (by table %ld), USER objects %lu (by table %ld), handles %lu "
                "(by table %ld), private bytes %.1f MB, committed %.1f MB\n",
                cycles, r.Gdi, r.GdiLive, r.User, r.UserLive, r.Handles, r.HandlesLive, r.PrivateBytes / 1048576.0,
                r.PagefileBytes / 1048576.0);
}

// Closes the modal dialog or message box that the thread is showing: the
// timer message is dispatched by the dialog's own message loop.
void CALLBACK CLOSEMODAL(HWND, UINT, UINT_PTR id, DWORD) {
    HWND active = GetActiveWindow();
    if (active && active != MainWindow) {
        KillTimer(nullptr, id);
        PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
    }
}

void CLOSENEXTMODAL() {
    SetTimer(nullptr, 0, 1, CLOSEMODAL);
}

void CLOSEMODELESS(HWND dialog) {
    if (dialog && dialog != reinterpret_cast<HWND>(-1) && IsWindow(dialog))
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

class LongSessionTest : public InProcessTest {};

TEST_F(LongSessionTest, ManyCyclesLeaveNoGrowth) {
    START();
    const std::string listing = Folder.FILE("session.bas");
    const std::string rtf = Folder.FILE("session.rtf");
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "Sub S" + std::to_string(i) + "()\r\n  Print \"line\" ' note\r\nEnd Sub\r\n";
    Folder.WRITEFILE("session.bas", text);

    const auto cycle = [&](int n) {
        Document.CurrentFile = listing;
        ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
        PUMP(0);
        CALL(SCI_GOTOPOS, 10);
        CALL(SCI_ADDTEXT, 2, reinterpret_cast<LPARAM>("x\n"));
        TOGGLESUB(1);
        // Saved last, so that the next open has nothing to ask.
        ASSERT_EQ(SAVEFILE(), 0);
        ASSERT_EQ(EXPORTRTF(rtf), 0);
        OPENSEARCHDIALOG();
        CLOSEMODELESS(SearchDialog);
        OPENGOTODIALOG();
        CLOSEMODELESS(GoToDialog);
        OPENEDITORHELP();
        CLOSEMODELESS(HelpWindow);
        CLOSENEXTMODAL();
        OPENFONTSETTINGS();
        CLOSENEXTMODAL();
        OPENGENERALSETTINGS();
        CLOSENEXTMODAL();
        OPENPROJECTSETTINGS();
        CLOSENEXTMODAL();
        SHOWABOUT(MainWindow);
        PUMP(0);
        (void)n;
    };

    // The test command runs a short session; QUILLET_SESSION_CYCLES=1000
    // gives the long one (several minutes under Wine).
    char count[16] = {};
    const int cycles = GetEnvironmentVariableA("QUILLET_SESSION_CYCLES", count, sizeof count) ? std::atoi(count) : 120;
    const int warmUp = cycles / 5;
    for (int n = 0; n < warmUp; ++n)
        cycle(n);
    const Resources before = MEASURE();
    for (int n = warmUp; n < cycles; ++n) {
        cycle(n);
        if (HasFatalFailure())
            return;
    }
    const Resources after = MEASURE();
    REPORT(warmUp, before);
    REPORT(cycles, after);
    EXPECT_LE(after.Gdi, before.Gdi + 10);
    EXPECT_LE(after.User, before.User + 10);
    EXPECT_LE(after.Handles, before.Handles + 20);
    EXPECT_LE(after.GdiLive, before.GdiLive + 10);
    EXPECT_LE(after.UserLive, before.UserLive + 10);
    EXPECT_LE(after.HandlesLive, before.HandlesLive + 20);
    EXPECT_LE(after.PrivateBytes, before.PrivateBytes + (16u << 20));
    EXPECT_LE(after.PagefileBytes, before.PagefileBytes + (16u << 20));
    // The last cycle's work is on disk and the editor holds the file's text.
    EXPECT_NE(Folder.READFILE("session.bas").find("x\n"), std::string::npos);
}

}  // namespace
