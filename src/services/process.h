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

// The short (8.3) form of an existing path, empty when there is none. On a
// volume without short names the system gives the long path back.
std::string SHORTPATHOF(const std::string &path);
// What the tests change where the machine cannot: a volume without short
// (8.3) names. The program itself never sets it.
struct SHORTNAMESEAMS {
    bool NoShortNames = false;
};
extern SHORTNAMESEAMS ShortNameSeams;

// A path as an outside program that reads its command line in the system's
// ANSI code page (the compilers and resource tools are C programs) receives
// it: as it is when the code page has every character of it; otherwise its
// short form, or for a file yet to be made the short form of its folder and
// its own name, when that fits. False when nothing fits: such a program
// cannot be given the path.
bool ANSIPATHOF(const std::string &path, std::string &result);
// The message shown instead of starting such a program.
std::string NOANSIPATHMESSAGE(const std::string &path);

// Starts a program without waiting for it: application is the file to run
// (never searched for), commandLine the whole line it receives, folder its
// working folder (none: the editor's own). False when it did not start; the
// error code is left for the caller.
bool STARTDETACHED(const std::string &application, const std::string &commandLine, const std::string &folder,
                   WORD showState);
