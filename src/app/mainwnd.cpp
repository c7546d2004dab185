// The main window: the editing control, command dispatch, the control's
// notifications, menu states, the close prompt and the destroy step.
#include <windows.h>
#include <htmlhelp.h>
#include <shellapi.h>

#include <string>

#include "Scintilla.h"
#include "services/settingsrules.h"
#include "app/app.h"
#include "services/barrier.h"
#include "services/commandline.h"
#include "build/build.h"
#include "document/document.h"
#include "editing/editing.h"
#include "help/help.h"
#include "resfiles/resfiles.h"
#include "settings/settings.h"
#include "ui/resource.h"

namespace {

void CREATEEDITOR(HWND window) {
    EditorControl = CreateWindowExA(0, "ScintillaPb", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, window,
                                    nullptr, ProgramInstance, nullptr);
    EditorPointer = reinterpret_cast<void *>(SendMessageA(EditorControl, SCI_GETDIRECTPOINTER, 0, 0));
    SETUPEDITOR();
    if (!Document.CurrentFile.empty())
        PostMessageA(window, WM_COMMAND, CMD_OPENCURRENT, 0);
    // Files dropped from Explorer open like Open does.
    DragAcceptFiles(window, TRUE);
    SetFocus(EditorControl);
}

// Asks for a file name when the text has none, saves, and compiles with the
// configured compiler when the text is on disk.
void COMPILECOMMAND(std::int32_t runAfter) {
    if (Document.CurrentFile.empty()) {
        if (MessageBoxA(MainWindow, "The editor content isn't saved as file. Save now?", PROGRAMCAPTION,
                        MB_YESNO | MB_ICONHAND) == IDYES)
            SAVEFILEAS();
    }
    if (Document.CurrentFile.empty())
        return;
    if (SAVEFILE() != 0)
        return;
    if (AppSettings.CompilerType == POWERBASICCOMPILER)
        COMPILEPOWERBASIC(runAfter);
    else
        COMPILEFREEBASIC(runAfter);
}

void ONCOMMAND(HWND window, int id) {
    switch (id) {
    case CMD_NEWEMPTY:
        OPENFILE(OPENEMPTY);
        break;
    case CMD_NEWTEMPLATE:
        OPENFILE(OPENTEMPLATE);
        break;
    case CMD_OPEN:
        OPENFILE(OPENDIALOG);
        break;
    case CMD_OPENCURRENT:
        OPENFILE(OPENCURRENT);
        break;
    case CMD_NEWWINDOW:
        // The program named as the file to run, so a folder with blanks (the
        // installer's per-user folder of "First Last") is never split.
        STARTDETACHED(AppSettings.ExePath, QUOTEARGUMENT(AppSettings.ExePath) + " /e", AppSettings.ExeDir, SW_SHOW);
        break;
    case CMD_SAVE:
        SAVEFILE();
        break;
    case CMD_SAVEAS:
        SAVEFILEAS();
        break;
    case CMD_EXIT:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case CMD_UNDO:
        SCI(SCI_UNDO);
        break;
    case CMD_CUT:
        SCI(SCI_CUT);
        break;
    case CMD_COPY:
        SCI(SCI_COPY);
        break;
    case CMD_PASTE:
        SCI(SCI_PASTE);
        break;
    case CMD_SELECTALL:
        SCI(SCI_SELECTALL);
        break;
    case CMD_SEARCH:
        OPENSEARCHDIALOG();
        break;
    case CMD_GOTO:
        OPENGOTODIALOG();
        break;
    case CMD_TOGGLESUB:
        TOGGLESUB(CURRENTLINE());
        break;
    case CMD_TOGGLESUBSBELOW:
        TOGGLESUBSBELOW(CURRENTLINE());
        break;
    case CMD_BLOCKCOMMENT:
        BLOCKCOMMENT(1);
        break;
    case CMD_BLOCKUNCOMMENT:
        BLOCKCOMMENT(-1);
        break;
    case CMD_BLOCKINDENT:
        BLOCKINDENT(1);
        break;
    case CMD_BLOCKUNINDENT:
        BLOCKINDENT(-1);
        break;
    case CMD_COMPILE:
        COMPILECOMMAND(0);
        break;
    case CMD_RUN:
        COMPILECOMMAND(1);
        break;
    case CMD_EDITRESOURCES:
        EDITRESOURCES();
        break;
    case CMD_UPDATEPBRESOURCES:
        UPDATEPBRESOURCES();
        break;
    case CMD_FONTSETTINGS:
        if (OPENFONTSETTINGS() == 1)
            APPLYSTYLES();
        break;
    case CMD_GENERALSETTINGS:
        OPENGENERALSETTINGS();
        break;
    case CMD_PROJECTSETTINGS:
        OPENPROJECTSETTINGS();
        break;
    case CMD_AUTOINDENT:
        AppSettings.AutoIndent = AppSettings.AutoIndent == 1 ? 0 : 1;
        break;
    case CMD_HELPKEYWORD:
        KEYWORDHELP();
        break;
    case CMD_BASICHELP:
        BASICHELP();
        break;
    case CMD_APIHELP:
        APIHELP();
        break;
    case CMD_EDITORHELP:
        OPENEDITORHELP();
        break;
    case CMD_ABOUT:
        SHOWABOUT(window);
        break;
    default:
        break;
    }
}

void ONNOTIFY(const SCNotification &n) {
    switch (n.nmhdr.code) {
    case SCN_MARGINCLICK:
        if (n.margin == 1)
            TOGGLESUB(SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(n.position)));
        break;
    case SCN_MODIFIED:
        if (n.linesAdded != 0)
            UPDATELINENUMBERWIDTH();
        STYLETYPEDLINE(n);
        break;
    case SCN_NEEDSHOWN:
        REVEALLINES(n.position, n.position + n.length);
        break;
    case SCN_CHARADDED:
        if (AppSettings.AutoIndent == 1 && (n.ch == 10 || n.ch == 13))
            AUTOINDENT(n.ch);
        break;
    default:
        break;
    }
}

void SETITEM(UINT id, bool enabled) {
    EnableMenuItem(MainMenu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// Menu states are set by command, whichever popup is opening: the items find
// themselves wherever the menu puts them.
void UPDATEMENUSTATES() {
    const bool named = !Document.CurrentFile.empty();
    const bool powerBasic = AppSettings.CompilerType == POWERBASICCOMPILER;
    SETITEM(CMD_SAVE, named && DOCUMENTMODIFIED());
    SETITEM(CMD_PASTE, IsClipboardFormatAvailable(CF_TEXT) != FALSE);
    SETITEM(CMD_EDITRESOURCES, named);
    SETITEM(CMD_UPDATEPBRESOURCES, named && powerBasic);
    SETITEM(CMD_PROJECTSETTINGS, !powerBasic);
    CheckMenuItem(MainMenu, CMD_AUTOINDENT, MF_BYCOMMAND | (AppSettings.AutoIndent == 1 ? MF_CHECKED : MF_UNCHECKED));
}

using HtmlHelpProc = HWND(WINAPI *)(HWND, LPCSTR, UINT, DWORD_PTR);

void CLOSEHELPVIEWERS(HWND window) {
    WinHelpA(window, AppSettings.BasicHelpFile.c_str(), HELP_QUIT, 0);
    if (ENDSWITHNOCASE(AppSettings.ApiHelpFile, ".HLP")) {
        WinHelpA(window, AppSettings.ApiHelpFile.c_str(), HELP_QUIT, 0);
    } else if (HMODULE hhctrl = GetModuleHandleA("hhctrl.ocx")) {
        // HTML Help is only loaded once the API help has been shown with it.
        if (auto htmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void *>(GetProcAddress(hhctrl, "HtmlHelpA"))))
            htmlHelp(window, AppSettings.ApiHelpFile.c_str(), HH_CLOSE_ALL, 0);
    }
}

// The rectangle the next start restores: the window's own while it is
// shown normally, the normal one while it is minimised or maximised (the
// rectangle of a minimised window is a tiny one far off the screen).
void RECORDWINDOWRECT(HWND window) {
    RECT r;
    if (IsIconic(window) || IsZoomed(window)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (!GetWindowPlacement(window, &placement))
            return;
        r = placement.rcNormalPosition;
        // The normal rectangle is in work-area coordinates: move it to the
        // screen's, which the start-up gives to CreateWindow.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &monitor))
            OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    } else if (!GetWindowRect(window, &r)) {
        return;
    }
    AppSettings.MainWndPos = WindowRect{r.left, r.top, r.right, r.bottom};
}

void ONDESTROY(HWND window) {
    RECORDWINDOWRECT(window);
    CLOSEHELPVIEWERS(window);
    PostQuitMessage(0);
}

// A dropped file opens like Open does, with the save prompt first; of several
// files the first is taken.
void ONDROPFILES(HDROP drop) {
    std::string path;
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    if (length != 0 && length != 0xFFFFFFFF) {
        path.resize(length + 1);
        path.resize(DragQueryFileA(drop, 0, path.data(), length + 1));
    }
    DragFinish(drop);
    if (!path.empty())
        OPENPATH(path);
}

LRESULT MAINWNDBODY(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        MainWindow = window;
        CREATEEDITOR(window);
        return 0;
    case WM_SIZE:
        MoveWindow(EditorControl, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(EditorControl);
        return 0;
    case WM_COMMAND:
        ONCOMMAND(window, LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        ONNOTIFY(*reinterpret_cast<const SCNotification *>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        UPDATEMENUSTATES();
        return 0;
    case WM_DOCUMENTNAMED:
        SetWindowTextA(window, DOCUMENTTITLE().c_str());
        return 0;
    case WM_DROPFILES:
        ONDROPFILES(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_QUERYENDSESSION:
        // Windows is ending: the same question as closing; Cancel, or a save
        // that failed or was cancelled, keeps the session going.
        return ASKTOSAVE() ? TRUE : FALSE;
    case WM_ENDSESSION:
        // The process may end without its window being destroyed: the exit
        // settings are written now, as closing writes them.
        if (wParam) {
            RECORDWINDOWRECT(window);
            SAVEEXITSETTINGS(Document.CurrentFile);
        }
        return 0;
    case WM_CLOSE:
        // A failed or cancelled save keeps the window, so the text is not lost.
        if (!ASKTOSAVE())
            return 0;
        break;
    case WM_DESTROY:
        ONDESTROY(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, LRESULT{0}, [&] { return MAINWNDBODY(window, message, wParam, lParam); });
}
