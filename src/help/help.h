// Help: keyword help, the help files, the editor's own help window, About.
#pragma once
#include <windows.h>

// Help keyword (F1), Basic help (Shift+F1), API help (Alt+F1).
void KEYWORDHELP();
void BASICHELP();
void APIHELP();
// Editor help (Ctrl+F1): a new help window each time, stored in HelpWindow.
void OPENEDITORHELP();
// About box owned by the given window.
void SHOWABOUT(HWND owner);
