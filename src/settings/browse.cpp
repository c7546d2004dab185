// The boxes behind the ">>" buttons of the settings dialogs: a file box for
// file fields and the classic box, shown as a directory chooser, for folders.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "services/settingsrules.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "settings/dialogrules.h"
#include "settings/settings.h"
#include "services/wintext.h"
#include "ui/resource.h"

std::string FIELDTEXT(HWND dialog, int id) {
    return CUTTEXT(DLGITEMTEXT(dialog, id), MAXPATHCHARS);
}

int BROWSEFORFILE(HWND dialog, int fieldId, const std::string &filter) {
    const std::string text = FIELDTEXT(dialog, fieldId);
    const std::wstring folder = WIDE(BROWSESTARTFOLDER(text, AppSettings.ExeDir));
    const std::wstring filters = WIDE(filter);
    std::wstring name(MAX_PATH + 1, L'\0');
    const std::wstring start = WIDE(text);
    start.copy(name.data(), std::min<std::size_t>(start.size(), MAX_PATH - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog;
    ofn.lpstrFilter = filters.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&ofn))
        return 0;
    SETDLGITEMTEXT(dialog, fieldId, CUTTEXT(UTF8OF(name.c_str()), MAXPATHCHARS));
    return 1;
}

int BROWSEFORDIRECTORY(HWND dialog, int fieldId) {
    const std::wstring folder = WIDE(DIRECTORYSTARTFOLDER(FIELDTEXT(dialog, fieldId), AppSettings.ExeDir));
    std::wstring name(MAX_PATH + 1, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog;
    ofn.hInstance = ProgramInstance;
    ofn.lpstrFilter = nullptr;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    // Without a title of its own the box would call itself "Save As".
    ofn.lpstrTitle = L"Select directory";
    // The classic box changes the process's current directory while the user
    // moves through the folders; that directory is the answer.
    // It is read and then put back where it was, so the editor's own current
    // folder never stays in a folder the user browsed to.
    ofn.Flags = OFN_ENABLETEMPLATE | OFN_NOVALIDATE | OFN_PATHMUSTEXIST | OFN_NOTESTFILECREATE;
    ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_SELECTDIRECTORY);
    std::wstring before(MAX_PATH + 1, L'\0');
    const DWORD beforeGot = GetCurrentDirectoryW(MAX_PATH, before.data());
    const BOOL chose = GetSaveFileNameW(&ofn);
    std::wstring current(MAX_PATH + 1, L'\0');
    const DWORD got = GetCurrentDirectoryW(MAX_PATH, current.data());
    if (beforeGot > 0 && beforeGot < MAX_PATH)
        SetCurrentDirectoryW(before.c_str());
    if (!chose)
        return 0;
    if (got == 0 || got >= MAX_PATH)
        return 0;
    std::wstring longForm(MAX_PATH + 1, L'\0');
    const DWORD longGot = GetLongPathNameW(current.c_str(), longForm.data(), MAX_PATH);
    const std::string chosen = UTF8OF(longGot > 0 && longGot < MAX_PATH ? longForm.c_str() : current.c_str());
    SETDLGITEMTEXT(dialog, fieldId, DIRECTORYFIELDTEXT(chosen));
    return 1;
}
