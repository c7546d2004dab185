// The coloured listing as Rich Text Format: one colour table entry per lexer
// style, one paragraph per line feed. Text only; the file is the caller's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Number of lexer styles that get a colour table entry.
constexpr int RTFSTYLECOUNT = 15;

// Font table, colour table (colours with red in the lowest byte) and the start
// of the paragraph with the font size in half points. font (UTF-8) is used up
// to its first zero byte. The text of a listing in an ANSI code page names
// it (ansiCodePage, "\ansicpgN") with the font's matching character set, so
// that a reader shows the letters the listing holds; 0 names none (a UTF-8
// listing, whose letters are written as Unicode escapes).
std::string RTFHEADER(std::string_view font, int32_t fontSize, const uint32_t (&colors)[RTFSTYLECOUNT],
                      int ansiCodePage = 0);


// Converts count characters given as (character byte, style byte) pairs.
// Each line is handed to writeLine once its line feed has become "\par ";
// when writeLine returns false the conversion stops and false is returned
// (rest is then empty). Otherwise the unfinished last line is left in rest
// for the caller to close with "\par}" and true is returned.
// The same for a text taken piece by piece: line holds the unfinished line
// and currentStyle the style in force, from one piece to the next (an empty
// line and style 0 before the first piece).
// With utf8 set the characters are UTF-8 (a UTF-8 listing): every character
// above 127 is written as RTF's Unicode escape "\uN?" (N the signed 16-bit
// value; two escapes, a surrogate pair, above U+FFFF), so that a reader shows
// the same letters. A byte that starts no valid sequence, or a sequence cut
// off at the end of count, is written as U+FFFD; callers that hand the text
// over in pieces cut the pieces between characters. Without utf8 the bytes
// are written as they are (the ANSI code page), except in a double-byte code
// page (leadBytes marks its lead bytes): there a lead byte and the byte after
// it are written as the escapes "\'hh\'hh", since a second byte may be a
// backslash or a brace.
bool APPENDRTFBODY(const unsigned char *styled, std::size_t count, const std::function<bool(std::string_view)> &writeLine,
                   std::string &line, unsigned &currentStyle, bool utf8 = false, const bool *leadBytes = nullptr);

bool WRITERTFBODY(const unsigned char *styled, std::size_t count, const std::function<bool(std::string_view)> &writeLine,
                  std::string &rest);
