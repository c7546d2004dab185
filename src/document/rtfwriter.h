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
// of the paragraph with the font size in half points. font is used up to its
// first zero byte.
std::string RTFHEADER(std::string_view font, int32_t fontSize, const uint32_t (&colors)[RTFSTYLECOUNT]);

// Converts count characters given as (character byte, style byte) pairs.
// Each line is handed to writeLine once its line feed has become "\par ";
// when writeLine returns false the conversion stops and false is returned
// (rest is then empty). Otherwise the unfinished last line is left in rest
// for the caller to close with "\par}" and true is returned.
// The same for a text taken piece by piece: line holds the unfinished line
// and currentStyle the style in force, from one piece to the next (an empty
// line and style 0 before the first piece).
bool APPENDRTFBODY(const unsigned char *styled, std::size_t count, const std::function<bool(std::string_view)> &writeLine,
                   std::string &line, unsigned &currentStyle);

bool WRITERTFBODY(const unsigned char *styled, std::size_t count, const std::function<bool(std::string_view)> &writeLine,
                  std::string &rest);
