#include "document/settingsblock.h"

#include "services/appsettings.h"
#include "services/hexdigit.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

constexpr std::string_view CRLF = "\r\n";
constexpr std::string_view MARKER = "\r\n'ZESETTINGS (don't change!):";
constexpr std::string_view OLDERMARKER = "\r\n'PZESETTINGS=";

// Caret digits of the older form.
constexpr std::size_t OLDERCARETDIGITS = 8;

// Marker lines further back than this many carriage returns are not searched.
constexpr int MAXOTHERLINES = 20;

bool STARTSWITHAT(const char *buffer, std::size_t length, std::size_t offset, std::string_view marker) {
    return length - offset >= marker.size() && std::memcmp(buffer + offset, marker.data(), marker.size()) == 0;
}

// The value of the first line "CR LF ' key =" in the block: everything up to
// the next CR or LF, or to the end. An absent key reads as an empty value,
// which the callers turn into 0 or an empty name.
std::string_view KEYVALUE(std::string_view block, std::string_view key) {
    std::string pattern;
    pattern.reserve(key.size() + 4);
    pattern.append(CRLF).append("'").append(key).append("=");
    const std::size_t at = block.find(pattern);
    if (at == std::string_view::npos)
        return {};
    const std::string_view rest = block.substr(at + pattern.size());
    return rest.substr(0, rest.find_first_of("\r\n"));
}

std::string CUTNAME(std::string_view name) {
    return std::string(name.substr(0, SETTINGSMAXNAME));
}

bool STARTSWITH(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// True when everything after the marker line is the block's own: its key
// lines (or empty lines) in the current form, the caret digits and fold
// states in the older form. Code that another editor or a merge appended
// after a block makes the whole file text, so that nothing is hidden from
// the user or dropped by the next save.
bool ISWHOLEBLOCK(std::string_view block) {
    if (STARTSWITH(block, OLDERMARKER)) {
        std::string_view rest = block.substr(OLDERMARKER.size());
        while (!rest.empty() && (rest.back() == '\r' || rest.back() == '\n'))
            rest.remove_suffix(1);
        if (rest.size() < OLDERCARETDIGITS)
            return false;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const bool ok = i < OLDERCARETDIGITS ? HEXDIGITVALUE(rest[i]) >= 0 : (rest[i] == '0' || rest[i] == '1');
            if (!ok)
                return false;
        }
        return true;
    }
    static constexpr std::string_view KEYS[] = {"'ZECURSOR=", "'ZETOGGLE=", "'ZETARGET=", "'ZERESFILE=", "'ZEOUTFILE="};
    std::string_view rest = block.substr(MARKER.size());
    while (!rest.empty()) {
        const std::size_t end = rest.find_first_of("\r\n");
        const std::string_view line = rest.substr(0, end);
        if (!line.empty() &&
            std::none_of(std::begin(KEYS), std::end(KEYS), [line](std::string_view key) { return STARTSWITH(line, key); }))
            return false;
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    return true;
}

}  // namespace

std::string HEXTEXT(int64_t value) {
    uint64_t bits = value < 0 ? static_cast<uint32_t>(value) : static_cast<uint64_t>(value);
    static const char digits[] = "0123456789ABCDEF";
    char text[16];
    std::size_t start = sizeof text;
    do {
        text[--start] = digits[bits & 15];
        bits >>= 4;
    } while (bits != 0);
    return std::string(text + start, sizeof text - start);
}

int64_t HEXVALUE(std::string_view text) {
    uint64_t bits = 0;
    for (const char c : text) {
        const int digit = HEXDIGITVALUE(c);
        if (digit < 0)
            break;
        bits = (bits << 4) | static_cast<uint64_t>(digit);
    }
    return static_cast<int64_t>(bits);
}

std::string BUILDSETTINGSBLOCK(int64_t caret, std::string_view foldStates, int32_t compilerType,
                               const PROJECTSETTINGSRECORD &project) {
    std::string block;
    block.reserve(96 + foldStates.size() + project.ResourceFile.size() + project.OutputFile.size());
    block.append(MARKER);
    block.append(CRLF).append("'ZECURSOR=").append(HEXTEXT(caret));
    block.append(CRLF).append("'ZETOGGLE=").append(foldStates);
    // PowerBASIC takes none of these from the block: its listings name their
    // own resource and output files.
    if (compilerType != POWERBASICCOMPILER) {
        block.append(CRLF).append("'ZETARGET=").append(HEXTEXT(project.TargetType));
        if (!project.ResourceFile.empty())
            block.append(CRLF).append("'ZERESFILE=").append(project.ResourceFile);
        if (!project.OutputFile.empty())
            block.append(CRLF).append("'ZEOUTFILE=").append(project.OutputFile);
    }
    return block;
}

int64_t FINDSETTINGSBLOCK(const char *buffer, std::size_t length) {
    if (buffer == nullptr || length < 2)
        return -1;
    int others = 0;
    // The last byte cannot start a marker, so the walk begins one before it.
    for (std::size_t offset = length - 1; offset-- > 0;) {
        if (buffer[offset] != '\r')
            continue;
        if (STARTSWITHAT(buffer, length, offset, OLDERMARKER) || STARTSWITHAT(buffer, length, offset, MARKER))
            return ISWHOLEBLOCK(std::string_view(buffer + offset, length - offset)) ? static_cast<int64_t>(offset) : -1;
        if (++others > MAXOTHERLINES)
            return -1;
    }
    return -1;
}

PARSEDSETTINGSBLOCK PARSESETTINGSBLOCK(std::string_view pending) {
    PARSEDSETTINGSBLOCK parsed;
    if (pending.substr(0, OLDERMARKER.size()) == OLDERMARKER) {
        const std::string_view rest = pending.substr(OLDERMARKER.size());
        parsed.OlderForm = true;
        parsed.Caret = HEXVALUE(rest.substr(0, OLDERCARETDIGITS));
        if (rest.size() > OLDERCARETDIGITS)
            parsed.FoldStates = std::string(rest.substr(OLDERCARETDIGITS));
        return parsed;
    }
    parsed.Caret = HEXVALUE(KEYVALUE(pending, "ZECURSOR"));
    parsed.FoldStates = std::string(KEYVALUE(pending, "ZETOGGLE"));
    // The target type is a 32-bit field; a longer number keeps its low bits.
    parsed.Project.TargetType = static_cast<int32_t>(HEXVALUE(KEYVALUE(pending, "ZETARGET")));
    parsed.Project.ResourceFile = CUTNAME(KEYVALUE(pending, "ZERESFILE"));
    parsed.Project.OutputFile = CUTNAME(KEYVALUE(pending, "ZEOUTFILE"));
    return parsed;
}

std::string FOLDSTATESTRING(const std::vector<bool> &headersExpanded) {
    std::string states(headersExpanded.size(), '0');
    for (std::size_t i = 0; i < headersExpanded.size(); ++i)
        if (headersExpanded[i])
            states[i] = '1';
    return states;
}

std::vector<bool> FOLDTOGGLES(std::string_view foldStates, const std::vector<bool> &headersExpanded) {
    const std::size_t covered = std::min(foldStates.size(), headersExpanded.size());
    std::vector<bool> toggles(covered);
    for (std::size_t i = 0; i < covered; ++i)
        toggles[i] = (foldStates[i] == '1') != headersExpanded[i];
    return toggles;
}
