// The Font and colours dialog: the editor font, its size and the colours of
// eight lexical styles from a palette of nine, written to the INI file on OK.
#include <windows.h>

#include <vector>

#include "services/settingsrules.h"
#include "services/config.h"
#include "services/dpi.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "document/document.h"
#include "settings/fontrules.h"
#include "settings/settings.h"
#include "services/wintext.h"
#include "ui/resource.h"

// Adds a family's face name to the font list when it is one of those listed.
int CALLBACK ENUMFONTPROC(const LOGFONTW *font, const TEXTMETRICW *metrics, DWORD fontType, LPARAM fontList);
INT_PTR CALLBACK FONTDLGPROC(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

// What one opening of the dialog works on: the settings, and which colour
// lists the user changed (only those store their colour on OK).
struct FONTDIALOGMODEL {
    AppSettingsRecord *Settings = nullptr;
    bool Changed[COLORLISTCOUNT] = {};
};

FONTDIALOGMODEL &MODEL(HWND dialog) {
    return *reinterpret_cast<FONTDIALOGMODEL *>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::string ITEMTEXT(HWND list, LRESULT index) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length < 0)
        return std::string();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return UTF8OF(text.c_str());
}

std::string SELECTEDTEXT(HWND list) {
    const LRESULT selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::string() : ITEMTEXT(list, selected);
}

void FILLSIZES(HWND dialog, std::int32_t fontSize) {
    HWND sizes = GetDlgItem(dialog, IDC_SIZELIST);
    for (const std::string &text : FONTSIZETEXTS())
        SendMessageW(sizes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WIDE(text).c_str()));
    SendMessageW(sizes, CB_SETCURSEL, static_cast<WPARAM>(SIZESELECTION(fontSize)), 0);
}

void FILLFONTS(HWND dialog, const std::string &font) {
    HWND fonts = GetDlgItem(dialog, IDC_FONTLIST);
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesW(screen, nullptr, ENUMFONTPROC, reinterpret_cast<LPARAM>(fonts));
    ReleaseDC(nullptr, screen);
    std::vector<std::string> entries;
    const LRESULT count = SendMessageW(fonts, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        entries.push_back(ITEMTEXT(fonts, i));
    const int selected = FONTSELECTION(entries, font);
    if (selected >= 0)
        SendMessageW(fonts, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void FILLCOLORS(HWND dialog, const std::uint32_t *syntaxColors) {
    for (int id = FIRSTCOLORLIST; id < FIRSTCOLORLIST + COLORLISTCOUNT; ++id) {
        HWND list = GetDlgItem(dialog, id);
        for (int i = 0; i < PALETTESIZE; ++i) {
            const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WIDE(COLORLISTTEXT(id)).c_str()));
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), PALETTECOLOR(i));
        }
        // A colour outside the palette shows as black; it is kept unless the
        // user picks another.
        const int found = PALETTEINDEXOF(syntaxColors[COLORLISTSTYLE(id)]);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(found < 0 ? 0 : found), 0);
    }
}

void INITFONTDIALOG(HWND dialog, FONTDIALOGMODEL &model) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&model));
    FILLSIZES(dialog, model.Settings->FontSize);
    FILLFONTS(dialog, model.Settings->Font);
    FILLCOLORS(dialog, model.Settings->SyntaxColors);
}

// A framed box with the style's name in the colour it stands for; the
// focused item has a 3-pixel frame (at 96 DPI).
void DRAWCOLORITEM(const DRAWITEMSTRUCT &item) {
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const COLORREF color = static_cast<COLORREF>(item.itemData);
    HDC dc = item.hDC;
    RECT box = item.rcItem;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    HPEN pen = CreatePen(PS_INSIDEFRAME, SCALEDFOR(item.hwndItem, (item.itemState & ODS_FOCUS) ? 3 : 1), color);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_WINDOW));
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    DrawTextW(dc, WIDE(COLORLISTTEXT(static_cast<int>(item.CtlID))).c_str(), -1, &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void OKFONTDIALOG(HWND dialog, FONTDIALOGMODEL &model) {
    AppSettingsRecord &settings = *model.Settings;
    int chosen[COLORLISTCOUNT];
    for (int i = 0; i < COLORLISTCOUNT; ++i)
        chosen[i] = static_cast<int>(SendDlgItemMessageW(dialog, FIRSTCOLORLIST + i, CB_GETCURSEL, 0, 0));
    APPLYCHOSENCOLORS(settings.SyntaxColors, chosen, model.Changed);
    settings.FontSize = SIZEOFTEXT(SELECTEDTEXT(GetDlgItem(dialog, IDC_SIZELIST)));
    // Only a selected entry counts; text typed into the field does not.
    HWND fonts = GetDlgItem(dialog, IDC_FONTLIST);
    const LRESULT font = SendMessageW(fonts, CB_GETCURSEL, 0, 0);
    if (font != CB_ERR)
        settings.Font = CUTTEXT(ITEMTEXT(fonts, font), MAXFONTCHARS);
    if (WRITESETTINGSTRING("Windows", "Font", settings.Font) == 0) {
        WRITESETTINGSTRING("Windows", "FontSize", std::to_string(settings.FontSize));
        settings.SyntaxColors[7] = settings.SyntaxColors[0];
        WritePrivateProfileStructW(L"Windows", L"SyntaxColors", settings.SyntaxColors, sizeof settings.SyntaxColors,
                                   WIDE(settings.IniPath).c_str());
    }
    EndDialog(dialog, 1);
}

}  // namespace

int CALLBACK ENUMFONTPROC(const LOGFONTW *font, const TEXTMETRICW *, DWORD, LPARAM fontList) {
    if (FONTFAMILYLISTED(font->lfPitchAndFamily, font->lfCharSet))
        SendMessageW(reinterpret_cast<HWND>(fontList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(font->lfFaceName));
    return 1;
}

namespace {

INT_PTR FONTDLGBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        INITFONTDIALOG(dialog, *reinterpret_cast<FONTDIALOGMODEL *>(lParam));
        return TRUE;
    case WM_DRAWITEM:
        DRAWCOLORITEM(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
            OKFONTDIALOG(dialog, MODEL(dialog));
        } else if (id == IDCANCEL) {
            EndDialog(dialog, 0);
        } else if (HIWORD(wParam) == CBN_SELCHANGE && id >= FIRSTCOLORLIST && id < FIRSTCOLORLIST + COLORLISTCOUNT) {
            MODEL(dialog).Changed[id - FIRSTCOLORLIST] = true;
        }
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK FONTDLGPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, INT_PTR{FALSE}, [&] { return FONTDLGBODY(window, message, wParam, lParam); });
}

int OPENFONTSETTINGS() {
    FONTDIALOGMODEL model;
    model.Settings = &AppSettings;
    return static_cast<int>(DialogBoxParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_FONTSETTINGS), MainWindow, FONTDLGPROC,
                                            reinterpret_cast<LPARAM>(&model)));
}
