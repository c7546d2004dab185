// The compiler's errors and warnings in the listing: a marker in the symbol
// margin on each line it names and its messages under the line, which move
// with their lines as the text is edited. They live in the editing control
// only: nothing of them is saved, exported, copied aside or undone.
#pragma once
#include <windows.h>

#include <cstdint>

#include "compiling/errorlist.h"

// Marker numbers of the editing control.
constexpr int WARNINGMARKER = 20;
constexpr int ERRORMARKER = 21;

// Once the editing control is set up: the markers, the margin that shows
// them, the styles of the text under the lines.
void SETUPERRORMARKS();
// The styles of the text under the lines, in the font of the Font dialog;
// after the editor's styles were set again.
void STYLEERRORMARKS();
// Replaces the marks with those of a compile; the messages' texts are in
// codePage (the console's for FreeBASIC output).
void SHOWERRORMARKS(const COMPILERMESSAGELIST &list, UINT codePage);
void CLEARERRORMARKS();
bool HASERRORMARKS();
// Caret to the start of the next (direction 1) or previous (-1) marked line,
// wrapping around, opened and in view. Nothing when there is no mark.
void GOTOERRORMARK(int direction);
// Shows or hides the text under the lines as the setting ErrorText says.
void SHOWERRORTEXT();
