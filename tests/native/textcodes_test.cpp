// UTF-8 and UTF-16 conversions, and the Unicode escapes of the RTF export of
// a UTF-8 listing.
#include <gtest/gtest.h>

#include <string>

#include "document/rtfwriter.h"
#include "services/textcodes.h"

TEST(TextCodes, Utf16AndUtf8RoundTrip) {
    const struct {
        std::u16string wide;
        std::string utf8;
    } cases[] = {
        {u"Gr\u00F6\u00DFe", "Gr\xC3\xB6\xC3\x9F" "e"},                 // German
        {u"\u03A3\u03BF\u03C6\u03AF\u03B1", "\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1"},  // Greek
        {u"\u65E5\u672C", "\xE6\x97\xA5\xE6\x9C\xAC"},                   // Japanese
        {u"\U0001F600", "\xF0\x9F\x98\x80"},                             // outside the basic plane
        {u"\u007F\u0080", "\x7F\xC2\x80"},                               // the 1-/2-byte boundary
        {u"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},                       // the 2-/3-byte boundary
        {u"\uFFFF\U00010000", "\xEF\xBF\xBF\xF0\x90\x80\x80"},           // the 3-/4-byte boundary
        {u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},  // the last code point: the pair DBFF DFFF
        {u"", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UTF8OFUTF16(c.wide), c.utf8);
        EXPECT_EQ(UTF16OFUTF8(c.utf8), c.wide);
    }
}

TEST(TextCodes, BytesThatStartNoCharacterBecomeTheReplacement) {
    const struct {
        std::string utf8;
        std::u16string wide;
    } cases[] = {
        {"a\x80z", u"a\uFFFDz"},              // a stray continuation byte
        {"\xC0\xAF", u"\uFFFD\uFFFD"},        // an overlong form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate
        {"\xE4 ", u"\uFFFD "},                // an ANSI letter in UTF-8
        {"\xE6\x97", u"\uFFFD\uFFFD"},        // cut off
        {"\xC3\xC3", u"\uFFFD\uFFFD"},        // a lead byte where a continuation belongs
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
    };
    for (const auto &c : cases)
        EXPECT_EQ(UTF16OFUTF8(c.utf8), c.wide) << c.utf8;
    EXPECT_EQ(UTF8OFUTF16(u"\xD800x"), "\xEF\xBF\xBDx");  // an unpaired surrogate
    EXPECT_TRUE(STARTSWITHUTF8MARK("\xEF\xBB\xBFPrint", 8));
    EXPECT_TRUE(STARTSWITHUTF8MARK("\xEF\xBB\xBF", 3));
    EXPECT_FALSE(STARTSWITHUTF8MARK("\xEF\xBB", 2));
}

TEST(RtfBody, AUtf8ListingIsWrittenWithUnicodeEscapes) {
    const struct {
        std::string text;
        std::string rtf;
    } cases[] = {
        {"Gr\xC3\xB6\xC3\x9F" "e", "Gr\\u246?\\u223?e"},
        {"\xCE\xA3", "\\u931?"},
        {"\xE6\x97\xA5", "\\u26085?"},
        {"\xEF\xBF\xBD", "\\u-3?"},                         // above 32767: negative
        {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},         // a surrogate pair
        {"a\x80" "b", "a\\u-3?b"},                          // an invalid byte
        {"{\xC3\xA4}", "\\{\\u228?\\}"},
    };
    for (const auto &c : cases) {
        std::string styled;
        for (const char ch : c.text)
            styled += std::string{ch, '\0'};
        std::string line;
        unsigned style = 0;
        ASSERT_TRUE(APPENDRTFBODY(reinterpret_cast<const unsigned char *>(styled.data()), c.text.size(),
                                  [](std::string_view) { return true; }, line, style, true));
        EXPECT_EQ(line, c.rtf) << c.text;
        // An ANSI listing's bytes stay as they are.
        line.clear();
        ASSERT_TRUE(APPENDRTFBODY(reinterpret_cast<const unsigned char *>(styled.data()), c.text.size(),
                                  [](std::string_view) { return true; }, line, style, false));
        EXPECT_EQ(line.find("\\u"), std::string::npos) << c.text;
    }
}

// The pages a conversion resolves to: the system's pages for the symbolic
// numbers, any other number as it is; on a Windows whose ANSI page is UTF-8
// every name fits it.
TEST(TextCodes, SymbolicCodePagesResolveToTheSystems) {
    const struct {
        unsigned asked, ansi, oem, resolved;
    } cases[] = {
        {0, 1252, 850, 1252},                   // CP_ACP
        {0, UTF8CODEPAGE, 437, UTF8CODEPAGE},   // "Use Unicode UTF-8 for worldwide language support"
        {3, 1251, 866, 1251},                   // CP_THREAD_ACP
        {1, 1252, 850, 850},                    // CP_OEMCP
        {1, UTF8CODEPAGE, UTF8CODEPAGE, UTF8CODEPAGE},
        {2, 1252, 850, 2},                      // CP_MACCP and every number beyond: itself
        {4, 1252, 850, 4},
        {932, 1252, 850, 932},
        {UTF8CODEPAGE, 1252, 850, UTF8CODEPAGE},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RESOLVEDCODEPAGE(c.asked, c.ansi, c.oem), c.resolved) << c.asked << " " << c.ansi;
}

TEST(TextCodes, BoundariesOfLengthsAndCharacterSets) {
    EXPECT_EQ(UTF16LENGTH("\xEF\xBF\xBF"), 1u);           // U+FFFF: one unit
    EXPECT_EQ(UTF16LENGTH("\xF0\x90\x80\x80"), 2u);       // U+10000: a pair
    EXPECT_EQ(UTF16LENGTH("a\xF4\x8F\xBF\xBF" "b"), 4u);
    EXPECT_EQ(UTF16LENGTH("\xED\xBF\xBF"), 3u);           // an encoded U+DFFF: three replacements
    EXPECT_EQ(UTF16OFUTF8("\xED\xBF\xBF"), u"\uFFFD\uFFFD\uFFFD");
    const struct {
        int page, set;
    } sets[] = {{874, 222}, {932, 128}, {936, 134}, {949, 129}, {950, 136}, {1250, 238}, {1251, 204},
                {1252, 0},  {1253, 161}, {1254, 162}, {1255, 177}, {1256, 178}, {1257, 186}, {1258, 163},
                {1249, 0},  {1259, 0},   {65001, 0},  {0, 0}};
    for (const auto &c : sets)
        EXPECT_EQ(CHARACTERSETOF(c.page), c.set) << c.page;
}

// A settings file saved by another editor is read for what it is before the
// switch to UTF-16; one that does not decode cleanly is not converted.
TEST(TextCodes, FileEncodingsAreDetectedAndConvertedExactly) {
    const std::string le = "\xFF\xFE";
    const struct {
        std::string Bytes;
        TEXTENCODING Encoding;
        bool Clean;
        std::string Utf16;  // without the mark
    } cases[] = {
        {"[A]\r\nx=1\r\n", ENCODINGANSI, false, ""},                      // plain ASCII: the system's page
        {"", ENCODINGANSI, false, ""},
        {"Gr\xF6\xDF" "e", ENCODINGANSI, false, ""},                      // ANSI bytes that are no UTF-8
        {"Gr\xC3\xB6\xC3\x9F" "e", ENCODINGUTF8, true, std::string("G\0r\0\xF6\0\xDF\0e\0", 10)},
        {"\xEF\xBB\xBF[P]", ENCODINGUTF8MARK, true, std::string("[\0P\0]\0", 6)},
        {"\xEF\xBB\xBF", ENCODINGUTF8MARK, true, ""},
        {"\xEF\xBB\xBF" "a\x80", ENCODINGUTF8MARK, false, ""},           // marked, but a stray byte
        {"\xEF\xBB\xBF\xE6\x97", ENCODINGUTF8MARK, false, ""},           // cut off at the end
        {"\xEF\xBB\xBF\xF0\x9F\x98\x80", ENCODINGUTF8MARK, true, std::string("\x3D\xD8\x00\xDE", 4)},
        {"\xFE\xFF" + std::string("\0[\0A\0]", 6), ENCODINGUTF16BE, true, std::string("[\0A\0]\0", 6)},
        {"\xFE\xFF" + std::string("\0[\0", 3), ENCODINGUTF16BE, false, ""},  // an odd length
        {"\xFE\xFF" + std::string("\xD8\x3D\0a", 4), ENCODINGUTF16BE, false, ""},  // an unpaired surrogate
        {"\xFE\xFF" + std::string("\xDC\x00", 2), ENCODINGUTF16BE, false, ""},     // a trailing one alone
        {"\xFE\xFF" + std::string("\xD8\x3D", 2), ENCODINGUTF16BE, false, ""},     // the pair cut off
        {"\xFF\xFE" + std::string("[\0", 2), ENCODINGUTF16LE, true, std::string("[\0", 2)},
        {"\xFF\xFE" + std::string("[", 1), ENCODINGUTF16LE, false, ""},
        {"\xFF\xFE" + std::string("\x16\x04\xA9\x03", 4), ENCODINGUTF16LE, true,
         std::string("\x16\x04\xA9\x03", 4)},                            // Ж Ω: high bytes kept in their place
        {"\xFF", ENCODINGANSI, false, ""},                                // too short for a mark
        {"\xFE\xFF", ENCODINGUTF16BE, true, ""},                          // the mark alone
        {"\xFE\xFF" + std::string("\xD8\x3D\xDE\x00\x00\x61", 6), ENCODINGUTF16BE, true,
         std::string("\x3D\xD8\x00\xDE\x61\x00", 6)},                   // a pair, then a letter
        {"\xFE\xFF" + std::string("\xDB\xFF\xDC\x00", 4), ENCODINGUTF16BE, true,
         std::string("\xFF\xDB\x00\xDC", 4)},                             // the first low surrogate
        {"\xFE\xFF" + std::string("\xD8\x00\xDF\xFF", 4), ENCODINGUTF16BE, true,
         std::string("\x00\xD8\xFF\xDF", 4)},                             // the last low surrogate
        {"\xFE\xFF" + std::string("\xDF\xFF", 2), ENCODINGUTF16BE, false, ""},  // the last one alone
        {"\xFE\xFF" + std::string("\xD8\x00\xE0\x00", 4), ENCODINGUTF16BE, false, ""},  // no low one after
        {"\xC3\xA4\xED\xA0\x80", ENCODINGANSI, false, ""},               // a surrogate in UTF-8 form
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DETECTENCODING(c.Bytes), c.Encoding) << c.Bytes;
        std::string out = "left over";
        EXPECT_EQ(UTF16LEFILEOF(c.Bytes, c.Encoding, out), c.Clean) << c.Bytes;
        EXPECT_EQ(out, c.Clean ? le + c.Utf16 : "") << c.Bytes;
    }
    EXPECT_TRUE(ISCLEANUTF8(""));
    EXPECT_TRUE(ISCLEANUTF8("\xEF\xBF\xBD"));   // a real replacement character is clean
    EXPECT_FALSE(ISCLEANUTF8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(ISCLEANUTF8("\xF4\x90\x80\x80"));
}
