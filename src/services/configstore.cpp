// The configuration store: the INI file beside the program, read once at
// start-up with the first-start detections, and the keys written at exit.
#include <windows.h>

#include <vector>

#include "services/profilerecord.h"
#include "services/settingsrules.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/fileio.h"

AppSettingsRecord AppSettings;
bool IniWriteFailureReported = false;

namespace {

const char PATHSECTION[] = "PathSettings";
const char WINDOWSECTION[] = "Windows";
const char OTHERSECTION[] = "OtherSettings";

// Strings arrive through a MAX_PATH buffer: at most 259 characters (254 for
// the font), whatever the file holds.
std::string READSTRING(const char *section, const char *key, const std::string &fallback,
                       std::size_t bufferSize = MAX_PATH) {
    std::vector<char> buffer(bufferSize, '\0');
    const DWORD got = GetPrivateProfileStringA(section, key, fallback.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), AppSettings.IniPath.c_str());
    return std::string(buffer.data(), got);
}

std::int32_t READINT(const char *section, const char *key, std::int32_t fallback) {
    return static_cast<std::int32_t>(GetPrivateProfileIntA(section, key, fallback, AppSettings.IniPath.c_str()));
}

bool READRECORD(const char *section, const char *key, void *record, UINT size) {
    return GetPrivateProfileStructA(section, key, record, size, AppSettings.IniPath.c_str()) != FALSE;
}

// A settings file that cannot be written (a read-only program folder, say)
// is reported once per run: every later write would fail the same way.
void REPORTINIWRITEFAILURE() {
    if (IniWriteFailureReported)
        return;
    IniWriteFailureReported = true;
    MessageBoxA(MainWindow && IsWindow(MainWindow) ? MainWindow : nullptr,
                ("The settings could not be written to\r" + AppSettings.IniPath +
                 "\rChanged settings will be lost when the editor closes.")
                    .c_str(),
                PROGRAMCAPTION, MB_OK | MB_ICONWARNING);
}

bool WRITERECORD(const char *section, const char *key, const void *record, UINT size) {
    if (WritePrivateProfileStructA(section, key, const_cast<void *>(record), size, AppSettings.IniPath.c_str()))
        return true;
    REPORTINIWRITEFAILURE();
    return false;
}

bool SAMENAME(const char *a, std::string_view b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a, -1, b.data(), static_cast<int>(b.size())) ==
           CSTR_EQUAL;
}

bool ISDOTS(const char *name) {
    return lstrcmpA(name, ".") == 0 || lstrcmpA(name, "..") == 0;
}

// One pass over a folder and its direct subfolders, in enumeration order.
bool SEARCHFOLDER(const std::string &folder, std::string_view name, std::string &result) {
    WIN32_FIND_DATAA entry;
    FindHandle outer(FindFirstFileA((folder + "*.*").c_str(), &entry));
    if (!outer.OK())
        return false;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (ISDOTS(entry.cFileName))
                continue;
            const std::string sub = folder + entry.cFileName;
            if (SAMENAME(entry.cFileName, name)) {
                result = sub;
                return true;
            }
            WIN32_FIND_DATAA inner;
            FindHandle innerFind(FindFirstFileA((sub + "\\*.*").c_str(), &inner));
            if (!innerFind.OK())
                continue;
            do {
                if (SAMENAME(inner.cFileName, name)) {
                    result = sub + "\\" + inner.cFileName;
                    return true;
                }
            } while (FindNextFileA(innerFind.GET(), &inner));
        } else if (SAMENAME(entry.cFileName, name)) {
            result = folder + entry.cFileName;
            return true;
        }
    } while (FindNextFileA(outer.GET(), &entry));
    return false;
}

// Runs FINDPROGRAMFILE over names in order; the name that hit, or empty.
std::string FINDFIRSTOF(const std::vector<std::string> &names, std::string &result, int alsoParent) {
    for (const auto &name : names)
        if (FINDPROGRAMFILE(name, result, alsoParent))
            return name;
    return std::string();
}

// True when some of the rectangle lies on a monitor.
bool ONAMONITOR(const WindowRect &r) {
    if (r.right <= r.left || r.bottom <= r.top)
        return false;
    const RECT rect{r.left, r.top, r.right, r.bottom};
    return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
}

bool CANOPENFORREADING(const std::string &path) {
    return !path.empty() && FileHandle(OPENFORREADING(path)).OK();
}

}  // namespace

int FINDPROGRAMFILE(std::string_view name, std::string &result, int alsoParent) {
    result.clear();
    const auto slash = name.find('\\');
    if (slash != std::string_view::npos)
        name = name.substr(slash + 1);
    if (!SEARCHFOLDER(AppSettings.ExeDir, name, result) && alsoParent != 0) {
        const std::string parent = PARENTFOLDEROF(AppSettings.ExeDir);
        if (!parent.empty())
            SEARCHFOLDER(parent, name, result);
    }
    return result.empty() ? 0 : 1;
}

int WRITESETTINGSTRING(const char *section, const char *key, const std::string &value) {
    if (WritePrivateProfileStringA(section, key, value.c_str(), AppSettings.IniPath.c_str()))
        return 0;
    REPORTINIWRITEFAILURE();
    return 1;
}

void LOADPROGRAMPATHS() {
    std::vector<char> buffer(MAX_PATH, '\0');
    DWORD got = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    // A longer path is cut, never overrun; it still names the program's folder.
    AppSettings.ExePath.assign(buffer.data(), got < buffer.size() ? got : buffer.size() - 1);
    AppSettings.ExeDir = EXEDIROF(AppSettings.ExePath);
    AppSettings.IniPath = INIPATHOF(AppSettings.ExePath);
    AppSettings.OpenFilter = OPENFILTERLIST();
    AppSettings.SaveFilter = SAVEFILTERLIST();
}

std::string LOADFIRSTFILE(std::string_view tail) {
    std::string file;
    if (PARSECOMMANDTAIL(tail, file) == TAIL_LASTFILE)
        file = READSTRING(PATHSECTION, "LastFile", "");
    return file;
}

void LOADSETTINGS() {
    AppSettingsRecord &s = AppSettings;

    s.Compiler = READSTRING(PATHSECTION, "Compiler", "");
    if (s.Compiler.empty()) {
        const std::string hit = FINDFIRSTOF(COMPILERNAMES(), s.Compiler, 0);
        if (!hit.empty()) {
            WRITESETTINGSTRING(PATHSECTION, "Compiler", s.Compiler);
            WRITESETTINGSTRING(OTHERSECTION, "CompilerType", std::to_string(COMPILERTYPEOF(hit)));
        }
    }

    s.CompilerType = CHECKCOMPILERTYPE(READINT(OTHERSECTION, "CompilerType", 0));

    s.IncludeDir = READSTRING(PATHSECTION, "IncludeDir", s.ExeDir);
    if (s.IncludeDir == s.ExeDir) {
        if (!FINDFIRSTOF(INCLUDEDIRNAMES(s.CompilerType), s.IncludeDir, 1).empty()) {
            s.IncludeDir += '\\';
            WRITESETTINGSTRING(PATHSECTION, "IncludeDir", s.IncludeDir);
        }
    }

    s.TemplateDir = READSTRING(PATHSECTION, "TemplateDir", s.ExeDir);
    s.ApiHelpFile = READSTRING(PATHSECTION, "ApiHelpFile", "");
    s.BasicHelpFile = READSTRING(PATHSECTION, "BasicHelpFile", "");
    if (s.CompilerType == POWERBASICCOMPILER && s.BasicHelpFile.empty()) {
        if (!FINDFIRSTOF(BASICHELPNAMES(), s.BasicHelpFile, 1).empty())
            WRITESETTINGSTRING(PATHSECTION, "BasicHelpFile", s.BasicHelpFile);
    }

    s.PbResourceConverter = READSTRING(PATHSECTION, "PbResourceConverter", "");
    if (s.CompilerType == POWERBASICCOMPILER && s.PbResourceConverter.empty()) {
        if (FINDPROGRAMFILE("pbres.exe", s.PbResourceConverter, 1))
            WRITESETTINGSTRING(PATHSECTION, "PbResourceConverter", s.PbResourceConverter);
    }

    s.ResourceEditor = READSTRING(PATHSECTION, "ResourceEditor", "");
    s.BasicKeywordFile = READSTRING(PATHSECTION, "BasicKeywordFile", "");
    s.ApiKeywordFile = READSTRING(PATHSECTION, "ApiKeywordFile", "");
    if (!CANOPENFORREADING(s.BasicKeywordFile))
        s.BasicKeywordFile = DEFAULTBASICKEYWORDFILE(s.ExeDir, s.CompilerType);
    if (!CANOPENFORREADING(s.ApiKeywordFile))
        s.ApiKeywordFile = DEFAULTAPIKEYWORDFILE(s.ExeDir);

    // A stored rectangle that is off every monitor or has a size no window
    // should have (a hand-edited file, a close while minimised by an older
    // version) gives the default window.
    WindowRect stored;
    const bool read = READRECORD(WINDOWSECTION, "MainWndPos", &stored, sizeof stored);
    const WindowRect placed = CLAMPMAINWNDPOS(stored, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (read && USABLEMAINWNDPOS(stored, ONAMONITOR(stored)) && USABLEMAINWNDPOS(placed, true))
        s.MainWndPos = placed;
    else
        s.MainWndPos = DEFAULTMAINWNDPOS();
    if (!READRECORD(WINDOWSECTION, "SearchWndPos", &s.SearchWndPos, sizeof s.SearchWndPos))
        s.SearchWndPos = WindowRect{};
    if (!READRECORD(WINDOWSECTION, "GoToWndPos", &s.GoToWndPos, sizeof s.GoToWndPos))
        s.GoToWndPos = WindowRect{};
    std::uint32_t colors[SYNTAXCOLORCOUNT];
    if (READRECORD(WINDOWSECTION, "SyntaxColors", colors, sizeof colors)) {
        for (int i = 0; i < SYNTAXCOLORCOUNT; ++i)
            s.SyntaxColors[i] = colors[i];
    } else {
        DEFAULTSYNTAXCOLORS(s.SyntaxColors);
    }

    s.Font = READSTRING(WINDOWSECTION, "Font", "Courier New", MAXFONTCHARS + 1);
    s.FontSize = CHECKFONTSIZE(READINT(WINDOWSECTION, "FontSize", 9));
    s.AutoIndent = READINT(WINDOWSECTION, "AutoIndent", 1);
    s.LastSearchKey = READSTRING(WINDOWSECTION, "LastSearchKey", "");
    s.LastReplaceKey = READSTRING(WINDOWSECTION, "LastReplaceKey", "");
    s.CompileTimeout = CHECKCOMPILETIMEOUT(READINT(OTHERSECTION, "CompileTimeout", 10));
}

int SAVEEXITSETTINGS(const std::string &lastFile) {
    const AppSettingsRecord &s = AppSettings;
    if (WRITESETTINGSTRING(PATHSECTION, "LastFile", CUTTEXT(lastFile, MAXPATHCHARS)) != 0)
        return 1;
    WRITERECORD(WINDOWSECTION, "MainWndPos", &s.MainWndPos, sizeof s.MainWndPos);
    WRITERECORD(WINDOWSECTION, "SearchWndPos", &s.SearchWndPos, sizeof s.SearchWndPos);
    WRITERECORD(WINDOWSECTION, "GoToWndPos", &s.GoToWndPos, sizeof s.GoToWndPos);
    WRITESETTINGSTRING(WINDOWSECTION, "AutoIndent", std::to_string(s.AutoIndent));
    WRITESETTINGSTRING(WINDOWSECTION, "LastSearchKey", CUTTEXT(s.LastSearchKey, MAXPATHCHARS));
    WRITESETTINGSTRING(WINDOWSECTION, "LastReplaceKey", CUTTEXT(s.LastReplaceKey, MAXPATHCHARS));
    WRITESETTINGSTRING(OTHERSECTION, "CompileTimeout", std::to_string(s.CompileTimeout));
    return 0;
}
