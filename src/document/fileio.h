// Whole-file reads and safe replacement of files.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Owns a file handle.
struct FileHandle {
    HANDLE handle = INVALID_HANDLE_VALUE;
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : handle(h) {}
    ~FileHandle() { CLOSE(); }
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;
    bool OK() const { return handle != INVALID_HANDLE_VALUE; }
    void CLOSE() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
};

HANDLE OPENFORREADING(const std::string &path);

// Writes all bytes; false when fewer were written.
bool WRITEALL(HANDLE file, std::string_view bytes);

// Faults the tests inject into the safe writer, where the machine cannot
// make them happen: writes that fail once FailAfterBytes bytes are written
// (a full disk), and a final move that fails after everything was written.
// The program itself never sets them.
struct FILEWRITERFAULTS {
    std::int64_t FailAfterBytes = -1;
    bool FailReplace = false;
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
