// The General settings dialog: the installation-wide paths, the keyword
// files and the compiler type, written to the INI file on OK.
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

// The control the mouse was last over; kept across openings, so the first
// hover over a control of a new dialog always sets the hint.
HWND LastHintWindow = nullptr;

struct PATHFIELD {
    int Id;
    std::string AppSettingsRecord::*Setting;
};
const PATHFIELD PATHFIELDS[] = {
    {IDC_TEMPLATEDIR, &AppSettingsRecord::TemplateDir},
    {IDC_INCLUDEPATH, &AppSettingsRecord::IncludeDir},
    {IDC_COMPILER, &AppSettingsRecord::Compiler},
    {IDC_PBRESCONVERTER, &AppSettingsRecord::PbResourceConverter},
    {IDC_RESOURCEEDITOR, &AppSettingsRecord::ResourceEditor},
    {IDC_APIHELPFILE, &AppSettingsRecord::ApiHelpFile},
    {IDC_BASICHELPFILE, &AppSettingsRecord::BasicHelpFile},
    {IDC_BASICKEYWORDFILE, &AppSettingsRecord::BasicKeywordFile},
    {IDC_APIKEYWORDFILE, &AppSettingsRecord::ApiKeywordFile},
};

AppSettingsRecord &MODEL(HWND dialog) {
    return *reinterpret_cast<AppSettingsRecord *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool CHECKED(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool EDITED(HWND dialog, int id) {
    return SendDlgItemMessageW(dialog, id, EM_GETMODIFY, 0, 0) != 0;
}

// The resource converter belongs to PowerBASIC only.
void ENABLECONVERTER(HWND dialog) {
    const BOOL powerBasic = CHECKED(dialog, IDC_POWERBASIC) ? TRUE : FALSE;
    EnableWindow(GetDlgItem(dialog, IDC_PBRESCONVERTER), powerBasic);
    EnableWindow(GetDlgItem(dialog, IDC_PBRESCONVERTERBROWSE), powerBasic);
}

void INITGENERAL(HWND dialog, AppSettingsRecord &settings) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&settings));
    for (const PATHFIELD &field : PATHFIELDS) {
        SendDlgItemMessageW(dialog, field.Id, EM_LIMITTEXT, MAXPATHCHARS, 0);
        SETDLGITEMTEXT(dialog, field.Id, CUTTEXT(settings.*field.Setting, MAXPATHCHARS));
    }
    SendDlgItemMessageW(dialog, IDC_BASICKEYWORDFILE, EM_SETMODIFY, 0, 0);
    SendDlgItemMessageW(dialog, IDC_APIKEYWORDFILE, EM_SETMODIFY, 0, 0);
    CheckRadioButton(dialog, IDC_FREEBASIC, IDC_POWERBASIC, settings.CompilerType == POWERBASICCOMPILER ? IDC_POWERBASIC : IDC_FREEBASIC);
    ENABLECONVERTER(dialog);
}

GENERALPATHS READPATHS(HWND dialog) {
    GENERALPATHS paths;
    paths.TemplateDir = FIELDTEXT(dialog, IDC_TEMPLATEDIR);
    paths.IncludeDir = FIELDTEXT(dialog, IDC_INCLUDEPATH);
    paths.Compiler = FIELDTEXT(dialog, IDC_COMPILER);
    paths.PbResourceConverter = FIELDTEXT(dialog, IDC_PBRESCONVERTER);
    paths.ResourceEditor = FIELDTEXT(dialog, IDC_RESOURCEEDITOR);
    paths.ApiHelpFile = FIELDTEXT(dialog, IDC_APIHELPFILE);
    paths.BasicHelpFile = FIELDTEXT(dialog, IDC_BASICHELPFILE);
    paths.BasicKeywordFile = FIELDTEXT(dialog, IDC_BASICKEYWORDFILE);
    paths.ApiKeywordFile = FIELDTEXT(dialog, IDC_APIKEYWORDFILE);
    return paths;
}

void OKGENERAL(HWND dialog, AppSettingsRecord &settings) {
    // The compiler type is taken before the question, and kept even when the
    // user then stays in the dialog or cancels it.
    if (CHECKED(dialog, IDC_FREEBASIC))
        settings.CompilerType = FREEBASICCOMPILER;
    else if (CHECKED(dialog, IDC_POWERBASIC))
        settings.CompilerType = POWERBASICCOMPILER;
    const std::string question = COMPILERTYPEQUESTION(settings.CompilerType, FIELDTEXT(dialog, IDC_BASICKEYWORDFILE));
    if (!question.empty() &&
        MESSAGEBOX(dialog, question, QUESTIONCAPTION, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    const GENERALPATHS paths = READPATHS(dialog);
    settings.TemplateDir = paths.TemplateDir;
    settings.IncludeDir = paths.IncludeDir;
    settings.Compiler = paths.Compiler;
    settings.PbResourceConverter = paths.PbResourceConverter;
    settings.ResourceEditor = paths.ResourceEditor;
    settings.ApiHelpFile = paths.ApiHelpFile;
    settings.BasicHelpFile = paths.BasicHelpFile;
    settings.BasicKeywordFile = paths.BasicKeywordFile;
    settings.ApiKeywordFile = paths.ApiKeywordFile;
    const std::vector<INIWRITE> writes = GENERALSETTINGSWRITES(paths, settings.CompilerType);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        // When the file cannot be written at all, the first failure says so.
        if (WRITESETTINGSTRING(writes[i].Section, writes[i].Key, writes[i].Value) != 0 && i == 0)
            break;
    }
    // Only names typed into the fields reload the lists, and only once.
    if (EDITED(dialog, IDC_BASICKEYWORDFILE) || EDITED(dialog, IDC_APIKEYWORDFILE))
        LOADKEYWORDS();
    EndDialog(dialog, 0);
}

void COMMANDGENERAL(HWND dialog, int id) {
    switch (id) {
    case IDOK:
        OKGENERAL(dialog, MODEL(dialog));
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_FREEBASIC:
    case IDC_POWERBASIC:
        ENABLECONVERTER(dialog);
        break;
    case IDC_TEMPLATEDIRBROWSE:
    case IDC_INCLUDEPATHBROWSE:
        BROWSEFORDIRECTORY(dialog, id - 1);
        break;
    case IDC_COMPILERBROWSE:
    case IDC_PBRESCONVERTERBROWSE:
    case IDC_RESOURCEEDITORBROWSE:
    case IDC_APIHELPFILEBROWSE:
    case IDC_BASICHELPFILEBROWSE:
    case IDC_BASICKEYWORDFILEBROWSE:
    case IDC_APIKEYWORDFILEBROWSE:
        BROWSEFORFILE(dialog, id - 1, GENERALBROWSEFILTER(id));
        break;
    default:
        break;
    }
}

}  // namespace

namespace {

INT_PTR GENERALSETTINGSDLGBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        INITGENERAL(dialog, *reinterpret_cast<AppSettingsRecord *>(lParam));
        return TRUE;
    case WM_COMMAND:
        COMMANDGENERAL(dialog, LOWORD(wParam));
        return TRUE;
    case WM_SETCURSOR:
        UPDATEHINTLINE(dialog, reinterpret_cast<HWND>(wParam), LastHintWindow, GENERALHINT);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK GENERALSETTINGSDLGPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, INT_PTR{FALSE}, [&] { return GENERALSETTINGSDLGBODY(window, message, wParam, lParam); });
}

void UPDATEHINTLINE(HWND dialog, HWND under, HWND &last, const std::function<std::string(int)> &hintOf) {
    if (under == last)
        return;
    last = under;
    const std::string hint = under == dialog ? std::string() : hintOf(GetDlgCtrlID(under));
    SETDLGITEMTEXT(dialog, IDC_HINTLINE, hint);
}

int OPENGENERALSETTINGS() {
    return static_cast<int>(DialogBoxParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_GENERALSETTINGS), MainWindow,
                                            GENERALSETTINGSDLGPROC, reinterpret_cast<LPARAM>(&AppSettings)));
}
