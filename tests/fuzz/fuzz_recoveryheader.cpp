// The recovery copy's header: any bytes as a file, and the round trip of a
// header made from the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "document/recoveryrules.h"
#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    // The input as a whole file, and as the first part of a longer one.
    for (const std::uint64_t fileSize : {static_cast<std::uint64_t>(size), static_cast<std::uint64_t>(size) + 7}) {
        RECOVERYHEADER header;
        std::size_t offset = 99;
        const RECOVERYSTATUS status = PARSERECOVERYHEADER(bytes, fileSize, header, offset);
        FUZZCHECK(status >= RECOVERYOK && status <= RECOVERYCUT);
        if (status == RECOVERYOK) {
            FUZZCHECK(offset <= size && offset + header.Length == fileSize);
        }
    }
    // A header made of the input's bytes (a line break ends the name) reads
    // back the same, with a copy of any length after it.
    RECOVERYHEADER made;
    made.Listing = bytes.substr(0, bytes.find_first_of("\r\n"));
    if (made.Listing == RECOVERYUNTITLED)
        made.Listing.clear();
    made.Written = size * 0x9E3779B97F4A7C15ull;
    made.Length = size % 5 == 0 ? 0 : size;
    const std::string file = BUILDRECOVERYHEADER(made) + std::string(static_cast<std::size_t>(made.Length), 'x');
    RECOVERYHEADER read;
    std::size_t offset = 0;
    FUZZCHECK(PARSERECOVERYHEADER(file, file.size(), read, offset) == RECOVERYOK);
    FUZZCHECK(read.Listing == made.Listing && read.Written == made.Written && read.Length == made.Length);
    FUZZCHECK(offset + made.Length == file.size());
    // One byte less is a cut copy.
    if (!file.empty())
        FUZZCHECK(PARSERECOVERYHEADER(file, file.size() - 1, read, offset) != RECOVERYOK);
    return 0;
}
