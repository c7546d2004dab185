#include "services/handles.h"

HINSTANCE ProgramInstance = nullptr;
HWND MainWindow = nullptr;
HWND SearchDialog = nullptr;
HWND GoToDialog = nullptr;
HWND HelpWindow = nullptr;
HMENU MainMenu = nullptr;
HACCEL AccelTable = nullptr;
