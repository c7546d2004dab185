// Compiling the listing with the FreeBASIC or PowerBASIC compiler, landing on
// the first error it reports, and starting the built program.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/process.h"
#include "services/commandline.h"
#include "services/pathtext.h"
#include "build/build.h"
#include "build/buildrules.h"
#include "build/childprocess.h"
#include "document/document.h"

BUILDSEAMS BuildSeams;

namespace {

void SHOWERROR(const std::string &text, const char *caption) {
    MessageBoxA(MainWindow, text.c_str(), caption, MB_OK | MB_ICONHAND);
}

// The wait cursor while the compiler runs; the arrow again afterwards.
class WaitCursor {
public:
    WaitCursor() { SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }
    ~WaitCursor() { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

DWORD TIMEOUTMS() {
    const auto seconds = static_cast<DWORD>(std::clamp<std::int32_t>(AppSettings.CompileTimeout, 0, 30));
    return seconds * 1000;
}

// A line the compiler names may lie beyond the text; it is taken as the last.
Sci_Position EXISTINGLINE(std::int64_t line) {
    const auto last = static_cast<std::int64_t>(SCI(SCI_GETLINECOUNT)) - 1;
    return static_cast<Sci_Position>(std::clamp<std::int64_t>(line, 0, std::max<std::int64_t>(last, 0)));
}

// Caret at the start of the line, unfolded, no selection, in view.
void GOTOLINESTART(std::int64_t errorLine) {
    const Sci_Position line = EXISTINGLINE(errorLine);
    const auto position = SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(line));
    SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(line));
    SCI(SCI_SETCURRENTPOS, static_cast<WPARAM>(position));
    SCI(SCI_SETANCHOR, static_cast<WPARAM>(position));
    SCI(SCI_SCROLLCARET);
}

// The word that starts at the column selected, caret at its end.
void SELECTERRORWORD(const LOGERRORPOSITION &error) {
    const Sci_Position line = EXISTINGLINE(error.Line);
    const auto lineStart = SCI(SCI_POSITIONFROMLINE, static_cast<WPARAM>(line));
    const auto lineEnd = SCI(SCI_GETLINEENDPOSITION, static_cast<WPARAM>(line));
    const auto position = static_cast<LRESULT>(std::min<std::int64_t>(lineStart + error.Column, lineEnd));
    const auto end = SCI(SCI_WORDENDPOSITION, static_cast<WPARAM>(position), 0);
    SCI(SCI_ENSUREVISIBLE, static_cast<WPARAM>(line));
    SCI(SCI_SETCURRENTPOS, static_cast<WPARAM>(end));
    SCI(SCI_SETANCHOR, static_cast<WPARAM>(position));
    SCI(SCI_SCROLLCARET);
}

// Starts the built program without waiting for it, in the listing's folder.
// A relative name means that folder; the program is named as the file to
// run, so a path with blanks is neither split nor taken for a program whose
// name is a prefix of it.
void STARTPROGRAM(const std::string &program, const std::string &listingFolder) {
    const std::string path = TOOLNAMEKINDOF(program) == TOOLABSOLUTE ? program : listingFolder + program;
    if (!STARTDETACHED(path, QUOTEARGUMENT(path), listingFolder, SW_SHOW))
        MessageBoxA(MainWindow, PROGRAMNOTFOUNDMESSAGE(program).c_str(), nullptr, MB_OK | MB_ICONHAND);
}

// Where the volume has no short names, the long name comes back; the
// command line quotes it then. A test may ask for that here.
std::string SHORTPATH(const std::string &path) {
    if (path.empty())
        return std::string();
    if (BuildSeams.NoShortNames)
        return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : path;
    const DWORD needed = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0)
        return std::string();
    std::string buffer(needed, '\0');
    const DWORD got = GetShortPathNameA(path.c_str(), buffer.data(), needed);
    if (got == 0 || got >= needed)
        return std::string();
    buffer.resize(got);
    return buffer;
}

// Reads a whole file; false when it cannot be opened or read.
bool READWHOLE(const std::string &path, std::string &bytes) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.OK())
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.GET(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF)
        return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && !ReadFile(file.GET(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        return false;
    bytes.resize(got);
    return true;
}

// Both compilers run in the listing's folder, given as their working folder
// (the editor's own stays where it is), and are given its bare name; a
// listing without a usable name is reported instead.
bool CHECKLISTINGNAME(const std::string &listing, const std::string &name) {
    if (name.empty()) {
        SHOWERROR(NOFILENAMEMESSAGE(listing), COMPILERERRORCAPTION);
        return false;
    }
    return true;
}

// Names the listing's settings block hands to the compiler: one that holds a
// double quote, a control character or a zero byte could end its argument
// and add options of the listing's own choosing, so nothing is compiled.
bool SAFEPROJECTNAMES(const PROJECTSETTINGSRECORD &project) {
    const std::pair<const char *, const std::string *> names[] = {{"ZEOUTFILE", &project.OutputFile},
                                                                  {"ZERESFILE", &project.ResourceFile}};
    for (const auto &[key, value] : names) {
        if (!ISSAFENAME(*value)) {
            SHOWERROR(UNSAFENAMEMESSAGE(key, *value), COMPILERERRORCAPTION);
            return false;
        }
    }
    return true;
}

// The compiler did not end within the time-out: it is ended with everything
// it started, and the box says so above what it had printed.
void REPORTTIMEOUT(ChildProcess &compiler, const std::string &printed) {
    compiler.END();
    const std::string text = COMPILERTIMEOUTMESSAGE(AppSettings.CompileTimeout) + (printed.empty() ? "" : "\r\r" + printed);
    MessageBoxA(MainWindow, text.c_str(), COMPILERRESULTCAPTION, MB_OK | MB_ICONWARNING);
}

}  // namespace

std::int32_t FINDCOMPILEDIRECTIVE(std::string &name) {
    std::vector<std::string> lines;
    const auto count = std::min<LRESULT>(SCI(SCI_GETLINECOUNT), static_cast<LRESULT>(DIRECTIVESCANLINES));
    for (LRESULT line = 0; line < count; ++line) {
        const auto length = SCI(SCI_LINELENGTH, static_cast<WPARAM>(line));
        std::string text;
        // Short lines are not fetched at all: they cannot hold the directive.
        if (length > static_cast<LRESULT>(DIRECTIVESHORTLINE)) {
            text.assign(static_cast<std::size_t>(length), '\0');
            SCI(SCI_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(text.data()));
        }
        lines.push_back(std::move(text));
    }
    return SCANCOMPILEDIRECTIVE(lines, name);
}

std::int32_t COMPILEFREEBASIC(std::int32_t runAfter) {
    if (AppSettings.IncludeDir.empty()) {
        SHOWERROR(NOINCLUDEMESSAGE(), COMPILERERRORCAPTION);
        return 1;
    }
    const std::string compilerPath = TOOLPATH(AppSettings.Compiler);
    if (GetFileAttributesA(compilerPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        SHOWERROR(NOFREEBASICCOMPILERMESSAGE(), COMPILERERRORCAPTION);
        return 1;
    }
    const std::string listing = Document.CurrentFile;
    const std::string name = FILEPART(listing);
    if (!CHECKLISTINGNAME(listing, name))
        return 1;
    const PROJECTSETTINGSRECORD project = Document.ProjectSettings;
    if (!SAFEPROJECTNAMES(project))
        return 1;
    const std::string command = FREEBASICCOMMANDLINE(AppSettings.IncludeDir, name, project.TargetType,
                                                     project.OutputFile, project.ResourceFile);
    std::string output;
    DWORD exitCode = STILL_ACTIVE;
    {
        ChildProcess compiler;
        if (!compiler.STARTCAPTURED(compilerPath, command, FOLDEROF(listing))) {
            SHOWERROR(FREEBASICSTARTMESSAGE(compilerPath, command), COMPILERERRORCAPTION);
            return 1;
        }
        WaitCursor waiting;
        exitCode = compiler.WAIT(TIMEOUTMS(), COMPILEROUTPUTBYTES);
        output = compiler.OUTPUT();
        if (!output.empty())
            OemToCharBuffA(output.data(), output.data(), static_cast<DWORD>(output.size()));
        output = OUTPUTSHOWN(output);
        if (exitCode == STILL_ACTIVE) {
            REPORTTIMEOUT(compiler, output);
            return 3;
        }
    }

    std::int32_t status = 0;
    const std::int64_t errorLine = FINDERRORLINE(output, name);
    if (errorLine >= 0) {
        GOTOLINESTART(errorLine);
        status = 2;
    }
    if (runAfter == 0 || exitCode != 0) {
        MessageBoxA(MainWindow, output.c_str(), COMPILERRESULTCAPTION, MB_OK);
        return status;
    }
    const std::string program = FREEBASICPROGRAM(listing, project.TargetType, project.OutputFile);
    if (!program.empty())
        STARTPROGRAM(program, FOLDEROF(listing));
    return status;
}

std::int32_t COMPILEPOWERBASIC(std::int32_t runAfter) {
    const std::string includeDir = SHORTPATH(AppSettings.IncludeDir);
    if (includeDir.empty()) {
        SHOWERROR(NOINCLUDEMESSAGE(), COMPILERERRORCAPTION);
        return 1;
    }
    const std::string compilerPath = SHORTPATH(TOOLPATH(AppSettings.Compiler));
    if (compilerPath.empty()) {
        SHOWERROR(NOPOWERBASICCOMPILERMESSAGE(), COMPILERERRORCAPTION);
        return 1;
    }
    const std::string listing = Document.CurrentFile;
    const std::string name = FILEPART(listing);
    if (!CHECKLISTINGNAME(listing, name))
        return 1;
    const std::string command = POWERBASICCOMMANDLINE(compilerPath, name, includeDir);
    {
        ChildProcess compiler;
        if (!compiler.STARTPLAIN(compilerPath, command, FOLDEROF(listing))) {
            SHOWERROR(POWERBASICSTARTMESSAGE(command), COMPILERERRORCAPTION);
            return 1;
        }
        WaitCursor waiting;
        // The log is only read once the compiler has ended and let go of it.
        if (compiler.WAIT(TIMEOUTMS(), 0) == STILL_ACTIVE) {
            REPORTTIMEOUT(compiler, std::string());
            return 3;
        }
    }

    // A listing whose own name is its log's (x.log) would be read as its log
    // and deleted: it is neither.
    const std::string logName = LOGFILENAME(listing);
    std::string log;
    if (LOGISLISTING(listing) || !READWHOLE(logName, log)) {
        SHOWERROR(NOLOGMESSAGE(logName), COMPILINGERRORCAPTION);
        return 2;
    }
    DeleteFileA(logName.c_str());

    std::int32_t status = 0;
    const LOGERRORPOSITION error = FINDLOGERROR(log);
    if (error.Found) {
        SELECTERRORWORD(error);
        status = 2;
    }
    if (runAfter == 0 || error.Found) {
        MessageBoxA(MainWindow, log.c_str(), COMPILERRESULTCAPTION, MB_OK);
        return status;
    }
    std::string directiveName;
    const std::int32_t kind = FINDCOMPILEDIRECTIVE(directiveName);
    const std::string program = POWERBASICPROGRAM(listing, kind, directiveName);
    if (!program.empty())
        STARTPROGRAM(program, FOLDEROF(listing));
    return status;
}
