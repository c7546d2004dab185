#include "compiling/buildrules.h"

#include "services/appsettings.h"
#include "services/pathtext.h"

#include <algorithm>

#include "services/commandline.h"

namespace {

bool CONTAINSNOCASE(std::string_view text, std::string_view upperWord) {
    return UPPERTEXT(text).find(upperWord) != std::string::npos;
}

bool ISDIGIT(char c) {
    return c >= '0' && c <= '9';
}

// The decimal number that starts at position, and how many digits it has.
// Overlong numbers stop growing instead of overflowing.
int64_t LEADINGNUMBER(std::string_view text, std::size_t position, std::size_t &digits) {
    int64_t value = 0;
    digits = 0;
    while (position + digits < text.size() && ISDIGIT(text[position + digits])) {
        if (value < 1000000000)
            value = value * 10 + (text[position + digits] - '0');
        ++digits;
    }
    return value;
}

std::string CUT(std::string text, std::size_t most) {
    if (text.size() > most)
        text.resize(most);
    return text;
}

}  // namespace

int32_t SCANCOMPILEDIRECTIVE(const std::vector<std::string> &lines, std::string &name) {
    name.clear();
    const std::size_t scanned = std::min(lines.size(), DIRECTIVESCANLINES);
    std::string_view line;
    bool found = false;
    for (std::size_t i = 0; i < scanned && !found; ++i) {
        if (lines[i].size() <= DIRECTIVESHORTLINE)
            continue;
        line = lines[i];
        // A comment ends what is looked at, also when it starts inside quotes.
        line = line.substr(0, line.find('\''));
        found = CONTAINSNOCASE(line, "COMPILE");
    }
    if (!found)
        return DIRECTIVENONE;
    const std::size_t first = line.find('"');
    if (first == std::string_view::npos)
        return CONTAINSNOCASE(line, "DLL") ? DIRECTIVELIBRARY : DIRECTIVEPROGRAM;
    const std::size_t last = line.rfind('"');
    if (last > first) {
        name = std::string(line.substr(first + 1, last - first - 1));
    } else {
        // One quote only: the rest of the line without its last character.
        const std::string_view rest = line.substr(first + 1);
        name = std::string(rest.substr(0, rest.empty() ? 0 : rest.size() - 1));
    }
    return CONTAINSNOCASE(line.substr(0, first + 1), "DLL") ? DIRECTIVELIBRARY : DIRECTIVEPROGRAM;
}

std::string TARGETOPTION(int32_t targetType) {
    switch (targetType) {
    case 4:
        return "-c";
    case 3:
        return "-lib";
    case 2:
        return "-dll";
    case 1:
        return "-s gui";
    default:
        return "-s console";
    }
}

std::string FREEBASICCOMMANDLINE(std::string_view includeDir, std::string_view fileName, int32_t targetType,
                                  std::string_view outputFile, std::string_view resourceFile) {
    // Names come from the listing and its settings block: none may reach the
    // compiler as an option.
    std::string line = " " + TARGETOPTION(targetType) + " -v -i " + QUOTEARGUMENT(includeDir);
    if (!outputFile.empty())
        line += " -x " + QUOTEARGUMENT(POSITIONALNAME(outputFile));
    line += " " + QUOTEARGUMENT(POSITIONALNAME(fileName));
    if (!resourceFile.empty())
        line += " " + QUOTEARGUMENT(POSITIONALNAME(resourceFile));
    return CUT(line, MAXCOMMANDCHARS);
}

std::string POWERBASICCOMMANDLINE(std::string_view shortCompiler, std::string_view fileName,
                                  std::string_view shortIncludeDir) {
    // A short name still holds a blank where the volume keeps no short
    // names. The folder then goes in quotes without its closing backslashes:
    // "D:\Power Basic\WinAPI" reads the same whether the compiler treats a
    // backslash before a quote as an escape or not.
    std::string include(shortIncludeDir);
    if (include.find_first_of(" \t") != std::string::npos) {
        while (include.back() == '\\')
            include.pop_back();
        include = QUOTEARGUMENT(include);
    }
    return CUT(QUOTEARGUMENT(shortCompiler) + " /L /Q " + QUOTEARGUMENT(POSITIONALNAME(fileName)) + " /I" + include,
               MAXCOMMANDCHARS);
}

std::string OUTPUTSHOWN(std::string_view output) {
    output = output.substr(0, COMPILEROUTPUTBYTES);
    return std::string(output.substr(0, output.find('\0')));
}

namespace {
// The name printed by the compiler is the whole file name: it starts the
// line or follows a folder's separator or a quote, so "myprog.bas(3)" is no
// position in "prog.bas".
bool STARTSNAME(std::string_view output, std::size_t at) {
    if (at == 0)
        return true;
    const char before = output[at - 1];
    return before == '\n' || before == '\r' || before == '\\' || before == '/' || before == '"';
}

// The line of the first "name(number" or, with closing "\"", of the first
// "name\"(number" where the name starts as STARTSNAME has it.
int64_t FINDNAMEDLINE(std::string_view output, std::string_view name, std::string_view closing) {
    const std::string needle = std::string(name) + std::string(closing) + "(";
    for (std::size_t at = output.find(needle); at != std::string_view::npos; at = output.find(needle, at + 1)) {
        if (!STARTSNAME(output, at))
            continue;
        std::size_t digits = 0;
        const int64_t number = LEADINGNUMBER(output, at + needle.size(), digits);
        if (digits > 0 && number >= 1)
            return number - 1;
    }
    return -1;
}
}  // namespace

int64_t FINDERRORLINE(std::string_view output, std::string_view fileName) {
    if (fileName.empty())
        return -1;
    // The name in quotes, as a command line may give it (the folder may be
    // inside the quotes too), before the bare name the compiler prints.
    const int64_t line = FINDNAMEDLINE(output, fileName, "\"");
    return line >= 0 ? line : FINDNAMEDLINE(output, fileName, "");
}

LOGERRORPOSITION FINDLOGERROR(std::string_view log) {
    LOGERRORPOSITION result;
    const std::size_t error = log.find("\r\nError ");
    if (error == std::string_view::npos)
        return result;
    const std::size_t lineEnd = std::min(log.find('\r', error + 2), log.find('\n', error + 2));
    const std::string_view errorLine = log.substr(error, lineEnd == std::string_view::npos ? log.npos : lineEnd - error);
    // The position is written "(line:column)"; prefer that form over a
    // parenthesis that belongs to the path.
    std::size_t open = std::string_view::npos;
    for (std::size_t at = errorLine.find('('); at != std::string_view::npos; at = errorLine.find('(', at + 1)) {
        std::size_t digits = 0;
        LEADINGNUMBER(errorLine, at + 1, digits);
        if (digits > 0 && at + 1 + digits < errorLine.size() && errorLine[at + 1 + digits] == ':') {
            open = error + at;
            break;
        }
    }
    if (open == std::string_view::npos)
        open = log.find('(', error);
    if (open == std::string_view::npos)
        return result;
    std::size_t digits = 0;
    const int64_t line = LEADINGNUMBER(log, open + 1, digits);
    if (digits == 0 || line < 1)
        return result;
    int64_t column = 1;
    const std::size_t colon = log.find(':', open);
    if (colon != std::string_view::npos) {
        column = LEADINGNUMBER(log, colon + 1, digits);
        if (digits == 0 || column < 1)
            column = 1;
    }
    result.Found = true;
    result.Line = line - 1;
    result.Column = column - 1;
    return result;
}

std::string LOGFILENAME(std::string_view listingPath) {
    const std::size_t dot = listingPath.rfind('.');
    const std::size_t slash = listingPath.find_last_of("\\/");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(listingPath) + ".log";
    return std::string(listingPath.substr(0, dot + 1)) + "log";
}

bool LOGISLISTING(std::string_view listingPath) {
    return UPPERTEXT(LOGFILENAME(listingPath)) == UPPERTEXT(listingPath);
}

std::string FREEBASICPROGRAM(std::string_view listingPath, int32_t targetType, std::string_view outputFile) {
    if (targetType != 0 && targetType != 1)
        return std::string();
    if (!outputFile.empty())
        return std::string(outputFile);
    const std::size_t dot = listingPath.rfind('.');
    return std::string(dot == std::string_view::npos ? std::string_view() : listingPath.substr(0, dot + 1)) + "exe";
}

std::string POWERBASICPROGRAM(std::string_view listingPath, int32_t directiveKind, std::string_view directiveName) {
    if (directiveKind == DIRECTIVELIBRARY)
        return std::string();
    if (directiveKind == DIRECTIVENONE || directiveName.empty()) {
        const std::size_t kept = listingPath.size() >= 3 ? listingPath.size() - 3 : 0;
        return std::string(listingPath.substr(0, kept)) + "exe";
    }
    return FOLDEROF(listingPath) + std::string(directiveName);
}

bool WRITTENBYCOMPILE(const PROGRAMFILESTATE &before, const PROGRAMFILESTATE &after) {
    if (!after.Present)
        return false;
    return !before.Present || before.Size != after.Size || before.Written != after.Written;
}

std::string NOINCLUDEMESSAGE() {
    return "No valid INCLUDE directory set (see menu \"Options\").";
}

std::string NOFREEBASICCOMPILERMESSAGE() {
    return "Couldn't find compiler. Check compiler path+filename (see menu \"Options-->General settings\").";
}

std::string NOPOWERBASICCOMPILERMESSAGE() {
    return "No compiler set (see menu \"Options\").";
}

std::string NOFILENAMEMESSAGE(std::string_view fullPath) {
    return "Illegal or no filename for the current listing.\r" + std::string(fullPath);
}

std::string FREEBASICSTARTMESSAGE(std::string_view compiler, std::string_view commandLine) {
    return "Application:\r" + std::string(compiler) + "\r\rCommand line:\r" + std::string(commandLine);
}

std::string POWERBASICSTARTMESSAGE(std::string_view commandLine) {
    return "Command line:\r\r" + std::string(commandLine);
}

std::string NOLOGMESSAGE(std::string_view logName) {
    return "Couldn't find the Log File.\r" + std::string(logName);
}

std::string PROGRAMNOTFOUNDMESSAGE(std::string_view program) {
    return "File not found:\r" + std::string(program);
}

std::string NOTBUILTMESSAGE(std::string_view program) {
    return "This compilation did not write the program to run:\r" + std::string(program) +
           "\rIt is the same file as before the compilation, so it was not started.";
}

std::string COMPILERTIMEOUTMESSAGE(int32_t seconds) {
    return "The compiler did not finish within " + std::to_string(seconds) + (seconds == 1 ? " second" : " seconds") +
           " (CompileTimeout).\rIt was ended, together with the programs it had started.";
}
