// The configuration store: the INI file beside the program, read once at
// start-up with the first-start detections, and the keys written at exit.
#include <windows.h>

#include <cwchar>
#include <vector>

#include "services/profilerecord.h"
#include "services/settingsrules.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "services/fileio.h"
#include "services/pathtext.h"
#include "services/textcodes.h"
#include "services/wintext.h"

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
    std::wstring buffer(bufferSize, L'\0');
    const DWORD got = GetPrivateProfileStringW(WIDE(section).c_str(), WIDE(key).c_str(), WIDE(fallback).c_str(),
                                               buffer.data(), static_cast<DWORD>(buffer.size()),
                                               WIDE(AppSettings.IniPath).c_str());
    buffer.resize(got);
    return UTF8OF(buffer);
}

std::int32_t READINT(const char *section, const char *key, std::int32_t fallback) {
    return static_cast<std::int32_t>(
        GetPrivateProfileIntW(WIDE(section).c_str(), WIDE(key).c_str(), fallback, WIDE(AppSettings.IniPath).c_str()));
}

bool READRECORD(const char *section, const char *key, void *record, UINT size) {
    return GetPrivateProfileStructW(WIDE(section).c_str(), WIDE(key).c_str(), record, size,
                                    WIDE(AppSettings.IniPath).c_str()) != FALSE;
}

// A settings file that cannot be written (a read-only program folder, say)
// is reported once per run: every later write would fail the same way.
void REPORTINIWRITEFAILURE() {
    if (IniWriteFailureReported)
        return;
    IniWriteFailureReported = true;
    MESSAGEBOX(MainWindow && IsWindow(MainWindow) ? MainWindow : nullptr,
               "The settings could not be written to\r" + AppSettings.IniPath +
                   "\rChanged settings will be lost when the editor closes.",
               PROGRAMCAPTION, MB_OK | MB_ICONWARNING);
}

// Writers of one settings file in any running Quillet take turns, so that
// the switch to UTF-16 below (read, convert, replace) loses no key another
// instance writes at the same moment. The name is made from the file's path,
// which may not be part of a mutex's name itself.
class IniWriteTurn {
public:
    IniWriteTurn() {
        std::uint32_t hash = 2166136261u;
        for (const char c : UPPERTEXT(AppSettings.IniPath))
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        wchar_t name[64];
        swprintf(name, 64, L"Local\\Quillet-settings-%08X", hash);
        Mutex.RESET(CreateMutexW(nullptr, FALSE, name));
        // A turn that does not come within seconds is not waited for: the
        // other writer hangs, and this one writes as it always has.
        if (Mutex.OK()) {
            const DWORD got = WaitForSingleObject(Mutex.GET(), 5000);
            Owned = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
        }
    }
    ~IniWriteTurn() {
        if (Owned)
            ReleaseMutex(Mutex.GET());
    }
    IniWriteTurn(const IniWriteTurn &) = delete;
    IniWriteTurn &operator=(const IniWriteTurn &) = delete;

private:
    KernelHandle Mutex;
    bool Owned = false;
};

// The settings file holds text in the system's ANSI code page until a value
// comes that the code page cannot hold (a folder named in another script).
// Then the whole file is rewritten once as UTF-16 with its byte-order mark,
// which the profile functions read and write from then on, so that no
// character of any value is ever stored as "?". A file that is UTF-16
// already, or a value that fits, changes nothing. A file another editor saved
// as UTF-8 (with or without its mark) or as UTF-16 big-endian is converted
// from what it is; one that does not decode cleanly is left as it is, and
// the user told once.
bool MAKEINIUNICODE() {
    const std::string path = AppSettings.IniPath;
    std::string bytes;
    if (EXISTS(path) && !READFILEBYTES(path, bytes, 64u << 20))
        return false;
    const TEXTENCODING encoding = DETECTENCODING(bytes);
    if (encoding == ENCODINGUTF16LE && bytes.size() % 2 == 0)
        return true;
    std::string unicode;
    bool clean = false;
    if (encoding == ENCODINGANSI) {
        const UINT page = SYSTEMCODEPAGE(CP_ACP);
        const int length = static_cast<int>(bytes.size());
        const int needed = bytes.empty() ? 0 : MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
        clean = bytes.empty() || needed > 0;
        if (clean) {
            std::wstring wide(static_cast<std::size_t>(needed), L'\0');
            if (needed > 0)
                MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), needed);
            unicode = "\xFF\xFE";
            unicode.append(reinterpret_cast<const char *>(wide.data()), wide.size() * sizeof(wchar_t));
        }
    } else {
        clean = UTF16LEFILEOF(bytes, encoding, unicode);
    }
    if (!clean) {
        if (!IniWriteFailureReported) {
            IniWriteFailureReported = true;
            MESSAGEBOX(MainWindow && IsWindow(MainWindow) ? MainWindow : nullptr,
                       "The settings file\r" + path +
                           "\ris not text in an encoding the editor knows, so it was left as it is.\r"
                           "Changed settings will be lost when the editor closes.",
                       PROGRAMCAPTION, MB_OK | MB_ICONWARNING);
        }
        return false;
    }
    SafeFileWriter writer;
    return writer.BEGIN(path) == 0 && writer.WRITE(unicode) && writer.COMMIT() == 0;
}

bool WRITERECORD(const char *section, const char *key, const void *record, UINT size) {
    const IniWriteTurn turn;
    if (WritePrivateProfileStructW(WIDE(section).c_str(), WIDE(key).c_str(), const_cast<void *>(record), size,
                                   WIDE(AppSettings.IniPath).c_str()))
        return true;
    REPORTINIWRITEFAILURE();
    return false;
}

bool SAMENAME(const std::wstring &a, std::string_view b) {
    const std::wstring wide = WIDE(b);
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, wide.c_str(),
                          static_cast<int>(wide.size())) == CSTR_EQUAL;
}

bool ISDOTS(const std::wstring &name) {
    return name == L"." || name == L"..";
}

// One pass over a folder and its direct subfolders, in enumeration order.
bool SEARCHFOLDER(const std::string &folder, std::string_view name, std::string &result) {
    WIN32_FIND_DATAW entry;
    FindHandle outer(FindFirstFileW(SYSTEMPATH(folder + "*.*").c_str(), &entry));
    if (!outer.OK())
        return false;
    do {
        const std::wstring entryName = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (ISDOTS(entryName))
                continue;
            const std::string sub = folder + UTF8OF(entryName);
            if (SAMENAME(entryName, name)) {
                result = sub;
                return true;
            }
            WIN32_FIND_DATAW inner;
            FindHandle innerFind(FindFirstFileW(SYSTEMPATH(sub + "\\*.*").c_str(), &inner));
            if (!innerFind.OK())
                continue;
            do {
                if (SAMENAME(inner.cFileName, name)) {
                    result = sub + "\\" + UTF8OF(inner.cFileName);
                    return true;
                }
            } while (FindNextFileW(innerFind.GET(), &inner));
        } else if (SAMENAME(entryName, name)) {
            result = folder + UTF8OF(entryName);
            return true;
        }
    } while (FindNextFileW(outer.GET(), &entry));
    return false;
}

// Runs FINDPROGRAMFILE over names in order; the name that hit, or empty.
std::string FINDFIRSTOF(const std::vector<std::string> &names, std::string &result, int alsoParent) {
    for (const auto &name : names)
        if (FINDPROGRAMFILE(name, result, alsoParent))
            return name;
    return std::string();
}

// The work area of the monitor nearest to the rectangle's top-left corner,
// the one point a stored rectangle surely has (its right may lie left of it).
WindowRect NEARESTWORKAREA(const WindowRect &r) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromPoint(POINT{r.left, r.top}, MONITOR_DEFAULTTONEAREST), &monitor))
        return WindowRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return WindowRect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
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
    const IniWriteTurn turn;
    if ((FITSCODEPAGE(value, CP_ACP) || MAKEINIUNICODE()) &&
        WritePrivateProfileStringW(WIDE(section).c_str(), WIDE(key).c_str(), WIDE(value).c_str(),
                                   WIDE(AppSettings.IniPath).c_str()))
        return 0;
    REPORTINIWRITEFAILURE();
    return 1;
}

void LOADPROGRAMPATHS() {
    // The buffer grows until the whole path fits: a program folder of any
    // length is the program's folder.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD got = 0;
    for (;;) {
        got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got < buffer.size() || buffer.size() >= 32768)
            break;
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(got < buffer.size() ? got : buffer.size() - 1);
    AppSettings.ExePath = UTF8OF(buffer);
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

    // Left and top are pulled onto the monitor nearest to the stored corner
    // first, so a window closed on a monitor that is gone comes back at its
    // edge; only what is still no window's rectangle after that (left beyond
    // right, a minimised window's far-off corner) gets the default, sized for
    // its screen's DPI once the window exists.
    WindowRect stored;
    s.MainWndPos = READRECORD(WINDOWSECTION, "MainWndPos", &stored, sizeof stored)
                       ? PLACEMAINWNDPOS(stored, NEARESTWORKAREA(stored))
                       : WindowRect{};
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
    s.ErrorText = READINT(WINDOWSECTION, "ErrorText", 1);
    s.AutoComplete = READINT(WINDOWSECTION, "AutoComplete", 0);
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
    WRITESETTINGSTRING(WINDOWSECTION, "ErrorText", std::to_string(s.ErrorText));
    WRITESETTINGSTRING(WINDOWSECTION, "AutoComplete", std::to_string(s.AutoComplete));
    WRITESETTINGSTRING(WINDOWSECTION, "LastSearchKey", CUTTEXT(s.LastSearchKey, MAXPATHCHARS));
    WRITESETTINGSTRING(WINDOWSECTION, "LastReplaceKey", CUTTEXT(s.LastReplaceKey, MAXPATHCHARS));
    WRITESETTINGSTRING(OTHERSECTION, "CompileTimeout", std::to_string(s.CompileTimeout));
    return 0;
}
