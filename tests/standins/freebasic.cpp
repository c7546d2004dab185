// Stand-in for the FreeBASIC compiler. Records its command line, working
// folder and process id in "<name>.rec" beside itself (and, last, the
// performance counter at its end), prints the bytes of
// "<name>.out" and exits with a chosen code. "<name>.cfg" holds lines
// "key=value":
//   exit=N     exit code (0 when absent)
//   fill=N     after the output, realistic lines until N bytes were printed
//   stderr=1   print to standard error instead of standard output
//   sleep=MS   wait this long after printing, before exiting
//   hold=MS    start a child of its own that inherits the output and keeps it
//              open for MS milliseconds after this process has ended; its
//              process id goes to "<name>.child"
#include "standin.h"

using namespace standin;

int main() {
    const std::string commandLine = GetCommandLineA();
    const size_t holding = commandLine.find("--hold-child ");
    if (holding != std::string::npos) {
        Sleep(static_cast<DWORD>(std::atol(commandLine.c_str() + holding + 13)));
        return 0;
    }
    RECORD();
    WRITEOUTPUTS();
    const std::string config = READALL(BESIDE(".cfg"));
    const HANDLE out = GetStdHandle(SETTING(config, "stderr") ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);

    if (const long hold = SETTING(config, "hold")) {
        char self[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string line = "child --hold-child " + std::to_string(hold);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION child{};
        if (CreateProcessA(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
            APPEND(BESIDE(".child"), std::to_string(child.dwProcessId));
            CloseHandle(child.hThread);
            CloseHandle(child.hProcess);
        }
    }

    std::string text = READALL(BESIDE(".out"));
    const size_t fill = static_cast<size_t>(SETTING(config, "fill"));
    for (unsigned n = 1; text.size() < fill; ++n)
        text += "compiling:    module" + std::to_string(n) + ".bas -o module" + std::to_string(n) +
                ".asm (also compiled)\r\n";
    if (fill && text.size() > fill)
        text.resize(fill);
    WRITEOUT(out, text);
    if (const long sleep = SETTING(config, "sleep"))
        Sleep(static_cast<DWORD>(sleep));
    // The moment of ending, on the performance counter every process shares.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    APPEND(BESIDE(".rec"), "end=" + std::to_string(now.QuadPart) + "\r\n");
    return static_cast<int>(SETTING(config, "exit"));
}
