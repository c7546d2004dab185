// Settings dialogs: general settings and project settings.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Each shows its modal dialog owned by the main window and returns the
// dialog's result (always 0: nothing waits for it).
int OPENGENERALSETTINGS();
int OPENPROJECTSETTINGS();
// Font and colours: shows it modally; 1 when it ended with OK.
int OPENFONTSETTINGS();

INT_PTR CALLBACK GENERALSETTINGSDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PROJECTSETTINGSDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The file box behind a ">>" button: starts at the field's file, puts the
// chosen path into the field. 1 when a file was chosen, 0 when cancelled.
int BROWSEFORFILE(HWND dialog, int fieldId, const std::string &filter);
// The directory chooser behind a ">>" button of a directory field.
int BROWSEFORDIRECTORY(HWND dialog, int fieldId);

// The hint line of a settings dialog on WM_SETCURSOR: when the mouse is over
// another window than last time (last), the line shows hintOf(control id),
// or nothing over the dialog itself. Resetting last makes the next hover
// set the hint again.
void UPDATEHINTLINE(HWND dialog, HWND under, HWND &last, const std::function<std::string(int)> &hintOf);

// A control's text, cut to the 259 characters a path field holds.
std::string FIELDTEXT(HWND dialog, int id);
