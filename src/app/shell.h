// Shell handles and the procedures of the application shell.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "app/appsettings.h"
#include "app/editor.h"

extern HINSTANCE ProgramInstance;
extern HWND MainWindow;
extern HWND SearchDialog;
extern HWND GoToDialog;
extern HWND HelpWindow;
extern HMENU MainMenu;
extern HACCEL AccelTable;

constexpr const char *MAINCLASSNAME = "ZeTarvikClass";
constexpr const char *DEFAULTTITLE = "Quillet by Vandrell";
constexpr const char *PROGRAMCAPTION = "Quillet";

// Timers of the main window, told apart by id. Timer 1 applies the settings
// block of the file just opened.
constexpr UINT_PTR PENDINGSETTINGSTIMER = 1;

// Runs start, a call that creates a process and says whether it did, and
// runs it once more after a moment when it failed with ERROR_INTERNAL_ERROR:
// Wine now and then loses a child while it starts and reports that, with
// nothing wrong in the program or its command line. Any other failure is
// final, and its error code is left for the caller.
bool STARTPROCESS(const std::function<bool()> &start);

// Configuration store.
int FINDPROGRAMFILE(std::string_view name, std::string &result, int alsoParent);
void LOADPROGRAMPATHS();                       // loading step 1
void LOADFIRSTFILE(std::string_view tail);     // loading step 2
void LOADSETTINGS();                           // loading steps 3 to 12
int SAVEEXITSETTINGS();                        // the exit step; 0 when LastFile was written
int WRITESETTINGSTRING(const char *section, const char *key, const std::string &value);

// Start-up and the message loop.
int QUILLETMAIN(HINSTANCE instance, const char *tail, int showState);
ATOM REGISTERMAINCLASS(HINSTANCE instance);
HWND CREATEMAINWINDOW();
int RUNMESSAGELOOP();

extern "C" __declspec(dllexport) LRESULT CALLBACK MAINWNDPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sets the main window's title from CurrentFile.
void UPDATETITLE();
