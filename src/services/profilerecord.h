// The profile-record encoding of the configuration file: a record's bytes in
// memory order as pairs of upper-case hexadecimal digits, followed by two
// digits holding the low 8 bits of the sum of all bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::string ENCODEPROFILERECORD(const void *record, std::size_t size);

// Status of DECODEPROFILERECORD.
enum : int {
    RECORD_OK = 0,
    RECORD_WRONG_LENGTH = 1,  // not 2 * size + 2 digits
    RECORD_BAD_DIGIT = 2,     // a character that is no hexadecimal digit
    RECORD_BAD_CHECKSUM = 3,
};

// Decodes text written for a record of size bytes into out (size bytes on
// success; untouched otherwise). Returns one of the statuses above.
int DECODEPROFILERECORD(std::string_view text, std::size_t size, std::vector<std::uint8_t> &out);
