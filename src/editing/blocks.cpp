// Block comment and indent, and what typing does beyond inserting: the
// indentation a typed line break copies, and the early colour of a long line.
#include <string>

#include "services/barrier.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "editing/editing.h"
#include "editing/editrules.h"

namespace {

LRESULT LINEOF(Sci_Position position) {
    return SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(position));
}

LRESULT LINESTART(Sci_Position line) {
    return SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(line));
}

// Adds (direction > 0) or removes (all lines or none) a one-character marker
// at the start of every line from the anchor's line to the caret's. Each
// marker is an undo step of its own.
void BLOCKMARK(char marker, int direction) {
    const Sci_Position anchor = SCI(SCI_GETANCHOR);
    const Sci_Position current = SCI(SCI_GETCURRENTPOS);
    Sci_Position caret = BLOCKCARET(current, SCI(SCI_GETCOLUMN, static_cast<WPARAM>(current)));
    const Sci_Position first = LINEOF(anchor);
    const Sci_Position last = LINEOF(caret);
    if (direction > 0) {
        const char text[2] = {marker, '\0'};
        SCI(SCI_SETSTATUS, SC_STATUS_OK);
        for (Sci_Position line = first; line <= last; ++line) {
            SCI(SCI_INSERTTEXT, static_cast<WPARAM>(LINESTART(line)), reinterpret_cast<LPARAM>(text));
            // A marker the control had no room for was not inserted: the
            // lines done keep theirs, the rest stay as they were.
            if (SCI(SCI_GETSTATUS) != SC_STATUS_OK) {
                SCI(SCI_SETSTATUS, SC_STATUS_OK);
                REPORTEXCEPTION(MainWindow, nullptr);
                break;
            }
            ++caret;
        }
    } else {
        bool all = first <= last;
        for (Sci_Position line = first; all && line <= last; ++line)
            all = SCI(SCI_GETCHARAT, static_cast<WPARAM>(LINESTART(line))) == static_cast<unsigned char>(marker);
        if (all) {
            SCI(SCI_HIDESELECTION, 1);
            for (Sci_Position line = first; line <= last; ++line) {
                const LRESULT start = LINESTART(line);
                SCI(SCI_SETSEL, static_cast<WPARAM>(start), start + 1);
                SCI(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(""));
                --caret;
            }
            SCI(SCI_HIDESELECTION, 0);
        }
    }
    SCI(SCI_SETSEL, static_cast<WPARAM>(anchor), BLOCKFINALCARET(caret));
}

}  // namespace

void BLOCKCOMMENT(int direction) {
    BLOCKMARK('\'', direction);
}

void BLOCKINDENT(int direction) {
    BLOCKMARK(' ', direction);
}

void AUTOINDENT(int) {
    const Sci_Position line = CURRENTLINE();
    if (line <= 0)
        return;
    const Sci_Position caret = SCI(SCI_GETCURRENTPOS);
    const NewLineFacts facts{line, SCI(SCI_LINELENGTH, static_cast<WPARAM>(line)), caret - LINESTART(line),
                             SCI(SCI_LINELENGTH, static_cast<WPARAM>(line - 1))};
    if (!AUTOINDENTAPPLIES(facts))
        return;
    std::string above(static_cast<std::size_t>(facts.LineAboveLength) + 1, '\0');
    SCI(SCI_GETLINE, static_cast<WPARAM>(line - 1), reinterpret_cast<LPARAM>(above.data()));
    above.resize(static_cast<std::size_t>(facts.LineAboveLength));
    const std::string indentation = LEADINGBLANKS(above);
    if (!indentation.empty())
        SCI(SCI_REPLACESEL, 0, reinterpret_cast<LPARAM>(indentation.c_str()));
}

// Scintilla lays a line out to show the caret as soon as a typed character
// is in, and lays it out again at the next paint, because the lexer has
// coloured the new character by then and the styles no longer match. On a
// line of megabytes each layout costs as much as all the rest of the
// keystroke, so a long line is coloured right away and the first layout is
// the last. Only a character typed at the single caret counts: replacing,
// pasting blocks and undoing take the ordinary way.
void STYLETYPEDLINE(const SCNotification &change) {
    constexpr int typed = SC_MOD_INSERTTEXT | SC_PERFORMED_USER;
    if ((change.modificationType & typed) != typed || change.length > 4)
        return;
    if (SCI(SCI_GETSELECTIONS) != 1 || SCI(SCI_GETCURRENTPOS) != change.position)
        return;
    const Sci_Position line = LINEOF(change.position);
    if (SCI(SCI_LINELENGTH, static_cast<WPARAM>(line)) < LONGLINEBYTES)
        return;
    SCI(SCI_COLOURISE, static_cast<WPARAM>(LINESTART(line)), SCI(SCI_GETLINEENDPOSITION, static_cast<WPARAM>(line)));
}
