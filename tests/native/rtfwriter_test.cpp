#include "document/rtfwriter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Colours of the default configuration, red in the lowest byte.
const uint32_t DEFAULTCOLORS[RTFSTYLECOUNT] = {
    0x000000, 0x808080, 0xFF0000, 0x000080, 0x008000, 0x000000, 0x000000, 0x000000,
    0x000000, 0x800080, 0x004080, 0x000000, 0x000000, 0x800080, 0x004080,
};

// Interleaves characters with their style bytes as the editing control does.
std::vector<unsigned char> STYLED(const std::vector<std::pair<std::string, int>> &runs) {
    std::vector<unsigned char> styled;
    for (const auto &[text, style] : runs)
        for (const char c : text) {
            styled.push_back(static_cast<unsigned char>(c));
            styled.push_back(static_cast<unsigned char>(style));
        }
    return styled;
}

struct BODYRESULT {
    bool Complete = false;
    std::vector<std::string> Lines;
    std::string Rest;
};

BODYRESULT CONVERT(const std::vector<unsigned char> &styled, size_t acceptedLines = SIZE_MAX) {
    BODYRESULT result;
    result.Complete = WRITERTFBODY(
        styled.data(), styled.size() / 2,
        [&](std::string_view line) {
            if (result.Lines.size() == acceptedLines)
                return false;
            result.Lines.emplace_back(line);
            return true;
        },
        result.Rest);
    return result;
}

std::string JOINED(const BODYRESULT &result) {
    std::string all;
    for (const std::string &line : result.Lines)
        all += line;
    return all + result.Rest;
}

}  // namespace

TEST(RtfHeader, DefaultSettings) {
    EXPECT_EQ(RTFHEADER("Courier New", 9, DEFAULTCOLORS),
              "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}"
              "{\\colortbl \\red0\\green0\\blue0;\\red128\\green128\\blue128;\\red0\\green0\\blue255;"
              "\\red128\\green0\\blue0;\\red0\\green128\\blue0;"
              "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;"
              "\\red128\\green0\\blue128;\\red128\\green64\\blue0;"
              "\\red0\\green0\\blue0;\\red0\\green0\\blue0;"
              "\\red128\\green0\\blue128;\\red128\\green64\\blue0;}"
              "\\pard\\f0\\fs18 ");
}

// An ANSI listing's code page is named, with the character set of its
// script; a UTF-8 listing names none. A face name beyond ASCII is escaped.
TEST(RtfHeader, CodePageAndCharacterSet) {
    const struct {
        int CodePage;
        std::string Start;
    } cases[] = {
        {0, "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 "},
        {1252, "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 "},
        {1250, "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset238 "},
        {1251, "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset204 "},
        {1258, "{\\rtf1\\ansi\\ansicpg1258\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset163 "},
        {874, "{\\rtf1\\ansi\\ansicpg874\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset222 "},
        {932, "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset128 "},
        {950, "{\\rtf1\\ansi\\ansicpg950\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset136 "},
        {437, "{\\rtf1\\ansi\\ansicpg437\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RTFHEADER("Courier New", 9, DEFAULTCOLORS, c.CodePage).substr(0, c.Start.size()), c.Start)
            << c.CodePage;
    const std::string header = RTFHEADER("\xEF\xBC\xAD\xEF\xBC\xB3 Gothic", 9, DEFAULTCOLORS, 932);
    EXPECT_NE(header.find("\\fcharset128 \\u-211?\\u-205? Gothic;}}"), std::string::npos) << header;
}

// In a double-byte code page a letter's two bytes go as escapes: its second
// byte may be a backslash or a brace.
TEST(RtfBody, DoubleByteLettersAreEscapedPairs) {
    bool leadBytes[256] = {};
    for (int b = 0x81; b <= 0x9F; ++b)
        leadBytes[b] = true;
    const std::string text = "\x95\x5C{\x82\xA0x\x81";  // a pair with a backslash, a brace, a pair, a lead at the end
    std::string styled;
    for (const char c : text)
        styled += std::string{c, '\0'};
    std::vector<std::string> lines;
    std::string line;
    unsigned style = 0;
    ASSERT_TRUE(APPENDRTFBODY(reinterpret_cast<const unsigned char *>(styled.data()), text.size(),
                              [&lines](std::string_view l) {
                                  lines.emplace_back(l);
                                  return true;
                              },
                              line, style, false, leadBytes));
    EXPECT_EQ(line, "\\'95\\'5c\\{\\'82\\'a0x\x81");
}

TEST(RtfHeader, ColourPartsFontAndSize) {
    uint32_t colors[RTFSTYLECOUNT] = {};
    colors[0] = 0x00FFFFFF;
    colors[14] = 0xAB030201;  // the top byte is no colour part
    const std::string header = RTFHEADER(std::string_view("Lucida Console\0junk", 19), 18, colors);
    EXPECT_NE(header.find("\\fcharset0 Lucida Console;}}{\\colortbl "), std::string::npos);
    EXPECT_NE(header.find("{\\colortbl \\red255\\green255\\blue255;\\red0\\green0\\blue0;"), std::string::npos);
    EXPECT_NE(header.find(";\\red1\\green2\\blue3;}\\pard"), std::string::npos);
    EXPECT_EQ(header.substr(header.size() - 9), "\\f0\\fs36 ");
    EXPECT_EQ(header.find("junk"), std::string::npos);
}

TEST(RtfBody, EmptyDocument) {
    const BODYRESULT result = CONVERT({});
    EXPECT_TRUE(result.Complete);
    EXPECT_TRUE(result.Lines.empty());
    EXPECT_EQ(result.Rest, "");
    std::string rest = "left over";
    EXPECT_TRUE(WRITERTFBODY(nullptr, 0, [](std::string_view) { return true; }, rest));
    EXPECT_EQ(rest, "");
}

TEST(RtfBody, ColourWordsAndEscapes) {
    const BODYRESULT result = CONVERT(STYLED({{"Print", 3}, {" ", 0}, {"\"{a\\b}\"", 4}}));
    EXPECT_TRUE(result.Lines.empty());
    EXPECT_EQ(result.Rest, "\\cf3 Print\\cf0  \\cf4 \"\\{a\\\\b\\}\"");
    // Style 0 at the start needs no colour word; two-digit and masked styles.
    EXPECT_EQ(CONVERT(STYLED({{"a", 0}, {"b", 32 + 12}, {"c", 31}, {"d", 64 + 31}})).Rest, "a\\cf12 b\\cf31 cd");
}

TEST(RtfBody, LineEnds) {
    // One paragraph per line feed, carriage returns dropped.
    BODYRESULT result = CONVERT(STYLED({{"a\r\nb\nc", 0}}));
    EXPECT_EQ(result.Lines, (std::vector<std::string>{"a\\par ", "b\\par "}));
    EXPECT_EQ(result.Rest, "c");
    // A text ending with a line feed leaves an empty last paragraph.
    result = CONVERT(STYLED({{"End\r\n", 0}}));
    EXPECT_EQ(result.Lines, (std::vector<std::string>{"End\\par "}));
    EXPECT_EQ(result.Rest, "");
    // Carriage returns alone make one paragraph.
    result = CONVERT(STYLED({{"a\rb\rc\r", 0}}));
    EXPECT_TRUE(result.Lines.empty());
    EXPECT_EQ(result.Rest, "abc");
}

TEST(RtfBody, StyleChangeOnLineEndIsNotAnnounced) {
    // The indent has the style of the line break before it: no colour word.
    BODYRESULT result = CONVERT(STYLED({{"If", 3}, {"\r\n  ", 0}, {"x", 3}}));
    EXPECT_EQ(JOINED(result), "\\cf3 If\\par   \\cf3 x");
    // The new style was recorded on the line end, so text of that style that
    // follows gets no colour word either.
    result = CONVERT(STYLED({{"a", 3}, {"\n", 5}, {"b", 5}, {"c", 3}}));
    EXPECT_EQ(JOINED(result), "\\cf3 a\\par b\\cf3 c");
    result = CONVERT(STYLED({{"a", 3}, {"\r", 0}, {"\n", 3}, {"b", 3}}));
    EXPECT_EQ(JOINED(result), "\\cf3 a\\par b");
}

TEST(RtfBody, OtherBytesUnchanged) {
    std::string bytes = "\t\xE4\xF6\xFC\xDF\x80\xFF";
    bytes += '\0';
    bytes += "~";
    EXPECT_EQ(CONVERT(STYLED({{bytes, 0}})).Rest, bytes);
}

TEST(RtfBody, WriterFailureStops) {
    const std::vector<unsigned char> styled = STYLED({{"one\r\ntwo\r\nthree", 0}});
    BODYRESULT result = CONVERT(styled, 0);
    EXPECT_FALSE(result.Complete);
    EXPECT_TRUE(result.Lines.empty());
    result = CONVERT(styled, 1);
    EXPECT_FALSE(result.Complete);
    EXPECT_EQ(result.Lines, (std::vector<std::string>{"one\\par "}));
    EXPECT_EQ(result.Rest, "");
    result = CONVERT(styled, 2);
    EXPECT_TRUE(result.Complete);
    EXPECT_EQ(result.Rest, "three");
}

TEST(RtfBody, LargeListingStreamsLineByLine) {
    // Many short lines, then one long line without a line feed: every line
    // is handed over once, and the long one stays collected for the end.
    std::vector<unsigned char> styled;
    const std::vector<unsigned char> line = STYLED({{"    ", 0}, {"Print", 3}, {" ", 0}, {"\"{x}\"", 4}, {" ' note", 1},
                                                    {" a = b + 1", 0}, {"\r\n", 0}});
    const size_t lineCount = 100000;
    for (size_t i = 0; i < lineCount; ++i)
        styled.insert(styled.end(), line.begin(), line.end());
    styled.insert(styled.end(), 1u * 1024 * 1024 * 2, 'q');  // style 113 & 31 = 17
    const size_t characters = styled.size() / 2;

    size_t lines = 0;
    size_t bytes = 0;
    std::string rest;
    const bool complete = WRITERTFBODY(
        styled.data(), characters,
        [&](std::string_view text) {
            ++lines;
            bytes += text.size();
            return true;
        },
        rest);
    EXPECT_TRUE(complete);
    EXPECT_EQ(lines, lineCount);
    EXPECT_EQ(rest.substr(0, 7), "\\cf17 q");
    EXPECT_EQ(rest.size(), 6 + 1u * 1024 * 1024);
    EXPECT_GT(bytes, lineCount * 30);
}

TEST(RtfBody, PiecesGiveTheSameOutputAsTheWhole) {
    const std::vector<unsigned char> styled =
        STYLED({{"Dim", 3}, {" ", 0}, {"s", 0}, {"\r\n", 1}, {"\"{a}\\\"", 4}, {" ' c", 1}, {"\n", 1}, {"x", 1}, {"\r\n", 0}, {"End", 3}});
    const size_t count = styled.size() / 2;
    std::string whole, wholeRest;
    ASSERT_TRUE(WRITERTFBODY(styled.data(), count, [&](std::string_view l) { whole += l; return true; }, wholeRest));
    for (size_t cut = 0; cut <= count; ++cut) {
        std::string pieces, line;
        unsigned style = 0;
        const auto sink = [&](std::string_view l) { pieces += l; return true; };
        ASSERT_TRUE(APPENDRTFBODY(styled.data(), cut, sink, line, style));
        ASSERT_TRUE(APPENDRTFBODY(styled.data() + 2 * cut, count - cut, sink, line, style));
        EXPECT_EQ(pieces, whole) << "cut at " << cut;
        EXPECT_EQ(line, wholeRest) << "cut at " << cut;
    }
}
