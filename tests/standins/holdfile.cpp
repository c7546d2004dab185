// Stands in for another program that keeps a file open without sharing it:
// opens the file named on its command line with no sharing, then waits until
// it is ended. Exits with 1 when the file cannot be opened.
#include <windows.h>

int main(int argc, char **argv) {
    if (argc < 2)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    Sleep(INFINITE);
    return 0;
}
