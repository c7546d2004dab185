// The RTF writer: any face name and any styled text give balanced groups,
// and the text comes back whole when the RTF is read again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/rtfwriter.h"
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

// Reads the body back: colour words and paragraph marks dropped, escapes undone.
std::string PLAINTEXT(std::string_view body) {
    std::string text;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\') {
            text += body[i];
            continue;
        }
        const char next = i + 1 < body.size() ? body[i + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            text += next;
            ++i;
        } else if (body.substr(i, 5) == "\\par ") {
            text += '\n';
            i += 4;
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
    std::string expected;
    for (size_t i = 0; i < count; ++i)
        if (styled[2 * i] != '\r')
            expected += static_cast<char>(styled[2 * i]);
    FUZZCHECK(PLAINTEXT(body) == expected);
    return 0;
}
