// Starting another program, with the one retry that Wine's starts need.
#include "services/process.h"

bool STARTPROCESS(const std::function<bool()> &start) {
    if (start())
        return true;
    if (GetLastError() != ERROR_INTERNAL_ERROR)
        return false;
    Sleep(50);
    return start();
}
