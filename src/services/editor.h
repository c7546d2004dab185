// The editing control as every subsystem reaches it: its handles, the direct
// call, and the caret's line. Include this, never the main window's file.
#pragma once
#include <windows.h>

#include <string>

#include "Scintilla.h"

extern HWND EditorControl;
extern void *EditorPointer;

// Calls the editing control directly (Scintilla_DirectFunction).
LRESULT SCI(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The line of the caret, counted from 0.
Sci_Position CURRENTLINE();

// True when the control holds the listing as UTF-8 (a listing that starts
// with the byte-order mark); otherwise its bytes are the system's ANSI code
// page.
bool EDITORISUTF8();
// Text typed into a dialog (in the system's ANSI code page) as the control
// holds it: unchanged for an ANSI listing, UTF-8 for a UTF-8 listing.
std::string EDITORTEXTOF(const std::string &ansi);
// The control's text in the system's ANSI code page, for programs that take
// ANSI text (the help viewers); a character the code page lacks becomes '?'.
std::string ANSIOFEDITORTEXT(const std::string &text);
