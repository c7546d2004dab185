// Program entry: the command-line tail and the show state from the process
// start-up information, then the start-up procedure.
#include <windows.h>

#include "services/settingsrules.h"
#include "services/wintext.h"
#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int showState = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    // The command line as Windows holds it, in UTF-16: a file name of any
    // characters arrives whole.
    const std::string tail = COMMANDTAIL(UTF8OF(GetCommandLineW()));
    return QUILLETMAIN(instance, tail.c_str(), showState);
}
