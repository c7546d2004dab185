#include "document/filerules.h"

#include <gtest/gtest.h>

#include <string>

TEST(FileRules, InitialFilterIndex) {
    EXPECT_EQ(INITIALFILTERINDEX("C:\\src\\windows.inc"), 2);
    EXPECT_EQ(INITIALFILTERINDEX("WINDOWS.INC"), 2);
    EXPECT_EQ(INITIALFILTERINDEX("file.Inc"), 2);
    EXPECT_EQ(INITIALFILTERINDEX("inc"), 2);
    // Only the last three characters count, not a point before them.
    EXPECT_EQ(INITIALFILTERINDEX("zinc"), 2);
    EXPECT_EQ(INITIALFILTERINDEX("header.bi"), 1);
    EXPECT_EQ(INITIALFILTERINDEX("prog.bas"), 1);
    EXPECT_EQ(INITIALFILTERINDEX("inc.bas"), 1);
    EXPECT_EQ(INITIALFILTERINDEX("nc"), 1);
    EXPECT_EQ(INITIALFILTERINDEX(""), 1);
}

TEST(FileRules, ExtensionAppendedByFilter) {
    EXPECT_EQ(APPLYEXTENSIONRULE("C:\\work\\prog", 1), "C:\\work\\prog.bas");
    EXPECT_EQ(APPLYEXTENSIONRULE("C:\\work\\prog", 2), "C:\\work\\prog.inc");
    EXPECT_EQ(APPLYEXTENSIONRULE("C:\\work\\prog", 3), "C:\\work\\prog.rtf");
    EXPECT_EQ(APPLYEXTENSIONRULE("C:\\work\\prog", 4), "C:\\work\\prog.bas");
    EXPECT_EQ(APPLYEXTENSIONRULE("C:\\work\\prog", 0), "C:\\work\\prog.bas");
    EXPECT_EQ(APPLYEXTENSIONRULE("notes.txt", 1), "notes.txt.bas");
    EXPECT_EQ(APPLYEXTENSIONRULE("header.bi", 2), "header.bi.inc");
    EXPECT_EQ(APPLYEXTENSIONRULE("a", 1), "a.bas");
}

TEST(FileRules, TrailingPointIsReplacedOnce) {
    EXPECT_EQ(APPLYEXTENSIONRULE("prog.", 1), "prog.bas");
    EXPECT_EQ(APPLYEXTENSIONRULE("prog.", 3), "prog.rtf");
    EXPECT_EQ(APPLYEXTENSIONRULE("prog..", 1), "prog..bas");
    // A point inside the path is not the name's last character.
    EXPECT_EQ(APPLYEXTENSIONRULE("C:\\my.dir\\prog", 2), "C:\\my.dir\\prog.inc");
}

TEST(FileRules, KnownExtensionsKeptAsTyped) {
    for (const char *name : {"prog.Bas", "prog.BAS", "prog.bas", "lib.inc", "LIB.Inc", "out.RTF", "out.rTf", ".bas"})
        for (int32_t filter : {1, 2, 3, 4})
            EXPECT_EQ(APPLYEXTENSIONRULE(name, filter), name) << name << " " << filter;
}

TEST(FileRules, RtfNames) {
    EXPECT_TRUE(ISRTFNAME("listing.rtf"));
    EXPECT_TRUE(ISRTFNAME("C:\\out\\LISTING.Rtf"));
    EXPECT_TRUE(ISRTFNAME(APPLYEXTENSIONRULE("prog", 3)));
    EXPECT_FALSE(ISRTFNAME("listing.rtfx"));
    EXPECT_FALSE(ISRTFNAME("listingrtf"));
    EXPECT_FALSE(ISRTFNAME("rtf"));
    EXPECT_FALSE(ISRTFNAME(""));
}

TEST(FileRules, PreviewFirstLine) {
    EXPECT_EQ(PREVIEWTEXT("' Dialog template\r\nDim x\r\n"), " Dialog template");
    // Blanks are removed before the apostrophe is looked for.
    EXPECT_EQ(PREVIEWTEXT("   'Window skeleton  \r\n"), "Window skeleton  ");
    EXPECT_EQ(PREVIEWTEXT("''double\r\n"), "'double");
    EXPECT_EQ(PREVIEWTEXT("#include \"windows.bi\"\r\n"), "#include \"windows.bi\"");
    // Only the start of the read bytes is trimmed; a tab is no blank here.
    EXPECT_EQ(PREVIEWTEXT("\t'tab"), "\t'tab");
    // A blank first line shows nothing.
    EXPECT_EQ(PREVIEWTEXT("   \r\n' second"), "");
    EXPECT_EQ(PREVIEWTEXT("\r\nabc"), "");
    EXPECT_EQ(PREVIEWTEXT("x\ry"), "x");
}

TEST(FileRules, PreviewWithoutCarriageReturn) {
    // Line feeds do not end the preview; trailing blanks of the read bytes go.
    EXPECT_EQ(PREVIEWTEXT("'one\ntwo\nthree  "), "one\ntwo\nthree");
    // Only the first 260 bytes are looked at.
    const std::string longLine(300, 'a');
    EXPECT_EQ(PREVIEWTEXT(longLine), std::string(260, 'a'));
    EXPECT_EQ(PREVIEWTEXT(std::string(259, ' ') + "ab"), "a");
}

TEST(FileRules, PreviewStopsAtZeroByte) {
    EXPECT_EQ(PREVIEWTEXT(""), "");
    EXPECT_EQ(PREVIEWTEXT("    "), "");
    EXPECT_EQ(PREVIEWTEXT("'"), "");
    EXPECT_EQ(PREVIEWTEXT(std::string("MZ\x90\0\x03\r\n", 7)), "MZ\x90");
    EXPECT_EQ(PREVIEWTEXT(std::string("\0'abc\r\n", 7)), "");
    EXPECT_EQ(PREVIEWTEXT(std::string(" 'ab \0cd", 8)), "ab");
    EXPECT_EQ(PREVIEWTEXT("\xE4nderung\r\n"), "\xE4nderung");
}

TEST(FileRules, RememberedFolderText) {
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\work\\src", 0), "C:\\work\\src\\*.bas");
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\work\\src", 1), "C:\\work\\src\\*.inc");
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\work\\src", 2), "C:\\work\\src");
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\work\\src", 3), "C:\\work\\src");
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\work\\src", -1), "C:\\work\\src");
    // A drive root is reported with its backslash.
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\", 0), "C:\\*.bas");
    EXPECT_EQ(REMEMBEREDFOLDERTEXT("C:\\", 2), "C:\\");
}
