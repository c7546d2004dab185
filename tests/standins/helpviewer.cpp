// Stand-in for a help program started with the keyword as its command line:
// writes its command line, the number of arguments and each argument on a
// line of its own into "<name>.log" beside itself, then a closing "--end"
// line, and exits.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string log = path;
    log = log.substr(0, log.rfind('.')) + ".log";
    std::string text = std::string(GetCommandLineA()) + "\n" + std::to_string(argc - 1) + "\n";
    for (int i = 1; i < argc; ++i)
        text += std::string(argv[i]) + "\n";
    text += "--end\n";
    // Written under another name and moved, so a reader never sees half of it.
    const std::string part = log + ".part";
    if (FILE *f = std::fopen(part.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        MoveFileExA(part.c_str(), log.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    return 0;
}
