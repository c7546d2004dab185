// Character sets with the real control: a listing that starts with the UTF-8
// byte-order mark is edited as UTF-8, every other one in the ANSI code page,
// and both stay byte-exact on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Scintilla.h"
#include "document/document.h"
#include "editing/editing.h"
#include "help/help.h"
#include "inprocess.h"
#include "services/textcodes.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

namespace {

const std::string MARK = "\xEF\xBB\xBF";
// German, Greek and Japanese in strings and comments.
const std::string UTF8TEXT =
    "' Gr\xC3\xB6\xC3\x9F" "e und Ma\xC3\x9F\r\n"
    "Sub Zeige()\r\n"
    "  Print \"\xCE\x93\xCE\xB5\xCE\xB9\xCE\xB1\" ' Greek\r\n"
    "  Print \"\xE6\x97\xA5\xE6\x9C\xAC\"\r\n"
    "End Sub\r\n";
// The same German line in Windows-1252.
const std::string ANSITEXT = "' Gr\xF6\xDF" "e und Ma\xDF\r\nSub Zeige()\r\nEnd Sub\r\n";

// The text an RTF reader shows, as UTF-8: control words and groups dropped,
// escaped characters and Unicode escapes ("\uN?") taken as characters.
std::string RTFTEXT(const std::string &rtf) {
    std::u16string text;
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{' || c == '}' || c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            text += static_cast<char16_t>(static_cast<unsigned char>(c));
            continue;
        }
        const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
        if (next == '\\' || next == '{' || next == '}') {
            text += static_cast<char16_t>(next);
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < rtf.size() && isalpha(static_cast<unsigned char>(rtf[end])))
            ++end;
        const std::string word = rtf.substr(i + 1, end - i - 1);
        size_t digits = end;
        if (digits < rtf.size() && rtf[digits] == '-')
            ++digits;
        while (digits < rtf.size() && isdigit(static_cast<unsigned char>(rtf[digits])))
            ++digits;
        const long value = digits > end ? std::stol(rtf.substr(end, digits - end)) : 0;
        if (word == "u") {
            text += static_cast<char16_t>(value < 0 ? value + 0x10000 : value);
            ++digits;  // the '?' for readers without Unicode
        } else if (word == "par") {
            text += u'\n';
        }
        if (digits < rtf.size() && rtf[digits] == ' ')
            ++digits;
        // The font table and colour table hold no text.
        if (word == "fonttbl" || word == "colortbl")
            digits = rtf.find('}', digits);
        i = digits - 1;
    }
    return UTF8OFUTF16(text);
}

class CharsetsTest : public InProcessTest {
protected:
    void SetUp() override { Document = DOCUMENTRECORD{}; }
    void OPEN(const std::string &name) {
        ASSERT_EQ(OPENPATH(Folder.FILE(name)), OPENDONE);
        PUMP(150);  // the settings block is applied on a timer
    }
    // A character typed on the keyboard, through the message loop as the
    // system delivers it (an ANSI character to the control).
    void TYPE(unsigned char c) {
        PostMessageA(EditorControl, WM_CHAR, c, 0);
        PUMP(100);
    }
    std::string SELECTED() {
        std::string text(static_cast<size_t>(CALL(SCI_GETSELTEXT, 0, 0)) + 1, '\0');
        CALL(SCI_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
        return text.c_str();
    }
};

TEST_F(CharsetsTest, AUtf8ListingIsEditedAsUtf8AndSavedByteForByte) {
    START();
    Folder.WRITEFILE("utf8.bas", MARK + UTF8TEXT);
    OPEN("utf8.bas");
    EXPECT_EQ(CALL(SCI_GETCODEPAGE), SC_CP_UTF8);
    // The mark is not part of what the user sees: line 1, column 1 is the
    // apostrophe, and the caret cannot go before it.
    EXPECT_EQ(DOCUMENTTEXT(), UTF8TEXT);
    EXPECT_EQ(CALL(SCI_GETCHARAT, 0), '\'');
    ASSERT_EQ(SAVEFILE(), 0);
    const std::string saved = Folder.READFILE("utf8.bas");
    EXPECT_EQ(saved.substr(0, MARK.size() + UTF8TEXT.size()), MARK + UTF8TEXT);
    OPEN("utf8.bas");
    EXPECT_EQ(DOCUMENTTEXT(), UTF8TEXT);
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("utf8.bas"), saved);
    // A typed letter arrives as its UTF-8 bytes.
    CALL(SCI_GOTOPOS, 0);
    TYPE(0xE4);
    EXPECT_EQ(DOCUMENTTEXT(), "\xC3\xA4" + UTF8TEXT);
    EXPECT_EQ(CALL(SCI_POSITIONAFTER, 0), 2);  // one character, two bytes
}

TEST_F(CharsetsTest, TheCaretInTheBlockCountsTheMarkAndComesBackToTheSameByte) {
    START();
    Folder.WRITEFILE("caret.bas", MARK + UTF8TEXT);
    OPEN("caret.bas");
    // Before and after the two-byte letter of "Größe".
    for (const Sci_Position caret : {4, 6}) {
        CALL(SCI_GOTOPOS, caret);
        ASSERT_EQ(SAVEFILE(), 0);
        const std::string saved = Folder.READFILE("caret.bas");
        // In the file the position counts every byte, the mark's too.
        EXPECT_NE(saved.find("'ZECURSOR=" + std::to_string(caret + 3) + "\r\n"), std::string::npos) << saved;
        CALL(SCI_GOTOPOS, 0);
        OPEN("caret.bas");
        EXPECT_EQ(CALL(SCI_GETCURRENTPOS), caret);
    }
}

TEST_F(CharsetsTest, SearchReplaceAndExportFollowTheListingsCodePage) {
    START();
    Folder.WRITEFILE("words.bas", MARK + UTF8TEXT);
    OPEN("words.bas");
    CALL(SCI_GOTOPOS, 0);
    COMMAND(CMD_SEARCH);
    ASSERT_NE(SearchDialog, nullptr);
    // Typed into the dialog in the ANSI code page.
    SetDlgItemTextA(SearchDialog, IDC_SEARCHTEXT, "Gr\xF6\xDF" "e");
    SendMessageA(SearchDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(SELECTED(), "Gr\xC3\xB6\xC3\x9F" "e");
    // Replace all of ß by ss, from the start.
    CALL(SCI_GOTOPOS, 0);
    SetDlgItemTextA(SearchDialog, IDC_SEARCHTEXT, "\xDF");
    SetDlgItemTextA(SearchDialog, IDC_REPLACETEXT, "ss");
    {
        // Yes to the question, OK to the count; the dialog itself stays open.
        harness::BoxWatcher answers([](const std::string &text) { return text.rfind("Depending", 0) == 0 ? IDYES : IDOK; });
        SendMessageA(SearchDialog, WM_COMMAND, MAKEWPARAM(IDC_REPLACEALL, BN_CLICKED), 0);
        EXPECT_EQ(answers.STOP(), 2);
    }
    EXPECT_EQ(DOCUMENTTEXT().substr(0, 20), "' Gr\xC3\xB6sse und Mass\r\n");
    SendMessageA(SearchDialog, WM_COMMAND, IDCANCEL, 0);
    // The exported RTF shows the same letters.
    ASSERT_EQ(EXPORTRTF(Folder.FILE("words.rtf")), 0);
    const std::string shown = RTFTEXT(Folder.READFILE("words.rtf"));
    for (const char *word : {"Gr\xC3\xB6sse", "\xCE\x93\xCE\xB5\xCE\xB9\xCE\xB1", "\xE6\x97\xA5\xE6\x9C\xAC"})
        EXPECT_NE(shown.find(word), std::string::npos) << word << " in " << shown;
    // The keyword help gets the word as the same characters.
    CALL(SCI_GOTOPOS, 4);
    std::string keyword;
    GETHELPKEYWORD(keyword);
    EXPECT_EQ(keyword, "Gr\xC3\xB6sse");
}

TEST_F(CharsetsTest, AnAnsiListingIsEditedInTheAnsiCodePageAfterAUtf8One) {
    START();
    Folder.WRITEFILE("utf8.bas", MARK + UTF8TEXT);
    Folder.WRITEFILE("ansi.bas", ANSITEXT);
    for (int round = 0; round < 3; ++round) {
        OPEN("utf8.bas");
        ASSERT_EQ(CALL(SCI_GETCODEPAGE), SC_CP_UTF8);
        if (round == 0) {
            OPEN("ansi.bas");
        } else if (round == 1) {
            ASSERT_EQ(OPENFILE(OPENEMPTY), OPENDONE);
            SETTEXT(ANSITEXT);
            CALL(SCI_SETSAVEPOINT);
        } else {
            ASSERT_EQ(OPENFILE(OPENEMPTY), OPENDONE);
            EXPECT_EQ(CALL(SCI_GETCODEPAGE), 0);
            OPEN("ansi.bas");
        }
        EXPECT_EQ(CALL(SCI_GETCODEPAGE), 0) << round;
        EXPECT_EQ(DOCUMENTTEXT(), ANSITEXT);
        // One byte per letter: the caret steps over "ö" in one byte.
        EXPECT_EQ(CALL(SCI_POSITIONAFTER, 4), 5);
        // Keywords are coloured as in a UTF-8 listing.
        CALL(SCI_COLOURISE, 0, -1);
        const Sci_Position sub = static_cast<Sci_Position>(ANSITEXT.find("Sub"));
        EXPECT_EQ(CALL(SCI_GETSTYLEAT, sub), 3) << round;  // the lexer's keyword style
        // A typed letter is its one ANSI byte.
        CALL(SCI_GOTOPOS, 0);
        TYPE(0xE4);
        EXPECT_EQ(DOCUMENTTEXT(), "\xE4" + ANSITEXT) << round;
        CALL(SCI_SETSAVEPOINT);
    }
    // Saved unchanged, the ANSI listing keeps its bytes.
    OPEN("ansi.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("ansi.bas").substr(0, ANSITEXT.size()), ANSITEXT);
}

TEST_F(CharsetsTest, BlockCommandsKeepLinesWithMultiByteCharacters) {
    START();
    Folder.WRITEFILE("block.bas", MARK + UTF8TEXT);
    OPEN("block.bas");
    CALL(SCI_SETSEL, 0, static_cast<WPARAM>(CALL(SCI_POSITIONFROMLINE, 2)));
    BLOCKINDENT(1);
    BLOCKCOMMENT(1);
    BLOCKCOMMENT(-1);
    BLOCKINDENT(-1);
    EXPECT_EQ(DOCUMENTTEXT(), UTF8TEXT);
}

}  // namespace
