// Keyword help and the two help files: the word at the caret, and the call
// that opens each help file by its type.
#include "help/help.h"

#include <shellapi.h>

#include "Scintilla.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/commandline.h"
#include "services/process.h"
#include "document/document.h"
#include "help/helprules.h"
#include "services/wintext.h"

namespace {

using HtmlHelpProc = HWND(WINAPI *)(HWND, LPCWSTR, UINT, DWORD_PTR);

// HTML Help is loaded when it is first needed, and stays loaded: the main
// window closes its viewers through the same library when it goes.
HtmlHelpProc HTMLHELP() {
    static HtmlHelpProc htmlHelp = nullptr;
    if (!htmlHelp) {
        if (HMODULE hhctrl = LoadLibraryW(L"hhctrl.ocx"))
            htmlHelp = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void *>(GetProcAddress(hhctrl, "HtmlHelpW")));
    }
    return htmlHelp;
}

// A relative help file is the user's configured file in the program's
// folder, never a file of that name in the current folder (the listing's,
// when Explorer started the editor). A bare name for a help viewer is left
// to the viewer, which looks in the system's help folders; a program or
// other file for the shell is found as the compilers are.
std::string HELPFILEPATH(const HelpCall &call) {
    if (call.Viewer == HelpViewer::Shell)
        return TOOLPATH(call.File);
    return TOOLNAMEKINDOF(call.File) == TOOLRELATIVE ? AppSettings.ExeDir + call.File : call.File;
}

// Makes the call; what the viewer or the shell does with a missing file is
// theirs to show.
void OPENHELP(const HelpCall &call) {
    const std::wstring file = WIDE(HELPFILEPATH(call));
    const std::wstring keyword = WIDE(call.Keyword);
    HWND owner = call.OwnedByMainWindow ? MainWindow : nullptr;
    const ULONG_PTR data = call.WithKeyword ? reinterpret_cast<ULONG_PTR>(keyword.c_str()) : 0;
    switch (call.Viewer) {
    case HelpViewer::WinHelp:
        for (int i = 0; i < call.Times; ++i)
            WinHelpW(owner, file.c_str(), call.Command, data);
        break;
    case HelpViewer::HtmlHelp:
        if (HtmlHelpProc htmlHelp = HTMLHELP()) {
            for (int i = 0; i < call.Times; ++i)
                htmlHelp(owner, file.c_str(), call.Command, data);
        }
        break;
    case HelpViewer::Shell:
        for (int i = 0; i < call.Times; ++i)
            ShellExecuteW(owner, L"open", file.c_str(), call.WithKeyword ? keyword.c_str() : nullptr, nullptr,
                          SW_SHOWNORMAL);
        break;
    }
}

}  // namespace

int GETHELPKEYWORD(std::string &keyword) {
    const Sci_Position caret = SCI(SCI_GETCURRENTPOS);
    const Sci_Position start = SCI(SCI_WORDSTARTPOSITION, static_cast<WPARAM>(caret), 0);
    const Sci_Position wordEnd = SCI(SCI_WORDENDPOSITION, static_cast<WPARAM>(caret), 0);
    Sci_Position end = static_cast<Sci_Position>(KEYWORDRANGEEND(start, wordEnd));
    // A word cut short is cut between characters, never inside one.
    if (end < wordEnd)
        end = SCI(SCI_POSITIONBEFORE, static_cast<WPARAM>(SCI(SCI_POSITIONAFTER, static_cast<WPARAM>(end))));
    std::string text(static_cast<std::size_t>(end - start) + 1, '\0');
    Sci_TextRange range{};
    range.chrg.cpMin = static_cast<Sci_PositionCR>(start);
    range.chrg.cpMax = static_cast<Sci_PositionCR>(end);
    range.lpstrText = text.data();
    const auto got = static_cast<std::size_t>(SCI(SCI_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range)));
    text.resize(got < text.size() ? got : text.size() - 1);
    // The word as text of the program, whatever the listing's code page.
    keyword = TEXTOFEDITORBYTES(text);
    return CHOOSEHELPKEYWORD(keyword, BASICKEYWORDLIST());
}

void KEYWORDHELP() {
    std::string keyword;
    const int choice = GETHELPKEYWORD(keyword);
    OPENHELP(KEYWORDHELPCALL(choice, keyword, AppSettings.BasicHelpFile, AppSettings.ApiHelpFile,
                             AppSettings.CompilerType));
}

void BASICHELP() {
    OPENHELP(BASICHELPCALL(AppSettings.BasicHelpFile));
}

void APIHELP() {
    OPENHELP(APIHELPCALL(AppSettings.ApiHelpFile));
}
