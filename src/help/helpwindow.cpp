// The editor's help window: the topic list on the left, the chosen section of
// the built-in user guide in a RichEdit 1.0 control on the right.
#include <windows.h>

#include <map>
#include <richedit.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "services/config.h"
#include "services/editor.h"
#include "services/dpi.h"
#include "services/handles.h"
#include "services/barrier.h"
#include "help/help.h"
#include "help/helprules.h"
#include "services/wintext.h"
#include "ui/resource.h"

namespace {

// The topic list's width in pixels at 96 DPI, scaled for the window's.
constexpr int TOPICLISTWIDTH = 150;

// The topic being streamed; STREAMINEDITORHELP is called with cookie 0 and
// reads it from here.
HelpStream Streaming;

// The user guide as the program carries it, or an empty view when missing.
bool FINDHELPDOCUMENT(std::string_view &document) {
    HRSRC found = FindResourceW(ProgramInstance, MAKEINTRESOURCEW(IDR_HELPDOCUMENT), MAKEINTRESOURCEW(RT_HELPDOCUMENT));
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(ProgramInstance, found);
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return false;
    document = std::string_view(static_cast<const char *>(data), SizeofResource(ProgramInstance, found));
    return true;
}

void LOADHELPTOPIC(HWND dialog) {
    HWND text = GetDlgItem(dialog, IDC_HELPTEXT);
    std::string_view document;
    if (!FINDHELPDOCUMENT(document)) {
        SetWindowTextW(text, L"Help page not found");
        return;
    }
    const auto selected = SendDlgItemMessageW(dialog, IDC_HELPTOPICS, LB_GETCURSEL, 0, 0);
    Streaming = STARTHELPSTREAM(document, static_cast<int>(selected) + 1);
    EDITSTREAM stream{};
    stream.dwCookie = 0;
    stream.dwError = 0;
    stream.pfnCallback = STREAMINEDITORHELP;
    SendMessageW(text, EM_STREAMIN, SF_RTF | SFF_PLAINRTF, reinterpret_cast<LPARAM>(&stream));
}

// The list's font: the stock variable font, as the help window has always
// shown its topics; at another DPI the same face scaled from 96 DPI (one
// font per DPI, kept for the run).
HFONT TOPICFONT(HWND dialog) {
    const auto stock = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    const std::uint32_t dpi = WINDOWDPI(dialog);
    if (dpi == 96 || dpi == 0)
        return stock;
    static std::map<std::uint32_t, HFONT> scaled;
    HFONT &font = scaled[dpi];
    if (!font) {
        LOGFONTW face{};
        if (!GetObjectW(stock, sizeof face, &face))
            return stock;
        face.lfHeight = MulDiv(face.lfHeight, static_cast<int>(dpi), 96);
        face.lfWidth = MulDiv(face.lfWidth, static_cast<int>(dpi), 96);
        font = CreateFontIndirectW(&face);
    }
    return font ? font : stock;
}

void INITHELPWINDOW(HWND dialog) {
    HWND topics = GetDlgItem(dialog, IDC_HELPTOPICS);
    SendMessageW(topics, WM_SETFONT, reinterpret_cast<WPARAM>(TOPICFONT(dialog)), FALSE);
    for (const char *topic : HELPTOPICS)
        SendMessageW(topics, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WIDE(topic).c_str()));
    SendMessageW(topics, LB_SETCURSEL, 0, 0);
    // The first topic is loaded once the window runs.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_HELPTOPICS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(topics));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    MoveWindow(dialog, screenWidth / 3, 0, screenWidth * 2 / 3, screenHeight, FALSE);
}

void SIZEHELPWINDOW(HWND dialog, int width, int height) {
    const int list = SCALEDFOR(dialog, TOPICLISTWIDTH);
    MoveWindow(GetDlgItem(dialog, IDC_HELPTOPICS), 0, 0, list, height, TRUE);
    MoveWindow(GetDlgItem(dialog, IDC_HELPTEXT), list, 0, width - list, height, TRUE);
}

}  // namespace

extern "C" __declspec(dllexport) DWORD CALLBACK STREAMINEDITORHELP(DWORD_PTR, LPBYTE buffer, LONG size,
                                                                   LONG *delivered) {
    const std::size_t room = size > 0 ? static_cast<std::size_t>(size) : 0;
    *delivered = static_cast<LONG>(STREAMHELPSECTION(Streaming, reinterpret_cast<char *>(buffer), room));
    return 0;
}

namespace {

INT_PTR EDITORHELPDLGBODY(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        INITHELPWINDOW(dialog);
        return TRUE;
    case WM_SIZE:
        SIZEHELPWINDOW(dialog, LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
            return FALSE;
        }
        if (LOWORD(wParam) == IDC_HELPTOPICS) {
            if (HIWORD(wParam) == LBN_SELCHANGE)
                LOADHELPTOPIC(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        // The message loop must not offer messages to a window that is gone
        // (its handle may come back for another window).
        if (HelpWindow == dialog)
            HelpWindow = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK EDITORHELPDLGPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GUARDED(window, INT_PTR{FALSE}, [&] { return EDITORHELPDLGBODY(window, message, wParam, lParam); });
}

void OPENEDITORHELP() {
    if (!LoadLibraryW(L"RICHED32")) {
        MESSAGEBOX(MainWindow, "Can't open help.\rUnable to load riched32.dll", nullptr, MB_ICONHAND);
        return;
    }
    HelpWindow = CreateDialogParamW(ProgramInstance, MAKEINTRESOURCEW(IDD_EDITORHELP), MainWindow, EDITORHELPDLGPROC, 0);
}
