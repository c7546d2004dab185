#include "document/filedialog.h"

#include <commdlg.h>

#include <vector>

#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "services/fileio.h"
#include "document/filerules.h"
#include "ui/resource.h"

namespace {

// The folder the user left when switching to the include folder, with the
// file pattern of the type then selected; kept for the whole run.
std::string RememberedFolder;

const int FILENAMEEDIT = 1152;   // edt1
const int FILENAMECOMBO = 1148;  // cmb13
const int FILETYPELIST = 1136;   // cmb1

HWND FILENAMEFIELD(HWND parent) {
    HWND field = GetDlgItem(parent, FILENAMEEDIT);
    return field ? field : GetDlgItem(parent, FILENAMECOMBO);
}

std::string WINDOWTEXT(HWND window) {
    std::vector<char> buffer(MAX_PATH, '\0');
    const int got = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), got > 0 ? got : 0);
}

void PLACE(HWND panel, int id, int x, int y, int width, int height) {
    MoveWindow(GetDlgItem(panel, id), x, y, width, height, TRUE);
}

void LAYOUT(HWND panel) {
    RECT p, s;
    GetWindowRect(panel, &p);
    GetWindowRect(GetDlgItem(panel, IDC_PREVIEW), &s);
    const int width = p.right - p.left;
    const int top = s.top - p.top;
    PLACE(panel, IDC_PREVIEW, 5, top, width - 134, s.bottom - s.top);
    PLACE(panel, IDC_CURRENTDIR, width - 125, top + 2, 135, 12);
    PLACE(panel, IDC_INCLUDEDIR, width - 125, top + 16, 135, 12);
}

void SWITCHFOLDER(HWND panel) {
    HWND parent = GetParent(panel);
    HWND field = FILENAMEFIELD(parent);
    const std::string typed = WINDOWTEXT(field);
    if (IsDlgButtonChecked(panel, IDC_CURRENTDIR) == BST_CHECKED) {
        SetWindowTextA(field, RememberedFolder.c_str());
    } else {
        std::vector<char> folder(MAX_PATH, '\0');
        SendMessageA(parent, CDM_GETFOLDERPATH, folder.size(), reinterpret_cast<LPARAM>(folder.data()));
        const LRESULT type = SendDlgItemMessageA(parent, FILETYPELIST, CB_GETCURSEL, 0, 0);
        RememberedFolder = REMEMBEREDFOLDERTEXT(folder.data(), static_cast<std::int32_t>(type));
        SetWindowTextA(field, (AppSettings.IncludeDir + "*.*").c_str());
    }
    SendMessageA(parent, WM_COMMAND, IDOK, 0);
    SetWindowTextA(field, typed.c_str());
}

void UPDATEPREVIEW(HWND panel, UINT code) {
    std::vector<char> path(MAX_PATH, '\0');
    SendMessageA(GetParent(panel), CDM_GETFILEPATH, path.size(), reinterpret_cast<LPARAM>(path.data()));
    std::string preview;
    if (code == CDN_SELCHANGE) {
        FileHandle file(OPENFORREADING(path.data()));
        if (file.OK()) {
            char first[PREVIEWMAXBYTES];
            DWORD got = 0;
            if (ReadFile(file.GET(), first, sizeof first, &got, nullptr))
                preview = PREVIEWTEXT(std::string_view(first, got));
        }
    } else {
        preview = path.data();
    }
    SetDlgItemTextA(panel, IDC_PREVIEW, preview.c_str());
}

}  // namespace

namespace {

UINT_PTR FILEDLGHOOKBODY(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        LAYOUT(panel);
        if (!AppSettings.IncludeDir.empty()) {
            CheckDlgButton(panel, IDC_CURRENTDIR, BST_CHECKED);
        } else {
            EnableWindow(GetDlgItem(panel, IDC_CURRENTDIR), FALSE);
            EnableWindow(GetDlgItem(panel, IDC_INCLUDEDIR), FALSE);
        }
        return 1;
    case WM_SIZE:
        LAYOUT(panel);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && (LOWORD(wParam) == IDC_CURRENTDIR || LOWORD(wParam) == IDC_INCLUDEDIR))
            SWITCHFOLDER(panel);
        return 0;
    case WM_NOTIFY: {
        const UINT code = reinterpret_cast<const NMHDR *>(lParam)->code;
        if (code == CDN_SELCHANGE || code == CDN_FOLDERCHANGE)
            UPDATEPREVIEW(panel, code);
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace

UINT_PTR CALLBACK FILEDLGHOOK(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, UINT_PTR{0}, [&] { return FILEDLGHOOKBODY(window, message, wParam, lParam); });
}

bool SHOWFILEDIALOG(bool save, const std::string &folder, const std::string &startName, std::string &result,
                    std::int32_t *filterIndex) {
    std::vector<char> name(MAX_PATH + 1, '\0');
    startName.copy(name.data(), MAX_PATH - 1);
    OPENFILENAMEA ofn{};
    // The older structure size keeps the classic file name field (edt1) that
    // the panel writes into.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = MainWindow;
    ofn.hInstance = ProgramInstance;
    ofn.lpstrFilter = save ? AppSettings.SaveFilter.c_str() : AppSettings.OpenFilter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(INITIALFILTERINDEX(startName));
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    // The editor's own current folder stays where it is: a folder browsed to
    // (a downloaded project's) must never become where programs are found.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLETEMPLATE |
                OFN_ENABLEHOOK | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    ofn.lpfnHook = FILEDLGHOOK;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_FILEPANEL);
    const BOOL ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok)
        return false;
    result = name.data();
    if (filterIndex)
        *filterIndex = static_cast<std::int32_t>(ofn.nFilterIndex);
    return true;
}
