// Direct calls into the editing control.
#include "services/editor.h"

#include "zescin.h"

HWND EditorControl = nullptr;
void *EditorPointer = nullptr;

LRESULT SCI(UINT message, WPARAM wParam, LPARAM lParam) {
    return Scintilla_DirectFunction(EditorPointer, message, wParam, lParam);
}

Sci_Position CURRENTLINE() {
    return SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(SCI(SCI_GETCURRENTPOS)));
}
