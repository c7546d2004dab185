// Recovery copies of unsaved text: while the document holds changes that are
// not on disk, what a save would write goes, a few seconds after typing
// pauses (and at most a few seconds apart while it goes on), to a file of
// this running program in the folder "Recovery" beside the settings file. A
// save, New, Open and a clean close remove it; a copy whose program did not
// end cleanly is offered back at the next start.
#include <windows.h>

#include <atomic>
#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "Scintilla.h"
#include "document/document.h"
#include "document/recoveryrules.h"
#include "document/settingsblock.h"
#include "services/barrier.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/fileio.h"
#include "services/handles.h"
#include "services/pathtext.h"
#include "services/textcodes.h"
#include "services/wintext.h"

RECOVERYTIMING RecoveryTiming;

namespace {

// How often the timer looks whether a copy is due.
constexpr UINT TICKMS = 250;
// A listing of this many bytes waits one more step for each: the copy of a
// large listing costs more, and is taken less often.
constexpr std::size_t LARGELISTINGBYTES = 8u << 20;
// The memory of the last copy is kept for the next up to this size: fresh
// memory costs the window more time to fill than the copy itself. A larger
// listing's copy gives its memory back.
constexpr std::size_t SPAREBYTES = 32u << 20;

struct RECOVERYSTATE {
    std::string Folder;
    std::string File;
    std::uint64_t Started = 0;
    // Changes not in any copy yet, and when the first and the last came.
    bool Due = false;
    DWORD FirstChange = 0;
    DWORD LastChange = 0;
    // The copy on disk is ours and holds unsaved text.
    std::atomic<bool> Present{false};
    // A restored copy that could not be moved to this program's own name
    // (it stays under its writer's): it is ours all the same, and goes when
    // ours is written or the text is saved or given up.
    std::string Adopted;
    std::atomic<bool> Writing{false};
    std::thread Writer;
    // The last copy's memory, handed back by the writer; touched by the
    // window only once the writer has been joined.
    std::string Spare;
    bool FailureReported = false;
    // A copy still being written when the process ends is finished first.
    ~RECOVERYSTATE() {
        if (Writer.joinable())
            Writer.join();
    }
};

RECOVERYSTATE &STATE() {
    static RECOVERYSTATE state;
    return state;
}

std::uint64_t PROCESSSTART(HANDLE process) {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user))
        return 0;
    return FILETIMEVALUE(created);
}

// The base name of the program file: copies of the program under other
// names keep their copies apart, as they keep their settings.
std::string PROGRAMBASE() {
    std::string base = FILEPART(AppSettings.ExePath);
    const std::size_t dot = base.rfind('.');
    return dot == std::string::npos ? base : base.substr(0, dot);
}

void FINISHWRITING() {
    RECOVERYSTATE &state = STATE();
    if (state.Writer.joinable())
        state.Writer.join();
}

// Writes a copy through the safe writer, on a thread of its own: the text
// is either the copy before or this one, never a part of one.
void WRITECOPY(std::string bytes, bool wait) {
    RECOVERYSTATE &state = STATE();
    FINISHWRITING();
    state.Writing = true;
    const std::string folder = state.Folder;
    const std::string file = state.File;
    const std::string adopted = state.Adopted;
    const bool throws = RecoveryTiming.WriterThrows;
    const HWND window = MainWindow;
    state.Writer = std::thread([bytes = std::move(bytes), folder, file, adopted, throws, window]() mutable {
        // Nothing may leave this thread: an exception here would end the
        // process, and the unsaved text with it. Whatever goes wrong is
        // reported as a write that failed, and the next change tries again.
        bool written = false;
        try {
            if (throws)
                throw std::runtime_error("recovery writer");
            CreateDirectoryW(SYSTEMPATH(folder).c_str(), nullptr);
            SafeFileWriter writer;
            written = writer.BEGIN(file) == 0 && writer.WRITE(bytes) && writer.COMMIT() == 0;
            // Ours holds the text now: the restored copy it came from goes.
            if (written && !adopted.empty())
                DELETEPATH(adopted);
        } catch (...) {
            written = false;
        }
        if (written)
            STATE().Present = true;
        else if (window)
            PostMessageW(window, WM_RECOVERYFAILED, 0, 0);
        if (bytes.capacity() <= SPAREBYTES) {
            bytes.clear();
            STATE().Spare = std::move(bytes);
        }
        STATE().Writing = false;
    });
    if (wait)
        FINISHWRITING();
}

// What a save would write now, after the recovery header.
bool TAKECOPY(std::string &bytes) {
    APPLYFILESETTINGS();
    const auto length = static_cast<std::size_t>(SCI(SCI_GETLENGTH));
    const char *text = CONTROLTEXT();
    if (!text && length > 0)
        return false;
    const std::string block = RECOVERYSETTINGSBLOCK();
    RECOVERYHEADER header;
    header.Listing = Document.CurrentFile;
    header.Written = NOWFILETIME();
    header.Length = (Document.ByteOrderMark ? UTF8MARK.size() : 0) + length + block.size();
    const DISKSTAMP &disk = Document.Stamp;
    if (disk.Known && disk.Path == Document.CurrentFile) {
        header.Disk = disk.Absent ? RECOVERYHEADER::DISKABSENT : RECOVERYHEADER::DISKPRESENT;
        header.DiskSize = disk.Size;
        header.DiskWritten = disk.LastWrite;
    }
    const std::string head = BUILDRECOVERYHEADER(header);
    bytes.reserve(head.size() + static_cast<std::size_t>(header.Length));
    bytes = head;
    if (Document.ByteOrderMark)
        bytes += UTF8MARK;
    if (length > 0)
        bytes.append(text, length);
    bytes += block;
    return true;
}

// Takes a copy when the document holds unsaved changes, and removes ours
// when it holds none.
void COPYNOW(bool wait) {
    RECOVERYSTATE &state = STATE();
    state.Due = false;
    if (state.File.empty())
        return;
    if (!DOCUMENTMODIFIED()) {
        // Back at the saved text (an undo, say), also while a copy is being
        // written: that copy must not outlive the changes it holds.
        if (state.Present || state.Writing || !state.Adopted.empty())
            DROPRECOVERY();
        return;
    }
    std::string bytes;
    if (!state.Writing) {
        FINISHWRITING();
        bytes.swap(state.Spare);
    }
    try {
        if (!TAKECOPY(bytes))
            return;
    } catch (const std::bad_alloc &) {
        // No room for a copy of this listing now; the next change tries again.
        return;
    }
    WRITECOPY(std::move(bytes), wait);
}

VOID CALLBACK RECOVERYTIMERPROC(HWND window, UINT, UINT_PTR id, DWORD) {
    GUARDED(window, 0, [window, id] {
        RECOVERYSTATE &state = STATE();
        if (!state.Due) {
            KillTimer(window, id);
            return 0;
        }
        if (state.Writing)
            return 0;
        const DWORD steps = 1 + static_cast<DWORD>(static_cast<std::size_t>(SCI(SCI_GETLENGTH)) / LARGELISTINGBYTES);
        const DWORD now = GetTickCount();
        if (now - state.LastChange >= RecoveryTiming.PauseMs * steps ||
            now - state.FirstChange >= RecoveryTiming.LongestMs * steps) {
            KillTimer(window, id);
            COPYNOW(false);
        }
        return 0;
    });
}

// "8.12.2026, 10:15" in the user's own way of writing dates and times.
std::string WHENTEXT(std::uint64_t written) {
    FILETIME utc{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return "?";
    wchar_t date[128] = {}, clock[128] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, 128);
    return UTF8OF(date) + ", " + UTF8OF(clock);
}

// True while the program that wrote a copy is running: the copy's name
// holds its process id and start time.
bool WRITERRUNS(const std::string &name) {
    std::uint32_t id = 0;
    std::uint64_t started = 0;
    if (!RECOVERYFILEOWNER(name, PROGRAMBASE(), id, started))
        return false;
    // A program that has ended may still be there as long as some other
    // program holds a handle of it.
    KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id));
    if (!process.OK())
        return RECOVERYOWNERRUNS(false, GetLastError(), false, false);
    return RECOVERYOWNERRUNS(true, 0, WaitForSingleObject(process.GET(), 0) == WAIT_TIMEOUT,
                             PROCESSSTART(process.GET()) == started);
}

struct STALECOPY {
    std::string Path;
    RECOVERYHEADER Header;
};

// Reads a copy's header; the status says what is wrong with it.
RECOVERYSTATUS READHEADER(const std::string &path, RECOVERYHEADER &header) {
    FileHandle file(OPENFORREADING(path));
    if (!file.OK())
        return RECOVERYDAMAGED;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.GET(), &size))
        return RECOVERYDAMAGED;
    std::string first(std::min<std::uint64_t>(static_cast<std::uint64_t>(size.QuadPart), RECOVERYHEADERMAX), '\0');
    DWORD got = 0;
    if (!first.empty() && !ReadFile(file.GET(), first.data(), static_cast<DWORD>(first.size()), &got, nullptr))
        return RECOVERYDAMAGED;
    first.resize(got);
    std::size_t offset = 0;
    return PARSERECOVERYHEADER(first, static_cast<std::uint64_t>(size.QuadPart), header, offset);
}

// The copy's text (after its header), or false: read where it lies.
bool READCOPY(const std::string &path, std::string &text) {
    std::string bytes;
    RECOVERYHEADER header;
    std::size_t offset = 0;
    if (!READFILEBYTES(path, bytes, 0x7FFFFFFF) || PARSERECOVERYHEADER(bytes, bytes.size(), header, offset) != RECOVERYOK)
        return false;
    bytes.erase(0, offset);
    text = std::move(bytes);
    return true;
}

// The stale copies of this program in the folder, and one line for each
// that cannot be offered.
std::vector<STALECOPY> STALECOPIES(std::vector<std::string> &problems) {
    RECOVERYSTATE &state = STATE();
    std::vector<STALECOPY> copies;
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW(SYSTEMPATH(state.Folder + "*" + std::string(RECOVERYEXTENSION)).c_str(), &entry));
    if (!find.OK())
        return copies;
    const std::string base = PROGRAMBASE();
    do {
        const std::string name = UTF8OF(entry.cFileName);
        const std::string path = state.Folder + name;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !ISRECOVERYFILENAME(name, base) ||
            path == state.File || WRITERRUNS(name))
            continue;
        STALECOPY copy{path, {}};
        const RECOVERYSTATUS status = READHEADER(path, copy.Header);
        if (status == RECOVERYOK)
            copies.push_back(std::move(copy));
        else
            problems.push_back(RECOVERYPROBLEMTEXT(status, path));
    } while (FindNextFileW(find.GET(), &entry));
    return copies;
}

// The copy becomes the document: under its listing's name, modified, its
// file on disk untouched until the next save. It is read where it lies, and
// taken over as this program's own only once its text is in the editor: a
// read or a load that fails (a copy too large for this build, too little
// memory) leaves it under its own name, byte for byte, for a later start.
bool RESTORE(const STALECOPY &copy) {
    RECOVERYSTATE &state = STATE();
    bool loaded = false;
    try {
        std::string text;
        loaded = READCOPY(copy.Path, text) && OPENRECOVEREDTEXT(copy.Header.Listing, text);
    } catch (const std::exception &) {
        // Not enough memory for the text, above all: the copy stays.
        loaded = false;
    }
    if (!loaded) {
        MESSAGEBOX(MainWindow, RECOVERYPROBLEMTEXT(RECOVERYDAMAGED, copy.Path), PROGRAMCAPTION, MB_OK | MB_ICONWARNING);
        return false;
    }
    DISKSTAMP stamp;
    if (copy.Header.Disk != RECOVERYHEADER::DISKUNKNOWN && !copy.Header.Listing.empty()) {
        stamp.Known = true;
        stamp.Absent = copy.Header.Disk == RECOVERYHEADER::DISKABSENT;
        stamp.Path = copy.Header.Listing;
        stamp.Size = copy.Header.DiskSize;
        stamp.LastWrite = copy.Header.DiskWritten;
    }
    Document.Stamp = stamp;
    CreateDirectoryW(SYSTEMPATH(state.Folder).c_str(), nullptr);
    if (MOVEPATH(copy.Path, state.File, MOVEFILE_REPLACE_EXISTING)) {
        state.Present = true;
        state.Adopted.clear();
    } else {
        state.Present = false;
        state.Adopted = copy.Path;
    }
    return true;
}

}  // namespace

void STARTRECOVERY() {
    RECOVERYSTATE &state = STATE();
    FINISHWRITING();
    state.Folder = AppSettings.ExeDir + "Recovery\\";
    state.Started = PROCESSSTART(GetCurrentProcess());
    state.File = state.Folder + RECOVERYFILENAME(PROGRAMBASE(), GetCurrentProcessId(), state.Started);
    state.Present = false;
    state.Adopted.clear();
    state.Due = false;
    state.FailureReported = false;
    // After an update restart Windows starts the editor again, which then
    // offers what was unsaved.
    RegisterApplicationRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG);
}

bool OFFERRECOVERY(const std::string &startFile) {
    std::vector<std::string> problems;
    std::vector<STALECOPY> copies = STALECOPIES(problems);
    if (!problems.empty()) {
        std::string text;
        for (const std::string &line : problems)
            text += (text.empty() ? "" : "\r") + line;
        MESSAGEBOX(MainWindow, text, PROGRAMCAPTION, MB_OK | MB_ICONWARNING);
    }
    // The copy of the listing named at start-up first, then the newest.
    const std::string wanted = UPPERTEXT(startFile);
    std::stable_sort(copies.begin(), copies.end(), [&wanted](const STALECOPY &a, const STALECOPY &b) {
        const bool aWanted = !wanted.empty() && UPPERTEXT(a.Header.Listing) == wanted;
        const bool bWanted = !wanted.empty() && UPPERTEXT(b.Header.Listing) == wanted;
        if (aWanted != bWanted)
            return aWanted;
        return a.Header.Written > b.Header.Written;
    });
    // Offered in turn; the first restored ends this start's offers, and the
    // others wait for the next window that starts.
    for (const STALECOPY &copy : copies) {
        const std::string question = RECOVERYQUESTION(copy.Header.Listing, WHENTEXT(copy.Header.Written));
        if (MESSAGEBOX(MainWindow, question, PROGRAMCAPTION, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            if (RESTORE(copy))
                return true;
            continue;
        }
        // Nothing is thrown away by a single click.
        if (MESSAGEBOX(MainWindow, RECOVERYDELETEQUESTION, PROGRAMCAPTION, MB_OKCANCEL | MB_ICONWARNING) == IDOK)
            DELETEPATH(copy.Path);
    }
    return false;
}

void NOTEDOCUMENTCHANGE() {
    RECOVERYSTATE &state = STATE();
    if (state.File.empty() || !MainWindow)
        return;
    const DWORD now = GetTickCount();
    if (!state.Due) {
        state.Due = true;
        state.FirstChange = now;
        SetTimer(MainWindow, RECOVERYTIMER, TICKMS, RECOVERYTIMERPROC);
    }
    state.LastChange = now;
}

void DROPRECOVERY() {
    RECOVERYSTATE &state = STATE();
    FINISHWRITING();
    state.Due = false;
    if (MainWindow)
        KillTimer(MainWindow, RECOVERYTIMER);
    if (!state.File.empty() && (state.Present || EXISTS(state.File)))
        DELETEPATH(state.File);
    if (!state.Adopted.empty())
        DELETEPATH(state.Adopted);
    state.Adopted.clear();
    state.Present = false;
    std::string().swap(state.Spare);
}

void WRITERECOVERYNOW() {
    if (MainWindow)
        KillTimer(MainWindow, RECOVERYTIMER);
    COPYNOW(true);
}

void ENDRECOVERY() {
    FINISHWRITING();
}

void REPORTRECOVERYFAILURE() {
    RECOVERYSTATE &state = STATE();
    if (state.FailureReported)
        return;
    state.FailureReported = true;
    MESSAGEBOX(MainWindow, RECOVERYWRITEFAILEDTEXT(state.Folder), PROGRAMCAPTION, MB_OK | MB_ICONWARNING);
}

std::string RECOVERYFILE() {
    return STATE().File;
}
