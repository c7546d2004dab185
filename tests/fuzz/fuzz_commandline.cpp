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
    FUZZCHECK(file.size() <= MAXPATHCHARS);
    if (kind != TAIL_FILE)
        FUZZCHECK(file.empty());
    return 0;
}
