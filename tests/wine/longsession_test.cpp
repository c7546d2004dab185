// A long session in one process: a thousand cycles of open, edit, save,
// export and every dialog opened and closed, then the process's GDI and USER
// objects, kernel handles and private bytes compared with their counts after
// the first cycles. Prints the figures; fails on growth beyond small bounds.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "Scintilla.h"
#include "document/document.h"
#include "editing/editing.h"
#include "help/help.h"
#include "inprocess.h"
#include "settings/settings.h"
#include "ui/resource.h"

namespace {

struct Resources {
    DWORD Gdi = 0;
    DWORD User = 0;
    DWORD Handles = 0;
    SIZE_T PrivateBytes = 0;
};

Resources MEASURE() {
    Resources r;
    HANDLE self = GetCurrentProcess();
    r.Gdi = GetGuiResources(self, GR_GDIOBJECTS);
    r.User = GetGuiResources(self, GR_USEROBJECTS);
    GetProcessHandleCount(self, &r.Handles);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (K32GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters), sizeof counters))
        r.PrivateBytes = counters.PrivateUsage;
    return r;
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

TEST_F(LongSessionTest, AThousandCyclesLeaveNoGrowth) {
    START();
    const std::string listing = Folder.FILE("session.bas");
    const std::string rtf = Folder.FILE("session.rtf");
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "Sub S" + std::to_string(i) + "()\r\n  Print \"line\" ' note\r\nEnd Sub\r\n";
    Folder.WRITEFILE("session.bas", text);

    const auto cycle = [&](int n) {
        AppSettings.CurrentFile = listing;
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

    const int warmUp = 50, cycles = 1000;
    for (int n = 0; n < warmUp; ++n)
        cycle(n);
    const Resources before = MEASURE();
    for (int n = warmUp; n < cycles; ++n) {
        cycle(n);
        if (HasFatalFailure())
            return;
    }
    const Resources after = MEASURE();
    std::printf("after %d cycles: GDI objects %lu, USER objects %lu, handles %lu, private bytes %.1f MB\n", warmUp,
                before.Gdi, before.User, before.Handles, before.PrivateBytes / 1048576.0);
    std::printf("after %d cycles: GDI objects %lu, USER objects %lu, handles %lu, private bytes %.1f MB\n", cycles,
                after.Gdi, after.User, after.Handles, after.PrivateBytes / 1048576.0);
    EXPECT_LE(after.Gdi, before.Gdi + 10);
    EXPECT_LE(after.User, before.User + 10);
    EXPECT_LE(after.Handles, before.Handles + 20);
    EXPECT_LE(after.PrivateBytes, before.PrivateBytes + (16u << 20));
    // The last cycle's work is on disk and the editor holds the file's text.
    EXPECT_NE(Folder.READFILE("session.bas").find("x\n"), std::string::npos);
}

}  // namespace
