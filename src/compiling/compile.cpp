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
#include "services/fileio.h"
#include "services/pathtext.h"
#include "services/wintext.h"
#include "compiling/build.h"
#include "compiling/buildrules.h"
#include "compiling/childprocess.h"
#include "compiling/errorlist.h"
#include "compiling/errormarks.h"
#include "document/document.h"

namespace {

void SHOWERROR(const std::string &text, const char *caption) {
    MESSAGEBOX(MainWindow, text, caption, MB_OK | MB_ICONHAND);
}

// The compile under way: set while the compiler runs, so that the window,
// which goes on answering, takes no command but cancelling and closing.
struct COMPILESTATE {
    bool Running = false;
    bool Cancelled = false;
    bool Quietly = false;
} Compiling;

// The compiler runs: the wait cursor over the window and the editing
// control (which sets its own), the arrow and the control's own again
// afterwards.
class RunningCompile {
public:
    RunningCompile() {
        Compiling = COMPILESTATE{true, false, false};
        SCI(SCI_SETCURSOR, SC_CURSORWAIT);
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
    }
    ~RunningCompile() {
        Compiling.Running = false;
        if (IsWindow(EditorControl))
            SCI(SCI_SETCURSOR, static_cast<WPARAM>(SC_CURSORNORMAL));
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
    }
    RunningCompile(const RunningCompile &) = delete;
    RunningCompile &operator=(const RunningCompile &) = delete;
};

bool ISMOUSEBUTTON(UINT message) {
    return (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) ||
           (message >= WM_XBUTTONDOWN && message <= WM_XBUTTONDBLCLK);
}

// One message taken while the compiler runs. What would edit the text or
// start a command is dropped: keys and clicks in the windows (the menu bar,
// the title bar and the frame stay usable). Escape cancels; the keys of
// commands reach the main window, which takes only Compile and Run (to
// cancel) and closing.
void TAKEWHILECOMPILING(MSG &message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
        CANCELCOMPILE(false);
        return;
    }
    const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (key && AccelTable && TranslateAcceleratorW(MainWindow, AccelTable, &message))
        return;
    const bool systemKey = message.message == WM_SYSKEYDOWN || message.message == WM_SYSKEYUP ||
                           message.message == WM_SYSCHAR;
    if ((key && !systemKey) || ISMOUSEBUTTON(message.message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Handles the messages waiting; false once the compile is to end.
bool ANSWERWHILECOMPILING() {
    MSG message;
    while (!Compiling.Cancelled && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the message loop, once the compile has ended.
            PostQuitMessage(static_cast<int>(message.wParam));
            CANCELCOMPILE(true);
            break;
        }
        TAKEWHILECOMPILING(message);
    }
    if (!IsWindow(MainWindow))
        CANCELCOMPILE(true);
    return !Compiling.Cancelled;
}

// The compile was cancelled: the compiler is ended with everything it
// started, and the box says so (unless the window is closing).
void REPORTCANCELLED(ChildProcess &compiler, const std::string &printed) {
    compiler.END();
    if (Compiling.Quietly || !IsWindow(MainWindow))
        return;
    const std::string text = std::string(COMPILECANCELLEDTEXT) + (printed.empty() ? "" : "\r\r" + printed);
    MESSAGEBOX(MainWindow, text, COMPILERRESULTCAPTION, MB_OK | MB_ICONINFORMATION);
}

// 0 seconds means no time-out: the editor waits until the compiler ends.
DWORD TIMEOUTMS() {
    const auto seconds = static_cast<DWORD>(std::clamp<std::int32_t>(AppSettings.CompileTimeout, 0, 30));
    return seconds == 0 ? INFINITE : seconds * 1000;
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

// The program's full path: a relative name means the listing's folder.
std::string PROGRAMPATH(const std::string &program, const std::string &listingFolder) {
    return TOOLNAMEKINDOF(program) == TOOLABSOLUTE ? program : listingFolder + program;
}

// The program file as it is now: absent, or its size and write time.
PROGRAMFILESTATE PROGRAMSTATEOF(const std::string &path) {
    PROGRAMFILESTATE state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExW(SYSTEMPATH(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return state;
    state.Present = true;
    state.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    state.Written = FILETIMEVALUE(data.ftLastWriteTime);
    return state;
}

// Starts the built program without waiting for it, in the listing's folder.
// The program is named as the file to run, so a path with blanks is neither
// split nor taken for a program whose name is a prefix of it. Only a file
// the compilation itself wrote is started: the name comes from the listing,
// which may be a downloaded one with a program of its choosing beside it,
// dated as its archive kept it. So the file's state before the compilation
// is compared with its state now.
void STARTPROGRAM(const std::string &program, const std::string &listingFolder, const PROGRAMFILESTATE &before) {
    const std::string path = PROGRAMPATH(program, listingFolder);
    const PROGRAMFILESTATE after = PROGRAMSTATEOF(path);
    if (after.Present && !WRITTENBYCOMPILE(before, after)) {
        MESSAGEBOX(MainWindow, NOTBUILTMESSAGE(path), nullptr, MB_OK | MB_ICONHAND);
        return;
    }
    if (!STARTDETACHED(path, QUOTEARGUMENT(path), listingFolder, SW_SHOW))
        MESSAGEBOX(MainWindow, PROGRAMNOTFOUNDMESSAGE(program), nullptr, MB_OK | MB_ICONHAND);
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
    MESSAGEBOX(MainWindow, text, COMPILERRESULTCAPTION, MB_OK | MB_ICONWARNING);
}

// A name for the compiler, which reads its command line in the system's ANSI
// code page: one that the code page holds goes as it is; another as its
// short form, relative names taken in the listing's folder (where the
// compiler works). False, after the message, when it has no such form.
bool COMPILERNAME(const std::string &name, const std::string &listingFolder, std::string &given) {
    if (FITSCODEPAGE(name, CP_ACP)) {
        given = name;
        return true;
    }
    const std::string full = TOOLNAMEKINDOF(name) == TOOLABSOLUTE ? name : listingFolder + name;
    if (ANSIPATHOF(full, given))
        return true;
    SHOWERROR(NOANSIPATHMESSAGE(full), COMPILERERRORCAPTION);
    return false;
}

// The listing's own name as the compiler gets it in its working folder: the
// name itself when the code page holds it, whatever the folder is called (the
// folder is never on the command line), else the name of its short form.
bool LISTINGNAMEFORCOMPILER(const std::string &listing, std::string &given) {
    if (FITSCODEPAGE(FILEPART(listing), CP_ACP)) {
        given = FILEPART(listing);
        return true;
    }
    const std::string shortened = SHORTPATHOF(listing);
    if (shortened.empty() || !FITSCODEPAGE(FILEPART(shortened), CP_ACP)) {
        SHOWERROR(NOANSIPATHMESSAGE(listing), COMPILERERRORCAPTION);
        return false;
    }
    given = FILEPART(shortened);
    return true;
}

// The compiler's output as the user reads it: text in the console's code
// page, as the compilers print it.
std::string OUTPUTTEXT(const std::string &output) {
    return UTF8OFCODEPAGE(output, CP_OEMCP);
}

// A name as the compiler prints it: in the ANSI code page it was given in.
std::string PRINTEDNAME(const std::string &name) {
    std::string ansi;
    return CODEPAGEOFUTF8(name, CP_ACP, ansi) ? ansi : name;
}

}  // namespace

bool COMPILERRUNNING() {
    return Compiling.Running;
}

void CANCELCOMPILE(bool quietly) {
    if (!Compiling.Running)
        return;
    Compiling.Cancelled = true;
    Compiling.Quietly = Compiling.Quietly || quietly;
}

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
    if (FILEATTRIBUTES(compilerPath) == INVALID_FILE_ATTRIBUTES) {
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
    const std::string folder = FOLDEROF(listing);
    std::string includeDir, givenName, outputFile, resourceFile;
    if (!COMPILERNAME(AppSettings.IncludeDir, folder, includeDir) || !LISTINGNAMEFORCOMPILER(listing, givenName) ||
        !COMPILERNAME(project.OutputFile, folder, outputFile) || !COMPILERNAME(project.ResourceFile, folder, resourceFile))
        return 1;
    const std::string command =
        FREEBASICCOMMANDLINE(includeDir, givenName, project.TargetType, outputFile, resourceFile);
    // The program Run would start, as it is before the compiler writes it.
    const std::string program = FREEBASICPROGRAM(listing, project.TargetType, project.OutputFile);
    const PROGRAMFILESTATE before = PROGRAMSTATEOF(program.empty() ? program : PROGRAMPATH(program, folder));
    std::string all, output;
    std::size_t bytesRead = 0;
    DWORD exitCode = STILL_ACTIVE;
    CLEARERRORMARKS();
    {
        ChildProcess compiler;
        if (!compiler.STARTCAPTURED(compilerPath, command, FOLDEROF(listing))) {
            SHOWERROR(FREEBASICSTARTMESSAGE(compilerPath, command), COMPILERERRORCAPTION);
            return 1;
        }
        RunningCompile running;
        // The whole output up to its limit is read for messages; what
        // comes after is drained all the same, so the compiler never waits.
        exitCode = compiler.WAITANSWERING(TIMEOUTMS(), MOSTOUTPUTBYTES, ANSWERWHILECOMPILING);
        all = compiler.OUTPUT();
        bytesRead = compiler.BYTESREAD();
        output = OUTPUTSHOWN(all);
        if (Compiling.Cancelled) {
            REPORTCANCELLED(compiler, OUTPUTTEXT(output));
            return 4;
        }
        if (exitCode == STILL_ACTIVE) {
            REPORTTIMEOUT(compiler, OUTPUTTEXT(output));
            return 3;
        }
    }

    std::int32_t status = 0;
    const std::string printedName = PRINTEDNAME(givenName);
    const std::int64_t errorLine = FINDERRORLINE(output, printedName);
    if (errorLine >= 0) {
        GOTOLINESTART(errorLine);
        status = 2;
    }
    const COMPILERMESSAGELIST messages = FREEBASICMESSAGES(all, printedName, SCI(SCI_GETLINECOUNT));
    SHOWERRORMARKS(messages, CP_OEMCP);
    if (runAfter == 0 || exitCode != 0) {
        const std::string last = RESULTLASTLINE(bytesRead, messages.Beyond);
        MESSAGEBOX(MainWindow, OUTPUTTEXT(output) + (last.empty() ? "" : "\r" + last), COMPILERRESULTCAPTION, MB_OK);
        return status;
    }
    if (!program.empty())
        STARTPROGRAM(program, folder, before);
    return status;
}

std::int32_t COMPILEPOWERBASIC(std::int32_t runAfter) {
    const std::string includeDir = SHORTPATHOF(AppSettings.IncludeDir);
    if (includeDir.empty()) {
        SHOWERROR(NOINCLUDEMESSAGE(), COMPILERERRORCAPTION);
        return 1;
    }
    const std::string compilerPath = SHORTPATHOF(TOOLPATH(AppSettings.Compiler));
    if (compilerPath.empty()) {
        SHOWERROR(NOPOWERBASICCOMPILERMESSAGE(), COMPILERERRORCAPTION);
        return 1;
    }
    const std::string listing = Document.CurrentFile;
    const std::string name = FILEPART(listing);
    if (!CHECKLISTINGNAME(listing, name))
        return 1;
    std::string givenName;
    if (!LISTINGNAMEFORCOMPILER(listing, givenName))
        return 1;
    // Short forms that still hold a character the code page lacks.
    for (const auto &[shortened, configured] : {std::pair{&compilerPath, &AppSettings.Compiler},
                                                std::pair{&includeDir, &AppSettings.IncludeDir}}) {
        if (!FITSCODEPAGE(*shortened, CP_ACP)) {
            SHOWERROR(NOANSIPATHMESSAGE(*configured), COMPILERERRORCAPTION);
            return 1;
        }
    }
    const std::string command = POWERBASICCOMMANDLINE(compilerPath, givenName, includeDir);
    // The program Run would start, as it is before the compiler writes it.
    std::string directiveName;
    const std::int32_t kind = FINDCOMPILEDIRECTIVE(directiveName);
    const std::string program = POWERBASICPROGRAM(listing, kind, directiveName);
    const PROGRAMFILESTATE before =
        PROGRAMSTATEOF(program.empty() ? program : PROGRAMPATH(program, FOLDEROF(listing)));
    CLEARERRORMARKS();
    {
        ChildProcess compiler;
        if (!compiler.STARTPLAIN(compilerPath, command, FOLDEROF(listing))) {
            SHOWERROR(POWERBASICSTARTMESSAGE(command), COMPILERERRORCAPTION);
            return 1;
        }
        RunningCompile running;
        // The log is only read once the compiler has ended and let go of it.
        const DWORD exitCode = compiler.WAITANSWERING(TIMEOUTMS(), 0, ANSWERWHILECOMPILING);
        if (Compiling.Cancelled) {
            REPORTCANCELLED(compiler, std::string());
            return 4;
        }
        if (exitCode == STILL_ACTIVE) {
            REPORTTIMEOUT(compiler, std::string());
            return 3;
        }
    }

    // A listing whose own name is its log's (x.log) would be read as its log
    // and deleted: it is neither. The log is named after the name the
    // compiler was given, which may be the listing's short form (Ωmega.logx
    // is MEGA~1.LOG): so the files are compared, not their names.
    const std::string logName = LOGFILENAME(FOLDEROF(listing) + givenName);
    std::string log;
    if (LOGISLISTING(listing) || SAMEFILE(logName, listing) || !READFILEBYTES(logName, log, 0x7FFFFFFF)) {
        SHOWERROR(NOLOGMESSAGE(logName), COMPILINGERRORCAPTION);
        return 2;
    }
    DELETEPATH(logName);
    // The log is text in the system's ANSI code page.
    log = UTF8OFCODEPAGE(log, CP_ACP);

    std::int32_t status = 0;
    const LOGERRORPOSITION error = FINDLOGERROR(log);
    if (error.Found) {
        SELECTERRORWORD(error);
        status = 2;
    }
    const COMPILERMESSAGELIST messages = POWERBASICMESSAGES(log, givenName, SCI(SCI_GETLINECOUNT));
    SHOWERRORMARKS(messages, CP_UTF8);
    if (runAfter == 0 || error.Found) {
        const std::string last = RESULTLASTLINE(0, messages.Beyond);
        MESSAGEBOX(MainWindow, log + (last.empty() ? "" : "\r" + last), COMPILERRESULTCAPTION, MB_OK);
        return status;
    }
    if (!program.empty())
        STARTPROGRAM(program, FOLDEROF(listing), before);
    return status;
}
