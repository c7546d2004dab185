// Opening, saving and exporting the document, and the settings block that
// travels with every saved listing.
#include <windows.h>

#include <memory>
#include <new>
#include <vector>

#include "Scintilla.h"
#include "app/settingsrules.h"
#include "app/shell.h"
#include "document/document.h"
#include "document/fileio.h"
#include "document/filedialog.h"
#include "document/filerules.h"
#include "document/rtfwriter.h"
#include "document/settingsblock.h"

PROJECTSETTINGSRECORD ProjectSettings;
bool ProjectSettingsChanged = false;
std::string PendingSettings;

namespace {

// The largest document the editing control is given: it keeps the text, a
// style byte per character and its undo data in the process's memory.
#if INTPTR_MAX > INT32_MAX
const std::uint64_t MAXDOCUMENTBYTES = 0x7FFFFF00ull;
#else
const std::uint64_t MAXDOCUMENTBYTES = 256ull << 20;
#endif

void SHOWERROR(const std::string &text) {
    MessageBoxA(MainWindow, text.c_str(), nullptr, MB_ICONHAND);
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
    const LRESULT count = SCI(SCI_GETLINECOUNT);
    for (LRESULT line = 0; line <= count; ++line) {
        if (SCI(SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG) {
            expanded.push_back(SCI(SCI_GETFOLDEXPANDED, line) != 0);
            if (lines)
                lines->push_back(line);
        }
    }
    return expanded;
}

}  // namespace

bool DOCUMENTMODIFIED() {
    return SCI(SCI_GETMODIFY) != 0 || ProjectSettingsChanged;
}

bool ASKTOSAVE() {
    if (!DOCUMENTMODIFIED())
        return true;
    switch (MessageBoxA(MainWindow, "The text was been changed.\rSave changes?", PROGRAMCAPTION,
                        MB_YESNOCANCEL | MB_ICONHAND)) {
    case IDYES:
        // The old text is only dropped once it is safely on disk.
        return (AppSettings.CurrentFile.empty() ? SAVEFILEAS() : SAVEFILE()) == 0;
    case IDNO:
        return true;
    default:
        return false;
    }
}

std::string MAKESETTINGSBLOCK() {
    COLOURISEALL();
    return BUILDSETTINGSBLOCK(SCI(SCI_GETCURRENTPOS), FOLDSTATESTRING(FOLDHEADERSEXPANDED()), AppSettings.CompilerType,
                              ProjectSettings);
}

void APPLYFILESETTINGS() {
    if (PendingSettings.empty())
        return;
    const PARSEDSETTINGSBLOCK parsed = PARSESETTINGSBLOCK(PendingSettings);
    if (!parsed.OlderForm)
        ProjectSettings = parsed.Project;
    if (!parsed.FoldStates.empty()) {
        COLOURISEALL();
        std::vector<Sci_Position> lines;
        const std::vector<bool> toggles = FOLDTOGGLES(parsed.FoldStates, FOLDHEADERSEXPANDED(&lines));
        // Each fold updates the scroll bars; with thousands of Subs that is
        // done once at the end instead of once per Sub.
        SendMessageA(EditorControl, WM_SETREDRAW, FALSE, 0);
        for (std::size_t i = 0; i < toggles.size(); ++i)
            if (toggles[i])
                SCI(SCI_TOGGLEFOLD, lines[i]);
        SendMessageA(EditorControl, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(EditorControl, nullptr, TRUE);
    }
    const LRESULT line = SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(parsed.Caret));
    SCI(SCI_LINESCROLL, 0, line);
    SCI(SCI_ENSUREVISIBLE, line);
    SCI(SCI_GOTOPOS, static_cast<WPARAM>(parsed.Caret));
    PendingSettings.clear();
}

std::int32_t OPENFILE(std::int32_t mode) {
    std::int32_t status = 0;
    std::string path;
    if (!ASKTOSAVE()) {
        status = 1;
        goto done;
    }
    if (mode == 1100) {
        SCI(SCI_CLEARDOCUMENTSTYLE);
        SCI(SCI_CLEARALL);
        SCI(SCI_EMPTYUNDOBUFFER);
        ProjectSettingsChanged = false;
        AppSettings.CurrentFile.clear();
        UPDATETITLE();
        goto done;
    }
    if (mode == 11101) {
        path = AppSettings.CurrentFile;
    } else {
        const bool fromTemplate = mode == 1101;
        if (!SHOWFILEDIALOG(false, fromTemplate ? AppSettings.TemplateDir : AppSettings.CurrentDir,
                            fromTemplate ? std::string() : AppSettings.CurrentFile, path, nullptr)) {
            status = 2;
            goto done;
        }
    }
    {
        FileHandle file(OPENFORREADING(path));
        if (!file.OK()) {
            SHOWERROR("Can't find/open file\r" + path);
            status = 3;
            goto done;
        }
        LARGE_INTEGER size{};
        std::unique_ptr<char[]> buffer;
        bool complete = GetFileSizeEx(file.handle, &size) && static_cast<std::uint64_t>(size.QuadPart) <= MAXDOCUMENTBYTES;
        if (complete) {
            buffer.reset(new (std::nothrow) char[static_cast<std::size_t>(size.QuadPart) + 4]);
            complete = buffer != nullptr;
        }
        std::size_t length = complete ? static_cast<std::size_t>(size.QuadPart) : 0;
        for (std::size_t got = 0; complete && got < length;) {
            DWORD piece = 0;
            const DWORD want = static_cast<DWORD>(length - got < (64u << 20) ? length - got : (64u << 20));
            complete = ReadFile(file.handle, buffer.get() + got, want, &piece, nullptr) && piece == want;
            got += piece;
        }
        if (!complete) {
            SHOWERROR("Error while reading from file\r" + path);
            status = 4;
            goto done;
        }
        if (mode == 1101) {
            AppSettings.CurrentFile.clear();
        } else {
            AppSettings.CurrentFile = CUTTEXT(path, MAXPATHCHARS);
            AppSettings.CurrentDir = FOLDEROF(path, "");
        }
        UPDATETITLE();
        PendingSettings.clear();
        const std::int64_t block = FINDSETTINGSBLOCK(buffer.get(), length);
        if (block >= 0) {
            PendingSettings.assign(buffer.get() + block, length - static_cast<std::size_t>(block));
            length = static_cast<std::size_t>(block);
        }
        SCI(SCI_CLEARDOCUMENTSTYLE);
        SCI(SCI_CLEARALL);
        // The loaded text starts without undo history: do not collect any.
        SCI(SCI_SETUNDOCOLLECTION, 0);
        // Appended, the text leaves the caret at the start: no caret move
        // that would lay out a long first line before the window can answer.
        SCI(SCI_APPENDTEXT, length, reinterpret_cast<LPARAM>(buffer.get()));
        SCI(SCI_SETUNDOCOLLECTION, 1);
        SCI(SCI_EMPTYUNDOBUFFER);
        SCI(SCI_SETSAVEPOINT);
        ProjectSettingsChanged = false;
        if (!PendingSettings.empty()) {
            SCI(SCI_GOTOLINE, SCI(SCI_GETLINECOUNT));
            SetTimer(MainWindow, PENDINGSETTINGSTIMER, 55, nullptr);
        } else {
            // Caret and view at the start of the text. The caret is there
            // already; placing it without the scroll check of SCI_GOTOPOS
            // spares the layout of the whole first line, which on a file of
            // one long line costs as much as the load itself.
            SCI(SCI_SETEMPTYSELECTION, 0);
            SCI(SCI_SETXOFFSET, 0);
        }
    }
done:
    SetFocus(EditorControl);
    return status;
}

std::int32_t SAVEFILE() {
    std::int32_t status = 0;
    if (AppSettings.CurrentFile.empty()) {
        status = 1;
    } else {
        const std::size_t length = static_cast<std::size_t>(SCI(SCI_GETLENGTH));
        std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
        if (!text) {
            status = 3;
        } else {
            SCI(SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.get()));
            SafeFileWriter writer;
            status = writer.BEGIN(AppSettings.CurrentFile);
            if (status == 0) {
                writer.WRITE(std::string_view(text.get(), length));
                text.reset();
                writer.WRITE(MAKESETTINGSBLOCK());
                status = writer.COMMIT();
            }
            if (status == 0) {
                SCI(SCI_SETSAVEPOINT);
                ProjectSettingsChanged = false;
            }
        }
    }
    switch (status) {
    case 1:
        SHOWERROR("No file opened.");
        break;
    case 2:
        SHOWERROR("Couldn't create/overwrite the file\r" + AppSettings.CurrentFile);
        break;
    case 3:
        SHOWERROR("Error when writing to file\r" + AppSettings.CurrentFile);
        break;
    default:
        break;
    }
    return status;
}

std::int32_t SAVEFILEAS() {
    const bool untitled = AppSettings.CurrentFile.empty();
    std::string folder = AppSettings.CurrentDir;
    if (untitled && folder.empty())
        folder = AppSettings.ExeDir;
    std::string name;
    std::int32_t filter = 1;
    if (!SHOWFILEDIALOG(true, folder, untitled ? std::string() : AppSettings.CurrentFile, name, &filter))
        return 2;
    name = APPLYEXTENSIONRULE(name, filter);
    if (ISRTFNAME(name))
        return EXPORTRTF(name);
    AppSettings.CurrentFile = CUTTEXT(name, MAXPATHCHARS);
    AppSettings.CurrentDir = FOLDEROF(AppSettings.CurrentFile, "");
    UPDATETITLE();
    return SAVEFILE();
}

std::int32_t EXPORTRTF(const std::string &name) {
    std::int32_t status = 0;
    if (name.empty()) {
        status = 1;
    } else {
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
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
                writer.WRITE(RTFHEADER(AppSettings.Font, AppSettings.FontSize, AppSettings.SyntaxColors));
                const auto writeLine = [&writer](std::string_view line) { return writer.WRITE(line); };
                std::string line;
                unsigned currentStyle = 0;
                bool complete = true;
                for (Sci_Position start = 0; complete && start < length; start += piece) {
                    const Sci_Position end = start + piece < length ? start + piece : length;
                    Sci_TextRangeFull range{{start, end}, styled.get()};
                    SCI(SCI_GETSTYLEDTEXTFULL, 0, reinterpret_cast<LPARAM>(&range));
                    complete = APPENDRTFBODY(reinterpret_cast<const unsigned char *>(styled.get()),
                                             static_cast<std::size_t>(end - start), writeLine, line, currentStyle);
                }
                line += "\\par}";
                writer.WRITE(line);
                status = writer.COMMIT();
            }
        }
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
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
