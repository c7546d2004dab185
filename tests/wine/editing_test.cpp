// The editing commands with the real control and real dialogs: Sub folding,
// block comment and indent, auto-indent, Search/Replace and Go to line.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <commctrl.h>

#include "Scintilla.h"
#include "editing/editing.h"
#include "inprocess.h"
#include "ui/resource.h"
#include "zescin.h"

namespace {

// What one message box showed before it was answered.
struct Box {
    std::string Caption;
    std::string Text;
    bool Yes = false, No = false, Ok = false;
    HICON Icon = nullptr;
};

// Answers the message boxes of this process that appear besides a modeless
// dialog, one after the other, from a second thread (a box blocks the thread
// that shows it). Each answer is a button id.
class BoxAnswerer {
public:
    // Each box is waited for patience times 20 ms.
    BoxAnswerer(HWND besides, std::vector<int> answers, int patience = 500)
        : Answers(std::move(answers)), Patience(patience) {
        Worker = std::thread([this, besides] { RUN(besides); });
    }
    ~BoxAnswerer() { WAIT(); }
    const std::vector<Box> &WAIT() {
        if (Worker.joinable())
            Worker.join();
        return Seen;
    }

private:
    void RUN(HWND besides) {
        for (int answer : Answers) {
            HWND box = nullptr;
            for (int i = 0; i < Patience && !box; ++i) {
                box = harness::FINDDIALOG(GetCurrentProcessId(), besides);
                if (!box)
                    Sleep(20);
            }
            if (!box)
                return;
            Sleep(50);
            Box seen;
            seen.Caption = harness::WINDOWTEXTOF(box);
            seen.Text = harness::MESSAGEBOXTEXT(box);
            seen.Yes = harness::HASBUTTON(box, IDYES);
            seen.No = harness::HASBUTTON(box, IDNO);
            seen.Ok = harness::HASBUTTON(box, IDOK);
            seen.Icon = reinterpret_cast<HICON>(SendMessageA(GetDlgItem(box, 1088), STM_GETICON, 0, 0));
            Seen.push_back(seen);
            harness::PRESSBUTTON(box, answer);
            for (int i = 0; i < 250 && IsWindow(box); ++i)
                Sleep(20);
        }
    }
    std::vector<int> Answers;
    int Patience;
    std::vector<Box> Seen;
    std::thread Worker;
};

HICON SYSTEMICON(int id) {
    return LoadIconA(nullptr, MAKEINTRESOURCEA(id));
}

class EditingTest : public InProcessTest {
protected:
    void FOLD(int line) {
        CALL(SCI_COLOURISE, 0, -1);
        CALL(SCI_TOGGLEFOLD, line);
    }
    bool EXPANDED(int line) { return CALL(SCI_GETFOLDEXPANDED, line) != 0; }
    bool VISIBLE(int line) { return CALL(SCI_GETLINEVISIBLE, line) != 0; }
    LRESULT LINESTART(int line) { return CALL(SCI_POSITIONFROMLINE, line); }
    LRESULT CARET() { return CALL(SCI_GETCURRENTPOS); }
    LRESULT ANCHOR() { return CALL(SCI_GETANCHOR); }
    LRESULT CARETLINE() { return CALL(SCI_LINEFROMPOSITION, CARET()); }
    void SELECT(LRESULT anchor, LRESULT caret) { CALL(SCI_SETSEL, anchor, caret); }
    // Runs the message loop of the program until the posted messages are done.
    void LOOP() {
        PostQuitMessage(0);
        RUNMESSAGELOOP();
    }
};

// ======================================================================== Sub folding

const std::string FOURSUBS =
    "' four subs\r\n"  // 0
    "Sub One()\r\n"    // 1
    "  Print 1\r\n"
    "End Sub\r\n"
    "\r\n"
    "Sub Two()\r\n"    // 5
    "  Print 2\r\n"    // 6
    "  Print 22\r\n"
    "End Sub\r\n"
    "\r\n"
    "Sub Three()\r\n"  // 10
    "  Print 3\r\n"
    "End Sub\r\n"
    "\r\n"
    "Sub Four()\r\n"   // 14
    "  Print 4\r\n"    // 15
    "End Sub\r\n";

using FoldingTest = EditingTest;

TEST_F(FoldingTest, ToggleAllBelowBringsTheSubsBelowIntoTheStateOfTheCaretsSub) {
    START();
    SETTEXT(FOURSUBS);
    FOLD(1);
    FOLD(10);
    CALL(SCI_GOTOPOS, LINESTART(6) + 4);
    COMMAND(CMD_TOGGLESUBSBELOW);
    EXPECT_FALSE(EXPANDED(1));
    EXPECT_FALSE(EXPANDED(5));
    EXPECT_FALSE(EXPANDED(10));
    EXPECT_FALSE(EXPANDED(14));
    EXPECT_EQ(CARET(), LINESTART(5));
    COMMAND(CMD_TOGGLESUBSBELOW);
    EXPECT_FALSE(EXPANDED(1));
    EXPECT_TRUE(EXPANDED(5));
    EXPECT_TRUE(EXPANDED(10));
    EXPECT_TRUE(EXPANDED(14));
    EXPECT_TRUE(VISIBLE(15));
    EXPECT_EQ(CALL(SCI_GETMODIFY), 1);  // from SETTEXT only: the text is untouched
    EXPECT_EQ(DOCUMENTTEXT(), FOURSUBS);
}

TEST_F(FoldingTest, ToggleCurrentSubOnTheHeaderAndInTheBody) {
    START();
    SETTEXT(FOURSUBS);
    CALL(SCI_GOTOPOS, LINESTART(5) + 3);
    COMMAND(CMD_TOGGLESUB);
    EXPECT_FALSE(EXPANDED(5));
    EXPECT_FALSE(VISIBLE(6));
    EXPECT_EQ(CARET(), LINESTART(5) + 3);  // on the header the caret stays
    COMMAND(CMD_TOGGLESUB);
    EXPECT_TRUE(EXPANDED(5));

    CALL(SCI_GOTOPOS, LINESTART(7) + 5);
    COMMAND(CMD_TOGGLESUB);
    EXPECT_FALSE(EXPANDED(5));
    EXPECT_EQ(CARET(), LINESTART(5));  // out of the hidden body onto the header
    EXPECT_TRUE(EXPANDED(1));
    EXPECT_TRUE(EXPANDED(10));
}

TEST_F(FoldingTest, AHeaderOnLineZeroEnclosesNothing) {
    START();
    SETTEXT("Sub Zero()\r\n  Print 0\r\nEnd Sub\r\n\r\nSub One()\r\n  Print 1\r\nEnd Sub\r\n\r\nSub Two()\r\n  x\r\nEnd Sub\r\n");
    CALL(SCI_GOTOPOS, LINESTART(1) + 2);
    COMMAND(CMD_TOGGLESUB);
    EXPECT_TRUE(EXPANDED(0));
    EXPECT_TRUE(EXPANDED(4));
    EXPECT_EQ(CARET(), LINESTART(1) + 2);
    COMMAND(CMD_TOGGLESUBSBELOW);
    EXPECT_TRUE(EXPANDED(0));
    EXPECT_FALSE(EXPANDED(4));
    EXPECT_FALSE(EXPANDED(8));
    EXPECT_EQ(CARET(), LINESTART(4));
}

TEST_F(FoldingTest, OutsideEverySubOnlyToggleAllBelowActs) {
    START();
    SETTEXT("' top\r\nDim a As Long\r\n\r\nSub One()\r\n  Print 1\r\nEnd Sub\r\nSub Two()\r\n  Print 2\r\nEnd Sub\r\n' end");
    CALL(SCI_GOTOPOS, LINESTART(1) + 3);
    COMMAND(CMD_TOGGLESUB);
    EXPECT_TRUE(EXPANDED(3));
    EXPECT_EQ(CARET(), LINESTART(1) + 3);
    COMMAND(CMD_TOGGLESUBSBELOW);
    EXPECT_FALSE(EXPANDED(3));
    EXPECT_FALSE(EXPANDED(6));
    EXPECT_EQ(CARET(), LINESTART(3));

    // With the only Sub's header on line 0 and the caret below it there is
    // nothing to act on: the caret stays.
    SETTEXT("Sub Zero()\r\n  Print 0\r\nEnd Sub\r\n' end");
    const LRESULT end = CALL(SCI_GETLENGTH) - 2;
    CALL(SCI_GOTOPOS, end);
    COMMAND(CMD_TOGGLESUBSBELOW);
    COMMAND(CMD_TOGGLESUB);
    EXPECT_EQ(CARET(), end);
    EXPECT_TRUE(EXPANDED(0));
}

TEST_F(FoldingTest, SubsNeverShownAreFoldedToo) {
    START();
    std::string text = "' many\r\n";
    for (int n = 0; n < 3000; ++n)
        text += "Sub S" + std::to_string(n) + "()\r\n  Print " + std::to_string(n) + "\r\nEnd Sub\r\n\r\n";
    SETTEXT(text);  // only the first screen gets lexed by painting
    PUMP(50);
    CALL(SCI_GOTOPOS, LINESTART(1));
    COMMAND(CMD_TOGGLESUBSBELOW);
    EXPECT_FALSE(EXPANDED(1));
    EXPECT_FALSE(EXPANDED(1 + 4 * 2999));
    EXPECT_FALSE(VISIBLE(2 + 4 * 2999));
}

TEST_F(FoldingTest, DeletingAWholeFoldedListingShowsEveryLineOnce) {
    START();
    std::string text = "' many\r\n";
    for (int n = 0; n < 2000; ++n)
        text += "Sub S" + std::to_string(n) + "()\r\n  Print " + std::to_string(n) + "\r\nEnd Sub\r\n\r\n";
    SETTEXT(text);
    CALL(SCI_GOTOPOS, LINESTART(1));
    COMMAND(CMD_TOGGLESUBSBELOW);
    ASSERT_FALSE(VISIBLE(2 + 4 * 1999));
    CALL(SCI_SELECTALL);
    CALL(SCI_CLEAR);
    EXPECT_EQ(DOCUMENTTEXT(), "");
    EXPECT_TRUE(IsWindowVisible(EditorControl));  // redrawing is on again
    CALL(SCI_UNDO);
    EXPECT_EQ(DOCUMENTTEXT(), text);
}

TEST_F(FoldingTest, AClickBesideABodyLineFoldsItsSub) {
    START();
    SETTEXT(FOURSUBS);
    CALL(SCI_COLOURISE, 0, -1);
    const int x = static_cast<int>(CALL(SCI_GETMARGINWIDTHN, 0)) + 2;
    const int y = static_cast<int>(CALL(SCI_POINTYFROMPOSITION, 0, LINESTART(7)) + CALL(SCI_TEXTHEIGHT, 7) / 2);
    SendMessageA(EditorControl, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(EditorControl, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PUMP(50);
    EXPECT_FALSE(EXPANDED(5));
    EXPECT_EQ(CARETLINE(), 5);

    // A click in the fold-marker margin does nothing.
    const int x2 = static_cast<int>(CALL(SCI_GETMARGINWIDTHN, 0) + CALL(SCI_GETMARGINWIDTHN, 1)) + 3;
    const int y2 = static_cast<int>(CALL(SCI_POINTYFROMPOSITION, 0, LINESTART(11)) + CALL(SCI_TEXTHEIGHT, 11) / 2);
    SendMessageA(EditorControl, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x2, y2));
    SendMessageA(EditorControl, WM_LBUTTONUP, 0, MAKELPARAM(x2, y2));
    EXPECT_TRUE(EXPANDED(10));
}

TEST_F(FoldingTest, NeedShownUnfoldsAHeaderItEndsOnAndShowsOrdinaryLines) {
    START();
    SETTEXT(FOURSUBS);
    FOLD(5);
    FOLD(10);
    REVEALLINES(LINESTART(2), LINESTART(10) + 2);
    EXPECT_TRUE(EXPANDED(10));  // the range ends on it
    EXPECT_TRUE(VISIBLE(11));
    EXPECT_TRUE(VISIBLE(6));    // inside the range: shown
    REVEALLINES(LINESTART(14), LINESTART(14));
    EXPECT_TRUE(EXPANDED(14));

    FOLD(14);
    FOLD(5);
    REVEALLINES(LINESTART(3), LINESTART(15) + 1);
    EXPECT_TRUE(VISIBLE(7));
    EXPECT_TRUE(VISIBLE(15));

    // The control asks when text changes while lines are hidden: typing on a
    // folded header unfolds it.
    FOLD(10);
    ASSERT_FALSE(EXPANDED(10));
    CALL(SCI_INSERTTEXT, LINESTART(10), reinterpret_cast<LPARAM>("'"));
    EXPECT_TRUE(EXPANDED(10));
    EXPECT_TRUE(VISIBLE(11));

    // A one-line document: the range's last line lies beyond it.
    SETTEXT("Print 1");
    REVEALLINES(0, 3);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 1");
}

// ======================================================================== block commands

const std::string TENLINES =
    "line0\r\nline1\r\nline2\r\nline3\r\nline4\r\nline5\r\nline6\r\nline7\r\nline8\r\nline9\r\n";

using BlockTest = EditingTest;

TEST_F(BlockTest, ASelectionEndingAtALineStartLeavesThatLineOut) {
    START();
    SETTEXT(TENLINES);
    SELECT(LINESTART(5), LINESTART(8));
    COMMAND(CMD_BLOCKCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), "line0\r\nline1\r\nline2\r\nline3\r\nline4\r\n'line5\r\n'line6\r\n'line7\r\nline8\r\nline9\r\n");
    COMMAND(CMD_BLOCKCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(),
              "line0\r\nline1\r\nline2\r\nline3\r\nline4\r\n''line5\r\n''line6\r\n''line7\r\nline8\r\nline9\r\n");
    COMMAND(CMD_BLOCKUNCOMMENT);
    COMMAND(CMD_BLOCKUNCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    COMMAND(CMD_BLOCKUNCOMMENT);  // nothing left to remove
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
}

TEST_F(BlockTest, RemovalIsAllOrNothing) {
    START();
    const std::string text = "'a\r\n 'b\r\n'c\r\n";
    SETTEXT(text);
    SELECT(0, LINESTART(2) + 1);
    COMMAND(CMD_BLOCKUNCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), text);

    const std::string indented = "  a\r\n b\r\n  c\r\n";
    SETTEXT(indented);
    SELECT(0, LINESTART(2) + 1);
    COMMAND(CMD_BLOCKUNINDENT);
    EXPECT_EQ(DOCUMENTTEXT(), " a\r\nb\r\n c\r\n");
    COMMAND(CMD_BLOCKUNINDENT);  // line 1 starts with b now
    EXPECT_EQ(DOCUMENTTEXT(), " a\r\nb\r\n c\r\n");

    const std::string tabbed = " a\r\n\tb\r\n c\r\n";
    SETTEXT(tabbed);
    SELECT(0, LINESTART(2) + 1);
    COMMAND(CMD_BLOCKUNINDENT);
    EXPECT_EQ(DOCUMENTTEXT(), tabbed);
    COMMAND(CMD_BLOCKINDENT);
    EXPECT_EQ(DOCUMENTTEXT(), "  a\r\n \tb\r\n  c\r\n");  // always one space, never a tab
}

TEST_F(BlockTest, WithoutSelectionOnlyTheCaretsLineAndOneCharacterEndsSelected) {
    START();
    SETTEXT(TENLINES);
    const LRESULT caret = LINESTART(3) + 2;
    CALL(SCI_GOTOPOS, caret);
    COMMAND(CMD_BLOCKCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT().substr(LINESTART(3), 7), "'line3\r");
    EXPECT_EQ(ANCHOR(), caret);
    EXPECT_EQ(CARET(), caret + 1);  // the character before the caret is selected

    CALL(SCI_GOTOPOS, caret + 1);
    COMMAND(CMD_BLOCKUNCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(ANCHOR(), caret + 1);
    EXPECT_EQ(CARET(), caret);  // the one after the caret is selected

    // In column 0 of a later line: nothing changes, the character before is selected.
    CALL(SCI_GOTOPOS, LINESTART(4));
    COMMAND(CMD_BLOCKCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(ANCHOR(), LINESTART(4));
    EXPECT_EQ(CARET(), LINESTART(4) - 1);

    // At the very start: the first line is marked and nothing beyond the
    // start is ever selected.
    CALL(SCI_GOTOPOS, 0);
    COMMAND(CMD_BLOCKUNINDENT);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(ANCHOR(), 0);
    EXPECT_EQ(CARET(), 0);
    COMMAND(CMD_BLOCKINDENT);
    EXPECT_EQ(DOCUMENTTEXT().substr(0, 7), " line0\r");
    COMMAND(CMD_BLOCKUNINDENT);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(CARET(), 0);
    EXPECT_EQ(ANCHOR(), 0);
}

TEST_F(BlockTest, AnUpwardBlockIsLeftUnchanged) {
    START();
    SETTEXT(TENLINES);
    SELECT(LINESTART(6) + 2, LINESTART(3) + 2);
    COMMAND(CMD_BLOCKCOMMENT);
    COMMAND(CMD_BLOCKINDENT);
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
}

TEST_F(BlockTest, EveryMarkerIsAnUndoStepOfItsOwn) {
    START();
    SETTEXT(TENLINES);
    CALL(SCI_EMPTYUNDOBUFFER);
    SELECT(LINESTART(2), LINESTART(7));
    COMMAND(CMD_BLOCKCOMMENT);
    const std::string commented = DOCUMENTTEXT();
    EXPECT_EQ(std::count(commented.begin(), commented.end(), '\''), 5);
    for (int step = 4; step >= 0; --step) {
        COMMAND(CMD_UNDO);
        const std::string now = DOCUMENTTEXT();
        EXPECT_EQ(std::count(now.begin(), now.end(), '\''), step);
    }
    EXPECT_EQ(DOCUMENTTEXT(), TENLINES);
    EXPECT_EQ(CALL(SCI_CANUNDO), 0);

    SELECT(LINESTART(2), LINESTART(5));
    COMMAND(CMD_BLOCKINDENT);
    COMMAND(CMD_BLOCKUNINDENT);
    for (int step = 0; step < 3; ++step)
        COMMAND(CMD_UNDO);
    EXPECT_EQ(DOCUMENTTEXT().substr(LINESTART(2), 8), " line2\r\n");
}

// ======================================================================== auto-indent

using AutoIndentTest = EditingTest;

TEST_F(AutoIndentTest, EnterCopiesTheIndentationOfTheLineAbove) {
    START();
    ASSERT_EQ(CALL(SCI_GETEOLMODE), SC_EOL_CRLF);
    SETTEXT("\t  Print 1\r\nEnd\r\n");
    CALL(SCI_GOTOPOS, LINESTART(1) - 2);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "\t  Print 1\r\n\t  \r\nEnd\r\n");
    EXPECT_EQ(CARET(), LINESTART(1) + 3);

    // At the end of the document the new line has no line end of its own;
    // the second notification (LF) must not copy the indentation again.
    SETTEXT("  x");
    CALL(SCI_GOTOPOS, 3);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "  x\r\n  ");
    SETTEXT(" x");
    CALL(SCI_GOTOPOS, 2);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), " x\r\n ");

    // In the middle of a line the moved text is not indented.
    SETTEXT("    Print a, b\r\n");
    CALL(SCI_GOTOPOS, 11);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "    Print a\r\n, b\r\n");

    // No leading blanks, nothing inserted.
    SETTEXT("Print 1\r\n");
    CALL(SCI_GOTOPOS, 7);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 1\r\n\r\n");
}

TEST_F(AutoIndentTest, LinesOf1024BytesAreNotHandled) {
    START();
    const std::string line1023 = "  " + std::string(1019, 'x') + "\r\n";
    ASSERT_EQ(line1023.size(), 1023u);
    SETTEXT(line1023 + "End\r\n");
    CALL(SCI_GOTOPOS, 1021);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), line1023 + "  \r\nEnd\r\n");

    const std::string line1024 = "  " + std::string(1020, 'x') + "\r\n";
    SETTEXT(line1024 + "End\r\n");
    CALL(SCI_GOTOPOS, 1022);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), line1024 + "\r\nEnd\r\n");
}

TEST_F(AutoIndentTest, OnlyWhenTheSettingIsOne) {
    START();
    AppSettings.AutoIndent = 0;
    SETTEXT("  Print 1\r\n");
    CALL(SCI_GOTOPOS, 9);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "  Print 1\r\n\r\n");
    AppSettings.AutoIndent = 2;
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "  Print 1\r\n\r\n\r\n");
    COMMAND(CMD_AUTOINDENT);
    ASSERT_EQ(AppSettings.AutoIndent, 1);
    SETTEXT("  Print 1\r\n");
    CALL(SCI_GOTOPOS, 9);
    CALL(SCI_NEWLINE);
    EXPECT_EQ(DOCUMENTTEXT(), "  Print 1\r\n  \r\n");
}

// ======================================================================== typing on a long line

// A character typed into a long line is coloured before the editor lays the
// line out to show the caret; elsewhere colouring waits for the paint.
TEST_F(EditingTest, ALongLineIsColouredAsACharacterIsTypedIntoIt) {
    START();
    std::string longLine;
    while (longLine.size() < static_cast<std::size_t>(LONGLINEBYTES))
        longLine += "Print x : ";
    const auto longEnd = static_cast<Sci_Position>(longLine.size());
    SETTEXT(longLine + "\r\nSub Two()\r\nEnd Sub\r\n");
    CALL(SCI_COLOURISE, 0, -1);
    const Sci_Position shortStart = CALL(SCI_POSITIONFROMLINE, 1);

    // Typed at the end of the long line: coloured at once, up to the line's end.
    CALL(SCI_GOTOPOS, static_cast<WPARAM>(longEnd));
    SendMessageA(EditorControl, WM_CHAR, '1', 1);
    EXPECT_GE(CALL(SCI_GETENDSTYLED), longEnd + 1);
    EXPECT_NE(CALL(SCI_GETSTYLEAT, static_cast<WPARAM>(longEnd)), 0);  // the number style, not the default

    // Typed into a short line: left to the paint.
    CALL(SCI_GOTOPOS, static_cast<WPARAM>(shortStart + 1));
    SendMessageA(EditorControl, WM_CHAR, 'x', 1);
    EXPECT_LE(CALL(SCI_GETENDSTYLED), shortStart + 1);

    // Text put into the long line away from the caret (a replacement, say):
    // left to the paint as well.
    CALL(SCI_COLOURISE, 0, -1);
    CALL(SCI_GOTOPOS, 0);
    CALL(SCI_INSERTTEXT, static_cast<WPARAM>(longEnd - 3), reinterpret_cast<LPARAM>("2"));
    EXPECT_LE(CALL(SCI_GETENDSTYLED), longEnd - 3);
}

// ======================================================================== Search/Replace

class SearchTest : public EditingTest {
protected:
    HWND OPEN() {
        COMMAND(CMD_SEARCH);
        EXPECT_NE(SearchDialog, nullptr);
        EXPECT_TRUE(IsWindow(SearchDialog));
        return SearchDialog;
    }
    void TYPE(int id, const std::string &text) { SetDlgItemTextA(SearchDialog, id, text.c_str()); }
    void CHECK(int id) { CheckDlgButton(SearchDialog, id, BST_CHECKED); }
    void PRESS(int id) { SendMessageA(SearchDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void CLOSESEARCH() { PRESS(IDCANCEL); }
    void TYPECHAR(char c) { SendMessageA(EditorControl, WM_CHAR, static_cast<WPARAM>(c), 1); }
    bool ENABLED(int id) { return IsWindowEnabled(GetDlgItem(SearchDialog, id)) != FALSE; }
    // Presses a button whose work shows message boxes, answering them in turn.
    std::vector<Box> PRESSANSWERING(int id, std::vector<int> answers) {
        BoxAnswerer answerer(SearchDialog, std::move(answers));
        PRESS(id);
        return answerer.WAIT();
    }
};

TEST_F(SearchTest, ControlsTextsAndButtonStates) {
    START();
    HWND dialog = OPEN();
    EXPECT_EQ(harness::WINDOWTEXTOF(dialog), "Search/Replace");
    EXPECT_EQ(harness::WINDOWTEXTOF(GetDlgItem(dialog, IDOK)), "&Search");
    EXPECT_EQ(harness::WINDOWTEXTOF(GetDlgItem(dialog, IDC_REPLACE)), "&Replace");
    EXPECT_EQ(harness::WINDOWTEXTOF(GetDlgItem(dialog, IDC_REPLACEALL)), "Replace &all");
    EXPECT_EQ(harness::WINDOWTEXTOF(GetDlgItem(dialog, IDC_WHOLEWORD)), "&Whole word");
    EXPECT_EQ(harness::WINDOWTEXTOF(GetDlgItem(dialog, IDC_MATCHCASE)), "&Match case");
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SEARCHTEXT));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), MainWindow);
    EXPECT_FALSE(ENABLED(IDOK));
    EXPECT_FALSE(ENABLED(IDC_REPLACE));
    EXPECT_FALSE(ENABLED(IDC_REPLACEALL));
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SEARCHTEXT, EM_GETLIMITTEXT, 0, 0), 255);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_REPLACETEXT, EM_GETLIMITTEXT, 0, 0), 255);
    TYPE(IDC_SEARCHTEXT, "x");
    EXPECT_TRUE(ENABLED(IDOK));
    EXPECT_TRUE(ENABLED(IDC_REPLACEALL));
    EXPECT_FALSE(ENABLED(IDC_REPLACE));
    TYPE(IDC_SEARCHTEXT, "");
    EXPECT_FALSE(ENABLED(IDOK));
    EXPECT_FALSE(ENABLED(IDC_REPLACEALL));
}

TEST_F(SearchTest, SearchGoesForwardOnlyAndWalksThroughTheMatches) {
    START();
    SETTEXT("Print 1\r\nx = 2\r\nPrint 3\r\nPrint 4\r\n");
    CALL(SCI_GOTOPOS, 3);
    OPEN();
    TYPE(IDC_SEARCHTEXT, "Print");
    PRESS(IDOK);
    EXPECT_EQ(ANCHOR(), LINESTART(2));
    EXPECT_EQ(CARET(), LINESTART(2) + 5);
    EXPECT_TRUE(ENABLED(IDC_REPLACE));
    PRESS(IDOK);
    EXPECT_EQ(ANCHOR(), LINESTART(3));
    const auto boxes = PRESSANSWERING(IDOK, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Quillet");
    EXPECT_EQ(boxes[0].Text, "No (more) matches found");
    EXPECT_EQ(boxes[0].Icon, SYSTEMICON(32513));  // IDI_HAND
    EXPECT_EQ(ANCHOR(), LINESTART(3));  // nothing changed
    EXPECT_EQ(CARET(), LINESTART(3) + 5);
}

TEST_F(SearchTest, WholeWordAndMatchCase) {
    START();
    SETTEXT("PrintLine 1\r\nPRINT 2\r\nPrint 3\r\nprint 4\r\n");
    CALL(SCI_GOTOPOS, 0);
    OPEN();
    TYPE(IDC_SEARCHTEXT, "Print");
    CHECK(IDC_WHOLEWORD);
    PRESS(IDOK);
    EXPECT_EQ(ANCHOR(), LINESTART(1));  // not inside PrintLine
    CALL(SCI_GOTOPOS, 0);
    CHECK(IDC_MATCHCASE);
    PRESS(IDOK);
    EXPECT_EQ(ANCHOR(), LINESTART(2));
    CALL(SCI_GOTOPOS, 0);
    TYPE(IDC_SEARCHTEXT, "print");
    PRESS(IDOK);
    EXPECT_EQ(ANCHOR(), LINESTART(3));
    CALL(SCI_GOTOPOS, LINESTART(3) + 1);
    const auto boxes = PRESSANSWERING(IDOK, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "No (more) matches found");
}

TEST_F(SearchTest, AMatchInsideAFoldedSubIsUnfoldedAndSelected) {
    START();
    SETTEXT(FOURSUBS);
    FOLD(10);
    CALL(SCI_GOTOPOS, 0);
    OPEN();
    TYPE(IDC_SEARCHTEXT, "Print 3");
    PRESS(IDOK);
    EXPECT_TRUE(VISIBLE(11));
    EXPECT_TRUE(EXPANDED(10));
    EXPECT_EQ(ANCHOR(), LINESTART(11) + 2);
    EXPECT_EQ(CARET(), LINESTART(11) + 9);
}

TEST_F(SearchTest, ReplaceNeedsASelectionAndThenSearchesOn) {
    START();
    SETTEXT("a1 b a2 a3\r\n");
    CALL(SCI_GOTOPOS, 0);
    OPEN();
    TYPE(IDC_SEARCHTEXT, "a");
    TYPE(IDC_REPLACETEXT, "Z");
    PRESS(IDOK);
    ASSERT_TRUE(ENABLED(IDC_REPLACE));
    CALL(SCI_GOTOPOS, 2);
    const auto boxes = PRESSANSWERING(IDC_REPLACE, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "Quillet");
    EXPECT_EQ(boxes[0].Text, "There is no selected text to replace.\rUse \"Search\" first.");
    EXPECT_EQ(boxes[0].Icon, SYSTEMICON(32513));
    EXPECT_FALSE(ENABLED(IDC_REPLACE));
    EXPECT_EQ(DOCUMENTTEXT(), "a1 b a2 a3\r\n");

    // A selection that is no match is replaced all the same, then the next
    // match is selected by the posted Search.
    SELECT(3, 4);
    PRESS(IDC_REPLACE);
    EXPECT_EQ(DOCUMENTTEXT(), "a1 Z a2 a3\r\n");
    PUMP(100);
    EXPECT_EQ(ANCHOR(), 5);
    EXPECT_EQ(CARET(), 6);
    PRESS(IDC_REPLACE);
    PUMP(100);
    EXPECT_EQ(DOCUMENTTEXT(), "a1 Z Z2 a3\r\n");
    EXPECT_EQ(ANCHOR(), 8);
}

TEST_F(SearchTest, ReplaceAllFromTheAnchorCountsAndSelectsTheLastReplacement) {
    START();
    SETTEXT("a a a");
    CALL(SCI_GOTOPOS, 0);
    OPEN();
    TYPE(IDC_SEARCHTEXT, "a");
    TYPE(IDC_REPLACETEXT, "aa");
    const auto boxes = PRESSANSWERING(IDC_REPLACEALL, {IDYES, IDOK});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, "Replace all");
    EXPECT_EQ(boxes[0].Text,
              "Depending on the number of replacements this operation\runfortunately may need a bit time.\r\r"
              "Really replace all from current position to end of listing?");
    EXPECT_TRUE(boxes[0].Yes);
    EXPECT_TRUE(boxes[0].No);
    EXPECT_EQ(boxes[0].Icon, SYSTEMICON(32514));  // IDI_QUESTION
    EXPECT_EQ(boxes[1].Caption, "Quillet");
    EXPECT_EQ(boxes[1].Text.substr(0, 37), "3 occurrences replaced.\rNeeded time: ");
    EXPECT_EQ(boxes[1].Text.substr(boxes[1].Text.size() - 13), " Milliseconds");
    EXPECT_EQ(boxes[1].Icon, SYSTEMICON(32516));  // IDI_ASTERISK
    EXPECT_EQ(DOCUMENTTEXT(), "aa aa aa");
    EXPECT_EQ(ANCHOR(), 6);
    EXPECT_EQ(CARET(), 8);

    // Right after a Search the selected match is the first to be replaced.
    SETTEXT("x b x b x");
    CALL(SCI_GOTOPOS, 3);
    TYPE(IDC_SEARCHTEXT, "x");
    TYPE(IDC_REPLACETEXT, "");
    PRESS(IDOK);
    ASSERT_EQ(ANCHOR(), 4);
    PRESSANSWERING(IDC_REPLACEALL, {IDYES, IDOK});
    EXPECT_EQ(DOCUMENTTEXT(), "x b  b ");

    // No answers nothing; nothing found still reports.
    PRESSANSWERING(IDC_REPLACEALL, {IDNO});
    EXPECT_EQ(DOCUMENTTEXT(), "x b  b ");
    CALL(SCI_GOTOPOS, 2);
    TYPE(IDC_SEARCHTEXT, "q");
    TYPE(IDC_REPLACETEXT, "rr");
    const auto none = PRESSANSWERING(IDC_REPLACEALL, {IDYES, IDOK});
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[1].Text.substr(0, 37), "0 occurrences replaced.\rNeeded time: ");
    EXPECT_EQ(CARET(), 2);
    EXPECT_EQ(ANCHOR(), 0);
}

// Memory that runs out half way through Replace all, forced by a budget for
// what the editing component may hold: for a growing text (its room)
// and for a text of the same length (its undo history). Each ends with the
// message; the replacements made stay whole, the rest is unchanged, and the
// control is sound: what is typed next is saved with the text around it.
TEST_F(SearchTest, ReplaceAllThatRunsOutOfMemoryLeavesASoundEditor) {
    START();
    std::string original;
    for (int i = 0; i < 4000; ++i)
        original += "Print caption ' line " + std::to_string(i) + "\r\n";
    const struct {
        const char *Replacement;
        bool Growing;
    } cases[] = {{"Debug.Print caption", true}, {"Write caption", false}};
    for (const auto &c : cases) {
        SETTEXT(original);
        CALL(SCI_EMPTYUNDOBUFFER);
        // Room for the text ahead, so that only the undo history can be short.
        if (!c.Growing)
            CALL(SCI_ALLOCATE, 2 * original.size());
        CALL(SCI_GOTOPOS, 0);
        OPEN();
        TYPE(IDC_SEARCHTEXT, "Print caption");
        TYPE(IDC_REPLACETEXT, c.Replacement);
        CALL(ZESCIN_SETALLOCATIONBUDGET, 8192);
        const auto boxes = PRESSANSWERING(IDC_REPLACEALL, {IDYES, IDOK});
        CALL(ZESCIN_SETALLOCATIONBUDGET, 0);
        ASSERT_EQ(boxes.size(), 2u);
        const std::string &text = boxes[1].Text;
        ASSERT_EQ(text.rfind("Not enough memory to replace all.\r", 0), 0u) << text;
        const int replaced = std::stoi(text.substr(text.find('\r') + 1));
        EXPECT_EQ(replaced == 0, c.Growing) << text;
        std::string expected = original;
        for (std::size_t at = 0, n = 0; n < static_cast<std::size_t>(replaced); ++n) {
            at = expected.find("Print caption", at);
            expected.replace(at, 13, c.Replacement);
            at += std::strlen(c.Replacement);
        }
        EXPECT_EQ(DOCUMENTTEXT(), expected);
        EXPECT_EQ(CALL(SCI_GETSTATUS), 0);
        CLOSESEARCH();
        // Typed at the top and at the end, saved and read back.
        CALL(SCI_GOTOPOS, 0);
        TYPECHAR('X');
        CALL(SCI_DOCUMENTEND);
        TYPECHAR('Y');
        Document.CurrentFile = Folder.FILE("replaced.bas");
        ASSERT_EQ(SAVEFILE(), 0);
        const std::string saved = Folder.READFILE("replaced.bas");
        EXPECT_EQ(saved.substr(0, expected.size() + 2), "X" + expected + "Y");
    }
}

TEST_F(SearchTest, ClosingStoresTheKeysAndRectangleAndTheExitWritesThem) {
    START();
    AppSettings.SearchWndPos = WindowRect{};
    HWND dialog = OPEN();
    RECT r;
    GetWindowRect(dialog, &r);
    // Nothing stored: the template's place, copied at once.
    EXPECT_EQ(AppSettings.SearchWndPos.left, r.left);
    EXPECT_EQ(AppSettings.SearchWndPos.right, r.right);
    TYPE(IDC_SEARCHTEXT, "needle");
    TYPE(IDC_REPLACETEXT, "thread");
    MoveWindow(dialog, 200, 150, r.right - r.left, r.bottom - r.top, TRUE);
    // Esc through the program's message loop closes it.
    SetFocus(GetDlgItem(dialog, IDC_SEARCHTEXT));
    PostMessageA(GetDlgItem(dialog, IDC_SEARCHTEXT), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    LOOP();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(SearchDialog, CLOSEDDIALOG());
    EXPECT_EQ(GetFocus(), EditorControl);
    EXPECT_EQ(AppSettings.LastSearchKey, "needle");
    EXPECT_EQ(AppSettings.LastReplaceKey, "thread");
    EXPECT_EQ(AppSettings.SearchWndPos.left, 200);
    EXPECT_EQ(AppSettings.SearchWndPos.top, 150);
    EXPECT_EQ(AppSettings.SearchWndPos.right, 200 + r.right - r.left);
    // The loop goes on with the closed handle.
    LOOP();

    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    const WindowRect written = AppSettings.SearchWndPos;
    LOADONLY("/e");
    EXPECT_EQ(AppSettings.LastSearchKey, "needle");
    EXPECT_EQ(AppSettings.LastReplaceKey, "thread");
    EXPECT_EQ(AppSettings.SearchWndPos.left, written.left);
    EXPECT_EQ(AppSettings.SearchWndPos.bottom, written.bottom);

    // The next dialog opens there with the keys.
    dialog = OPEN();
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    char text[300];
    GetDlgItemTextA(dialog, IDC_SEARCHTEXT, text, sizeof text);
    EXPECT_STREQ(text, "needle");
    EXPECT_TRUE(ENABLED(IDOK));
    EXPECT_FALSE(ENABLED(IDC_REPLACE));
}

TEST_F(SearchTest, AStoredPlaceOffTheScreenIsPulledBack) {
    START();
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    AppSettings.SearchWndPos = WindowRect{width + 500, height + 400, width + 800, height + 500};
    AppSettings.LastSearchKey = std::string(259, 'k');
    HWND dialog = OPEN();
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, width - 100);
    EXPECT_EQ(r.top, height - 100);
    EXPECT_EQ(AppSettings.SearchWndPos.left, width - 100);
    EXPECT_EQ(AppSettings.SearchWndPos.top, height - 100);
    EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(dialog, IDC_SEARCHTEXT)), 255);
    PRESS(IDCANCEL);
    EXPECT_EQ(AppSettings.LastSearchKey, std::string(255, 'k'));

    AppSettings.SearchWndPos = WindowRect{-300, -50, 10, 60};
    dialog = OPEN();
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST_F(SearchTest, ClosingAnOlderDialogLeavesTheNewerOneServed) {
    START();
    HWND older = OPEN();
    HWND newer = OPEN();
    ASSERT_NE(older, newer);
    EXPECT_EQ(SearchDialog, newer);
    SendMessageA(older, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(SearchDialog, newer);
    SendMessageA(newer, WM_CLOSE, 0, 0);  // the title bar's close box
    PUMP(50);
    EXPECT_FALSE(IsWindow(newer));
    EXPECT_EQ(SearchDialog, CLOSEDDIALOG());
}

// ======================================================================== Go to line

class GoToTest : public EditingTest {
protected:
    HWND FIELD() { return GetDlgItem(GoToDialog, IDC_GOTOLINE); }
    void TYPE(char c) { SendMessageA(FIELD(), WM_CHAR, static_cast<WPARAM>(c), 1); }
};

std::string LINES(int count) {
    std::string text;
    for (int n = 1; n <= count; ++n)
        text += "line " + std::to_string(n) + "\r\n";
    return text;
}

TEST_F(GoToTest, TheCaretFollowsTheNumberWhileItIsTyped) {
    START();
    SETTEXT(LINES(200));
    CALL(SCI_GOTOPOS, LINESTART(50) + 3);
    COMMAND(CMD_GOTO);
    ASSERT_TRUE(IsWindow(GoToDialog));
    EXPECT_EQ(harness::WINDOWTEXTOF(GoToDialog), "Go to...");
    EXPECT_EQ(GetFocus(), FIELD());
    EXPECT_EQ(CARET(), 0);  // the empty field counts as 0
    EXPECT_TRUE(GetWindowLongA(FIELD(), GWL_STYLE) & ES_NUMBER);
    TYPE('1');
    EXPECT_EQ(CARET(), LINESTART(0));
    TYPE('2');
    EXPECT_EQ(CARET(), LINESTART(11));
    TYPE('0');
    EXPECT_EQ(CARET(), LINESTART(119));
    SetWindowTextA(FIELD(), "5000");
    EXPECT_EQ(CARET(), CALL(SCI_GETLENGTH));
    SetWindowTextA(FIELD(), "99999999999999999999999999999999999");
    EXPECT_EQ(CARET(), CALL(SCI_GETLENGTH));
}

TEST_F(GoToTest, ALineInsideAFoldedSubIsShown) {
    START();
    SETTEXT(FOURSUBS);
    FOLD(5);
    COMMAND(CMD_GOTO);
    SetWindowTextA(FIELD(), "8");
    EXPECT_TRUE(VISIBLE(7));
    EXPECT_EQ(CARET(), LINESTART(7));
}

TEST_F(GoToTest, EnterDoesNothingEscClosesAndTheEditorHasTheFocus) {
    START();
    SETTEXT(LINES(30));
    AppSettings.GoToWndPos = WindowRect{};
    COMMAND(CMD_GOTO);
    HWND dialog = GoToDialog;
    TYPE('7');
    CALL(SCI_GOTOPOS, LINESTART(20));
    PostMessageA(FIELD(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(FIELD(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    LOOP();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(CARET(), LINESTART(20));
    RECT r;
    GetWindowRect(dialog, &r);
    PostMessageA(FIELD(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    LOOP();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(GoToDialog, CLOSEDDIALOG());
    EXPECT_EQ(GetFocus(), EditorControl);
    EXPECT_EQ(AppSettings.GoToWndPos.left, r.left);
    EXPECT_EQ(AppSettings.GoToWndPos.bottom, r.bottom);
    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    LOADONLY("/e");
    EXPECT_EQ(AppSettings.GoToWndPos.top, r.top);
    EXPECT_EQ(AppSettings.GoToWndPos.right, r.right);
}

TEST_F(GoToTest, AStoredPlaceBelowTheScreenOpensFiftyPixelsAboveItsEdge) {
    START();
    const int height = GetSystemMetrics(SM_CYSCREEN);
    AppSettings.GoToWndPos = WindowRect{30, height + 300, 150, height + 350};
    COMMAND(CMD_GOTO);
    RECT r;
    GetWindowRect(GoToDialog, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, height - 50);
    EXPECT_EQ(AppSettings.GoToWndPos.top, height - 50);
}

// ======================================================================== Go to Sub

// Definitions on lines 2, 6, 10 and 14, each a fold header; a declaration,
// a return value, a comment, a continuation and a string that are none; and
// enough lines below for any of them to come to the top of the window.
std::string SUBLISTING() {
    std::string text =
        "' Go to Sub\r\n"                             // 0
        "Declare Sub Hidden()\r\n"                    // 1
        "Sub First()\r\n"                             // 2
        "  Print 1\r\n"                               // 3
        "End Sub\r\n"                                 // 4
        "\r\n"                                        // 5
        "Function Parse(text As String) As Long\r\n"  // 6
        "  Function = Len(text)\r\n"                  // 7
        "End Function\r\n"                            // 8
        "' Sub Commented()\r\n"                       // 9
        "Sub ParseLine(a As Long, _\r\n"              // 10
        "              b As Long)\r\n"                // 11
        "  Print \"Sub InString()\"\r\n"              // 12
        "End Sub\r\n"                                 // 13
        "Sub Last()\r\n"                              // 14
        "  Print 3\r\n"                               // 15
        "End Sub\r\n";                                // 16
    for (int i = 0; i < 120; ++i)
        text += "' padding " + std::to_string(i) + "\r\n";
    return text;
}

const std::vector<std::string> SUBROWS = {"Sub First()", "Function Parse(text As String) As Long",
                                          "Sub ParseLine(a As Long, _", "Sub Last()"};

// The Go to Sub dialog as the user sees it, driven from the answering thread.
HWND SUBLIST(HWND dialog) {
    return GetDlgItem(dialog, IDC_SUBLIST);
}

std::vector<std::string> ROWS(HWND dialog) {
    HWND list = SUBLIST(dialog);
    std::vector<std::string> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        wchar_t text[600] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = 600;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        rows.push_back(harness::UTF8PATH(text));
    }
    return rows;
}

int SELECTEDROW(HWND dialog) {
    return static_cast<int>(SendMessageW(SUBLIST(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void FILTER(HWND dialog, const std::string &text) {
    SetDlgItemTextW(dialog, IDC_SUBFILTER, harness::WIDE(text).c_str());
}

// A key in the filter as the window procedure gets it.
void FILTERKEY(HWND dialog, WPARAM key) {
    SendMessageW(GetDlgItem(dialog, IDC_SUBFILTER), WM_KEYDOWN, key, 1);
}

// A key that goes through the dialog's own loop (Enter, Escape).
void POSTKEY(HWND dialog, WPARAM key) {
    HWND filter = GetDlgItem(dialog, IDC_SUBFILTER);
    PostMessageW(filter, WM_KEYDOWN, key, 1);
    PostMessageW(filter, WM_KEYUP, key, 0xC0000001);
    for (int i = 0; i < 250 && IsWindow(dialog); ++i)
        Sleep(20);
}

using GoToSubTest = EditingTest;

TEST_F(GoToSubTest, ListsTheDefinitionsFiltersThemAndSelectsTheCaretsSub) {
    START();
    SETTEXT(SUBLISTING());
    const LRESULT caret = LINESTART(12) + 3;
    CALL(SCI_GOTOPOS, caret);
    std::string caption;
    std::vector<std::string> all, parse, parseLine, none, again;
    int atOpen = -2, atParse = -2, atParseLine = -2, atNone = -2, atAgain = -2;
    bool filterIsEmpty = false;
    harness::DialogAnswerer answer([&](HWND dialog) {
        caption = harness::WINDOWTEXTOF(dialog);
        filterIsEmpty = GetWindowTextLengthW(GetDlgItem(dialog, IDC_SUBFILTER)) == 0;
        all = ROWS(dialog);
        atOpen = SELECTEDROW(dialog);
        FILTER(dialog, "PARSE");
        parse = ROWS(dialog);
        atParse = SELECTEDROW(dialog);
        FILTER(dialog, "parsel");
        parseLine = ROWS(dialog);
        atParseLine = SELECTEDROW(dialog);
        FILTER(dialog, "zzz");
        none = ROWS(dialog);
        atNone = SELECTEDROW(dialog);
        FILTER(dialog, "");
        again = ROWS(dialog);
        atAgain = SELECTEDROW(dialog);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    EXPECT_EQ(caption, "Go to Sub");
    EXPECT_TRUE(filterIsEmpty);
    EXPECT_EQ(all, SUBROWS);
    EXPECT_EQ(atOpen, 2);  // the Sub that holds the caret
    EXPECT_EQ(parse, (std::vector<std::string>{SUBROWS[1], SUBROWS[2]}));
    EXPECT_EQ(atParse, 1);  // still ParseLine
    EXPECT_EQ(parseLine, std::vector<std::string>{SUBROWS[2]});
    EXPECT_EQ(atParseLine, 0);
    EXPECT_EQ(none, std::vector<std::string>{});
    EXPECT_EQ(atNone, -1);
    EXPECT_EQ(again, SUBROWS);
    EXPECT_EQ(atAgain, 0);
    EXPECT_EQ(CARET(), caret);
    EXPECT_EQ(GetFocus(), EditorControl);
}

TEST_F(GoToSubTest, EnterTakesTheCaretToAFoldedSubOpensItAndPutsItAtTheTop) {
    START();
    SETTEXT(SUBLISTING());
    FOLD(14);
    FOLD(2);
    CALL(SCI_GOTOPOS, 0);
    ASSERT_FALSE(VISIBLE(15));
    harness::DialogAnswerer answer([&](HWND dialog) {
        FILTER(dialog, "last");
        POSTKEY(dialog, VK_RETURN);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    PUMP(50);
    EXPECT_EQ(CARET(), LINESTART(14));
    EXPECT_EQ(ANCHOR(), LINESTART(14));
    EXPECT_TRUE(EXPANDED(14));
    EXPECT_TRUE(VISIBLE(15));
    EXPECT_FALSE(EXPANDED(2));  // the other Sub stays folded
    EXPECT_EQ(CALL(SCI_GETFIRSTVISIBLELINE), CALL(SCI_VISIBLEFROMDOCLINE, 14));
    EXPECT_EQ(GetFocus(), EditorControl);
    EXPECT_EQ(DOCUMENTTEXT(), SUBLISTING());
}

TEST_F(GoToSubTest, EscapeLeavesEverythingAsItWas) {
    START();
    SETTEXT(SUBLISTING());
    CALL(SCI_SETSAVEPOINT);
    FOLD(6);
    SELECT(LINESTART(3) + 1, LINESTART(3) + 4);
    CALL(SCI_SETFIRSTVISIBLELINE, 1);
    bool closed = false;
    harness::DialogAnswerer answer([&](HWND dialog) {
        FILTER(dialog, "Parse");
        FILTERKEY(dialog, VK_DOWN);
        POSTKEY(dialog, VK_ESCAPE);
        closed = !IsWindow(dialog);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ANCHOR(), LINESTART(3) + 1);
    EXPECT_EQ(CARET(), LINESTART(3) + 4);
    EXPECT_FALSE(EXPANDED(6));
    EXPECT_EQ(CALL(SCI_GETFIRSTVISIBLELINE), 1);
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    EXPECT_EQ(DOCUMENTTEXT(), SUBLISTING());
    EXPECT_EQ(GetFocus(), EditorControl);
}

TEST_F(GoToSubTest, KeysInTheFilterMoveTheSelectionAndADoubleClickGoes) {
    START();
    SETTEXT(SUBLISTING());
    CALL(SCI_GOTOPOS, 0);  // above every Sub: the first is selected
    std::vector<int> rows;
    harness::DialogAnswerer answer([&](HWND dialog) {
        rows.push_back(SELECTEDROW(dialog));
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_UP, VK_NEXT, VK_DOWN, VK_PRIOR, VK_UP}) {
            FILTERKEY(dialog, key);
            rows.push_back(SELECTEDROW(dialog));
        }
        // The filter still holds nothing: the keys moved the list only.
        rows.push_back(GetWindowTextLengthW(GetDlgItem(dialog, IDC_SUBFILTER)));
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(SUBLIST(dialog), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(SUBLIST(dialog), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(SUBLIST(dialog), WM_LBUTTONUP, 0, at);
        SendMessageW(SUBLIST(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(SUBLIST(dialog), WM_LBUTTONUP, 0, at);
        for (int i = 0; i < 100 && IsWindow(dialog); ++i)
            Sleep(20);
        if (IsWindow(dialog))
            harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 1, 3, 3, 0, 0, 0}));
    EXPECT_EQ(CARET(), LINESTART(10));
}

TEST_F(GoToSubTest, AListingWithoutSubsListsNothingAndEnterStays) {
    START();
    SETTEXT("Print 1\r\n' Sub InComment()\r\n");
    CALL(SCI_GOTOPOS, 3);
    std::vector<std::string> rows{"x"};
    bool stayed = false;
    harness::DialogAnswerer answer([&](HWND dialog) {
        rows = ROWS(dialog);
        POSTKEY(dialog, VK_RETURN);
        stayed = IsWindow(dialog);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    EXPECT_EQ(rows, std::vector<std::string>{});
    EXPECT_TRUE(stayed);
    EXPECT_EQ(CARET(), 3);
}

TEST_F(GoToSubTest, AUtf8ListingShowsAndFiltersItsLetters) {
    Folder.WRITEFILE("utf8.bas", "\xEF\xBB\xBF' \xE6\x97\xA5\xE6\x9C\xAC\r\nSub Gr\xC3\xB6\xC3\x9F" "e()\r\nEnd Sub\r\n"
                                 "Function \xCE\xB1\xCE\xB2() As Long\r\n");
    START();
    ASSERT_EQ(OPENPATH(Folder.FILE("utf8.bas")), OPENDONE);
    std::vector<std::string> all, grosse, capital, emoji;
    harness::DialogAnswerer answer([&](HWND dialog) {
        all = ROWS(dialog);
        FILTER(dialog, "gR\xC3\xB6");
        grosse = ROWS(dialog);
        FILTER(dialog, "GR\xC3\x96");  // only the ASCII letters fold
        capital = ROWS(dialog);
        FILTER(dialog, "\xF0\x9F\x99\x82");
        emoji = ROWS(dialog);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    EXPECT_EQ(all, (std::vector<std::string>{"Sub Gr\xC3\xB6\xC3\x9F" "e()", "Function \xCE\xB1\xCE\xB2() As Long"}));
    EXPECT_EQ(grosse, std::vector<std::string>{all[0]});
    EXPECT_EQ(capital, std::vector<std::string>{});
    EXPECT_EQ(emoji, std::vector<std::string>{});
}

// ======================================================================== word completion

class CompletionTest : public EditingTest {
protected:
    void TYPE(const std::string &text) {
        for (char c : text)
            SendMessageA(EditorControl, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    }
    void KEY(WPARAM key) { SendMessageA(EditorControl, WM_KEYDOWN, key, 1); }
    bool LISTOPEN() { return CALL(SCI_AUTOCACTIVE) != 0; }
    // Ctrl+Space with the caret at the end of the text.
    std::string COMPLETEDATEND(const std::string &text) {
        SETTEXT(text);
        CALL(SCI_DOCUMENTEND);
        COMMAND(CMD_COMPLETEWORD);
        const bool open = LISTOPEN();
        CALL(SCI_AUTOCCANCEL);
        return DOCUMENTTEXT() + (open ? " [list]" : "");
    }
};

TEST_F(CompletionTest, CtrlSpaceGivesTheListsSpellingAndReplacesOnlyTheTypedLetters) {
    START();
    SETTEXT("x = ltrim(a)\r\ny = 1\r\n");
    CALL(SCI_GOTOPOS, 9);
    COMMAND(CMD_COMPLETEWORD);
    EXPECT_FALSE(LISTOPEN());  // a single word is taken at once
    EXPECT_EQ(DOCUMENTTEXT(), "x = LTrim$(a)\r\ny = 1\r\n");
    EXPECT_EQ(CARET(), 10);
    EXPECT_EQ(COMPLETEDATEND("Print LTRIM"), "Print LTrim$");
    EXPECT_EQ(COMPLETEDATEND("Print ltrim$"), "Print LTrim$");
    EXPECT_EQ(COMPLETEDATEND("#ifd"), "#ifdef");
    EXPECT_EQ(COMPLETEDATEND("x = createwindowex"), "x = CreateWindowEx");  // the API list
    EXPECT_EQ(COMPLETEDATEND("x = getdc"), "x = getdc [list]");          // GetDC, GetDCBrushColor, ...
    EXPECT_EQ(COMPLETEDATEND("x = ltrim ' c"), "x = ltrim ' c");
}

TEST_F(CompletionTest, SeveralWordsOpenTheListAndTabOrEnterTakesTheChosenOne) {
    START();
    SETTEXT("x = le");
    CALL(SCI_DOCUMENTEND);
    COMMAND(CMD_COMPLETEWORD);
    ASSERT_TRUE(LISTOPEN());
    EXPECT_EQ(DOCUMENTTEXT(), "x = le");
    TYPE("n");
    ASSERT_TRUE(LISTOPEN());
    KEY(VK_TAB);
    EXPECT_FALSE(LISTOPEN());
    EXPECT_EQ(DOCUMENTTEXT(), "x = Len");

    SETTEXT("x = str\r\n");
    CALL(SCI_GOTOPOS, 7);
    COMMAND(CMD_COMPLETEWORD);
    ASSERT_TRUE(LISTOPEN());
    // Str$, StretchBlt, StretchDIBits, String, ...
    KEY(VK_DOWN);
    KEY(VK_DOWN);
    KEY(VK_DOWN);
    KEY(VK_RETURN);
    EXPECT_FALSE(LISTOPEN());
    EXPECT_EQ(DOCUMENTTEXT(), "x = String\r\n");
}

TEST_F(CompletionTest, NothingInACommentOrAStringOrWithoutAWordThatStarts) {
    START();
    for (const char *text : {"' ltrim", "x = 1 ' ltrim", "Rem ltrim", "x = \"ltrim", "x = qqqzz", "x = ", "", "x = (",
                             "#"}) {
        EXPECT_EQ(COMPLETEDATEND(text), text);
    }
    // After the closing quote the word is code again.
    EXPECT_EQ(COMPLETEDATEND("x = \"a\" + ltrim"), "x = \"a\" + LTrim$");
}

TEST_F(CompletionTest, TheListingsOwnNamesAreOfferedAndFollowItsChanges) {
    START();
    SETTEXT("Sub MyHandler()\r\nEnd Sub\r\n  myhan");
    CALL(SCI_DOCUMENTEND);
    COMMAND(CMD_COMPLETEWORD);
    EXPECT_EQ(DOCUMENTTEXT(), "Sub MyHandler()\r\nEnd Sub\r\n  MyHandler");
    // The Sub is renamed on its line: the new name is offered, the old gone.
    CALL(SCI_SETTARGETRANGE, 4, 6);
    CALL(SCI_REPLACETARGET, 4, reinterpret_cast<LPARAM>("Your"));
    CALL(SCI_DOCUMENTEND);
    TYPE(" yourh");
    COMMAND(CMD_COMPLETEWORD);
    EXPECT_EQ(DOCUMENTTEXT(), "Sub YourHandler()\r\nEnd Sub\r\n  MyHandler YourHandler");
    TYPE(" myhan");
    COMMAND(CMD_COMPLETEWORD);
    EXPECT_EQ(DOCUMENTTEXT(), "Sub YourHandler()\r\nEnd Sub\r\n  MyHandler YourHandler myhan");
    EXPECT_FALSE(LISTOPEN());
    // A Sub typed on a new line counts at once.
    CALL(SCI_DOCUMENTEND);
    KEY(VK_RETURN);
    TYPE("Sub Zebra_Stripes");
    KEY(VK_RETURN);
    TYPE("zebra_");
    COMMAND(CMD_COMPLETEWORD);
    EXPECT_EQ(DOCUMENTTEXT().substr(DOCUMENTTEXT().size() - 13), "Zebra_Stripes");
}

TEST_F(CompletionTest, AutoCompleteOffTypesAWholeLineUntouched) {
    START();
    AppSettings.AutoComplete = 0;
    SETTEXT("");
    bool everOpen = false;
    for (char c : std::string("Dim lefty As Long = ltrim(x)")) {
        TYPE(std::string(1, c));
        everOpen |= LISTOPEN();
    }
    KEY(VK_RETURN);
    TYPE("loo");
    everOpen |= LISTOPEN();
    EXPECT_FALSE(everOpen);
    EXPECT_EQ(DOCUMENTTEXT(), "Dim lefty As Long = ltrim(x)\r\nloo");
}

TEST_F(CompletionTest, AutoCompleteOnOffersAfterThreeLettersAndStaysOutOfTheWay) {
    START();
    AppSettings.AutoComplete = 1;
    AppSettings.AutoIndent = 1;
    SETTEXT("  ");
    CALL(SCI_DOCUMENTEND);
    TYPE("le");
    EXPECT_FALSE(LISTOPEN());
    TYPE("f");
    EXPECT_TRUE(LISTOPEN());
    TYPE("ty");  // nothing matches: the list closes
    EXPECT_FALSE(LISTOPEN());
    KEY(VK_RETURN);  // no list: a new line, indented
    EXPECT_EQ(DOCUMENTTEXT(), "  lefty\r\n  ");
    TYPE("ltr");
    EXPECT_TRUE(LISTOPEN());
    KEY(VK_RETURN);  // the list open: Enter takes the word
    EXPECT_FALSE(LISTOPEN());
    EXPECT_EQ(DOCUMENTTEXT(), "  lefty\r\n  LTrim$");
    // A word typed in full as the list spells it leaves nothing to choose.
    TYPE(" Loop");
    EXPECT_FALSE(LISTOPEN());
    KEY(VK_RETURN);
    EXPECT_EQ(DOCUMENTTEXT(), "  lefty\r\n  LTrim$ Loop\r\n  ");
    TYPE("Dim");  // the only word, as typed: no list at all
    EXPECT_FALSE(LISTOPEN());
    // Escape closes it; the next letter of the word does not open it again.
    TYPE(" lef");
    EXPECT_TRUE(LISTOPEN());
    KEY(VK_ESCAPE);
    EXPECT_FALSE(LISTOPEN());
    TYPE("t");
    EXPECT_FALSE(LISTOPEN());
    // Never in a comment or a string.
    TYPE(" ' lef");
    EXPECT_FALSE(LISTOPEN());
    KEY(VK_RETURN);
    TYPE("x = \"lef");
    EXPECT_FALSE(LISTOPEN());
    EXPECT_EQ(DOCUMENTTEXT(), "  lefty\r\n  LTrim$ Loop\r\n  Dim left ' lef\r\n  x = \"lef");
}

// Opens both dialogs over the main window for a screenshot of the screen
// (QUILLET_SHOTS names the folder).
// ======================================================================== Out of memory

// The editing component's own memory runs out (a budget inside ZESCIN.DLL
// that only tests set): the edit a command or key asked for is refused
// whole, the user is told once, and the document stays as it was and takes
// the next edit.
class MemoryTest : public SearchTest {
protected:
    // Runs work while the component may hold only budget bytes more than
    // now, answering the boxes it shows (a second one is waited for 2 s).
    std::vector<Box> STARVED(std::size_t budget, const std::function<void()> &work) {
        BoxAnswerer answerer(SearchDialog, {IDOK, IDOK}, 100);
        CALL(ZESCIN_SETALLOCATIONBUDGET, budget);
        work();
        CALL(ZESCIN_SETALLOCATIONBUDGET, 0);
        return answerer.WAIT();
    }
    // The text, its lines and its status are sound, and a key typed at the
    // end lands there.
    void EXPECTEDITABLE(const std::string &text) {
        EXPECT_EQ(CALL(SCI_GETSTATUS), 0);
        ASSERT_EQ(DOCUMENTTEXT(), text);
        LRESULT lines = 1;
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
            ++lines;
        EXPECT_EQ(CALL(SCI_GETLINECOUNT), lines);
        CALL(SCI_DOCUMENTEND);
        TYPECHAR('Z');
        EXPECT_EQ(DOCUMENTTEXT(), text + "Z");
        EXPECT_EQ(CALL(SCI_GETSTATUS), 0);
    }
};

// 4 MB of short lines: far more than the budget of the tests below.
std::string LARGELISTING() {
    std::string text;
    for (int i = 0; text.size() < (4u << 20); ++i)
        text += "  Print \"line " + std::to_string(i) + "\"\r\n";
    return text;
}

constexpr std::size_t BUDGET = 256 << 10;

TEST_F(MemoryTest, APasteWithoutMemoryIsToldOnceAndChangesNothing) {
    START();
    const std::string large = LARGELISTING();
    CALL(SCI_COPYTEXT, large.size(), reinterpret_cast<LPARAM>(large.c_str()));
    SETTEXT(FOURSUBS);
    CALL(SCI_DOCUMENTEND);
    const auto boxes = STARVED(BUDGET, [&] { COMMAND(CMD_PASTE); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Not enough memory: nothing was changed.");
    EXPECT_EQ(boxes[0].Icon, SYSTEMICON(32513));
    EXPECTEDITABLE(FOURSUBS);
    // With the memory there, the same paste works.
    CALL(SCI_DOCUMENTEND);
    COMMAND(CMD_PASTE);
    EXPECT_EQ(DOCUMENTTEXT(), FOURSUBS + "Z" + large);
}

TEST_F(MemoryTest, APasteOverASelectionWithoutMemoryKeepsTheSelectedText) {
    START();
    const std::string large = LARGELISTING();
    CALL(SCI_COPYTEXT, large.size(), reinterpret_cast<LPARAM>(large.c_str()));
    SETTEXT(FOURSUBS);
    // "Sub Two()" selected: the paste deletes it, then cannot insert.
    SELECT(LINESTART(5), LINESTART(5) + 9);
    const auto boxes = STARVED(BUDGET, [&] { COMMAND(CMD_PASTE); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Not enough memory: nothing was changed.");
    EXPECTEDITABLE(FOURSUBS);
    // Nothing half made is left to redo; the undo takes back the key only.
    EXPECT_EQ(CALL(SCI_CANREDO), 0);
    COMMAND(CMD_UNDO);
    EXPECT_EQ(DOCUMENTTEXT(), FOURSUBS);
}

TEST_F(MemoryTest, AnUndoWithoutMemoryIsToldOnceAndCanBeRepeated) {
    START();
    const std::string large = LARGELISTING();
    SETTEXT(large);
    CALL(SCI_EMPTYUNDOBUFFER);
    COMMAND(CMD_SELECTALL);
    CALL(SCI_CLEAR);
    ASSERT_EQ(CALL(SCI_GETLENGTH), 0);
    const auto boxes = STARVED(BUDGET, [&] { COMMAND(CMD_UNDO); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Not enough memory: nothing was changed.");
    EXPECT_EQ(CALL(SCI_GETSTATUS), 0);
    EXPECT_EQ(CALL(SCI_GETLENGTH), 0);
    // The history is intact: with memory, the undo gives the text back.
    COMMAND(CMD_UNDO);
    EXPECTEDITABLE(large);
}

TEST_F(MemoryTest, TypingOverALargeSelectionWithoutMemoryIsToldOnce) {
    START();
    const std::string large = LARGELISTING();
    SETTEXT(large);
    CALL(SCI_EMPTYUNDOBUFFER);
    SELECT(10, static_cast<LRESULT>(large.size()) - 10);
    // Through the program's own message loop, as a key comes; the loop ends
    // once the boxes are answered (a quit posted before would close them).
    const DWORD self = GetCurrentThreadId();
    BoxAnswerer answerer(nullptr, {IDOK, IDOK}, 100);
    std::thread quitter([&] {
        answerer.WAIT();
        PostThreadMessageA(self, WM_QUIT, 0, 0);
    });
    CALL(ZESCIN_SETALLOCATIONBUDGET, BUDGET);
    PostMessageA(EditorControl, WM_CHAR, 'x', 1);
    RUNMESSAGELOOP();
    CALL(ZESCIN_SETALLOCATIONBUDGET, 0);
    quitter.join();
    const auto &boxes = answerer.WAIT();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Not enough memory: nothing was changed.");
    EXPECTEDITABLE(large);
}

TEST_F(MemoryTest, ReplaceAllWithoutMemoryGivesItsOwnMessageOnly) {
    START();
    std::string original;
    for (int i = 0; i < 20000; ++i)
        original += "Print caption ' line " + std::to_string(i) + "\r\n";
    SETTEXT(original);
    CALL(SCI_EMPTYUNDOBUFFER);
    CALL(SCI_GOTOPOS, 0);
    OPEN();
    TYPE(IDC_SEARCHTEXT, "Print caption");
    TYPE(IDC_REPLACETEXT, "Debug.Print caption");
    BoxAnswerer answerer(SearchDialog, {IDYES, IDOK, IDOK}, 100);
    CALL(ZESCIN_SETALLOCATIONBUDGET, BUDGET);
    PRESS(IDC_REPLACEALL);
    CALL(ZESCIN_SETALLOCATIONBUDGET, 0);
    const auto boxes = answerer.WAIT();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text.rfind("Not enough memory to replace all.\r", 0), 0u) << boxes[1].Text;
    const int replaced = std::stoi(boxes[1].Text.substr(boxes[1].Text.find('\r') + 1));
    std::string expected = original;
    for (std::size_t at = 0, n = 0; n < static_cast<std::size_t>(replaced); ++n) {
        at = expected.find("Print caption", at);
        expected.replace(at, 13, "Debug.Print caption");
        at += 19;
    }
    CLOSESEARCH();
    EXPECTEDITABLE(expected);
}

TEST_F(EditingTest, DialogsForAScreenshot) {
    if (!std::getenv("QUILLET_SHOTS"))
        GTEST_SKIP() << "set QUILLET_SHOTS to a folder to look at the dialogs";
    START();
    SETTEXT(FOURSUBS);
    AppSettings.LastSearchKey = "Print";
    AppSettings.LastReplaceKey = "XPrint";
    COMMAND(CMD_SEARCH);
    AppSettings.GoToWndPos = WindowRect{420, 120, 1, 1};
    COMMAND(CMD_GOTO);
    SetWindowTextA(GetDlgItem(GoToDialog, IDC_GOTOLINE), "12");
    PUMP(500);
    harness::SHOT(SearchDialog, "search");
    harness::SHOT(GoToDialog, "goto");
    harness::SHOT(nullptr, "editing-dialogs");
    SendMessageA(SearchDialog, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(GoToDialog, WM_COMMAND, IDCANCEL, 0);

    // Go to Sub over its listing, narrowed by a filter, and the list of
    // word completion.
    SETTEXT(SUBLISTING());
    CALL(SCI_GOTOPOS, LINESTART(12));
    harness::DialogAnswerer answer([&](HWND dialog) {
        Sleep(300);
        harness::SHOT(dialog, "gotosub");
        FILTER(dialog, "parse");
        Sleep(300);
        harness::SHOT(dialog, "gotosub-filtered");
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    COMMAND(CMD_GOTOSUB);
    answer.RESULT();
    CALL(SCI_GOTOPOS, LINESTART(3) + 9);
    SendMessageA(EditorControl, WM_CHAR, ' ', 1);
    SendMessageA(EditorControl, WM_CHAR, 'l', 1);
    SendMessageA(EditorControl, WM_CHAR, 'e', 1);
    COMMAND(CMD_COMPLETEWORD);
    PUMP(500);
    harness::SHOT(MainWindow, "completion", 200);
}

}  // namespace
