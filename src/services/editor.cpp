// Direct calls into the editing control.
#include "services/editor.h"

#include "zescin.h"

#include "services/textcodes.h"

HWND EditorControl = nullptr;
void *EditorPointer = nullptr;

LRESULT SCI(UINT message, WPARAM wParam, LPARAM lParam) {
    return Scintilla_DirectFunction(EditorPointer, message, wParam, lParam);
}

Sci_Position CURRENTLINE() {
    return SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(SCI(SCI_GETCURRENTPOS)));
}

bool EDITORISUTF8() {
    return SCI(SCI_GETCODEPAGE) == SC_CP_UTF8;
}

std::string EDITORTEXTOF(const std::string &ansi) {
    if (ansi.empty() || !EDITORISUTF8())
        return ansi;
    const int length = static_cast<int>(ansi.size());
    std::u16string wide(ansi.size(), u'\0');
    const int got = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, reinterpret_cast<wchar_t *>(wide.data()),
                                        static_cast<int>(wide.size()));
    wide.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return UTF8OFUTF16(wide);
}

std::string ANSIOFEDITORTEXT(const std::string &text) {
    if (text.empty() || !EDITORISUTF8())
        return text;
    const std::u16string wide = UTF16OFUTF8(text);
    const int needed = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t *>(wide.data()),
                                           static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    std::string ansi(needed > 0 ? static_cast<std::size_t>(needed) : 0, '\0');
    if (needed > 0)
        WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t *>(wide.data()), static_cast<int>(wide.size()),
                            ansi.data(), needed, "?", nullptr);
    return ansi;
}
