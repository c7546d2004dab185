// Every error and warning a compiler reports for the listing, read from the
// FreeBASIC output or the PowerBASIC log: the marks in the listing, the text
// under their lines, and the last line of the result box. No windows here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Most messages marked after one compile; the rest are only counted.
constexpr std::size_t MOSTMARKS = 1000;
// Most bytes of compiler output read for messages.
constexpr std::size_t MOSTOUTPUTBYTES = 1048576;
// Most bytes of one message shown under its line.
constexpr std::size_t MOSTMESSAGEBYTES = 500;
// Most bytes of the text under one line (several messages together).
constexpr std::size_t MOSTANNOTATIONBYTES = 4000;

enum MESSAGEKIND : std::int32_t {
    MESSAGEERROR = 0,
    MESSAGEWARNING = 1,
};

struct COMPILERMESSAGE {
    // Zero-based line of the listing.
    std::int64_t Line = 0;
    // Zero-based column; -1 when the compiler names none.
    std::int64_t Column = -1;
    MESSAGEKIND Kind = MESSAGEERROR;
    // The message as the compiler wrote it ("error 10: Expected '='"), in
    // its bytes, control characters made blanks.
    std::string Text;
};

struct COMPILERMESSAGELIST {
    // In the order the compiler wrote them; at most MOSTMARKS.
    std::vector<COMPILERMESSAGE> Entries;
    // Messages for existing lines past the first MOSTMARKS.
    std::size_t Beyond = 0;
};

// The messages of FreeBASIC output that name the listing: lines
// `name(line) error N: text` and `name(line) warning N(level): text`, where
// the name is the file name as the compiler was given it (in quotes or not,
// after a folder or not; never the end of a longer name; letter case of
// A to Z aside, as Windows compares names). `name()` and other lines mark
// nothing; so do line 0, lines past lineCount and numbers too large. A line
// ends at CR, LF or CR LF; output cut in the middle of a message still gives
// the message as far as it goes.
COMPILERMESSAGELIST FREEBASICMESSAGES(std::string_view output, std::string_view fileName, std::int64_t lineCount);

// The `Error` entries of a PowerBASIC log: each line that begins with
// "Error " and names the listing's file before its "(line:column)".
COMPILERMESSAGELIST POWERBASICMESSAGES(std::string_view log, std::string_view fileName, std::int64_t lineCount);

// The text under one line: its messages (UTF-8) one per line, each cut to
// MOSTMESSAGEBYTES and the whole to MOSTANNOTATIONBYTES, never inside a
// character; a cut ends in "...".
std::string ANNOTATIONTEXT(const std::vector<std::string> &messages);

// The box's last line: what was not read and what was not marked; empty when
// everything was.
std::string RESULTLASTLINE(std::size_t bytesRead, std::size_t beyondMarks);

// A number with thousands separated by commas, as the box shows counts.
std::string GROUPEDNUMBER(std::uint64_t number);

// The message after Escape (or a second Compile) ended the compiler.
constexpr const char *COMPILECANCELLEDTEXT = "The compile was cancelled. The compiler was ended.";
