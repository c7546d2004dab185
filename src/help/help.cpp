// Help commands (to be built).
#include "help/help.h"

#include "app/shell.h"

void KEYWORDHELP() {}
void BASICHELP() {}
void APIHELP() {}

void OPENEDITORHELP() {
    if (!LoadLibraryA("RICHED32")) {
        MessageBoxA(MainWindow, "Can't open help.\rUnable to load riched32.dll", nullptr, MB_ICONHAND);
        return;
    }
}

void SHOWABOUT(HWND) {}
