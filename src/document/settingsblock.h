// The settings block that every saved listing carries at its end: a run of
// Basic comment lines holding the caret, the fold states and, for FreeBASIC,
// the project settings. This is the text side only; reading and driving the
// editing control is left to the callers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct PROJECTSETTINGSRECORD {
    int32_t TargetType = 0;  // 0 console, 1 GUI, 2 dynamic library, 3 static library, 4 object
    std::string ResourceFile;
    std::string OutputFile;
};

// Longest file name kept from a block.
constexpr std::size_t SETTINGSMAXNAME = 259;

// Upper-case hexadecimal digits without prefix or leading zeros ("0" for 0).
// A negative value is written as its 32-bit two's complement (-1 gives
// "FFFFFFFF"), so that a 32-bit field reads back the same value; bits above
// the low 32 of a negative value are lost.
std::string HEXTEXT(int64_t value);

// The value of the longest prefix made of hexadecimal digits (either letter
// case), 0 when there is none. Digits are accumulated modulo 2^64, so an
// overlong digit string keeps its low 64 bits instead of overflowing; the
// result is those bits read as a signed number.
int64_t HEXVALUE(std::string_view text);

// The complete block, beginning with CR LF and the marker line. The target,
// resource and output lines are written only when compilerType is not 1 (the
// resource and output lines only when their names are not empty).
std::string BUILDSETTINGSBLOCK(int64_t caret, std::string_view foldStates, int32_t compilerType,
                               const PROJECTSETTINGSRECORD &project);

// Walks back from the end of a file's bytes looking for the block's marker
// line among the last 21 lines that begin with a carriage return. Returns the
// offset of the CR that starts the block, or -1 when there is none. The last
// marker counts only when every line after it is one of the block's own (or
// empty); otherwise the whole file is text.
int64_t FINDSETTINGSBLOCK(const char *buffer, std::size_t length);

struct PARSEDSETTINGSBLOCK {
    bool OlderForm = false;  // Project is not read from the older form and must be left alone
    int64_t Caret = 0;
    std::string FoldStates;
    PROJECTSETTINGSRECORD Project;
};

// Reads a block as cut off by FINDSETTINGSBLOCK, in either form. Missing keys
// and unreadable numbers give the defaults (0, empty). The caller applies
// nothing at all when the block text is empty.
PARSEDSETTINGSBLOCK PARSESETTINGSBLOCK(std::string_view pending);

// One character per fold header in line order: "1" expanded, "0" contracted.
std::string FOLDSTATESTRING(const std::vector<bool> &headersExpanded);

// For each fold header covered by foldStates, whether it must be toggled to
// reach the stored state ("1" wants it expanded, any other character wants it
// contracted). The result has min(foldStates length, header count) entries:
// headers beyond the string keep their state, surplus characters are ignored.
std::vector<bool> FOLDTOGGLES(std::string_view foldStates, const std::vector<bool> &headersExpanded);
