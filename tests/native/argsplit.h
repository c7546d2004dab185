// The arguments after the program's name as the Microsoft C runtime splits a
// command line (CommandLineToArgvW reads them alike): written here afresh so
// the tests and the fuzz target can check what a quoted command line really
// hands to the program started. Not part of the program.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Blanks and tabs outside quotes separate arguments. 2n backslashes before a
// double quote give n backslashes, and the quote toggles quoting; 2n+1 give n
// backslashes and a literal quote. Inside quotes "" gives a literal quote and
// quoting goes on, as in the current runtime. Other backslashes are literal.
inline std::vector<std::string> SPLITARGUMENTS(std::string_view line) {
    std::vector<std::string> arguments;
    std::size_t at = 0;
    const std::size_t size = line.size();
    for (;;) {
        while (at < size && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        if (at >= size)
            return arguments;
        std::string argument;
        bool quoted = false;
        while (at < size) {
            const char c = line[at];
            if (!quoted && (c == ' ' || c == '\t'))
                break;
            if (c == '\\') {
                std::size_t backslashes = 0;
                while (at < size && line[at] == '\\') {
                    ++backslashes;
                    ++at;
                }
                if (at < size && line[at] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"';
                        ++at;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
                continue;
            }
            if (c == '"') {
                if (quoted && at + 1 < size && line[at + 1] == '"') {
                    argument += '"';
                    at += 2;
                } else {
                    quoted = !quoted;
                    ++at;
                }
                continue;
            }
            argument += c;
            ++at;
        }
        arguments.push_back(argument);
    }
}
