// Decisions of the configuration store and of start-up that depend on text
// and numbers only: defaults, range checks, clamps, path rules, the
// command-line tail.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "services/appsettings.h"
#include "services/pathtext.h"

// Range checks; each compares the stored value as an unsigned 32-bit number,
// so a negative number counts as very large.
std::int32_t CHECKFONTSIZE(std::int32_t value);
COMPILERKIND CHECKCOMPILERTYPE(std::int32_t value);
std::int32_t CHECKCOMPILETIMEOUT(std::int32_t value);

// The main window's stored rectangle kept on a monitor: left and top are
// pulled into [area's left, area's right - 100] and [area's top, area's
// bottom - 100]; right and bottom stay as read. The area is the work area
// of the monitor nearest to the stored rectangle; on one screen at 0, 0 this
// is the pull into [0, screen - 100].
WindowRect CLAMPMAINWNDPOS(WindowRect stored, const WindowRect &area);
// The largest width or height a stored rectangle may give the window.
constexpr std::int32_t MAXMAINWNDSIZE = 65535;
// True when a rectangle, once clamped, can be given to the window: it is
// not empty (right beyond left, bottom below top) and its width and height,
// taken without overflow, are at most MAXMAINWNDSIZE. A minimised window's
// far-off rectangle (-32000) is empty once clamped.
bool USABLEMAINWNDPOS(const WindowRect &r);
// The stored rectangle clamped into the area, or the empty rectangle (right
// 0: the default) when what is left after clamping is no window's.
WindowRect PLACEMAINWNDPOS(const WindowRect &stored, const WindowRect &area);
WindowRect DEFAULTMAINWNDPOS();

// The default syntax colours, indexed by lexer style.
void DEFAULTSYNTAXCOLORS(std::uint32_t (&colors)[SYNTAXCOLORCOUNT]);


// Path rules. ExeDir ends with a backslash; IniPath has the program's base
// name and the extension "ini"; the parent folder of ExeDir ends with one.
std::string INIPATHOF(std::string_view exePath);

// A filter list of the file dialogs: each part followed by a zero byte, the
// list ended by one more.
std::string FILTERLIST(std::initializer_list<std::string_view> parts);

std::string OPENFILTERLIST();
std::string SAVEFILTERLIST();

// The command-line tail: what follows the program's own name (quoted or not)
// and the blanks behind it.
std::string COMMANDTAIL(std::string_view commandLine);

enum : int {
    TAIL_LASTFILE = 0,  // empty: the last file of the previous run
    TAIL_EMPTY = 1,     // exactly "/e": start with no file
    TAIL_FILE = 2,      // one file name, in file
};
// Decides the first file from the tail: one name, its enclosing quotes
// removed, never cut.
int PARSECOMMANDTAIL(std::string_view tail, std::string &file);

// Names searched for by the first-start detections, in order.
std::vector<std::string> COMPILERNAMES();
std::vector<std::string> INCLUDEDIRNAMES(std::int32_t compilerType);
std::vector<std::string> BASICHELPNAMES();
// The compiler type that goes with a detected compiler file name.
COMPILERKIND COMPILERTYPEOF(std::string_view foundName);

// Keyword file used when the configured one cannot be opened.
std::string DEFAULTBASICKEYWORDFILE(std::string_view exeDir, std::int32_t compilerType);
std::string DEFAULTAPIKEYWORDFILE(std::string_view exeDir);

