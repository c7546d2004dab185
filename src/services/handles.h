// The shell's window handles and names, and owning handles for the
// system's objects.
#pragma once
#include <windows.h>

#include <utility>

extern HINSTANCE ProgramInstance;
extern HWND MainWindow;
extern HWND SearchDialog;
extern HWND GoToDialog;
extern HWND HelpWindow;
extern HMENU MainMenu;
extern HACCEL AccelTable;

constexpr const char *MAINCLASSNAME = "ZeTarvikClass";
constexpr const char *DEFAULTTITLE = "Quillet by Vandrell";
constexpr const char *PROGRAMCAPTION = "Quillet";

// Timers of the main window, told apart by id. The pending-settings timer
// applies the settings block of the file just opened.
constexpr UINT_PTR PENDINGSETTINGSTIMER = 1;
// The recovery timer takes a copy of unsaved text once it is due.
constexpr UINT_PTR RECOVERYTIMER = 2;

// One owning handle type for every kind of system handle; the traits say
// which value means "none" and how to let go of it.
template <class Traits>
class OwnedHandle {
    using H = typename Traits::Type;

public:
    OwnedHandle() = default;
    explicit OwnedHandle(H handle) : Handle(handle) {}
    ~OwnedHandle() { RESET(); }
    OwnedHandle(const OwnedHandle &) = delete;
    OwnedHandle &operator=(const OwnedHandle &) = delete;
    OwnedHandle(OwnedHandle &&other) noexcept : Handle(std::exchange(other.Handle, Traits::NONE())) {}
    OwnedHandle &operator=(OwnedHandle &&other) noexcept {
        if (this != &other) {
            RESET();
            Handle = std::exchange(other.Handle, Traits::NONE());
        }
        return *this;
    }
    H GET() const { return Handle; }
    bool OK() const { return Handle != Traits::NONE(); }
    void RESET(H handle = Traits::NONE()) {
        if (Handle != Traits::NONE())
            Traits::CLOSE(Handle);
        Handle = handle;
    }
    // For functions that hand out a new handle through a pointer.
    H *RECEIVE() {
        RESET();
        return &Handle;
    }

private:
    H Handle = Traits::NONE();
};

// Process, thread and pipe handles: null means none.
struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE NONE() { return nullptr; }
    static void CLOSE(HANDLE handle) { CloseHandle(handle); }
};
using KernelHandle = OwnedHandle<KernelHandleTraits>;

// Files: INVALID_HANDLE_VALUE means none.
struct FileHandleTraits {
    using Type = HANDLE;
    static HANDLE NONE() { return INVALID_HANDLE_VALUE; }
    static void CLOSE(HANDLE handle) { CloseHandle(handle); }
};
using FileHandle = OwnedHandle<FileHandleTraits>;

// Directory enumerations.
struct FindHandleTraits {
    using Type = HANDLE;
    static HANDLE NONE() { return INVALID_HANDLE_VALUE; }
    static void CLOSE(HANDLE handle) { FindClose(handle); }
};
using FindHandle = OwnedHandle<FindHandleTraits>;

// Loaded libraries.
struct LibraryHandleTraits {
    using Type = HMODULE;
    static HMODULE NONE() { return nullptr; }
    static void CLOSE(HMODULE handle) { FreeLibrary(handle); }
};
using LibraryHandle = OwnedHandle<LibraryHandleTraits>;

// Fonts, brushes and other GDI objects.
struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static HGDIOBJ NONE() { return nullptr; }
    static void CLOSE(HGDIOBJ handle) { DeleteObject(handle); }
};
using GdiObject = OwnedHandle<GdiObjectTraits>;
