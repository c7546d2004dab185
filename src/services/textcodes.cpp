#include "services/textcodes.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

void APPENDUTF8(std::string &out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

bool STARTSWITHUTF8MARK(const char *bytes, std::size_t length) {
    return length >= UTF8MARK.size() && std::string_view(bytes, UTF8MARK.size()) == UTF8MARK;
}

std::string UTF8OFUTF16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = REPLACEMENT;
        }
        APPENDUTF8(out, c);
    }
    return out;
}

std::size_t DECODEUTF8(std::string_view text, std::size_t at, char32_t &codePoint, bool *needMore) {
    if (needMore)
        *needMore = false;
    const auto lead = static_cast<unsigned char>(text[at]);
    codePoint = REPLACEMENT;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length;
    char32_t value;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size()) {
            if (needMore)
                *needMore = true;
            return 1;
        }
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return 1;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 1;
    codePoint = value;
    return length;
}

unsigned RESOLVEDCODEPAGE(unsigned codePage, unsigned ansiPage, unsigned oemPage) {
    switch (codePage) {
    case 0:  // CP_ACP
    case 3:  // CP_THREAD_ACP
        return ansiPage;
    case 1:  // CP_OEMCP
        return oemPage;
    default:
        return codePage;
    }
}

int CHARACTERSETOF(int codePage) {
    switch (codePage) {
    case 874: return 222;   // Thai
    case 932: return 128;   // Japanese
    case 936: return 134;   // simplified Chinese
    case 949: return 129;   // Korean
    case 950: return 136;   // traditional Chinese
    case 1250: return 238;  // Central European
    case 1251: return 204;  // Cyrillic
    case 1253: return 161;  // Greek
    case 1254: return 162;  // Turkish
    case 1255: return 177;  // Hebrew
    case 1256: return 178;  // Arabic
    case 1257: return 186;  // Baltic
    case 1258: return 163;  // Vietnamese
    default: return 0;
    }
}

std::size_t UTF16LENGTH(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c;
        at += DECODEUTF8(text, at, c);
        units += c >= 0x10000 ? 2 : 1;
    }
    return units;
}

std::u16string UTF16OFUTF8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        char32_t c;
        at += DECODEUTF8(text, at, c);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

bool ISCLEANUTF8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t c;
        bool cut = false;
        const std::size_t length = DECODEUTF8(bytes, at, c, &cut);
        if (cut || (c == 0xFFFD && length == 1))
            return false;
        at += length;
    }
    return true;
}

TEXTENCODING DETECTENCODING(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return ENCODINGUTF16LE;
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return ENCODINGUTF16BE;
    if (STARTSWITHUTF8MARK(bytes.data(), bytes.size()))
        return ENCODINGUTF8MARK;
    bool high = false;
    for (const char c : bytes)
        high = high || static_cast<unsigned char>(c) >= 0x80;
    return high && ISCLEANUTF8(bytes) ? ENCODINGUTF8 : ENCODINGANSI;
}

namespace {
// UTF-16 units from bytes in either order; false on an odd length or an
// unpaired surrogate.
bool UNITSOF(std::string_view bytes, bool bigEndian, std::u16string &units) {
    if (bytes.size() % 2 != 0)
        return false;
    units.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
    }
    return true;
}
}  // namespace

bool UTF16LEFILEOF(std::string_view bytes, TEXTENCODING encoding, std::string &out) {
    out.clear();
    std::u16string units;
    switch (encoding) {
    case ENCODINGUTF16LE:
    case ENCODINGUTF16BE:
        if (!UNITSOF(bytes.substr(2), encoding == ENCODINGUTF16BE, units))
            return false;
        break;
    case ENCODINGUTF8MARK:
    case ENCODINGUTF8: {
        const std::string_view text = encoding == ENCODINGUTF8MARK ? bytes.substr(UTF8MARK.size()) : bytes;
        if (!ISCLEANUTF8(text))
            return false;
        units = UTF16OFUTF8(text);
        break;
    }
    default:
        return false;
    }
    out.reserve(2 + 2 * units.size());
    out = "\xFF\xFE";
    for (const char16_t u : units) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    }
    return true;
}
