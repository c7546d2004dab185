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
