// Settings dialogs (to be built).
#include "settings/settings.h"

int OPENGENERALSETTINGS() { return 0; }
int OPENPROJECTSETTINGS() { return 0; }
