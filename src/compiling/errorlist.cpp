#include "compiling/errorlist.h"

#include <algorithm>
#include <limits>

namespace {

// Bytes of a message kept as the compiler wrote them: enough for the
// longest text shown once converted (a character never takes fewer bytes in
// UTF-8 than in the compiler's code page), whatever the compiler printed.
constexpr std::size_t MOSTRAWMESSAGEBYTES = 2 * MOSTMESSAGEBYTES;

char FOLDED(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool ISDIGIT(char c) {
    return c >= '0' && c <= '9';
}

bool ISBLANK(char c) {
    return c == ' ' || c == '\t';
}

bool ISLETTER(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The name written at position (never past the end), letter case of A to
// Z aside.
bool NAMEAT(std::string_view text, std::size_t at, std::string_view name) {
    if (text.size() - at < name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (FOLDED(text[at + i]) != FOLDED(name[i]))
            return false;
    }
    return true;
}

// The word written at position, letter case aside, and not the start of a
// longer word.
bool WORDAT(std::string_view text, std::size_t at, std::string_view word) {
    if (!NAMEAT(text, at, word))
        return false;
    const std::size_t after = at + word.size();
    return after == text.size() || !ISLETTER(text[after]);
}

// A decimal number that starts at position. A number past the largest
// value is no number: it names no line of any listing.
struct NUMBERREAD {
    std::size_t Digits = 0;
    std::int64_t Value = 0;
    bool TooLarge = false;
};

NUMBERREAD READNUMBER(std::string_view text, std::size_t at) {
    constexpr std::int64_t LARGEST = std::numeric_limits<std::int64_t>::max();
    NUMBERREAD number;
    while (at + number.Digits < text.size() && ISDIGIT(text[at + number.Digits])) {
        const int digit = text[at + number.Digits] - '0';
        if (number.Value > (LARGEST - digit) / 10)
            number.TooLarge = true;
        else
            number.Value = number.Value * 10 + digit;
        ++number.Digits;
    }
    return number;
}

// The message (which starts at its first word) without the blanks after it;
// control characters (and a zero byte, which would end the text for the
// editing control) made blanks, and an overlong one cut.
std::string CLEANTEXT(std::string_view text) {
    while (!text.empty() && ISBLANK(text.back()))
        text.remove_suffix(1);
    std::string clean(text.substr(0, MOSTRAWMESSAGEBYTES));
    for (char &c : clean) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
    return clean;
}

// Adds a message for a one-based line number: lines that do not exist in
// the listing mark nothing.
void ADDMESSAGE(COMPILERMESSAGELIST &list, const NUMBERREAD &line, std::int64_t column, MESSAGEKIND kind,
                std::string_view text, std::int64_t lineCount) {
    if (line.Digits == 0 || line.TooLarge || line.Value < 1 || line.Value > lineCount)
        return;
    if (list.Entries.size() >= MOSTMARKS) {
        ++list.Beyond;
        return;
    }
    COMPILERMESSAGE message;
    message.Line = line.Value - 1;
    message.Column = column;
    message.Kind = kind;
    message.Text = CLEANTEXT(text);
    list.Entries.push_back(std::move(message));
}

// Calls take(line) for each line of text; CR, LF and CR LF end a line.
template <typename TAKE>
void EACHLINE(std::string_view text, TAKE take) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        take(text.substr(start, end - start));
        start = end + 1;
        if (start < text.size() && text[end] == '\r' && text[start] == '\n')
            ++start;
    }
}

// Where the name's "(" is in a FreeBASIC line: the first place where the
// name starts the line or follows a folder's separator or a quote and is
// followed by "(" or by a closing quote and "(". npos when there is none.
std::size_t FREEBASICPOSITION(std::string_view line, std::string_view name) {
    std::size_t at = 0;
    for (;;) {
        if (NAMEAT(line, at, name)) {
            std::size_t after = at + name.size();
            if (line.substr(after, 1) == "\"")
                ++after;
            if (line.substr(after, 1) == "(")
                return after;
        }
        const std::size_t separator = line.find_first_of("\\/\"", at);
        if (separator == std::string_view::npos)
            return std::string_view::npos;
        at = separator + 1;
    }
}

void FREEBASICLINE(std::string_view line, std::string_view name, std::int64_t lineCount, COMPILERMESSAGELIST &list) {
    const std::size_t open = FREEBASICPOSITION(line, name);
    if (open == std::string_view::npos)
        return;
    const NUMBERREAD number = READNUMBER(line, open + 1);
    std::size_t at = open + 1 + number.Digits;
    if (number.Digits == 0 || line.substr(at, 1) != ")")
        return;
    ++at;
    while (at < line.size() && ISBLANK(line[at]))
        ++at;
    MESSAGEKIND kind;
    if (WORDAT(line, at, "error"))
        kind = MESSAGEERROR;
    else if (WORDAT(line, at, "warning"))
        kind = MESSAGEWARNING;
    else
        return;
    ADDMESSAGE(list, number, -1, kind, line.substr(at), lineCount);
}

// The name ends the text before position and follows a folder's
// separator, a blank or a quote.
bool NAMEENDS(std::string_view text, std::size_t position, std::string_view name) {
    if (position <= name.size() || !NAMEAT(text, position - name.size(), name))
        return false;
    const char before = text[position - name.size() - 1];
    return before == '\\' || before == '/' || before == '"' || ISBLANK(before);
}

void POWERBASICLINE(std::string_view line, std::string_view name, std::int64_t lineCount, COMPILERMESSAGELIST &list) {
    if (line.substr(0, 6) != "Error ")
        return;
    for (std::size_t open = line.find('('); open != std::string_view::npos; open = line.find('(', open + 1)) {
        std::size_t nameEnd = open;
        if (nameEnd > 0 && line[nameEnd - 1] == '"')
            --nameEnd;
        if (!NAMEENDS(line, nameEnd, name))
            continue;
        const NUMBERREAD number = READNUMBER(line, open + 1);
        if (number.Digits == 0)
            continue;
        std::size_t at = open + 1 + number.Digits;
        std::int64_t column = -1;
        if (at < line.size() && line[at] == ':') {
            const NUMBERREAD columnRead = READNUMBER(line, at + 1);
            if (columnRead.Digits > 0 && !columnRead.TooLarge && columnRead.Value >= 1)
                column = columnRead.Value - 1;
            at += 1 + columnRead.Digits;
        }
        // "Error 426" and the text after the position: the path is already
        // the listing's.
        const std::size_t in = line.find(" in ");
        std::string text(line.substr(0, std::min(in, open)));
        while (at < line.size() && (line[at] == ')' || line[at] == ':' || ISBLANK(line[at])))
            ++at;
        if (at < line.size())
            text += ": " + std::string(line.substr(at));
        ADDMESSAGE(list, number, column, MESSAGEERROR, text, lineCount);
        return;
    }
}

// The length of text cut to at most most bytes, not inside a UTF-8 character.
std::size_t CUTLENGTH(std::string_view text, std::size_t most) {
    if (text.size() <= most)
        return text.size();
    std::size_t length = most;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return length;
}

}  // namespace

COMPILERMESSAGELIST FREEBASICMESSAGES(std::string_view output, std::string_view fileName, std::int64_t lineCount) {
    COMPILERMESSAGELIST list;
    if (fileName.empty())
        return list;
    EACHLINE(output, [&](std::string_view line) { FREEBASICLINE(line, fileName, lineCount, list); });
    return list;
}

COMPILERMESSAGELIST POWERBASICMESSAGES(std::string_view log, std::string_view fileName, std::int64_t lineCount) {
    COMPILERMESSAGELIST list;
    if (fileName.empty())
        return list;
    EACHLINE(log, [&](std::string_view line) { POWERBASICLINE(line, fileName, lineCount, list); });
    return list;
}

std::string ANNOTATIONTEXT(const std::vector<std::string> &messages) {
    std::string text;
    std::size_t shown = 0;
    for (const std::string &message : messages) {
        std::string line = message.substr(0, CUTLENGTH(message, MOSTMESSAGEBYTES));
        if (line.size() < message.size())
            line += "...";
        const std::size_t needed = line.size() + (text.empty() ? 0 : 1);
        if (text.size() + needed > MOSTANNOTATIONBYTES)
            break;
        if (!text.empty())
            text += '\n';
        text += line;
        ++shown;
    }
    if (shown < messages.size()) {
        const std::size_t rest = messages.size() - shown;
        text += (text.empty() ? "" : "\n") + std::string("... ") + GROUPEDNUMBER(rest) + " more";
    }
    return text;
}

std::string GROUPEDNUMBER(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

std::string RESULTLASTLINE(std::size_t bytesRead, std::size_t beyondMarks) {
    std::string line;
    if (bytesRead > MOSTOUTPUTBYTES)
        line = "Only the first 1 MB of the compiler's " + GROUPEDNUMBER(bytesRead) + " bytes was read.";
    if (beyondMarks > 0) {
        if (!line.empty())
            line += ' ';
        line += GROUPEDNUMBER(beyondMarks) + (beyondMarks == 1 ? " more message was" : " more messages were") +
                " not marked (at most " + GROUPEDNUMBER(MOSTMARKS) + " are).";
    }
    return line;
}
