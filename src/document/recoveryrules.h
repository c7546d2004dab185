// The recovery copy of unsaved text: a few header lines that say which
// listing it belongs to, when it was written and how long it is, then
// exactly the bytes a save of the listing would write. Text only; the files
// and the timer are the caller's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The first line of every recovery copy; the format's number follows it.
constexpr std::string_view RECOVERYMAGIC = "Quillet recovery copy ";
constexpr int RECOVERYFORMAT = 1;
// What stands for the listing of untitled text.
constexpr std::string_view RECOVERYUNTITLED = "untitled";
// The extension of recovery copies.
constexpr std::string_view RECOVERYEXTENSION = ".qrc";

struct RECOVERYHEADER {
    // Full path of the listing (UTF-8); empty for untitled text.
    std::string Listing;
    // When the copy was written: 100-nanosecond steps since 1601 (UTC).
    std::uint64_t Written = 0;
    // Bytes of the copy after the header.
    std::uint64_t Length = 0;
    // The listing's file as it was on disk when the editor last read or
    // wrote it, so that a save of the restored text still asks when another
    // program changed it since: unknown, there (size and last write time,
    // in the units of Written), or known to have been missing.
    enum DISKSTATE : int { DISKUNKNOWN = 0, DISKPRESENT = 1, DISKABSENT = 2 } Disk = DISKUNKNOWN;
    std::uint64_t DiskSize = 0;
    std::uint64_t DiskWritten = 0;
};

// The header, ending with an empty line; the copy's bytes follow it.
std::string BUILDRECOVERYHEADER(const RECOVERYHEADER &header);

enum RECOVERYSTATUS : int {
    RECOVERYOK = 0,
    RECOVERYFOREIGN = 1,  // empty, or not a recovery copy at all
    RECOVERYNEWER = 2,    // written by a later version in a format this one does not know
    RECOVERYDAMAGED = 3,  // a header that breaks off or does not read
    RECOVERYCUT = 4,      // fewer bytes than the header says
};

// Reads the header at the start of a file of fileSize bytes, of which bytes
// holds the first part (the whole header at least, when the file has one).
// On RECOVERYOK, header is filled and textOffset is where the copy starts.
RECOVERYSTATUS PARSERECOVERYHEADER(std::string_view bytes, std::uint64_t fileSize, RECOVERYHEADER &header,
                                   std::size_t &textOffset);

// Most bytes a header can take (a path of 32,767 UTF-16 units is at most
// three times as many bytes of UTF-8).
constexpr std::size_t RECOVERYHEADERMAX = 100 * 1024;

// The name of the copy of one running program: its base name, its process
// id and its start time, so that no two running copies share a file and a
// process id used again after a restart names another file.
std::string RECOVERYFILENAME(std::string_view programBase, std::uint32_t processId, std::uint64_t started);
// True when a file name is a recovery copy of a program of that base name.
bool ISRECOVERYFILENAME(std::string_view name, std::string_view programBase);
// The same, with the process id and start time of the program that writes
// the copy read from its name.
bool RECOVERYFILEOWNER(std::string_view name, std::string_view programBase, std::uint32_t &processId,
                       std::uint64_t &started);

// Whether the program that wrote a copy still runs, from what asking the
// system for its process gave: a process that could not be opened has ended
// only when the system says there is no such process (error 87,
// ERROR_INVALID_PARAMETER); one that may not be opened (another user's, an
// elevated one) runs. An opened process runs while it has not ended and
// started when the copy's name says (a process id is used again).
constexpr std::uint32_t NOSUCHPROCESS = 87;
bool RECOVERYOWNERRUNS(bool opened, std::uint32_t openError, bool notEnded, bool sameStart);

// The question at start-up: "<listing> was not saved when Quillet ended on
// <when>.\rRestore the unsaved text?", the listing shown as "Untitled text"
// when it has no name.
std::string RECOVERYQUESTION(std::string_view listing, std::string_view when);
constexpr const char *RECOVERYDELETEQUESTION = "The unsaved text will be deleted.";
// The one line about a copy that cannot be offered.
std::string RECOVERYPROBLEMTEXT(RECOVERYSTATUS status, std::string_view file);
// The one message of a run whose recovery copies cannot be written.
std::string RECOVERYWRITEFAILEDTEXT(std::string_view folder);
