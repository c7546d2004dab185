// Start-up, the message loop and shutdown.
#include <windows.h>

#include "services/dpi.h"
#include "services/dpirules.h"
#include "services/settingsrules.h"
#include "services/wintext.h"
#include "app/app.h"
#include "document/document.h"
#include "ui/resource.h"


ATOM REGISTERMAINCLASS(HINSTANCE instance) {
    const std::wstring className = WIDE(MAINCLASSNAME);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MAINWNDPROC;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PROGRAM));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className.c_str();
    return RegisterClassExW(&wc);
}

HWND CREATEMAINWINDOW() {
    MainMenu = LoadMenuW(ProgramInstance, MAKEINTRESOURCEW(IDM_MAINMENU));
    // A stored rectangle is the screen's pixels and is taken as it is. The
    // default is given at 96 DPI: it is scaled for the DPI of the monitor
    // the window lands on, which only the window can tell, before it shows.
    const bool stored = AppSettings.MainWndPos.right != 0;
    const WindowRect r = stored ? AppSettings.MainWndPos : DEFAULTMAINWNDPOS();
    MainWindow = CreateWindowExW(0, WIDE(MAINCLASSNAME).c_str(), WIDE(DEFAULTTITLE).c_str(), WS_OVERLAPPEDWINDOW,
                                 r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, MainMenu, ProgramInstance,
                                 nullptr);
    if (MainWindow && !stored) {
        const WindowRect scaled = SCALEDRECT(r, WINDOWDPI(MainWindow));
        SetWindowPos(MainWindow, nullptr, scaled.left, scaled.top, scaled.right - scaled.left,
                     scaled.bottom - scaled.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return MainWindow;
}

int RUNMESSAGELOOP() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // A modeless window that is not open has a handle the system rejects.
        const bool handled = (SearchDialog && IsDialogMessageW(SearchDialog, &message)) ||
                             (GoToDialog && IsDialogMessageW(GoToDialog, &message)) ||
                             (HelpWindow && IsDialogMessageW(HelpWindow, &message)) ||
                             TranslateAcceleratorW(MainWindow, AccelTable, &message);
        if (!handled) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        // Whichever key, mouse action (a drop, the control's own menu) or
        // command asked for an edit the control refused for want of memory,
        // it is told here once. Paints, timers and the control's idle
        // colouring edit nothing: a failure there is not told.
        const UINT kind = message.message;
        if ((kind >= WM_KEYFIRST && kind <= WM_KEYLAST) || (kind >= WM_MOUSEFIRST && kind <= WM_MOUSELAST) ||
            kind == WM_COMMAND || kind == WM_IME_COMPOSITION || kind == WM_IME_CHAR)
            REPORTREFUSEDEDIT();
        else if (EditorPointer && IsWindow(EditorControl) && SCI(SCI_GETSTATUS) == SC_STATUS_BADALLOC)
            SCI(SCI_SETSTATUS, SC_STATUS_OK);
    }
    return static_cast<int>(message.wParam);
}

bool StartFileNamed = false;

void LOADSTARTSETTINGS(const char *tail) {
    std::string named;
    StartFileNamed = PARSECOMMANDTAIL(tail ? tail : "", named) == TAIL_FILE;
    LOADPROGRAMPATHS();
    NAMESTARTDOCUMENT(LOADFIRSTFILE(tail ? tail : ""), AppSettings.ExeDir);
    LOADSETTINGS();
}

int QUILLETMAIN(HINSTANCE instance, const char *tail, int showState) {
    ProgramInstance = instance;
    LOADSTARTSETTINGS(tail);
    REGISTERMAINCLASS(instance);
    CREATEMAINWINDOW();
    ShowWindow(MainWindow, showState);
    UpdateWindow(MainWindow);
    AccelTable = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAINACCEL));
    const int exitCode = RUNMESSAGELOOP();
    ENDRECOVERY();
    SAVEEXITSETTINGS(Document.CurrentFile);
    UnregisterClassW(WIDE(MAINCLASSNAME).c_str(), instance);
    return exitCode;
}
