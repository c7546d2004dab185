// The editing control as every subsystem reaches it: its handles, the direct
// call, and the caret's line. Include this, never the main window's file.
#pragma once
#include <windows.h>

#include "Scintilla.h"

extern HWND EditorControl;
extern void *EditorPointer;

// Calls the editing control directly (Scintilla_DirectFunction).
LRESULT SCI(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The line of the caret, counted from 0.
Sci_Position CURRENTLINE();
