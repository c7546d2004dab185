// Stand-in for a PowerBASIC compiler (pbwin.exe, pbcc.exe). Records its
// command line, working folder and process id in "<name>.rec" beside itself
// and writes the bytes of "<name>.out" as the log beside the source it was
// given (the source's name with the extension "log"), as the real one does
// with /L. "<name>.cfg" holds lines "key=value":
//   sleep=MS   wait this long before writing the log and exiting
//   nolog=1    write no log
//   exit=N     exit code
#include "standin.h"

using namespace standin;

int main() {
    RECORD();
    WRITEOUTPUTS();
    const std::string config = READALL(BESIDE(".cfg"));
    if (const long sleep = SETTING(config, "sleep"))
        Sleep(static_cast<DWORD>(sleep));
    const std::string commandLine = GetCommandLineA();
    const size_t options = commandLine.find(" /L /Q ");
    if (options != std::string::npos && !SETTING(config, "nolog")) {
        std::string source = commandLine.substr(options + 7);
        if (!source.empty() && source[0] == '"')
            source = source.substr(1, source.find('"', 1) - 1);
        else
            source = source.substr(0, source.find(' '));
        if (!source.empty()) {
            const size_t dot = source.rfind('.');
            const std::string log = CURRENTFOLDER() + "\\" + source.substr(0, dot) + ".log";
            if (FILE *f = std::fopen(log.c_str(), "wb")) {
                const std::string text = READALL(BESIDE(".out"));
                std::fwrite(text.data(), 1, text.size(), f);
                std::fclose(f);
            }
        }
    }
    return static_cast<int>(SETTING(config, "exit"));
}
