// Taking the memory an edit needs before the edit (see room.cpp).
#pragma once
#include <windows.h>

#include <cstddef>

#include "Scintilla.h"

// True for the messages that change or grow the text (and so may need room).
bool NeedsRoom(UINT message);

// Takes what message will need in the document (a Scintilla Document, as
// SCI_GETDOCPOINTER gives it) before it runs. False when that memory is not
// there: the message must then be refused, and the document is unchanged.
// Messages that need nothing taken first give true.
bool MakeRoom(void *document, UINT message, uptr_t wParam, sptr_t lParam);

// Tests only: reservations above this many bytes are refused as if the
// memory were not there (0: no limit).
void SetReservationLimit(std::size_t bytes);
