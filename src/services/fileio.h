// Whole-file reads and safe replacement of files.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "services/handles.h"

// A new file of a name no file has, in folder ("~qlt" and eight hex digits,
// ".tmp"), open for writing in file; its name, or empty when none could be
// made. The system's temporary names need a folder shorter than
// MAX_PATH - 14; these do not.
std::string CREATETEMPORARY(const std::string &folder, FileHandle &file);

// A file time as one number (100-nanosecond steps since 1601, UTC), and the
// time now as such a number.
std::uint64_t FILETIMEVALUE(const FILETIME &time);
std::uint64_t NOWFILETIME();

// The file functions on paths (UTF-8, any length: see SYSTEMPATH).
HANDLE OPENFORREADING(const std::string &path);
DWORD FILEATTRIBUTES(const std::string &path);
bool EXISTS(const std::string &path);
bool DELETEPATH(const std::string &path);
bool MOVEPATH(const std::string &from, const std::string &to, DWORD flags);

// True when both paths name one file (the same volume and file index), by
// whatever names: a short and a long name, two links. False when either
// cannot be opened.
bool SAMEFILE(const std::string &a, const std::string &b);

// Reads a whole file of at most most bytes; false when it cannot be opened,
// is larger or a read fails.
bool READFILEBYTES(const std::string &path, std::string &bytes, std::uint64_t most);

// Writes all bytes; false when fewer were written.
bool WRITEALL(HANDLE file, std::string_view bytes);

// Faults the tests inject into the safe writer, where the machine cannot
// make them happen: writes that fail once FailAfterBytes bytes are written
// (a full disk), and a final move that fails after everything was written.
// The program itself never sets them.
struct FILEWRITERFAULTS {
    std::int64_t FailAfterBytes = -1;
    // No file can be created (a read-only folder).
    bool FailCreate = false;
    bool FailReplace = false;
    // The replace fails half way: the original has gone to the backup name
    // and the new file has not taken its place.
    bool FailReplaceHalfway = false;
};
extern FILEWRITERFAULTS FileWriterFaults;

// A new file written beside its destination and moved over it only when it
// is complete, so a failed save never leaves a shortened file behind.
class SafeFileWriter {
public:
    // Status of BEGIN and COMMIT: 0 ok, 2 cannot create or replace, 3 write failed.
    int BEGIN(const std::string &destination);
    bool WRITE(std::string_view bytes);
    int COMMIT();
    ~SafeFileWriter();

private:
    bool FLUSHBUFFER();
    std::string Destination;
    // Small writes are gathered so that a line-by-line producer does not pay
    // for a system call per line; memory stays bounded by the buffer.
    std::string Buffer;
    std::string Temporary;
    FileHandle File;
    bool Failed = false;
    std::uint64_t Written = 0;
};
