// The configuration store: the settings record and the INI file beside the
// program that it is loaded from and written to.
#pragma once
#include <string>
#include <string_view>

#include "services/appsettings.h"

int FINDPROGRAMFILE(std::string_view name, std::string &result, int alsoParent);
void LOADPROGRAMPATHS();                          // loading step 1
// The first file from the command-line tail: the named file, none for "/e",
// or the last run's file.
std::string LOADFIRSTFILE(std::string_view tail);
void LOADSETTINGS();                              // loading steps 3 to 12
// The exit step; 0 when LastFile was written.
int SAVEEXITSETTINGS(const std::string &lastFile);
// 0 when written. A failed write is reported to the user once per run, so a
// read-only program folder does not lose settings without a word.
int WRITESETTINGSTRING(const char *section, const char *key, const std::string &value);
// Set once a failed write of the settings file was reported in this run.
extern bool IniWriteFailureReported;
