// UTF-8 and UTF-16, as the editing control and Windows' wide calls hold
// text, and the byte-order mark that makes a listing a UTF-8 listing. Text
// only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The bytes a UTF-8 listing starts with (EF BB BF).
constexpr std::string_view UTF8MARK = "\xEF\xBB\xBF";
bool STARTSWITHUTF8MARK(const char *bytes, std::size_t length);

// UTF-16 (as Windows' wide calls give it) as UTF-8. An unpaired surrogate
// becomes U+FFFD.
std::string UTF8OFUTF16(std::u16string_view text);
// UTF-8 as UTF-16. A byte that starts no valid sequence (a stray
// continuation byte, an overlong form, a surrogate, a cut-off sequence)
// becomes U+FFFD, one for each such byte.
std::u16string UTF16OFUTF8(std::string_view text);

// The length of UTF-8 text in UTF-16 units, as Windows counts a text's
// length (a character above U+FFFF counts two).
std::size_t UTF16LENGTH(std::string_view text);

// The code page a conversion really uses: the symbolic pages of the system
// (0, the ANSI page; 3, the thread's, which is the same; 1, the console's)
// become the numbers given; any other page is itself.
unsigned RESOLVEDCODEPAGE(unsigned codePage, unsigned ansiPage, unsigned oemPage);
// UTF-8 (65001): the one code page that holds every character. Windows set
// to "Use Unicode UTF-8 for worldwide language support" has it as its ANSI
// page, and refuses the lossy-conversion checks for it.
constexpr unsigned UTF8CODEPAGE = 65001;

// The Windows character set of an ANSI code page (as fonts and RTF name
// it): 0 (ANSI) for 1252 and any page without one of its own.
int CHARACTERSETOF(int codePage);

// Reads one code point from UTF-8 at text[at]; returns its length in bytes
// (1 for an invalid byte, whose code point is U+FFFD). Also used where text
// arrives in pieces: needMore is set when the sequence runs past the end.
std::size_t DECODEUTF8(std::string_view text, std::size_t at, char32_t &codePoint, bool *needMore = nullptr);

// How a text file is encoded, as far as its bytes tell: by its byte-order
// mark, else UTF-8 when it holds a byte above 127 and decodes cleanly as
// UTF-8, else the system's ANSI page.
enum TEXTENCODING : int {
    ENCODINGANSI = 0,
    ENCODINGUTF8 = 1,      // no mark
    ENCODINGUTF8MARK = 2,  // EF BB BF
    ENCODINGUTF16LE = 3,   // FF FE
    ENCODINGUTF16BE = 4,   // FE FF
};
TEXTENCODING DETECTENCODING(std::string_view bytes);
// True when every byte belongs to a well-formed UTF-8 character (no
// overlong form, no surrogate, nothing cut off at the end).
bool ISCLEANUTF8(std::string_view bytes);
// The text of a file in one of the Unicode encodings as UTF-16 LE bytes,
// mark first. False, with nothing in out, when it does not decode cleanly
// (an odd length of UTF-16, an unpaired surrogate, a byte that starts no
// UTF-8 character) or is ANSI, which only the system can decode.
bool UTF16LEFILEOF(std::string_view bytes, TEXTENCODING encoding, std::string &out);
