#include "compiling/errormarks.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/wintext.h"

namespace {

constexpr int MARKMASK = (1 << WARNINGMARKER) | (1 << ERRORMARKER);
// The margin of symbols beside the line numbers.
constexpr int SYMBOLMARGIN = 2;
// The styles of the text under a line, after the annotation style offset.
constexpr int ERRORTEXTSTYLE = 0;
constexpr int WARNINGTEXTSTYLE = 1;

// The first of the two styles the control keeps for the text under lines.
LRESULT AnnotationStyles = -1;

LPARAM TEXTARG(const char *text) {
    return reinterpret_cast<LPARAM>(text);
}

// Program text (UTF-8) as bytes of the listing's code page; a character that
// code page lacks becomes a question mark.
std::string LISTINGBYTESOF(const std::string &text) {
    std::string bytes;
    if (EDITORBYTESOF(text, bytes))
        return bytes;
    const std::wstring wide = WIDE(text);
    const UINT page = static_cast<UINT>(EDITORCODEPAGE());
    const int size = WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    bytes.assign(static_cast<std::size_t>(std::max(size, 0)), '\0');
    if (size > 0)
        WideCharToMultiByte(page, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, "?", nullptr);
    return bytes;
}

}  // namespace

void SETUPERRORMARKS() {
    // A red disc for an error, an orange arrow for a warning: drawn by the
    // control to the height of a line and the width of the margin, both of
    // which follow the font and the DPI.
    SCI(SCI_MARKERDEFINE, ERRORMARKER, SC_MARK_CIRCLE);
    SCI(SCI_MARKERSETFORE, ERRORMARKER, RGB(128, 0, 0));
    SCI(SCI_MARKERSETBACK, ERRORMARKER, RGB(230, 20, 20));
    SCI(SCI_MARKERDEFINE, WARNINGMARKER, SC_MARK_SHORTARROW);
    SCI(SCI_MARKERSETFORE, WARNINGMARKER, RGB(130, 70, 0));
    SCI(SCI_MARKERSETBACK, WARNINGMARKER, RGB(255, 160, 0));
    SCI(SCI_SETMARGINMASKN, SYMBOLMARGIN, SCI(SCI_GETMARGINMASKN, SYMBOLMARGIN) | MARKMASK);
    // Styles of their own, apart from the lexer's.
    AnnotationStyles = SCI(SCI_ALLOCATEEXTENDEDSTYLES, 2);
    SCI(SCI_ANNOTATIONSETSTYLEOFFSET, static_cast<WPARAM>(AnnotationStyles));
    STYLEERRORMARKS();
    SHOWERRORTEXT();
}

void STYLEERRORMARKS() {
    if (AnnotationStyles < 0)
        return;
    const struct {
        int Style;
        COLORREF Fore, Back;
    } styles[] = {{ERRORTEXTSTYLE, RGB(150, 0, 0), RGB(255, 232, 232)},
                  {WARNINGTEXTSTYLE, RGB(110, 70, 0), RGB(255, 246, 214)}};
    for (const auto &s : styles) {
        const WPARAM style = static_cast<WPARAM>(AnnotationStyles + s.Style);
        SCI(SCI_STYLESETFONT, style, TEXTARG(AppSettings.Font.c_str()));
        SCI(SCI_STYLESETSIZE, style, AppSettings.FontSize);
        SCI(SCI_STYLESETITALIC, style, 1);
        SCI(SCI_STYLESETFORE, style, s.Fore);
        SCI(SCI_STYLESETBACK, style, s.Back);
    }
}

void SHOWERRORTEXT() {
    SCI(SCI_ANNOTATIONSETVISIBLE, AppSettings.ErrorText == 1 ? ANNOTATION_INDENTED : ANNOTATION_HIDDEN);
}

// Only marked lines carry text under them, and the two stay together as
// lines are inserted and deleted (the control moves a deleted line's marks
// and text onto the line before). So the texts are cleared line by line
// where the marks are: clearing every line of a large listing costs the
// control a notification per line.
void CLEARERRORMARKS() {
    // Hidden meanwhile: a visible text's every change has the control
    // measure its scroll bars anew.
    SCI(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_HIDDEN);
    for (LRESULT line = SCI(SCI_MARKERNEXT, 0, MARKMASK); line >= 0;
         line = SCI(SCI_MARKERNEXT, static_cast<WPARAM>(line + 1), MARKMASK))
        SCI(SCI_ANNOTATIONSETTEXT, static_cast<WPARAM>(line), 0);
    SCI(SCI_MARKERDELETEALL, ERRORMARKER);
    SCI(SCI_MARKERDELETEALL, WARNINGMARKER);
    SHOWERRORTEXT();
}

bool HASERRORMARKS() {
    return SCI(SCI_MARKERNEXT, 0, MARKMASK) >= 0;
}

void SHOWERRORMARKS(const COMPILERMESSAGELIST &list, UINT codePage) {
    CLEARERRORMARKS();
    struct LINEMARKS {
        bool Error = false;
        bool Warning = false;
        std::vector<std::string> Texts;
    };
    std::map<std::int64_t, LINEMARKS> lines;
    for (const COMPILERMESSAGE &message : list.Entries) {
        LINEMARKS &line = lines[message.Line];
        (message.Kind == MESSAGEWARNING ? line.Warning : line.Error) = true;
        line.Texts.push_back(UTF8OFCODEPAGE(message.Text, codePage));
    }
    const LRESULT lineCount = SCI(SCI_GETLINECOUNT);
    // Shown once all are there, for the reason CLEARERRORMARKS gives.
    SCI(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_HIDDEN);
    for (const auto &[number, marks] : lines) {
        if (number < 0 || number >= lineCount)
            continue;
        const auto line = static_cast<WPARAM>(number);
        if (marks.Error)
            SCI(SCI_MARKERADD, line, ERRORMARKER);
        if (marks.Warning)
            SCI(SCI_MARKERADD, line, WARNINGMARKER);
        const std::string text = LISTINGBYTESOF(ANNOTATIONTEXT(marks.Texts));
        SCI(SCI_ANNOTATIONSETTEXT, line, TEXTARG(text.c_str()));
        SCI(SCI_ANNOTATIONSETSTYLE, line, marks.Error ? ERRORTEXTSTYLE : WARNINGTEXTSTYLE);
    }
    SHOWERRORTEXT();
}

void GOTOERRORMARK(int direction) {
    const LRESULT last = SCI(SCI_GETLINECOUNT) - 1;
    const Sci_Position current = CURRENTLINE();
    LRESULT target = -1;
    if (direction > 0) {
        target = current < last ? SCI(SCI_MARKERNEXT, static_cast<WPARAM>(current + 1), MARKMASK) : -1;
        if (target < 0)
            target = SCI(SCI_MARKERNEXT, 0, MARKMASK);
    } else {
        target = current > 0 ? SCI(SCI_MARKERPREVIOUS, static_cast<WPARAM>(current - 1), MARKMASK) : -1;
        if (target < 0)
            target = SCI(SCI_MARKERPREVIOUS, static_cast<WPARAM>(last), MARKMASK);
    }
    if (target < 0)
        return;
    const LRESULT position = SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(target));
    SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(target));
    SCI(SCI_SETCURRENTPOS, static_cast<WPARAM>(position));
    SCI(SCI_SETANCHOR, static_cast<WPARAM>(position));
    SCI(SCI_SCROLLCARET);
}
