// Editing commands: Sub folding, block comment and indent, auto-indent,
// Search/Replace and Go to line.
#pragma once
#include <windows.h>

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

// The modeless dialogs: each call creates a new one and stores its handle in
// SearchDialog or GoToDialog.
void OPENSEARCHDIALOG();
void OPENGOTODIALOG();
