// The program where a user has it: installed by the installer or unpacked
// from a zip, in the folder that QUILLET_PROGRAM names. It starts from
// there, opens an example listing and compiles it with the compiler
// stand-in, and a listing saved in the program folder comes back as it was
// saved. What the program writes there (its INI file, the keyword files,
// the listing) is left in place: the uninstaller must leave it too.
// Installed by the installer, it is also offered in Explorer's "Open with"
// for Basic listings: the commands registered for that start it with a
// listing (the zips register nothing, so their runs leave that test out).
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
    char value[MAX_PATH + 1] = {};
    if (!GetEnvironmentVariableA("QUILLET_PROGRAM", value, sizeof value))
        return std::string();
    std::string folder = value;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

// The string value of a key under HKCU\Software\Classes ("" for the key's
// default); false when the key or the value is missing.
bool CLASSVALUE(const std::string &key, const char *name, std::string &value) {
    const std::string path = "Software\\Classes\\" + key;
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<char> data(size + 1, '\0');
    size = static_cast<DWORD>(data.size());
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return false;
    value = data.data();
    return true;
}

// The names of the values of a key under HKCU\Software\Classes.
std::vector<std::string> CLASSVALUENAMES(const std::string &key) {
    std::vector<std::string> names;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ("Software\\Classes\\" + key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumValueA(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
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
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        EXPECT_TRUE(
            CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &process))
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
    ASSERT_TRUE(CopyFileA((harness::PROGRAMFOLDER() + "standin_freebasic.exe").c_str(), Folder.FILE("fbc.exe").c_str(),
                          FALSE));
    const std::string banner = "FreeBASIC Compiler - Version 1.10.1\r\ncompiling:    hello-freebasic.bas -o hello-freebasic.c\r\n";
    Folder.WRITEFILE("fbc.out", banner);
    Folder.MAKEFOLDER("basic headers");
    harness::WRITEWHOLEFILE(Program + "Quillet.ini", "[PathSettings]\r\nCompiler=" + Folder.FILE("fbc.exe") +
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
    EXPECT_NE(record.find("dir=" + Program + "examples\r\n"), std::string::npos) << record;
    Sleep(200);
    EXPECT_EQ(CLOSE(window), 0u);
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
