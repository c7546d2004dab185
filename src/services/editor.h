// The editing control as every subsystem reaches it: its handles, the direct
// call, and the caret's line. Include this, never the main window's file.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "Scintilla.h"

extern HWND EditorControl;
extern void *EditorPointer;

// Calls the editing control directly (Scintilla_DirectFunction).
LRESULT SCI(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The line of the caret, counted from 0.
Sci_Position CURRENTLINE();

// What the user is told when the control refused an edit for want of memory.
extern const char NOTENOUGHMEMORYTEXT[];
// After a command or key: an edit the control refused for want of memory
// (its status SC_STATUS_BADALLOC) is told once, and the status reset so that
// the next edit that fits works. True when there was one.
bool REPORTREFUSEDEDIT();

// The code page a listing is edited in: UTF-8 for a listing that starts
// with the byte-order mark, otherwise the system's ANSI code page (which is
// UTF-8 too where Windows runs with the UTF-8 system code page).
int LISTINGCODEPAGE(bool byteOrderMark);
// Makes the control hold its text in a code page (as LISTINGCODEPAGE gives
// it): UTF-8 and the double-byte pages are the control's own code page; a
// single-byte page is code page 0 with the character set of the system's
// page on the default style (SETUPCHARACTERSET), which is what Scintilla
// converts typed, pasted and searched text with.
void SETEDITORCODEPAGE(int codePage);
// The default style's character set: that of the system's ANSI code page.
void SETUPCHARACTERSET();
// The code page of the control's text, and whether it is UTF-8.
int EDITORCODEPAGE();
bool EDITORISUTF8();
// Text of the program (UTF-8) as the control holds it, in its code page.
// False when a character has no form there: such a text cannot occur in
// the listing.
bool EDITORBYTESOF(const std::string &text, std::string &bytes);
// The control's bytes as text of the program (UTF-8).
std::string TEXTOFEDITORBYTES(std::string_view bytes);
