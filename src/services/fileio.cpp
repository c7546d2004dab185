#include "services/fileio.h"

#include <algorithm>

#include "services/pathtext.h"
#include "services/textcodes.h"
#include "services/wintext.h"

FILEWRITERFAULTS FileWriterFaults;

std::uint64_t FILETIMEVALUE(const FILETIME &time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

std::uint64_t NOWFILETIME() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return FILETIMEVALUE(now);
}

HANDLE OPENFORREADING(const std::string &path) {
    return CreateFileW(SYSTEMPATH(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool SAMEFILE(const std::string &a, const std::string &b) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    const auto identify = [](const std::string &path, BY_HANDLE_FILE_INFORMATION &info) {
        FileHandle file(CreateFileW(SYSTEMPATH(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file.OK() && GetFileInformationByHandle(file.GET(), &info);
    };
    return identify(a, first) && identify(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

bool READFILEBYTES(const std::string &path, std::string &bytes, std::uint64_t most) {
    FileHandle file(OPENFORREADING(path));
    LARGE_INTEGER size{};
    if (!file.OK() || !GetFileSizeEx(file.GET(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > most)
        return false;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    // ReadFile takes at most 4 GB at a time; read in pieces well below that.
    for (std::size_t got = 0; got < bytes.size();) {
        DWORD piece = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 64u << 20));
        if (!ReadFile(file.GET(), bytes.data() + got, want, &piece, nullptr) || piece == 0) {
            bytes.resize(got);
            return false;
        }
        got += piece;
    }
    return true;
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

DWORD FILEATTRIBUTES(const std::string &path) {
    return GetFileAttributesW(SYSTEMPATH(path).c_str());
}

bool EXISTS(const std::string &path) {
    return FILEATTRIBUTES(path) != INVALID_FILE_ATTRIBUTES;
}

bool DELETEPATH(const std::string &path) {
    return DeleteFileW(SYSTEMPATH(path).c_str()) != FALSE;
}

bool MOVEPATH(const std::string &from, const std::string &to, DWORD flags) {
    return MoveFileExW(SYSTEMPATH(from).c_str(), SYSTEMPATH(to).c_str(), flags) != FALSE;
}

std::string CREATETEMPORARY(const std::string &folder, FileHandle &file) {
    static unsigned counter = 0;
    const unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned value = seed + 0x9E3779B9u * ++counter;
        static const char digits[] = "0123456789abcdef";
        std::string name = folder + "~qlt";
        for (int shift = 28; shift >= 0; shift -= 4)
            name += digits[(value >> shift) & 15];
        name += ".tmp";
        file.RESET(CreateFileW(SYSTEMPATH(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (file.OK())
            return name;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return std::string();
}

int SafeFileWriter::BEGIN(const std::string &destination) {
    Destination = destination;
    // The temporary file must lie in the destination's folder so that the
    // final move is a rename on the same volume.
    const std::string folder = FOLDEROF(destination, ".\\");
    const DWORD attributes = FILEATTRIBUTES(destination);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return 2;
    if (FileWriterFaults.FailCreate)
        return 2;
    Temporary = CREATETEMPORARY(folder, File);
    return Temporary.empty() ? 2 : 0;
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
    HANDLE probe = CreateFileW(SYSTEMPATH(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(probe);
    return false;
}

// A name beside the destination that no file has, for the original while it
// is being replaced: the destination's name with ".qlt~", or where that would
// pass the file system's 255 characters for one name, a short one.
std::string FREEBACKUPNAME(const std::string &destination) {
    const bool fits = UTF16LENGTH(FILEPART(destination)) + 8 <= 255;
    const std::string base = fits ? destination : FOLDEROF(destination) + "~qlt";
    for (int n = 0; n < 1000; ++n) {
        const std::string name = base + (fits ? ".qlt" : "") + (n ? std::to_string(n) : std::string()) + "~";
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
        MOVEPATH(destination, backup, MOVEFILE_WRITE_THROUGH);
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
        replaced = FALSE;
    } else {
        replaced = ReplaceFileW(SYSTEMPATH(destination).c_str(), SYSTEMPATH(replacement).c_str(),
                                SYSTEMPATH(backup).c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    }
    const DWORD error = GetLastError();
    if (replaced) {
        DELETEPATH(backup);
    } else if (!EXISTS(destination) && EXISTS(backup)) {
        MOVEPATH(backup, destination, MOVEFILE_WRITE_THROUGH);
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
    const DWORD attributes = FILEATTRIBUTES(Destination);
    BOOL moved;
    if (FileWriterFaults.FailReplace || (attributes != INVALID_FILE_ATTRIBUTES && HELDBYANOTHER(Destination)))
        moved = FALSE;
    else if (attributes != INVALID_FILE_ATTRIBUTES)
        moved = REPLACEKEEPINGORIGINAL(Destination, Temporary);
    else
        moved = MOVEPATH(Temporary, Destination, MOVEFILE_WRITE_THROUGH);
    if (!moved)
        return 2;
    Temporary.clear();
    // The new content keeps the attributes of the file it replaces.
    if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILEATTRIBUTES(Destination))
        SetFileAttributesW(SYSTEMPATH(Destination).c_str(), attributes);
    return 0;
}

SafeFileWriter::~SafeFileWriter() {
    File.RESET();
    if (!Temporary.empty())
        DELETEPATH(Temporary);
}
