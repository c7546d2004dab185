// Starting other programs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Runs start, a call that creates a process and says whether it did, and
// runs it once more after a moment when it failed with ERROR_INTERNAL_ERROR:
// Wine now and then loses a child while it starts and reports that, with
// nothing wrong in the program or its command line. Any other failure is
// final, and its error code is left for the caller.
bool STARTPROCESS(const std::function<bool()> &start);

// The program a configured tool name means (see TOOLNAMEKINDOF): an absolute
// path as it is; a relative name with a folder part taken from the program's
// folder; a bare name found in the program's folder, the system folders or
// on PATH (".exe" added when it has no extension), never in the current
// folder. A bare name found nowhere gives the program's folder with the
// name, which does not exist, so the caller's "not found" message follows.
std::string TOOLPATH(const std::string &configured);

// Starts a program without waiting for it: application is the file to run
// (never searched for), commandLine the whole line it receives, folder its
// working folder (none: the editor's own). False when it did not start; the
// error code is left for the caller.
bool STARTDETACHED(const std::string &application, const std::string &commandLine, const std::string &folder,
                   WORD showState);
