// The modeless Search/Replace dialog: search forward from the caret, replace
// the selection, replace all from the anchor to the end of the listing.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <string>

#include "services/settingsrules.h"
#include "services/config.h"
#include "services/dpi.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "services/wintext.h"
#include "editing/editing.h"
#include "editing/editrules.h"
#include "editing/redrawpause.h"
#include "ui/resource.h"

namespace {

const LPCWSTR ARROWCURSOR = MAKEINTRESOURCEW(32512);        // IDC_ARROW
const LPCWSTR WAITCURSOR = MAKEINTRESOURCEW(32514);         // IDC_WAIT
const LPCWSTR APPSTARTINGCURSOR = MAKEINTRESOURCEW(32650);  // IDC_APPSTARTING
constexpr DWORD CURSORFRAMEMS = 16;

// A field's text through a 256-character buffer: at most 255 characters.
std::string FIELDTEXT(HWND dialog, int id) {
    wchar_t buffer[SEARCHFIELDCHARS + 1] = {};
    GetDlgItemTextW(dialog, id, buffer, static_cast<int>(SEARCHFIELDCHARS + 1));
    return UTF8OF(buffer);
}

void ENABLE(HWND dialog, int id, bool enabled) {
    EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

bool CHECKED(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

int FLAGSOF(HWND dialog) {
    return SEARCHFLAGS(CHECKED(dialog, IDC_WHOLEWORD), CHECKED(dialog, IDC_MATCHCASE));
}

// Search and Replace all need a search text.
void UPDATESEARCHBUTTONS(HWND dialog) {
    const bool text = GetWindowTextLengthW(GetDlgItem(dialog, IDC_SEARCHTEXT)) > 0;
    ENABLE(dialog, IDOK, text);
    ENABLE(dialog, IDC_REPLACEALL, text);
}

// Selects from anchor to caret, unfolding the line of lineAt, and scrolls the
// caret into view.
void SELECTSHOWN(Sci_Position anchor, Sci_Position caret, Sci_Position lineAt) {
    SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(lineAt))));
    SCI(SCI_SETCURRENTPOS, static_cast<WPARAM>(caret));
    SCI(SCI_SETANCHOR, static_cast<WPARAM>(anchor));
    SCI(SCI_SCROLLCARET);
}

}  // namespace

void PLACEDIALOG(HWND dialog, WindowRect &stored, std::int32_t margin) {
    RECT r;
    GetWindowRect(dialog, &r);
    if (stored.right == 0) {
        stored = WindowRect{r.left, r.top, r.right, r.bottom};
        return;
    }
    // The stored corner is the screen's pixels; the margin is given at 96 DPI.
    const DialogCorner corner = DIALOGCORNER(stored, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                             SCALEDFOR(dialog, margin));
    MoveWindow(dialog, corner.Left, corner.Top, r.right - r.left, r.bottom - r.top, FALSE);
    stored.left = corner.Left;
    stored.top = corner.Top;
}

namespace {

void ONINITSEARCH(HWND dialog) {
    PLACEDIALOG(dialog, AppSettings.SearchWndPos, SEARCHDIALOGMARGIN);
    SendDlgItemMessageW(dialog, IDC_SEARCHTEXT, EM_LIMITTEXT, SEARCHFIELDCHARS, 0);
    SendDlgItemMessageW(dialog, IDC_REPLACETEXT, EM_LIMITTEXT, SEARCHFIELDCHARS, 0);
    SETDLGITEMTEXT(dialog, IDC_SEARCHTEXT, CUTTEXT(AppSettings.LastSearchKey, SEARCHFIELDCHARS));
    SETDLGITEMTEXT(dialog, IDC_REPLACETEXT, CUTTEXT(AppSettings.LastReplaceKey, SEARCHFIELDCHARS));
    ENABLE(dialog, IDC_REPLACE, false);
    UPDATESEARCHBUTTONS(dialog);
}

void SEARCHNEXT(HWND dialog) {
    // The listing is searched for the typed text in its own code page; a
    // character that code page cannot hold cannot be in the listing.
    std::string text;
    const bool held = EDITORBYTESOF(FIELDTEXT(dialog, IDC_SEARCHTEXT), text);
    Sci_TextToFind find{};
    find.chrg.cpMin = static_cast<Sci_PositionCR>(SCI(SCI_GETCURRENTPOS));
    find.chrg.cpMax = static_cast<Sci_PositionCR>(SCI(SCI_GETLENGTH));
    find.lpstrText = text.c_str();
    if (!held || SCI(SCI_FINDTEXT, static_cast<WPARAM>(FLAGSOF(dialog)), reinterpret_cast<LPARAM>(&find)) < 0) {
        MESSAGEBOX(dialog, "No (more) matches found", PROGRAMCAPTION, MB_ICONHAND);
        return;
    }
    SELECTSHOWN(find.chrgText.cpMin, find.chrgText.cpMax, find.chrgText.cpMin);
    ENABLE(dialog, IDC_REPLACE, true);
}

// The replacement in the listing's code page; false, after saying so, when
// it holds a character that code page cannot hold.
bool REPLACEMENTBYTES(HWND dialog, std::string &replacement) {
    if (EDITORBYTESOF(FIELDTEXT(dialog, IDC_REPLACETEXT), replacement))
        return true;
    MESSAGEBOX(dialog, REPLACEMENTNOTHELDTEXT(EDITORCODEPAGE()), PROGRAMCAPTION, MB_ICONHAND);
    return false;
}

void REPLACESELECTION(HWND dialog) {
    if (SCI(SCI_GETANCHOR) == SCI(SCI_GETCURRENTPOS)) {
        MESSAGEBOX(dialog, NOSELECTIONTEXT(), PROGRAMCAPTION, MB_ICONHAND);
        ENABLE(dialog, IDC_REPLACE, false);
        return;
    }
    std::string replacement;
    if (!REPLACEMENTBYTES(dialog, replacement))
        return;
    SCI(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(replacement.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// Replaces every occurrence from the anchor to the end of the document, which
// grows or shrinks as it goes; replaced text is never searched again.
void REPLACEALL(HWND dialog) {
    if (MESSAGEBOX(dialog, REPLACEALLQUESTION(), "Replace all", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::string search, replacement;
    // A search text the listing's code page cannot hold finds nothing.
    if (!EDITORBYTESOF(FIELDTEXT(dialog, IDC_SEARCHTEXT), search))
        search.clear();
    if (!REPLACEMENTBYTES(dialog, replacement))
        return;
    const auto replacementLength = static_cast<Sci_Position>(replacement.size());
    SCI(SCI_SETSEARCHFLAGS, static_cast<WPARAM>(FLAGSOF(dialog)));
    SCI(SCI_SETTARGETSTART, static_cast<WPARAM>(SCI(SCI_GETANCHOR)));
    SCI(SCI_SETTARGETEND, static_cast<WPARAM>(SCI(SCI_GETLENGTH)));
    std::int64_t count = 0;
    const DWORD started = timeGetTime();
    // The cursor alternates between the two while the loop runs. Setting it
    // costs more than a replacement, so it changes at most once per frame of
    // the display rather than at every replacement.
    const HCURSOR cursors[2] = {LoadCursorW(nullptr, WAITCURSOR), LoadCursorW(nullptr, APPSTARTINGCURSOR)};
    int shown = 0;
    SetCursor(cursors[shown]);
    DWORD changed = started;
    // Nothing is painted while the loop runs; with redrawing on, every folded
    // Sub a replacement unfolds would update the scroll bars at once.
    RedrawPause pause;
    // The control reports memory it could not get in its status. A
    // replacement whose room (text and undo history) is not there is refused
    // whole by the editing component and changes nothing, so the loop stops
    // at the first failure with every replacement made whole and the rest
    // untouched. The room for a growing listing is taken ahead, in steps: in
    // the 32-bit program a grown text needs one free block of its size.
    SCI(SCI_SETSTATUS, SC_STATUS_OK);
    const Sci_Position growth = replacementLength - static_cast<Sci_Position>(search.size());
    Sci_Position room = 0;
    bool outOfMemory = false;
    // An empty search text would match everywhere without moving on.
    while (!search.empty()) {
        if (timeGetTime() - changed >= CURSORFRAMEMS) {
            shown = 1 - shown;
            SetCursor(cursors[shown]);
            changed = timeGetTime();
        }
        const Sci_Position found = SCI(SCI_SEARCHINTARGET, search.size(), reinterpret_cast<LPARAM>(search.c_str()));
        if (found < 0)
            break;
        const Sci_Position before = SCI(SCI_GETLENGTH);
        if (growth > 0 && before + growth > room) {
            room = before + std::max(before / 8, growth);
            SCI(SCI_ALLOCATE, static_cast<WPARAM>(room));
        }
        if (SCI(SCI_GETSTATUS) == SC_STATUS_OK)
            SCI(SCI_REPLACETARGET, replacement.size(), reinterpret_cast<LPARAM>(replacement.c_str()));
        if (SCI(SCI_GETSTATUS) != SC_STATUS_OK) {
            SCI(SCI_SETSTATUS, SC_STATUS_OK);
            outOfMemory = true;
            break;
        }
        SCI(SCI_SETTARGETSTART, static_cast<WPARAM>(found + replacementLength));
        SCI(SCI_SETTARGETEND, static_cast<WPARAM>(SCI(SCI_GETLENGTH)));
        ++count;
    }
    pause.RESUME();
    const DWORD elapsed = timeGetTime() - started;
    SetCursor(LoadCursorW(nullptr, ARROWCURSOR));
    if (outOfMemory) {
        MESSAGEBOX(dialog, REPLACEALLNOMEMORY(count), PROGRAMCAPTION, MB_ICONHAND);
        return;
    }
    const Sci_Position end = SCI(SCI_GETTARGETSTART);
    SELECTSHOWN(end - replacementLength, end, end);
    MESSAGEBOX(dialog, REPLACEALLRESULT(count, elapsed), PROGRAMCAPTION, MB_ICONINFORMATION);
}

void CLOSESEARCH(HWND dialog) {
    AppSettings.LastSearchKey = FIELDTEXT(dialog, IDC_SEARCHTEXT);
    AppSettings.LastReplaceKey = FIELDTEXT(dialog, IDC_REPLACETEXT);
    RECT r;
    GetWindowRect(dialog, &r);
    AppSettings.SearchWndPos = WindowRect{r.left, r.top, r.right, r.bottom};
    DestroyWindow(dialog);
    // An older dialog closing leaves a newer one in the loop's service.
    if (SearchDialog == dialog)
        SearchDialog = CLOSEDDIALOG();
    SetFocus(EditorControl);
}

void ONSEARCHCOMMAND(HWND dialog, int id, int code) {
    switch (id) {
    case IDOK:
        SEARCHNEXT(dialog);
        break;
    case IDC_REPLACE:
        REPLACESELECTION(dialog);
        break;
    case IDC_REPLACEALL:
        REPLACEALL(dialog);
        break;
    case IDC_SEARCHTEXT:
        if (code == EN_CHANGE) {
            ENABLE(dialog, IDC_REPLACE, false);
            UPDATESEARCHBUTTONS(dialog);
        }
        break;
    case IDCANCEL:
        CLOSESEARCH(dialog);
        break;
    default:
        break;
    }
}

}  // namespace

namespace {

INT_PTR SEARCHDLGBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ONINITSEARCH(dialog);
        return TRUE;
    case WM_COMMAND:
        ONSEARCHCOMMAND(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK SEARCHDLGPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, INT_PTR{FALSE}, [&] { return SEARCHDLGBODY(window, message, wParam, lParam); });
}

void OPENSEARCHDIALOG() {
    SearchDialog = CreateDialogParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_SEARCH), MainWindow, SEARCHDLGPROC, 0);
}
