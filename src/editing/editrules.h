// Rules of the editing commands that depend on numbers and text only: which
// line heads a Sub, the block range of the comment and indent commands, the
// indentation a new line copies, where a modeless dialog opens, the search
// flags, the line Go to aims at and the texts the Search dialog shows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "services/appsettings.h"

using EditPosition = std::ptrdiff_t;

// ---------------------------------------------------------------- Sub folding

// The header line of the Sub that holds a line, or -1. A line that is a fold
// header heads its own Sub; otherwise its fold parent does, but only from
// line 1 on: a parent on line 0, like -1 for none, means no enclosing Sub.
EditPosition SUBHEADER(EditPosition line, bool lineIsHeader, EditPosition foldParent);

// The lines a need-shown request covers: the line of the start position to
// the line of the end position, the last one being at least line 1.
struct RevealRange {
    EditPosition First;
    EditPosition Last;
};
RevealRange REVEALRANGE(EditPosition startLine, EditPosition endLine);

// ---------------------------------------------------------------- block commands

// The caret the block commands work with: one position earlier when the
// caret stands in column 0, so that a selection ending at a line start leaves
// that line out.
EditPosition BLOCKCARET(EditPosition caret, EditPosition caretColumn);

// The caret after a block command: the remembered caret, never before the
// start of the document (a negative caret would make the control select to
// the end of the document).
EditPosition BLOCKFINALCARET(EditPosition remembered);

// ---------------------------------------------------------------- auto-indent

// Longest line above (line end included) whose indentation is still copied.
constexpr EditPosition AUTOINDENTMAXLINE = 1023;
// Longest new line (in bytes, line end included) that still gets indented.
constexpr EditPosition AUTOINDENTMAXNEWLINE = 2;

// The leading run of blanks and tabs of a text, as it stands.
std::string LEADINGBLANKS(std::string_view text);

// What a fresh line receives: the indentation of the line above, or nothing
// when the new line is line 0, holds more than two bytes, already holds
// something before the caret, or when the line above is 1024 bytes or more.
struct NewLineFacts {
    EditPosition Line;             // the caret's line
    EditPosition LineLength;       // its length with line end
    EditPosition CaretColumn;      // bytes before the caret on its line
    EditPosition LineAboveLength;  // the line above, line end included
};
bool AUTOINDENTAPPLIES(const NewLineFacts &facts);

// ---------------------------------------------------------------- dialogs

// Top-left corner of a modeless dialog with a stored rectangle: the stored
// left and top, each pulled to at least 0 and then to at most the screen size
// less the margin.
struct DialogCorner {
    std::int32_t Left;
    std::int32_t Top;
};
DialogCorner DIALOGCORNER(const WindowRect &stored, std::int32_t screenWidth, std::int32_t screenHeight,
                          std::int32_t margin);

// Pixels at 96 DPI, scaled for the dialog's DPI.
constexpr std::int32_t SEARCHDIALOGMARGIN = 100;
constexpr std::int32_t GOTODIALOGMARGIN = 50;

// The texts of the Search/Replace dialog's fields pass through a 256-byte
// buffer: at most 255 characters.
constexpr std::size_t SEARCHFIELDCHARS = 255;
// The Go to field is read into a 32-byte buffer: at most 31 characters.
constexpr std::size_t GOTOFIELDCHARS = 31;

// Search flags of the two check boxes: whole word 2, match case 4.
int SEARCHFLAGS(bool wholeWord, bool matchCase);

// The line (from 0) that a Go to field text aims at: its decimal value less
// one; an empty field gives -1. Only the leading digits count; a number too
// large for the control stops at the largest line number it takes.
EditPosition GOTOTARGETLINE(std::string_view fieldText);

// Message texts of the Search/Replace dialog.
std::string NOSELECTIONTEXT();
std::string REPLACEALLQUESTION();
std::string REPLACEALLRESULT(std::int64_t count, std::uint32_t milliseconds);
std::string REPLACEALLNOMEMORY(std::int64_t count);
// The replacement holds a character that the listing's code page lacks.
std::string REPLACEMENTNOTHELDTEXT(int codePage);
