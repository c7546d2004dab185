// How names travel on a command line to another program: quoting an argument
// so that the Microsoft C runtime (and CommandLineToArgvW) hands it to the
// program exactly as it was, and refusing names that no quoting could carry
// safely. Text only; the callers start the processes.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// One argument as a command line carries it. A non-empty argument without
// blank, tab or double quote stays as it is. Any other is put in double
// quotes: backslashes directly before the closing quote are doubled so they
// stay backslashes, a double quote inside becomes \" (the backslashes before
// it doubled too), and every other backslash stays single. An empty argument
// becomes "" so that it still counts as one.
std::string QUOTEARGUMENT(std::string_view arg);

// A file name as a program's positional argument: one that begins with "-"
// or "@" would be read as an option or as a file of further options, so it
// goes as ".\name", the same file in the working folder. Others stay as
// they are.
std::string POSITIONALNAME(std::string_view name);

// False when the name holds a double quote, a control character (bytes 1 to
// 31 and 127) or a zero byte: such a name is never handed to another program.
bool ISSAFENAME(std::string_view name);

// The message shown instead of starting anything when a setting's name is
// not safe: names the setting's key and shows the value with each control
// character and zero byte as '?'. Lines are separated by a single "\r".
std::string UNSAFENAMEMESSAGE(std::string_view key, std::string_view value);

// How a configured tool name is taken: an absolute path as it is; a relative
// name with a folder part from the program's folder; a bare name searched
// for as Windows finds programs, never in the current folder (which may be a
// downloaded project's).
enum TOOLNAMEKIND : int {
    TOOLABSOLUTE,  // C:\x\fbc.exe, \\srv\x\fbc.exe, \x\fbc.exe
    TOOLRELATIVE,  // tools\fbc.exe, .\fbc.exe
    TOOLBARE,      // "fbc.exe"
};
TOOLNAMEKIND TOOLNAMEKINDOF(std::string_view name);

// The folders a bare tool name is looked for in, in order: the program's
// folder, the system folder, the Windows folder, then each entry of PATH
// (separated by ';', quotes around an entry dropped). Entries that are empty
// or relative are skipped: they would mean the current folder. Each folder
// ends with a backslash.
std::vector<std::string> TOOLSEARCHFOLDERS(std::string_view exeDir, std::string_view systemDir,
                                           std::string_view windowsDir, std::string_view pathVariable);
