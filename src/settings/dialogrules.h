// What the general and project settings dialogs decide from text and numbers
// alone: the compiler-type question, the hint texts, the file filters, the
// starting folders of the file boxes, the INI keys written on OK, the title
// and the target entries of the project settings.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The question asked on OK when the compiler type and the Basic keyword file
// name contradict each other (compiler type 0 with "POWERBASIC" anywhere in
// the path, 1 with "FREEBASIC", in any letter case); empty when they agree.
std::string COMPILERTYPEQUESTION(std::int32_t compilerType, std::string_view basicKeywordFile);
constexpr const char *QUESTIONCAPTION = "Possible error";

// The hint line's text for the control under the mouse, by control id.
std::string GENERALHINT(int controlId);
// selectedTarget is the entry selected in the target list, or -1.
std::string PROJECTHINT(int controlId, int selectedTarget);

// File filters of the ">>" buttons: description and pattern strings, each
// ended by a zero byte, the list ended by one more.
std::string EXECUTABLEFILTER();
std::string HELPFILTER();
std::string TEXTFILTER();
std::string RESOURCEFILTER();
std::string ALLFILESFILTER();
// The filter for a ">>" button of the general settings (131 to 191).
std::string GENERALBROWSEFILTER(int buttonId);

// Starting folder of the file box for a field's text: up to and including
// the last backslash; exeDir for an empty field; empty (the system's choice)
// for a name without backslash.
std::string BROWSESTARTFOLDER(std::string_view fieldText, std::string_view exeDir);
// Starting folder of the directory chooser: the field's text, or exeDir.
std::string DIRECTORYSTARTFOLDER(std::string_view fieldText, std::string_view exeDir);
// The field text for a chosen directory: its long form ending with one "\".
std::string DIRECTORYFIELDTEXT(std::string_view longForm);

// The nine paths of the general settings, as typed into the dialog.
struct GENERALPATHS {
    std::string TemplateDir;
    std::string IncludeDir;
    std::string Compiler;
    std::string PbResourceConverter;
    std::string ResourceEditor;
    std::string ApiHelpFile;
    std::string BasicHelpFile;
    std::string BasicKeywordFile;
    std::string ApiKeywordFile;
};

struct INIWRITE {
    const char *Section;
    const char *Key;
    std::string Value;
};
// The keys written on OK, in their order; the first (IncludeDir) decides
// whether the rest are written. PbResourceConverter only for PowerBASIC.
std::vector<INIWRITE> GENERALSETTINGSWRITES(const GENERALPATHS &paths, std::int32_t compilerType);

// Project settings.
constexpr int TARGETCOUNT = 5;
// The list entry and the hint description of a target type (0 to 4).
const char *TARGETENTRY(int index);
const char *TARGETDESCRIPTION(int index);
// The dialog's title for the document's file name (empty for untitled text).
std::string PROJECTTITLE(std::string_view currentFile);
// A name of the Project settings that the listing's code page cannot hold.
std::string NAMENOTHELDTEXT(std::string_view name, int codePage);
