#include "services/commandline.h"

namespace {

bool ISCONTROL(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return byte < 32 || byte == 127;
}

}  // namespace

std::string QUOTEARGUMENT(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string_view::npos)
        return std::string(arg);
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            // The runtime reads 2n backslashes and a quote as n backslashes
            // and a quote that toggles quoting; 2n+1 as n and a literal quote.
            quoted.append(backslashes * 2 + 1, '\\');
        } else {
            quoted.append(backslashes, '\\');
        }
        backslashes = 0;
        quoted += c;
    }
    // The closing quote must stay a quote.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string POSITIONALNAME(std::string_view name) {
    if (!name.empty() && (name.front() == '-' || name.front() == '@'))
        return ".\\" + std::string(name);
    return std::string(name);
}

bool ISSAFENAME(std::string_view name) {
    for (char c : name)
        if (c == '"' || ISCONTROL(c))
            return false;
    return true;
}

std::string UNSAFENAMEMESSAGE(std::string_view key, std::string_view value) {
    std::string shown(value);
    // A line break or a zero byte in the value would cut or break the
    // message box's text.
    for (char &c : shown)
        if (ISCONTROL(c))
            c = '?';
    return "The name given for " + std::string(key) + " holds a double quote or a control character:\r" + shown +
           "\rNothing was compiled, started or created.";
}

namespace {

bool ISSLASH(char c) {
    return c == '\\' || c == '/';
}

bool HASDRIVE(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

std::string WITHSLASH(std::string_view folder) {
    std::string text(folder);
    if (!text.empty() && !ISSLASH(text.back()))
        text += '\\';
    return text;
}

}  // namespace

TOOLNAMEKIND TOOLNAMEKINDOF(std::string_view name) {
    // A drive with a path (C:\x), a network or root path (\\srv, \x).
    if ((HASDRIVE(name) && name.size() > 2 && ISSLASH(name[2])) || (!name.empty() && ISSLASH(name[0])))
        return TOOLABSOLUTE;
    // C:fbc.exe means the current folder of drive C: taken as a folder part.
    if (HASDRIVE(name) || name.find_first_of("\\/") != std::string_view::npos)
        return TOOLRELATIVE;
    return TOOLBARE;
}

std::vector<std::string> TOOLSEARCHFOLDERS(std::string_view exeDir, std::string_view systemDir,
                                           std::string_view windowsDir, std::string_view pathVariable) {
    std::vector<std::string> folders;
    const auto add = [&folders](std::string_view folder) {
        while (!folder.empty() && (folder.front() == ' ' || folder.front() == '"'))
            folder.remove_prefix(1);
        while (!folder.empty() && (folder.back() == ' ' || folder.back() == '"'))
            folder.remove_suffix(1);
        if (!folder.empty() && TOOLNAMEKINDOF(folder) == TOOLABSOLUTE)
            folders.push_back(WITHSLASH(folder));
    };
    add(exeDir);
    add(systemDir);
    add(windowsDir);
    while (!pathVariable.empty()) {
        const std::size_t end = pathVariable.find(';');
        add(pathVariable.substr(0, end));
        if (end == std::string_view::npos)
            break;
        pathVariable.remove_prefix(end + 1);
    }
    return folders;
}
