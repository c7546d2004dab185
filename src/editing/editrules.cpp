#include "editing/editrules.h"

#include <algorithm>
#include <limits>

EditPosition SUBHEADER(EditPosition line, bool lineIsHeader, EditPosition foldParent) {
    if (lineIsHeader)
        return line;
    return foldParent >= 1 ? foldParent : -1;
}

RevealRange REVEALRANGE(EditPosition startLine, EditPosition endLine) {
    return RevealRange{startLine, std::max<EditPosition>(endLine, 1)};
}

EditPosition BLOCKCARET(EditPosition caret, EditPosition caretColumn) {
    return caretColumn == 0 ? caret - 1 : caret;
}

EditPosition BLOCKFINALCARET(EditPosition remembered) {
    return std::max<EditPosition>(remembered, 0);
}

std::string LEADINGBLANKS(std::string_view text) {
    const std::size_t end = text.find_first_not_of(" \t");
    return std::string(text.substr(0, end));
}

bool AUTOINDENTAPPLIES(const NewLineFacts &facts) {
    if (facts.Line <= 0)
        return false;
    if (facts.LineLength > AUTOINDENTMAXNEWLINE)
        return false;
    // A line break notified twice (CR, then LF) finds the indentation of the
    // first notification before the caret; the copy is made only once.
    if (facts.CaretColumn != 0)
        return false;
    return facts.LineAboveLength <= AUTOINDENTMAXLINE;
}

DialogCorner DIALOGCORNER(const WindowRect &stored, std::int32_t screenWidth, std::int32_t screenHeight,
                          std::int32_t margin) {
    const auto clamp = [margin](std::int32_t value, std::int32_t screen) {
        value = std::max<std::int32_t>(value, 0);
        return std::min<std::int32_t>(value, screen - margin);
    };
    return DialogCorner{clamp(stored.left, screenWidth), clamp(stored.top, screenHeight)};
}

int SEARCHFLAGS(bool wholeWord, bool matchCase) {
    return (wholeWord ? 2 : 0) + (matchCase ? 4 : 0);
}

EditPosition GOTOTARGETLINE(std::string_view fieldText) {
    constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (char c : fieldText) {
        if (c < '0' || c > '9')
            break;
        value = std::min<std::int64_t>(value * 10 + (c - '0'), largest);
    }
    return static_cast<EditPosition>(value - 1);
}

std::string NOSELECTIONTEXT() {
    return "There is no selected text to replace.\rUse \"Search\" first.";
}

std::string REPLACEALLQUESTION() {
    return "Depending on the number of replacements this operation\r"
           "unfortunately may need a bit time.\r\r"
           "Really replace all from current position to end of listing?";
}

std::string REPLACEMENTNOTHELDTEXT(int codePage) {
    return "The replacement holds characters that this listing's code page (" + std::to_string(codePage) +
           ") cannot hold.\rNothing was replaced.";
}

std::string REPLACEALLNOMEMORY(std::int64_t count) {
    return "Not enough memory to replace all.\r" + std::to_string(count) +
           " occurrences replaced; the rest of the listing is unchanged.";
}

std::string REPLACEALLRESULT(std::int64_t count, std::uint32_t milliseconds) {
    return std::to_string(count) + " occurrences replaced.\rNeeded time: " + std::to_string(milliseconds) +
           " Milliseconds";
}
