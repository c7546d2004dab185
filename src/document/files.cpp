// Opening, saving and exporting the document, and the settings block that
// travels with every saved listing.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "Scintilla.h"
#include "zescin.h"
#include "services/settingsrules.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "document/document.h"
#include "services/fileio.h"
#include "document/filedialog.h"
#include "document/filerules.h"
#include "document/rtfwriter.h"
#include "services/barrier.h"
#include "services/pathtext.h"
#include "services/textcodes.h"
#include "services/wintext.h"
#include "document/settingsblock.h"

DOCUMENTRECORD Document;

namespace {

// The largest document the editing control is given: it keeps the text, a
// style byte per character and its undo data in the process's memory.
#if INTPTR_MAX > INT32_MAX
const std::uint64_t MAXDOCUMENTBYTES = 0x7FFFFF00ull;
#else
const std::uint64_t MAXDOCUMENTBYTES = 256ull << 20;
#endif

void SHOWERROR(const std::string &text) {
    MESSAGEBOX(MainWindow, text, nullptr, MB_ICONHAND);
}

// A name that does not fit the path limit is refused, never cut: a cut name
// would write the text to another file than the one the user named.
bool NAMEFITS(const std::string &name) {
    if (UTF16LENGTH(name) <= MAXPATHCHARS)
        return true;
    SHOWERROR("The file name is longer than " + std::to_string(MAXPATHCHARS) + " characters:\r" + name);
    return false;
}

void NOTIFYNAMED() {
    if (MainWindow)
        SendMessageW(MainWindow, WM_DOCUMENTNAMED, 0, 0);
}

void SETNAME(const std::string &path) {
    Document.CurrentFile = path;
    if (!path.empty())
        Document.CurrentDir = FOLDEROF(path);
    NOTIFYNAMED();
}

std::uint64_t JOIN(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Size and last-write time of a file on disk; Known false when it is not there.
DISKSTAMP STAMPOF(const std::string &path) {
    DISKSTAMP stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path.empty() && GetFileAttributesExW(SYSTEMPATH(path).c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.Known = true;
        stamp.Path = path;
        stamp.Size = JOIN(data.nFileSizeHigh, data.nFileSizeLow);
        stamp.LastWrite = FILETIMEVALUE(data.ftLastWriteTime);
    }
    return stamp;
}

// True when the document's file was changed on disk by another program since
// the editor read or wrote it.
bool CHANGEDONDISK() {
    const DISKSTAMP &was = Document.Stamp;
    if (!was.Known || was.Path != Document.CurrentFile)
        return false;
    const DISKSTAMP now = STAMPOF(Document.CurrentFile);
    // A file that was not there when the document was named and is there
    // now was made by another program.
    if (was.Absent)
        return now.Known;
    return now.Known && (now.Size != was.Size || now.LastWrite != was.LastWrite);
}

VOID CALLBACK PENDINGSETTINGSPROC(HWND window, UINT, UINT_PTR, DWORD) {
    GUARDED(window, 0, [] {
        APPLYFILESETTINGS();
        return 0;
    });
}

// Fold headers and styles need the lexer to have seen the whole document,
// also the parts never shown on screen. Only what is not styled yet is lexed.
void COLOURISEALL() {
    const LRESULT styled = SCI(SCI_GETENDSTYLED);
    if (styled < SCI(SCI_GETLENGTH))
        SCI(SCI_COLOURISE, styled, -1);
}

std::vector<bool> FOLDHEADERSEXPANDED(std::vector<Sci_Position> *lines = nullptr) {
    std::vector<bool> expanded;
    for (LRESULT line = SCI(ZESCIN_FOLDHEADERNEXT, 0); line >= 0;
         line = SCI(ZESCIN_FOLDHEADERNEXT, static_cast<WPARAM>(line + 1))) {
        expanded.push_back(SCI(SCI_GETFOLDEXPANDED, static_cast<WPARAM>(line)) != 0);
        if (lines)
            lines->push_back(line);
    }
    return expanded;
}

}  // namespace

std::string DOCUMENTTITLE() {
    return Document.CurrentFile.empty() ? std::string(DEFAULTTITLE) : Document.CurrentFile;
}

void NAMESTARTDOCUMENT(const std::string &file, const std::string &exeDir) {
    Document.CurrentFile = file;
    Document.CurrentDir = FOLDEROF(file, exeDir);
    Document.Stamp = DISKSTAMP{};
}

bool DOCUMENTMODIFIED() {
    return SCI(SCI_GETMODIFY) != 0 || Document.ProjectSettingsChanged || Document.Recovered;
}

bool ASKTOSAVE() {
    if (!DOCUMENTMODIFIED())
        return true;
    switch (MESSAGEBOX(MainWindow, "The text was been changed.\rSave changes?", PROGRAMCAPTION,
                       MB_YESNOCANCEL | MB_ICONHAND)) {
    case IDYES: {
        // The old text is only dropped once it is safely on disk; an RTF
        // export chosen in Save As is no save of the listing.
        if (!Document.CurrentFile.empty())
            return SAVEFILE() == 0;
        bool exported = false;
        return SAVEFILEAS(&exported) == 0 && !exported;
    }
    case IDNO:
        return true;
    default:
        return false;
    }
}

// Bytes of the file before the control's first byte.
Sci_Position MARKBYTES() {
    return Document.ByteOrderMark ? static_cast<Sci_Position>(UTF8MARK.size()) : 0;
}

const char *CONTROLTEXT() {
    // The whole text in one piece: the control moves its gap to the start,
    // which takes no memory (the character pointer would ask for room for a
    // closing zero, which a full buffer at the memory's limit may not get).
    return reinterpret_cast<const char *>(SCI(SCI_GETRANGEPOINTER, 0, SCI(SCI_GETLENGTH)));
}

namespace {

// The names of the project settings travel in the listing's own code page.
// The Project settings dialog takes no name that code page cannot hold; a
// name read from the block came in it.
PROJECTSETTINGSRECORD PROJECTINLISTING(PROJECTSETTINGSRECORD project) {
    const UINT codePage = static_cast<UINT>(LISTINGCODEPAGE(Document.ByteOrderMark));
    for (std::string *name : {&project.ResourceFile, &project.OutputFile}) {
        std::string bytes;
        if (CODEPAGEOFUTF8(*name, codePage, bytes))
            *name = bytes;
    }
    return project;
}

PROJECTSETTINGSRECORD PROJECTOFLISTING(PROJECTSETTINGSRECORD project) {
    const UINT codePage = static_cast<UINT>(LISTINGCODEPAGE(Document.ByteOrderMark));
    for (std::string *name : {&project.ResourceFile, &project.OutputFile})
        *name = UTF8OFCODEPAGE(*name, codePage);
    return project;
}

// The block a save writes. The fold states need the lexer to have seen the
// whole listing; for a recovery copy of a large listing the lines not lexed
// yet keep the fold levels they had, which spares typing a pause.
std::string MAKESETTINGSBLOCK(bool lexAll = true) {
    if (lexAll || SCI(SCI_GETLENGTH) < (1 << 20))
        COLOURISEALL();
    return BUILDSETTINGSBLOCK(SCI(SCI_GETCURRENTPOS) + MARKBYTES(), FOLDSTATESTRING(FOLDHEADERSEXPANDED()), AppSettings.CompilerType,
                              PROJECTINLISTING(Document.ProjectSettings));
}

// The pending block, parsed, its project settings taken and the timer
// stopped, so that it is not taken a second time.
PARSEDSETTINGSBLOCK TAKEPENDINGPROJECT() {
    if (MainWindow)
        KillTimer(MainWindow, PENDINGSETTINGSTIMER);
    const PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(Document.PendingSettings);
    if (!parsed.OlderForm)
        Document.ProjectSettings = PROJECTOFLISTING(parsed.Project);
    return parsed;
}

}  // namespace

void APPLYFILESETTINGS() {
    if (Document.PendingSettings.empty())
        return;
    const PARSEDSETTINGSBLOCK parsed = TAKEPENDINGPROJECT();
    if (!parsed.FoldStates.empty()) {
        COLOURISEALL();
        std::vector<Sci_Position> lines;
        const std::vector<bool> toggles = FOLDTOGGLES(parsed.FoldStates, FOLDHEADERSEXPANDED(&lines));
        // Each fold updates the scroll bars; with thousands of Subs that is
        // done once at the end instead of once per Sub.
        SendMessageW(EditorControl, WM_SETREDRAW, FALSE, 0);
        for (std::size_t i = 0; i < toggles.size(); ++i)
            if (toggles[i])
                SCI(SCI_TOGGLEFOLD, lines[i]);
        SendMessageW(EditorControl, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(EditorControl, nullptr, TRUE);
    }
    // A caret stored inside the mark (by an older version) is at the start.
    const std::int64_t caret = parsed.Caret > MARKBYTES() ? parsed.Caret - MARKBYTES() : 0;
    const LRESULT line = SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(caret));
    SCI(SCI_LINESCROLL, 0, line);
    SCI(SCI_ENSUREVISIBLE, line);
    SCI(SCI_GOTOPOS, static_cast<WPARAM>(caret));
    Document.PendingSettings.clear();
}

namespace {

// Reads a whole file; 0, or the status and message of what failed. The
// error code of a file that cannot be opened is left in *openError.
std::int32_t READWHOLE(const std::string &path, std::unique_ptr<char[]> &buffer, std::size_t &length,
                       DISKSTAMP &stamp, DWORD *openError) {
    FileHandle file(OPENFORREADING(path));
    if (!file.OK()) {
        *openError = GetLastError();
        SHOWERROR("Can't find/open file\r" + path);
        return OPENCANNOTOPEN;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    bool complete = GetFileInformationByHandle(file.GET(), &info) != FALSE;
    const std::uint64_t size = JOIN(info.nFileSizeHigh, info.nFileSizeLow);
    complete = complete && size <= MAXDOCUMENTBYTES;
    if (complete) {
        buffer.reset(new (std::nothrow) char[static_cast<std::size_t>(size) + 4]);
        complete = buffer != nullptr;
    }
    length = complete ? static_cast<std::size_t>(size) : 0;
    for (std::size_t got = 0; complete && got < length;) {
        DWORD piece = 0;
        const DWORD want = static_cast<DWORD>(length - got < (64u << 20) ? length - got : (64u << 20));
        complete = ReadFile(file.GET(), buffer.get() + got, want, &piece, nullptr) && piece == want;
        got += piece;
    }
    if (!complete) {
        SHOWERROR("Error while reading from file\r" + path);
        return OPENCANNOTREAD;
    }
    stamp.Known = true;
    stamp.Path = path;
    stamp.Size = size;
    stamp.LastWrite = FILETIMEVALUE(info.ftLastWriteTime);
    return OPENDONE;
}

// The start-up file keeps its name only when it does not exist, so that a
// later save creates it. A file that exists but cannot be read (held open by
// another program, too large, a failed read) must never become the target
// of a save that would replace it with an empty text.
void DROPUNREADABLESTARTNAME(std::int32_t status, DWORD openError) {
    const bool missing =
        status == OPENCANNOTOPEN && (openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND);
    if (!missing) {
        Document.CurrentFile.clear();
        Document.Stamp = DISKSTAMP{};
        NOTIFYNAMED();
        return;
    }
    // Remembered as absent: a file that appears under the name later (a
    // drive connected after the start) is never replaced without a question.
    Document.Stamp = DISKSTAMP{};
    Document.Stamp.Known = true;
    Document.Stamp.Absent = true;
    Document.Stamp.Path = Document.CurrentFile;
}

}  // namespace

namespace {

// Outcomes of HANDOVERTEXT.
enum : std::int32_t {
    HANDEDOVER = 0,
    HANDOVERREFUSED = 1,  // the control had no room: its text is as it was
    HANDOVERCLEARED = 2,  // the text could not be taken after the old one was dropped
};

// Whether the control holds exactly text: its length and every byte.
bool HOLDSTEXT(std::string_view text) {
    if (SCI(SCI_GETLENGTH) != static_cast<LRESULT>(text.size()))
        return false;
    if (text.empty())
        return true;
    // A pointer into the control's own buffer: nothing is copied.
    const auto *held = reinterpret_cast<const char *>(SCI(SCI_GETRANGEPOINTER, 0, static_cast<LPARAM>(text.size())));
    return held && std::memcmp(held, text.data(), text.size()) == 0;
}

// Replaces the control's text with text, without undo history and
// unmodified. The room for the new text is taken while the old text is still
// there, so that a listing too large for the memory left leaves the editor
// as it was. The control keeps its status instead of failing a call, so the
// status is asked after each step, and the result is checked, not only the
// status: a control that refused a step without a word must not have a
// document named after a file it does not hold.
std::int32_t HANDOVERTEXT(std::string_view text, int codePage) {
    SCI(SCI_SETSTATUS, SC_STATUS_OK);
    // The old text must not be copied into the undo history as it goes.
    SCI(SCI_SETUNDOCOLLECTION, 0);
    // With room to spare for the first characters typed.
    SCI(SCI_ALLOCATE, text.size() + std::max<std::size_t>(64u << 10, text.size() / 256));
    if (SCI(SCI_GETSTATUS) != SC_STATUS_OK) {
        SCI(SCI_SETSTATUS, SC_STATUS_OK);
        SCI(SCI_SETUNDOCOLLECTION, 1);
        return HANDOVERREFUSED;
    }
    SCI(SCI_CLEARDOCUMENTSTYLE);
    SCI(SCI_CLEARALL);
    if (SCI(SCI_GETSTATUS) != SC_STATUS_OK || SCI(SCI_GETLENGTH) != 0) {
        // The old text is still there: the document stays as it was.
        SCI(SCI_SETSTATUS, SC_STATUS_OK);
        SCI(SCI_SETUNDOCOLLECTION, 1);
        return HANDOVERREFUSED;
    }
    // Marks and notes belong to the text going (the control would move those
    // of its deleted lines onto the first line of the new one).
    SCI(SCI_MARKERDELETEALL, static_cast<WPARAM>(-1));
    SCI(SCI_ANNOTATIONCLEARALL);
    // Set while the control is empty, so the text is laid out once.
    SETEDITORCODEPAGE(codePage);
    // Appended, the text leaves the caret at the start: no caret move that
    // would lay out a long first line before the window can answer.
    SCI(SCI_APPENDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    std::int32_t outcome = HANDEDOVER;
    if (SCI(SCI_GETSTATUS) != SC_STATUS_OK || !HOLDSTEXT(text)) {
        // Memory ran out where no room could be taken ahead (the line
        // index): a fresh document replaces whatever the control holds now.
        SCI(SCI_SETSTATUS, SC_STATUS_OK);
        SCI(SCI_SETDOCPOINTER, 0, 0);
        SETUPEDITOR();
        SETEDITORCODEPAGE(codePage);
        outcome = HANDOVERCLEARED;
    }
    SCI(SCI_SETUNDOCOLLECTION, 1);
    SCI(SCI_EMPTYUNDOBUFFER);
    SCI(SCI_SETSAVEPOINT);
    return outcome;
}

// Makes bytes as a file holds them (text, settings block) the document,
// named name (empty: untitled). HANDEDOVER, or why the text was not taken.
std::int32_t LOADBYTES(std::string_view bytes, const std::string &name, const DISKSTAMP &stamp) {
    std::string pending;
    const std::int64_t block = FINDSETTINGSBLOCK(bytes.data(), bytes.size());
    if (block >= 0) {
        pending.assign(bytes.substr(static_cast<std::size_t>(block)));
        bytes = bytes.substr(0, static_cast<std::size_t>(block));
    }
    const bool mark = STARTSWITHUTF8MARK(bytes.data(), bytes.size());
    const std::int32_t handed = HANDOVERTEXT(bytes.substr(mark ? UTF8MARK.size() : 0), LISTINGCODEPAGE(mark));
    if (handed != HANDEDOVER) {
        if (handed == HANDOVERCLEARED) {
            // The previous text is gone: nothing may be saved under its name.
            Document.Stamp = DISKSTAMP{};
            SETNAME(std::string());
        }
        return handed;
    }
    Document.Stamp = stamp;
    SETNAME(name);
    Document.PendingSettings = std::move(pending);
    Document.ByteOrderMark = mark;
    Document.ProjectSettingsChanged = false;
    Document.Recovered = false;
    if (!Document.PendingSettings.empty()) {
        SCI(SCI_GOTOLINE, SCI(SCI_GETLINECOUNT));
        SetTimer(MainWindow, PENDINGSETTINGSTIMER, 55, PENDINGSETTINGSPROC);
    } else {
        // Caret and view at the start of the text. The caret is there
        // already; placing it without the scroll check of SCI_GOTOPOS
        // spares the layout of the whole first line, which on a file of
        // one long line costs as much as the load itself.
        SCI(SCI_SETEMPTYSELECTION, 0);
        SCI(SCI_SETXOFFSET, 0);
    }
    return HANDEDOVER;
}

// Replaces the document with the file; the save prompt has been answered.
std::int32_t LOADPATH(const std::string &path, OPENAS as) {
    std::int32_t status = OPENDONE;
    if (!NAMEFITS(path)) {
        status = OPENCANNOTOPEN;
        if (as == OPENASSTARTFILE)
            DROPUNREADABLESTARTNAME(status, ERROR_FILENAME_EXCED_RANGE);
    } else {
        std::unique_ptr<char[]> buffer;
        std::size_t length = 0;
        DISKSTAMP stamp;
        DWORD openError = 0;
        status = READWHOLE(path, buffer, length, stamp, &openError);
        if (status != OPENDONE) {
            if (as == OPENASSTARTFILE)
                DROPUNREADABLESTARTNAME(status, openError);
        } else {
            const bool untitled = as == OPENASTEMPLATE;
            const std::int32_t handed = LOADBYTES(std::string_view(buffer.get(), length), untitled ? std::string() : path,
                                                  untitled ? DISKSTAMP{} : stamp);
            buffer.reset();
            if (handed != HANDEDOVER) {
                SHOWERROR("Error while reading from file\r" + path);
                status = OPENCANNOTREAD;
                if (handed == HANDOVERREFUSED && as == OPENASSTARTFILE)
                    DROPUNREADABLESTARTNAME(status, 0);
            } else {
                // The text of the document before is saved or given up.
                DROPRECOVERY();
            }
        }
    }
    SetFocus(EditorControl);
    return status;
}

}  // namespace

std::int32_t OPENPATH(const std::string &path, OPENAS as) {
    if (!ASKTOSAVE()) {
        SetFocus(EditorControl);
        return OPENKEPT;
    }
    return LOADPATH(path, as);
}

std::int32_t OPENFILE(std::int32_t mode) {
    switch (mode) {
    case OPENEMPTY:
        if (!ASKTOSAVE())
            break;
        // A block still waiting for the timer gives its project settings,
        // which New keeps; its caret and folds belong to the text going.
        if (!Document.PendingSettings.empty()) {
            TAKEPENDINGPROJECT();
            Document.PendingSettings.clear();
        }
        // A control that cannot even empty itself keeps the document as it
        // was, under its own name.
        if (HANDOVERTEXT(std::string_view(), LISTINGCODEPAGE(false)) == HANDOVERREFUSED) {
            SHOWERROR(NOTENOUGHMEMORYTEXT);
            break;
        }
        Document.ByteOrderMark = false;
        Document.Recovered = false;
        DROPRECOVERY();
        Document.ProjectSettingsChanged = false;
        Document.Stamp = DISKSTAMP{};
        SETNAME(std::string());
        SetFocus(EditorControl);
        return OPENDONE;
    case OPENCURRENT:
        return OPENPATH(Document.CurrentFile, OPENASSTARTFILE);
    default: {
        if (!ASKTOSAVE())
            break;
        const bool fromTemplate = mode == OPENTEMPLATE;
        std::string path;
        if (!SHOWFILEDIALOG(false, fromTemplate ? AppSettings.TemplateDir : Document.CurrentDir,
                            fromTemplate ? std::string() : Document.CurrentFile, path, nullptr)) {
            SetFocus(EditorControl);
            return OPENNOTCHOSEN;
        }
        // The question was answered above; the text is saved or given up.
        return LOADPATH(path, fromTemplate ? OPENASTEMPLATE : OPENASLISTING);
    }
    }
    SetFocus(EditorControl);
    return OPENKEPT;
}

std::int32_t SAVEFILE() {
    // The block written is the listing's own, also when its settings are
    // still waiting for the timer.
    APPLYFILESETTINGS();
    std::int32_t status = 0;
    const std::string name = Document.CurrentFile;
    if (name.empty()) {
        status = 1;
    } else if (CHANGEDONDISK() &&
               MESSAGEBOX(MainWindow,
                          name + " was changed by another program since it was opened.\r"
                                 "Replace it with the text in the editor?",
                          PROGRAMCAPTION, MB_YESNO | MB_ICONWARNING) != IDYES) {
        // The file on disk stays as the other program left it; the text stays
        // in the editor, still modified.
        return 4;
    } else {
        // The text is written from the control's own buffer, without a copy.
        const std::size_t length = static_cast<std::size_t>(SCI(SCI_GETLENGTH));
        const char *text = CONTROLTEXT();
        if (!text && length > 0) {
            status = 3;
        } else {
            SafeFileWriter writer;
            status = writer.BEGIN(name);
            if (status == 0) {
                if (Document.ByteOrderMark)
                    writer.WRITE(UTF8MARK);
                writer.WRITE(std::string_view(text, length));
                writer.WRITE(MAKESETTINGSBLOCK());
                status = writer.COMMIT();
            }
            if (status == 0) {
                SCI(SCI_SETSAVEPOINT);
                Document.ProjectSettingsChanged = false;
                Document.Recovered = false;
                Document.Stamp = STAMPOF(name);
                DROPRECOVERY();
            }
        }
    }
    switch (status) {
    case 1:
        SHOWERROR("No file opened.");
        break;
    case 2:
        SHOWERROR("Couldn't create/overwrite the file\r" + name);
        break;
    case 3:
        SHOWERROR("Error when writing to file\r" + name);
        break;
    default:
        break;
    }
    return status;
}

std::int32_t SAVEFILEAS(bool *exported) {
    if (exported)
        *exported = false;
    const bool untitled = Document.CurrentFile.empty();
    std::string folder = Document.CurrentDir;
    if (untitled && folder.empty())
        folder = AppSettings.ExeDir;
    std::string typed;
    std::int32_t filter = 1;
    if (!SHOWFILEDIALOG(true, folder, untitled ? std::string() : Document.CurrentFile, typed, &filter))
        return 2;
    const std::string name = APPLYEXTENSIONRULE(typed, filter);
    if (!NAMEFITS(name))
        return 2;
    // The dialog asked about the name as typed; a name it never saw that
    // exists gets the same question here.
    if (name != typed && EXISTS(name) &&
        MESSAGEBOX(MainWindow, name + " already exists.\rDo you want to replace it?", "Save As",
                   MB_YESNO | MB_ICONWARNING) != IDYES)
        return 2;
    if (ISRTFNAME(name)) {
        if (exported)
            *exported = true;
        return EXPORTRTF(name);
    }
    SETNAME(name);
    return SAVEFILE();
}

std::string RECOVERYSETTINGSBLOCK() {
    return MAKESETTINGSBLOCK(false);
}

bool OPENRECOVEREDTEXT(const std::string &listing, std::string_view bytes) {
    if (LOADBYTES(bytes, listing, DISKSTAMP{}) != HANDEDOVER)
        return false;
    Document.Recovered = true;
    return true;
}

std::int32_t EXPORTRTF(const std::string &name) {
    APPLYFILESETTINGS();
    std::int32_t status = 0;
    if (name.empty()) {
        status = 1;
    } else {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
        // Colour the whole text first, so a long listing is exported in colour to its end.
        COLOURISEALL();
        // The styled text is taken a piece at a time, so a long listing needs
        // neither a copy of itself nor of its RTF in memory.
        const Sci_Position length = SCI(SCI_GETLENGTH);
        const Sci_Position piece = 1 << 20;
        std::unique_ptr<char[]> styled(new (std::nothrow) char[2 * piece + 2]);
        if (!styled) {
            status = 3;
        } else {
            SafeFileWriter writer;
            status = writer.BEGIN(name);
            if (status == 0) {
                const bool utf8 = EDITORISUTF8();
                const int codePage = EDITORCODEPAGE();
                // The lead bytes of a double-byte code page (932, 936, 949, 950).
                bool leadBytes[256] = {};
                bool doubleByte = false;
                for (int b = 0x80; b < 0x100 && !utf8; ++b)
                    doubleByte |= leadBytes[b] = IsDBCSLeadByteEx(static_cast<UINT>(codePage), static_cast<BYTE>(b)) != FALSE;
                writer.WRITE(RTFHEADER(AppSettings.Font, AppSettings.FontSize, AppSettings.SyntaxColors,
                                       utf8 ? 0 : codePage));
                const auto writeLine = [&writer](std::string_view line) { return writer.WRITE(line); };
                std::string line;
                unsigned currentStyle = 0;
                bool complete = true;
                for (Sci_Position start = 0; complete && start < length;) {
                    Sci_Position end = start + piece < length ? start + piece : length;
                    // Pieces of a text of several bytes a character end between characters.
                    if ((utf8 || doubleByte) && end < length) {
                        const Sci_Position before = SCI(SCI_POSITIONBEFORE, static_cast<WPARAM>(SCI(
                                                                                SCI_POSITIONAFTER, static_cast<WPARAM>(end))));
                        if (before > start)
                            end = before;
                    }
                    Sci_TextRangeFull range{{start, end}, styled.get()};
                    SCI(SCI_GETSTYLEDTEXTFULL, 0, reinterpret_cast<LPARAM>(&range));
                    complete = APPENDRTFBODY(reinterpret_cast<const unsigned char *>(styled.get()),
                                             static_cast<std::size_t>(end - start), writeLine, line, currentStyle,
                                             utf8, doubleByte ? leadBytes : nullptr);
                    start = end;
                }
                line += "\\par}";
                writer.WRITE(line);
                status = writer.COMMIT();
            }
        }
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
    }
    switch (status) {
    case 1:
        SHOWERROR("Can't save, no filename.");
        break;
    case 2:
        SHOWERROR("Couldn't create/overwrite the file\r" + name);
        break;
    case 3:
        SHOWERROR("Error when writing to file\r" + name);
        break;
    default:
        break;
    }
    return status;
}
