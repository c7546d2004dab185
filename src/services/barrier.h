// The barrier at the entry of every window, dialog and timer procedure: an
// exception thrown while a message is handled (std::bad_alloc on a huge line,
// say) is caught there, before it could unwind through the system's frames,
// and reported in a message box. The text stays in the editor.
#pragma once
#include <windows.h>

#include <exception>
#include <new>

// Shows the report of a caught exception; what is null for lack of memory.
void REPORTEXCEPTION(HWND owner, const char *what) noexcept;

// Runs body and returns its result; after an exception, returns failed.
template <typename Result, typename Body>
Result GUARDED(HWND owner, Result failed, Body &&body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc &) {
        REPORTEXCEPTION(owner, nullptr);
    } catch (const std::exception &e) {
        REPORTEXCEPTION(owner, e.what());
    } catch (...) {
        REPORTEXCEPTION(owner, "");
    }
    return failed;
}
