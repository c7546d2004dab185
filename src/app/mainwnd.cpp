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
#include "services/wintext.h"
#include "compiling/build.h"
#include "compiling/errormarks.h"
#include "document/document.h"
#include "editing/editing.h"
#include "help/help.h"
#include "resfiles/resfiles.h"
#include "settings/settings.h"
#include "ui/resource.h"

namespace {

// Set when Windows' Restart Manager closes the program: the recovery copy
// outlives the window.
bool KeepRecoveryCopy = false;

void CREATEEDITOR(HWND window) {
    EditorControl = CreateWindowExW(0, L"ScintillaPb", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, window,
                                    nullptr, ProgramInstance, nullptr);
    EditorPointer = reinterpret_cast<void *>(SendMessageW(EditorControl, SCI_GETDIRECTPOINTER, 0, 0));
    SETUPEDITOR();
    SETUPERRORMARKS();
    STARTRECOVERY();
    // Once the window runs: unsaved text of an earlier run is offered first,
    // then the start file opens.
    PostMessageW(window, WM_STARTDOCUMENT, 0, 0);
    // Files dropped from Explorer open like Open does.
    DragAcceptFiles(window, TRUE);
    SetFocus(EditorControl);
}

// Asks for a file name when the text has none, saves, and compiles with the
// configured compiler when the text is on disk.
// Set when the window was closed while the compiler ran.
bool CloseAfterCompile = false;
// Set when Windows closed the program for a restart while the compiler ran.
bool EndAfterCompile = false;

void COMPILECOMMAND(std::int32_t runAfter) {
    // A listing just opened is built with its own project settings, not with
    // those of the one before, also when F5 comes before the timer.
    APPLYFILESETTINGS();
    if (Document.CurrentFile.empty()) {
        if (MESSAGEBOX(MainWindow, "The editor content isn't saved as file. Save now?", PROGRAMCAPTION,
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
    // Windows closed the program for a restart while the compiler ran: the
    // window goes now, with the copy of unsaved text kept.
    if (EndAfterCompile) {
        EndAfterCompile = false;
        CloseAfterCompile = false;
        DestroyWindow(MainWindow);
        return;
    }
    // The window was closed while the compiler ran: it closes now, as it
    // would have then.
    if (CloseAfterCompile) {
        CloseAfterCompile = false;
        PostMessageW(MainWindow, WM_CLOSE, 0, 0);
    }
}

// While the compiler runs, a command cancels it (Compile, Run) or closes the
// window (Exit); every other is refused.
void ONCOMMANDWHILECOMPILING(HWND window, int id) {
    switch (id) {
    case CMD_COMPILE:
    case CMD_RUN:
        CANCELCOMPILE(false);
        break;
    case CMD_EXIT:
        PostMessageW(window, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
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
        PostMessageW(window, WM_CLOSE, 0, 0);
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
        if (OPENFONTSETTINGS() == 1) {
            APPLYSTYLES();
            STYLEERRORMARKS();
        }
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
    case CMD_NEXTERROR:
        GOTOERRORMARK(1);
        break;
    case CMD_PREVIOUSERROR:
        GOTOERRORMARK(-1);
        break;
    case CMD_CLEARERRORMARKS:
        CLEARERRORMARKS();
        break;
    case CMD_ERRORTEXT:
        AppSettings.ErrorText = AppSettings.ErrorText == 1 ? 0 : 1;
        SHOWERRORTEXT();
        break;
    case CMD_GOTOSUB:
        OPENGOTOSUBDIALOG();
        break;
    case CMD_COMPLETEWORD:
        COMPLETEWORD();
        break;
    case CMD_AUTOCOMPLETE:
        AppSettings.AutoComplete = AppSettings.AutoComplete == 1 ? 0 : 1;
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
        NOTEDOCUMENTCHANGE();
        NOTESUBCHANGE(n);
        break;
    case SCN_NEEDSHOWN:
        REVEALLINES(n.position, n.position + n.length);
        break;
    case SCN_CHARADDED:
        if (AppSettings.AutoIndent == 1 && (n.ch == 10 || n.ch == 13))
            AUTOINDENT(n.ch);
        COMPLETIONCHARADDED(n);
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
    const bool marked = HASERRORMARKS();
    SETITEM(CMD_NEXTERROR, marked);
    SETITEM(CMD_PREVIOUSERROR, marked);
    CheckMenuItem(MainMenu, CMD_ERRORTEXT, MF_BYCOMMAND | (AppSettings.ErrorText == 1 ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(MainMenu, CMD_AUTOCOMPLETE, MF_BYCOMMAND | (AppSettings.AutoComplete == 1 ? MF_CHECKED : MF_UNCHECKED));
}

using HtmlHelpProc = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);

void CLOSEHELPVIEWERS(HWND window) {
    WinHelpW(window, WIDE(AppSettings.BasicHelpFile).c_str(), HELP_QUIT, 0);
    if (ENDSWITHNOCASE(AppSettings.ApiHelpFile, ".HLP")) {
        WinHelpW(window, WIDE(AppSettings.ApiHelpFile).c_str(), HELP_QUIT, 0);
    } else if (HMODULE hhctrl = GetModuleHandleW(L"hhctrl.ocx")) {
        // HTML Help is only loaded once the API help has been shown with it.
        if (auto htmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void *>(GetProcAddress(hhctrl, "HtmlHelpW"))))
            htmlHelp(window, WIDE(AppSettings.ApiHelpFile).c_str(), HH_CLOSE_ALL, 0);
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
        if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY), &monitor))
            OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    } else if (!GetWindowRect(window, &r)) {
        return;
    }
    AppSettings.MainWndPos = WindowRect{r.left, r.top, r.right, r.bottom};
}

void ONDESTROY(HWND window) {
    // The window closes after the save question: the text is saved or given
    // up. Only when Windows closes it for a restart is the copy kept.
    if (!KeepRecoveryCopy)
        DROPRECOVERY();
    RECORDWINDOWRECT(window);
    CLOSEHELPVIEWERS(window);
    PostQuitMessage(0);
}

// Unsaved text of an earlier run is offered first, then the start file
// opens. When the text restored is another listing's, a start file named on
// the command line opens in a window of its own rather than not at all.
void STARTDOCUMENT() {
    const std::string start = Document.CurrentFile;
    if (!OFFERRECOVERY(start)) {
        if (!start.empty())
            OPENFILE(OPENCURRENT);
        return;
    }
    if (StartFileNamed && !start.empty() && UPPERTEXT(Document.CurrentFile) != UPPERTEXT(start))
        STARTDETACHED(AppSettings.ExePath, QUOTEARGUMENT(AppSettings.ExePath) + " " + QUOTEARGUMENT(start),
                      AppSettings.ExeDir, SW_SHOW);
}

// A dropped file opens like Open does, with the save prompt first; of several
// files the first is taken.
void ONDROPFILES(HDROP drop) {
    std::wstring wide;
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    if (length != 0 && length != 0xFFFFFFFF) {
        wide.resize(length + 1);
        wide.resize(DragQueryFileW(drop, 0, wide.data(), length + 1));
    }
    DragFinish(drop);
    const std::string path = UTF8OF(wide);
    if (!path.empty())
        OPENPATH(path);
}

// The window moved onto a monitor of another density, or the user changed
// the scale. The system tells the editing control only after this message
// (WM_DPICHANGED_AFTERPARENT); told now, it measures its fonts at the new
// DPI before the margins are sized from them. It ignores the system's word
// that follows, as its DPI is then already the window's. The rectangle is
// the one Windows suggests, which keeps the window under the mouse when it
// is dragged across.
void ONDPICHANGED(HWND window, UINT dpi, const RECT &suggested) {
    SendMessageW(EditorControl, WM_DPICHANGED_AFTERPARENT, 0, 0);
    SCALEEDITORMARGINS(dpi);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
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
        if (COMPILERRUNNING())
            ONCOMMANDWHILECOMPILING(window, LOWORD(wParam));
        else
            ONCOMMAND(window, LOWORD(wParam));
        REPORTREFUSEDEDIT();
        return 0;
    case WM_NOTIFY:
        ONNOTIFY(*reinterpret_cast<const SCNotification *>(lParam));
        return 0;
    case WM_INITMENUPOPUP:
        UPDATEMENUSTATES();
        return 0;
    case WM_DOCUMENTNAMED:
        SETWINDOWTEXT(window, DOCUMENTTITLE());
        return 0;
    case WM_DROPFILES:
        if (COMPILERRUNNING())
            DragFinish(reinterpret_cast<HDROP>(wParam));
        else
            ONDROPFILES(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DPICHANGED:
        ONDPICHANGED(window, HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_QUERYENDSESSION:
        // Windows is ending. Unsaved text is copied aside at once: a session
        // that ends without waiting (an update's restart, a critical end) or
        // while the question waits leaves it for the next start. Otherwise
        // the same question as closing; Cancel, or a save that failed or was
        // cancelled, keeps the session going.
        WRITERECOVERYNOW();
        // A compiler still running is ended first; the session's end
        // goes on as if it had finished.
        CANCELCOMPILE(true);
        if (lParam & (ENDSESSION_CRITICAL | ENDSESSION_CLOSEAPP))
            return TRUE;
        if (!ASKTOSAVE())
            return FALSE;
        DROPRECOVERY();
        return TRUE;
    case WM_ENDSESSION:
        // The process may end without its window being destroyed: the exit
        // settings are written now, as closing writes them.
        if (wParam) {
            ENDRECOVERY();
            RECORDWINDOWRECT(window);
            SAVEEXITSETTINGS(Document.CurrentFile);
            // The Restart Manager (an installer or an update replacing the
            // program) waits for the program to end by itself. The copy of
            // unsaved text is written and stays for the next start.
            if (lParam & ENDSESSION_CLOSEAPP) {
                KeepRecoveryCopy = true;
                // A compile still waits further up this thread's stack: it
                // is ended, and the window goes once it has let go.
                if (COMPILERRUNNING()) {
                    CANCELCOMPILE(true);
                    EndAfterCompile = true;
                } else {
                    DestroyWindow(window);
                }
            }
        }
        return 0;
    case WM_STARTDOCUMENT:
        STARTDOCUMENT();
        return 0;
    case WM_RECOVERYFAILED:
        REPORTRECOVERYFAILURE();
        return 0;
    case WM_CLOSE:
        // The compiler is ended first; the window closes once the compile
        // has let go of it, with the same question as ever.
        if (COMPILERRUNNING()) {
            CloseAfterCompile = true;
            CANCELCOMPILE(true);
            return 0;
        }
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
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, LRESULT{0}, [&] { return MAINWNDBODY(window, message, wParam, lParam); });
}
