// What the benchmarks share: a clock, the generated listing, and the main
// window started in a folder of its own under the temporary folder.
#pragma once
#include <windows.h>

#include <string>

#include "app/app.h"
#include "document/document.h"

// Seconds from a fixed start, to the performance counter's resolution.
inline double NOW() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A listing as people write them: Subs and Functions with comments,
// declarations, strings, numbers and API calls.
inline std::string LISTING(size_t bytes) {
    std::string text;
    text.reserve(bytes + 4096);
    text += "' Generated listing for the benchmark\r\n#include \"windows.bi\"\r\n\r\n";
    for (unsigned n = 0; text.size() < bytes; ++n) {
        const std::string id = std::to_string(n);
        if (n % 3 == 2) {
            text += "Function Compute" + id + "(ByVal a As Integer, ByVal b As Integer) As Integer\r\n";
            text += "  ' Adds and scales the two values\r\n";
            text += "  Dim result As Integer = (a + b) * " + std::to_string(n % 97) + "\r\n";
            text += "  If result > 1000 Then result = result Mod 1000\r\n";
            text += "  Return result\r\nEnd Function\r\n\r\n";
        } else {
            text += "Sub Handler" + id + "(ByVal hWnd As HWND, ByVal msg As UINT)\r\n";
            text += "  Dim caption As String = \"Handler number " + id + "\"\r\n";
            text += "  ' Tell the user what happened\r\n";
            text += "  If msg = WM_COMMAND Then\r\n";
            text += "    MessageBox(hWnd, \"Command received\", caption, MB_OK Or MB_ICONINFORMATION)\r\n";
            text += "  Else\r\n    Print \"Message \"; msg; \" in \"; caption\r\n  End If\r\nEnd Sub\r\n\r\n";
        }
    }
    return text;
}

// Loads the settings as start-up does, from a fresh folder of the given name
// under the temporary folder (returned with its backslash), and shows the
// main window.
inline std::string STARTBENCHWINDOW(const char *folderName) {
    ProgramInstance = GetModuleHandleA(nullptr);
    LOADPROGRAMPATHS();
    char temp[MAX_PATH + 1];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + folderName + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    AppSettings.ExeDir = folder;
    AppSettings.IniPath = folder + "Quillet.ini";
    NAMESTARTDOCUMENT(LOADFIRSTFILE("/e"), AppSettings.ExeDir);
    LOADSETTINGS();
    REGISTERMAINCLASS(ProgramInstance);
    CREATEMAINWINDOW();
    ShowWindow(MainWindow, SW_SHOW);
    return folder;
}
