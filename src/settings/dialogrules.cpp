#include "settings/dialogrules.h"

#include "services/settingsrules.h"
#include "ui/settingsids.h"

std::string COMPILERTYPEQUESTION(std::int32_t compilerType, std::string_view basicKeywordFile) {
    const std::string upper = UPPERTEXT(basicKeywordFile);
    const char *chosen = nullptr;
    const char *found = nullptr;
    if (compilerType == FREEBASICCOMPILER && upper.find("POWERBASIC") != std::string::npos) {
        chosen = "FreeBasic";
        found = "PowerBasic";
    } else if (compilerType == POWERBASICCOMPILER && upper.find("FREEBASIC") != std::string::npos) {
        chosen = "PowerBasic";
        found = "FreeBasic";
    } else {
        return std::string();
    }
    return std::string("You have selected the ") + chosen + " compiler but the\rBasic keyword filename contains the string \"" +
           found + "\".\rReally continue?";
}

namespace {
const char BROWSEHINT[] = "Select the file/directory by file selection box.";
const char SHELLEXECUTESENTENCE[] =
    " For other files (for example *.exe) ShellExecute() is called with or wihout a keyword as command line parameter.";
}  // namespace

std::string GENERALHINT(int controlId) {
    switch (controlId) {
    case 1:
        return "Make changes permanent and leave dialog.";
    case 2:
        return "Reject changes and leave dialog.";
    case IDC_TEMPLATEDIR:
        return "Directory opened when clicking menu item File-->New-->By template file...";
    case IDC_INCLUDEPATH:
        return "Directory for the include files. For PowerBasic by default \"WINAPI\" and for FreeBasic \"INC\".";
    case IDC_COMPILER:
        return "Path+Filename of the FreeBasic compiler (fbc.exe) or the PowerBasic compiler "
               "(pbdll.exe/pbdll16.exe/pbwin.exe/pbcc.exe, by default in \"BIN\" directory). A compilation may take "
               "CompileTimeout seconds (INI file, at most 30); with 0 the editor waits until the compiler ends.";
    case IDC_PBRESCONVERTER:
        return "Needed for PowerBasic Win/CC only: Resource converter which converts the *.pbr resource file into a "
               "standard Windows *.res resource file (pbres.exe). By default found in \"BIN\" directory.";
    case IDC_RESOURCEEDITOR:
        return "Resource editor opened with menu item Tools-->Edit resources. In PowerBasic the resource filename is "
               "taken from #RESORCE statement. More see in editor's help.";
    case IDC_APIHELPFILE:
        return std::string("API help file for context sensitive help and menu entry Help-->API help. Can be either be a "
                           "WinHelp (*.hlp) or HTML help (*.col/*.chm) file.") +
               SHELLEXECUTESENTENCE;
    case IDC_BASICHELPFILE:
        return std::string("Basic help file for context sensitive help and menu entry Help-->Basic help. Can be either "
                           "be a WinHelp (*.hlp) or HTML help (*.col/*.chm) file.") +
               SHELLEXECUTESENTENCE;
    case IDC_BASICKEYWORDFILE:
        return "Text file containing a space-separated list of Basic keywords for syntax coloring and "
               "context-sensitive help. If not existing the editor creates the file with default content.";
    case IDC_APIKEYWORDFILE:
        return "Text file containing a space-separated list of Windows API keywords for syntax coloring and "
               "context-sensitive help. If not existing the editor creates the file with default content.";
    case IDC_TEMPLATEDIRBROWSE:
    case IDC_INCLUDEPATHBROWSE:
    case IDC_COMPILERBROWSE:
    case IDC_PBRESCONVERTERBROWSE:
    case IDC_RESOURCEEDITORBROWSE:
    case IDC_APIHELPFILEBROWSE:
    case IDC_BASICHELPFILEBROWSE:
    case IDC_BASICKEYWORDFILEBROWSE:
    case IDC_APIKEYWORDFILEBROWSE:
        return BROWSEHINT;
    default:
        return std::string();
    }
}

std::string PROJECTHINT(int controlId, int selectedTarget) {
    switch (controlId) {
    case 1:
        return "Use current settings and leave dialog.";
    case 2:
        return "Reject changes and leave dialog.";
    case IDC_TARGETTYPE:
        return std::string("File type to compile: ") + TARGETDESCRIPTION(selectedTarget);
    case IDC_RESOURCEFILE:
        return "Filename of the Resource file containing dialog templates, menues, "
               "version info and so on. Open+edit with menu Tools-->Edit resources.";
    case IDC_OUTPUTFILE:
        return "Alternative target filename with or without path. Leave empty to generate the "
               "filename from the currently loaded file.";
    default:
        return std::string();
    }
}


std::string EXECUTABLEFILTER() {
    return FILTERLIST({"*.exe", "*.EXE", "*.*", "*.*"});
}
std::string HELPFILTER() {
    return FILTERLIST({"*.hlp;*.col;*.chm", "*.HLP;*.COL;*.CHM", "*.*", "*.*"});
}
std::string TEXTFILTER() {
    return FILTERLIST({"*.txt", "*.TXT", "*.*", "*.*"});
}
std::string RESOURCEFILTER() {
    return FILTERLIST({"*.res;*.rc", "*.RES;*.RC", "*.*", "*.*"});
}
std::string ALLFILESFILTER() {
    return FILTERLIST({"*.*", "*.*"});
}

std::string GENERALBROWSEFILTER(int buttonId) {
    switch (buttonId) {
    case IDC_APIHELPFILEBROWSE:
    case IDC_BASICHELPFILEBROWSE:
        return HELPFILTER();
    case IDC_BASICKEYWORDFILEBROWSE:
    case IDC_APIKEYWORDFILEBROWSE:
        return TEXTFILTER();
    default:
        return EXECUTABLEFILTER();
    }
}

std::string BROWSESTARTFOLDER(std::string_view fieldText, std::string_view exeDir) {
    if (fieldText.empty())
        return std::string(exeDir);
    const auto slash = fieldText.rfind('\\');
    if (slash == std::string_view::npos)
        return std::string();
    return std::string(fieldText.substr(0, slash + 1));
}

std::string DIRECTORYSTARTFOLDER(std::string_view fieldText, std::string_view exeDir) {
    return std::string(fieldText.empty() ? exeDir : fieldText);
}

std::string DIRECTORYFIELDTEXT(std::string_view longForm) {
    std::string text(longForm);
    // A drive's root already ends with its backslash.
    if (text.empty() || text.back() != '\\')
        text += '\\';
    return CUTTEXT(text, MAXPATHCHARS);
}

std::vector<INIWRITE> GENERALSETTINGSWRITES(const GENERALPATHS &paths, std::int32_t compilerType) {
    const char *path = "PathSettings";
    std::vector<INIWRITE> writes = {
        {path, "IncludeDir", paths.IncludeDir},       {path, "TemplateDir", paths.TemplateDir},
        {path, "BasicHelpFile", paths.BasicHelpFile}, {path, "ApiHelpFile", paths.ApiHelpFile},
        {path, "Compiler", paths.Compiler},
    };
    if (compilerType == POWERBASICCOMPILER)
        writes.push_back({path, "PbResourceConverter", paths.PbResourceConverter});
    writes.push_back({path, "ResourceEditor", paths.ResourceEditor});
    writes.push_back({path, "BasicKeywordFile", paths.BasicKeywordFile});
    writes.push_back({path, "ApiKeywordFile", paths.ApiKeywordFile});
    writes.push_back({"OtherSettings", "CompilerType", std::to_string(compilerType)});
    return writes;
}

namespace {
const char *const TARGETENTRIES[TARGETCOUNT] = {
    "Win32 console application (*.exe)", "Win32 GUI application (*.exe)", "Win32 dynamic library (*.dll)",
    "Win32 static library (*.lib)", "Win32 object file (*.obj)"};
const char *const TARGETDESCRIPTIONS[TARGETCOUNT] = {
    "Win32 textmode application (*.exe)", "Win32 standard application (*.exe)", "Win32 dynamic link library (*.dll)",
    "Win32 static library (*.lib)", "Win32 object file (*.obj)"};
}  // namespace

const char *TARGETENTRY(int index) {
    return index >= 0 && index < TARGETCOUNT ? TARGETENTRIES[index] : "";
}

const char *TARGETDESCRIPTION(int index) {
    return index >= 0 && index < TARGETCOUNT ? TARGETDESCRIPTIONS[index] : "";
}

std::string NAMENOTHELDTEXT(std::string_view name, int codePage) {
    return "This name holds characters that the listing's code page (" + std::to_string(codePage) +
           ") cannot hold:\r" + std::string(name) +
           "\rThe project settings are stored in the listing; choose a name of its characters, or keep the "
           "listing as UTF-8 (with the byte-order mark).";
}

std::string PROJECTTITLE(std::string_view currentFile) {
    if (currentFile.empty())
        return "Project settings for current file";
    const auto slash = currentFile.rfind('\\');
    return "Project settings for " +
           std::string(slash == std::string_view::npos ? currentFile : currentFile.substr(slash + 1));
}
