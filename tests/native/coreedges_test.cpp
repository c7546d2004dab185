// Edges of the core's rules where a changed constant or a dropped case would
// otherwise go unnoticed: range limits, the command-line tail, the RTF
// writer's output for long lines and high styles, the keyword text rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/settingsrules.h"
#include "document/keywordtext.h"
#include "document/rtfwriter.h"

namespace {

std::string BODY(const std::vector<unsigned char> &styled) {
    std::string all;
    std::string rest;
    EXPECT_TRUE(WRITERTFBODY(
        styled.data(), styled.size() / 2,
        [&all](std::string_view line) {
            all += line;
            return true;
        },
        rest));
    return all + rest;
}

}  // namespace

TEST(RangeEdges, LastValueInsideAndFirstOutside) {
    EXPECT_EQ(CHECKFONTSIZE(18), 18);
    EXPECT_EQ(CHECKFONTSIZE(19), 18);
    EXPECT_EQ(CHECKFONTSIZE(3), 4);
    EXPECT_EQ(CHECKCOMPILERTYPE(0), 0);
    EXPECT_EQ(CHECKCOMPILERTYPE(2), 0);
    EXPECT_EQ(CHECKCOMPILETIMEOUT(30), 30);
    EXPECT_EQ(CHECKCOMPILETIMEOUT(31), 30);
}

TEST(CommandTailEdges, TabEndsAnUnquotedProgramName) {
    EXPECT_EQ(COMMANDTAIL("Quillet.exe\tfile.bas"), "file.bas");
    EXPECT_EQ(COMMANDTAIL("Quillet.exe \t file.bas"), "file.bas");
    EXPECT_EQ(COMMANDTAIL("\"C:\\Program Files\\Quillet.exe\"\t/e"), "/e");
}

TEST(RtfEdges, FontNameIsEscapedInTheFontTable) {
    const uint32_t colors[RTFSTYLECOUNT] = {};
    const std::string header = RTFHEADER("Odd}{\\Face", 9, colors);
    EXPECT_NE(header.find("\\fcharset0 Odd\\}\\{\\\\Face;}}"), std::string::npos) << header;
    // Braces stay balanced up to the start of the text.
    int depth = 0;
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == '\\') {
            ++i;
            continue;
        }
        depth += header[i] == '{' ? 1 : header[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 1) << "group closed early at " << i << ": " << header;
    }
    EXPECT_EQ(depth, 1);
}

TEST(RtfEdges, StylesFromTenUpAreWrittenWithTwoDigits) {
    EXPECT_EQ(BODY({'a', 10, 'b', 14, 'c', 9}), "\\cf10 a\\cf14 b\\cf9 c");
}

TEST(RtfEdges, LongLineOfWideUnitsIsWrittenExactly) {
    // Every character changes the style and is escaped: eight bytes of RTF
    // each, far past the writer's first line buffer.
    std::vector<unsigned char> styled;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        const unsigned char style = i % 2 ? 13 : 11;
        const char c = "{}\\"[i % 3];
        styled.push_back(static_cast<unsigned char>(c));
        styled.push_back(style);
        expected += "\\cf" + std::to_string(style) + " \\" + c;
    }
    EXPECT_EQ(BODY(styled), expected);
}

TEST(KeywordTextEdges, AllTrailingZerosGoAndEveryCapitalIsLowered) {
    using namespace std::string_literals;
    EXPECT_EQ(STRIPTRAILINGZEROS("abc\0\0\0\0"s), "abc");
    EXPECT_EQ(STRIPTRAILINGZEROS("\0\0"s), "");
    EXPECT_EQ(JOINKEYWORDS("ABCXYZ", "Zone"), "abcxyz zone");
}
