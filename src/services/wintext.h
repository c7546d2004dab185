// Text and paths at the boundary to Windows. Inside the program every path
// and every text the user sees is UTF-8 in a std::string; every call into
// Windows that takes or gives such a text uses the wide (UTF-16) function,
// through these conversions, so that any name Windows allows gets through.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

std::wstring WIDE(std::string_view utf8);
std::string UTF8OF(std::wstring_view wide);
std::string UTF8OF(const wchar_t *wide);

// A path as the file functions take it: as it is while it is short; a path
// of MAX_PATH - 12 characters or more as its full form with the "\\?\"
// prefix, which lifts the limit of MAX_PATH.
std::wstring SYSTEMPATH(const std::string &path);

// Message boxes, window and control texts, in UTF-8. A null caption gives
// the system's own ("Error").
int MESSAGEBOX(HWND owner, const std::string &text, const char *caption, UINT type);
std::string WINDOWTEXT(HWND window);
void SETWINDOWTEXT(HWND window, const std::string &text);
std::string DLGITEMTEXT(HWND dialog, int id);
void SETDLGITEMTEXT(HWND dialog, int id, const std::string &text);

// The number of a code page: CP_ACP and CP_OEMCP resolved to the system's.
UINT SYSTEMCODEPAGE(UINT codePage);
// Text in a code page (CP_ACP, 1251, CP_UTF8, ...) and back.
std::string UTF8OFCODEPAGE(std::string_view bytes, UINT codePage);
// False when a character has no form in the code page (nothing is put in
// its place then).
bool CODEPAGEOFUTF8(std::string_view utf8, UINT codePage, std::string &bytes);
// True when every character of the text has a form in the code page.
bool FITSCODEPAGE(std::string_view utf8, UINT codePage);
