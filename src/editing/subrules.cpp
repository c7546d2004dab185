#include "editing/subrules.h"

#include <algorithm>
#include <array>

namespace {

using Byte = unsigned char;

bool BLANK(Byte c) {
    return c == ' ' || c == '\t';
}

bool LINEEND(Byte c) {
    return c == '\r' || c == '\n';
}

bool LETTER(Byte c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool DIGIT(Byte c) {
    return c >= '0' && c <= '9';
}

// Letters, digits and the underscore: what Basic words are made of.
bool IDENTCHAR(Byte c) {
    return LETTER(c) || DIGIT(c) || c == '_';
}

// The type characters that may end a Basic name (Name$, Count&, Bits???).
bool TYPECHAR(Byte c) {
    return c == '$' || c == '%' || c == '&' || c == '!' || c == '#' || c == '@' || c == '?';
}

Byte FOLD(Byte c) {
    return c >= 'a' && c <= 'z' ? static_cast<Byte>(c - 'a' + 'A') : c;
}

// A word of the text against a keyword written in lower case.
bool SAMEWORD(std::string_view word, std::string_view lower) {
    if (word.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (FOLD(static_cast<Byte>(word[i])) != FOLD(static_cast<Byte>(lower[i])))
            return false;
    return true;
}

// Reads a cursor over one line.
struct LineCursor {
    const Byte *At;
    const Byte *End;

    bool DONE() const { return At >= End; }
    void SKIPBLANKS() {
        while (At < End && BLANK(*At))
            ++At;
    }
    // The word that starts here (letters, digits, underscore), and moves past it.
    std::string_view WORD() {
        const Byte *start = At;
        while (At < End && IDENTCHAR(*At))
            ++At;
        return std::string_view(reinterpret_cast<const char *>(start), static_cast<std::size_t>(At - start));
    }
    bool ATBLANK() const { return At < End && BLANK(*At); }
};

constexpr std::array<std::string_view, 11> MODIFIERS = {"public",  "private",  "protected", "static",
                                                        "export",  "overload", "thread",    "virtual",
                                                        "abstract", "override", "class"};
constexpr std::array<std::string_view, 6> PROCEDUREKEYWORDS = {"sub",         "function", "property",
                                                               "constructor", "destructor", "method"};

template <std::size_t N>
bool ONEOF(std::string_view word, const std::array<std::string_view, N> &words) {
    for (std::string_view w : words)
        if (SAMEWORD(word, w))
            return true;
    return false;
}

// Whether a text holds the word as a word of its own (not inside a longer one).
bool HASWORD(std::string_view text, std::string_view lower) {
    LineCursor c{reinterpret_cast<const Byte *>(text.data()), reinterpret_cast<const Byte *>(text.data()) + text.size()};
    while (!c.DONE()) {
        if (IDENTCHAR(*c.At)) {
            if (SAMEWORD(c.WORD(), lower))
                return true;
        } else {
            ++c.At;
        }
    }
    return false;
}

struct Definition {
    bool Found = false;
    const Byte *Name = nullptr;  // after the last dot
    std::uint32_t NameLength = 0;
};

// A statement that starts at c (past any blanks), up to the end of its line.
Definition MATCHDEFINITION(LineCursor c) {
    Definition none;
    bool isOperator = false;
    bool isProperty = false;
    for (;;) {
        const std::string_view word = c.WORD();
        if (word.empty() || !c.ATBLANK())
            return none;
        c.SKIPBLANKS();
        if (ONEOF(word, MODIFIERS))
            continue;
        if (SAMEWORD(word, "callback")) {
            if (!SAMEWORD(c.WORD(), "function") || !c.ATBLANK())
                return none;
            c.SKIPBLANKS();
            break;
        }
        if (SAMEWORD(word, "operator")) {
            isOperator = true;
            break;
        }
        if (ONEOF(word, PROCEDUREKEYWORDS)) {
            isProperty = SAMEWORD(word, "property");
            break;
        }
        return none;
    }
    if (c.DONE())
        return none;
    const Byte first = *c.At;
    if (isOperator) {
        if (first == '\'' || first == ':')
            return none;
        if (first == '=') {
            // The equality operator (Operator = (ByRef a As T, ...) As Long),
            // not the return value set inside one (Operator = result).
            LineCursor after{c.At + 1, c.End};
            after.SKIPBLANKS();
            if (after.DONE() || *after.At != '(')
                return none;
            if (!HASWORD(std::string_view(reinterpret_cast<const char *>(after.At),
                                          static_cast<std::size_t>(after.End - after.At)),
                         "as"))
                return none;
        }
        Definition found;
        found.Found = true;
        return found;
    }
    if (isProperty) {
        // PowerBASIC: Property Get Name / Property Set Name.
        LineCursor peek = c;
        const std::string_view word = peek.WORD();
        if ((SAMEWORD(word, "get") || SAMEWORD(word, "set")) && peek.ATBLANK()) {
            peek.SKIPBLANKS();
            c = peek;
        }
    }
    if (c.DONE() || !(LETTER(*c.At) || *c.At == '_' || *c.At >= 0x80))
        return none;
    const Byte *name = c.At;
    while (!c.DONE() && (IDENTCHAR(*c.At) || *c.At == '.' || *c.At >= 0x80)) {
        if (*c.At == '.')
            name = c.At + 1;
        ++c.At;
    }
    while (!c.DONE() && TYPECHAR(*c.At))
        ++c.At;
    Definition found;
    found.Found = true;
    found.Name = name;
    found.NameLength = static_cast<std::uint32_t>(c.At - name);
    return found;
}

// The first word of a statement, and what follows it.
std::string_view FIRSTWORD(LineCursor &c) {
    const std::string_view word = c.WORD();
    c.SKIPBLANKS();
    return word;
}

// The block statements that decide whether a Method line defines or
// declares: an interface outside a class only declares its methods.
struct Blocks {
    bool InClass = false;
    bool InDeclaredInterface = false;

    // A statement that is no definition.
    void NOTE(LineCursor c) {
        const bool blankAfter = [&] {
            LineCursor probe = c;
            probe.WORD();
            return probe.ATBLANK();
        }();
        const std::string_view first = FIRSTWORD(c);
        if (!blankAfter || c.DONE())
            return;
        if (SAMEWORD(first, "end")) {
            const std::string_view second = c.WORD();
            if (SAMEWORD(second, "class"))
                InClass = false;
            else if (SAMEWORD(second, "interface"))
                InDeclaredInterface = false;
            return;
        }
        if (!(LETTER(*c.At) || *c.At == '_'))
            return;
        if (SAMEWORD(first, "class"))
            InClass = true;
        else if (SAMEWORD(first, "interface") && !InClass)
            InDeclaredInterface = true;
    }
};

}  // namespace

bool ISDEFINITIONLINE(std::string_view line) {
    LineCursor c{reinterpret_cast<const Byte *>(line.data()), reinterpret_cast<const Byte *>(line.data()) + line.size()};
    c.SKIPBLANKS();
    return MATCHDEFINITION(c).Found;
}

namespace {

// The bytes each state of the scan stops at; every other byte is passed
// over in a tight loop.
enum : Byte { PASS = 0, STOP = 1, LINEENDBYTE = 2 };
using ByteClasses = std::array<Byte, 256>;

constexpr ByteClasses CLASSES(std::string_view stops) {
    ByteClasses classes{};
    for (char c : stops)
        classes[static_cast<Byte>(c)] = STOP;
    classes['\r'] = LINEENDBYTE;
    classes['\n'] = LINEENDBYTE;
    return classes;
}

constexpr ByteClasses CODEBYTES = CLASSES("\"'/:");
constexpr ByteClasses STRINGBYTES = CLASSES("\"\\");
constexpr ByteClasses BLOCKCOMMENTBYTES = CLASSES("'/");
constexpr ByteClasses LINEBYTES = CLASSES("");

const Byte *SKIP(const Byte *p, const Byte *end, const ByteClasses &classes) {
    while (p < end && classes[*p] == PASS)
        ++p;
    return p;
}

// Rem as a word of its own at p.
bool ATREM(const Byte *p, const Byte *end) {
    return end - p >= 3 && FOLD(p[0]) == 'R' && FOLD(p[1]) == 'E' && FOLD(p[2]) == 'M' &&
           (end - p == 3 || !IDENTCHAR(p[3]));
}

}  // namespace

std::vector<SubEntry> SCANSUBS(std::string_view listing) {
    std::vector<SubEntry> entries;
    const Byte *const base = reinterpret_cast<const Byte *>(listing.data());
    const Byte *const end = base + listing.size();
    const Byte *p = base;
    if (listing.size() >= 3 && base[0] == 0xEF && base[1] == 0xBB && base[2] == 0xBF)
        p += 3;
    std::int64_t line = 0;
    int depth = 0;           // nesting of block comments /' ... '/
    bool continued = false;  // the line before ended with " _"
    Blocks blocks;
    for (;;) {
        const Byte *const lineStart = p;
        const bool statementLine = depth == 0 && !continued;
        bool statementStart = !continued;
        const Byte *codeEnd = nullptr;  // where a line comment starts
        bool inString = false;
        bool escapes = false;
        while (p < end && !LINEEND(*p)) {
            if (depth > 0) {
                p = SKIP(p, end, BLOCKCOMMENTBYTES);
                if (p >= end || LINEEND(*p))
                    break;
                const Byte next = p + 1 < end ? p[1] : 0;
                if (p[0] == '\'' && next == '/') {
                    --depth;
                    p += 2;
                } else if (p[0] == '/' && next == '\'') {
                    ++depth;
                    p += 2;
                } else {
                    ++p;
                }
                continue;
            }
            if (inString) {
                p = SKIP(p, end, STRINGBYTES);
                if (p >= end || LINEEND(*p))
                    break;
                const Byte next = p + 1 < end ? p[1] : 0;
                if (*p == '\\') {
                    p += escapes && p + 1 < end && !LINEEND(next) ? 2 : 1;
                } else if (next == '"') {
                    p += 2;  // a doubled quote
                } else {
                    inString = false;
                    ++p;
                }
                continue;
            }
            if (statementStart) {
                while (p < end && BLANK(*p))
                    ++p;
                if (ATREM(p, end)) {
                    codeEnd = p;
                    p = SKIP(p, end, LINEBYTES);
                    break;
                }
                statementStart = false;
                continue;
            }
            p = SKIP(p, end, CODEBYTES);
            if (p >= end || LINEEND(*p))
                break;
            const Byte c = *p;
            const Byte next = p + 1 < end ? p[1] : 0;
            if (c == '\'') {
                codeEnd = p;
                p = SKIP(p, end, LINEBYTES);
                break;
            }
            if (c == '/' && next == '\'') {
                ++depth;
                p += 2;
                continue;
            }
            if (c == '"') {
                inString = true;
                escapes = p > lineStart && p[-1] == '!';
            }
            statementStart = c == ':';
            ++p;
        }
        if (statementLine) {
            LineCursor c{lineStart, p};
            c.SKIPBLANKS();
            if (!c.DONE() && LETTER(*c.At)) {
                const Definition found = MATCHDEFINITION(c);
                if (found.Found) {
                    if (!blocks.InDeclaredInterface) {
                        const Byte *last = p;
                        while (last > c.At && BLANK(last[-1]))
                            --last;
                        SubEntry entry;
                        entry.Line = line;
                        entry.Offset = static_cast<std::size_t>(c.At - base);
                        entry.Length = static_cast<std::uint32_t>(last - c.At);
                        entry.NameStart = found.Name ? static_cast<std::uint32_t>(found.Name - c.At) : 0;
                        entry.NameLength = found.NameLength;
                        entries.push_back(entry);
                    }
                } else {
                    blocks.NOTE(c);
                }
            }
        }
        // A line continues into the next when its code ends with an
        // underscore of its own: after a blank, or alone on the line.
        continued = false;
        if (depth == 0 && !inString) {
            const Byte *last = codeEnd ? codeEnd : p;
            while (last > lineStart && BLANK(last[-1]))
                --last;
            continued = last > lineStart && last[-1] == '_' && (last - 1 == lineStart || BLANK(last[-2]));
        }
        if (p >= end)
            break;
        p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
        ++line;
    }
    return entries;
}

std::string_view ENTRYTEXT(std::string_view listing, const SubEntry &entry) {
    return listing.substr(entry.Offset, entry.Length);
}

std::string_view ENTRYNAME(std::string_view listing, const SubEntry &entry) {
    return listing.substr(entry.Offset + entry.NameStart, entry.NameLength);
}

std::size_t ENTRYATLINE(const std::vector<SubEntry> &entries, std::int64_t line) {
    const auto after = std::upper_bound(entries.begin(), entries.end(), line,
                                        [](std::int64_t l, const SubEntry &e) { return l < e.Line; });
    if (after == entries.begin())
        return 0;
    return static_cast<std::size_t>(after - entries.begin()) - 1;
}

bool CONTAINSNOCASE(std::string_view text, std::string_view needle) {
    if (needle.empty())
        return true;
    if (needle.size() > text.size())
        return false;
    const Byte first = FOLD(static_cast<Byte>(needle[0]));
    const std::size_t lastStart = text.size() - needle.size();
    for (std::size_t i = 0; i <= lastStart; ++i) {
        if (FOLD(static_cast<Byte>(text[i])) != first)
            continue;
        std::size_t k = 1;
        while (k < needle.size() && FOLD(static_cast<Byte>(text[i + k])) == FOLD(static_cast<Byte>(needle[k])))
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

std::vector<std::uint32_t> FILTERENTRIES(std::string_view listing, const std::vector<SubEntry> &entries,
                                         const std::vector<std::uint32_t> &from, std::string_view needle) {
    std::vector<std::uint32_t> kept;
    kept.reserve(needle.empty() ? from.size() : from.size() / 4);
    for (std::uint32_t index : from)
        if (CONTAINSNOCASE(ENTRYTEXT(listing, entries[index]), needle))
            kept.push_back(index);
    return kept;
}

std::vector<std::uint32_t> ALLENTRIES(std::size_t count) {
    std::vector<std::uint32_t> all(count);
    for (std::size_t i = 0; i < count; ++i)
        all[i] = static_cast<std::uint32_t>(i);
    return all;
}

int COMPAREWORDS(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const Byte x = FOLD(static_cast<Byte>(a[i]));
        const Byte y = FOLD(static_cast<Byte>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool WORDLESS(std::string_view a, std::string_view b) {
    return COMPAREWORDS(a, b) < 0;
}

namespace {

bool PRINTABLEASCII(std::string_view word) {
    for (char ch : word) {
        const Byte c = static_cast<Byte>(ch);
        if (c <= ' ' || c >= 0x7F)
            return false;
    }
    return !word.empty();
}

// Sorts stably (so the earlier of two spellings stays first) and keeps the
// first of each group that differs in letter case only.
std::vector<std::string> SORTEDUNIQUE(std::vector<std::string_view> words) {
    std::stable_sort(words.begin(), words.end(), WORDLESS);
    std::vector<std::string> unique;
    unique.reserve(words.size());
    for (std::string_view word : words)
        if (unique.empty() || COMPAREWORDS(unique.back(), word) != 0)
            unique.emplace_back(word);
    return unique;
}

void SPLITWORDS(std::string_view list, std::vector<std::string_view> &into) {
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && (BLANK(static_cast<Byte>(list[i])) || LINEEND(static_cast<Byte>(list[i]))))
            ++i;
        const std::size_t start = i;
        while (i < list.size() && !BLANK(static_cast<Byte>(list[i])) && !LINEEND(static_cast<Byte>(list[i])))
            ++i;
        const std::string_view word = list.substr(start, i - start);
        if (PRINTABLEASCII(word))
            into.push_back(word);
    }
}

}  // namespace

std::vector<std::string> KEYWORDWORDS(std::string_view basicList, std::string_view apiList) {
    std::vector<std::string_view> words;
    SPLITWORDS(basicList, words);
    SPLITWORDS(apiList, words);
    return SORTEDUNIQUE(std::move(words));
}

std::vector<std::string> SUBNAMES(std::string_view listing, const std::vector<SubEntry> &entries) {
    std::vector<std::string_view> names;
    names.reserve(entries.size());
    for (const SubEntry &entry : entries) {
        const std::string_view name = ENTRYNAME(listing, entry);
        if (PRINTABLEASCII(name))
            names.push_back(name);
    }
    return SORTEDUNIQUE(std::move(names));
}

std::vector<std::string> MERGEWORDS(const std::vector<std::string> &first, const std::vector<std::string> &second) {
    std::vector<std::string> merged;
    merged.reserve(first.size() + second.size());
    std::size_t i = 0, k = 0;
    while (i < first.size() || k < second.size()) {
        if (k == second.size()) {
            merged.push_back(first[i++]);
            continue;
        }
        if (i == first.size()) {
            merged.push_back(second[k++]);
            continue;
        }
        const int order = COMPAREWORDS(first[i], second[k]);
        if (order <= 0) {
            merged.push_back(first[i++]);
            if (order == 0)
                ++k;
        } else {
            merged.push_back(second[k++]);
        }
    }
    return merged;
}

WordRange WORDRANGE(const std::vector<std::string> &words, std::string_view prefix) {
    const auto head = [&](const std::string &word) {
        return COMPAREWORDS(std::string_view(word).substr(0, prefix.size()), prefix);
    };
    const auto first = std::partition_point(words.begin(), words.end(),
                                            [&](const std::string &word) { return head(word) < 0; });
    const auto last = std::partition_point(first, words.end(), [&](const std::string &word) { return head(word) == 0; });
    return WordRange{static_cast<std::size_t>(first - words.begin()), static_cast<std::size_t>(last - words.begin())};
}

std::size_t COMPLETIONWORDSTART(std::string_view beforeCaret) {
    const auto at = [&](std::size_t i) { return static_cast<Byte>(beforeCaret[i]); };
    std::size_t identEnd = beforeCaret.size();
    while (identEnd > 0 && TYPECHAR(at(identEnd - 1)))
        --identEnd;
    std::size_t start = identEnd;
    while (start > 0 && IDENTCHAR(at(start - 1)))
        --start;
    if (start == identEnd)
        return beforeCaret.size();
    if (start > 0) {
        const Byte lead = at(start - 1);
        if ((lead == '#' || lead == '$' || lead == '%') && (start == 1 || !(IDENTCHAR(at(start - 2)) || TYPECHAR(at(start - 2)))))
            --start;
    }
    return start;
}

std::string JOINWORDS(const std::vector<std::string> &words, WordRange range, char separator) {
    std::string joined;
    std::size_t bytes = 0;
    for (std::size_t i = range.First; i < range.Last; ++i)
        bytes += words[i].size() + 1;
    joined.reserve(bytes);
    for (std::size_t i = range.First; i < range.Last; ++i) {
        if (i != range.First)
            joined += separator;
        joined += words[i];
    }
    return joined;
}

bool ONLYTHETYPEDWORD(const std::vector<std::string> &words, WordRange range, std::string_view typed) {
    return range.COUNT() == 1 && words[range.First] == typed;
}

bool CHANGEMAYTOUCHSUBS(bool linesAdded, std::string_view changedText, bool lineWasDefinition,
                        std::string_view lineNow) {
    if (linesAdded || lineWasDefinition)
        return true;
    if (changedText.find_first_of("/'_") != std::string_view::npos)
        return true;
    LineCursor c{reinterpret_cast<const Byte *>(lineNow.data()), reinterpret_cast<const Byte *>(lineNow.data()) + lineNow.size()};
    c.SKIPBLANKS();
    if (MATCHDEFINITION(c).Found)
        return true;
    // The statements that open and close a class or an interface decide
    // whether the Method lines after them define anything.
    const std::string_view first = c.WORD();
    if (SAMEWORD(first, "end")) {
        c.SKIPBLANKS();
        const std::string_view second = c.WORD();
        return SAMEWORD(second, "class") || SAMEWORD(second, "interface");
    }
    return SAMEWORD(first, "class") || SAMEWORD(first, "interface");
}

std::uint64_t SUBNAMESKEY(std::string_view listing, const std::vector<SubEntry> &entries) {
    // FNV-1a over the names and a separator after each.
    std::uint64_t key = 14695981039346656037ull;
    const auto mix = [&key](Byte b) {
        key ^= b;
        key *= 1099511628211ull;
    };
    for (const SubEntry &entry : entries) {
        for (char c : ENTRYNAME(listing, entry))
            mix(static_cast<Byte>(c));
        mix(0);
    }
    return key;
}
