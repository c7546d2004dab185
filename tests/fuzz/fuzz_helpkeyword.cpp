// The help keyword rules, the help-file type and the streaming of the
// editor's help text: any word, any keyword list, any document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzzcheck.h"
#include "help/helprules.h"

namespace {

std::string STREAMWHOLE(std::string_view document, int section, size_t bufferSize) {
    HelpStream stream = STARTHELPSTREAM(document, section);
    std::string out;
    std::string buffer(bufferSize, '\0');
    for (int guard = 0; guard < 1 << 22; ++guard) {
        const size_t got = STREAMHELPSECTION(stream, buffer.data(), buffer.size());
        FUZZCHECK(got <= bufferSize);
        if (got == 0)
            return out;
        out.append(buffer.data(), got);
    }
    FUZZCHECK(!"the stream never ends");
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data + 2), size - 2);
    const size_t split = data[0] < input.size() ? data[0] : input.size();

    std::string keyword(input.substr(0, split));
    const int choice = CHOOSEHELPKEYWORD(keyword, input.substr(split));
    FUZZCHECK(choice == HELPCHOICE_API || choice == HELPCHOICE_BASIC);
    HELPFILETYPE(input);
    const HelpCall call = KEYWORDHELPCALL(choice, keyword, std::string(input.substr(split)), std::string(input), data[1] & 1);
    FUZZCHECK(call.Times >= 1 && call.Times <= 2);
    FUZZCHECK(KEYWORDRANGEEND(0, static_cast<int64_t>(size) * 1000) <= static_cast<int64_t>(MAXKEYWORDBYTES));

    // A topic streamed in small pieces is the same as streamed at once, and
    // the pieces never overrun the buffer.
    const int section = 1 + data[1] % HELPTOPICCOUNT;
    const size_t small = 1 + data[0] % 17;
    FUZZCHECK(STREAMWHOLE(input, section, small) == STREAMWHOLE(input, section, 4096));
    return 0;
}
