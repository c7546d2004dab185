// Glue that turns Scintilla and Lexilla into ZESCIN.DLL.
//
// Loading the library registers Scintilla's classes and a copy of its window
// class under the name "ScintillaPb". Scintilla 5 no longer knows lexers by
// number, so the glue answers SCI_SETLEXER itself: it creates the lexer,
// hands it over with SCI_SETILEXER and replays the lexer properties and
// keyword lists that were set while no lexer existed. This compensates for
// LexState::PropSet and LexState::SetWordList of Scintilla 5.3.3 (the
// release src/zescin/SCINTILLA_VERSION records), which drop both while no
// lexer is set.
#include "zescin.h"
#include "folds.h"
#include "budget.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ILexer.h"
#include "Scintilla.h"
#include "SciLexer.h"
#include "PropSetSimple.h"
#include "WordList.h"
#include "LexerModule.h"

extern Lexilla::LexerModule lmPB;

namespace Scintilla::Internal {
class ScintillaWin;
sptr_t DirectFunction(ScintillaWin *sci, UINT iMessage, uptr_t wParam, sptr_t lParam);
int RegisterClasses(void *hInstance) noexcept;
int ResourcesRelease(bool fromDllMain) noexcept;
}

namespace {

using Scintilla::Internal::ScintillaWin;

// What an editor was told before it had a lexer to hold it.
struct EditorState {
    std::vector<std::pair<std::string, std::string>> properties;
    std::map<int, std::string> keywords;
};

std::map<const void *, EditorState> &States() {
    static std::map<const void *, EditorState> states;
    return states;
}

WNDPROC ScintillaProc = nullptr;

sptr_t Forward(void *editor, UINT message, uptr_t wParam, sptr_t lParam) {
    return Scintilla::Internal::DirectFunction(static_cast<ScintillaWin *>(editor), message, wParam, lParam);
}

void Remember(std::vector<std::pair<std::string, std::string>> &list, const char *key, const char *value) {
    for (auto &entry : list) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    list.emplace_back(key, value);
}

sptr_t SetLexerByNumber(void *editor, uptr_t number) {
    Scintilla::ILexer5 *lexer = nullptr;
    if (number == SCLEX_POWERBASIC)
        lexer = lmPB.Create();
    const sptr_t result = Forward(editor, SCI_SETILEXER, 0, reinterpret_cast<sptr_t>(lexer));
    auto found = States().find(editor);
    if (lexer && found != States().end()) {
        for (const auto &property : found->second.properties)
            Forward(editor, SCI_SETPROPERTY, reinterpret_cast<uptr_t>(property.first.c_str()),
                    reinterpret_cast<sptr_t>(property.second.c_str()));
        for (const auto &list : found->second.keywords)
            Forward(editor, SCI_SETKEYWORDS, static_cast<uptr_t>(list.first),
                    reinterpret_cast<sptr_t>(list.second.c_str()));
    }
    return result;
}

// Every direct call to an editor passes here. An edit that runs out of
// memory is refused whole by Scintilla itself (src/zescin/patches), which
// then reports SC_STATUS_BADALLOC.
sptr_t Dispatch(void *editor, UINT message, uptr_t wParam, sptr_t lParam) {
    switch (message) {
    case ZESCIN_SETALLOCATIONBUDGET:
        SetAllocationBudget(static_cast<std::size_t>(wParam));
        return 0;
    case ZESCIN_FOLDHEADERNEXT:
        return FoldHeaderNext(reinterpret_cast<void *>(Forward(editor, SCI_GETDOCPOINTER, 0, 0)),
                              static_cast<sptr_t>(wParam));
    case SCI_SETLEXER:
        return SetLexerByNumber(editor, wParam);
    case SCI_SETPROPERTY:
        if (wParam && lParam)
            Remember(States()[editor].properties, reinterpret_cast<const char *>(wParam),
                     reinterpret_cast<const char *>(lParam));
        break;
    case SCI_SETKEYWORDS:
        if (lParam)
            States()[editor].keywords[static_cast<int>(wParam)] = reinterpret_cast<const char *>(lParam);
        break;
    default:
        break;
    }
    return Forward(editor, message, wParam, lParam);
}

LRESULT CALLBACK PbWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case SCI_SETLEXER:
    case SCI_SETPROPERTY:
    case SCI_SETKEYWORDS:
    case ZESCIN_SETALLOCATIONBUDGET:
    case ZESCIN_FOLDHEADERNEXT: {
        void *editor = reinterpret_cast<void *>(CallWindowProcW(ScintillaProc, window, SCI_GETDIRECTPOINTER, 0, 0));
        if (editor)
            return Dispatch(editor, message, wParam, lParam);
        break;
    }
    case WM_NCDESTROY: {
        void *editor = reinterpret_cast<void *>(CallWindowProcW(ScintillaProc, window, SCI_GETDIRECTPOINTER, 0, 0));
        States().erase(editor);
        break;
    }
    default:
        break;
    }
    return CallWindowProcW(ScintillaProc, window, message, wParam, lParam);
}

bool RegisterPbClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, L"Scintilla", &wc))
        return false;
    ScintillaProc = wc.lpfnWndProc;
    wc.lpfnWndProc = PbWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"ScintillaPb";
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

extern "C" ZESCIN_API intptr_t __stdcall Scintilla_DirectFunction(void *editor, UINT message, uintptr_t wParam, intptr_t lParam) {
    return Dispatch(editor, message, wParam, lParam);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        if (!Scintilla::Internal::RegisterClasses(instance))
            return FALSE;
        if (!RegisterPbClass(instance))
            return FALSE;
    } else if (reason == DLL_PROCESS_DETACH) {
        if (reserved == nullptr) {
            UnregisterClassW(L"ScintillaPb", instance);
            Scintilla::Internal::ResourcesRelease(true);
        }
    }
    return TRUE;
}
