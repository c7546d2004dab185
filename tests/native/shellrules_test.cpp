// The configuration store's decisions and the start-up rules.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "services/profilerecord.h"
#include "services/settingsrules.h"
#include "document/keywordtext.h"

namespace {

TEST(ProfileRecord, EncodesBytesThenTheLowByteOfTheirSum) {
    const WindowRect rect{20, 20, 600, 400};
    // 20 = 0x14, 600 = 0x258, 400 = 0x190; sum 0x14+0x14+0x58+0x02+0x90+0x01 = 0x113.
    EXPECT_EQ(ENCODEPROFILERECORD(&rect, sizeof rect), "1400000014000000580200009001000013");
    EXPECT_EQ(ENCODEPROFILERECORD(nullptr, 0), "00");
    const unsigned char high[] = {0xFF, 0xFF};
    EXPECT_EQ(ENCODEPROFILERECORD(high, 2), "FFFFFE");
}

TEST(ProfileRecord, DecodingChecksLengthDigitsAndChecksum) {
    std::vector<std::uint8_t> out;
    const WindowRect rect{-50, 7, 550, 400};
    const std::string text = ENCODEPROFILERECORD(&rect, sizeof rect);
    ASSERT_EQ(DECODEPROFILERECORD(text, sizeof rect, out), RECORD_OK);
    WindowRect back;
    std::memcpy(&back, out.data(), sizeof back);
    EXPECT_EQ(back.left, -50);
    EXPECT_EQ(back.right, 550);

    std::string tampered = text;
    tampered[tampered.size() - 1] = tampered.back() == '0' ? '1' : '0';
    out.clear();
    EXPECT_EQ(DECODEPROFILERECORD(tampered, sizeof rect, out), RECORD_BAD_CHECKSUM);
    EXPECT_TRUE(out.empty());
    tampered = text;
    tampered[0] = tampered[0] == '0' ? '1' : '0';  // a data byte changed, checksum kept
    EXPECT_EQ(DECODEPROFILERECORD(tampered, sizeof rect, out), RECORD_BAD_CHECKSUM);
    EXPECT_EQ(DECODEPROFILERECORD(text.substr(2), sizeof rect, out), RECORD_WRONG_LENGTH);
    EXPECT_EQ(DECODEPROFILERECORD(text + "00", sizeof rect, out), RECORD_WRONG_LENGTH);
    EXPECT_EQ(DECODEPROFILERECORD("", 0, out), RECORD_WRONG_LENGTH);
    EXPECT_EQ(DECODEPROFILERECORD("0G00", 1, out), RECORD_BAD_DIGIT);
    // Lower-case digits read like upper-case ones.
    EXPECT_EQ(DECODEPROFILERECORD("fffffe", 2, out), RECORD_OK);
}

TEST(SettingsRanges, CompareAsUnsignedNumbers) {
    EXPECT_EQ(CHECKFONTSIZE(2), 4);
    EXPECT_EQ(CHECKFONTSIZE(4), 4);
    EXPECT_EQ(CHECKFONTSIZE(18), 18);
    EXPECT_EQ(CHECKFONTSIZE(40), 18);
    EXPECT_EQ(CHECKFONTSIZE(-5), 18);
    EXPECT_EQ(CHECKCOMPILETIMEOUT(45), 30);
    EXPECT_EQ(CHECKCOMPILETIMEOUT(0), 0);
    EXPECT_EQ(CHECKCOMPILETIMEOUT(-1), 30);
    EXPECT_EQ(CHECKCOMPILERTYPE(1), 1);
    EXPECT_EQ(CHECKCOMPILERTYPE(7), 0);
    EXPECT_EQ(CHECKCOMPILERTYPE(-1), 0);
}

// Left and top are pulled into the work area of the nearest monitor, less
// 100 pixels at the right and bottom; right and bottom stay as read.
TEST(SettingsRanges, MainWindowIsPulledOntoItsMonitor) {
    const WindowRect screen{0, 0, 1024, 768};
    const WindowRect second{1920, -200, 3840, 880};  // right of a first monitor, higher up
    const struct {
        WindowRect Stored, Area, Placed;
    } cases[] = {
        {{-50, 10, 600, 400}, screen, {0, 10, 600, 400}},  // 50 pixels narrower than stored
        {{5000, 5000, 5600, 5400}, screen, {924, 668, 5600, 5400}},
        {{10, -3, 600, 400}, screen, {10, 0, 600, 400}},
        {{924, 668, 1500, 1000}, screen, {924, 668, 1500, 1000}},  // the last corner kept as it is
        {{925, 669, 1500, 1000}, screen, {924, 668, 1500, 1000}},
        {{1900, -300, 2500, 300}, second, {1920, -200, 2500, 300}},
        {{3800, 900, 4400, 1400}, second, {3740, 780, 4400, 1400}},
    };
    for (const auto &c : cases) {
        const WindowRect r = CLAMPMAINWNDPOS(c.Stored, c.Area);
        EXPECT_EQ((std::vector<std::int32_t>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<std::int32_t>{c.Placed.left, c.Placed.top, c.Placed.right, c.Placed.bottom}))
            << c.Stored.left << "," << c.Stored.top;
    }
}

TEST(SettingsPaths, ProgramFolderIniAndParent) {
    EXPECT_EQ(EXEDIROF("C:\\Tools\\Quillet\\Quillet.exe"), "C:\\Tools\\Quillet\\");
    EXPECT_EQ(INIPATHOF("C:\\Tools\\Quillet\\QuilletFB.EXE"), "C:\\Tools\\Quillet\\QuilletFB.ini");
    EXPECT_EQ(INIPATHOF("C:\\my.tools\\Quillet"), "C:\\my.tools\\Quillet.ini");
    EXPECT_EQ(PARENTFOLDEROF("C:\\Tools\\Quillet\\"), "C:\\Tools\\");
    EXPECT_EQ(PARENTFOLDEROF("C:\\"), "");
    EXPECT_EQ(FOLDEROF("C:\\src\\my prog.bas", "X"), "C:\\src\\");
    EXPECT_EQ(FOLDEROF("test.bas", "C:\\Tools\\"), "C:\\Tools\\");
    EXPECT_EQ(FOLDEROF("", "C:\\Tools\\"), "C:\\Tools\\");
}

TEST(SettingsPaths, FilterListsEndWithTwoZeros) {
    const std::string open = OPENFILTERLIST();
    static const char expected[] = "Basic files\0*.BAS\0Include files\0*.INC;*.BI\0All files (*.*)\0*.*\0";
    EXPECT_EQ(open, std::string(expected, sizeof expected));
    const std::string save = SAVEFILTERLIST();
    // The third type is the RTF export.
    EXPECT_NE(save.find(std::string("RTF text file\0*.RTF\0", 20)), std::string::npos);
    EXPECT_EQ(save.substr(save.size() - 2), std::string("\0\0", 2));
}

TEST(CommandLine, TailFollowsTheProgramName) {
    EXPECT_EQ(COMMANDTAIL("\"C:\\Program Files\\Quillet.exe\" my file.bas "), "my file.bas ");
    EXPECT_EQ(COMMANDTAIL("Quillet.exe   /e"), "/e");
    EXPECT_EQ(COMMANDTAIL("Quillet.exe"), "");
    EXPECT_EQ(COMMANDTAIL("\"Quillet.exe\""), "");
}

TEST(CommandLine, TailDecidesTheFirstFile) {
    std::string file = "left over";
    EXPECT_EQ(PARSECOMMANDTAIL("", file), TAIL_LASTFILE);
    EXPECT_EQ(file, "");
    EXPECT_EQ(PARSECOMMANDTAIL("/e", file), TAIL_EMPTY);
    EXPECT_EQ(PARSECOMMANDTAIL("/E", file), TAIL_FILE);
    EXPECT_EQ(file, "/E");
    EXPECT_EQ(PARSECOMMANDTAIL("/e ", file), TAIL_FILE);
    EXPECT_EQ(file, "/e ");
    EXPECT_EQ(PARSECOMMANDTAIL("\"C:\\my src\\prog.bas\"", file), TAIL_FILE);
    EXPECT_EQ(file, "C:\\my src\\prog.bas");
    EXPECT_EQ(PARSECOMMANDTAIL("\"C:\\src\\prog.bas", file), TAIL_FILE);
    EXPECT_EQ(file, "C:\\src\\prog.bas");
    EXPECT_EQ(PARSECOMMANDTAIL("a.bas b.bas", file), TAIL_FILE);
    EXPECT_EQ(file, "a.bas b.bas");
}

TEST(CommandLine, AQuotedNameKeepsItsWholeLength) {
    std::string file;
    for (const std::size_t length : {std::size_t{255}, std::size_t{259}, std::size_t{260}, std::size_t{5000}}) {
        EXPECT_EQ(PARSECOMMANDTAIL("\"" + std::string(length, 'x') + "\"", file), TAIL_FILE);
        EXPECT_EQ(file, std::string(length, 'x'));
    }
    EXPECT_EQ(CUTTEXT(std::string(10000, 'k'), MAXPATHCHARS).size(), 259u);
}

TEST(Detections, NamesInOrderAndCompilerType) {
    EXPECT_EQ(COMPILERNAMES(), (std::vector<std::string>{"fbc.exe", "pbwin.exe", "pbcc.exe"}));
    EXPECT_EQ(INCLUDEDIRNAMES(0), (std::vector<std::string>{"INC", "INCLUDE"}));
    EXPECT_EQ(INCLUDEDIRNAMES(1), (std::vector<std::string>{"WINAPI"}));
    EXPECT_EQ(COMPILERTYPEOF("fbc.exe"), 0);
    EXPECT_EQ(COMPILERTYPEOF("pbcc.exe"), 1);
    EXPECT_EQ(DEFAULTBASICKEYWORDFILE("C:\\Q\\", 1), "C:\\Q\\PowerBasicKeywords.txt");
    EXPECT_EQ(DEFAULTBASICKEYWORDFILE("C:\\Q\\", 0), "C:\\Q\\FreeBasicKeywords.txt");
    EXPECT_EQ(DEFAULTAPIKEYWORDFILE("C:\\Q\\"), "C:\\Q\\ApiKeywords.txt");
}

TEST(KeywordText, JoinedListIsLowerCaseWithOneBlankBetween) {
    EXPECT_EQ(JOINKEYWORDS("Dim Xor", "AbortDoc"), "dim xor abortdoc");
    EXPECT_EQ(JOINKEYWORDS("", "MyProc"), " myproc");
}

}  // namespace
