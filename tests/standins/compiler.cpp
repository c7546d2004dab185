// Stand-in for a Basic compiler: records its command line and working folder
// in a file beside itself ("<name>.log"), prints what the file
// "<name>.answer" beside it holds (if any) and exits with the code named in
// "<name>.exitcode" (0 when absent).
#include <windows.h>

#include <cstdio>
#include <string>

static std::string Beside(const char *extension) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.rfind('.')) + extension;
}

static std::string ReadAll(const std::string &path) {
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

int main() {
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    if (FILE *log = std::fopen(Beside(".log").c_str(), "ab")) {
        std::fprintf(log, "%s\n%s\n", GetCommandLineA(), folder);
        std::fclose(log);
    }
    const std::string answer = ReadAll(Beside(".answer"));
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    return std::atoi(ReadAll(Beside(".exitcode")).c_str());
}
