// Sub folding: toggling the Sub at a line, bringing every Sub below into the
// same state, and showing hidden lines the control asks for.
#include <optional>

#include "services/editor.h"
#include "editing/editing.h"
#include "editing/editrules.h"
#include "editing/redrawpause.h"

namespace {

const LPCWSTR ARROWCURSOR = MAKEINTRESOURCEW(32512);       // IDC_ARROW
const LPCWSTR APPSTARTINGCURSOR = MAKEINTRESOURCEW(32650);  // IDC_APPSTARTING

// Fold levels are the lexer's work: a line never shown on screen may not have
// been lexed yet. Lexes what is still unstyled up to the start of line
// `before` (-1: to the end of the document).
void STYLEDUPTO(Sci_Position before) {
    const Sci_Position length = SCI(SCI_GETLENGTH);
    const Sci_Position end = before < 0 ? length : SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(before));
    const Sci_Position styled = SCI(SCI_GETENDSTYLED);
    if (styled >= end || end <= 0)
        return;
    const Sci_Position from = SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(styled))));
    SCI(SCI_COLOURISE, static_cast<WPARAM>(from), end);
}

bool ISHEADER(Sci_Position line) {
    return (SCI(SCI_GETFOLDLEVEL, static_cast<WPARAM>(line)) & SC_FOLDLEVELHEADERFLAG) != 0;
}

bool EXPANDED(Sci_Position line) {
    return SCI(SCI_GETFOLDEXPANDED, static_cast<WPARAM>(line)) != 0;
}

Sci_Position SUBOF(Sci_Position line) {
    STYLEDUPTO(line + 2);
    return SUBHEADER(line, ISHEADER(line), SCI(SCI_GETFOLDPARENT, static_cast<WPARAM>(line)));
}

}  // namespace

void TOGGLESUB(Sci_Position line) {
    const Sci_Position header = SUBOF(line);
    if (header < 0)
        return;
    SCI(SCI_TOGGLEFOLD, static_cast<WPARAM>(header));
    if (header != line)
        SCI(SCI_GOTOLINE, static_cast<WPARAM>(header));
}

void TOGGLESUBSBELOW(Sci_Position line) {
    Sci_Position header = SUBOF(line);
    const Sci_Position lineCount = SCI(SCI_GETLINECOUNT);
    if (header < 0) {
        STYLEDUPTO(-1);
        for (Sci_Position next = line; next < lineCount && header < 0; ++next)
            if (ISHEADER(next))
                header = next;
        if (header < 0)
            return;
    }
    if (header != line)
        SCI(SCI_GOTOLINE, static_cast<WPARAM>(header));
    SCI(SCI_TOGGLEFOLD, static_cast<WPARAM>(header));
    const bool target = EXPANDED(header);
    SetCursor(LoadCursorW(nullptr, APPSTARTINGCURSOR));
    STYLEDUPTO(-1);
    RedrawPause pause;
    for (Sci_Position each = line; each < lineCount; ++each)
        if (ISHEADER(each) && EXPANDED(each) != target)
            SCI(SCI_TOGGLEFOLD, static_cast<WPARAM>(each));
    pause.RESUME();
    SetCursor(LoadCursorW(nullptr, ARROWCURSOR));
}

void REVEALLINES(Sci_Position start, Sci_Position end) {
    const RevealRange range = REVEALRANGE(SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(start)),
                                          SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(end)));
    // A range over a whole folded listing (deleting all of it) unfolds every
    // Sub on the way.
    std::optional<RedrawPause> pause;
    if (range.Last - range.First > 1)
        pause.emplace();
    for (Sci_Position line = range.First; line < range.Last; ++line)
        SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(line));
    pause.reset();
    if (!ISHEADER(range.Last))
        SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(range.Last));
    else if (!EXPANDED(range.Last))
        TOGGLESUB(range.Last);
}
