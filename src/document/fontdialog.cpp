// Font and colours dialog (to be built).
#include "document/document.h"

int OPENFONTSETTINGS() { return 0; }
