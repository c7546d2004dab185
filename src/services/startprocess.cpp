// Starting another program, with the one retry that Wine's starts need.
#include "services/process.h"

#include <vector>

#include "services/commandline.h"
#include "services/config.h"
#include "services/fileio.h"
#include "services/pathtext.h"
#include "services/wintext.h"

SHORTNAMESEAMS ShortNameSeams;

bool STARTPROCESS(const std::function<bool()> &start) {
    if (start())
        return true;
    if (GetLastError() != ERROR_INTERNAL_ERROR)
        return false;
    Sleep(50);
    return start();
}

namespace {

bool ISFILE(const std::string &path) {
    const DWORD attributes = FILEATTRIBUTES(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SYSTEMFOLDER(UINT(WINAPI *query)(LPWSTR, UINT)) {
    std::wstring buffer(MAX_PATH + 1, L'\0');
    const UINT got = query(buffer.data(), static_cast<UINT>(buffer.size()));
    return got > 0 && got < buffer.size() ? UTF8OF(std::wstring_view(buffer.data(), got)) : std::string();
}

std::string PATHVARIABLE() {
    const DWORD needed = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (needed == 0)
        return std::string();
    std::wstring value(needed, L'\0');
    const DWORD got = GetEnvironmentVariableW(L"PATH", value.data(), needed);
    value.resize(got < needed ? got : 0);
    return UTF8OF(value);
}

}  // namespace

std::string TOOLPATH(const std::string &configured) {
    if (configured.empty())
        return configured;
    switch (TOOLNAMEKINDOF(configured)) {
    case TOOLABSOLUTE:
        return configured;
    case TOOLRELATIVE:
        return AppSettings.ExeDir + configured;
    case TOOLBARE:
        break;
    }
    const bool extension = FILEPART(configured).find('.') != std::string::npos;
    for (const std::string &folder : TOOLSEARCHFOLDERS(AppSettings.ExeDir, SYSTEMFOLDER(GetSystemDirectoryW),
                                                       SYSTEMFOLDER(GetWindowsDirectoryW), PATHVARIABLE())) {
        if (ISFILE(folder + configured))
            return folder + configured;
        if (!extension && ISFILE(folder + configured + ".exe"))
            return folder + configured + ".exe";
    }
    return AppSettings.ExeDir + configured;
}

std::string SHORTPATHOF(const std::string &path) {
    if (path.empty())
        return std::string();
    if (ShortNameSeams.NoShortNames)
        return FILEATTRIBUTES(path) == INVALID_FILE_ATTRIBUTES ? std::string() : path;
    const std::wstring wide = SYSTEMPATH(path);
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return std::string();
    std::wstring buffer(needed, L'\0');
    const DWORD got = GetShortPathNameW(wide.c_str(), buffer.data(), needed);
    if (got == 0 || got >= needed)
        return std::string();
    buffer.resize(got);
    // The long form's prefix is no part of what another program is given.
    if (buffer.rfind(L"\\\\?\\UNC\\", 0) == 0)
        buffer = L"\\\\" + buffer.substr(8);
    else if (buffer.rfind(L"\\\\?\\", 0) == 0)
        buffer = buffer.substr(4);
    return UTF8OF(buffer);
}

bool ANSIPATHOF(const std::string &path, std::string &result) {
    if (FITSCODEPAGE(path, CP_ACP)) {
        result = path;
        return true;
    }
    const std::string shortened = SHORTPATHOF(path);
    if (!shortened.empty() && FITSCODEPAGE(shortened, CP_ACP)) {
        result = shortened;
        return true;
    }
    const std::string folder = FOLDEROF(path);
    const std::string name = FILEPART(path);
    const std::string shortFolder = SHORTPATHOF(folder);
    if (shortened.empty() && !folder.empty() && !shortFolder.empty() && FITSCODEPAGE(name, CP_ACP) &&
        FITSCODEPAGE(shortFolder, CP_ACP)) {
        result = shortFolder + (shortFolder.back() == '\\' ? "" : "\\") + name;
        return true;
    }
    return false;
}

std::string NOANSIPATHMESSAGE(const std::string &path) {
    return "This path holds characters that the program to be started cannot read from its command line:\r" +
           path +
           "\rIt has no short (8.3) name to use instead. Rename the folder or file with characters of the system's "
           "code page, or enable short names on its drive (fsutil 8dot3name). Nothing was started.";
}

bool STARTDETACHED(const std::string &application, const std::string &commandLine, const std::string &folder,
                   WORD showState) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    std::wstring line = WIDE(commandLine);
    line.push_back(L'\0');
    const std::wstring program = WIDE(application);
    const std::wstring workIn = WIDE(folder);
    PROCESS_INFORMATION process{};
    if (!STARTPROCESS([&] {
            return CreateProcessW(application.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr,
                                  FALSE, 0, nullptr, folder.empty() ? nullptr : workIn.c_str(), &startup,
                                  &process) != FALSE;
        }))
        return false;
    // The program runs on its own; the editor does not wait for it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
