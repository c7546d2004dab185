// Starting another program, with the one retry that Wine's starts need.
#include "services/process.h"

#include <vector>

#include "services/commandline.h"
#include "services/config.h"
#include "services/pathtext.h"

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
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SYSTEMFOLDER(UINT(WINAPI *query)(LPSTR, UINT)) {
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    const UINT got = query(buffer.data(), static_cast<UINT>(buffer.size()));
    return got > 0 && got < buffer.size() ? std::string(buffer.data(), got) : std::string();
}

std::string PATHVARIABLE() {
    const DWORD needed = GetEnvironmentVariableA("PATH", nullptr, 0);
    if (needed == 0)
        return std::string();
    std::string value(needed, '\0');
    const DWORD got = GetEnvironmentVariableA("PATH", value.data(), needed);
    value.resize(got < needed ? got : 0);
    return value;
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
    for (const std::string &folder : TOOLSEARCHFOLDERS(AppSettings.ExeDir, SYSTEMFOLDER(GetSystemDirectoryA),
                                                       SYSTEMFOLDER(GetWindowsDirectoryA), PATHVARIABLE())) {
        if (ISFILE(folder + configured))
            return folder + configured;
        if (!extension && ISFILE(folder + configured + ".exe"))
            return folder + configured + ".exe";
    }
    return AppSettings.ExeDir + configured;
}

bool STARTDETACHED(const std::string &application, const std::string &commandLine, const std::string &folder,
                   WORD showState) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showState;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    PROCESS_INFORMATION process{};
    if (!STARTPROCESS([&] {
            return CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  folder.empty() ? nullptr : folder.c_str(), &startup, &process) != FALSE;
        }))
        return false;
    // The program runs on its own; the editor does not wait for it.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
