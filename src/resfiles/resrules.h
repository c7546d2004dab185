// Text rules of the resource commands: the resource statement of PowerBASIC
// listings, the names of resource files, the empty resource file's bytes,
// the command lines of the resource editor and converter, and the message
// texts. Nothing here touches files or windows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "services/commandline.h"

// Longest resource file name the commands work with; longer names are cut.
constexpr std::size_t RESOURCENAMEMAX = 519;

// Lines of a PowerBASIC listing that are searched for the resource statement.
constexpr std::size_t RESOURCESCANLINES = 300;

// The empty 32-bit resource file: nothing but the null resource header.
constexpr std::size_t EMPTYRESFILESIZE = 32;
std::string EMPTYRESFILEBYTES();

// Outcome of the search for the resource statement.
enum : int32_t {
    RESSTATEMENTFOUND = 0,     // Name holds the quoted name
    RESSTATEMENTMISSING = 1,   // no #RESOURCE or $RESOURCE in the lines given
    RESSTATEMENTBADFORMAT = 2, // statement found, but no usable quoted name
};

struct RESOURCESTATEMENT {
    int32_t Status = RESSTATEMENTMISSING;
    std::string Name;  // as written between the first pair of double quotes
};

// Looks for "#RESOURCE" or "$RESOURCE" (any letter case) in the lines given,
// each with its line end. Lines of 16 bytes or fewer are skipped; in a longer
// line only positions 0 to length - 18 can start the statement, and an
// apostrophe there ends the line's examination. After the keyword, the name
// is the text between the first two double quotes, unless an apostrophe comes
// first. Only the first RESOURCESCANLINES lines are looked at.
RESOURCESTATEMENT FINDRESOURCESTATEMENT(const std::vector<std::string> &lines);

// A PowerBASIC resource name with its last three characters replaced by
// "res": "app.pbr" gives "app.res".
std::string PBRTORES(std::string_view name);

// True when the name ends in ".res" in any letter case.
bool HASRESEXTENSION(std::string_view name);


// True for a name that depends on no current folder or drive: "C:\...",
// "C:/..." or "\\server\...".
bool ISABSOLUTEPATH(std::string_view name);

// A name as the compiler sees it when it works in the listing's folder: an
// absolute name stays as it is; a name starting with one backslash gets the
// listing's drive; any other name is taken relative to the listing's folder.
// The result is cut to RESOURCENAMEMAX characters.
std::string RESOLVERESOURCENAME(std::string_view listing, std::string_view name);

// The resource file proposed for a FreeBASIC listing without one: the
// listing's name with its extension replaced by "res" ("prog.bas" gives
// "prog.res"); a name without extension gets ".res" appended.
std::string PROPOSEDRESOURCENAME(std::string_view listing);

// The resource file named by a PowerBASIC listing's statement: the quoted
// name with .pbr mapped to .res, in the listing's folder.
std::string PBRESOURCENAME(std::string_view listing, std::string_view quotedName);

// The command line that starts a tool on a file: the program, a blank, the
// file. The file is quoted when needed; so is the program when it names a
// file (programIsFile), while a setting that is not a file name as it
// stands (it may carry its own quotes or arguments) is taken as typed.
std::string TOOLCOMMANDLINE(std::string_view program, bool programIsFile, std::string_view file);

// The message texts, lines separated by a single carriage return.
std::string PROPOSALQUESTION(std::string_view proposed);
extern const char *const NOSTATEMENTMESSAGE;
extern const char *const BADSTATEMENTMESSAGE;
std::string CREATEQUESTION(std::string_view name);
std::string OVERWRITEQUESTION(std::string_view name);
std::string BADEXTENSIONMESSAGE(std::string_view name);
std::string WRITEFAILEDMESSAGE(std::string_view name);
std::string EDITORSTARTMESSAGE(std::string_view program);
std::string CONVERTERSTARTMESSAGE(std::string_view program);
