#include "document/recoveryrules.h"

#include "services/hexdigit.h"
#include "services/pathtext.h"

namespace {

constexpr std::string_view LINEEND = "\r\n";

std::string HEX16(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = digits[value & 15];
    return text;
}

// A whole number of decimal digits only, below 2^63; false otherwise.
bool DECIMALVALUE(std::string_view text, std::uint64_t &value) {
    if (text.empty() || text.size() > 18)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

bool HEXVALUE16(std::string_view text, std::uint64_t &value) {
    if (text.size() != 16)
        return false;
    value = 0;
    for (const char c : text) {
        const int digit = HEXDIGITVALUE(c);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return true;
}

}  // namespace

std::string BUILDRECOVERYHEADER(const RECOVERYHEADER &header) {
    std::string text(RECOVERYMAGIC);
    text += std::to_string(RECOVERYFORMAT);
    text += LINEEND;
    text += "Listing=";
    text += header.Listing.empty() ? std::string(RECOVERYUNTITLED) : header.Listing;
    text += LINEEND;
    text += "Written=" + HEX16(header.Written);
    text += LINEEND;
    text += "Length=" + std::to_string(header.Length);
    text += LINEEND;
    if (header.Disk == RECOVERYHEADER::DISKPRESENT)
        text += "Disk=" + std::to_string(header.DiskSize) + " " + HEX16(header.DiskWritten) + std::string(LINEEND);
    else if (header.Disk == RECOVERYHEADER::DISKABSENT)
        text += "Disk=absent" + std::string(LINEEND);
    text += LINEEND;
    return text;
}

RECOVERYSTATUS PARSERECOVERYHEADER(std::string_view bytes, std::uint64_t fileSize, RECOVERYHEADER &header,
                                   std::size_t &textOffset) {
    header = RECOVERYHEADER{};
    textOffset = 0;
    if (bytes.size() > fileSize)
        bytes = bytes.substr(0, static_cast<std::size_t>(fileSize));
    if (bytes.substr(0, RECOVERYMAGIC.size()) != RECOVERYMAGIC)
        return RECOVERYFOREIGN;
    bool listing = false, written = false, length = false;
    std::size_t at = RECOVERYMAGIC.size();
    for (bool first = true;; first = false) {
        const std::size_t end = bytes.find(LINEEND, at);
        if (end == std::string_view::npos)
            return bytes.size() == fileSize ? RECOVERYCUT : RECOVERYDAMAGED;
        const std::string_view line = bytes.substr(at, end - at);
        at = end + LINEEND.size();
        if (first) {
            std::uint64_t format = 0;
            if (!DECIMALVALUE(line, format) || format == 0)
                return RECOVERYDAMAGED;
            if (format > RECOVERYFORMAT)
                return RECOVERYNEWER;
            continue;
        }
        if (line.empty())
            break;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return RECOVERYDAMAGED;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "Listing") {
            header.Listing = value == RECOVERYUNTITLED ? std::string() : std::string(value);
            listing = !value.empty();
        } else if (key == "Written") {
            written = HEXVALUE16(value, header.Written);
        } else if (key == "Length") {
            length = DECIMALVALUE(value, header.Length);
        } else if (key == "Disk") {
            const std::size_t blank = value.find(' ');
            if (value == "absent")
                header.Disk = RECOVERYHEADER::DISKABSENT;
            else if (blank != std::string_view::npos && DECIMALVALUE(value.substr(0, blank), header.DiskSize) &&
                     HEXVALUE16(value.substr(blank + 1), header.DiskWritten))
                header.Disk = RECOVERYHEADER::DISKPRESENT;
            else
                return RECOVERYDAMAGED;
        }
        // Keys this version does not know are passed over.
    }
    if (!listing || !written || !length)
        return RECOVERYDAMAGED;
    textOffset = at;
    const std::uint64_t available = fileSize - at;
    if (available < header.Length)
        return RECOVERYCUT;
    return available == header.Length ? RECOVERYOK : RECOVERYDAMAGED;
}

std::string RECOVERYFILENAME(std::string_view programBase, std::uint32_t processId, std::uint64_t started) {
    return std::string(programBase) + "-" + HEX16(processId).substr(8) + "-" + HEX16(started) +
           std::string(RECOVERYEXTENSION);
}

bool RECOVERYFILEOWNER(std::string_view name, std::string_view programBase, std::uint32_t &processId,
                       std::uint64_t &started) {
    // base, "-", 8 digits, "-", 16 digits, extension
    const std::size_t size = programBase.size() + 1 + 8 + 1 + 16 + RECOVERYEXTENSION.size();
    if (name.size() != size || UPPERTEXT(name.substr(0, programBase.size())) != UPPERTEXT(programBase) ||
        !ENDSWITHNOCASE(name, RECOVERYEXTENSION))
        return false;
    const std::string_view middle = name.substr(programBase.size(), 26);
    std::uint64_t id = 0;
    if (middle[0] != '-' || middle[9] != '-' || !HEXVALUE16("00000000" + std::string(middle.substr(1, 8)), id) ||
        !HEXVALUE16(middle.substr(10, 16), started))
        return false;
    processId = static_cast<std::uint32_t>(id);
    return true;
}

bool ISRECOVERYFILENAME(std::string_view name, std::string_view programBase) {
    std::uint32_t processId = 0;
    std::uint64_t started = 0;
    return RECOVERYFILEOWNER(name, programBase, processId, started);
}

std::string RECOVERYQUESTION(std::string_view listing, std::string_view when) {
    return (listing.empty() ? std::string("Untitled text") : std::string(listing)) +
           " was not saved when Quillet ended on " + std::string(when) + ".\rRestore the unsaved text?";
}

bool RECOVERYOWNERRUNS(bool opened, std::uint32_t openError, bool notEnded, bool sameStart) {
    if (!opened)
        return openError != NOSUCHPROCESS;
    return notEnded && sameStart;
}

std::string RECOVERYPROBLEMTEXT(RECOVERYSTATUS status, std::string_view file) {
    const char *why = status == RECOVERYNEWER  ? "was written by a later version of Quillet"
                      : status == RECOVERYCUT  ? "is cut short"
                      : status == RECOVERYFOREIGN ? "is empty or no recovery copy"
                                                  : "cannot be read";
    return "The recovery copy " + std::string(file) + " " + why + "; it is left where it is.";
}

std::string RECOVERYWRITEFAILEDTEXT(std::string_view folder) {
    return "Unsaved text cannot be copied aside for recovery in\r" + std::string(folder) +
           "\rIf the editor ends unexpectedly, unsaved text will be lost. Save often.";
}
