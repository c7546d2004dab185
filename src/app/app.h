// The top of the program: start-up, the message loop and the main window
// that dispatches every command to the subsystems.
#pragma once
#include <windows.h>

#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/process.h"

int QUILLETMAIN(HINSTANCE instance, const char *tail, int showState);
// Loading steps 1 to 12 of start-up, the first file given to the document.
void LOADSTARTSETTINGS(const char *tail);
// True when the command line named the start file (not the last run's).
extern bool StartFileNamed;
ATOM REGISTERMAINCLASS(HINSTANCE instance);
HWND CREATEMAINWINDOW();
int RUNMESSAGELOOP();

extern "C" __declspec(dllexport) LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
