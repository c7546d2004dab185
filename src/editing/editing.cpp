// Editing commands (to be built).
#include "editing/editing.h"

void TOGGLESUB(Sci_Position) {}
void TOGGLESUBSBELOW(Sci_Position) {}
void REVEALLINES(Sci_Position, Sci_Position) {}
void BLOCKCOMMENT(int) {}
void BLOCKINDENT(int) {}
void AUTOINDENT(int) {}
void OPENSEARCHDIALOG() {}
void OPENGOTODIALOG() {}
