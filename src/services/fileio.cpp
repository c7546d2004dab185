#include "services/fileio.h"

#include <vector>

FILEWRITERFAULTS FileWriterFaults;

HANDLE OPENFORREADING(const std::string &path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool WRITEALL(HANDLE file, std::string_view bytes) {
    // WriteFile takes at most 4 GB at a time; write in pieces well below that.
    const std::size_t piece = 64u << 20;
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() < piece ? bytes.size() : piece);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk)
            return false;
        bytes.remove_prefix(chunk);
    }
    return true;
}

int SafeFileWriter::BEGIN(const std::string &destination) {
    Destination = destination;
    // The temporary file must lie in the destination's folder so that the
    // final move is a rename on the same volume.
    std::string folder = destination;
    const auto slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash + 1);
    const DWORD attributes = GetFileAttributesA(destination.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return 2;
    std::vector<char> name(MAX_PATH + 16, '\0');
    if (FileWriterFaults.FailCreate || !GetTempFileNameA(folder.c_str(), "qlt", 0, name.data()))
        return 2;
    Temporary = name.data();
    File.RESET(CreateFileA(Temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!File.OK()) {
        DeleteFileA(Temporary.c_str());
        Temporary.clear();
        return 2;
    }
    return 0;
}

namespace {
const std::size_t WRITEBUFFERBYTES = 256u << 10;
}

namespace {

// WRITEALL with the injected full disk: the bytes up to the limit are
// written, then the write fails as a full disk makes it fail.
bool WRITEWITHFAULTS(HANDLE file, std::string_view bytes, std::uint64_t &written) {
    const std::int64_t limit = FileWriterFaults.FailAfterBytes;
    if (limit >= 0 && written + bytes.size() > static_cast<std::uint64_t>(limit)) {
        const std::size_t room = written < static_cast<std::uint64_t>(limit)
                                     ? static_cast<std::size_t>(static_cast<std::uint64_t>(limit) - written)
                                     : 0;
        WRITEALL(file, bytes.substr(0, room));
        written += room;
        return false;
    }
    if (!WRITEALL(file, bytes))
        return false;
    written += bytes.size();
    return true;
}

// True when another program keeps the file open in a way that forbids
// replacing it. Replacing such a file fails anyway, but can leave a backup
// file of the system's own beside it; asked first, nothing is left.
bool HELDBYANOTHER(const std::string &path) {
    HANDLE probe = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
}

bool EXISTS(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A name beside the destination that no file has, for the original while it
// is being replaced.
std::string FREEBACKUPNAME(const std::string &destination) {
    for (int n = 0; n < 1000; ++n) {
        const std::string name = destination + ".qlt" + (n ? std::to_string(n) : std::string()) + "~";
        if (!EXISTS(name))
            return name;
    }
    return std::string();
}

// The system's replace, given a backup name of our own: when it fails half
// way, after the original went to the backup name and before the new file
// took its place, the original is put back, so no failure ever leaves the
// user's file under another name.
BOOL REPLACEKEEPINGORIGINAL(const std::string &destination, const std::string &replacement) {
    const std::string backup = FREEBACKUPNAME(destination);
    if (backup.empty()) {
        SetLastError(ERROR_FILE_EXISTS);
        return FALSE;
    }
    BOOL replaced;
    if (FileWriterFaults.FailReplaceHalfway) {
        MoveFileExA(destination.c_str(), backup.c_str(), MOVEFILE_WRITE_THROUGH);
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
        replaced = FALSE;
    } else {
        replaced = ReplaceFileA(destination.c_str(), replacement.c_str(), backup.c_str(),
                                REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    }
    const DWORD error = GetLastError();
    if (replaced) {
        DeleteFileA(backup.c_str());
    } else if (!EXISTS(destination) && EXISTS(backup)) {
        MoveFileExA(backup.c_str(), destination.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    SetLastError(error);
    return replaced;
}

}  // namespace

bool SafeFileWriter::FLUSHBUFFER() {
    if (!Failed && !Buffer.empty() && !WRITEWITHFAULTS(File.GET(), Buffer, Written))
        Failed = true;
    Buffer.clear();
    return !Failed;
}

bool SafeFileWriter::WRITE(std::string_view bytes) {
    if (Failed || !File.OK()) {
        Failed = true;
        return false;
    }
    if (Buffer.size() + bytes.size() <= WRITEBUFFERBYTES) {
        Buffer += bytes;
        return true;
    }
    if (!FLUSHBUFFER())
        return false;
    if (bytes.size() >= WRITEBUFFERBYTES) {
        if (!WRITEWITHFAULTS(File.GET(), bytes, Written))
            Failed = true;
    } else {
        Buffer.assign(bytes);
    }
    return !Failed;
}

int SafeFileWriter::COMMIT() {
    if (Temporary.empty())
        return 2;
    if (!FLUSHBUFFER() || !FlushFileBuffers(File.GET()))
        return 3;
    File.RESET();
    const DWORD attributes = GetFileAttributesA(Destination.c_str());
    BOOL moved;
    if (FileWriterFaults.FailReplace || (attributes != INVALID_FILE_ATTRIBUTES && HELDBYANOTHER(Destination)))
        moved = FALSE;
    else if (attributes != INVALID_FILE_ATTRIBUTES)
        moved = REPLACEKEEPINGORIGINAL(Destination, Temporary);
    else
        moved = MoveFileExA(Temporary.c_str(), Destination.c_str(), MOVEFILE_WRITE_THROUGH);
    if (!moved)
        return 2;
    Temporary.clear();
    // The new content keeps the attributes of the file it replaces.
    if (attributes != INVALID_FILE_ATTRIBUTES && attributes != GetFileAttributesA(Destination.c_str()))
        SetFileAttributesA(Destination.c_str(), attributes);
    return 0;
}

SafeFileWriter::~SafeFileWriter() {
    File.RESET();
    if (!Temporary.empty())
        DeleteFileA(Temporary.c_str());
}
