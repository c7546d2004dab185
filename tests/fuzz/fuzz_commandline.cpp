// The command-line tail and the first file it names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "services/settingsrules.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view line(reinterpret_cast<const char *>(data), size);
    const std::string tail = COMMANDTAIL(line);
    FUZZCHECK(tail.size() <= line.size());
    FUZZCHECK(line.substr(line.size() - tail.size()) == tail);
    std::string file;
    const int kind = PARSECOMMANDTAIL(tail, file);
    FUZZCHECK(kind == TAIL_LASTFILE || kind == TAIL_EMPTY || kind == TAIL_FILE);
    if (kind != TAIL_FILE) {
        FUZZCHECK(file.empty());
    } else {
        // The whole tail, without its enclosing quotes: never cut.
        std::string_view name = tail;
        if (!name.empty() && name.front() == '"')
            name.remove_prefix(1);
        if (!name.empty() && name.back() == '"')
            name.remove_suffix(1);
        FUZZCHECK(file == name);
    }
    return 0;
}
