// Stand-in for a Basic compiler: records its command line and working folder
// in a file beside itself ("<name>.log"), prints what the file
// "<name>.answer" beside it holds (if any) and exits with the code named in
// "<name>.exitcode" (0 when absent).
#include <windows.h>

#include <cstdio>
#include <string>

#include "standin.h"

int main() {
    char folder[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    if (FILE *log = std::fopen(standin::BESIDE(".log").c_str(), "ab")) {
        std::fprintf(log, "%s\n%s\n", GetCommandLineA(), folder);
        std::fclose(log);
    }
    const std::string answer = standin::READALL(standin::BESIDE(".answer"));
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    return std::atoi(standin::READALL(standin::BESIDE(".exitcode")).c_str());
}
