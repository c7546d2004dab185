#include "services/barrier.h"

#include <string>

#include "services/handles.h"

void REPORTEXCEPTION(HWND owner, const char *what) noexcept {
    static const char lowMemory[] = "There is not enough memory to finish this command.\rThe text in the editor is kept.";
    const char *text = lowMemory;
    std::string composed;
    if (what) {
        try {
            composed = std::string("This command could not be finished") + (*what ? ": " : ".") + what +
                       "\rThe text in the editor is kept.";
            text = composed.c_str();
        } catch (...) {
        }
    }
    MessageBoxA(owner && IsWindow(owner) ? owner : MainWindow, text, PROGRAMCAPTION, MB_OK | MB_ICONHAND);
}
