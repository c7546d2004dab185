// Direct calls into the editing control.
#include "services/editor.h"

#include "zescin.h"

#include "services/handles.h"
#include "services/textcodes.h"
#include "services/wintext.h"

HWND EditorControl = nullptr;
void *EditorPointer = nullptr;

LRESULT SCI(UINT message, WPARAM wParam, LPARAM lParam) {
    return Scintilla_DirectFunction(EditorPointer, message, wParam, lParam);
}

const char NOTENOUGHMEMORYTEXT[] = "Not enough memory: nothing was changed.";

bool REPORTREFUSEDEDIT() {
    // After the window's end the pointer names a control that is gone.
    if (!EditorPointer || !IsWindow(EditorControl) || SCI(SCI_GETSTATUS) != SC_STATUS_BADALLOC)
        return false;
    SCI(SCI_SETSTATUS, SC_STATUS_OK);
    MESSAGEBOX(MainWindow, NOTENOUGHMEMORYTEXT, nullptr, MB_ICONHAND);
    // No edit can be asked for while the box is up: what failed meanwhile
    // (a repaint short of memory) is not told again.
    SCI(SCI_SETSTATUS, SC_STATUS_OK);
    return true;
}

Sci_Position CURRENTLINE() {
    return SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(SCI(SCI_GETCURRENTPOS)));
}

int LISTINGCODEPAGE(bool byteOrderMark) {
    return byteOrderMark ? SC_CP_UTF8 : static_cast<int>(GetACP());
}

void SETEDITORCODEPAGE(int codePage) {
    const bool own = codePage == SC_CP_UTF8 || codePage == 932 || codePage == 936 || codePage == 949 ||
                     codePage == 950 || codePage == 1361;
    SCI(SCI_SETCODEPAGE, own ? codePage : 0);
}

void SETUPCHARACTERSET() {
    SCI(SCI_STYLESETCHARACTERSET, STYLE_DEFAULT, CHARACTERSETOF(static_cast<int>(GetACP())));
}

int EDITORCODEPAGE() {
    const int codePage = static_cast<int>(SCI(SCI_GETCODEPAGE));
    return codePage == 0 ? static_cast<int>(GetACP()) : codePage;
}

bool EDITORISUTF8() {
    return EDITORCODEPAGE() == SC_CP_UTF8;
}

bool EDITORBYTESOF(const std::string &text, std::string &bytes) {
    return CODEPAGEOFUTF8(text, static_cast<UINT>(EDITORCODEPAGE()), bytes);
}

std::string TEXTOFEDITORBYTES(std::string_view bytes) {
    return UTF8OFCODEPAGE(bytes, static_cast<UINT>(EDITORCODEPAGE()));
}
