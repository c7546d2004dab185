// The program where a user has it: installed by the installer or unpacked
// from a zip, in the folder that QUILLET_PROGRAM names. It starts from
// there, opens an example listing and compiles it with the compiler
// stand-in, and a listing saved in the program folder comes back as it was
// saved. What the program writes there (its INI file, the keyword files,
// the listing) is left in place: the uninstaller must leave it too.
// Installed by the installer, it is also offered in Explorer's "Open with"
// for Basic listings: the commands registered for that start it with a
// listing (the zips register nothing, so their runs leave that test out).
// The folder may be named in any script (a user profile "Ωmega 日本", say):
// every path goes to and comes from Windows in UTF-16.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "harness.h"

namespace {

const int CMD_SAVE = 1111;
const int CMD_PASTE = 1203;
const int CMD_SELECTALL = 1204;
const int CMD_COMPILE = 1301;

std::string PROGRAMDIR() {
    std::wstring value(32768, L'\0');
    const DWORD got = GetEnvironmentVariableW(L"QUILLET_PROGRAM", value.data(), static_cast<DWORD>(value.size()));
    if (got == 0 || got >= value.size())
        return std::string();
    value.resize(got);
    std::string folder = harness::UTF8PATH(value);
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

// The text as a program that calls the ANSI functions gets it (the compiler
// stand-in records its working folder so): a character the system's code
// page lacks comes out as its nearest form or "?".
std::string ANSIOF(const std::string &text) {
    const std::wstring wide = harness::WIDE(text);
    std::string ansi(wide.size() * 2 + 1, '\0');
    const int got = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                                        static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return ansi;
}

// A value of the INI file as the program reads it back.
std::string INIVALUE(const std::string &file, const char *section, const char *key) {
    std::wstring value(32768, L'\0');
    const DWORD got = GetPrivateProfileStringW(harness::WIDE(section).c_str(), harness::WIDE(key).c_str(), L"",
                                               value.data(), static_cast<DWORD>(value.size()),
                                               harness::WIDE(file).c_str());
    value.resize(got);
    return harness::UTF8PATH(value);
}

// The string value of a key under HKCU\Software\Classes ("" for the key's
// default); false when the key or the value is missing.
bool CLASSVALUE(const std::string &key, const char *name, std::string &value) {
    const std::wstring path = harness::WIDE("Software\\Classes\\" + key);
    const std::wstring wideName = harness::WIDE(name);
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), wideName.c_str(), RRF_RT_REG_SZ, nullptr, data.data(), &size) !=
        ERROR_SUCCESS)
        return false;
    value = harness::UTF8PATH(data.data());
    return true;
}

// The names of the values of a key under HKCU\Software\Classes.
std::vector<std::string> CLASSVALUENAMES(const std::string &key) {
    std::vector<std::string> names;
    HKEY handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, harness::WIDE("Software\\Classes\\" + key).c_str(), 0, KEY_READ, &handle) !=
        ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = sizeof name / sizeof name[0];
        if (RegEnumValueW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(harness::UTF8PATH(std::wstring(name, length)));
    }
    RegCloseKey(handle);
    return names;
}

class InstalledTest : public ::testing::Test {
protected:
    void SetUp() override {
        Program = PROGRAMDIR();
        ASSERT_FALSE(Program.empty()) << "QUILLET_PROGRAM names no folder";
        ASSERT_TRUE(harness::FILEEXISTS(Program + "Quillet.exe")) << Program;
    }
    void TearDown() override {
        for (auto &p : Processes) {
            if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(p.hProcess, 1);
            WaitForSingleObject(p.hProcess, 5000);
            CloseHandle(p.hProcess);
            CloseHandle(p.hThread);
        }
    }
    // Starts the program as its Start menu entry does (in its own folder)
    // with a listing; returns its main window.
    HWND START(const std::string &listing) {
        return LAUNCH("\"" + Program + "Quillet.exe\" \"" + listing + "\"", Program, listing);
    }
    // Runs the command line in the folder; returns the main window of the
    // program it started, once the listing is named in its title.
    HWND LAUNCH(const std::string &command, const std::string &folder, const std::string &listing) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::wstring line = harness::WIDE(command);
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   harness::WIDE(folder).c_str(), &startup, &process))
            << command;
        Processes.push_back(process);
        WaitForInputIdle(process.hProcess, 5000);
        HWND window = harness::WAITFORWINDOW(process.dwProcessId, "ZeTarvikClass", 15000);
        EXPECT_NE(window, nullptr);
        // The listing is named in the title once it is open.
        for (int i = 0; window && i < 100 && harness::WINDOWTEXTOF(window) != listing; ++i)
            Sleep(50);
        return window;
    }
    DWORD CLOSE(HWND window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        const HANDLE process = Processes.back().hProcess;
        EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
        DWORD code = 12345;
        GetExitCodeProcess(process, &code);
        return code;
    }
    static HWND EDITOR(HWND window) { return FindWindowExA(window, nullptr, "ScintillaPb", nullptr); }
    static std::string EDITORTEXT(HWND window) {
        HWND editor = EDITOR(window);
        std::string text(static_cast<size_t>(SendMessageA(editor, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(SendMessageA(editor, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
        return text;
    }
    std::string Program;
    harness::TempFolder Folder;
    std::vector<PROCESS_INFORMATION> Processes;
};

TEST_F(InstalledTest, OpensAnExampleAndCompilesItWithTheCompiler) {
    // The compiler and its include folder, as the user configured them.
    ASSERT_TRUE(CopyFileW(harness::WIDE(harness::PROGRAMFOLDER() + "standin_freebasic.exe").c_str(),
                          harness::WIDE(Folder.FILE("fbc.exe")).c_str(), FALSE));
    const std::string banner = "FreeBASIC Compiler - Version 1.10.1\r\ncompiling:    hello-freebasic.bas -o hello-freebasic.c\r\n";
    Folder.WRITEFILE("fbc.out", banner);
    Folder.MAKEFOLDER("basic headers");
    const std::string ini = Program + "Quillet.ini";
    harness::WRITEWHOLEFILE(ini, "[PathSettings]\r\nCompiler=" + Folder.FILE("fbc.exe") +
                                     "\r\nIncludeDir=" + Folder.FILE("basic headers\\") +
                                     "\r\n[OtherSettings]\r\nCompilerType=0\r\n");
    const std::string example = Program + "examples\\hello-freebasic.bas";
    HWND window = START(example);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), example);
    const std::string text = EDITORTEXT(window);
    EXPECT_EQ(text.rfind("' Quillet example: a small FreeBASIC program", 0), 0u) << text.substr(0, 80);
    EXPECT_EQ(text.find("ZESETTINGS"), std::string::npos);

    PostMessageA(window, WM_COMMAND, CMD_COMPILE, 0);
    HWND box = harness::WAITFORDIALOG(Processes.back().dwProcessId, 20000);
    ASSERT_NE(box, nullptr);
    Sleep(100);
    EXPECT_EQ(harness::WINDOWTEXTOF(box), "Compiler result");
    EXPECT_EQ(harness::MESSAGEBOXTEXT(box), banner);
    harness::PRESSBUTTON(box, IDOK);
    const std::string record = Folder.READFILE("fbc.rec");
    EXPECT_NE(record.find("hello-freebasic.bas"), std::string::npos) << record;
    EXPECT_NE(record.find("dir=" + ANSIOF(Program + "examples") + "\r\n"), std::string::npos) << record;
    Sleep(200);
    EXPECT_EQ(CLOSE(window), 0u);
    // The listing's path was stored on exit whole, whatever script the
    // program folder is named in, beside the paths the user had configured.
    EXPECT_EQ(INIVALUE(ini, "PathSettings", "LastFile"), example);
    EXPECT_EQ(INIVALUE(ini, "PathSettings", "Compiler"), Folder.FILE("fbc.exe"));
    EXPECT_EQ(INIVALUE(ini, "PathSettings", "IncludeDir"), Folder.FILE("basic headers\\"));
    // The keyword files were made beside the program on its first start.
    EXPECT_TRUE(harness::FILEEXISTS(Program + "FreeBasicKeywords.txt"));
    EXPECT_TRUE(harness::FILEEXISTS(Program + "ApiKeywords.txt"));
}

TEST_F(InstalledTest, AListingSavedInTheProgramFolderComesBack) {
    const std::string listing = Program + "mine.bas";
    harness::WRITEWHOLEFILE(listing, "Print \"mine\"\r\n");
    HWND window = START(listing);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(EDITORTEXT(window), "Print \"mine\"\r\n");
    const std::string changed = "Sub Greet()\r\n  Print \"changed\"\r\nEnd Sub\r\nGreet()\r\n";
    // The new text comes in as a user brings it: through the clipboard.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, changed.size() + 1);
    memcpy(GlobalLock(memory), changed.c_str(), changed.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    PostMessageA(window, WM_COMMAND, CMD_SELECTALL, 0);
    PostMessageA(window, WM_COMMAND, CMD_PASTE, 0);
    PostMessageA(window, WM_COMMAND, CMD_SAVE, 0);
    std::string saved;
    for (int i = 0; i < 100 && saved.find("ZESETTINGS") == std::string::npos; ++i) {
        Sleep(50);
        saved = harness::READWHOLEFILE(listing);
    }
    EXPECT_EQ(saved.rfind(changed + "\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=", 0), 0u) << saved;
    EXPECT_EQ(CLOSE(window), 0u);

    window = START(listing);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), listing);
    EXPECT_EQ(EDITORTEXT(window), changed);
    EXPECT_EQ(CLOSE(window), 0u);
    EXPECT_EQ(harness::READWHOLEFILE(listing), saved);
}

// Explorer's "Open with" offers, for each Basic extension, the programs of the
// ProgIDs named under the extension's OpenWithProgids and the applications
// whose SupportedTypes list it; it runs their open command with %1 replaced
// by the listing's path.
TEST_F(InstalledTest, OpensAListingThroughItsOpenWithEntry) {
    const std::string expected = "\"" + Program + "Quillet.exe\" \"%1\"";
    const std::string program = "\"" + Program + "Quillet.exe\"";
    std::string progidCommand;
    for (const char *extension : {".bas", ".bi", ".inc"}) {
        SCOPED_TRACE(extension);
        int ours = 0;
        for (const std::string &progid : CLASSVALUENAMES(std::string(extension) + "\\OpenWithProgids")) {
            std::string command, description;
            if (!CLASSVALUE(progid + "\\shell\\open\\command", "", command) || command.rfind(program, 0) != 0)
                continue;
            ++ours;
            EXPECT_EQ(command, expected) << progid;
            EXPECT_TRUE(CLASSVALUE(progid, "", description) && !description.empty()) << progid << " has no description";
            progidCommand = command;
        }
        EXPECT_EQ(ours, 1) << "ProgIDs under OpenWithProgids that start " << program;
        std::string type;
        EXPECT_TRUE(CLASSVALUE("Applications\\Quillet.exe\\SupportedTypes", extension, type))
            << "not among the types of Applications\\Quillet.exe";
    }
    std::string name, appCommand;
    EXPECT_TRUE(CLASSVALUE("Applications\\Quillet.exe", "FriendlyAppName", name));
    EXPECT_EQ(name, "Quillet");
    EXPECT_TRUE(CLASSVALUE("Applications\\Quillet.exe\\shell\\open\\command", "", appCommand));
    EXPECT_EQ(appCommand, expected);
    ASSERT_FALSE(progidCommand.empty());

    // The command as Explorer runs it, on a listing in a folder whose name
    // holds a blank, started in that folder.
    Folder.MAKEFOLDER("Basic Listings");
    const std::string folder = Folder.FILE("Basic Listings\\");
    const std::string listing = folder + "opened from Explorer.bas";
    const std::string text = "Print \"opened from Explorer\"\r\n";
    harness::WRITEWHOLEFILE(listing, text);
    std::string command = progidCommand;
    command.replace(command.find("%1"), 2, listing);
    HWND window = LAUNCH(command, folder, listing);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(harness::WINDOWTEXTOF(window), listing);
    EXPECT_EQ(EDITORTEXT(window), text);
    EXPECT_EQ(CLOSE(window), 0u);
}

}  // namespace
