#include "document/settingsblock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string MARKERLINE = "\r\n'ZESETTINGS (don't change!):";
const std::string OLDERKEY = "\r\n'PZESETTINGS=";

int64_t FIND(const std::string &bytes) {
    return FINDSETTINGSBLOCK(bytes.data(), bytes.size());
}

// n further lines, each begun by CR LF, as they would follow a marker line.
// n more lines of the block's own kind.
std::string OTHERLINES(int n) {
    std::string lines;
    for (int i = 0; i < n; ++i)
        lines += "\r\n'ZETOGGLE=1";
    return lines;
}

}  // namespace

TEST(HexNumbers, WritesUpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(HEXTEXT(0), "0");
    EXPECT_EQ(HEXTEXT(1000), "3E8");
    EXPECT_EQ(HEXTEXT(27), "1B");
    EXPECT_EQ(HEXTEXT(0x10), "10");
    EXPECT_EQ(HEXTEXT(0x7FFFFFFFFFFFFFFF), "7FFFFFFFFFFFFFFF");
    // Negative values as 32-bit two's complement.
    EXPECT_EQ(HEXTEXT(-1), "FFFFFFFF");
    EXPECT_EQ(HEXTEXT(INT32_MIN), "80000000");
}

TEST(HexNumbers, ReadsLongestValidPrefix) {
    EXPECT_EQ(HEXVALUE("3E8"), 1000);
    EXPECT_EQ(HEXVALUE("3e8"), 1000);
    EXPECT_EQ(HEXVALUE("aBcD"), 0xABCD);
    EXPECT_EQ(HEXVALUE("1BZ9"), 27);
    EXPECT_EQ(HEXVALUE("1B\r\n'ZETOGGLE=1"), 27);
    EXPECT_EQ(HEXVALUE(""), 0);
    EXPECT_EQ(HEXVALUE("G1"), 0);
    EXPECT_EQ(HEXVALUE(" 1B"), 0);
    EXPECT_EQ(HEXVALUE("-1"), 0);
    EXPECT_EQ(HEXVALUE("&H10"), 0);
    EXPECT_EQ(HEXVALUE("0000000000000000000000000001F4"), 500);
}

TEST(HexNumbers, OverlongDigitStringsKeepLowBits) {
    EXPECT_EQ(HEXVALUE("1" + std::string(16, '0')), 0);
    EXPECT_EQ(HEXVALUE(std::string(40, 'F') + "12"), static_cast<int64_t>(0xFFFFFFFFFFFFFF12ULL));
    EXPECT_EQ(HEXVALUE(std::string(100000, '9')), static_cast<int64_t>(0x9999999999999999ULL));
}

TEST(HexNumbers, RoundTrip) {
    for (int64_t value : {int64_t{0}, int64_t{1}, int64_t{15}, int64_t{16}, int64_t{255}, int64_t{4096},
                          int64_t{123456789}, int64_t{INT32_MAX}, int64_t{0x123456789AB}})
        EXPECT_EQ(HEXVALUE(HEXTEXT(value)), value) << value;
    for (int32_t value : {-1, -2, -500, INT32_MIN})
        EXPECT_EQ(static_cast<int32_t>(HEXVALUE(HEXTEXT(value))), value) << value;
}

TEST(BuildBlock, WorkedExample) {
    PROJECTSETTINGSRECORD project;
    project.TargetType = 1;
    EXPECT_EQ(BUILDSETTINGSBLOCK(27, "101", 0, project),
              "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=1B\r\n'ZETOGGLE=101\r\n'ZETARGET=1");
}

TEST(BuildBlock, AllLinesInOrderAndUnchangedNames) {
    PROJECTSETTINGSRECORD project{2, "res\\my resources.rc", "C:\\out dir\\prog.dll"};
    EXPECT_EQ(BUILDSETTINGSBLOCK(1000, "0", 2, project),
              "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=3E8\r\n'ZETOGGLE=0\r\n'ZETARGET=2"
              "\r\n'ZERESFILE=res\\my resources.rc\r\n'ZEOUTFILE=C:\\out dir\\prog.dll");
    project.ResourceFile.clear();
    EXPECT_EQ(BUILDSETTINGSBLOCK(0, "", 0, project),
              "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=0\r\n'ZETOGGLE=\r\n'ZETARGET=2"
              "\r\n'ZEOUTFILE=C:\\out dir\\prog.dll");
}

TEST(BuildBlock, PowerBasicWritesExactlyThreeLines) {
    PROJECTSETTINGSRECORD project{3, "a.rc", "b.exe"};
    EXPECT_EQ(BUILDSETTINGSBLOCK(5, "", 1, project), "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=5\r\n'ZETOGGLE=");
}

TEST(FindBlock, BlockAfterTextIsFoundWhereTheTextEnds) {
    for (const std::string text : {"", "x", "Print 1\r\n", "Print 1", "a\rb\nc\r\n\r\n"}) {
        const std::string block = BUILDSETTINGSBLOCK(3, "1", 0, PROJECTSETTINGSRECORD{});
        EXPECT_EQ(FIND(text + block), static_cast<int64_t>(text.size())) << text;
    }
    EXPECT_EQ(FIND("Print 1\r\n" + OLDERKEY + "000001F410"), 9);
}

TEST(FindBlock, MarkerMustBeAmongTheLast21CarriageReturns) {
    EXPECT_EQ(FIND("code" + MARKERLINE + OTHERLINES(20)), 4);
    EXPECT_EQ(FIND("code" + MARKERLINE + OTHERLINES(21)), -1);
    // Line feeds alone are no lines for this count.
    std::string lfLines;
    for (int i = 0; i < 100; ++i)
        lfLines += "\n'ZECURSOR=1";
    EXPECT_EQ(FIND("code" + MARKERLINE + lfLines), 4);
}

TEST(FindBlock, WalkStartsBeforeTheLastByte) {
    // A CR in the very last byte is not looked at, so it does not count...
    EXPECT_EQ(FIND("code" + MARKERLINE + OTHERLINES(20) + "\r"), 4);
    // ...but one in the byte before it does.
    EXPECT_EQ(FIND("code" + MARKERLINE + OTHERLINES(20) + "\r\n"), -1);
}

TEST(FindBlock, MarkersMatchByteForByteAndMustFit) {
    EXPECT_EQ(FIND("code" + MARKERLINE), 4);
    EXPECT_EQ(FIND("code" + OLDERKEY + "000001F4"), 4);
    EXPECT_EQ(FIND(MARKERLINE), 0);
    EXPECT_EQ(FIND("code" + MARKERLINE.substr(0, MARKERLINE.size() - 1)), -1);
    EXPECT_EQ(FIND("code" + OLDERKEY.substr(0, OLDERKEY.size() - 1)), -1);
    // Bytes beyond the given length are not part of the buffer.
    const std::string whole = "code" + MARKERLINE;
    EXPECT_EQ(FINDSETTINGSBLOCK(whole.data(), whole.size() - 1), -1);
    EXPECT_EQ(FIND("code\r\n'zesettings (don't change!):\r\n'ZECURSOR=0"), -1);
    EXPECT_EQ(FIND("code\r\n'ZESETTINGS (dont change!):\r\n'ZECURSOR=0"), -1);
    EXPECT_EQ(FIND("code\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=0"), -1);
    EXPECT_EQ(FIND("code\r\n 'ZESETTINGS (don't change!):\r\n'ZECURSOR=0"), -1);
}

TEST(FindBlock, AcceptedOnlyWhenEverythingAfterTheMarkerIsTheBlocks) {
    const struct {
        std::string tail;  // after "code"
        bool block;
    } cases[] = {
        {MARKERLINE + "\r\n'ZECURSOR=1B\r\n'ZETOGGLE=101\r\n'ZETARGET=1\r\n'ZERESFILE=a b.res\r\n'ZEOUTFILE=x.exe", true},
        {MARKERLINE + "\r\n'ZECURSOR=1B\r\n", true},               // a line end added by another editor
        {MARKERLINE + "\r\n'ZECURSOR=1B\r\n\r\n", true},           // and an empty line
        {MARKERLINE + "\r\n'ZECURSOR=1B\r\nPrint 1", false},        // code after the block
        {MARKERLINE + "\r\n'ZECURSOR=1B\r\n' a comment", false},    // a comment is not the block's
        {MARKERLINE + "\r\n'ZECURSOR=1B\r\n'zetoggle=1", false},    // keys match byte for byte
        {MARKERLINE + "trailing text", false},                     // the marker line itself ends there
        {OLDERKEY + "000001F410", true},
        {OLDERKEY + "000001F410\r\n", true},
        {OLDERKEY + "000001F4", true},
        {OLDERKEY + "000001F", false},                              // fewer than eight caret digits
        {OLDERKEY + "0000G1F410", false},
        {OLDERKEY + "000001F4A", false},                            // a fold state must be 0 or 1
        {OLDERKEY + "000001F410\r\nPrint 1", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FIND("code" + c.tail), c.block ? 4 : -1) << c.tail;
}

TEST(FindBlock, TooShortOrEmptyBuffers) {
    EXPECT_EQ(FINDSETTINGSBLOCK(nullptr, 0), -1);
    EXPECT_EQ(FIND(""), -1);
    EXPECT_EQ(FIND("\r"), -1);
    EXPECT_EQ(FIND("\r\n"), -1);
    EXPECT_EQ(FIND(std::string("\0\0\0", 3)), -1);
}

TEST(FindBlock, TextHoldingMarkerLinesIsCutAtTheLastOne) {
    // A marker line followed by code (another editor or a merge appended it
    // after the block) makes the whole file text.
    EXPECT_EQ(FIND("a\r\n'ZESETTINGS (don't change!):\r\nPrint 2\r\n"), -1);
    // An old block left in the text, with a fresh one appended: the fresh one.
    const std::string oldBlock = BUILDSETTINGSBLOCK(1, "", 0, PROJECTSETTINGSRECORD{});
    const std::string text = "x" + oldBlock + "\r\nPrint 3";
    EXPECT_EQ(FIND(text + BUILDSETTINGSBLOCK(2, "", 0, PROJECTSETTINGSRECORD{})), static_cast<int64_t>(text.size()));
    // Binary zeros in the text do not disturb the walk.
    const std::string withZeros = std::string("a\0b\0", 4);
    EXPECT_EQ(FIND(withZeros + MARKERLINE), 4);
}

TEST(ParseBlock, OlderForm) {
    PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(OLDERKEY + "000001F4" + "10");
    EXPECT_TRUE(parsed.OlderForm);
    EXPECT_EQ(parsed.Caret, 500);
    EXPECT_EQ(parsed.FoldStates, "10");
    EXPECT_EQ(parsed.Project.TargetType, 0);
    EXPECT_TRUE(parsed.Project.ResourceFile.empty());

    // Exactly eight caret digits, even when the fold states are digits too.
    parsed = PARSESETTINGSBLOCK(OLDERKEY + "0000001B" + "ABC\r\n");
    EXPECT_EQ(parsed.Caret, 27);
    EXPECT_EQ(parsed.FoldStates, "ABC\r\n");

    parsed = PARSESETTINGSBLOCK(OLDERKEY + "1F");
    EXPECT_TRUE(parsed.OlderForm);
    EXPECT_EQ(parsed.Caret, 31);
    EXPECT_EQ(parsed.FoldStates, "");

    parsed = PARSESETTINGSBLOCK(OLDERKEY + "zz000000" + "1");
    EXPECT_EQ(parsed.Caret, 0);
    EXPECT_EQ(parsed.FoldStates, "1");
}

TEST(ParseBlock, MissingKeysAndUnreadableNumbersGiveDefaults) {
    PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(MARKERLINE);
    EXPECT_FALSE(parsed.OlderForm);
    EXPECT_EQ(parsed.Caret, 0);
    EXPECT_EQ(parsed.FoldStates, "");
    EXPECT_EQ(parsed.Project.TargetType, 0);
    EXPECT_EQ(parsed.Project.ResourceFile, "");
    EXPECT_EQ(parsed.Project.OutputFile, "");

    parsed = PARSESETTINGSBLOCK(MARKERLINE + "\r\n'ZECURSOR=xyz\r\n'ZETARGET=\r\n'ZETOGGLE=01");
    EXPECT_EQ(parsed.Caret, 0);
    EXPECT_EQ(parsed.Project.TargetType, 0);
    EXPECT_EQ(parsed.FoldStates, "01");

    parsed = PARSESETTINGSBLOCK(MARKERLINE + "\r\n'ZECURSOR=1Bq\r\n'ZETARGET=FFFFFFFF");
    EXPECT_EQ(parsed.Caret, 27);
    EXPECT_EQ(parsed.Project.TargetType, -1);
}

TEST(ParseBlock, KeysAreFoundAnywhereOnlyAfterCrLfApostrophe) {
    PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(
        MARKERLINE + "\r\n'ZEOUTFILE=out.exe\r\n'ZETARGET=3\r\n'ZERESFILE=r.rc\r\n'ZETOGGLE=110\r\n'ZECURSOR=FF");
    EXPECT_EQ(parsed.Caret, 255);
    EXPECT_EQ(parsed.FoldStates, "110");
    EXPECT_EQ(parsed.Project.TargetType, 3);
    EXPECT_EQ(parsed.Project.ResourceFile, "r.rc");
    EXPECT_EQ(parsed.Project.OutputFile, "out.exe");

    // Letter case, a missing apostrophe or a bare LF before the key hide it.
    parsed = PARSESETTINGSBLOCK(MARKERLINE + "\r\n'zecursor=10\r\nZETARGET=2\n'ZERESFILE=a.rc");
    EXPECT_EQ(parsed.Caret, 0);
    EXPECT_EQ(parsed.Project.TargetType, 0);
    EXPECT_EQ(parsed.Project.ResourceFile, "");

    // The first occurrence wins.
    parsed = PARSESETTINGSBLOCK(MARKERLINE + "\r\n'ZECURSOR=1\r\n'ZECURSOR=2");
    EXPECT_EQ(parsed.Caret, 1);
}

TEST(ParseBlock, ValuesEndAtCrOrLfOrTheEnd) {
    const std::string head = MARKERLINE + "\r\n'ZERESFILE=my res.rc";
    EXPECT_EQ(PARSESETTINGSBLOCK(head + "\nrest").Project.ResourceFile, "my res.rc");
    EXPECT_EQ(PARSESETTINGSBLOCK(head + "\rrest").Project.ResourceFile, "my res.rc");
    EXPECT_EQ(PARSESETTINGSBLOCK(head + "\r\n'ZECURSOR=1").Project.ResourceFile, "my res.rc");
    EXPECT_EQ(PARSESETTINGSBLOCK(head).Project.ResourceFile, "my res.rc");
    EXPECT_EQ(PARSESETTINGSBLOCK(MARKERLINE + "\r\n'ZETOGGLE=\r\n'ZECURSOR=4").FoldStates, "");
}

TEST(ParseBlock, LongNamesAreCut) {
    const std::string longName(300, 'n');
    const PARSEDSETTINGSBLOCK parsed =
        PARSESETTINGSBLOCK(MARKERLINE + "\r\n'ZERESFILE=" + longName + "\r\n'ZEOUTFILE=" + longName.substr(0, 259));
    EXPECT_EQ(parsed.Project.ResourceFile, longName.substr(0, 259));
    EXPECT_EQ(parsed.Project.OutputFile, longName.substr(0, 259));
}

TEST(ParseBlock, RoundTripThroughFile) {
    const PROJECTSETTINGSRECORD project{2, "C:\\My Project\\app res.rc", "bin\\app.dll"};
    for (const std::string text : {"", "Print 1", "Print 1\r\n", "Sub A\r\nEnd Sub\r\n\r\n"}) {
        for (int32_t compilerType : {0, 1}) {
            const std::string file = text + BUILDSETTINGSBLOCK(0x1234, "1001", compilerType, project);
            const int64_t at = FIND(file);
            ASSERT_EQ(at, static_cast<int64_t>(text.size()));
            EXPECT_EQ(file.substr(0, static_cast<size_t>(at)), text);
            const PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(std::string_view(file).substr(static_cast<size_t>(at)));
            EXPECT_FALSE(parsed.OlderForm);
            EXPECT_EQ(parsed.Caret, 0x1234);
            EXPECT_EQ(parsed.FoldStates, "1001");
            if (compilerType == 1) {
                // PowerBASIC blocks reset the project settings.
                EXPECT_EQ(parsed.Project.TargetType, 0);
                EXPECT_EQ(parsed.Project.ResourceFile, "");
                EXPECT_EQ(parsed.Project.OutputFile, "");
            } else {
                EXPECT_EQ(parsed.Project.TargetType, project.TargetType);
                EXPECT_EQ(parsed.Project.ResourceFile, project.ResourceFile);
                EXPECT_EQ(parsed.Project.OutputFile, project.OutputFile);
            }
        }
    }
}

TEST(FoldStates, StringFromHeaders) {
    EXPECT_EQ(FOLDSTATESTRING({}), "");
    EXPECT_EQ(FOLDSTATESTRING({true, false, true}), "101");
}

TEST(FoldStates, TogglesOnlyWhereStateDiffers) {
    using V = std::vector<bool>;
    EXPECT_EQ(FOLDTOGGLES("10", {true, true}), (V{false, true}));
    EXPECT_EQ(FOLDTOGGLES("10", {false, false}), (V{true, false}));
    // Any character other than "1" asks for a contracted header.
    EXPECT_EQ(FOLDTOGGLES("x0 2", {true, true, false, true}), (V{true, true, false, true}));
    // Headers beyond the string keep their state; surplus characters are ignored.
    EXPECT_EQ(FOLDTOGGLES("0", {true, true, true}), (V{true}));
    EXPECT_EQ(FOLDTOGGLES("0000", {true}), (V{true}));
    EXPECT_EQ(FOLDTOGGLES("", {true, false}), V{});
    EXPECT_EQ(FOLDTOGGLES("101", {}), V{});
    // Saved states applied to the same headers toggle nothing.
    const V headers{true, false, false, true};
    EXPECT_EQ(FOLDTOGGLES(FOLDSTATESTRING(headers), headers), V(4, false));
}
