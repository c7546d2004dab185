// Resource commands (to be built).
#include "resfiles/resfiles.h"

void EDITRESOURCES() {}
void UPDATEPBRESOURCES() {}
