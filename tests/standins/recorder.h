// How a stand-in for a tool that the editor only starts records its start:
// the command line, the arguments as the program sees them, the show state
// it was given and its working folder. The record goes to the file named by
// QUILLET_STANDIN_LOG (so that each test reads only its own), else to
// "<name>.log" beside the stand-in.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>

inline int RECORDSTART(const char *who, int argc, char **argv) {
    std::string log(32768, '\0');
    DWORD length = GetEnvironmentVariableA("QUILLET_STANDIN_LOG", log.data(), static_cast<DWORD>(log.size()));
    log.resize(length < log.size() ? length : 0);
    if (log.empty()) {
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        log = path;
        log = log.substr(0, log.rfind('.')) + ".log";
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE *file = std::fopen(log.c_str(), "ab");
    if (!file)
        return 1;
    std::fprintf(file, "program=%s\ncommandline=%s\nshow=%d\nfolder=%s\nargc=%d\n", who, GetCommandLineA(), show, folder,
                 argc);
    for (int i = 1; i < argc; ++i)
        std::fprintf(file, "arg%d=%s\n", i, argv[i]);
    std::fprintf(file, "end\n");
    std::fclose(file);
    return 0;
}
