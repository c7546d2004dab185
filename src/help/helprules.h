// Decisions of the help commands that depend on text and numbers only: which
// help file gets the word at the caret and under which name, how each help
// file is opened by its type, the sections of the editor's own help text and
// the About text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// ---------------------------------------------------------------- keyword

// The keyword buffer holds 1023 bytes and its zero; a longer "word" (a long
// run of word characters, a line of "=") is cut, never overflowed.
constexpr std::size_t MAXKEYWORDBYTES = 1023;

// End of the range copied for the word from start to end, after the cut.
std::int64_t KEYWORDRANGEEND(std::int64_t start, std::int64_t end);

enum : int {
    HELPCHOICE_API = 0,    // the Windows API help file
    HELPCHOICE_BASIC = 1,  // the Basic help file
};

// Rewrites the word taken at the caret where the help files name it
// differently and decides the help file that gets it. basicList is the Basic
// keyword list as loaded (any letter case).
int CHOOSEHELPKEYWORD(std::string &keyword, std::string_view basicList);

// ---------------------------------------------------------------- help files

enum class HelpFileType { Hlp, Chm, Col, Exe, Other };

// Decided by the last four characters, without regard to letter case.
HelpFileType HELPFILETYPE(std::string_view path);

enum class HelpViewer { WinHelp, HtmlHelp, Shell };

// Command values of the help viewers, as their interfaces number them.
constexpr unsigned WINHELP_CONTENTS = 3;        // HELP_CONTENTS
constexpr unsigned WINHELP_PARTIALKEY = 0x105;  // HELP_PARTIALKEY
constexpr unsigned HTMLHELP_DISPLAYINDEX = 2;   // HH_DISPLAY_INDEX

// One call that opens a help file.
struct HelpCall {
    HelpViewer Viewer = HelpViewer::Shell;
    bool OwnedByMainWindow = true;  // otherwise no owner window
    std::string File;
    unsigned Command = 0;        // WinHelp and HTML Help only
    bool WithKeyword = false;    // the keyword as data (help viewers) or parameters (shell)
    std::string Keyword;
    int Times = 1;               // the same call made this many times in a row
};

// Help keyword (F1) with the choice and keyword of CHOOSEHELPKEYWORD.
HelpCall KEYWORDHELPCALL(int choice, const std::string &keyword, const std::string &basicHelpFile,
                         const std::string &apiHelpFile, std::int32_t compilerType);
// Basic help (Shift+F1) and API help (Alt+F1), without a keyword.
HelpCall BASICHELPCALL(const std::string &basicHelpFile);
HelpCall APIHELPCALL(const std::string &apiHelpFile);

// ---------------------------------------------------------------- editor's help

// The help document is RTF in which the byte 0x7F separates the common
// header from the sections: section k is the text after the k-th marker.
constexpr char HELPSECTIONMARKER = '\x7F';
constexpr int HELPTOPICCOUNT = 6;
extern const char *const HELPTOPICS[HELPTOPICCOUNT];

// Where the streaming of one topic stands; reset before each topic.
struct HelpStream {
    const char *Position = nullptr;
    const char *End = nullptr;
    int Section = 0;  // 1 to 5
    int Markers = 0;  // markers passed
};

HelpStream STARTHELPSTREAM(std::string_view document, int section);

// Fills the buffer with the next bytes of header + section + "}" (the last
// section ends with the document's own brace); returns the count delivered,
// 0 once the topic is complete.
std::size_t STREAMHELPSECTION(HelpStream &stream, char *buffer, std::size_t size);

// ---------------------------------------------------------------- About

// The five strings of the version resource, as the About box shows them.
struct VersionStrings {
    std::string Comments;
    std::string OriginalFilename;
    std::string LegalCopyright;
    std::string CompanyName;
    std::string FileVersion;
};

// Where updates are published.
extern const char *const UPDATEADDRESS;
// The longest About text shown (its buffer of 1024 bytes less the zero).
constexpr std::size_t MAXABOUTCHARS = 1023;

// Comments, file name, version, legal notice, company and the update address,
// lines separated by a carriage return, cut at MAXABOUTCHARS.
std::string ABOUTTEXT(const VersionStrings &strings);
