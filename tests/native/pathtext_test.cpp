// The shared path and text helpers and the rule that takes a stored window
// rectangle back.
#include <gtest/gtest.h>

#include <cstdint>

#include "services/pathtext.h"
#include "services/settingsrules.h"

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
    EXPECT_EQ(LOWERTEXT("PROG\xC4.BAS"), "prog\xC4.bas");
    EXPECT_EQ(UPPERTAIL("header.inc", 3), "INC");
    EXPECT_EQ(UPPERTAIL("ab", 4), "AB");
    EXPECT_TRUE(ENDSWITHNOCASE("HELP.hlp", ".HLP"));
    EXPECT_FALSE(ENDSWITHNOCASE("hlp", ".hlp"));
    EXPECT_EQ(CUTTEXT("abcdef", 4), "abcd");
    EXPECT_EQ(CUTTEXT("ab", 4), "ab");
}

TEST(SettingsRanges, AStoredRectangleIsTakenBackOnlyWithAWindowsSize) {
    const std::int32_t most = 2147483647;
    const struct {
        WindowRect r;
        bool onAMonitor, usable;
    } cases[] = {
        {{20, 20, 600, 400}, true, true},
        {{20, 20, 600, 400}, false, false},                     // off every monitor
        {{10, 10, 40, 30}, true, false},                        // tiny
        {{-32000, -32000, -31840, -31972}, true, false},        // a minimised window's rectangle
        {{300, 300, 100, 100}, true, false},                    // negative size
        {{-most - 1, 0, most, 400}, true, false},               // a width that overflows 32 bits
        {{0, 0, MINMAINWNDWIDTH, MINMAINWNDHEIGHT}, true, true},
        {{0, 0, MINMAINWNDWIDTH - 1, MINMAINWNDHEIGHT}, true, false},
        {{0, 0, 3840, 2160}, true, true},                        // a window across two screens
    };
    for (const auto &c : cases)
        EXPECT_EQ(USABLEMAINWNDPOS(c.r, c.onAMonitor), c.usable)
            << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom;
}
