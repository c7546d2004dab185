// Program entry: the command-line tail and the show state from the process
// start-up information, then the start-up procedure.
#include <windows.h>

#include "services/settingsrules.h"
#include "app/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int showState = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    const std::string tail = COMMANDTAIL(GetCommandLineA());
    return QUILLETMAIN(instance, tail.c_str(), showState);
}
