// Walking a document's fold headers (see folds.cpp).
#pragma once
#include "Scintilla.h"

// The first line at or after from that is a fold header in document (a
// Scintilla Document, as SCI_GETDOCPOINTER gives it), or -1 when none is.
sptr_t FoldHeaderNext(void *document, sptr_t from);
