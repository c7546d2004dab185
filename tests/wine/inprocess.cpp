#include "inprocess.h"

#include "Scintilla.h"

void InProcessTest::LOADONLY(const std::string &tail) {
    AppSettings = AppSettingsRecord{};
    IniWriteFailureReported = false;
    ProgramInstance = GetModuleHandleA(nullptr);
    LOADPROGRAMPATHS();
    // The program folder of the test is a fresh folder of its own.
    AppSettings.ExePath = Folder.FILE("Quillet.exe");
    AppSettings.ExeDir = Folder.PATH();
    AppSettings.IniPath = Folder.FILE("Quillet.ini");
    NAMESTARTDOCUMENT(LOADFIRSTFILE(tail), AppSettings.ExeDir);
    LOADSETTINGS();
}

void InProcessTest::START(const std::string &tail) {
    LOADONLY(tail);
    REGISTERMAINCLASS(ProgramInstance);
    CREATEMAINWINDOW();
    ASSERT_NE(MainWindow, nullptr);
    ShowWindow(MainWindow, SW_SHOW);
    UpdateWindow(MainWindow);
    PUMP(50);
}

void InProcessTest::TearDown() {
    if (MainWindow && IsWindow(MainWindow)) {
        SCI(SCI_SETSAVEPOINT);
        DestroyWindow(MainWindow);
    }
    // Leave no quit message or timer behind for the next test.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    MainWindow = nullptr;
    EditorControl = nullptr;
    EditorPointer = nullptr;
    SearchDialog = GoToDialog = HelpWindow = nullptr;
    UnregisterClassA(MAINCLASSNAME, GetModuleHandleA(nullptr));
}

void InProcessTest::SETTEXT(const std::string &text) {
    CALL(SCI_CLEARALL);
    CALL(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
}

std::string InProcessTest::DOCUMENTTEXT() {
    const auto length = static_cast<size_t>(CALL(SCI_GETLENGTH));
    std::string text(length + 1, '\0');
    CALL(SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

UINT InProcessTest::ITEMSTATE(int barPosition, int id) {
    HMENU popup = GetSubMenu(MainMenu, barPosition);
    SendMessageA(MainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(barPosition, 0));
    return GetMenuState(popup, id, MF_BYCOMMAND);
}

std::function<void(HWND)> CHOOSEFILE(const std::string &name, int typeIndex) {
    return [name, typeIndex](HWND dialog) {
        Sleep(300);
        if (typeIndex > 0) {
            HWND types = GetDlgItem(dialog, 1136);
            SendMessageA(types, CB_SETCURSEL, typeIndex - 1, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1136, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
            Sleep(100);
        }
        SetDlgItemTextW(dialog, 1152, harness::WIDE(name).c_str());
        harness::PRESSBUTTON(dialog, IDOK);
    };
}
