// The Go to Sub dialog: every definition of the listing in a list that a
// filter narrows as it is typed; Enter or a double click takes the caret to
// the chosen one.
//
// The dialog is modal. Its entries are offsets into the editing control's
// own text, which nothing can change while a modal dialog holds the window,
// so the list needs no copy of the texts and cannot go stale; and the list
// serves one jump, after which it closes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "document/document.h"
#include "editing/editing.h"
#include "editing/subrules.h"
#include "services/barrier.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/wintext.h"
#include "ui/resource.h"

namespace {

// Bytes of an entry's text converted for one row; a longer line shows its start.
constexpr std::size_t SHOWNBYTES = 1024;

struct GoToSubList {
    std::string_view Listing;
    std::vector<SubEntry> Entries;
    std::vector<std::uint32_t> All;
    // The rows: indexes into Entries, in listing order.
    std::vector<std::uint32_t> Shown;
    // The filter in the listing's code page as last applied; Held is false
    // when it holds a character the code page lacks (nothing matches then).
    std::string Needle;
    bool Held = true;
};

GoToSubList &LISTOF(HWND dialog) {
    return *reinterpret_cast<GoToSubList *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

HWND LISTVIEW(HWND dialog) {
    return GetDlgItem(dialog, IDC_SUBLIST);
}

int SELECTEDROW(HWND dialog) {
    return static_cast<int>(SendMessageW(LISTVIEW(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// Selects a row; -1 for none, which only an empty list has. The row
// selected before is let go of first: asked to select one row while
// another is selected, the list (Wine's, at least) visits every row to
// let go of the others, which takes tens of milliseconds for a listing's
// many thousand rows. For the same reason no change of every row's state
// (-1) is ever asked for.
void SELECTROW(HWND dialog, int row) {
    HWND list = LISTVIEW(dialog);
    const int before = SELECTEDROW(dialog);
    if (before == row)
        return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    if (before >= 0)
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(before), reinterpret_cast<LPARAM>(&item));
    if (row < 0)
        return;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The row's text as the listing writes it, in the listing's code page.
void ROWTEXT(HWND dialog, NMLVDISPINFOW &info) {
    const GoToSubList &list = LISTOF(dialog);
    if (!(info.item.mask & LVIF_TEXT) || info.item.cchTextMax <= 0 || info.item.iItem < 0 ||
        static_cast<std::size_t>(info.item.iItem) >= list.Shown.size())
        return;
    const SubEntry &entry = list.Entries[list.Shown[static_cast<std::size_t>(info.item.iItem)]];
    std::wstring text = WIDE(TEXTOFEDITORBYTES(ENTRYTEXT(list.Listing, entry).substr(0, SHOWNBYTES)));
    std::replace(text.begin(), text.end(), L'\t', L' ');
    const std::size_t room = static_cast<std::size_t>(info.item.cchTextMax) - 1;
    if (text.size() > room)
        text.resize(room);
    std::copy(text.begin(), text.end(), info.item.pszText);
    info.item.pszText[text.size()] = L'\0';
}

// Narrows the rows to the entries that hold the filter's text. A filter
// that holds the one before narrows the rows already shown.
void REFILTER(HWND dialog) {
    GoToSubList &list = LISTOF(dialog);
    const int row = SELECTEDROW(dialog);
    const std::int64_t selected = row >= 0 && static_cast<std::size_t>(row) < list.Shown.size() ? list.Shown[static_cast<std::size_t>(row)] : -1;
    std::string needle;
    const bool held = EDITORBYTESOF(DLGITEMTEXT(dialog, IDC_SUBFILTER), needle);
    if (!held) {
        list.Shown.clear();
    } else {
        const bool narrower = list.Held && CONTAINSNOCASE(needle, list.Needle);
        list.Shown = FILTERENTRIES(list.Listing, list.Entries, narrower ? list.Shown : list.All, needle);
    }
    list.Needle = std::move(needle);
    list.Held = held;
    SendMessageW(LISTVIEW(dialog), LVM_SETITEMCOUNT, list.Shown.size(), 0);
    // The entry selected before stays selected while it is shown.
    int newRow = list.Shown.empty() ? -1 : 0;
    const auto at = std::lower_bound(list.Shown.begin(), list.Shown.end(), selected);
    if (selected >= 0 && at != list.Shown.end() && *at == selected)
        newRow = static_cast<int>(at - list.Shown.begin());
    SELECTROW(dialog, newRow);
    InvalidateRect(LISTVIEW(dialog), nullptr, TRUE);
}

// The caret to the start of the entry's line, its Sub unfolded when it was
// folded, the line at the top of the window.
bool GOTOROW(HWND dialog, int row) {
    const GoToSubList &list = LISTOF(dialog);
    if (row < 0 || static_cast<std::size_t>(row) >= list.Shown.size())
        return false;
    const auto line = static_cast<WPARAM>(list.Entries[list.Shown[static_cast<std::size_t>(row)]].Line);
    SCI(SCI_ENSUREVISIBLE, line);
    if ((SCI(SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG) && !SCI(SCI_GETFOLDEXPANDED, line))
        SCI(SCI_TOGGLEFOLD, line);
    SCI(SCI_GOTOLINE, line);
    SCI(SCI_SETFIRSTVISIBLELINE, static_cast<WPARAM>(SCI(SCI_VISIBLEFROMDOCLINE, line)));
    return true;
}

// The selected row in the colours of a selection that has the focus: the
// keys of the filter move it while the filter keeps the focus, and a list
// without the focus would show it faintly grey.
LRESULT PAINTROW(HWND dialog, NMLVCUSTOMDRAW &draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    const auto row = static_cast<int>(draw.nmcd.dwItemSpec);
    if (SendMessageW(LISTVIEW(dialog), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) {
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
        draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

// Up, Down, Page Up and Page Down in the filter move the list's selection.
LRESULT CALLBACK FILTERKEYS(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR list) {
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
        SendMessageW(reinterpret_cast<HWND>(list), WM_KEYDOWN, wParam, lParam);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(edit, FILTERKEYS, 1);
    return DefSubclassProc(edit, message, wParam, lParam);
}

void INITLIST(HWND dialog, GoToSubList &list) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&list));
    HWND view = LISTVIEW(dialog);
    SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    RECT client;
    GetClientRect(view, &client);
    column.cx = client.right;
    SendMessageW(view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    // The one column fills the list beside its scroll bar.
    SendMessageW(view, LVM_SETCOLUMNWIDTH, 0, LVSCW_AUTOSIZE_USEHEADER);
    SendMessageW(view, LVM_SETITEMCOUNT, list.Shown.size(), 0);
    if (!list.Entries.empty())
        SELECTROW(dialog, static_cast<int>(ENTRYATLINE(list.Entries, CURRENTLINE())));
    HWND filter = GetDlgItem(dialog, IDC_SUBFILTER);
    SetWindowSubclass(filter, FILTERKEYS, 1, reinterpret_cast<DWORD_PTR>(view));
    SetFocus(filter);
}

INT_PTR GOTOSUBBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        INITLIST(dialog, *reinterpret_cast<GoToSubList *>(lParam));
        return FALSE;  // the focus is set
    case WM_NOTIFY: {
        const auto &header = *reinterpret_cast<const NMHDR *>(lParam);
        if (header.idFrom != IDC_SUBLIST)
            return FALSE;
        switch (header.code) {
        case LVN_GETDISPINFOW:
            ROWTEXT(dialog, *reinterpret_cast<NMLVDISPINFOW *>(lParam));
            return TRUE;
        case NM_CUSTOMDRAW:
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PAINTROW(dialog, *reinterpret_cast<NMLVCUSTOMDRAW *>(lParam)));
            return TRUE;
        case LVN_ODFINDITEMW:
            // Typing in the list finds nothing: the filter is the way to search.
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, -1);
            return TRUE;
        case NM_DBLCLK:
            if (GOTOROW(dialog, reinterpret_cast<const NMITEMACTIVATE *>(lParam)->iItem))
                EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
        }
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SUBFILTER:
            if (HIWORD(wParam) == EN_CHANGE)
                REFILTER(dialog);
            return TRUE;
        case IDOK:
            if (GOTOROW(dialog, SELECTEDROW(dialog)))
                EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK GOTOSUBDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(dialog, INT_PTR{FALSE}, [&] { return GOTOSUBBODY(dialog, message, wParam, lParam); });
}

void OPENGOTOSUBDIALOG() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
    GoToSubList list;
    list.Listing = std::string_view(CONTROLTEXT(), static_cast<std::size_t>(SCI(SCI_GETLENGTH)));
    list.Entries = SCANSUBS(list.Listing);
    list.All = ALLENTRIES(list.Entries.size());
    list.Shown = list.All;
    DialogBoxParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_GOTOSUB), MainWindow, GOTOSUBDLGPROC,
                    reinterpret_cast<LPARAM>(&list));
    SetFocus(EditorControl);
}
