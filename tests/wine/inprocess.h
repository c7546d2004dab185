// Runs the program's own start-up code inside a test program: the main
// window with its editing control, in a fresh program folder of its own.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "app/app.h"
#include "document/document.h"
#include "harness.h"

// Fills in a file dialog from the answering thread: the file type when one
// is given (1 for the first), the file name, then OK.
std::function<void(HWND)> CHOOSEFILE(const std::string &name, int typeIndex = 0);

class InProcessTest : public ::testing::Test {
protected:
    // Settings come from the INI text written before START (if any).
    void WRITEINI(const std::string &text) { Folder.WRITEFILE("Quillet.ini", text); }
    std::string READINI() const { return Folder.READFILE("Quillet.ini"); }
    // Loads the settings as start-up does, with tail as the command-line tail,
    // and creates the main window.
    void START(const std::string &tail = "/e");
    // Loads the settings only (no window).
    void LOADONLY(const std::string &tail = "/e");
    void TearDown() override;

    LRESULT CALL(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SCI(message, wParam, lParam); }
    void SETTEXT(const std::string &text);
    std::string DOCUMENTTEXT();
    // Runs a command as the menu would.
    void COMMAND(int id) { SendMessageA(MainWindow, WM_COMMAND, id, 0); }
    // Menu item state after the popup at a bar position was opened.
    UINT ITEMSTATE(int barPosition, int id);
    void PUMP(int milliseconds = 100) { harness::PUMP(milliseconds); }

    harness::TempFolder Folder;
};
