#include "services/wintext.h"

#include <vector>

#include "services/pathtext.h"
#include "services/textcodes.h"

std::wstring WIDE(std::string_view utf8) {
    const std::u16string wide = UTF16OFUTF8(utf8);
    return std::wstring(wide.begin(), wide.end());
}

std::string UTF8OF(std::wstring_view wide) {
    return UTF8OFUTF16(std::u16string_view(reinterpret_cast<const char16_t *>(wide.data()), wide.size()));
}

std::string UTF8OF(const wchar_t *wide) {
    return wide ? UTF8OF(std::wstring_view(wide)) : std::string();
}

std::wstring SYSTEMPATH(const std::string &path) {
    std::wstring wide = WIDE(path);
    if (ISLITERALPATH(path))
        return wide;
    // Decided on the full form: a short relative name can resolve past the
    // limit in a deep current folder.
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return wide;
    std::wstring full(needed, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed)
        return wide;
    full.resize(got);
    if (full.size() < LONGFORMLENGTH)
        return wide;
    return WIDE(FILESYSTEMPATH(path, UTF8OF(full)));
}

int MESSAGEBOX(HWND owner, const std::string &text, const char *caption, UINT type) {
    const std::wstring wideCaption = caption ? WIDE(caption) : std::wstring();
    return MessageBoxW(owner, WIDE(text).c_str(), caption ? wideCaption.c_str() : nullptr, type);
}

std::string WINDOWTEXT(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return UTF8OF(text);
}

void SETWINDOWTEXT(HWND window, const std::string &text) {
    SetWindowTextW(window, WIDE(text).c_str());
}

std::string DLGITEMTEXT(HWND dialog, int id) {
    return WINDOWTEXT(GetDlgItem(dialog, id));
}

void SETDLGITEMTEXT(HWND dialog, int id, const std::string &text) {
    SetDlgItemTextW(dialog, id, WIDE(text).c_str());
}

UINT SYSTEMCODEPAGE(UINT codePage) {
    return RESOLVEDCODEPAGE(codePage, GetACP(), GetOEMCP());
}

std::string UTF8OFCODEPAGE(std::string_view bytes, UINT codePage) {
    if (bytes.empty())
        return std::string();
    codePage = SYSTEMCODEPAGE(codePage);
    if (codePage == CP_UTF8)
        return std::string(bytes);
    const int length = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::string();
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), needed);
    return UTF8OF(wide);
}

bool CODEPAGEOFUTF8(std::string_view utf8, UINT codePage, std::string &bytes) {
    bytes.clear();
    if (utf8.empty())
        return true;
    // Resolved first: Windows refuses WC_NO_BEST_FIT_CHARS and the lost
    // flag for UTF-8, also when it is the system's ANSI page, and UTF-8
    // holds every character anyway.
    codePage = SYSTEMCODEPAGE(codePage);
    if (codePage == CP_UTF8) {
        bytes.assign(utf8);
        return true;
    }
    const std::wstring wide = WIDE(utf8);
    const int length = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    // Best-fit mappings would turn a letter into a look-alike: none are taken.
    const int needed =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &lost);
    if (needed <= 0 || lost)
        return false;
    bytes.assign(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(), needed, nullptr, &lost);
    return !lost;
}

bool FITSCODEPAGE(std::string_view utf8, UINT codePage) {
    std::string bytes;
    return CODEPAGEOFUTF8(utf8, codePage, bytes);
}
