// What the font and colours dialog decides from text and numbers alone: which
// font families are listed, which font and size are selected, the palette of
// the colour lists and which style each list colours.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Roman, Swiss and Modern families of the ANSI character set are listed;
// decorative, script, unclassified and other character sets are not.
bool FONTFAMILYLISTED(std::uint8_t pitchAndFamily, std::uint8_t charSet);

// The size list: "4" to "18".
std::vector<std::string> FONTSIZETEXTS();
// The first size entry that begins with fontSize in decimal, else "9".
int SIZESELECTION(std::int32_t fontSize);
// The size in a size entry's text; 9 when it gives 0.
std::int32_t SIZEOFTEXT(std::string_view text);

// The first entry that begins with font (letter case ignored), else the first
// that begins with "Courier New", else 0; -1 for an empty list.
int FONTSELECTION(const std::vector<std::string> &entries, std::string_view font);

constexpr int PALETTESIZE = 9;
// Black, grey, brown, dark red, red, purple, blue, dark blue, green; red in
// the lowest byte.
std::uint32_t PALETTECOLOR(int index);
// The last palette entry of that colour, -1 when the colour is not in it.
int PALETTEINDEXOF(std::uint32_t color);

// The eight colour lists, by control id 201 to 208.
constexpr int COLORLISTCOUNT = 8;
constexpr int FIRSTCOLORLIST = 201;
int COLORLISTSTYLE(int listId);        // index in SyntaxColors
const char *COLORLISTTEXT(int listId);  // the text of its items

// The colours after OK: the selected palette colour for each list whose
// selection the user changed (chosen[i] of list 201 + i, -1 for none); every
// other value stays as it was, also one that is not in the palette.
void APPLYCHOSENCOLORS(std::uint32_t *syntaxColors, const int (&chosen)[COLORLISTCOUNT],
                       const bool (&changed)[COLORLISTCOUNT]);
