// The Project settings dialog: target type, resource file and output file of
// the document in the editor, kept in ProjectSettings until the next save.
#include <windows.h>

#include "services/settingsrules.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "document/document.h"
#include "settings/dialogrules.h"
#include "settings/settings.h"
#include "services/wintext.h"
#include "ui/resource.h"

namespace {

HWND LastHintWindow = nullptr;

PROJECTSETTINGSRECORD &MODEL(HWND dialog) {
    return *reinterpret_cast<PROJECTSETTINGSRECORD *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void INITPROJECT(HWND dialog, PROJECTSETTINGSRECORD &project) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&project));
    SETWINDOWTEXT(dialog, PROJECTTITLE(Document.CurrentFile));
    for (int i = 0; i < TARGETCOUNT; ++i)
        SendDlgItemMessageW(dialog, IDC_TARGETTYPE, CB_INSERTSTRING, i,
                            reinterpret_cast<LPARAM>(WIDE(TARGETENTRY(i)).c_str()));
    // A target the list does not have shows the console program.
    if (SendDlgItemMessageW(dialog, IDC_TARGETTYPE, CB_SETCURSEL, static_cast<WPARAM>(project.TargetType), 0) == CB_ERR)
        SendDlgItemMessageW(dialog, IDC_TARGETTYPE, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog, IDC_RESOURCEFILE, EM_LIMITTEXT, MAXPATHCHARS, 0);
    SendDlgItemMessageW(dialog, IDC_OUTPUTFILE, EM_LIMITTEXT, MAXPATHCHARS, 0);
    SETDLGITEMTEXT(dialog, IDC_RESOURCEFILE, CUTTEXT(project.ResourceFile, MAXPATHCHARS));
    SETDLGITEMTEXT(dialog, IDC_OUTPUTFILE, CUTTEXT(project.OutputFile, MAXPATHCHARS));
}

void OKPROJECT(HWND dialog, PROJECTSETTINGSRECORD &project) {
    PROJECTSETTINGSRECORD chosen;
    chosen.TargetType = static_cast<std::int32_t>(SendDlgItemMessageW(dialog, IDC_TARGETTYPE, CB_GETCURSEL, 0, 0));
    chosen.ResourceFile = FIELDTEXT(dialog, IDC_RESOURCEFILE);
    chosen.OutputFile = FIELDTEXT(dialog, IDC_OUTPUTFILE);
    // The names travel in the listing's settings block, in the listing's own
    // code page: a name it cannot hold is not taken, rather than stored as
    // something else.
    for (const std::string *name : {&chosen.ResourceFile, &chosen.OutputFile}) {
        std::string bytes;
        if (!EDITORBYTESOF(*name, bytes)) {
            MESSAGEBOX(dialog, NAMENOTHELDTEXT(*name, EDITORCODEPAGE()), PROGRAMCAPTION, MB_OK | MB_ICONHAND);
            return;
        }
    }
    // A change reaches the file only with the next save, so until then it
    // counts as unsaved, like changed text.
    if (chosen.TargetType != project.TargetType || chosen.ResourceFile != project.ResourceFile ||
        chosen.OutputFile != project.OutputFile) {
        project = chosen;
        Document.ProjectSettingsChanged = true;
    }
    EndDialog(dialog, 0);
}

void COMMANDPROJECT(HWND dialog, int id, int code) {
    switch (id) {
    case IDOK:
        OKPROJECT(dialog, MODEL(dialog));
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_TARGETTYPE:
        if (code == CBN_SELCHANGE) {
            // The hint over the list describes the new selection at once.
            LastHintWindow = nullptr;
            PostMessageW(dialog, WM_SETCURSOR, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_TARGETTYPE)),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        }
        break;
    case IDC_RESOURCEFILEBROWSE:
        BROWSEFORFILE(dialog, IDC_RESOURCEFILE, RESOURCEFILTER());
        break;
    case IDC_OUTPUTFILEBROWSE:
        BROWSEFORFILE(dialog, IDC_OUTPUTFILE, ALLFILESFILTER());
        break;
    default:
        break;
    }
}

}  // namespace

namespace {

INT_PTR PROJECTSETTINGSDLGBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        INITPROJECT(dialog, *reinterpret_cast<PROJECTSETTINGSRECORD *>(lParam));
        return TRUE;
    case WM_COMMAND:
        COMMANDPROJECT(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SETCURSOR:
        UPDATEHINTLINE(dialog, reinterpret_cast<HWND>(wParam), LastHintWindow, [dialog](int id) {
            const int selected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_TARGETTYPE, CB_GETCURSEL, 0, 0));
            return PROJECTHINT(id, selected);
        });
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK PROJECTSETTINGSDLGPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, INT_PTR{FALSE}, [&] { return PROJECTSETTINGSDLGBODY(window, message, wParam, lParam); });
}

int OPENPROJECTSETTINGS() {
    // The dialog shows the listing's own settings, also while its block is
    // still waiting for the timer.
    APPLYFILESETTINGS();
    return static_cast<int>(DialogBoxParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_PROJECTSETTINGS), MainWindow,
                                            PROJECTSETTINGSDLGPROC, reinterpret_cast<LPARAM>(&Document.ProjectSettings)));
}
