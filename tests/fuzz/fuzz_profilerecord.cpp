// The INI record decoding: any text for any record size, and the round trip
// of what was decoded.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "services/profilerecord.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    const size_t recordSize = data[0] % 80;
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    std::vector<std::uint8_t> out(3, 0xAB);
    const int status = DECODEPROFILERECORD(text, recordSize, out);
    FUZZCHECK(status >= RECORD_OK && status <= RECORD_BAD_CHECKSUM);
    if (status == RECORD_OK) {
        FUZZCHECK(out.size() == recordSize);
        std::string upper = text;
        for (char &c : upper)
            if (c >= 'a' && c <= 'f')
                c = static_cast<char>(c - 'a' + 'A');
        FUZZCHECK(ENCODEPROFILERECORD(out.data(), out.size()) == upper);
    } else {
        FUZZCHECK(out.size() == 3 && out[0] == 0xAB);
    }
    // Encoding any bytes decodes back to them.
    const std::string encoded = ENCODEPROFILERECORD(data, size);
    std::vector<std::uint8_t> back;
    FUZZCHECK(DECODEPROFILERECORD(encoded, size, back) == RECORD_OK);
    FUZZCHECK(back == std::vector<std::uint8_t>(data, data + size));
    return 0;
}
