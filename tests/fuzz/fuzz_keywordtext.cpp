// The keyword text rules: the stored list without its padding, and the
// joined list handed to the lexer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/keywordtext.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::string_view stripped = STRIPTRAILINGZEROS(input);
    FUZZCHECK(input.substr(0, stripped.size()) == stripped);
    FUZZCHECK(stripped.empty() || stripped.back() != '\0');
    for (size_t i = stripped.size(); i < input.size(); ++i)
        FUZZCHECK(input[i] == '\0');

    const size_t split = size / 2;
    const std::string joined = JOINKEYWORDS(input.substr(0, split), input.substr(split));
    FUZZCHECK(joined.size() == size + 1);
    FUZZCHECK(joined[split] == ' ');
    for (size_t i = 0; i < size; ++i) {
        const char c = input[i];
        const char want = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        FUZZCHECK(joined[i < split ? i : i + 1] == want);
    }
    return 0;
}
