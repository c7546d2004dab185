// Start-up, the message loop and shutdown.
#include <windows.h>

#include "services/settingsrules.h"
#include "app/app.h"
#include "document/document.h"
#include "ui/resource.h"


ATOM REGISTERMAINCLASS(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MAINWNDPROC;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = MAINCLASSNAME;
    return RegisterClassExA(&wc);
}

HWND CREATEMAINWINDOW() {
    MainMenu = LoadMenuA(ProgramInstance, MAKEINTRESOURCEA(IDM_MAINMENU));
    const WindowRect &r = AppSettings.MainWndPos;
    MainWindow = CreateWindowExA(0, MAINCLASSNAME, DEFAULTTITLE, WS_OVERLAPPEDWINDOW, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, MainMenu, ProgramInstance, nullptr);
    return MainWindow;
}

int RUNMESSAGELOOP() {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // A modeless window that is not open has a handle the system rejects.
        if (SearchDialog && IsDialogMessageA(SearchDialog, &message))
            continue;
        if (GoToDialog && IsDialogMessageA(GoToDialog, &message))
            continue;
        if (HelpWindow && IsDialogMessageA(HelpWindow, &message))
            continue;
        if (TranslateAcceleratorA(MainWindow, AccelTable, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void LOADSTARTSETTINGS(const char *tail) {
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
    AccelTable = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAINACCEL));
    const int exitCode = RUNMESSAGELOOP();
    SAVEEXITSETTINGS(Document.CurrentFile);
    UnregisterClassA(MAINCLASSNAME, instance);
    return exitCode;
}
