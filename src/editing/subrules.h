// Rules of the Go to Sub list and of word completion that depend on text
// only: which lines of a listing define a Sub, Function, Property,
// Constructor, Destructor, Operator, Method or Callback Function, the filter
// of the list, and the words completion offers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// ---------------------------------------------------------------- definitions

// One definition of a listing: the line it starts on (from 0, counted as the
// editing control counts lines: CR, LF and CR LF each end one) and its text
// on that line as written, without the blanks around it. The text and the
// name are offsets into the listing scanned, so an entry holds no copy.
struct SubEntry {
    std::int64_t Line = 0;
    std::size_t Offset = 0;      // first byte of the trimmed text
    std::uint32_t Length = 0;    // bytes of the trimmed text
    std::uint32_t NameStart = 0; // the procedure's name, from Offset
    std::uint32_t NameLength = 0;// 0: none (an operator)
};

// Every definition of a listing, in listing order, in one pass over its
// bytes. A definition is a statement at the start of a line that begins,
// after any modifiers (Public, Private, Protected, Static, Export, Overload,
// Thread, Virtual, Abstract, Override, Class), with Sub, Function, Property,
// Constructor, Destructor, Operator, Method or Callback Function, followed by
// a blank and a name. Not definitions: declarations (Declare ...), End Sub,
// Exit Function, the return value set with Function = ..., words in comments
// (', Rem, and the block comments /' ... '/ that may nest), in strings, lines
// continued from the line before with " _", a keyword that is only part of a
// longer word, and the methods an interface declares outside a class. Letter
// case does not matter. A leading UTF-8 byte-order mark is skipped.
std::vector<SubEntry> SCANSUBS(std::string_view listing);

// Whether one line, taken as the start of a statement, is a definition by
// the rules above (comments and continuations of earlier lines aside).
bool ISDEFINITIONLINE(std::string_view line);

// The text and the name of an entry in the listing it was scanned from.
std::string_view ENTRYTEXT(std::string_view listing, const SubEntry &entry);
std::string_view ENTRYNAME(std::string_view listing, const SubEntry &entry);

// The entry to select for a caret line: the last definition on that line or
// above it; the first entry when the caret is above every definition; 0 for
// an empty list.
std::size_t ENTRYATLINE(const std::vector<SubEntry> &entries, std::int64_t line);

// ---------------------------------------------------------------- filter

// Whether text holds needle anywhere, letter case aside. Only the ASCII
// letters are folded: that is right for UTF-8 and for the single-byte ANSI
// code pages (their other letters then have to match exactly). In a
// double-byte code page a second byte may lie in the ASCII range and match
// a letter of the needle: such a false match only keeps an entry listed.
bool CONTAINSNOCASE(std::string_view text, std::string_view needle);

// The entries (indexes into entries) among `from` whose text holds needle,
// in the order of from. An empty needle keeps them all.
std::vector<std::uint32_t> FILTERENTRIES(std::string_view listing, const std::vector<SubEntry> &entries,
                                         const std::vector<std::uint32_t> &from, std::string_view needle);
// Every entry, in listing order.
std::vector<std::uint32_t> ALLENTRIES(std::size_t count);

// ---------------------------------------------------------------- completion

// The order of the completion list: byte by byte with the ASCII letters
// folded to capitals, the order the editing control expects of a sorted
// list whose case it ignores.
int COMPAREWORDS(std::string_view a, std::string_view b);
bool WORDLESS(std::string_view a, std::string_view b);

// The words of keyword lists (separated by blanks, tabs and line breaks),
// sorted and without duplicates that differ in letter case only; of those,
// the spelling of the earlier list wins, and within one list the first.
// Words of anything but printable ASCII are left out: the control's list
// compares bytes as its own character type, which only agrees for ASCII.
std::vector<std::string> KEYWORDWORDS(std::string_view basicList, std::string_view apiList);

// The names of a listing's definitions (the part after the last dot of a
// name such as MyType.Method), sorted, without duplicates; left out as above.
std::vector<std::string> SUBNAMES(std::string_view listing, const std::vector<SubEntry> &entries);

// A key of a listing's names in listing order, so that a scan whose names
// are those of the last one needs no new list (a 64-bit hash: two lists of
// names that differ share a key with a chance of one in 2^64).
std::uint64_t SUBNAMESKEY(std::string_view listing, const std::vector<SubEntry> &entries);

// Two sorted lists as one; of words in both, the first list's spelling.
std::vector<std::string> MERGEWORDS(const std::vector<std::string> &first, const std::vector<std::string> &second);

// The words that start with prefix, letter case aside: [First, Last).
struct WordRange {
    std::size_t First = 0;
    std::size_t Last = 0;
    std::size_t COUNT() const { return Last - First; }
};
WordRange WORDRANGE(const std::vector<std::string> &words, std::string_view prefix);

// Where the word before the caret starts in the text before it (the caret's
// line up to the caret): letters, digits and the underscore, with the type
// characters $ % & ! # @ ? after them, and one # $ or % before them where
// it starts the word (#Include, $Dynamic, %Def). A text that ends in no
// such word gives its own length.
std::size_t COMPLETIONWORDSTART(std::string_view beforeCaret);

// The words of a range joined for the control's list, each ended by the
// separator except the last.
std::string JOINWORDS(const std::vector<std::string> &words, WordRange range, char separator);

// The list would offer nothing new: its only word is the one typed, letter
// for letter.
bool ONLYTHETYPEDWORD(const std::vector<std::string> &words, WordRange range, std::string_view typed);

// Whether a change of the text can have changed the listing's definitions:
// lines came or went; the changed text holds a character that comments
// out or continues other lines (/ ' _); the changed line was a definition
// before; or it is one now, or opens or ends a class or an interface.
bool CHANGEMAYTOUCHSUBS(bool linesAdded, std::string_view changedText, bool lineWasDefinition,
                        std::string_view lineNow);
