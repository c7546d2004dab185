// Configuration of the editing control: styles, lexer, margins, keywords.
#include <windows.h>

#include <string>

#include "Scintilla.h"
#include "services/config.h"
#include "services/dpi.h"
#include "services/dpirules.h"
#include "services/editor.h"
#include "services/handles.h"
#include "document/document.h"
#include "zescin.h"

namespace {
LPARAM TEXTARG(const char *text) {
    return reinterpret_cast<LPARAM>(text);
}

// The margins' own sizes, in pixels at 96 DPI: the fold marker's column,
// the room beside the widest line number, and how much too wide the
// line-number margin may be before it shrinks.
constexpr std::int32_t SYMBOLMARGINWIDTH = 10;
constexpr std::int32_t LINENUMBERPADDING = 2;
constexpr std::int32_t LINENUMBERSLACK = 3;

// The DPI the margins are sized for: the control's when it was set up,
// then the one each change of DPI announced.
std::uint32_t MarginDpi = BASEDPI;

// Scintilla measures the number in its own pixels, at the control's DPI.
// Grown at once; shrunk only past a little slack, so digit widths never
// make the margin jitter, unless exact (a new DPI changes every width).
void SIZELINENUMBERMARGIN(bool exact) {
    const std::string sample = " " + std::to_string(SCI(SCI_GETLINECOUNT));
    const LRESULT wanted =
        SCI(SCI_TEXTWIDTH, STYLE_LINENUMBER, TEXTARG(sample.c_str())) + SCALEDFORDPI(LINENUMBERPADDING, MarginDpi);
    const LRESULT current = SCI(SCI_GETMARGINWIDTHN, 1);
    if (exact || current < wanted || current > wanted + SCALEDFORDPI(LINENUMBERSLACK, MarginDpi))
        SCI(SCI_SETMARGINWIDTHN, 1, wanted);
}
}  // namespace

void APPLYSTYLES() {
    SCI(SCI_STYLESETFONT, STYLE_DEFAULT, TEXTARG(AppSettings.Font.c_str()));
    // Copied to every style below.
    SETUPCHARACTERSET();
    SCI(SCI_STYLESETSIZE, STYLE_DEFAULT, AppSettings.FontSize);
    SCI(SCI_STYLESETBOLD, STYLE_DEFAULT, 0);
    SCI(SCI_STYLESETITALIC, STYLE_DEFAULT, 0);
    // Lay out lines by multiplication when the font is monospaced: Scintilla
    // checks the font once and otherwise measures every character of a
    // line, which makes typing on a long line slow. A proportional font is
    // still measured and drawn correctly. Copied to every style below.
    SCI(SCI_STYLESETCHECKMONOSPACED, STYLE_DEFAULT, 1);
    // Control characters are drawn as a blank, not as mnemonic boxes.
    SCI(SCI_SETCONTROLCHARSYMBOL, 32);
    SCI(SCI_STYLECLEARALL);
    SCI(SCI_STYLESETSIZE, STYLE_LINENUMBER, AppSettings.FontSize - 1);
    SCI(SCI_STYLESETFONT, STYLE_LINENUMBER, TEXTARG("Arial"));
    SCI(SCI_STYLESETCHECKMONOSPACED, STYLE_LINENUMBER, 0);
    SCI(SCI_SETSELFORE, 1, RGB(255, 255, 255));
    SCI(SCI_SETSELBACK, 1, RGB(0, 0, 0));
    for (int i = 0; i < SYNTAXCOLORCOUNT; ++i)
        SCI(SCI_STYLESETFORE, i, AppSettings.SyntaxColors[i]);
    SCI(SCI_SETUSETABS, 0);
    SCI(SCI_SETTABWIDTH, 2);
    SCI(SCI_SETINDENT, 2);
}

void UPDATELINENUMBERWIDTH() {
    SIZELINENUMBERMARGIN(false);
}

void SCALEEDITORMARGINS(std::uint32_t dpi) {
    MarginDpi = dpi;
    SCI(SCI_SETMARGINWIDTHN, 2, SCALEDFORDPI(SYMBOLMARGINWIDTH, dpi));
    SIZELINENUMBERMARGIN(true);
}

void SETUPEDITOR() {
    // Listings are in the system's ANSI code page unless they start with the
    // UTF-8 byte-order mark; so is the empty document of a fresh window.
    // Scintilla's code page 0 would mean Windows-1252 for what is typed,
    // pasted and searched, whatever the system's code page.
    SETEDITORCODEPAGE(LISTINGCODEPAGE(false));
    APPLYSTYLES();
    SCI(SCI_SETPROPERTY, reinterpret_cast<WPARAM>("fold"), TEXTARG("1"));
    SCI(SCI_SETMARGINTYPEN, 1, SC_MARGIN_NUMBER);
    SCI(SCI_SETMARGINMASKN, 1, 0);
    SCI(SCI_SETMARGINSENSITIVEN, 1, 1);
    SCI(SCI_SETMARGINTYPEN, 2, SC_MARGIN_SYMBOL);
    SCALEEDITORMARGINS(WINDOWDPI(EditorControl));
    SCI(SCI_MARKERSETBACK, SC_MARKNUM_FOLDEREND, RGB(255, 0, 0));
    SCI(SCI_SETMARGINMASKN, 2, 1 << SC_MARKNUM_FOLDEREND);
    SCI(SCI_SETLEXER, SCLEX_POWERBASIC);
    SCI(SCI_SETWORDCHARS, 0, TEXTARG("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789#$_%@"));
    LOADKEYWORDS();
    SCI(SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
}
