#include "services/settingsrules.h"

std::int32_t CHECKFONTSIZE(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    if (v < 4)
        return 4;
    if (v > 18)
        return 18;
    return value;
}

COMPILERKIND CHECKCOMPILERTYPE(std::int32_t value) {
    return value == POWERBASICCOMPILER ? POWERBASICCOMPILER : FREEBASICCOMPILER;
}

std::int32_t CHECKCOMPILETIMEOUT(std::int32_t value) {
    return static_cast<std::uint32_t>(value) > 30 ? 30 : value;
}

WindowRect DEFAULTMAINWNDPOS() {
    return WindowRect{20, 20, 600, 400};
}

WindowRect CLAMPMAINWNDPOS(WindowRect stored, const WindowRect &area) {
    if (stored.left < area.left)
        stored.left = area.left;
    if (stored.left > area.right - 100)
        stored.left = area.right - 100;
    if (stored.top < area.top)
        stored.top = area.top;
    if (stored.top > area.bottom - 100)
        stored.top = area.bottom - 100;
    return stored;
}

bool USABLEMAINWNDPOS(const WindowRect &r) {
    const std::int64_t width = static_cast<std::int64_t>(r.right) - r.left;
    const std::int64_t height = static_cast<std::int64_t>(r.bottom) - r.top;
    return width > 0 && height > 0 && width <= MAXMAINWNDSIZE && height <= MAXMAINWNDSIZE;
}

WindowRect PLACEMAINWNDPOS(const WindowRect &stored, const WindowRect &area) {
    const WindowRect placed = CLAMPMAINWNDPOS(stored, area);
    return USABLEMAINWNDPOS(placed) ? placed : WindowRect{};
}

namespace {
constexpr std::uint32_t RGBVALUE(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}
}  // namespace

void DEFAULTSYNTAXCOLORS(std::uint32_t (&colors)[SYNTAXCOLORCOUNT]) {
    static const std::uint32_t defaults[SYNTAXCOLORCOUNT] = {
        RGBVALUE(0, 0, 0),       RGBVALUE(128, 128, 128), RGBVALUE(0, 0, 255),  RGBVALUE(128, 0, 0),
        RGBVALUE(0, 128, 0),     RGBVALUE(0, 0, 0),       RGBVALUE(0, 0, 0),    RGBVALUE(0, 0, 0),
        RGBVALUE(0, 0, 0),       RGBVALUE(128, 0, 128),   RGBVALUE(128, 64, 0), RGBVALUE(0, 0, 0),
        RGBVALUE(0, 0, 0),       RGBVALUE(128, 0, 128),   RGBVALUE(128, 64, 0),
    };
    for (int i = 0; i < SYNTAXCOLORCOUNT; ++i)
        colors[i] = defaults[i];
}



std::string INIPATHOF(std::string_view exePath) {
    const auto dot = exePath.rfind('.');
    const auto slash = exePath.rfind('\\');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(exePath) + ".ini";
    return std::string(exePath.substr(0, dot + 1)) + "ini";
}



std::string FILTERLIST(std::initializer_list<std::string_view> parts) {
    std::string list;
    for (auto part : parts) {
        list += part;
        list += '\0';
    }
    list += '\0';
    return list;
}

std::string OPENFILTERLIST() {
    return FILTERLIST({"Basic files", "*.BAS", "Include files", "*.INC;*.BI", "All files (*.*)", "*.*"});
}

std::string SAVEFILTERLIST() {
    return FILTERLIST({"Basic file", "*.BAS", "Include file", "*.INC;*.BI", "RTF text file", "*.RTF",
                       "All files (*.*)", "*.*"});
}

std::string COMMANDTAIL(std::string_view commandLine) {
    std::size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const auto close = commandLine.find('"', 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t')
            ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t'))
        ++i;
    return std::string(commandLine.substr(i));
}

int PARSECOMMANDTAIL(std::string_view tail, std::string &file) {
    file.clear();
    if (tail.empty())
        return TAIL_LASTFILE;
    if (tail == "/e")
        return TAIL_EMPTY;
    // Quotes first, then nothing cut: a name too long to open is refused
    // where it is opened, never shortened into another file's name.
    std::string_view name = tail;
    if (!name.empty() && name.front() == '"')
        name.remove_prefix(1);
    if (!name.empty() && name.back() == '"')
        name.remove_suffix(1);
    file = std::string(name);
    return TAIL_FILE;
}

std::vector<std::string> COMPILERNAMES() {
    return {"fbc.exe", "pbwin.exe", "pbcc.exe"};
}

std::vector<std::string> INCLUDEDIRNAMES(std::int32_t compilerType) {
    if (compilerType == POWERBASICCOMPILER)
        return {"WINAPI"};
    return {"INC", "INCLUDE"};
}

std::vector<std::string> BASICHELPNAMES() {
    return {"pbwin.hlp", "pbcc.hlp"};
}

COMPILERKIND COMPILERTYPEOF(std::string_view foundName) {
    return foundName == "fbc.exe" ? FREEBASICCOMPILER : POWERBASICCOMPILER;
}

std::string DEFAULTBASICKEYWORDFILE(std::string_view exeDir, std::int32_t compilerType) {
    return std::string(exeDir) + (compilerType == POWERBASICCOMPILER ? "PowerBasicKeywords.txt" : "FreeBasicKeywords.txt");
}

std::string DEFAULTAPIKEYWORDFILE(std::string_view exeDir) {
    return std::string(exeDir) + "ApiKeywords.txt";
}


