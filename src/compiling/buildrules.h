// The text side of building and running: the compile directive of a
// PowerBASIC listing, the compilers' command lines, where their output names
// an error, the log file's name and the name of the program to start. No
// windows here; the callers drive the editing control and the processes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/pathtext.h"

// Lines of the listing that the directive scan looks at.
constexpr std::size_t DIRECTIVESCANLINES = 100;
// A line this long or shorter (line end included) cannot hold the directive.
constexpr std::size_t DIRECTIVESHORTLINE = 12;
// Bytes of compiler output that are shown and searched.
constexpr std::size_t COMPILEROUTPUTBYTES = 2048;
// Longest command line handed to a compiler.
constexpr std::size_t MAXCOMMANDCHARS = 519;

// Directive kinds.
enum : int32_t {
    DIRECTIVENONE = 0,
    DIRECTIVELIBRARY = 1,
    DIRECTIVEPROGRAM = 2,
};

// Looks for the #COMPILE line among the first 100 lines (each with its line
// end, as the control hands them out). Returns the kind and sets name to the
// file name between the line's first and last double quote.
int32_t SCANCOMPILEDIRECTIVE(const std::vector<std::string> &lines, std::string &name);


// The compiler option of a FreeBASIC target type: 4 "-c", 3 "-lib",
// 2 "-dll", 1 "-s gui", anything else "-s console".
std::string TARGETOPTION(int32_t targetType);

// The FreeBASIC command line after the program's name: blank, target option,
// " -v -i ", include folder, output part, blank, file name, resource part.
// Folder and names are quoted here by QUOTEARGUMENT (when they hold a blank
// or a tab); fileName is the bare name. Cut to 519 characters.
std::string FREEBASICCOMMANDLINE(std::string_view includeDir, std::string_view fileName, int32_t targetType,
                                  std::string_view outputFile, std::string_view resourceFile);

// The PowerBASIC command line: the compiler's short path, " /L /Q ", the file
// name, " /I" and the short include folder. A short name can still hold a
// blank (a volume without short names): the compiler path and the file name
// are then quoted, and the folder too, without its closing backslashes:
// /I"D:\Power Basic\WinAPI". Cut to 519 characters.
std::string POWERBASICCOMMANDLINE(std::string_view shortCompiler, std::string_view fileName,
                                  std::string_view shortIncludeDir);

// What is shown and searched of a compiler's output: its first 2048 bytes, up
// to the first zero byte among them.
std::string OUTPUTSHOWN(std::string_view output);

// The zero-based line of the first error the FreeBASIC output names, or -1.
// An error position is the file name followed by "(" and a line number from
// 1 up. The name is looked for closed by a double quote first, as a command
// line gives a quoted name ("prog.bas"(3) or "C:\src\my prog.bas"(3)), and
// when that finds nothing bare, as the compiler prints it. Either counts only
// where the name starts a line or follows "\", "/" or a double quote, so that
// another file whose name ends in it ("myprog.bas") is not taken for it. An
// occurrence without a line number after the "(" is passed over.
int64_t FINDERRORLINE(std::string_view output, std::string_view fileName);

// An error position in a PowerBASIC log, zero-based.
struct LOGERRORPOSITION {
    bool Found = false;
    int64_t Line = 0;
    int64_t Column = 0;
};

// The first line after the log's first that begins with "Error ", and in it
// the "(line:column)" that follows. A parenthesis earlier in that line (in a
// folder name of the reported path) is passed over when a "(number:" follows
// later; without one, the first parenthesis is read.
LOGERRORPOSITION FINDLOGERROR(std::string_view log);

// The log a PowerBASIC compiler writes beside a listing: the listing's path
// with its extension (after the last "." of the file's name) replaced by
// "log"; a name without extension gets ".log" appended.
std::string LOGFILENAME(std::string_view listingPath);
// True when that log name names the listing itself (letter case aside, as
// the file system compares names): such a "log" must never be read or deleted.
bool LOGISLISTING(std::string_view listingPath);

// The program a FreeBASIC Run starts: the output name when there is one,
// otherwise the listing's path up to and including its last "." and "exe".
// Empty for target types that build no program (2, 3, 4).
std::string FREEBASICPROGRAM(std::string_view listingPath, int32_t targetType, std::string_view outputFile);

// The program a PowerBASIC Run starts from the directive: none (empty) for a
// library; the listing's path with "exe" for its last three characters when
// there is no directive or no name; otherwise the listing's folder followed by
// the name.
std::string POWERBASICPROGRAM(std::string_view listingPath, int32_t directiveKind, std::string_view directiveName);

// What the file system says of a program file: absent, or its size and
// last write time (as the file system keeps it; its clock may not be ours).
struct PROGRAMFILESTATE {
    bool Present = false;
    std::uint64_t Size = 0;
    std::uint64_t Written = 0;
};
// True when the compilation wrote the program: it is there now, and it was
// absent before or its size or write time changed. A file dated in the
// future (an archive keeps dates) that the compilation left alone is not.
bool WRITTENBYCOMPILE(const PROGRAMFILESTATE &before, const PROGRAMFILESTATE &after);

// Message texts.
constexpr const char *COMPILERERRORCAPTION = "Error starting compiler:";
constexpr const char *COMPILERRESULTCAPTION = "Compiler result";
constexpr const char *COMPILINGERRORCAPTION = "Compiling error:";
std::string NOINCLUDEMESSAGE();
std::string NOFREEBASICCOMPILERMESSAGE();
std::string NOPOWERBASICCOMPILERMESSAGE();
std::string NOFILENAMEMESSAGE(std::string_view fullPath);
std::string FREEBASICSTARTMESSAGE(std::string_view compiler, std::string_view commandLine);
std::string POWERBASICSTARTMESSAGE(std::string_view commandLine);
std::string NOLOGMESSAGE(std::string_view logName);
std::string PROGRAMNOTFOUNDMESSAGE(std::string_view program);
// Run found a program that this compilation did not write.
std::string NOTBUILTMESSAGE(std::string_view program);
std::string COMPILERTIMEOUTMESSAGE(int32_t seconds);
