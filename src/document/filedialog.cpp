#include "document/filedialog.h"

#include <commdlg.h>

#include <vector>

#include "services/config.h"
#include "services/dpi.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "services/fileio.h"
#include "services/pathtext.h"
#include "services/textcodes.h"
#include "services/wintext.h"
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

// A path the dialog hands out through a message (CDM_GETFOLDERPATH,
// CDM_GETFILEPATH): the buffer grows to the length the dialog asks for.
std::string DIALOGPATH(HWND dialog, UINT message) {
    const LRESULT needed = SendMessageW(dialog, message, 0, 0);
    if (needed <= 0)
        return std::string();
    std::wstring buffer(static_cast<std::size_t>(needed) + 1, L'\0');
    SendMessageW(dialog, message, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return UTF8OF(buffer.c_str());
}

void PLACE(HWND panel, int id, int x, int y, int width, int height) {
    MoveWindow(GetDlgItem(panel, id), x, y, width, height, TRUE);
}

// The preview takes the panel's width but for the two buttons at its right.
// The offsets are pixels at 96 DPI, scaled for the panel's.
void LAYOUT(HWND panel) {
    RECT p, s;
    GetWindowRect(panel, &p);
    GetWindowRect(GetDlgItem(panel, IDC_PREVIEW), &s);
    const auto px = [panel](int value) { return SCALEDFOR(panel, value); };
    const int width = p.right - p.left;
    const int top = s.top - p.top;
    PLACE(panel, IDC_PREVIEW, px(5), top, width - px(134), s.bottom - s.top);
    PLACE(panel, IDC_CURRENTDIR, width - px(125), top + px(2), px(135), px(12));
    PLACE(panel, IDC_INCLUDEDIR, width - px(125), top + px(16), px(135), px(12));
}

void SWITCHFOLDER(HWND panel) {
    HWND parent = GetParent(panel);
    HWND field = FILENAMEFIELD(parent);
    const std::string typed = WINDOWTEXT(field);
    if (IsDlgButtonChecked(panel, IDC_CURRENTDIR) == BST_CHECKED) {
        SETWINDOWTEXT(field, RememberedFolder);
    } else {
        const std::string folder = DIALOGPATH(parent, CDM_GETFOLDERPATH);
        const LRESULT type = SendDlgItemMessageW(parent, FILETYPELIST, CB_GETCURSEL, 0, 0);
        RememberedFolder = REMEMBEREDFOLDERTEXT(folder, static_cast<std::int32_t>(type));
        SETWINDOWTEXT(field, AppSettings.IncludeDir + "*.*");
    }
    SendMessageW(parent, WM_COMMAND, IDOK, 0);
    SETWINDOWTEXT(field, typed);
}

void UPDATEPREVIEW(HWND panel, UINT code) {
    const std::string path = DIALOGPATH(GetParent(panel), CDM_GETFILEPATH);
    std::string preview;
    if (code == CDN_SELCHANGE) {
        FileHandle file(OPENFORREADING(path));
        if (file.OK()) {
            char first[PREVIEWMAXBYTES];
            DWORD got = 0;
            if (ReadFile(file.GET(), first, sizeof first, &got, nullptr)) {
                // The first line in the listing's own code page.
                const bool utf8 = STARTSWITHUTF8MARK(first, got);
                const std::size_t skip = utf8 ? UTF8MARK.size() : 0;
                preview = UTF8OFCODEPAGE(PREVIEWTEXT(std::string_view(first + skip, got - skip)),
                                         static_cast<UINT>(LISTINGCODEPAGE(utf8)));
            }
        }
    } else {
        preview = path;
    }
    SETDLGITEMTEXT(panel, IDC_PREVIEW, preview);
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
    // Room for the longest name the dialog hands out; the caller refuses
    // what is too long for a listing.
    constexpr std::size_t NAMECHARS = 32768;
    std::wstring name(NAMECHARS, L'\0');
    const std::wstring start = WIDE(CUTTEXT(startName, MAXPATHCHARS));
    start.copy(name.data(), start.size());
    const std::wstring filter = WIDE(save ? AppSettings.SaveFilter : AppSettings.OpenFilter);
    const std::wstring initialFolder = WIDE(folder);
    OPENFILENAMEW ofn{};
    // The older structure size keeps the classic file name field (edt1) that
    // the panel writes into.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = MainWindow;
    ofn.hInstance = ProgramInstance;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(INITIALFILTERINDEX(startName));
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(NAMECHARS);
    ofn.lpstrInitialDir = initialFolder.c_str();
    // The editor's own current folder stays where it is: a folder browsed to
    // (a downloaded project's) must never become where programs are found.
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_ENABLETEMPLATE |
                OFN_ENABLEHOOK | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    ofn.lpfnHook = FILEDLGHOOK;
    ofn.lpTemplateName = MAKEINTRESOURCEW(IDD_FILEPANEL);
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok)
        return false;
    result = UTF8OF(name.c_str());
    if (filterIndex)
        *filterIndex = static_cast<std::int32_t>(ofn.nFilterIndex);
    return true;
}
