// The Open and Save As dialogs with the preview and folder panel.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Shows the Open (save false) or Save As (save true) dialog starting in
// folder with startName in its file name field. On OK returns true with the
// chosen path, and the selected filter in *filterIndex when given.
bool SHOWFILEDIALOG(bool save, const std::string &folder, const std::string &startName, std::string &result,
                    std::int32_t *filterIndex);

UINT_PTR CALLBACK FILEDLGHOOK(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
