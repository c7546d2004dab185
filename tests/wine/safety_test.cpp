// The paths where a user's file could be replaced, emptied or cut, or their
// text lost, driven with the real control, real dialogs and real files.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <stdexcept>

#include "Scintilla.h"
#include "document/document.h"
#include "inprocess.h"
#include "services/barrier.h"
#include "document/recoveryrules.h"
#include "services/fileio.h"
#include "services/pathtext.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

namespace {

// Reads a message box's text, then presses a button.
std::function<void(HWND)> ANSWER(int button, std::string *text = nullptr) {
    return [button, text](HWND box) {
        if (text)
            *text = harness::MESSAGEBOXTEXT(box);
        harness::PRESSBUTTON(box, button);
    };
}

class SafetyTest : public InProcessTest {
protected:
    void SetUp() override {
        Document = DOCUMENTRECORD{};
        FileWriterFaults = FILEWRITERFAULTS{};
    }
    void TearDown() override {
        FileWriterFaults = FILEWRITERFAULTS{};
        InProcessTest::TearDown();
    }
    // Opens a file as the document, as Open does.
    void OPEN(const std::string &name) {
        ASSERT_EQ(OPENPATH(Folder.FILE(name)), OPENDONE);
        PUMP(150);  // the settings block is applied on a timer
    }
    // Number of entries in the test's folder (files and folders).
    int ENTRIES() {
        int n = 0;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA(Folder.FILE("*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return 0;
        do {
            if (lstrcmpA(entry.cFileName, ".") != 0 && lstrcmpA(entry.cFileName, "..") != 0)
                ++n;
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return n;
    }
};

TEST_F(SafetyTest, SaveAsAsksBeforeReplacingAFileWhoseNameItCompleted) {
    START();
    struct Case {
        const char *existing;
        int type;
        int answer;
    } cases[] = {{"hello.bas", 1, IDNO}, {"hello.bas", 1, IDYES}, {"hello.rtf", 3, IDNO}, {"hello.rtf", 3, IDYES}};
    for (const auto &c : cases) {
        Folder.WRITEFILE(c.existing, "the user's own file");
        Document = DOCUMENTRECORD{};
        SendMessageA(MainWindow, WM_DOCUMENTNAMED, 0, 0);
        SETTEXT("Print \"new\"\r\n");
        std::string question;
        std::string caption;
        {
            DialogAnswerer answers({CHOOSEFILE(Folder.FILE("hello"), c.type), [&](HWND box) {
                                        caption = harness::WINDOWTEXTOF(box);
                                        ANSWER(c.answer, &question)(box);
                                    }});
            const std::int32_t status = SAVEFILEAS();
            answers.RESULT();
            EXPECT_EQ(status, c.answer == IDYES ? 0 : 2) << c.existing;
        }
        EXPECT_EQ(question, Folder.FILE(c.existing) + " already exists.\rDo you want to replace it?");
        EXPECT_EQ(caption, "Save As");
        const std::string now = Folder.READFILE(c.existing);
        if (c.answer == IDNO) {
            EXPECT_EQ(now, "the user's own file") << c.existing;
            EXPECT_NE(CALL(SCI_GETMODIFY), 0);
            EXPECT_EQ(Document.CurrentFile, "");
        } else {
            EXPECT_EQ(now.rfind(c.type == 3 ? "{\\rtf1" : "Print \"new\"", 0), 0u) << c.existing;
            EXPECT_EQ(Document.CurrentFile, c.type == 3 ? "" : Folder.FILE(c.existing));
        }
    }
}

TEST_F(SafetyTest, AnRtfExportAtTheSavePromptIsNoSave) {
    START();
    SETTEXT("untitled work\r\n");
    // Closing: Yes, then Save As with the RTF type.
    {
        DialogAnswerer answers({ANSWER(IDYES), CHOOSEFILE(Folder.FILE("export"), 3)});
        SendMessageA(MainWindow, WM_CLOSE, 0, 0);
        answers.RESULT();
    }
    EXPECT_TRUE(harness::FILEEXISTS(Folder.FILE("export.rtf")));
    ASSERT_TRUE(IsWindow(MainWindow));
    EXPECT_EQ(DOCUMENTTEXT(), "untitled work\r\n");
    // New and opening stop the same way.
    Folder.WRITEFILE("other.bas", "other");
    for (int attempt = 0; attempt < 2; ++attempt) {
        DialogAnswerer answers({ANSWER(IDYES), CHOOSEFILE(Folder.FILE("export" + std::to_string(attempt + 2)), 3)});
        const std::int32_t status = attempt == 0 ? OPENFILE(OPENEMPTY) : OPENPATH(Folder.FILE("other.bas"));
        answers.RESULT();
        EXPECT_EQ(status, OPENKEPT);
        EXPECT_EQ(DOCUMENTTEXT(), "untitled work\r\n");
    }
}

TEST_F(SafetyTest, CodeAfterAMarkerLineIsNeverHiddenNorDropped) {
    START();
    const std::string merged = "Print 1\r\n'ZESETTINGS (don't change!):\r\n'ZECURSOR=3\r\nSub Added()\r\nEnd Sub\r\n";
    Folder.WRITEFILE("merged.bas", merged);
    OPEN("merged.bas");
    EXPECT_EQ(DOCUMENTTEXT(), merged);
    ASSERT_EQ(SAVEFILE(), 0);
    const std::string saved = Folder.READFILE("merged.bas");
    EXPECT_EQ(saved.substr(0, merged.size()), merged);
    // What the save appended is a block of its own, which the next open cuts.
    OPEN("merged.bas");
    EXPECT_EQ(DOCUMENTTEXT(), merged);
}

TEST_F(SafetyTest, TheEndOfAWindowsSessionAsksLikeClosing) {
    START();
    Document.CurrentFile = Folder.FILE("session.bas");
    SETTEXT("unsaved");
    {
        DialogAnswerer answer(IDCANCEL);
        EXPECT_EQ(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0), FALSE);
        EXPECT_EQ(answer.RESULT().Text, "The text was been changed.\rSave changes?");
    }
    {
        DialogAnswerer answer(IDNO);
        EXPECT_EQ(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0), TRUE);
        answer.RESULT();
    }
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("session.bas")));
    {
        // Yes with a save that fails refuses the end of the session.
        Folder.MAKEFOLDER("session.bas");
        DialogAnswerer answers({ANSWER(IDYES), ANSWER(IDOK)});
        EXPECT_EQ(SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0), FALSE);
        answers.RESULT();
    }
    // The session ends: the exit keys are written as closing writes them.
    SendMessageA(MainWindow, WM_ENDSESSION, TRUE, 0);
    const std::string ini = READINI();
    EXPECT_NE(ini.find("LastFile=" + Folder.FILE("session.bas")), std::string::npos) << ini;
    EXPECT_NE(ini.find("MainWndPos="), std::string::npos) << ini;
}

TEST_F(SafetyTest, OverlongNamesAreRefusedNeverCut) {
    START();
    SETTEXT("Print 1\r\n");
    const int before = ENTRIES();
    // With the extension the name passes the limit of 259 characters.
    const std::string typed = Folder.PATH() + std::string(257 - Folder.PATH().size(), 'p');
    std::string refusal;
    {
        DialogAnswerer answers({CHOOSEFILE(typed, 1), ANSWER(IDOK, &refusal)});
        EXPECT_NE(SAVEFILEAS(), 0);
        answers.RESULT();
    }
    EXPECT_EQ(refusal, "The file name is longer than 259 characters:\r" + typed + ".bas");
    EXPECT_EQ(Document.CurrentFile, "");
    EXPECT_EQ(ENTRIES(), before);  // nothing written under a cut name
}

// A name of 255 to 259 characters in quotes, as Explorer passes it, opens
// that file; one character more is refused, not cut into another name.
TEST_F(SafetyTest, AQuotedStartFileOfTheLongestNamesOpensWhole) {
    for (const std::size_t length : {std::size_t{255}, std::size_t{259}, std::size_t{260}}) {
        const std::string path = Folder.PATH() + std::string(length - Folder.PATH().size() - 4, 'q') + ".bas";
        Folder.WRITEFILE(FILEPART(path), "Print " + std::to_string(length) + "\r\n");
        std::string refusal;
        {
            DialogAnswerer answer(ANSWER(IDOK, &refusal), length > 259 ? 10000 : 1000);
            START("\"" + path + "\"");
            PUMP(200);
            answer.RESULT();
        }
        if (length <= 259) {
            EXPECT_EQ(refusal, "") << length;
            EXPECT_EQ(Document.CurrentFile, path);
            EXPECT_EQ(DOCUMENTTEXT(), "Print " + std::to_string(length) + "\r\n");
        } else {
            EXPECT_EQ(refusal, "The file name is longer than 259 characters:\r" + path);
            EXPECT_EQ(Document.CurrentFile, "");
        }
        TearDown();
    }
}

TEST_F(SafetyTest, AReplaceThatFailsHalfWayPutsTheOriginalBack) {
    START();
    Folder.WRITEFILE("keep.bas", "original bytes");
    OPEN("keep.bas");
    SETTEXT("new text");
    const int before = ENTRIES();
    FileWriterFaults.FailReplaceHalfway = true;
    DialogAnswerer answer(IDOK);
    EXPECT_EQ(SAVEFILE(), 2);
    EXPECT_EQ(answer.RESULT().Text, "Couldn't create/overwrite the file\r" + Folder.FILE("keep.bas"));
    EXPECT_EQ(Folder.READFILE("keep.bas"), "original bytes");
    EXPECT_EQ(ENTRIES(), before);  // no backup or temporary file left
    // Without the fault the replace goes through and leaves nothing beside it.
    FileWriterFaults = FILEWRITERFAULTS{};
    EXPECT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("keep.bas").substr(0, 8), "new text");
    EXPECT_EQ(ENTRIES(), before);
}

TEST_F(SafetyTest, SaveAsksWhenTheFileChangedOnDisk) {
    START();
    Folder.WRITEFILE("shared.bas", "first\r\n");
    for (const int answer : {IDNO, IDYES}) {
        OPEN("shared.bas");
        SETTEXT("mine\r\n");
        // Another program writes the file: a new size and a new time.
        Sleep(20);
        Folder.WRITEFILE("shared.bas", "theirs" + std::string(answer, '!') + "\r\n");
        const std::string theirs = Folder.READFILE("shared.bas");
        std::string question;
        {
            DialogAnswerer box(ANSWER(answer, &question));
            EXPECT_EQ(SAVEFILE(), answer == IDYES ? 0 : 4);
            box.RESULT();
        }
        EXPECT_EQ(question, Folder.FILE("shared.bas") +
                                " was changed by another program since it was opened.\r"
                                "Replace it with the text in the editor?");
        if (answer == IDNO) {
            EXPECT_EQ(Folder.READFILE("shared.bas"), theirs);
            EXPECT_NE(CALL(SCI_GETMODIFY), 0);
            EXPECT_EQ(DOCUMENTTEXT(), "mine\r\n");
            CALL(SCI_SETSAVEPOINT);
        } else {
            EXPECT_EQ(Folder.READFILE("shared.bas").substr(0, 6), "mine\r\n");
        }
    }
    // After its own save, a second save does not ask.
    SETTEXT("again\r\n");
    EXPECT_EQ(SAVEFILE(), 0);
}

// The last file named at start-up was not there (its drive not connected
// yet); once another program has made it, a save asks before replacing it.
TEST_F(SafetyTest, AStartFileThatAppearsLaterIsNotReplacedWithoutAQuestion) {
    const std::string path = Folder.FILE("later.bas");
    WRITEINI("[PathSettings]\r\nLastFile=" + path + "\r\n");
    {
        DialogAnswerer missing(IDOK);
        START("");
        PUMP(200);
        EXPECT_EQ(missing.RESULT().Text, "Can't find/open file\r" + path);
    }
    ASSERT_EQ(Document.CurrentFile, path);
    Folder.WRITEFILE("later.bas", "made elsewhere\r\n");
    std::string question;
    {
        DialogAnswerer box(ANSWER(IDNO, &question));
        EXPECT_EQ(SAVEFILE(), 4);
        box.RESULT();
    }
    EXPECT_EQ(question, path + " was changed by another program since it was opened.\r"
                               "Replace it with the text in the editor?");
    EXPECT_EQ(Folder.READFILE("later.bas"), "made elsewhere\r\n");
    // A start file that is still missing at the save is simply created.
    DeleteFileA(path.c_str());
    EXPECT_EQ(SAVEFILE(), 0);
    EXPECT_TRUE(harness::FILEEXISTS(path));
}

// A drop of files from Explorer, as the shell hands it to the window.
HGLOBAL DROPOF(const std::vector<std::string> &paths) {
    std::string names;
    for (const auto &p : paths)
        names += p + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    memcpy(reinterpret_cast<char *>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return memory;
}

TEST_F(SafetyTest, ADroppedFileOpensAfterTheSavePrompt) {
    START();
    Folder.WRITEFILE("dropped.bas", "Print \"dropped\"\r\n");
    Folder.WRITEFILE("second.bas", "Print 2\r\n");
    SETTEXT("unsaved");
    {
        DialogAnswerer answer(IDCANCEL);
        SendMessageA(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(DROPOF({Folder.FILE("dropped.bas")})), 0);
        EXPECT_EQ(answer.RESULT().Text, "The text was been changed.\rSave changes?");
    }
    EXPECT_EQ(DOCUMENTTEXT(), "unsaved");
    {
        DialogAnswerer answer(IDNO);
        SendMessageA(MainWindow, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(DROPOF({Folder.FILE("dropped.bas"), Folder.FILE("second.bas")})), 0);
        answer.RESULT();
    }
    EXPECT_EQ(DOCUMENTTEXT(), "Print \"dropped\"\r\n");
    EXPECT_EQ(Document.CurrentFile, Folder.FILE("dropped.bas"));
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), Folder.FILE("dropped.bas"));
}

TEST_F(SafetyTest, AnExceptionInAHandlerIsReportedAndTheTextStays) {
    START();
    SETTEXT("kept text");
    for (const bool lowMemory : {true, false}) {
        DialogAnswerer answer(IDOK);
        const LRESULT result = GUARDED(MainWindow, LRESULT{-7}, [lowMemory]() -> LRESULT {
            if (lowMemory)
                throw std::bad_alloc();
            throw std::runtime_error("broken rule");
        });
        EXPECT_EQ(result, -7);
        const harness::SeenBox &box = answer.RESULT();
        EXPECT_EQ(box.Text, lowMemory ? "There is not enough memory to finish this command.\rThe text in the editor is kept."
                                      : "This command could not be finished: broken rule\rThe text in the editor is kept.");
        EXPECT_EQ(box.Caption, "Quillet");
    }
    EXPECT_EQ(DOCUMENTTEXT(), "kept text");
}

TEST_F(SafetyTest, KeywordsWorkWhereNoFileCanBeCreated) {
    // The program folder takes no new files: every create fails.
    FileWriterFaults.FailCreate = true;
    START();
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("FreeBasicKeywords.txt")));
    SETTEXT("Print x\r\n");
    CALL(SCI_COLOURISE, 0, -1);
    EXPECT_EQ(CALL(SCI_GETSTYLEAT, 0), 3);  // the lexer's keyword style
    EXPECT_EQ(CALL(SCI_GETSTYLEAT, 6), 7);  // an identifier
}

TEST_F(SafetyTest, AFailedSettingsWriteIsReportedOnce) {
    START();
    // The settings file's name is taken by a folder: no write can succeed.
    AppSettings.IniPath = Folder.PATH() + "Quillet.ini.d";
    Folder.MAKEFOLDER("Quillet.ini.d");
    std::string report;
    {
        DialogAnswerer answer(ANSWER(IDOK, &report));
        EXPECT_NE(SAVEEXITSETTINGS(""), 0);
        answer.RESULT();
    }
    EXPECT_EQ(report, "The settings could not be written to\r" + AppSettings.IniPath +
                          "\rChanged settings will be lost when the editor closes.");
    // Later failures say nothing more.
    DialogAnswerer none(IDOK, 1500);
    EXPECT_NE(WRITESETTINGSTRING("Windows", "Font", "Courier New"), 0);
    EXPECT_FALSE(none.RESULT().Seen);
}

}  // namespace

// ---- Recovery copies: a restore, the writer, the way back to saved text ----

class RecoveryFaultTest : public SafetyTest {
protected:
    void TearDown() override {
        RecoveryTiming = RECOVERYTIMING{};
        SafetyTest::TearDown();
    }
    // A stale copy of a program that has ended, holding text for listing.
    std::string STALECOPY(const std::string &listing, const std::string &text) {
        Folder.MAKEFOLDER("Recovery");
        RECOVERYHEADER header;
        header.Listing = listing;
        header.Written = NOWFILETIME();
        header.Length = text.size();
        const std::string name = "Recovery\\" + RECOVERYFILENAME("Quillet", 4, 0x01DB4A2F3C5E7A80ull);
        Folder.WRITEFILE(name, BUILDRECOVERYHEADER(header) + text);
        return Folder.FILE(name);
    }
    std::vector<std::string> COPIES() { return harness::FILESIN(Folder.FILE("Recovery\\")); }
};

// A copy too large to read (more than 2 GiB) is left under its own name,
// byte for byte, and a clean close does not take it along.
TEST_F(RecoveryFaultTest, ARestoreThatFailsLeavesTheCopyWhereItIs) {
    START("/e");
    const std::string copy = STALECOPY("", "");
    {
        // Sparse: no disk is filled. The header's length says what follows it.
        RECOVERYHEADER header;
        header.Written = NOWFILETIME();
        const std::uint64_t size = 0x80000100ull;
        std::string first;
        for (int round = 0; round < 4; ++round) {
            first = BUILDRECOVERYHEADER(header);
            header.Length = size - first.size();
        }
        first = BUILDRECOVERYHEADER(header);
        ASSERT_EQ(first.size() + header.Length, size);
        HANDLE file = CreateFileW(harness::WIDEPATH(copy).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, first.data(), static_cast<DWORD>(first.size()), &written, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file));
        CloseHandle(file);
    }
    std::vector<std::string> texts;
    harness::BoxWatcher boxes([&texts](const std::string &text) {
        // A box may be seen again before it has gone.
        if (texts.empty() || texts.back() != text)
            texts.push_back(text);
        return text.find("Restore the unsaved text?") != std::string::npos ? IDYES : IDOK;
    });
    EXPECT_FALSE(OFFERRECOVERY(""));
    boxes.STOP();
    std::string all;
    for (const std::string &text : texts)
        all += text + "\n";
    ASSERT_EQ(texts.size(), 2u) << all;
    EXPECT_EQ(texts[1], "The recovery copy " + copy + " cannot be read; it is left where it is.");
    EXPECT_EQ(COPIES(), std::vector<std::string>{FILEPART(copy)});
    DROPRECOVERY();  // what a clean close does
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(harness::WIDEPATH(copy).c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.nFileSizeLow, 0x80000100u);
    DeleteFileW(harness::WIDEPATH(copy).c_str());
}

// A copy that could not be moved to this program's name is restored all the
// same and is this program's: a save removes it, so it is not offered again.
TEST_F(RecoveryFaultTest, ARestoredCopyThatCouldNotBeMovedGoesWithTheSave) {
    START("/e");
    Folder.WRITEFILE("kept.bas", "Print 1\r\n");
    const std::string copy = STALECOPY(Folder.FILE("kept.bas"), "Print 2\r\n");
    // Held open without leave to move or delete it, as a virus scanner might.
    HANDLE hold = CreateFileW(harness::WIDEPATH(copy).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    {
        harness::BoxWatcher boxes("", IDYES);
        EXPECT_TRUE(OFFERRECOVERY(""));
    }
    CloseHandle(hold);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 2\r\n");
    EXPECT_TRUE(harness::FILEEXISTS(copy));
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_TRUE(COPIES().empty());
}

// An exception on the background writer is reported once like a failed
// write; the program and its text go on.
TEST_F(RecoveryFaultTest, AnExceptionOnTheWriterIsReportedOnce) {
    START("/e");
    SETTEXT("unsaved");
    RecoveryTiming.WriterThrows = true;
    harness::BoxWatcher report("Unsaved text cannot be copied aside for recovery in\r", IDOK);
    WRITERECOVERYNOW();
    PUMP(300);
    WRITERECOVERYNOW();
    PUMP(300);
    EXPECT_EQ(report.STOP(), 1);
    EXPECT_EQ(DOCUMENTTEXT(), "unsaved");
    RecoveryTiming.WriterThrows = false;
    WRITERECOVERYNOW();
    EXPECT_EQ(COPIES().size(), 1u);
}

// Undo back to the saved text while a copy is being written: the copy goes
// once the writer is done, and the next start finds none.
TEST_F(RecoveryFaultTest, UndoToTheSavedTextWhileACopyIsWrittenLeavesNoCopy) {
    RecoveryTiming.PauseMs = 0;
    RecoveryTiming.LongestMs = 0;
    START("/e");
    SETTEXT(std::string(48u << 20, 'x'));  // large enough to take a while to write
    CALL(SCI_SETSAVEPOINT);
    CALL(SCI_EMPTYUNDOBUFFER);
    CALL(SCI_DOCUMENTEND);
    CALL(SCI_ADDTEXT, 1, reinterpret_cast<LPARAM>("y"));
    // The timer starts the write; the undo comes while it runs.
    for (int i = 0; i < 100 && COPIES().empty(); ++i)
        PUMP(10);
    CALL(SCI_UNDO);
    EXPECT_EQ(CALL(SCI_GETMODIFY), 0);
    PUMP(3000);
    EXPECT_TRUE(COPIES().empty());
}
