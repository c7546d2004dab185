#include "services/pathtext.h"

#include "services/textcodes.h"

namespace {
constexpr std::string_view SEPARATORS = "\\/";
}  // namespace

std::string FOLDEROF(std::string_view path, std::string_view fallback) {
    const std::size_t slash = path.find_last_of(SEPARATORS);
    return std::string(slash == std::string_view::npos ? fallback : path.substr(0, slash + 1));
}

std::string FILEPART(std::string_view path) {
    const std::size_t slash = path.find_last_of(SEPARATORS);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string EXEDIROF(std::string_view exePath) {
    return FOLDEROF(exePath);
}

std::string PARENTFOLDEROF(std::string_view exeDir) {
    std::string_view dir = exeDir;
    if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
        dir.remove_suffix(1);
    return FOLDEROF(dir);
}

char UPPERCHAR(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UPPERTEXT(std::string_view text) {
    std::string upper(text);
    for (char &c : upper)
        c = UPPERCHAR(c);
    return upper;
}

std::string LOWERTEXT(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::string UPPERTAIL(std::string_view text, std::size_t n) {
    return UPPERTEXT(text.substr(text.size() > n ? text.size() - n : 0));
}

bool ENDSWITHNOCASE(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && UPPERTAIL(text, tail.size()) == UPPERTEXT(tail);
}

std::string CUTTEXT(std::string_view text, std::size_t max) {
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t c;
        const std::size_t length = DECODEUTF8(text, at, c);
        const std::size_t width = c >= 0x10000 ? 2 : 1;
        if (units + width > max)
            break;
        units += width;
        at += length;
    }
    return std::string(text.substr(0, at));
}

bool ISLITERALPATH(std::string_view path) {
    const auto slash = [&path](std::size_t at) { return path[at] == '\\' || path[at] == '/'; };
    return path.size() >= 4 && slash(0) && slash(1) && (path[2] == '?' || path[2] == '.') && slash(3);
}

std::string FILESYSTEMPATH(std::string_view given, std::string_view full) {
    if (ISLITERALPATH(given) || full.empty() || UTF16LENGTH(full) < LONGFORMLENGTH)
        return std::string(given);
    if (ISLITERALPATH(full))
        return std::string(full);
    if (full.size() >= 2 && (full[0] == '\\' || full[0] == '/') && (full[1] == '\\' || full[1] == '/'))
        return "\\\\?\\UNC\\" + std::string(full.substr(2));
    return "\\\\?\\" + std::string(full);
}
