// The shared path and text helpers and the rule that takes a stored window
// rectangle back.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

// Clamped first, as a hand-edited or old file gives it; the default (right 0)
// only for what is still no window's rectangle after that.
TEST(SettingsRanges, AStoredRectangleIsClampedThenTakenBackUnlessEmpty) {
    const std::int32_t most = 2147483647;
    const WindowRect screen{0, 0, 1024, 768};
    const WindowRect none{};
    const struct {
        WindowRect Stored, Placed;
    } cases[] = {
        {{20, 20, 600, 400}, {20, 20, 600, 400}},
        {{5000, 3000, 5600, 3400}, {924, 668, 5600, 3400}},   // left 5000 on a 1024-pixel screen: x 924
        {{5000, 20, 1000, 400}, {924, 20, 1000, 400}},        // left beyond right: 76 wide once clamped
        {{5000, 20, 925, 400}, {924, 20, 925, 400}},          // one pixel wide
        {{5000, 20, 924, 400}, none},                         // empty once clamped
        {{300, 300, 100, 100}, none},                         // negative size
        {{20, 800, 600, 669}, {20, 668, 600, 669}},           // top below bottom, one pixel high once clamped
        {{20, 800, 600, 668}, none},
        {{10, 10, 40, 30}, {10, 10, 40, 30}},                 // tiny is still a window
        {{-32000, -32000, -31840, -31972}, none},             // a minimised window's rectangle
        {{100, -32000, 700, -31600}, none},                   // minimised in top only
        {{100, -32000, 700, 500}, {100, 0, 700, 500}},
        {{-most - 1, 0, most, 400}, none},                    // a width that overflows 32 bits
        {{0, 0, MAXMAINWNDSIZE, MAXMAINWNDSIZE}, {0, 0, MAXMAINWNDSIZE, MAXMAINWNDSIZE}},
        {{0, 0, MAXMAINWNDSIZE + 1, 400}, none},
        {{0, 0, 400, MAXMAINWNDSIZE + 1}, none},
        {{0, 0, 3840, 2160}, {0, 0, 3840, 2160}},             // a window across two screens
    };
    for (const auto &c : cases) {
        const WindowRect r = PLACEMAINWNDPOS(c.Stored, screen);
        EXPECT_EQ((std::vector<std::int32_t>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<std::int32_t>{c.Placed.left, c.Placed.top, c.Placed.right, c.Placed.bottom}))
            << c.Stored.left << "," << c.Stored.top << "," << c.Stored.right << "," << c.Stored.bottom;
    }
}

// The long form is decided on the full path: a short relative name in a deep
// folder gets it, a device path never does.
TEST(PathText, LongFormIsDecidedOnTheFullPath) {
    const std::string deep = "C:\\" + std::string(240, 'd') + "\\";    // 244 characters
    const std::string share = "\\\\server\\share\\" + std::string(240, 's');
    const std::string justShort = "C:\\" + std::string(LONGFORMLENGTH - 4, 'x');  // 247 characters
    const std::string justLong = justShort + "y";                               // 248
    std::string greekShort = "C:\\";
    while (greekShort.size() < 3 + 2 * 244)
        greekShort += "\xCE\xA9";  // 244 Omegas: 247 units in 491 bytes
    const struct {
        std::string Given, Full, Path;
    } cases[] = {
        {"a.bas", deep + "a.bas", "\\\\?\\" + deep + "a.bas"},          // relative, resolves past the limit
        {"a.bas", "C:\\src\\a.bas", "a.bas"},                            // relative and short: as given
        {justShort, justShort, justShort},
        {justLong, justLong, "\\\\?\\" + justLong},
        {greekShort, greekShort, greekShort},                            // counted in UTF-16 units, not bytes
        {greekShort + "x", greekShort + "x", "\\\\?\\" + greekShort + "x"},
        {share, share, "\\\\?\\UNC\\server\\share\\" + std::string(240, 's')},
        {"\\\\.\\pipe\\" + std::string(300, 'p'), "\\\\.\\pipe\\" + std::string(300, 'p'),
         "\\\\.\\pipe\\" + std::string(300, 'p')},                       // a device path stays a device path
        {"\\\\?\\" + justLong, "\\\\?\\" + justLong, "\\\\?\\" + justLong},
        {"//./COM1", "\\\\.\\COM1", "//./COM1"},
        {"x", "", "x"},                                                  // no full form known
        {"\\\\?\\C:\\a", "C:\\b\\" + std::string(300, 'b'), "\\\\?\\C:\\a"},  // literal: as given, whatever else
        {"a", "\\" + std::string(300, 'r'), "\\\\?\\\\" + std::string(300, 'r')},  // one backslash: no share
        {"a", "C/" + std::string(300, 'c'), "\\\\?\\C/" + std::string(300, 'c')},
        {"a", "//srv/" + std::string(300, 's'), "\\\\?\\UNC\\srv/" + std::string(300, 's')},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FILESYSTEMPATH(c.Given, c.Full), c.Path) << c.Given.substr(0, 40) << " / " << c.Full.size();
    EXPECT_TRUE(ISLITERALPATH("\\\\?\\C:\\x"));
    EXPECT_TRUE(ISLITERALPATH("\\\\.\\"));
    EXPECT_FALSE(ISLITERALPATH("\\\\.x"));
    EXPECT_FALSE(ISLITERALPATH("\\\\server\\share"));
    EXPECT_FALSE(ISLITERALPATH("\\\\!\\x"));
    EXPECT_FALSE(ISLITERALPATH("\\/?"));
    EXPECT_FALSE(ISLITERALPATH("x\\.\\"));
    EXPECT_FALSE(ISLITERALPATH("\\x?\\"));
    EXPECT_FALSE(ISLITERALPATH("\\\\.x"));
    EXPECT_TRUE(ISLITERALPATH("/\\?/"));
}

// The colours a first start gives, style by style.
TEST(SettingsRanges, TheDefaultColoursStyleByStyle) {
    std::uint32_t colors[SYNTAXCOLORCOUNT] = {};
    DEFAULTSYNTAXCOLORS(colors);
    const std::uint32_t expected[SYNTAXCOLORCOUNT] = {0x000000, 0x808080, 0xFF0000, 0x000080, 0x008000,
                                                      0x000000, 0x000000, 0x000000, 0x000000, 0x800080,
                                                      0x004080, 0x000000, 0x000000, 0x800080, 0x004080};
    for (int i = 0; i < SYNTAXCOLORCOUNT; ++i)
        EXPECT_EQ(colors[i], expected[i]) << "style " << i;
}
