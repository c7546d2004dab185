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

TEST(SettingsRanges, MainWindowIsPulledOntoThePrimaryScreen) {
    WindowRect r = CLAMPMAINWNDPOS({-50, 10, 600, 400}, 1024, 768);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, 600);  // 50 pixels narrower than stored
    r = CLAMPMAINWNDPOS({5000, 5000, 5600, 5400}, 1024, 768);
    EXPECT_EQ(r.left, 924);
    EXPECT_EQ(r.top, 668);
    EXPECT_EQ(r.right, 5600);
    r = CLAMPMAINWNDPOS({10, -3, 600, 400}, 1024, 768);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.left, 10);
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

TEST(CommandLine, LongTailIsCutAt259Characters) {
    std::string file;
    const std::string tail = "\"" + std::string(5000, 'x') + "\"";
    EXPECT_EQ(PARSECOMMANDTAIL(tail, file), TAIL_FILE);
    // The cut comes first, so the closing quote is gone with the rest.
    EXPECT_EQ(file, std::string(258, 'x'));
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
