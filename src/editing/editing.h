// Editing commands: Sub folding, block comment and indent, auto-indent,
// Search/Replace and Go to line.
#pragma once
#include <windows.h>

#include <cstdint>

#include "Scintilla.h"

// Sub folding.
void TOGGLESUB(Sci_Position line);
void TOGGLESUBSBELOW(Sci_Position line);
void REVEALLINES(Sci_Position start, Sci_Position end);

// Block commands; direction +1 adds, -1 removes.
void BLOCKCOMMENT(int direction);
void BLOCKINDENT(int direction);

// Copies the indentation of the previous line after a typed line break.
void AUTOINDENT(int character);

// Colours a long line as soon as a character is typed into it, so that it
// is laid out once per keystroke instead of twice.
constexpr Sci_Position LONGLINEBYTES = 65536;
void STYLETYPEDLINE(const SCNotification &change);

// The modeless dialogs: each call creates a new one and stores its handle in
// SearchDialog or GoToDialog.
void OPENSEARCHDIALOG();
void OPENGOTODIALOG();

// Puts a dialog at its stored corner, kept margin pixels (at 96 DPI, scaled
// for the dialog's) inside the screen; with nothing stored, stores where the
// system put it.
struct WindowRect;
void PLACEDIALOG(HWND dialog, WindowRect &stored, std::int32_t margin);

// Their dialog procedures.
INT_PTR CALLBACK SEARCHDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GOTODLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The handle a closed modeless dialog leaves behind: one the system rejects,
// so that the message loop no longer offers it messages.
inline HWND CLOSEDDIALOG() {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(-1));
}

// Go to Sub: a modal list of the listing's definitions, narrowed by a
// filter; the chosen one's line comes to the top of the window.
void OPENGOTOSUBDIALOG();
INT_PTR CALLBACK GOTOSUBDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Word completion: Ctrl+Space offers the words that start with the letters
// before the caret; a typed character keeps the open list honest and, with
// AutoComplete on, opens it at the third letter of a word; a change of the
// text tells it whether the listing's definitions may have changed.
void COMPLETEWORD();
void COMPLETIONCHARADDED(const SCNotification &added);
void NOTESUBCHANGE(const SCNotification &change);
