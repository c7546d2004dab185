// Quoting for a command line: whatever the names, the program started reads
// back exactly the arguments it was given. The first byte of the input is
// the separator of the arguments in the rest.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../native/argsplit.h"
#include "fuzzcheck.h"
#include "services/commandline.h"

namespace {

std::string JOINQUOTED(const std::vector<std::string> &arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i)
        line += (i == 0 ? "" : " ") + QUOTEARGUMENT(arguments[i]);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    const char separator = static_cast<char>(data[0]);
    const std::string_view input(reinterpret_cast<const char *>(data + 1), size - 1);
    std::vector<std::string> arguments;
    for (std::size_t start = 0;;) {
        const std::size_t end = input.find(separator, start);
        arguments.emplace_back(input.substr(start, end == std::string_view::npos ? input.npos : end - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }

    // The names the program hands on: only safe ones get this far.
    std::vector<std::string> safe;
    for (const std::string &argument : arguments) {
        if (ISSAFENAME(argument)) {
            safe.push_back(argument);
            const std::string quoted = QUOTEARGUMENT(argument);
            if (!argument.empty() && argument.find_first_of(" \t") == std::string::npos)
                FUZZCHECK(quoted == argument);
        } else {
            // The refusal's message keeps its three lines whatever the value.
            const std::string message = UNSAFENAMEMESSAGE("KEY", argument);
            std::size_t controls = 0;
            for (char c : message)
                if (static_cast<unsigned char>(c) < 32 || c == 127)
                    ++controls;
            FUZZCHECK(controls == 2);
            FUZZCHECK(message.size() == UNSAFENAMEMESSAGE("KEY", "").size() + argument.size());
        }
    }
    FUZZCHECK(SPLITARGUMENTS(JOINQUOTED(safe)) == safe);

    // Double quotes and control characters survive the quoting as well; only
    // a zero byte cannot travel in a command line at all.
    std::vector<std::string> carried;
    for (const std::string &argument : arguments)
        if (argument.find('\0') == std::string::npos)
            carried.push_back(argument);
    FUZZCHECK(SPLITARGUMENTS(JOINQUOTED(carried)) == carried);
    return 0;
}
