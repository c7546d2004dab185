// Helpers shared by the stand-ins: files beside the stand-in's own program
// file configure it and receive what it records.
#pragma once
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace standin {

// The stand-in's own path with its extension replaced.
inline std::string BESIDE(const char *extension) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.rfind('.')) + extension;
}

inline std::string READALL(const std::string &path) {
    std::string bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, got);
        std::fclose(f);
    }
    return bytes;
}

inline void APPEND(const std::string &path, const std::string &bytes) {
    if (FILE *f = std::fopen(path.c_str(), "ab")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// A number from the "<name>.cfg" file beside the stand-in: a line "key=value".
inline long SETTING(const std::string &config, const std::string &key, long otherwise = 0) {
    const std::string needle = key + "=";
    size_t at = 0;
    while ((at = config.find(needle, at)) != std::string::npos) {
        if (at == 0 || config[at - 1] == '\n')
            return std::atol(config.c_str() + at + needle.size());
        at += needle.size();
    }
    return otherwise;
}

inline std::string CURRENTFOLDER() {
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

// Appends the command line, working folder and process id to "<name>.rec".
inline void RECORD() {
    APPEND(BESIDE(".rec"), "cmd=" + std::string(GetCommandLineA()) + "\r\ndir=" + CURRENTFOLDER() +
                               "\r\npid=" + std::to_string(GetCurrentProcessId()) + "\r\n");
}

// Writes the program it "builds", as a compiler's linker does: each path
// listed in "<name>.writes", a line each, gets the present as its last
// write time.
inline void WRITEOUTPUTS() {
    const std::string list = READALL(BESIDE(".writes"));
    for (size_t at = 0; at < list.size();) {
        size_t end = list.find("\r\n", at);
        if (end == std::string::npos)
            end = list.size();
        const std::string path = list.substr(at, end - at);
        at = end + 2;
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        SetFileTime(file, nullptr, nullptr, &now);
        CloseHandle(file);
    }
}

inline void WRITEOUT(HANDLE out, const std::string &bytes) {
    size_t done = 0;
    while (out && out != INVALID_HANDLE_VALUE && done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(bytes.size() - done < 65536 ? bytes.size() - done : 65536);
        if (!WriteFile(out, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return;
        done += written;
    }
}

}  // namespace standin
