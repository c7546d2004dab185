// The boxes behind the ">>" buttons of the settings dialogs: a file box for
// file fields and the classic box, shown as a directory chooser, for folders.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "services/settingsrules.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "settings/dialogrules.h"
#include "settings/settings.h"
#include "ui/resource.h"

std::string FIELDTEXT(HWND dialog, int id) {
    std::vector<char> buffer(MAX_PATH, '\0');
    const UINT got = GetDlgItemTextA(dialog, id, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), got < buffer.size() ? got : buffer.size() - 1);
}

int BROWSEFORFILE(HWND dialog, int fieldId, const std::string &filter) {
    const std::string text = FIELDTEXT(dialog, fieldId);
    const std::string folder = BROWSESTARTFOLDER(text, AppSettings.ExeDir);
    std::vector<char> name(MAX_PATH + 1, '\0');
    text.copy(name.data(), MAX_PATH - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn))
        return 0;
    SetDlgItemTextA(dialog, fieldId, CUTTEXT(name.data(), MAXPATHCHARS).c_str());
    return 1;
}

int BROWSEFORDIRECTORY(HWND dialog, int fieldId) {
    const std::string folder = DIRECTORYSTARTFOLDER(FIELDTEXT(dialog, fieldId), AppSettings.ExeDir);
    std::vector<char> name(MAX_PATH + 1, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog;
    ofn.hInstance = ProgramInstance;
    ofn.lpstrFilter = nullptr;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    // Without a title of its own the box would call itself "Save As".
    ofn.lpstrTitle = "Select directory";
    // The classic box changes the process's current directory while the user
    // moves through the folders; that directory is the answer.
    // It is read and then put back where it was, so the editor's own current
    // folder never stays in a folder the user browsed to.
    ofn.Flags = OFN_ENABLETEMPLATE | OFN_NOVALIDATE | OFN_PATHMUSTEXIST | OFN_NOTESTFILECREATE;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_SELECTDIRECTORY);
    std::vector<char> before(MAX_PATH + 1, '\0');
    const DWORD beforeGot = GetCurrentDirectoryA(MAX_PATH, before.data());
    const BOOL chose = GetSaveFileNameA(&ofn);
    std::vector<char> current(MAX_PATH + 1, '\0');
    const DWORD got = GetCurrentDirectoryA(MAX_PATH, current.data());
    if (beforeGot > 0 && beforeGot < MAX_PATH)
        SetCurrentDirectoryA(before.data());
    if (!chose)
        return 0;
    if (got == 0 || got >= MAX_PATH)
        return 0;
    std::vector<char> longForm(MAX_PATH + 1, '\0');
    const DWORD longGot = GetLongPathNameA(current.data(), longForm.data(), MAX_PATH);
    const std::string chosen = longGot > 0 && longGot < MAX_PATH ? longForm.data() : current.data();
    SetDlgItemTextA(dialog, fieldId, DIRECTORYFIELDTEXT(chosen).c_str());
    return 1;
}
