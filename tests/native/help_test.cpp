// The help rules: which help file gets the word at the caret and under which
// name, how each help file is opened, the sections of the user guide as the
// program carries it, and the About text.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "help/helprules.h"

#ifndef QUILLET_HELP_DOCUMENT
#error "QUILLET_HELP_DOCUMENT must name the generated user guide"
#endif

namespace {

// A short Basic list as a keyword file holds it.
const std::string BASICLIST = "#Compile Dim LCase$ Print ScreenLock $Include %Def";

struct Chosen {
    int Choice;
    std::string Keyword;
};

Chosen CHOOSE(std::string word, const std::string &list = BASICLIST) {
    const int choice = CHOOSEHELPKEYWORD(word, list);
    return {choice, word};
}

// ---------------------------------------------------------------- keyword

TEST(HelpKeyword, OldFileFunctionsAreLookedUpUnderTheirApiNames) {
    for (const char *word : {"LOPEN", "lopen", "LoPen"}) {
        const Chosen c = CHOOSE(word);
        EXPECT_EQ(c.Keyword, "_lopen") << word;
        EXPECT_EQ(c.Choice, HELPCHOICE_API) << word;
    }
    const std::pair<const char *, const char *> renamed[] = {
        {"hread", "_hread"}, {"hwrite", "_hwrite"}, {"lclose", "_lclose"}, {"lcreat", "_lcreat"},
        {"llseek", "_llseek"}, {"lread", "_lread"}, {"lwrite", "_lwrite"}};
    for (const auto &[word, api] : renamed)
        EXPECT_EQ(CHOOSE(word).Keyword, api);
    // Only exact names: a longer word keeps its own name.
    EXPECT_EQ(CHOOSE("LOPENX").Keyword, "LOPENX");
    // The API name goes to the Basic help when the Basic list holds it.
    EXPECT_EQ(CHOOSE("lopen", "dim _lopen").Choice, HELPCHOICE_BASIC);
}

TEST(HelpKeyword, AnyPartOfAListedWordInAnyCaseIsBasic) {
    EXPECT_EQ(CHOOSE("dim").Choice, HELPCHOICE_BASIC);
    EXPECT_EQ(CHOOSE("SCR").Choice, HELPCHOICE_BASIC);       // first letters of ScreenLock
    EXPECT_EQ(CHOOSE("enlo").Choice, HELPCHOICE_BASIC);      // inside ScreenLock
    EXPECT_EQ(CHOOSE("m LCa").Choice, HELPCHOICE_BASIC);     // across two words
    EXPECT_EQ(CHOOSE("  print  ").Choice, HELPCHOICE_BASIC);  // blanks around the word do not count
    const Chosen api = CHOOSE("SendMessage");
    EXPECT_EQ(api.Choice, HELPCHOICE_API);
    EXPECT_EQ(api.Keyword, "SendMessage");
    // The keyword itself keeps its letters and blanks.
    EXPECT_EQ(CHOOSE("  print  ").Keyword, "  print  ");
}

TEST(HelpKeyword, TheEmptyWordIsFoundInAnyListThatHoldsSomething) {
    EXPECT_EQ(CHOOSE("").Choice, HELPCHOICE_BASIC);
    EXPECT_EQ(CHOOSE("   ").Choice, HELPCHOICE_BASIC);
    const Chosen none = CHOOSE("", "");
    EXPECT_EQ(none.Choice, HELPCHOICE_API);
    EXPECT_EQ(none.Keyword, "");
    // Not listed, but a metacommand or a Basic equate by its form.
    EXPECT_EQ(CHOOSE("$Dynamic", "").Choice, HELPCHOICE_BASIC);
}

TEST(HelpKeyword, DollarWordsAreBasic) {
    const Chosen c = CHOOSE("$Resource");
    EXPECT_EQ(c.Choice, HELPCHOICE_BASIC);
    EXPECT_EQ(c.Keyword, "$Resource");
    EXPECT_EQ(CHOOSE("a$").Choice, HELPCHOICE_API);  // only the first character counts
}

TEST(HelpKeyword, EquatesWithTheLanguagesPrefixesKeepTheirPercent) {
    for (const char *word : {"%ERR_FILENOTFOUND", "%VARCLASS_INT", "%PB_EXE", "%VT_I4", "%ERR_", "%PB_"}) {
        const Chosen c = CHOOSE(word);
        EXPECT_EQ(c.Choice, HELPCHOICE_BASIC) << word;
        EXPECT_EQ(c.Keyword, word);
    }
    // The prefixes are compared with their letter case: others are API names.
    for (const char *word : {"%err_filenotfound", "%Pb_Exe", "%vt_i4", "%VARCLASS", "%PBEXE"}) {
        const Chosen c = CHOOSE(word);
        EXPECT_EQ(c.Choice, HELPCHOICE_API) << word;
        EXPECT_EQ(c.Keyword, std::string(word).substr(1)) << word;
    }
}

TEST(HelpKeyword, NamedEquatesAreBasicOnlyInCapitals) {
    for (const char *name : {"DEF", "DWL_MSGRESULT", "BLACK", "BLUE", "CYAN", "GRAY", "GREEN", "LTGRAY", "MAGENTA",
                             "RED", "WHITE", "YELLOW"}) {
        const Chosen c = CHOOSE(std::string("%") + name, "dim");
        EXPECT_EQ(c.Choice, HELPCHOICE_BASIC) << name;
        EXPECT_EQ(c.Keyword, std::string("%") + name);
    }
    for (const char *word : {"%red", "%Red", "%yellow", "%REDDISH", "%WM_COMMAND", "%"}) {
        const Chosen c = CHOOSE(word, "dim");
        EXPECT_EQ(c.Choice, HELPCHOICE_API) << word;
        EXPECT_EQ(c.Keyword, std::string(word).substr(1)) << word;
    }
    // The list comes first: %Def is a listed word in any case.
    EXPECT_EQ(CHOOSE("%def").Choice, HELPCHOICE_BASIC);
    EXPECT_EQ(CHOOSE("%def").Keyword, "%def");
}

TEST(HelpKeyword, ALongWordIsCutAt1023Bytes) {
    EXPECT_EQ(KEYWORDRANGEEND(10, 20), 20);
    EXPECT_EQ(KEYWORDRANGEEND(10, 10 + 1023), 10 + 1023);
    EXPECT_EQ(KEYWORDRANGEEND(10, 10 + 5000), 10 + 1023);
    EXPECT_EQ(KEYWORDRANGEEND(10, 5), 10);  // never a negative length
    std::string line(4000, '=');
    EXPECT_EQ(CHOOSEHELPKEYWORD(line, BASICLIST), HELPCHOICE_API);
    EXPECT_EQ(line, std::string(1023, '='));
}

// ---------------------------------------------------------------- help files

TEST(HelpFiles, TheTypeIsTheLastFourCharactersInAnyCase) {
    EXPECT_EQ(HELPFILETYPE("C:\\PB\\pbwin.hlp"), HelpFileType::Hlp);
    EXPECT_EQ(HELPFILETYPE("api.HLP"), HelpFileType::Hlp);
    EXPECT_EQ(HELPFILETYPE("fb.chm"), HelpFileType::Chm);
    EXPECT_EQ(HELPFILETYPE("FB.CHM"), HelpFileType::Chm);
    EXPECT_EQ(HELPFILETYPE("msdn.Col"), HelpFileType::Col);
    EXPECT_EQ(HELPFILETYPE("C:\\help tools\\viewer.Exe"), HelpFileType::Exe);
    EXPECT_EQ(HELPFILETYPE("help.html"), HelpFileType::Other);
    EXPECT_EQ(HELPFILETYPE("chm"), HelpFileType::Other);   // shorter than four
    EXPECT_EQ(HELPFILETYPE(".chm"), HelpFileType::Chm);    // exactly four
    EXPECT_EQ(HELPFILETYPE(""), HelpFileType::Other);
    EXPECT_EQ(HELPFILETYPE("readme.hlp.txt"), HelpFileType::Other);
}

void EXPECTCALL(const HelpCall &call, HelpViewer viewer, bool owned, const std::string &file, unsigned command,
                bool withKeyword, int times = 1) {
    EXPECT_EQ(call.Viewer, viewer);
    EXPECT_EQ(call.OwnedByMainWindow, owned);
    EXPECT_EQ(call.File, file);
    EXPECT_EQ(call.Command, command);
    EXPECT_EQ(call.WithKeyword, withKeyword);
    EXPECT_EQ(call.Times, times);
}

TEST(HelpFiles, KeywordHelpInTheApiFileKnowsWinHelpAndHtmlHelpOnly) {
    const std::string basic = "basic.hlp";
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_API, "SendMessage", basic, "win32.HLP", 1), HelpViewer::WinHelp, true,
               "win32.HLP", WINHELP_PARTIALKEY, true);
    EXPECT_EQ(KEYWORDHELPCALL(HELPCHOICE_API, "SendMessage", basic, "win32.hlp", 0).Keyword, "SendMessage");
    // Every other type, a program included, goes to HTML Help without an owner.
    for (const char *api : {"msdn.chm", "msdn.col", "viewer.exe", "api.txt", "", "x"}) {
        const HelpCall call = KEYWORDHELPCALL(HELPCHOICE_API, "CreateFileA", basic, api, 1);
        EXPECTCALL(call, HelpViewer::HtmlHelp, false, api, HTMLHELP_DISPLAYINDEX, true);
        EXPECT_EQ(call.Keyword, "CreateFileA");
    }
}

TEST(HelpFiles, KeywordHelpInTheBasicFileByType) {
    const std::string api = "api.chm";
    // WinHelp: asked twice in a row for PowerBASIC.
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_BASIC, "Dim", "pbwin.hlp", api, 1), HelpViewer::WinHelp, true, "pbwin.hlp",
               WINHELP_PARTIALKEY, true, 2);
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_BASIC, "Dim", "fb.hlp", api, 0), HelpViewer::WinHelp, true, "fb.hlp",
               WINHELP_PARTIALKEY, true, 1);
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_BASIC, "Dim", "fb.CHM", api, 0), HelpViewer::HtmlHelp, true, "fb.CHM",
               HTMLHELP_DISPLAYINDEX, true);
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_BASIC, "Dim", "fb.col", api, 1), HelpViewer::HtmlHelp, true, "fb.col",
               HTMLHELP_DISPLAYINDEX, true);
    // A program gets the keyword as its parameters; other files open alone.
    const HelpCall program = KEYWORDHELPCALL(HELPCHOICE_BASIC, "Print", "C:\\fb help\\fbhelp.EXE", api, 1);
    EXPECTCALL(program, HelpViewer::Shell, true, "C:\\fb help\\fbhelp.EXE", 0, true);
    EXPECT_EQ(program.Keyword, "Print");
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_BASIC, "Print", "manual.pdf", api, 1), HelpViewer::Shell, true,
               "manual.pdf", 0, false);
    EXPECTCALL(KEYWORDHELPCALL(HELPCHOICE_BASIC, "Print", "", api, 1), HelpViewer::Shell, true, "", 0, false);
}

TEST(HelpFiles, BasicAndApiHelpOpenTheFilesWithoutKeyword) {
    EXPECTCALL(BASICHELPCALL("pbwin.HLP"), HelpViewer::WinHelp, true, "pbwin.HLP", WINHELP_CONTENTS, false);
    // Every other Basic help file, a program too, goes to HTML Help without an owner.
    for (const char *file : {"fb.chm", "fb.col", "fbhelp.exe", "manual.pdf", "hlp"})
        EXPECTCALL(BASICHELPCALL(file), HelpViewer::HtmlHelp, false, file, HTMLHELP_DISPLAYINDEX, false);

    EXPECTCALL(APIHELPCALL("win32.hlp"), HelpViewer::WinHelp, true, "win32.hlp", WINHELP_CONTENTS, false);
    EXPECTCALL(APIHELPCALL("msdn.chm"), HelpViewer::HtmlHelp, true, "msdn.chm", HTMLHELP_DISPLAYINDEX, false);
    EXPECTCALL(APIHELPCALL("msdn.COL"), HelpViewer::HtmlHelp, true, "msdn.COL", HTMLHELP_DISPLAYINDEX, false);
    for (const char *file : {"apiviewer.exe", "api.txt", "chm"})
        EXPECTCALL(APIHELPCALL(file), HelpViewer::Shell, true, file, 0, false);
}

// ---------------------------------------------------------------- the user guide

std::string READGUIDE() {
    std::ifstream in(QUILLET_HELP_DOCUMENT, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << QUILLET_HELP_DOCUMENT;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The document cut at its markers: header, then the five sections.
std::vector<std::string> PARTS(const std::string &document) {
    std::vector<std::string> parts(1);
    for (char c : document) {
        if (c == HELPSECTIONMARKER)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

std::string STREAMALL(std::string_view document, int section, std::size_t bufferSize, int &calls) {
    HelpStream stream = STARTHELPSTREAM(document, section);
    std::string delivered;
    std::vector<char> buffer(bufferSize);
    calls = 0;
    for (;;) {
        const std::size_t got = STREAMHELPSECTION(stream, buffer.data(), buffer.size());
        ++calls;
        EXPECT_LE(got, bufferSize);
        if (got == 0)
            break;
        delivered.append(buffer.data(), got);
        if (calls > 1000000)
            break;
    }
    // A stream that has ended stays ended.
    EXPECT_EQ(STREAMHELPSECTION(stream, buffer.data(), buffer.size()), 0u);
    return delivered;
}

TEST(HelpGuide, FiveSectionsThatMatchTheTopicsInOneRtfDocument) {
    const std::string guide = READGUIDE();
    const std::vector<std::string> parts = PARTS(guide);
    ASSERT_EQ(parts.size(), 1u + HELPTOPICCOUNT);
    EXPECT_EQ(parts[0].rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(parts[0].find("\\fonttbl"), std::string::npos);
    EXPECT_NE(parts[0].find("\\colortbl"), std::string::npos);
    for (int k = 1; k <= HELPTOPICCOUNT; ++k) {
        // Each section has its topic as a heading.
        const std::string &section = parts[k];
        EXPECT_NE(section.find(std::string(" ") + HELPTOPICS[k - 1] + "\\par}"), std::string::npos)
            << HELPTOPICS[k - 1];
        EXPECT_EQ(section.find("#section"), std::string::npos);
        EXPECT_GT(section.size(), 400u) << "a real text for " << HELPTOPICS[k - 1];
    }
    // Braces balance once the streamed closing brace is added to sections 1 to 4,
    // and the last section closes the document itself.
    auto depth = [](const std::string &text) {
        int d = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\') {
                ++i;
                continue;
            }
            d += text[i] == '{' ? 1 : text[i] == '}' ? -1 : 0;
        }
        return d;
    };
    for (int k = 1; k < HELPTOPICCOUNT; ++k)
        EXPECT_EQ(depth(parts[0] + parts[k] + "}"), 0) << HELPTOPICS[k - 1];
    EXPECT_EQ(depth(parts[0] + parts[HELPTOPICCOUNT]), 0);
    EXPECT_EQ(parts[HELPTOPICCOUNT].back() == '}' || parts[HELPTOPICCOUNT].back() == '\n', true);
}

TEST(HelpGuide, EveryTopicStreamsHeaderSectionAndOneBraceOverAnyBufferSize) {
    const std::string guide = READGUIDE();
    const std::vector<std::string> parts = PARTS(guide);
    ASSERT_EQ(parts.size(), 1u + HELPTOPICCOUNT);
    for (int k = 1; k <= HELPTOPICCOUNT; ++k) {
        const std::string expected = parts[0] + parts[k] + (k < HELPTOPICCOUNT ? "}" : "");
        for (std::size_t size : {1u, 7u, 4096u}) {
            int calls = 0;
            const std::string got = STREAMALL(guide, k, size, calls);
            EXPECT_EQ(got, expected) << "topic " << k << ", buffer " << size;
            EXPECT_EQ(static_cast<std::size_t>(calls), (expected.size() + size - 1) / size + 1)
                << "full buffers until the last, then the empty call";
        }
    }
}

TEST(HelpGuide, StreamingEdges) {
    const std::string doc = std::string("{H") + HELPSECTIONMARKER + "one" + HELPSECTIONMARKER + "two}";
    int calls = 0;
    EXPECT_EQ(STREAMALL(doc, 1, 1, calls), "{Hone}");
    EXPECT_EQ(STREAMALL(doc, 2, 3, calls), "{Htwo}");
    // No selection: the header alone, closed.
    EXPECT_EQ(STREAMALL(doc, 0, 4, calls), "{H}");
    // A section number beyond the document: the header, nothing more.
    EXPECT_EQ(STREAMALL(doc, 9, 4, calls), "{H");
    // A marker as the very last byte still closes the section before it.
    const std::string trailing = std::string("{H") + HELPSECTIONMARKER + "one" + HELPSECTIONMARKER;
    EXPECT_EQ(STREAMALL(trailing, 1, 2, calls), "{Hone}");
    EXPECT_EQ(STREAMALL("", 1, 4, calls), "");
    // A buffer filled exactly up to the marker: the brace comes with the next call.
    HelpStream s = STARTHELPSTREAM(doc, 1);
    char buffer[5];
    ASSERT_EQ(STREAMHELPSECTION(s, buffer, 5), 5u);
    EXPECT_EQ(std::string(buffer, 5), "{Hone");
    ASSERT_EQ(STREAMHELPSECTION(s, buffer, 5), 1u);
    EXPECT_EQ(buffer[0], '}');
    EXPECT_EQ(STREAMHELPSECTION(s, buffer, 5), 0u);
}

// ---------------------------------------------------------------- About

TEST(HelpAbout, TheStringsInTheirOrderAndCutAt1023) {
    VersionStrings s;
    s.Comments = "An editor";
    s.OriginalFilename = "Quillet.exe";
    s.LegalCopyright = "(c) Someone";
    s.CompanyName = "Company";
    s.FileVersion = "1.2.3.4";
    const std::string text = ABOUTTEXT(s);
    EXPECT_EQ(text, std::string("An editor\r\rFile: Quillet.exe\rVersion: 1.2.3.4\r(c) Someone\rCompany\r\rUpdates: ") +
                        UPDATEADDRESS);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    s.Comments = std::string(2000, 'c');
    const std::string cut = ABOUTTEXT(s);
    EXPECT_EQ(cut.size(), MAXABOUTCHARS);
    EXPECT_EQ(cut, std::string(1023, 'c'));
}

}  // namespace
