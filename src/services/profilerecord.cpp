#include "services/profilerecord.h"

#include "services/hexdigit.h"

namespace {

void AppendHex(std::string &text, std::uint8_t byte) {
    static const char digits[] = "0123456789ABCDEF";
    text += digits[byte >> 4];
    text += digits[byte & 15];
}

}  // namespace

std::string ENCODEPROFILERECORD(const void *record, std::size_t size) {
    const auto *bytes = static_cast<const std::uint8_t *>(record);
    std::string text;
    text.reserve(2 * size + 2);
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) {
        AppendHex(text, bytes[i]);
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    }
    AppendHex(text, sum);
    return text;
}

int DECODEPROFILERECORD(std::string_view text, std::size_t size, std::vector<std::uint8_t> &out) {
    if (text.size() != 2 * size + 2)
        return RECORD_WRONG_LENGTH;
    std::vector<std::uint8_t> bytes(size + 1);
    for (std::size_t i = 0; i <= size; ++i) {
        const int high = HEXDIGITVALUE(text[2 * i]);
        const int low = HEXDIGITVALUE(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return RECORD_BAD_DIGIT;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < size; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    if (sum != bytes[size])
        return RECORD_BAD_CHECKSUM;
    bytes.pop_back();
    out = std::move(bytes);
    return RECORD_OK;
}
