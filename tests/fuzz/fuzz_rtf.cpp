// The RTF writer: any face name and any styled text give balanced groups,
// and the text comes back whole when the RTF is read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/rtfwriter.h"
#include "services/textcodes.h"
#include "fuzzcheck.h"

namespace {

// Group depth over RTF text, skipping escaped characters; false when a group
// closes that was never opened.
bool BALANCED(std::string_view rtf, int &depth) {
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return true;
}

// Reads the body back as code units: colour words and paragraph marks
// dropped, escapes undone, Unicode escapes as the unit they give, any other
// byte as itself.
std::u16string READBACK(std::string_view body) {
    std::u16string text;
    for (size_t i = 0; i < body.size(); ++i) {
        const auto c = static_cast<unsigned char>(body[i]);
        if (c != '\\') {
            text += static_cast<char16_t>(c);
            continue;
        }
        const char next = i + 1 < body.size() ? body[i + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            text += static_cast<char16_t>(next);
            ++i;
        } else if (body.substr(i, 5) == "\\par ") {
            text += u'\n';
            i += 4;
        } else if (next == 'u') {
            // The signed 16-bit value of the code unit, then one '?'.
            size_t at = i + 2;
            const bool negative = at < body.size() && body[at] == '-';
            at += negative ? 1 : 0;
            long value = 0;
            while (at < body.size() && body[at] >= '0' && body[at] <= '9' && value < 100000)
                value = value * 10 + (body[at++] - '0');
            FUZZCHECK(at < body.size() && body[at] == '?');
            if (negative)
                value = 0x10000 - value;
            FUZZCHECK(value >= 0x80 && value <= 0xFFFF);
            text += static_cast<char16_t>(value);
            i = at;
        } else {
            FUZZCHECK(body.substr(i, 3) == "\\cf");
            i += 3;
            while (i < body.size() && body[i] >= '0' && body[i] <= '9')
                ++i;
            FUZZCHECK(i < body.size() && body[i] == ' ');
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2)
        return 0;
    const size_t fontLength = data[0] % 40 < size - 1 ? data[0] % 40 : size - 1;
    const std::string_view font(reinterpret_cast<const char *>(data + 1), fontLength);
    uint32_t colors[RTFSTYLECOUNT] = {};
    for (int i = 0; i < RTFSTYLECOUNT; ++i)
        colors[i] = static_cast<uint32_t>(i) * 0x010203u;
    const std::string header = RTFHEADER(font, 9, colors);
    int depth = 0;
    FUZZCHECK(BALANCED(header, depth));
    FUZZCHECK(depth == 1);

    // The rest as (character, style) pairs.
    const uint8_t *styled = data + 1 + fontLength;
    const size_t count = (size - 1 - fontLength) / 2;
    std::string body;
    std::string rest;
    FUZZCHECK(WRITERTFBODY(
        styled, count,
        [&body](std::string_view line) {
            body += line;
            return true;
        },
        rest));
    body += rest;
    depth = 0;
    FUZZCHECK(BALANCED(body, depth));
    FUZZCHECK(depth == 0);
    // As an ANSI listing every byte comes back as it was.
    std::u16string expected;
    for (size_t i = 0; i < count; ++i)
        if (styled[2 * i] != '\r')
            expected += static_cast<char16_t>(styled[2 * i]);
    FUZZCHECK(READBACK(body) == expected);

    // As a UTF-8 listing: every character comes back, those above 127 from
    // their escapes, a byte that starts no character as U+FFFD.
    std::string utf8Body;
    std::string line;
    unsigned style = 0;
    FUZZCHECK(APPENDRTFBODY(
        styled, count,
        [&utf8Body](std::string_view text) {
            utf8Body += text;
            return true;
        },
        line, style, true));
    utf8Body += line;
    depth = 0;
    FUZZCHECK(BALANCED(utf8Body, depth));
    FUZZCHECK(depth == 0);
    for (const char c : utf8Body)
        FUZZCHECK(static_cast<unsigned char>(c) < 0x80);
    std::string raw;
    for (size_t i = 0; i < count; ++i)
        raw += static_cast<char>(styled[2 * i]);
    std::u16string wideExpected;
    for (const char16_t unit : UTF16OFUTF8(raw))
        if (unit != u'\r')
            wideExpected += unit;
    FUZZCHECK(READBACK(utf8Body) == wideExpected);
    return 0;
}
