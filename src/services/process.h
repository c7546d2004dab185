// Starting other programs.
#pragma once
#include <windows.h>

#include <functional>

// Runs start, a call that creates a process and says whether it did, and
// runs it once more after a moment when it failed with ERROR_INTERNAL_ERROR:
// Wine now and then loses a child while it starts and reports that, with
// nothing wrong in the program or its command line. Any other failure is
// final, and its error code is left for the caller.
bool STARTPROCESS(const std::function<bool()> &start);
