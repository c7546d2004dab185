#include "resfiles/resrules.h"

#include "services/pathtext.h"

namespace {

bool ISSEPARATOR(char c) {
    return c == '\\' || c == '/';
}

bool ISLETTER(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool HASDRIVE(std::string_view name) {
    return name.size() >= 2 && ISLETTER(name[0]) && name[1] == ':';
}

std::string CUT(std::string text) {
    if (text.size() > RESOURCENAMEMAX)
        text.resize(RESOURCENAMEMAX);
    return text;
}

// True when the keyword "RESOURCE" (any letter case) starts at position.
bool KEYWORDAT(const std::string &line, std::size_t position) {
    static const char keyword[] = "RESOURCE";
    for (std::size_t i = 0; i < 8; ++i)
        if (position + i >= line.size() || UPPERCHAR(line[position + i]) != keyword[i])
            return false;
    return true;
}

}  // namespace

std::string EMPTYRESFILEBYTES() {
    // Data size 0, header size 32, type and name both given as ordinal 0,
    // then data version, memory flags, language, version, characteristics.
    std::string bytes(EMPTYRESFILESIZE, '\0');
    bytes[4] = 0x20;
    bytes[8] = bytes[9] = '\xFF';
    bytes[12] = bytes[13] = '\xFF';
    return bytes;
}

RESOURCESTATEMENT FINDRESOURCESTATEMENT(const std::vector<std::string> &lines) {
    RESOURCESTATEMENT result;
    const std::string *statementLine = nullptr;
    std::size_t nameSearch = 0;
    const std::size_t count = lines.size() < RESOURCESCANLINES ? lines.size() : RESOURCESCANLINES;
    for (std::size_t n = 0; n < count && !statementLine; ++n) {
        const std::string &line = lines[n];
        if (line.size() <= 16)
            continue;
        // The keyword is looked for only where at least a short quoted name
        // could still follow it on the line.
        for (std::size_t p = 0; p + 18 <= line.size(); ++p) {
            const char c = line[p];
            if (c == '\'')
                break;
            if ((c == '#' || c == '$') && KEYWORDAT(line, p + 1)) {
                statementLine = &line;
                nameSearch = p + 9;
                break;
            }
        }
    }
    if (!statementLine)
        return result;
    std::size_t open = std::string::npos;
    std::size_t close = std::string::npos;
    for (std::size_t p = nameSearch; p < statementLine->size(); ++p) {
        const char c = (*statementLine)[p];
        if (c == '\'')
            break;
        if (c == '"') {
            if (open == std::string::npos) {
                open = p + 1;
            } else {
                close = p;
                break;
            }
        }
    }
    if (close == std::string::npos || close == open) {
        result.Status = RESSTATEMENTBADFORMAT;
        return result;
    }
    result.Status = RESSTATEMENTFOUND;
    result.Name = statementLine->substr(open, close - open);
    return result;
}

std::string PBRTORES(std::string_view name) {
    const std::size_t keep = name.size() >= 3 ? name.size() - 3 : 0;
    return std::string(name.substr(0, keep)) + "res";
}

bool HASRESEXTENSION(std::string_view name) {
    if (name.size() < 4)
        return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && UPPERCHAR(tail[1]) == 'R' && UPPERCHAR(tail[2]) == 'E' && UPPERCHAR(tail[3]) == 'S';
}


bool ISABSOLUTEPATH(std::string_view name) {
    if (name.size() >= 3 && HASDRIVE(name) && ISSEPARATOR(name[2]))
        return true;
    return name.size() >= 2 && ISSEPARATOR(name[0]) && ISSEPARATOR(name[1]);
}

std::string RESOLVERESOURCENAME(std::string_view listing, std::string_view name) {
    if (name.empty() || ISABSOLUTEPATH(name) || HASDRIVE(name))
        return CUT(std::string(name));
    if (ISSEPARATOR(name[0]))
        return CUT((HASDRIVE(listing) ? std::string(listing.substr(0, 2)) : std::string()) + std::string(name));
    return CUT(FOLDEROF(listing) + std::string(name));
}

std::string PROPOSEDRESOURCENAME(std::string_view listing) {
    const std::size_t dot = listing.find_last_of('.');
    const std::size_t slash = listing.find_last_of("\\/");
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        return CUT(std::string(listing.substr(0, dot + 1)) + "res");
    return CUT(std::string(listing) + ".res");
}

std::string PBRESOURCENAME(std::string_view listing, std::string_view quotedName) {
    return RESOLVERESOURCENAME(listing, PBRTORES(quotedName));
}

std::string TOOLCOMMANDLINE(std::string_view program, bool programIsFile, std::string_view file) {
    return (programIsFile ? QUOTEARGUMENT(program) : std::string(program)) + " " + QUOTEARGUMENT(file);
}

std::string PROPOSALQUESTION(std::string_view proposed) {
    return "No Resource filename specified. Use this filename?\r\r" + std::string(proposed);
}

const char *const NOSTATEMENTMESSAGE =
    "No #Resource or $Resource statement found in the first 300 source code lines.";

const char *const BADSTATEMENTMESSAGE =
    "#Resource/$Resource statement incorrect or has an invalid format for the editor.\r"
    "Use a simple quoted filename please, such as:\r\r"
    "#Resource=\"MyTestResource.pbr\"\r"
    "or\r"
    "$RESOURCE=\"Test.pbr\"\r\r"
    "For example the following format is not supported:\r\r"
    "#Resource=\"MyTe\"+Chr$(&H73)+\"t.pbr\"";

std::string CREATEQUESTION(std::string_view name) {
    return "The resource file\r" + std::string(name) + "\rdoesn't exist.\r\rCreate this file as a new empty resource file?";
}

std::string OVERWRITEQUESTION(std::string_view name) {
    return "The resource file\r" + std::string(name) + "\rjust exists.\r\rReally overwrite it?";
}

std::string BADEXTENSIONMESSAGE(std::string_view name) {
    return "The Resource file to create has an invalid extension (.RES expected)\r" + std::string(name);
}

std::string WRITEFAILEDMESSAGE(std::string_view name) {
    return "Error while creating the empty 32 bit resource file\r" + std::string(name);
}

std::string EDITORSTARTMESSAGE(std::string_view program) {
    return "Error starting resource editor\r" + std::string(program);
}

std::string CONVERTERSTARTMESSAGE(std::string_view program) {
    return "Error starting PowerBasic resource converter\r" + std::string(program);
}
