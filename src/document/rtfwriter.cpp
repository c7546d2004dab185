#include "document/rtfwriter.h"

#include <cstring>
#include <string>

#include "services/textcodes.h"

namespace {

// Most bytes one character can produce: "\cf31 " and two Unicode escapes
// "\u-10000?" of a surrogate pair; also room enough for "\par ".
constexpr std::ptrdiff_t MAXCHARBYTES = 32;

// One code point as RTF's Unicode escape: "\u" and its value as a signed
// 16-bit number, then "?" for readers that know no Unicode.
char *UNICODEESCAPE(char *out, unsigned value) {
    const int signedValue = value >= 0x8000 ? static_cast<int>(value) - 0x10000 : static_cast<int>(value);
    const std::string text = "\\u" + std::to_string(signedValue) + "?";
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// A code point above U+FFFF goes as its UTF-16 surrogate pair.
char *CODEPOINTESCAPE(char *out, char32_t codePoint) {
    if (codePoint < 0x10000)
        return UNICODEESCAPE(out, codePoint);
    out = UNICODEESCAPE(out, 0xD800 + ((codePoint - 0x10000) >> 10));
    return UNICODEESCAPE(out, 0xDC00 + ((codePoint - 0x10000) & 0x3FF));
}

enum : unsigned char { PLAIN, ESCAPED, LINEEND };

struct CHARKINDTABLE {
    unsigned char Kind[256] = {};
    constexpr CHARKINDTABLE() {
        Kind[static_cast<unsigned char>('\\')] = ESCAPED;
        Kind[static_cast<unsigned char>('{')] = ESCAPED;
        Kind[static_cast<unsigned char>('}')] = ESCAPED;
        Kind[static_cast<unsigned char>('\r')] = LINEEND;
        Kind[static_cast<unsigned char>('\n')] = LINEEND;
    }
};
constexpr CHARKINDTABLE CHARKINDS;

template <std::size_t N>
char *COPY(char *out, const char (&text)[N]) {
    std::memcpy(out, text, N - 1);
    return out + (N - 1);
}

}  // namespace

std::string RTFHEADER(std::string_view font, int32_t fontSize, const uint32_t (&colors)[RTFSTYLECOUNT],
                      int ansiCodePage) {
    font = font.substr(0, font.find('\0'));
    std::string header;
    header.reserve(160 + font.size() + RTFSTYLECOUNT * 32);
    header += "{\\rtf1\\ansi";
    if (ansiCodePage > 0)
        header += "\\ansicpg" + std::to_string(ansiCodePage);
    header += "\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset" + std::to_string(CHARACTERSETOF(ansiCodePage)) + " ";
    // A face name from a hand-edited INI file may hold braces or backslashes;
    // unescaped they would end the font table and the document early. Its
    // letters beyond ASCII are Unicode escapes, whatever the code page.
    char escape[MAXCHARBYTES];
    for (std::size_t at = 0; at < font.size();) {
        const char c = font[at];
        if (static_cast<unsigned char>(c) >= 0x80) {
            char32_t codePoint;
            at += DECODEUTF8(font, at, codePoint);
            header.append(escape, CODEPOINTESCAPE(escape, codePoint));
            continue;
        }
        if (CHARKINDS.Kind[static_cast<unsigned char>(c)] == ESCAPED)
            header += '\\';
        header += c;
        ++at;
    }
    header += ";}}";
    header += "{\\colortbl ";
    for (const uint32_t color : colors) {
        header += "\\red";
        header += std::to_string(color & 0xFF);
        header += "\\green";
        header += std::to_string((color >> 8) & 0xFF);
        header += "\\blue";
        header += std::to_string((color >> 16) & 0xFF);
        header += ';';
    }
    header += '}';
    header += "\\pard\\f0\\fs";
    header += std::to_string(2 * static_cast<int64_t>(fontSize));  // half points
    header += ' ';
    return header;
}

bool WRITERTFBODY(const unsigned char *styled, std::size_t count, const std::function<bool(std::string_view)> &writeLine,
                  std::string &rest) {
    rest.clear();
    unsigned currentStyle = 0;
    return APPENDRTFBODY(styled, count, writeLine, rest, currentStyle);
}

bool APPENDRTFBODY(const unsigned char *styled, std::size_t count, const std::function<bool(std::string_view)> &writeLine,
                   std::string &line, unsigned &currentStyle, bool utf8, const bool *leadBytes) {
    // The line is built through a pointer into line, which is kept at least
    // MAXCHARBYTES ahead of the write position; one comparison per character
    // instead of a capacity check per appended byte.
    const std::size_t pending = line.size();
    line.resize(pending + 4096);
    char *out = line.data() + pending;
    char *limit = line.data() + line.size() - MAXCHARBYTES;
    const unsigned char *const end = styled + 2 * count;
    for (const unsigned char *at = styled; at != end; at += 2) {
        if (out > limit) {
            const std::size_t used = static_cast<std::size_t>(out - line.data());
            line.resize(2 * line.size());
            out = line.data() + used;
            limit = line.data() + line.size() - MAXCHARBYTES;
        }
        const unsigned char c = at[0];
        const unsigned style = at[1] & 31u;
        const unsigned char kind = CHARKINDS.Kind[c];
        const bool multibyte = utf8 && c >= 0x80;
        const bool doubleByte = leadBytes && leadBytes[c] && at + 2 != end;
        if (kind == PLAIN && style == currentStyle && !multibyte && !doubleByte) {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (kind == LINEEND) {
            // A style change on a line end is remembered but not announced:
            // the next colour word comes with the next change.
            currentStyle = style;
            if (c == '\n') {
                out = COPY(out, "\\par ");
                const std::size_t used = static_cast<std::size_t>(out - line.data());
                if (!writeLine(std::string_view(line.data(), used))) {
                    line.clear();
                    return false;
                }
                out = line.data();
            }
            continue;
        }
        if (style != currentStyle) {
            currentStyle = style;
            out = COPY(out, "\\cf");
            if (style >= 10)
                *out++ = static_cast<char>('0' + style / 10);
            *out++ = static_cast<char>('0' + style % 10);
            *out++ = ' ';
        }
        if (multibyte) {
            // The sequence's bytes are every second byte from here on.
            char bytes[4];
            std::size_t have = 0;
            for (const unsigned char *b = at; b != end && have < 4; b += 2)
                bytes[have++] = static_cast<char>(*b);
            char32_t codePoint;
            const std::size_t used = DECODEUTF8(std::string_view(bytes, have), 0, codePoint);
            at += 2 * (used - 1);
            out = CODEPOINTESCAPE(out, codePoint);
            continue;
        }
        if (doubleByte) {
            static const char digits[] = "0123456789abcdef";
            for (const unsigned char b : {c, at[2]}) {
                *out++ = '\\';
                *out++ = '\'';
                *out++ = digits[b >> 4];
                *out++ = digits[b & 15];
            }
            at += 2;
            continue;
        }
        if (kind == ESCAPED)
            *out++ = '\\';
        *out++ = static_cast<char>(c);
    }
    line.resize(static_cast<std::size_t>(out - line.data()));
    return true;
}
