// The main window: the editing control, command dispatch, the control's
// notifications, menu states, the close prompt and the destroy step.
#include <windows.h>
#include <htmlhelp.h>

#include "Scintilla.h"
#include "app/settingsrules.h"
#include "app/shell.h"
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
    if (!AppSettings.CurrentFile.empty())
        PostMessageA(window, WM_COMMAND, CMD_OPENCURRENT, 0);
    SetFocus(EditorControl);
}

// Asks for a file name when the text has none, saves, and compiles with the
// configured compiler when the text is on disk.
void COMPILECOMMAND(std::int32_t runAfter) {
    if (AppSettings.CurrentFile.empty()) {
        if (MessageBoxA(MainWindow, "The editor content isn't saved as file. Save now?", PROGRAMCAPTION,
                        MB_YESNO | MB_ICONHAND) == IDYES)
            SAVEFILEAS();
    }
    if (AppSettings.CurrentFile.empty())
        return;
    if (SAVEFILE() != 0)
        return;
    if (AppSettings.CompilerType == 1)
        COMPILEPOWERBASIC(runAfter);
    else
        COMPILEFREEBASIC(runAfter);
}

void ONCOMMAND(HWND window, int id) {
    switch (id) {
    case CMD_NEWEMPTY:
    case CMD_NEWTEMPLATE:
    case CMD_OPEN:
    case CMD_OPENCURRENT:
        OPENFILE(id);
        break;
    case CMD_NEWWINDOW:
        STARTPROCESS([] { return WinExec((AppSettings.ExePath + " /e").c_str(), SW_SHOW) >= 33; });
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

void SETITEM(HMENU popup, UINT id, bool enabled) {
    EnableMenuItem(popup, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void ONINITMENUPOPUP(HMENU popup, int position) {
    switch (position) {
    case 0:
        SETITEM(popup, CMD_SAVE, !AppSettings.CurrentFile.empty() && DOCUMENTMODIFIED());
        break;
    case 1:
        SETITEM(popup, CMD_PASTE, IsClipboardFormatAvailable(CF_TEXT) != FALSE);
        break;
    case 4:
        if (AppSettings.CurrentFile.empty()) {
            SETITEM(popup, CMD_EDITRESOURCES, false);
            SETITEM(popup, CMD_UPDATEPBRESOURCES, false);
        } else {
            SETITEM(popup, CMD_EDITRESOURCES, true);
            SETITEM(popup, CMD_UPDATEPBRESOURCES, AppSettings.CompilerType == 1);
        }
        break;
    case 5:
        CheckMenuItem(popup, CMD_AUTOINDENT, MF_BYCOMMAND | (AppSettings.AutoIndent == 1 ? MF_CHECKED : MF_UNCHECKED));
        SETITEM(popup, CMD_PROJECTSETTINGS, AppSettings.CompilerType != 1);
        break;
    default:
        break;
    }
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

void ONDESTROY(HWND window) {
    RECT r;
    if (GetWindowRect(window, &r))
        AppSettings.MainWndPos = WindowRect{r.left, r.top, r.right, r.bottom};
    CLOSEHELPVIEWERS(window);
    PostQuitMessage(0);
}

}  // namespace

void UPDATETITLE() {
    SetWindowTextA(MainWindow, AppSettings.CurrentFile.empty() ? DEFAULTTITLE : AppSettings.CurrentFile.c_str());
}

extern "C" __declspec(dllexport) LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_TIMER:
        if (wParam == PENDINGSETTINGSTIMER) {
            KillTimer(window, PENDINGSETTINGSTIMER);
            APPLYFILESETTINGS();
        }
        return 0;
    case WM_INITMENUPOPUP:
        ONINITMENUPOPUP(reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
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
