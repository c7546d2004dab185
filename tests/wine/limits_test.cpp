// The limits of the 32-bit release, which holds the listing, its styles, its
// undo data and the program in 2 GB of address space: the largest listing it
// accepts opens, saves and exports whole; one byte more is refused with the
// read error and changes nothing; Replace all over that listing completes,
// or, where the grown text finds no room, says so and changes nothing.
// Built for the 32-bit program only (the x86-64 build accepts 2 GB, more
// than a test run should write).
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Scintilla.h"
#include "document/document.h"
#include "editing/editing.h"
#include "inprocess.h"
#include "ui/resource.h"

namespace {

// The largest listing the 32-bit program opens.
const std::uint64_t LARGEST = 256ull << 20;

// One Sub, repeated to fill the listing: a fold header, a string, a comment
// and one Print for Replace all to find.
const std::string PIECE =
    "Sub Handler(ByVal hWnd As HWND, ByVal msg As UINT)\r\n"
    "  Dim caption As String = \"Handler\" ' the window's caption\r\n"
    "  Print caption; msg\r\n"
    "End Sub\r\n";
const std::uint64_t PIECES = LARGEST / PIECE.size();
// What is left after the last whole Sub: a comment line of that length.
std::string TAIL() {
    const std::size_t rest = static_cast<std::size_t>(LARGEST - PIECES * PIECE.size());
    return rest < 3 ? std::string(rest, ' ') : "'" + std::string(rest - 3, '-') + "\r\n";
}

// Writes PIECE PIECES times and the tail, then extra bytes.
bool WRITELISTING(const std::string &path, const std::string &extra = "") {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string chunk;
    const std::uint64_t perChunk = (1u << 20) / PIECE.size();
    for (std::uint64_t i = 0; i < perChunk; ++i)
        chunk += PIECE;
    bool ok = true;
    DWORD written = 0;
    for (std::uint64_t done = 0; ok && done < PIECES; done += perChunk) {
        const std::size_t count = static_cast<std::size_t>(PIECES - done < perChunk ? PIECES - done : perChunk);
        ok = WriteFile(file, chunk.data(), static_cast<DWORD>(count * PIECE.size()), &written, nullptr) != FALSE;
    }
    const std::string end = TAIL() + extra;
    ok = ok && WriteFile(file, end.data(), static_cast<DWORD>(end.size()), &written, nullptr);
    CloseHandle(file);
    return ok;
}

// True when the bytes are the generated listing, with each Sub's Print
// given as print.
bool ISLISTING(const char *text, std::uint64_t length, const std::string &piece) {
    const std::string tail = TAIL();
    if (length != PIECES * piece.size() + tail.size())
        return false;
    for (std::uint64_t i = 0; i < PIECES; ++i, text += piece.size())
        if (std::memcmp(text, piece.data(), piece.size()) != 0)
            return false;
    return std::memcmp(text, tail.data(), tail.size()) == 0;
}

// True when the file starts with prefix and then the generated listing.
bool FILESTARTSWITHLISTING(const std::string &path, const std::string &prefix = "") {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string chunk(PIECE.size() * 8192, '\0');
    DWORD got = 0;
    bool same = prefix.empty() || (ReadFile(file, chunk.data(), static_cast<DWORD>(prefix.size()), &got, nullptr) &&
                                   chunk.compare(0, prefix.size(), prefix) == 0);
    for (std::uint64_t i = 0; same && i < PIECES; i += 8192) {
        const std::uint64_t count = PIECES - i < 8192 ? PIECES - i : 8192;
        const DWORD want = static_cast<DWORD>(count * PIECE.size());
        same = ReadFile(file, chunk.data(), want, &got, nullptr) && got == want;
        for (std::uint64_t k = 0; same && k < count; ++k)
            same = std::memcmp(chunk.data() + k * PIECE.size(), PIECE.data(), PIECE.size()) == 0;
    }
    const std::string tail = TAIL();
    same = same && ReadFile(file, chunk.data(), static_cast<DWORD>(tail.size()), &got, nullptr) &&
           chunk.compare(0, tail.size(), tail) == 0;
    CloseHandle(file);
    return same;
}

std::uint64_t FILESIZE(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string LASTBYTES(const std::string &path, DWORD count) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(count, '\0');
    LARGE_INTEGER back;
    back.QuadPart = -static_cast<LONGLONG>(count);
    DWORD got = 0;
    SetFilePointerEx(file, back, nullptr, FILE_END);
    ReadFile(file, bytes.data(), count, &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

// The committed memory's peak and the largest free block of address space,
// in MB: how close the work came to the 2 GB the process has.
double PEAKCOMMITMB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakPagefileUsage) / (1 << 20);
}

double LARGESTFREEMB() {
    MEMORY_BASIC_INFORMATION info;
    SIZE_T largest = 0;
    for (const char *p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;) {
        if (info.State == MEM_FREE && info.RegionSize > largest)
            largest = info.RegionSize;
        const char *next = static_cast<const char *>(info.BaseAddress) + info.RegionSize;
        if (next <= p)
            break;
        p = next;
    }
    return static_cast<double>(largest) / (1 << 20);
}

class LimitsTest : public InProcessTest {
protected:
    void TearDown() override {
        // Free the large document before the next test starts.
        if (MainWindow && IsWindow(MainWindow)) {
            CALL(SCI_CLEARALL);
            CALL(SCI_EMPTYUNDOBUFFER);
        }
        InProcessTest::TearDown();
    }
    // Text of the control without a copy of it (and without taking memory).
    const char *CONTROLTEXT() { return reinterpret_cast<const char *>(CALL(SCI_GETRANGEPOINTER, 0, CALL(SCI_GETLENGTH))); }
    static void REPORT(const char *what, double seconds) {
        std::printf("[ figures  ] %s: %.1f s, peak committed %.0f MB, largest free block %.0f MB\n", what, seconds,
                    PEAKCOMMITMB(), LARGESTFREEMB());
    }
    static double NOW() {
        LARGE_INTEGER t, f;
        QueryPerformanceCounter(&t);
        QueryPerformanceFrequency(&f);
        return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
    }
};

TEST_F(LimitsTest, TheLargestListingOpensSavesAndExportsAndOneByteMoreIsRefused) {
    START();
    const std::string path = Folder.FILE("largest.bas");

    // One byte over the limit: the read error, and the text before stays.
    ASSERT_TRUE(WRITELISTING(path, "x"));
    SETTEXT("kept");
    CALL(SCI_SETSAVEPOINT);
    Document.CurrentFile = path;
    {
        harness::DialogAnswerer answer(IDOK);
        EXPECT_EQ(OPENFILE(CMD_OPENCURRENT), 4);
        EXPECT_EQ(answer.RESULT().Text, "Error while reading from file\r" + path);
    }
    EXPECT_EQ(DOCUMENTTEXT(), "kept");
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);

    // The largest it accepts.
    ASSERT_TRUE(WRITELISTING(path));
    ASSERT_EQ(FILESIZE(path), LARGEST);
    Document.CurrentFile = path;
    double start = NOW();
    ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
    PUMP(200);
    REPORT("open 256 MB", NOW() - start);
    ASSERT_EQ(static_cast<std::uint64_t>(CALL(SCI_GETLENGTH)), LARGEST);
    EXPECT_TRUE(ISLISTING(CONTROLTEXT(), LARGEST, PIECE));
    EXPECT_EQ(CALL(SCI_GETSTATUS), 0);

    // Saved whole, with its settings block after the text.
    CALL(SCI_GOTOPOS, 10);
    start = NOW();
    ASSERT_EQ(SAVEFILE(), 0);
    REPORT("save 256 MB", NOW() - start);
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    const std::uint64_t saved = FILESIZE(path);
    EXPECT_GT(saved, LARGEST);
    EXPECT_TRUE(FILESTARTSWITHLISTING(path));
    const std::string end = LASTBYTES(path, static_cast<DWORD>(saved - LARGEST));
    EXPECT_EQ(end.rfind("\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=A\r\n'ZETOGGLE=", 0), 0u) << end.substr(0, 80);

    // Exported in colour to its end.
    const std::string rtf = Folder.FILE("largest.rtf");
    start = NOW();
    ASSERT_EQ(EXPORTRTF(rtf), 0);
    REPORT("export 256 MB as RTF", NOW() - start);
    EXPECT_GT(FILESIZE(rtf), LARGEST);
    const std::string rtfEnd = LASTBYTES(rtf, 400);
    EXPECT_NE(rtfEnd.find("\\cf3 End\\cf0  \\cf3 Sub\\par "), std::string::npos) << rtfEnd;
    EXPECT_EQ(rtfEnd.substr(rtfEnd.size() - 5), "\\par}");
    EXPECT_TRUE(ISLISTING(CONTROLTEXT(), LARGEST, PIECE));
    DeleteFileA(rtf.c_str());
}

// Presses Replace all in the Search/Replace dialog and answers its two boxes
// (Yes, then the result) from a second thread, since both are modal; the
// Search dialog itself is not one of them. Returns the result's text.
std::string REPLACEALL(HWND search) {
    std::string result;
    std::thread answer([&result, search] {
        for (int step = 0; step < 2; ++step) {
            HWND box = nullptr;
            for (int i = 0; i < 60000 && !box; ++i) {
                box = harness::FINDDIALOG(GetCurrentProcessId(), search);
                if (!box)
                    Sleep(10);
            }
            if (!box)
                return;
            Sleep(50);
            if (step == 1)
                result = harness::MESSAGEBOXTEXT(box);
            harness::PRESSBUTTON(box, step == 0 ? IDYES : IDOK);
            for (int i = 0; i < 500 && IsWindow(box); ++i)
                Sleep(10);
        }
    });
    SendMessageA(search, WM_COMMAND, MAKEWPARAM(IDC_REPLACEALL, BN_CLICKED), 0);
    answer.join();
    return result;
}

// Replace all over the largest listing, with every replacement recorded
// for Undo. A replacement of the same length completes. A longer one makes
// the text grow past the limit of opening, into a buffer that needs one free
// block of its whole size, which 2 GB of address space may not have: then
// the listing is left exactly as it was and a message says so.
TEST_F(LimitsTest, ReplaceAllOverTheLargestListingCompletesOrChangesNothing) {
    START();
    const std::string path = Folder.FILE("replace.bas");
    ASSERT_TRUE(WRITELISTING(path));
    const struct {
        const char *replacement;
        bool mayRunOutOfMemory;
    } cases[] = {{"Debug.Print caption", true}, {"Write caption", false}};
    for (const auto &c : cases) {
        // The case before leaves nothing behind: neither text nor undo data.
        CALL(SCI_CLEARALL);
        CALL(SCI_EMPTYUNDOBUFFER);
        CALL(SCI_SETSAVEPOINT);
        Document.CurrentFile = path;
        ASSERT_EQ(OPENFILE(CMD_OPENCURRENT), 0);
        PUMP(200);
        ASSERT_TRUE(ISLISTING(CONTROLTEXT(), LARGEST, PIECE));
        CALL(SCI_GOTOPOS, 0);
        COMMAND(CMD_SEARCH);
        ASSERT_NE(SearchDialog, nullptr);
        SetDlgItemTextA(SearchDialog, IDC_SEARCHTEXT, "Print caption");
        SetDlgItemTextA(SearchDialog, IDC_REPLACETEXT, c.replacement);
        const double start = NOW();
        const std::string result = REPLACEALL(SearchDialog);
        REPORT((std::string("Replace all with ") + c.replacement + ", " + std::to_string(PIECES) +
                " occurrences in 256 MB")
                   .c_str(),
               NOW() - start);
        EXPECT_EQ(CALL(SCI_GETSTATUS), 0);
        std::string replaced = PIECE;
        replaced.replace(replaced.find("Print caption"), 13, c.replacement);
        const std::uint64_t grown = PIECES * replaced.size() + TAIL().size();
        if (c.mayRunOutOfMemory && result.rfind("Not enough memory", 0) == 0) {
            EXPECT_EQ(result,
                      "Not enough memory to replace all.\r0 occurrences replaced; the rest of the listing is unchanged.");
            EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
            ASSERT_EQ(static_cast<std::uint64_t>(CALL(SCI_GETLENGTH)), LARGEST);
            EXPECT_TRUE(ISLISTING(CONTROLTEXT(), LARGEST, PIECE));
            // The control is sound after the refusal: a letter typed at the
            // top is saved before the whole listing.
            CALL(SCI_GOTOPOS, 0);
            SendMessageA(EditorControl, WM_CHAR, 'X', 1);
            ASSERT_EQ(SAVEFILE(), 0);
            EXPECT_TRUE(FILESTARTSWITHLISTING(path, "X"));
            ASSERT_TRUE(WRITELISTING(path));
        } else {
            const std::string expected = std::to_string(PIECES) + " occurrences replaced.";
            EXPECT_EQ(result.substr(0, expected.size()), expected) << result;
            ASSERT_EQ(static_cast<std::uint64_t>(CALL(SCI_GETLENGTH)), grown);
            EXPECT_TRUE(ISLISTING(CONTROLTEXT(), grown, replaced));
        }
        DestroyWindow(SearchDialog);
        SearchDialog = nullptr;
    }
    DeleteFileA(path.c_str());
}

// A user at the limit: a listing of 120 MB copied and pasted at its end
// until the memory runs out. The refused paste is told once and changes
// nothing; typing goes on; another listing then opens with its own text,
// and saving it writes its own text, not the large one.
TEST_F(LimitsTest, PastingUntilMemoryRunsOutThenTypingOpeningAndSavingAnother) {
    START();
    const std::string large = Folder.FILE("large.bas");
    {
        std::string text;
        while (text.size() < (120u << 20))
            text += PIECE;
        Folder.WRITEFILE("large.bas", text);
    }
    const std::uint64_t size = FILESIZE(large);
    ASSERT_EQ(OPENPATH(large), 0);
    PUMP(200);
    ASSERT_EQ(static_cast<std::uint64_t>(CALL(SCI_GETLENGTH)), size);
    COMMAND(CMD_SELECTALL);
    COMMAND(CMD_COPY);
    CALL(SCI_DOCUMENTEND);
    std::vector<std::string> told;
    int pastes = 0;
    for (; pastes < 6 && told.empty(); ++pastes) {
        const LRESULT before = CALL(SCI_GETLENGTH);
        harness::DialogAnswerer answer(IDOK, 3000);
        const double start = NOW();
        COMMAND(CMD_PASTE);
        const std::string text = answer.RESULT().Text;
        if (!text.empty()) {
            told.push_back(text);
            REPORT(("paste " + std::to_string(pastes + 1) + ", refused").c_str(), NOW() - start);
            // Nothing of the refused paste is in the text.
            EXPECT_EQ(CALL(SCI_GETLENGTH), before);
        } else {
            REPORT(("paste " + std::to_string(pastes + 1)).c_str(), NOW() - start);
            EXPECT_EQ(static_cast<std::uint64_t>(CALL(SCI_GETLENGTH)), before + size);
        }
    }
    ASSERT_EQ(told.size(), 1u) << "no paste was refused in " << pastes;
    EXPECT_EQ(told[0], "Not enough memory: nothing was changed.");
    EXPECT_EQ(CALL(SCI_GETSTATUS), 0);
    // Typing works.
    const LRESULT length = CALL(SCI_GETLENGTH);
    SendMessageA(EditorControl, WM_CHAR, 'Q', 1);
    EXPECT_EQ(CALL(SCI_GETLENGTH), length + 1);
    EXPECT_EQ(CALL(SCI_GETCHARAT, length), 'Q');
    // Another listing opens with its own text (the changes are given up).
    const std::string other = "' other\r\nPrint 1\r\n";
    Folder.WRITEFILE("other.bas", other);
    {
        harness::DialogAnswerer answer(IDNO);
        ASSERT_EQ(OPENPATH(Folder.FILE("other.bas")), 0);
    }
    EXPECT_EQ(DOCUMENTTEXT(), other);
    EXPECT_EQ(Document.CurrentFile, Folder.FILE("other.bas"));
    // Its save writes its own text.
    ASSERT_EQ(SAVEFILE(), 0);
    const std::string saved = Folder.READFILE("other.bas");
    EXPECT_EQ(saved.substr(0, other.size()), other);
    EXPECT_EQ(saved.find("Sub Handler"), std::string::npos);
    EXPECT_LT(saved.size(), 4096u);
    // The large copy leaves the clipboard for the tests after.
    if (OpenClipboard(MainWindow)) {
        EmptyClipboard();
        CloseClipboard();
    }
    DeleteFileA(large.c_str());
}

}  // namespace
