// Help: keyword help, the help files, the editor's own help window, About.
#pragma once
#include <windows.h>

#include <string>

// Help keyword (F1), Basic help (Shift+F1), API help (Alt+F1).
void KEYWORDHELP();
void BASICHELP();
void APIHELP();
// Editor help (Ctrl+F1): a new help window each time, stored in HelpWindow.
void OPENEDITORHELP();
// About box owned by the given window.
void SHOWABOUT(HWND owner);

// The word at the caret, rewritten for the help files (at most 1023 bytes);
// 1 when the Basic help file gets it, 0 for the API help file.
int GETHELPKEYWORD(std::string &keyword);

// The editor's help window and the callback that streams a topic into its
// RichEdit control (exported under its plain name).
INT_PTR CALLBACK EDITORHELPDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
extern "C" __declspec(dllexport) DWORD CALLBACK STREAMINEDITORHELP(DWORD_PTR cookie, LPBYTE buffer, LONG size,
                                                                   LONG *delivered);
