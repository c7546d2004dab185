#include "app/settingsrules.h"

std::int32_t CHECKFONTSIZE(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    if (v < 4)
        return 4;
    if (v > 18)
        return 18;
    return value;
}

std::int32_t CHECKCOMPILERTYPE(std::int32_t value) {
    return static_cast<std::uint32_t>(value) > 1 ? 0 : value;
}

std::int32_t CHECKCOMPILETIMEOUT(std::int32_t value) {
    return static_cast<std::uint32_t>(value) > 30 ? 30 : value;
}

WindowRect DEFAULTMAINWNDPOS() {
    return WindowRect{20, 20, 600, 400};
}

WindowRect CLAMPMAINWNDPOS(WindowRect stored, std::int32_t screenWidth, std::int32_t screenHeight) {
    if (stored.left < 0)
        stored.left = 0;
    if (stored.left > screenWidth - 100)
        stored.left = screenWidth - 100;
    if (stored.top < 0)
        stored.top = 0;
    if (stored.top > screenHeight - 100)
        stored.top = screenHeight - 100;
    return stored;
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

std::string CUTTEXT(std::string_view text, std::size_t max) {
    return std::string(text.substr(0, max));
}

std::string EXEDIROF(std::string_view exePath) {
    const auto slash = exePath.rfind('\\');
    if (slash == std::string_view::npos)
        return std::string();
    return std::string(exePath.substr(0, slash + 1));
}

std::string INIPATHOF(std::string_view exePath) {
    const auto dot = exePath.rfind('.');
    const auto slash = exePath.rfind('\\');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(exePath) + ".ini";
    return std::string(exePath.substr(0, dot + 1)) + "ini";
}

std::string PARENTFOLDEROF(std::string_view exeDir) {
    std::string_view dir = exeDir;
    if (!dir.empty() && dir.back() == '\\')
        dir.remove_suffix(1);
    const auto slash = dir.rfind('\\');
    if (slash == std::string_view::npos)
        return std::string();
    return std::string(dir.substr(0, slash + 1));
}

std::string FOLDEROF(std::string_view file, std::string_view fallback) {
    const auto slash = file.rfind('\\');
    if (slash == std::string_view::npos)
        return std::string(fallback);
    return std::string(file.substr(0, slash + 1));
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
    std::string_view name = tail.substr(0, MAXPATHCHARS);
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
    if (compilerType == 1)
        return {"WINAPI"};
    return {"INC", "INCLUDE"};
}

std::vector<std::string> BASICHELPNAMES() {
    return {"pbwin.hlp", "pbcc.hlp"};
}

std::int32_t COMPILERTYPEOF(std::string_view foundName) {
    return foundName == "fbc.exe" ? 0 : 1;
}

std::string DEFAULTBASICKEYWORDFILE(std::string_view exeDir, std::int32_t compilerType) {
    return std::string(exeDir) + (compilerType == 1 ? "PowerBasicKeywords.txt" : "FreeBasicKeywords.txt");
}

std::string DEFAULTAPIKEYWORDFILE(std::string_view exeDir) {
    return std::string(exeDir) + "ApiKeywords.txt";
}

std::string UPPERTEXT(std::string_view text) {
    std::string upper(text);
    for (char &c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool ENDSWITHNOCASE(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size())
        return false;
    return UPPERTEXT(text.substr(text.size() - tail.size())) == UPPERTEXT(tail);
}
