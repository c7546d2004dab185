// Rules of the editing commands: Sub headers, block carets, the indentation
// a new line copies, dialog placement, Go to numbers and the dialog texts.
#include <gtest/gtest.h>

#include "editing/editrules.h"

namespace {

TEST(SubHeader, AHeaderIsItsOwnSubAndParentZeroCountsAsNone) {
    EXPECT_EQ(SUBHEADER(7, true, 3), 7);
    EXPECT_EQ(SUBHEADER(7, false, 3), 3);
    EXPECT_EQ(SUBHEADER(7, false, 1), 1);
    EXPECT_EQ(SUBHEADER(7, false, 0), -1);
    EXPECT_EQ(SUBHEADER(7, false, -1), -1);
    EXPECT_EQ(SUBHEADER(0, true, -1), 0);
}

TEST(RevealRange, TheLastLineIsAtLeastOne) {
    EXPECT_EQ(REVEALRANGE(0, 0).First, 0);
    EXPECT_EQ(REVEALRANGE(0, 0).Last, 1);
    EXPECT_EQ(REVEALRANGE(4, 9).First, 4);
    EXPECT_EQ(REVEALRANGE(4, 9).Last, 9);
}

TEST(BlockCaret, ColumnZeroTakesTheCaretOneBackAndTheEndNeverGoesNegative) {
    EXPECT_EQ(BLOCKCARET(40, 0), 39);
    EXPECT_EQ(BLOCKCARET(40, 3), 40);
    EXPECT_EQ(BLOCKCARET(0, 0), -1);
    EXPECT_EQ(BLOCKFINALCARET(-2), 0);
    EXPECT_EQ(BLOCKFINALCARET(0), 0);
    EXPECT_EQ(BLOCKFINALCARET(12), 12);
}

TEST(AutoIndent, CopiesTheLeadingBlanksAndTabsAsTheyStand) {
    EXPECT_EQ(LEADINGBLANKS("\t  Print 1\r\n"), "\t  ");
    EXPECT_EQ(LEADINGBLANKS(" \t \tx"), " \t \t");
    EXPECT_EQ(LEADINGBLANKS("Print\r\n"), "");
    EXPECT_EQ(LEADINGBLANKS("    \r\n"), "    ");  // the line end ends it
    EXPECT_EQ(LEADINGBLANKS("  "), "  ");
    EXPECT_EQ(LEADINGBLANKS(""), "");
}

TEST(AutoIndent, CutsAtLineZeroLongNewLinesTextBeforeTheCaretAndLongLinesAbove) {
    EXPECT_TRUE(AUTOINDENTAPPLIES({1, 2, 0, 10}));
    EXPECT_TRUE(AUTOINDENTAPPLIES({1, 0, 0, 10}));
    EXPECT_FALSE(AUTOINDENTAPPLIES({0, 0, 0, 0}));
    EXPECT_FALSE(AUTOINDENTAPPLIES({5, 3, 0, 10}));  // text follows the caret
    EXPECT_TRUE(AUTOINDENTAPPLIES({5, 2, 0, 1023}));
    EXPECT_FALSE(AUTOINDENTAPPLIES({5, 2, 0, 1024}));
    // The second notification of CR LF at the end of the document: the new
    // line holds two bytes of indentation and no line end.
    EXPECT_FALSE(AUTOINDENTAPPLIES({5, 2, 2, 10}));
}

TEST(DialogCorner, PulledOntoTheScreenWithTheMargin) {
    const DialogCorner inside = DIALOGCORNER(WindowRect{30, 40, 300, 200}, 1280, 1024, 100);
    EXPECT_EQ(inside.Left, 30);
    EXPECT_EQ(inside.Top, 40);
    const DialogCorner beyond = DIALOGCORNER(WindowRect{5000, 5000, 5300, 5200}, 1280, 1024, 100);
    EXPECT_EQ(beyond.Left, 1180);
    EXPECT_EQ(beyond.Top, 924);
    const DialogCorner below = DIALOGCORNER(WindowRect{10, 2000, 120, 2040}, 1280, 1024, 50);
    EXPECT_EQ(below.Left, 10);
    EXPECT_EQ(below.Top, 974);
    const DialogCorner negative = DIALOGCORNER(WindowRect{-400, -20, -100, 40}, 1280, 1024, 100);
    EXPECT_EQ(negative.Left, 0);
    EXPECT_EQ(negative.Top, 0);
    // On a screen smaller than the margin the upper bound wins.
    EXPECT_EQ(DIALOGCORNER(WindowRect{10, 10, 20, 20}, 60, 60, 100).Left, -40);
}

TEST(SearchFlags, WholeWordTwoMatchCaseFour) {
    EXPECT_EQ(SEARCHFLAGS(false, false), 0);
    EXPECT_EQ(SEARCHFLAGS(true, false), 2);
    EXPECT_EQ(SEARCHFLAGS(false, true), 4);
    EXPECT_EQ(SEARCHFLAGS(true, true), 6);
}

TEST(GoToTargetLine, CountsFromOneEmptyIsZeroAndHugeNumbersStop) {
    EXPECT_EQ(GOTOTARGETLINE(""), -1);
    EXPECT_EQ(GOTOTARGETLINE("1"), 0);
    EXPECT_EQ(GOTOTARGETLINE("120"), 119);
    EXPECT_EQ(GOTOTARGETLINE("0"), -1);
    EXPECT_EQ(GOTOTARGETLINE("12x5"), 11);
    EXPECT_EQ(GOTOTARGETLINE("9999999999999999999999999999999"), 2147483646);
}

TEST(SearchTexts, AsTheUserSeesThem) {
    EXPECT_EQ(NOSELECTIONTEXT(), "There is no selected text to replace.\rUse \"Search\" first.");
    EXPECT_EQ(REPLACEALLQUESTION(),
              "Depending on the number of replacements this operation\runfortunately may need a bit time.\r\r"
              "Really replace all from current position to end of listing?");
    EXPECT_EQ(REPLACEALLRESULT(3, 15), "3 occurrences replaced.\rNeeded time: 15 Milliseconds");
    EXPECT_EQ(REPLACEALLRESULT(0, 0), "0 occurrences replaced.\rNeeded time: 0 Milliseconds");
    EXPECT_EQ(REPLACEALLNOMEMORY(7), "Not enough memory to replace all.\r7 occurrences replaced; the rest of the listing is unchanged.");
}

}  // namespace

TEST(ReplaceTexts, ACodePageThatCannotHoldTheReplacementIsNamed) {
    EXPECT_EQ(REPLACEMENTNOTHELDTEXT(1251),
              "The replacement holds characters that this listing's code page (1251) cannot hold.\rNothing was replaced.");
    EXPECT_EQ(REPLACEMENTNOTHELDTEXT(932).find("(932)"), 63u);
}
