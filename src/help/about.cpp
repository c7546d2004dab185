// The About box: the strings of the program file's own version resource, so
// that what it shows always matches the executable.
#include <windows.h>

#include <string>
#include <vector>

#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "help/help.h"
#include "help/helprules.h"
#include "services/wintext.h"

namespace {

// A string of the U.S. English, Windows Latin 1 table; empty when absent.
std::string VERSIONSTRING(std::vector<char> &info, const char *name) {
    const std::wstring path = L"\\StringFileInfo\\040904E4\\" + WIDE(name);
    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || !value)
        return std::string();
    // The reported length (in characters) counts the terminating zero; a
    // value stored without one is taken whole.
    const wchar_t *text = static_cast<const wchar_t *>(value);
    const std::size_t end = length;
    std::size_t size = 0;
    while (size < end && text[size] != L'\0')
        ++size;
    return UTF8OF(std::wstring_view(text, size));
}

}  // namespace

void SHOWABOUT(HWND owner) {
    VersionStrings strings;
    DWORD ignored = 0;
    const std::wstring program = SYSTEMPATH(AppSettings.ExePath);
    const DWORD size = GetFileVersionInfoSizeW(program.c_str(), &ignored);
    if (size > 0) {
        std::vector<char> info(size, '\0');
        if (GetFileVersionInfoW(program.c_str(), 0, size, info.data())) {
            strings.Comments = VERSIONSTRING(info, "Comments");
            strings.OriginalFilename = VERSIONSTRING(info, "OriginalFilename");
            strings.LegalCopyright = VERSIONSTRING(info, "LegalCopyright");
            strings.CompanyName = VERSIONSTRING(info, "CompanyName");
            strings.FileVersion = VERSIONSTRING(info, "FileVersion");
        }
    }
    const std::string caption = std::string("About ") + PROGRAMCAPTION;
    MESSAGEBOX(owner, ABOUTTEXT(strings), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}
