// Word completion: the words of the keyword lists and the names of the
// listing's own definitions that start with the letters before the caret,
// offered in the editing control's list, on request (Ctrl+Space) or, when
// switched on, by itself after the third letter of a word.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SciLexer.h"
#include "Scintilla.h"
#include "document/document.h"
#include "editing/editing.h"
#include "editing/subrules.h"
#include "services/config.h"
#include "services/editor.h"

namespace {

// The words are built when the keyword lists were loaded again or the
// listing's definitions may have changed, never on a keystroke that can
// change neither.
struct CompletionWords {
    bool Built = false;
    std::uint32_t KeywordLoads = 0;
    std::vector<std::string> Keywords;
    std::vector<std::string> Names;
    std::uint64_t NamesKey = 0;
    std::vector<std::string> Words;
    // The definitions may differ from the last scan, whose lines are kept to
    // tell whether a changed line was one.
    bool SubsStale = true;
    std::vector<std::int64_t> DefinitionLines;
};
CompletionWords Completion;

// The list's separators: characters no word holds.
constexpr char WORDSEPARATOR = '\n';
constexpr char TYPESEPARATOR = '\r';
// Bytes before the caret looked at for the word, and of a changed line for
// a definition.
constexpr Sci_Position WORDBYTES = 256;
constexpr Sci_Position LINEBYTES = 1024;
// The automatic list opens at this letter of a word.
constexpr std::size_t AUTOLETTERS = 3;

std::string TEXTRANGE(Sci_Position from, Sci_Position to) {
    const auto length = static_cast<std::size_t>(std::max<Sci_Position>(to - from, 0));
    // The control writes a closing zero after the text.
    std::string text(length + 1, '\0');
    Sci_TextRangeFull range{{from, from + static_cast<Sci_Position>(length)}, text.data()};
    SCI(SCI_GETTEXTRANGEFULL, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(length);
    return text;
}

void REFRESHWORDS() {
    bool changed = false;
    if (!Completion.Built || Completion.KeywordLoads != KEYWORDLOADS()) {
        Completion.Keywords = KEYWORDWORDS(BASICKEYWORDLIST(), APIKEYWORDLIST());
        Completion.KeywordLoads = KEYWORDLOADS();
        changed = true;
    }
    if (Completion.SubsStale) {
        const std::string_view listing(CONTROLTEXT(), static_cast<std::size_t>(SCI(SCI_GETLENGTH)));
        const std::vector<SubEntry> entries = SCANSUBS(listing);
        Completion.DefinitionLines.clear();
        Completion.DefinitionLines.reserve(entries.size());
        for (const SubEntry &entry : entries)
            Completion.DefinitionLines.push_back(entry.Line);
        Completion.SubsStale = false;
        // The same names as before (a line typed in a body, say) need no
        // new list.
        const std::uint64_t key = SUBNAMESKEY(listing, entries);
        if (!Completion.Built || key != Completion.NamesKey) {
            Completion.Names = SUBNAMES(listing, entries);
            Completion.NamesKey = key;
            changed = true;
        }
    }
    if (changed)
        Completion.Words = MERGEWORDS(Completion.Keywords, Completion.Names);
    Completion.Built = true;
}

// The lexer's word on the character before the caret: a comment or a string.
bool INCOMMENTORSTRING(Sci_Position caret) {
    if (caret <= 0)
        return false;
    const Sci_Position styled = SCI(SCI_GETENDSTYLED);
    if (styled < caret)
        SCI(SCI_COLOURISE, static_cast<WPARAM>(SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(styled))))), caret);
    const LRESULT style = SCI(SCI_GETSTYLEAT, static_cast<WPARAM>(caret - 1));
    return style == SCE_B_COMMENT || style == SCE_B_STRING;
}

// The word that ends at the caret, or nothing.
std::string WORDBEFORECARET(Sci_Position caret) {
    const Sci_Position lineStart = SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(caret))));
    const std::string before = TEXTRANGE(std::max(lineStart, caret - WORDBYTES), caret);
    return before.substr(COMPLETIONWORDSTART(before));
}

void SHOWLIST(const std::string &typed, WordRange range, bool automatic) {
    const std::string list = JOINWORDS(Completion.Words, range, WORDSEPARATOR);
    SCI(SCI_AUTOCSETSEPARATOR, static_cast<WPARAM>(WORDSEPARATOR));
    SCI(SCI_AUTOCSETTYPESEPARATOR, static_cast<WPARAM>(TYPESEPARATOR));
    SCI(SCI_AUTOCSETORDER, SC_ORDER_PRESORTED);
    SCI(SCI_AUTOCSETIGNORECASE, 1);
    SCI(SCI_AUTOCSETCASEINSENSITIVEBEHAVIOUR, SC_CASEINSENSITIVEBEHAVIOUR_IGNORECASE);
    SCI(SCI_AUTOCSETAUTOHIDE, 1);
    SCI(SCI_AUTOCSETDROPRESTOFWORD, 0);
    // Asked for, a single word is taken at once; offered while typing, it
    // waits to be chosen.
    SCI(SCI_AUTOCSETCHOOSESINGLE, automatic ? 0 : 1);
    SCI(SCI_AUTOCSETMAXHEIGHT, 9);
    SCI(SCI_AUTOCSHOW, typed.size(), reinterpret_cast<LPARAM>(list.c_str()));
}

void OFFER(bool automatic) {
    const Sci_Position caret = SCI(SCI_GETCURRENTPOS);
    const std::string typed = WORDBEFORECARET(caret);
    if (typed.empty() || (automatic && typed.size() != AUTOLETTERS))
        return;
    if (INCOMMENTORSTRING(caret))
        return;
    REFRESHWORDS();
    const WordRange range = WORDRANGE(Completion.Words, typed);
    if (range.COUNT() == 0 || (automatic && ONLYTHETYPEDWORD(Completion.Words, range, typed)))
        return;
    SHOWLIST(typed, range, automatic);
}

bool WORDCHARACTER(int ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_' ||
           ch == '$' || ch == '%' || ch == '&' || ch == '!' || ch == '#' || ch == '@' || ch == '?';
}

}  // namespace

void COMPLETEWORD() {
    if (SCI(SCI_AUTOCACTIVE))
        SCI(SCI_AUTOCCANCEL);
    OFFER(false);
}

void COMPLETIONCHARADDED(const SCNotification &added) {
    if (!WORDCHARACTER(added.ch))
        return;
    if (SCI(SCI_AUTOCACTIVE)) {
        // The word typed in full, letter for letter, leaves nothing to
        // choose: the list closes, so that Enter starts a new line.
        const std::string typed = WORDBEFORECARET(SCI(SCI_GETCURRENTPOS));
        if (!typed.empty() && ONLYTHETYPEDWORD(Completion.Words, WORDRANGE(Completion.Words, typed), typed))
            SCI(SCI_AUTOCCANCEL);
        return;
    }
    if (AppSettings.AutoComplete == 1)
        OFFER(true);
}

void NOTESUBCHANGE(const SCNotification &change) {
    if (Completion.SubsStale || !(change.modificationType & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)))
        return;
    if (!change.text) {
        Completion.SubsStale = true;
        return;
    }
    const Sci_Position line = SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(change.position));
    const bool wasDefinition =
        std::binary_search(Completion.DefinitionLines.begin(), Completion.DefinitionLines.end(), static_cast<std::int64_t>(line));
    const Sci_Position lineStart = SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(line));
    const Sci_Position lineEnd = SCI(SCI_GETLINEENDPOSITION, static_cast<WPARAM>(line));
    const std::string lineNow = TEXTRANGE(lineStart, std::min(lineEnd, lineStart + LINEBYTES));
    Completion.SubsStale = CHANGEMAYTOUCHSUBS(change.linesAdded != 0, std::string_view(change.text, static_cast<std::size_t>(change.length)),
                                              wasDefinition, lineNow);
}
