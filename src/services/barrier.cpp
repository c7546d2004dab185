#include "services/barrier.h"

#include <string>

#include "services/handles.h"
#include "services/wintext.h"

void REPORTEXCEPTION(HWND owner, const char *what) noexcept {
    // The report of a lack of memory needs none of its own.
    static const wchar_t lowMemory[] = L"There is not enough memory to finish this command.\rThe text in the editor is kept.";
    const wchar_t *text = lowMemory;
    std::wstring composed;
    if (what) {
        try {
            composed = WIDE(std::string("This command could not be finished") + (*what ? ": " : ".") + what +
                            "\rThe text in the editor is kept.");
            text = composed.c_str();
        } catch (...) {
        }
    }
    MessageBoxW(owner && IsWindow(owner) ? owner : MainWindow, text, L"Quillet", MB_OK | MB_ICONHAND);
}
