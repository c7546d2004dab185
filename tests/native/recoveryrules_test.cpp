// The recovery copy's header, file names and texts.
#include "document/recoveryrules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string HEADER = "Quillet recovery copy 1\r\nListing=C:\\src\\my prog.bas\r\nWritten=01DB4A2F3C5E7A80\r\n"
                           "Length=5\r\n\r\n";

TEST(RecoveryHeader, ReadsBackWhatIsWritten) {
    RECOVERYHEADER header;
    header.Listing = "C:\\src\\my prog.bas";
    header.Written = 0x01DB4A2F3C5E7A80ull;
    header.Length = 5;
    EXPECT_EQ(BUILDRECOVERYHEADER(header), HEADER);
    RECOVERYHEADER read;
    std::size_t offset = 0;
    EXPECT_EQ(PARSERECOVERYHEADER(HEADER + "Print", HEADER.size() + 5, read, offset), RECOVERYOK);
    EXPECT_EQ(read.Listing, header.Listing);
    EXPECT_EQ(read.Written, header.Written);
    EXPECT_EQ(read.Length, 5u);
    EXPECT_EQ(offset, HEADER.size());
    EXPECT_EQ(read.Disk, RECOVERYHEADER::DISKUNKNOWN);
    // The file on disk as the editor knew it.
    for (const auto disk : {RECOVERYHEADER::DISKPRESENT, RECOVERYHEADER::DISKABSENT}) {
        header.Disk = disk;
        header.DiskSize = 1234;
        header.DiskWritten = 0x01DB4A2F00000001ull;
        const std::string file = BUILDRECOVERYHEADER(header) + "Print";
        ASSERT_EQ(PARSERECOVERYHEADER(file, file.size(), read, offset), RECOVERYOK) << file;
        EXPECT_EQ(read.Disk, disk);
        if (disk == RECOVERYHEADER::DISKPRESENT) {
            EXPECT_NE(file.find("\r\nDisk=1234 01DB4A2F00000001\r\n"), std::string::npos);
            EXPECT_EQ(read.DiskSize, 1234u);
            EXPECT_EQ(read.DiskWritten, header.DiskWritten);
        }
    }
    // Untitled text, and an empty copy.
    header = RECOVERYHEADER{};
    const std::string untitled = BUILDRECOVERYHEADER(header);
    EXPECT_NE(untitled.find("\r\nListing=untitled\r\n"), std::string::npos);
    EXPECT_EQ(PARSERECOVERYHEADER(untitled, untitled.size(), read, offset), RECOVERYOK);
    EXPECT_EQ(read.Listing, "");
    EXPECT_EQ(offset, untitled.size());
}

TEST(RecoveryHeader, WhatCannotBeOfferedSaysWhy) {
    const std::string body = "Print";
    const struct {
        std::string File;
        std::uint64_t Size;  // 0: the file's own size
        RECOVERYSTATUS Status;
    } cases[] = {
        {"", 0, RECOVERYFOREIGN},
        {"Sub Main()\r\n", 0, RECOVERYFOREIGN},
        {"Quillet recovery copy 2\r\nListing=x\r\n", 0, RECOVERYNEWER},
        {"Quillet recovery copy 10\r\n", 0, RECOVERYNEWER},
        {"Quillet recovery copy 0\r\n\r\n", 0, RECOVERYDAMAGED},
        {"Quillet recovery copy one\r\n\r\n", 0, RECOVERYDAMAGED},
        {HEADER + body, 0, RECOVERYOK},
        {HEADER + "Prin", 0, RECOVERYCUT},                   // one byte short
        {HEADER + body + "!", 0, RECOVERYDAMAGED},           // one byte too many
        {HEADER.substr(0, 40), 0, RECOVERYCUT},              // the header breaks off where the file ends
        {HEADER.substr(0, 40), 4096, RECOVERYDAMAGED},       // ... where the first part read ends
        {"Quillet recovery copy 1\r\nListing=a\r\nLength=5\r\n\r\nPrint", 0, RECOVERYDAMAGED},  // no time
        {"Quillet recovery copy 1\r\nListing=a\r\nWritten=01DB4A2F3C5E7A8\r\nLength=0\r\n\r\n", 0, RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\nListing=a\r\nWritten=01DB4A2F3C5E7A80\r\nLength=-1\r\n\r\n", 0, RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\nListing=\r\nWritten=01DB4A2F3C5E7A80\r\nLength=0\r\n\r\n", 0, RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\nListing=a\r\nLater=x\r\nWritten=01db4a2f3c5e7a80\r\nLength=0\r\n\r\n", 0,
         RECOVERYOK},  // a key this version does not know
        {"Quillet recovery copy 1\r\nListing=a\r\nWritten=01DB4A2F3C5E7A80\r\nLength=0\r\nDisk=12\r\n\r\n", 0,
         RECOVERYDAMAGED},
    };
    for (const auto &c : cases) {
        RECOVERYHEADER read;
        std::size_t offset = 0;
        EXPECT_EQ(PARSERECOVERYHEADER(c.File, c.Size ? c.Size : c.File.size(), read, offset), c.Status) << c.File;
    }
}

TEST(RecoveryFiles, NamesOfOneProgramOnly) {
    const std::string name = RECOVERYFILENAME("Quillet", 0x1A2B, 0x01DB4A2F3C5E7A80ull);
    EXPECT_EQ(name, "Quillet-00001A2B-01DB4A2F3C5E7A80.qrc");
    EXPECT_TRUE(ISRECOVERYFILENAME(name, "Quillet"));
    EXPECT_TRUE(ISRECOVERYFILENAME("QUILLET-00001a2b-01db4a2f3c5e7a80.QRC", "Quillet"));
    EXPECT_FALSE(ISRECOVERYFILENAME(name, "QuilletPB"));  // another copy of the program keeps its own
    EXPECT_FALSE(ISRECOVERYFILENAME("QuilletPB-00001A2B-01DB4A2F3C5E7A80.qrc", "Quillet"));
    EXPECT_FALSE(ISRECOVERYFILENAME("Quillet-00001A2B-01DB4A2F3C5E7A8.qrc", "Quillet"));
    EXPECT_FALSE(ISRECOVERYFILENAME("Quillet-00001A2B_01DB4A2F3C5E7A80.qrc", "Quillet"));
    EXPECT_FALSE(ISRECOVERYFILENAME("Quillet-00001A2G-01DB4A2F3C5E7A80.qrc", "Quillet"));
    EXPECT_FALSE(ISRECOVERYFILENAME("Quillet-00001A2B-01DB4A2F3C5E7A80.bas", "Quillet"));
    std::uint32_t processId = 0;
    std::uint64_t started = 0;
    ASSERT_TRUE(RECOVERYFILEOWNER("quillet-fffffffe-01db4a2f3c5e7a80.qrc", "Quillet", processId, started));
    EXPECT_EQ(processId, 0xFFFFFFFEu);
    EXPECT_EQ(started, 0x01DB4A2F3C5E7A80ull);
}

TEST(RecoveryTexts, Question) {
    EXPECT_EQ(RECOVERYQUESTION("C:\\src\\prog.bas", "08.12.2026, 10:15"),
              "C:\\src\\prog.bas was not saved when Quillet ended on 08.12.2026, 10:15.\rRestore the unsaved text?");
    EXPECT_EQ(RECOVERYQUESTION("", "x").substr(0, 14), "Untitled text ");
}

// The edges of each header line: a format of 0 even with every key, an
// empty number, the longest number, a disk line without its blank.
TEST(RecoveryHeader, EdgesOfEachLine) {
    const std::string keys = "Listing=a\r\nWritten=01DB4A2F3C5E7A80\r\n";
    const struct {
        std::string Head;
        RECOVERYSTATUS Status;
    } cases[] = {
        {"Quillet recovery copy 0\r\n" + keys + "Length=0\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy \r\n" + keys + "Length=0\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 01\r\n" + keys + "Length=0\r\n\r\n", RECOVERYOK},
        {"Quillet recovery copy 1\r\n" + keys + "Length=+0\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0x\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=000000000000000000\r\n\r\n", RECOVERYOK},  // 18 digits
        {"Quillet recovery copy 1\r\n" + keys + "Length=0000000000000000000\r\n\r\n", RECOVERYDAMAGED},  // 19
        {"Quillet recovery copy 1\r\nListing=a\r\nWritten=01DB4A2F3C5E7A80F\r\nLength=0\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\nListing=a\r\nWritten=01DB4A2F3C5E7A8G\r\nLength=0\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\nWritten=01DB4A2F3C5E7A80\r\nLength=0\r\n\r\n", RECOVERYDAMAGED},  // no listing
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\nDisk=1234\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\nDisk= 01DB4A2F3C5E7A80\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\nDisk=1234 01DB4A2F3C5E7A8\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\nDisk=0 0000000000000000\r\n\r\n", RECOVERYOK},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\nDisk=Absent\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\nNoEquals\r\n\r\n", RECOVERYDAMAGED},
        {"Quillet recovery copy 1\r\n" + keys + "Length=0\r\n", RECOVERYCUT},  // no empty line: ends in the file
    };
    for (const auto &c : cases) {
        RECOVERYHEADER read;
        std::size_t offset = 0;
        EXPECT_EQ(PARSERECOVERYHEADER(c.Head, c.Head.size(), read, offset), c.Status) << c.Head;
        if (c.Status == RECOVERYOK)
            EXPECT_EQ(offset, c.Head.size());
    }
}

TEST(RecoveryFiles, ANameWithASuffixOrAnotherLengthIsNoCopy) {
    std::uint32_t processId = 7;
    std::uint64_t started = 7;
    const char *names[] = {"Quillet-00001A2B-01DB4A2F3C5E7A80 (2).qrc", "Quillet-00001A2B-01DB4A2F3C5E7A80.qrc.bak",
                           "Quillet-1A2B-01DB4A2F3C5E7A80.qrc", "Quillet-00001A2B-01DB4A2F3C5E7A80.qr",
                           "Quillet000001A2B-01DB4A2F3C5E7A80.qrc", "Quillex-00001A2B-01DB4A2F3C5E7A80.qrc"};
    for (const char *name : names) {
        EXPECT_FALSE(RECOVERYFILEOWNER(name, "Quillet", processId, started)) << name;
        EXPECT_FALSE(ISRECOVERYFILENAME(name, "Quillet")) << name;
    }
    ASSERT_TRUE(RECOVERYFILEOWNER("Quillet-00000000-0000000000000000.qrc", "Quillet", processId, started));
    EXPECT_EQ(processId, 0u);
    EXPECT_EQ(started, 0u);
    EXPECT_EQ(RECOVERYFILENAME("Q", 0xFFFFFFFFu, ~0ull), "Q-FFFFFFFF-FFFFFFFFFFFFFFFF.qrc");
}

// A program that may not be opened still runs; only "no such process" ends it.
TEST(RecoveryFiles, TheWriterRunsUnlessTheSystemSaysItIsGone) {
    const struct {
        bool Opened;
        std::uint32_t Error;
        bool NotEnded, SameStart, Runs;
    } cases[] = {
        {false, NOSUCHPROCESS, false, false, false},
        {false, 5, false, false, true},   // access denied: another user's, an elevated one
        {false, 0, false, false, true},
        {false, 86, false, false, true},
        {false, 88, false, false, true},
        {true, 0, true, true, true},
        {true, 0, false, true, false},    // ended, its handle still held
        {true, 0, true, false, false},    // the id used again by another program
        {true, NOSUCHPROCESS, true, true, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RECOVERYOWNERRUNS(c.Opened, c.Error, c.NotEnded, c.SameStart), c.Runs)
            << c.Opened << " " << c.Error << " " << c.NotEnded << " " << c.SameStart;
}

TEST(RecoveryTexts, ProblemsAndFailedWrites) {
    const struct {
        RECOVERYSTATUS Status;
        const char *Why;
    } cases[] = {{RECOVERYFOREIGN, "is empty or no recovery copy"},
                 {RECOVERYNEWER, "was written by a later version of Quillet"},
                 {RECOVERYDAMAGED, "cannot be read"},
                 {RECOVERYCUT, "is cut short"}};
    for (const auto &c : cases)
        EXPECT_EQ(RECOVERYPROBLEMTEXT(c.Status, "C:\\R\\x.qrc"),
                  std::string("The recovery copy C:\\R\\x.qrc ") + c.Why + "; it is left where it is.");
    EXPECT_EQ(RECOVERYWRITEFAILEDTEXT("C:\\Q\\Recovery\\"),
              "Unsaved text cannot be copied aside for recovery in\rC:\\Q\\Recovery\\\rIf the editor ends "
              "unexpectedly, unsaved text will be lost. Save often.");
}

}  // namespace
