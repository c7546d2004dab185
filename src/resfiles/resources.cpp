// Resource commands: finding the listing's resource file, creating an empty
// one, and starting the resource editor or the PowerBASIC converter on it.
#include <windows.h>

#include <string>
#include <vector>

#include "Scintilla.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/process.h"
#include "services/commandline.h"
#include "services/fileio.h"
#include "services/pathtext.h"
#include "services/wintext.h"
#include "document/document.h"
#include "resfiles/resfiles.h"
#include "resfiles/resrules.h"

namespace {

// A file, not a folder, is there under the name. A file that another program
// holds open is there all the same, so it is never taken for missing.
bool ISFILE(const std::string &path) {
    if (path.empty())
        return false;
    const DWORD attributes = FILEATTRIBUTES(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ASKYESNO(const std::string &text, const char *caption) {
    return MESSAGEBOX(MainWindow, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void SHOWSTOP(const std::string &text) {
    MESSAGEBOX(MainWindow, text, nullptr, MB_ICONHAND);
}

// The listing's first lines, each with its line end, as the statement search
// wants them.
std::vector<std::string> LEADINGLINES() {
    std::vector<std::string> lines;
    const LRESULT count = SCI(SCI_GETLINECOUNT);
    for (LRESULT line = 0; line < count && lines.size() < RESOURCESCANLINES; ++line) {
        const LRESULT length = SCI(SCI_LINELENGTH, static_cast<WPARAM>(line));
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        if (length > 0)
            SCI(SCI_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        lines.push_back(std::move(text));
    }
    return lines;
}

// Writes the empty resource file's bytes to a new file in the folder of name
// and returns that file's name, or an empty string when it could not be
// written completely (nothing is left behind then).
std::string WRITENEWBESIDE(const std::string &name) {
    FileHandle file;
    const std::string path = CREATETEMPORARY(FOLDEROF(name, ".\\"), file);
    if (path.empty())
        return std::string();
    const bool written = WRITEALL(file.GET(), EMPTYRESFILEBYTES()) && FlushFileBuffers(file.GET());
    file.RESET();
    if (!written) {
        DELETEPATH(path);
        return std::string();
    }
    return path;
}

// Puts the new file in place of name. An existing file goes to name + ".bak"
// first, unless such a backup exists already: that one is kept and the file
// is replaced without a new backup. When this fails, name still holds what it
// held before.
bool MOVEINTOPLACE(const std::string &temporary, const std::string &name, bool exists) {
    if (!exists)
        return MOVEPATH(temporary, name, MOVEFILE_WRITE_THROUGH);
    const std::string backup = name + ".bak";
    if (MOVEPATH(name, backup, 0)) {
        if (MOVEPATH(temporary, name, MOVEFILE_WRITE_THROUGH))
            return true;
        MOVEPATH(backup, name, 0);
        return false;
    }
    return MOVEPATH(temporary, name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Starts a tool on the resource file, as WinExec would, but in the resource
// file's folder: relative names in the tool's own files then mean the same as
// for the compiler, whatever folder a file dialog left the editor in. A start
// failure is reported with the tool's path.
void STARTTOOL(const std::string &program, const std::string &file, WORD showState, const std::string &failure) {
    // A relative tool name is the user's configured tool, never a program of
    // that name in the listing's folder.
    const std::string tool = TOOLPATH(program);
    const bool isFile = ISFILE(tool);
    // The tools read their command line in the system's ANSI code page: a
    // resource file whose path that code page cannot hold goes by its short
    // name, or not at all.
    std::string given;
    if (!program.empty() && !ANSIPATHOF(file, given)) {
        SHOWSTOP(NOANSIPATHMESSAGE(file));
        return;
    }
    const std::string commandLine = TOOLCOMMANDLINE(tool, isFile, given);
    std::string folder = FOLDEROF(file);
    const DWORD attributes = FILEATTRIBUTES(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        folder.clear();
    // An empty setting starts nothing: the command line would begin with the
    // resource file's name. A setting that is no file may be a command with
    // options of its own, started as the system finds it.
    bool started = false;
    if (isFile)
        started = STARTDETACHED(tool, commandLine, folder, showState);
    else if (!program.empty())
        started = STARTDETACHED(std::string(), commandLine, folder, showState);
    if (!started)
        SHOWSTOP(failure);
}

}  // namespace

std::int32_t CREATEEMPTYRESFILE(const std::string &name) {
    if (!HASRESEXTENSION(name)) {
        SHOWSTOP(BADEXTENSIONMESSAGE(name));
        return 0;
    }
    const bool exists = ISFILE(name);
    if (exists && !ASKYESNO(OVERWRITEQUESTION(name), DEFAULTTITLE))
        return 0;
    // The old file is touched only once the new one is complete on disk.
    const std::string temporary = WRITENEWBESIDE(name);
    if (temporary.empty() || !MOVEINTOPLACE(temporary, name, exists)) {
        if (!temporary.empty())
            DELETEPATH(temporary);
        SHOWSTOP(WRITEFAILEDMESSAGE(name));
        return 1;
    }
    return 0;
}

std::int32_t GETRESOURCEFILENAME(std::string &name) {
    name.clear();
    const std::string &listing = Document.CurrentFile;
    // The commands are grayed without a file; an accelerator may still come.
    if (listing.empty())
        return 0;
    APPLYFILESETTINGS();
    std::string candidate;
    if (AppSettings.CompilerType != POWERBASICCOMPILER) {
        // A name from the listing's settings block that no command line can
        // carry safely is refused: nothing is created or started.
        if (!ISSAFENAME(Document.ProjectSettings.ResourceFile)) {
            SHOWSTOP(UNSAFENAMEMESSAGE("ZERESFILE", Document.ProjectSettings.ResourceFile));
            return 0;
        }
        if (!Document.ProjectSettings.ResourceFile.empty()) {
            candidate = RESOLVERESOURCENAME(listing, Document.ProjectSettings.ResourceFile);
        } else {
            const std::string proposed = PROPOSEDRESOURCENAME(listing);
            if (!ASKYESNO(PROPOSALQUESTION(proposed), nullptr))
                return 0;
            candidate = proposed;
        }
    } else {
        const RESOURCESTATEMENT statement = FINDRESOURCESTATEMENT(LEADINGLINES());
        if (statement.Status == RESSTATEMENTMISSING) {
            SHOWSTOP(NOSTATEMENTMESSAGE);
            return 0;
        }
        if (statement.Status != RESSTATEMENTFOUND) {
            SHOWSTOP(BADSTATEMENTMESSAGE);
            return 0;
        }
        if (!ISSAFENAME(statement.Name)) {
            SHOWSTOP(UNSAFENAMEMESSAGE("#Resource", statement.Name));
            return 0;
        }
        candidate = PBRESOURCENAME(listing, statement.Name);
    }
    if (!ISFILE(candidate)) {
        if (!ASKYESNO(CREATEQUESTION(candidate), DEFAULTTITLE))
            return 0;
        if (CREATEEMPTYRESFILE(candidate) != 0)
            return 0;
    }
    name = candidate;
    return static_cast<std::int32_t>(name.size());
}

void EDITRESOURCES() {
    std::string name;
    if (GETRESOURCEFILENAME(name) == 0)
        return;
    STARTTOOL(AppSettings.ResourceEditor, name, SW_SHOW, EDITORSTARTMESSAGE(AppSettings.ResourceEditor));
}

void UPDATEPBRESOURCES() {
    std::string name;
    if (GETRESOURCEFILENAME(name) == 0)
        return;
    STARTTOOL(AppSettings.PbResourceConverter, name, SW_SHOWMINNOACTIVE,
              CONVERTERSTARTMESSAGE(AppSettings.PbResourceConverter));
}
