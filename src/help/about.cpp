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

namespace {

// A string of the U.S. English, Windows Latin 1 table; empty when absent.
std::string VERSIONSTRING(std::vector<char> &info, const char *name) {
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), &value, &length) || !value)
        return std::string();
    // The reported length counts the terminating zero; a value stored without
    // one is taken whole.
    const char *text = static_cast<const char *>(value);
    const std::size_t end = length;
    std::size_t size = 0;
    while (size < end && text[size] != '\0')
        ++size;
    return std::string(text, size);
}

}  // namespace

void SHOWABOUT(HWND owner) {
    VersionStrings strings;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(AppSettings.ExePath.c_str(), &ignored);
    if (size > 0) {
        std::vector<char> info(size, '\0');
        if (GetFileVersionInfoA(AppSettings.ExePath.c_str(), 0, size, info.data())) {
            strings.Comments = VERSIONSTRING(info, "Comments");
            strings.OriginalFilename = VERSIONSTRING(info, "OriginalFilename");
            strings.LegalCopyright = VERSIONSTRING(info, "LegalCopyright");
            strings.CompanyName = VERSIONSTRING(info, "CompanyName");
            strings.FileVersion = VERSIONSTRING(info, "FileVersion");
        }
    }
    const std::string caption = std::string("About ") + PROGRAMCAPTION;
    MessageBoxA(owner, ABOUTTEXT(strings).c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
}
