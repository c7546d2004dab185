// The modeless Go to dialog: the caret follows the line number while it is
// typed.
#include <windows.h>

#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "services/pathtext.h"
#include "services/wintext.h"
#include "editing/editing.h"
#include "editing/editrules.h"
#include "ui/resource.h"

namespace {

void PLACEGOTO(HWND dialog) {
    PLACEDIALOG(dialog, AppSettings.GoToWndPos, GOTODIALOGMARGIN);
}

// Moves the caret to the start of the line the field names, unfolding the
// Sub around it; the control keeps the line inside the document.
void FOLLOWFIELD(HWND dialog) {
    const EditPosition line = GOTOTARGETLINE(CUTTEXT(DLGITEMTEXT(dialog, IDC_GOTOLINE), GOTOFIELDCHARS));
    SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(line));
    SCI(SCI_GOTOLINE, static_cast<WPARAM>(line));
}

void CLOSEGOTO(HWND dialog) {
    RECT r;
    GetWindowRect(dialog, &r);
    AppSettings.GoToWndPos = WindowRect{r.left, r.top, r.right, r.bottom};
    DestroyWindow(dialog);
    // An older dialog closing leaves a newer one in the loop's service.
    if (GoToDialog == dialog)
        GoToDialog = CLOSEDDIALOG();
    SetFocus(EditorControl);
}

}  // namespace

namespace {

INT_PTR GOTODLGBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        PLACEGOTO(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_GOTOLINE)
            FOLLOWFIELD(dialog);
        else if (LOWORD(wParam) == IDCANCEL)
            CLOSEGOTO(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK GOTODLGPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, INT_PTR{FALSE}, [&] { return GOTODLGBODY(window, message, wParam, lParam); });
}

void OPENGOTODIALOG() {
    GoToDialog = CreateDialogParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_GOTO), MainWindow, GOTODLGPROC, 0);
}
