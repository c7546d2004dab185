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

}  // namespace
