// The shared path and text helpers and the rule that takes a stored window
// rectangle back.
#include <gtest/gtest.h>

#include <cstdint>

#include "services/pathtext.h"
#include "services/settingsrules.h"
#include "services/textcodes.h"

TEST(PathText, FoldersAndNamesOfPaths) {
    const struct {
        const char *path, *folder, *name;
    } cases[] = {
        {"C:\\src\\my prog.bas", "C:\\src\\", "my prog.bas"},
        {"C:/src/prog.bas", "C:/src/", "prog.bas"},          // Windows takes either separator
        {"\\\\srv\\share\\a.bas", "\\\\srv\\share\\", "a.bas"},
        {"C:\\src\\", "C:\\src\\", ""},
        {"prog.bas", "", "prog.bas"},                        // no folder: the fallback
        {"", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FOLDEROF(c.path), c.folder) << c.path;
        EXPECT_EQ(FILEPART(c.path), c.name) << c.path;
    }
    EXPECT_EQ(FOLDEROF("prog.bas", "D:\\fallback\\"), "D:\\fallback\\");
    EXPECT_EQ(PARENTFOLDEROF("C:\\Tools\\Quillet\\"), "C:\\Tools\\");
    EXPECT_EQ(PARENTFOLDEROF("C:/Tools/Quillet/"), "C:/Tools/");
    EXPECT_EQ(PARENTFOLDEROF("C:\\"), "");
}

TEST(PathText, LetterCaseChangesAsciiOnly) {
    // Bytes above 127 of an ANSI path are left as they are.
    EXPECT_EQ(UPPERTEXT("Prog\xE4.bas"), "PROG\xE4.BAS");
    EXPECT_EQ(UPPERTEXT("fizz.bas"), "FIZZ.BAS");
    EXPECT_EQ(LOWERTEXT("FIZZ.BAS"), "fizz.bas");
    EXPECT_EQ(LOWERTEXT("PROG\xC4.BAS"), "prog\xC4.bas");
    EXPECT_EQ(UPPERTAIL("header.inc", 3), "INC");
    EXPECT_EQ(UPPERTAIL("ab", 4), "AB");
    EXPECT_TRUE(ENDSWITHNOCASE("HELP.hlp", ".HLP"));
    EXPECT_FALSE(ENDSWITHNOCASE("hlp", ".hlp"));
    EXPECT_TRUE(ENDSWITHNOCASE(".hlp", ".HLP"));
    EXPECT_EQ(CUTTEXT("abcdef", 4), "abcd");
    EXPECT_EQ(CUTTEXT("ab", 4), "ab");
}

// A cut counts characters as Windows does (UTF-16 units) and never splits one.
TEST(PathText, CutsBetweenCharacters) {
    const struct {
        std::string Text;
        std::size_t Max;
        std::string Cut;
    } cases[] = {
        {"\xC3\xA4\xC3\xB6\xC3\xBC", 2, "\xC3\xA4\xC3\xB6"},                 // two of three letters
        {"\xE6\x97\xA5\xE6\x9C\xAC", 1, "\xE6\x97\xA5"},
        {"a\xF0\x9F\x98\x80", 2, "a"},                               // a pair is not cut in two
        {"a\xF0\x9F\x98\x80", 3, "a\xF0\x9F\x98\x80"},
        {"x\xE4y", 2, "x\xE4"},                                     // a stray byte counts as one
        {"", 3, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CUTTEXT(c.Text, c.Max), c.Cut) << c.Text;
        EXPECT_LE(UTF16LENGTH(CUTTEXT(c.Text, c.Max)), c.Max);
    }
}

TEST(SettingsRanges, AStoredRectangleIsTakenBackOnlyWithAWindowsSize) {
    const std::int32_t most = 2147483647;
    const struct {
        WindowRect r;
        bool usable;
    } cases[] = {
        {{20, 20, 600, 400}, true},
        {{5000, 3000, 5600, 3400}, true},                   // on a monitor that is gone: pulled back later
        {{10, 10, 40, 30}, false},                          // tiny
        {{-32000, -32000, -31840, -31972}, false},          // a minimised window's rectangle
        {{-32000, -32000, -31000, -31000}, false},          // ... of a window size
        {{-31999, -31999, -31000, -31000}, true},
        {{300, 300, 100, 100}, false},                      // negative size
        {{-most - 1, 0, most, 400}, false},                 // a width that overflows 32 bits
        {{0, 0, MINMAINWNDWIDTH, MINMAINWNDHEIGHT}, true},
        {{0, 0, MINMAINWNDWIDTH - 1, MINMAINWNDHEIGHT}, false},
        {{0, 0, MAXMAINWNDSIZE, MAXMAINWNDSIZE}, true},
        {{0, 0, MAXMAINWNDSIZE + 1, 400}, false},
        {{0, 0, 3840, 2160}, true},                         // a window across two screens
    };
    for (const auto &c : cases)
        EXPECT_EQ(USABLEMAINWNDPOS(c.r), c.usable)
            << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom;
}
