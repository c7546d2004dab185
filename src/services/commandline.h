// How names travel on a command line to another program: quoting an argument
// so that the Microsoft C runtime (and CommandLineToArgvW) hands it to the
// program exactly as it was, and refusing names that no quoting could carry
// safely. Text only; the callers start the processes.
#pragma once
#include <string>
#include <string_view>

// One argument as a command line carries it. A non-empty argument without
// blank, tab or double quote stays as it is. Any other is put in double
// quotes: backslashes directly before the closing quote are doubled so they
// stay backslashes, a double quote inside becomes \" (the backslashes before
// it doubled too), and every other backslash stays single. An empty argument
// becomes "" so that it still counts as one.
std::string QUOTEARGUMENT(std::string_view arg);

// False when the name holds a double quote, a control character (bytes 1 to
// 31 and 127) or a zero byte: such a name is never handed to another program.
bool ISSAFENAME(std::string_view name);

// The message shown instead of starting anything when a setting's name is
// not safe: names the setting's key and shows the value with each control
// character and zero byte as '?'. Lines are separated by a single "\r".
std::string UNSAFENAMEMESSAGE(std::string_view key, std::string_view value);
