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
