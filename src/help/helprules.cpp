#include "help/helprules.h"

#include "services/appsettings.h"
#include "services/pathtext.h"

#include <algorithm>

namespace {

std::string_view TRIMBLANKS(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The old file functions of Windows are documented under their API names.
struct Renamed {
    const char *Word;
    const char *ApiName;
};
constexpr Renamed OLDFILEFUNCTIONS[] = {
    {"HREAD", "_hread"},   {"HWRITE", "_hwrite"}, {"LCLOSE", "_lclose"}, {"LCREAT", "_lcreat"},
    {"LLSEEK", "_llseek"}, {"LOPEN", "_lopen"},   {"LREAD", "_lread"},   {"LWRITE", "_lwrite"},
};

// Equates of the Basic language itself, recognised by their prefix (with the
// letter case the language manual writes) or by their name.
constexpr std::string_view BASICEQUATEPREFIXES[] = {"%ERR_", "%VARCLASS_", "%PB_", "%VT_"};
constexpr std::string_view BASICEQUATES[] = {"DEF",     "DWL_MSGRESULT", "BLACK", "BLUE", "CYAN",  "GRAY",
                                             "GREEN",   "LTGRAY",        "MAGENTA", "RED", "WHITE", "YELLOW"};

bool STARTSWITH(std::string_view text, std::string_view head) {
    return text.size() >= head.size() && text.substr(0, head.size()) == head;
}

}  // namespace

std::int64_t KEYWORDRANGEEND(std::int64_t start, std::int64_t end) {
    if (end < start)
        return start;
    return std::min<std::int64_t>(end, start + static_cast<std::int64_t>(MAXKEYWORDBYTES));
}

int CHOOSEHELPKEYWORD(std::string &keyword, std::string_view basicList) {
    if (keyword.size() > MAXKEYWORDBYTES)
        keyword.resize(MAXKEYWORDBYTES);
    const std::string upper = UPPERTEXT(keyword);
    for (const Renamed &r : OLDFILEFUNCTIONS) {
        if (upper == r.Word) {
            keyword = r.ApiName;
            break;
        }
    }

    // A plain substring test: any part of a listed keyword is found, and so is
    // the empty word in a list that holds anything.
    const std::string list = LOWERTEXT(basicList);
    const std::string wanted = LOWERTEXT(TRIMBLANKS(keyword));
    if (!list.empty() && list.find(wanted) != std::string::npos)
        return HELPCHOICE_BASIC;

    if (!keyword.empty() && keyword[0] == '$')
        return HELPCHOICE_BASIC;

    if (!keyword.empty() && keyword[0] == '%') {
        for (std::string_view prefix : BASICEQUATEPREFIXES)
            if (STARTSWITH(keyword, prefix))
                return HELPCHOICE_BASIC;
        keyword.erase(0, 1);
        for (std::string_view name : BASICEQUATES) {
            if (keyword == name) {
                keyword.insert(0, 1, '%');
                return HELPCHOICE_BASIC;
            }
        }
        // Other equates, such as message constants, are looked up under their
        // own name in the API help.
        return HELPCHOICE_API;
    }
    return HELPCHOICE_API;
}

HelpFileType HELPFILETYPE(std::string_view path) {
    if (path.size() < 4)
        return HelpFileType::Other;
    const std::string tail = UPPERTEXT(path.substr(path.size() - 4));
    if (tail == ".HLP")
        return HelpFileType::Hlp;
    if (tail == ".CHM")
        return HelpFileType::Chm;
    if (tail == ".COL")
        return HelpFileType::Col;
    if (tail == ".EXE")
        return HelpFileType::Exe;
    return HelpFileType::Other;
}

namespace {

HelpCall WINHELPCALL(const std::string &file, unsigned command) {
    HelpCall call;
    call.Viewer = HelpViewer::WinHelp;
    call.File = file;
    call.Command = command;
    return call;
}

HelpCall HTMLHELPCALL(const std::string &file, bool owned) {
    HelpCall call;
    call.Viewer = HelpViewer::HtmlHelp;
    call.OwnedByMainWindow = owned;
    call.File = file;
    call.Command = HTMLHELP_DISPLAYINDEX;
    return call;
}

HelpCall SHELLCALL(const std::string &file) {
    HelpCall call;
    call.Viewer = HelpViewer::Shell;
    call.File = file;
    return call;
}

HelpCall WITHKEYWORD(HelpCall call, const std::string &keyword) {
    call.WithKeyword = true;
    call.Keyword = keyword;
    return call;
}

}  // namespace

HelpCall KEYWORDHELPCALL(int choice, const std::string &keyword, const std::string &basicHelpFile,
                         const std::string &apiHelpFile, std::int32_t compilerType) {
    if (choice == HELPCHOICE_API) {
        // Keyword lookups in the API help know WinHelp and HTML Help only.
        if (HELPFILETYPE(apiHelpFile) == HelpFileType::Hlp)
            return WITHKEYWORD(WINHELPCALL(apiHelpFile, WINHELP_PARTIALKEY), keyword);
        return WITHKEYWORD(HTMLHELPCALL(apiHelpFile, false), keyword);
    }
    switch (HELPFILETYPE(basicHelpFile)) {
    case HelpFileType::Hlp: {
        HelpCall call = WITHKEYWORD(WINHELPCALL(basicHelpFile, WINHELP_PARTIALKEY), keyword);
        // With PowerBASIC the same request goes out twice in a row.
        call.Times = compilerType == POWERBASICCOMPILER ? 2 : 1;
        return call;
    }
    case HelpFileType::Chm:
    case HelpFileType::Col:
        return WITHKEYWORD(HTMLHELPCALL(basicHelpFile, true), keyword);
    case HelpFileType::Exe:
        return WITHKEYWORD(SHELLCALL(basicHelpFile), keyword);
    case HelpFileType::Other:
        break;
    }
    return SHELLCALL(basicHelpFile);
}

HelpCall BASICHELPCALL(const std::string &basicHelpFile) {
    if (HELPFILETYPE(basicHelpFile) == HelpFileType::Hlp)
        return WINHELPCALL(basicHelpFile, WINHELP_CONTENTS);
    return HTMLHELPCALL(basicHelpFile, false);
}

HelpCall APIHELPCALL(const std::string &apiHelpFile) {
    switch (HELPFILETYPE(apiHelpFile)) {
    case HelpFileType::Hlp:
        return WINHELPCALL(apiHelpFile, WINHELP_CONTENTS);
    case HelpFileType::Chm:
    case HelpFileType::Col:
        return HTMLHELPCALL(apiHelpFile, true);
    default:
        return SHELLCALL(apiHelpFile);
    }
}

// ---------------------------------------------------------------- editor's help

const char *const HELPTOPICS[HELPTOPICCOUNT] = {"Content", "First steps", "The different options",
                                                "Use with more then one compiler", "Some backgrounds",
                                                "Errors in the listing"};

HelpStream STARTHELPSTREAM(std::string_view document, int section) {
    HelpStream stream;
    stream.Position = document.data();
    stream.End = document.data() + document.size();
    stream.Section = section;
    stream.Markers = 0;
    return stream;
}

std::size_t STREAMHELPSECTION(HelpStream &stream, char *buffer, std::size_t size) {
    std::size_t delivered = 0;
    while (delivered < size && stream.Position < stream.End) {
        const char byte = *stream.Position++;
        if (byte == HELPSECTIONMARKER) {
            ++stream.Markers;
            if (stream.Markers > stream.Section) {
                // The next section begins: close the document and end the
                // stream; later calls deliver nothing.
                buffer[delivered++] = '}';
                stream.Position = stream.End;
            }
            continue;
        }
        if (stream.Markers == 0 || stream.Markers == stream.Section)
            buffer[delivered++] = byte;
    }
    return delivered;
}

// ---------------------------------------------------------------- About

const char *const UPDATEADDRESS = "https://www.vandrell.example/quillet";

std::string ABOUTTEXT(const VersionStrings &s) {
    std::string text = s.Comments + "\r\rFile: " + s.OriginalFilename + "\rVersion: " + s.FileVersion + "\r" +
                       s.LegalCopyright + "\r" + s.CompanyName + "\r\rUpdates: " + UPDATEADDRESS;
    if (text.size() > MAXABOUTCHARS)
        text.resize(MAXABOUTCHARS);
    return text;
}
