// Settings dialogs: general settings and project settings.
#pragma once

// Each shows its modal dialog owned by the main window and returns the
// dialog's result (1 for OK).
int OPENGENERALSETTINGS();
int OPENPROJECTSETTINGS();
