#include "harness.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace harness {

std::string WINDOWTEXTOF(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<size_t>(length) + 2, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return UTF8PATH(buffer);
}

std::string CLASSNAMEOF(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {
struct Search {
    DWORD ProcessId;
    const char *ClassName;
    HWND Excluding;
    HWND Found;
};

BOOL CALLBACK FINDTOPLEVEL(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<Search *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || window == search->Excluding || !IsWindowVisible(window))
        return TRUE;
    if (CLASSNAMEOF(window) != search->ClassName)
        return TRUE;
    search->Found = window;
    return FALSE;
}

HWND FINDTOP(DWORD processId, const char *className, HWND excluding) {
    Search search{processId, className, excluding, nullptr};
    EnumWindows(FINDTOPLEVEL, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}
}  // namespace

HWND FINDDIALOG(DWORD processId, HWND excluding) {
    return FINDTOP(processId, "#32770", excluding);
}

HWND WAITFORDIALOG(DWORD processId, int timeoutMs, bool pump) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FINDDIALOG(processId))
            return found;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return nullptr;
        if (pump)
            PUMP(20);
        else
            Sleep(20);
    }
}

HWND WAITFORWINDOW(DWORD processId, const char *className, int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = FINDTOP(processId, className, nullptr))
            return found;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

std::string FILEDIALOGTEXT(HWND dialog, UINT message) {
    wchar_t text[32768] = {};
    SendMessageW(dialog, message, 32767, reinterpret_cast<LPARAM>(text));
    return UTF8PATH(text);
}

std::string MESSAGEBOXTEXT(HWND box) {
    return WINDOWTEXTOF(GetDlgItem(box, 0xFFFF));
}

bool HASBUTTON(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button != nullptr && IsWindowVisible(button);
}

void PRESSBUTTON(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PUMP(int milliseconds, const std::function<bool()> &done) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done && done())
            return;
        Sleep(5);
    } while (static_cast<int>(GetTickCount() - start) < milliseconds);
}

DialogAnswerer::DialogAnswerer(int answer, int timeoutMs)
    : DialogAnswerer([answer](HWND box) { PRESSBUTTON(box, answer); }, timeoutMs) {}

DialogAnswerer::DialogAnswerer(std::function<void(HWND)> drive, int timeoutMs)
    : DialogAnswerer(std::vector<std::function<void(HWND)>>{std::move(drive)}, timeoutMs) {}

DialogAnswerer::DialogAnswerer(std::vector<std::function<void(HWND)>> steps, int timeoutMs) : Steps(std::move(steps)) {
    Worker = std::thread([this, timeoutMs] { RUN(timeoutMs); });
}

void DialogAnswerer::RUN(int timeoutMs) {
    for (size_t step = 0; step < Steps.size(); ++step) {
        HWND box = WAITFORDIALOG(GetCurrentProcessId(), timeoutMs);
        if (!box)
            return;
        Sleep(50);  // let the dialog finish its initialisation
        if (step == 0) {
            Box.Seen = true;
            Box.Caption = WINDOWTEXTOF(box);
            Box.Text = MESSAGEBOXTEXT(box);
            for (int id = IDOK; id <= 11; ++id)
                Box.Buttons[id] = HASBUTTON(box, id);
            Box.HandIcon = GetDlgItem(box, 1088) != nullptr;
        }
        Steps[step](box);
        for (int i = 0; i < timeoutMs / 20 && IsWindow(box); ++i)
            Sleep(20);
    }
}

namespace {
struct BoxLook {
    const std::function<int(const std::string &)> *AnswerOf;
    const std::vector<HWND> *Answered;
    HWND Found;
};

// Window enumeration callbacks are named functions, not lambdas: on i686 they
// must be stdcall, which a lambda's conversion does not give.
BOOL CALLBACK FINDUNANSWEREDBOX(HWND w, LPARAM param) {
    auto *l = reinterpret_cast<BoxLook *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    // Message boxes only: they have the static text 0xFFFF.
    if (owner != GetCurrentProcessId() || !IsWindowVisible(w) || CLASSNAMEOF(w) != "#32770" ||
        !GetDlgItem(w, 0xFFFF) || std::find(l->Answered->begin(), l->Answered->end(), w) != l->Answered->end() ||
        (*l->AnswerOf)(MESSAGEBOXTEXT(w)) == 0)
        return TRUE;
    l->Found = w;
    return FALSE;
}
}  // namespace

BoxWatcher::BoxWatcher(std::string prefix, int answer)
    : BoxWatcher([prefix, answer](const std::string &text) { return text.rfind(prefix, 0) == 0 ? answer : 0; }) {}

BoxWatcher::BoxWatcher(std::function<int(const std::string &)> answerOf) : AnswerOf(std::move(answerOf)) {
    Worker = std::thread([this] {
        std::vector<HWND> answered;
        while (Running) {
            BoxLook look{&AnswerOf, &answered, nullptr};
            EnumWindows(FINDUNANSWEREDBOX, reinterpret_cast<LPARAM>(&look));
            HWND box = look.Found;
            if (box) {
                Sleep(50);
                Last = MESSAGEBOXTEXT(box);
                ++Count;
                answered.push_back(box);
                PRESSBUTTON(box, AnswerOf(Last));
            }
            Sleep(20);
        }
    });
}

int BoxWatcher::STOP() {
    Running = false;
    if (Worker.joinable())
        Worker.join();
    return Count;
}

BoxWatcher::~BoxWatcher() {
    STOP();
}

const SeenBox &DialogAnswerer::RESULT() {
    if (Worker.joinable())
        Worker.join();
    return Box;
}

DialogAnswerer::~DialogAnswerer() {
    if (Worker.joinable())
        Worker.join();
}

// Paths in the tests are UTF-8, as in the program; they reach Windows
// through the wide functions, long ones in the "\\?\" form.
std::wstring WIDE(const std::string &text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int got = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                        static_cast<int>(wide.size()));
    wide.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return wide;
}

std::wstring WIDEPATH(const std::string &path) {
    std::wstring wide = WIDE(path);
    if (wide.size() >= MAX_PATH - 12 && wide.rfind(L"\\\\?\\", 0) != 0 && wide.size() > 2 && wide[1] == L':')
        wide = L"\\\\?\\" + wide;
    return wide;
}

std::string UTF8PATH(const std::wstring &wide) {
    std::string text(wide.size() * 3 + 1, '\0');
    const int got = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                        static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

TempFolder::TempFolder(const std::string &suffix) {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        Path = UTF8PATH(base) + "quillet-test-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(++counter) + suffix + "\\";
        if (CreateDirectoryW(WIDEPATH(Path).c_str(), nullptr))
            break;
    }
}

namespace {
void REMOVETREE(const std::string &folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WIDEPATH(folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = UTF8PATH(entry.cFileName);
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + name;
            SetFileAttributesW(WIDEPATH(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                REMOVETREE(path + "\\");
            else
                DeleteFileW(WIDEPATH(path).c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    SetFileAttributesW(WIDEPATH(folder).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(WIDEPATH(folder).c_str());
}
}  // namespace

TempFolder::~TempFolder() {
    REMOVETREE(Path);
}

void TempFolder::WRITEFILE(const std::string &name, const std::string &bytes) const {
    WRITEWHOLEFILE(FILE(name), bytes);
}

std::string TempFolder::READFILE(const std::string &name) const {
    return READWHOLEFILE(FILE(name));
}

void TempFolder::MAKEFOLDER(const std::string &name) const {
    CreateDirectoryW(WIDEPATH(FILE(name)).c_str(), nullptr);
}

bool FILEEXISTS(const std::string &path) {
    return GetFileAttributesW(WIDEPATH(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string READWHOLEFILE(const std::string &path) {
    HANDLE file = CreateFileW(WIDEPATH(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

void WRITEWHOLEFILE(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileW(WIDEPATH(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::vector<std::string> FILESIN(const std::string &folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(WIDEPATH(folder + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = UTF8PATH(entry.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

std::string PROGRAMFOLDER() {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string text = UTF8PATH(path);
    return text.substr(0, text.rfind('\\') + 1);
}

void SHOT(HWND window, const std::string &name, int extraBelow) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("QUILLET_SHOTS", folder, MAX_PATH))
        return;
    Sleep(300);
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window)
        GetWindowRect(window, &r);
    r.bottom += extraBelow;
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::string pixels(stride * static_cast<DWORD>(height), '\0');
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO *>(&header),
              DIB_RGB_COLORS);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char *>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char *>(&header), sizeof header);
    bytes += pixels;
    WRITEWHOLEFILE(std::string(folder) + "\\" + name + ".bmp", bytes);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace harness
