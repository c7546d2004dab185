// Switches the editing control's redrawing off for a scope and on again at
// its end, repainting once. Each fold the control changes with redrawing on
// updates its scroll bars at once; over thousands of Subs that takes minutes.
// A pause inside another pause leaves redrawing to the outer one.
#pragma once
#include <windows.h>

#include "services/editor.h"

class RedrawPause {
public:
    RedrawPause() : Paused((GetWindowLongW(EditorControl, GWL_STYLE) & WS_VISIBLE) != 0) {
        if (Paused)
            SendMessageW(EditorControl, WM_SETREDRAW, FALSE, 0);
    }
    ~RedrawPause() { RESUME(); }
    void RESUME() {
        if (!Paused)
            return;
        Paused = false;
        SendMessageW(EditorControl, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(EditorControl, nullptr, TRUE);
    }
    RedrawPause(const RedrawPause &) = delete;
    RedrawPause &operator=(const RedrawPause &) = delete;

private:
    bool Paused;
};
