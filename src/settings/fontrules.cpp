#include "settings/fontrules.h"

bool FONTFAMILYLISTED(std::uint8_t pitchAndFamily, std::uint8_t charSet) {
    const unsigned family = pitchAndFamily & 0xF0u;
    return charSet == 0 && (family == 0x10 || family == 0x20 || family == 0x30);
}

std::vector<std::string> FONTSIZETEXTS() {
    std::vector<std::string> texts;
    for (int size = 4; size <= 18; ++size)
        texts.push_back(std::to_string(size));
    return texts;
}

int SIZESELECTION(std::int32_t fontSize) {
    const std::vector<std::string> texts = FONTSIZETEXTS();
    const std::string wanted = std::to_string(fontSize);
    int nine = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i].compare(0, wanted.size(), wanted) == 0)
            return static_cast<int>(i);
        if (texts[i] == "9")
            nine = static_cast<int>(i);
    }
    return nine;
}

std::int32_t SIZEOFTEXT(std::string_view text) {
    std::int32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 100000)
            break;
        value = value * 10 + (c - '0');
    }
    return value == 0 ? 9 : value;
}

namespace {
char LOWER(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool BEGINSWITHNOCASE(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LOWER(text[i]) != LOWER(prefix[i]))
            return false;
    return true;
}

int FIRSTBEGINNINGWITH(const std::vector<std::string> &entries, std::string_view prefix) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (BEGINSWITHNOCASE(entries[i], prefix))
            return static_cast<int>(i);
    return -1;
}

constexpr std::uint32_t RGBVALUE(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r | (g << 8) | (b << 16);
}

const std::uint32_t PALETTE[PALETTESIZE] = {
    RGBVALUE(0, 0, 0),   RGBVALUE(128, 128, 128), RGBVALUE(128, 64, 0), RGBVALUE(128, 0, 0), RGBVALUE(255, 0, 0),
    RGBVALUE(128, 0, 128), RGBVALUE(0, 0, 255),   RGBVALUE(0, 0, 128),  RGBVALUE(0, 128, 0),
};

struct COLORLIST {
    int Style;
    const char *Text;
};
const COLORLIST COLORLISTS[COLORLISTCOUNT] = {
    {3, "&Keyword color"},  {4, "S&tring color"},   {2, "&Number color"},    {6, "O&perator color"},
    {1, "Co&mment color"},  {13, "Const&ant color"}, {14, "Assem&bler color"}, {0, "&Default color"},
};
}  // namespace

int FONTSELECTION(const std::vector<std::string> &entries, std::string_view font) {
    if (entries.empty())
        return -1;
    int found = FIRSTBEGINNINGWITH(entries, font);
    if (found < 0)
        found = FIRSTBEGINNINGWITH(entries, "Courier New");
    return found < 0 ? 0 : found;
}

std::uint32_t PALETTECOLOR(int index) {
    return index >= 0 && index < PALETTESIZE ? PALETTE[index] : 0;
}

int PALETTEINDEXOF(std::uint32_t color) {
    int found = -1;
    for (int i = 0; i < PALETTESIZE; ++i)
        if (PALETTE[i] == color)
            found = i;
    return found;
}

int COLORLISTSTYLE(int listId) {
    const int i = listId - FIRSTCOLORLIST;
    return i >= 0 && i < COLORLISTCOUNT ? COLORLISTS[i].Style : -1;
}

const char *COLORLISTTEXT(int listId) {
    const int i = listId - FIRSTCOLORLIST;
    return i >= 0 && i < COLORLISTCOUNT ? COLORLISTS[i].Text : "";
}

void APPLYCHOSENCOLORS(std::uint32_t *syntaxColors, const int (&chosen)[COLORLISTCOUNT],
                       const bool (&changed)[COLORLISTCOUNT]) {
    for (int i = 0; i < COLORLISTCOUNT; ++i)
        if (changed[i] && chosen[i] >= 0)
            syntaxColors[COLORLISTS[i].Style] = PALETTECOLOR(chosen[i]);
}
