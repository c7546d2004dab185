// Listings and paths under the system's code page in force. Wine takes it
// from the locale: the test command runs this program under Western,
// Cyrillic, Central European and Japanese locales, and each case knows what
// the code page in force must give. A listing without the byte-order mark
// is kept in that code page; paths, of any characters, reach the program
// whole.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Scintilla.h"
#include "compiling/build.h"
#include "document/document.h"
#include "inprocess.h"
#include "services/config.h"
#include "services/process.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

namespace {

// What a code page must do with its own letters.
struct CODEPAGECASE {
    UINT CodePage;
    int Charset;              // RTF's \fcharsetN
    std::wstring Typed;       // typed on the keyboard...
    std::string Stored;       // ...and stored on disk
    std::wstring Lower;       // found, without Match case, in
    std::wstring Upper;
};

const CODEPAGECASE CASES[] = {
    {1252, 0, L"\u00E4", "\xE4", L"gr\u00F6\u00DFe", L"GR\u00D6\u00DFE"},
    {1251, 204, L"\u0416", "\xC6", L"\u0436\u0443\u043A", L"\u0416\u0423\u041A"},
    {1250, 238, L"\u0142", "\xB3", L"\u0142\u00F3d\u017A", L"\u0141\u00D3D\u0179"},
    {932, 128, L"\u3042", "\x82\xA0", L"\u3042\u3044abc", L"\u3042\u3044ABC"},
};

const CODEPAGECASE *CASEINFORCE() {
    for (const CODEPAGECASE &c : CASES)
        if (c.CodePage == GetACP())
            return &c;
    return nullptr;
}

// The bytes of a text in the code page in force.
std::string ANSIOF(const std::wstring &text) {
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                           nullptr);
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

std::string UTF8(const std::wstring &text) {
    return harness::UTF8PATH(text);
}

// Folder names in several scripts, with an emoji no ANSI code page holds.
const std::string FOLDERNAME = "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xE6\x97\xA5\xE6\x9C\xAC "
                               "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80 \xF0\x9F\x99\x82";

class LocalesTest : public InProcessTest {
protected:
    void SetUp() override {
        Document = DOCUMENTRECORD{};
        Case = CASEINFORCE();
        if (!Case)
            GTEST_SKIP() << "no case for code page " << GetACP();
    }
    // Presses Search in the Search/Replace dialog; the text of the box that
    // comes up (answered), or nothing. The box is looked for from a second
    // thread that sends no message to this one unless a box is there.
    std::string SEARCH() {
        std::string text;
        const HWND search = SearchDialog;
        std::thread answer([&text, search] {
            for (int waited = 0; waited < 1500; waited += 20) {
                if (HWND box = harness::FINDDIALOG(GetCurrentProcessId(), search)) {
                    Sleep(100);
                    text = harness::MESSAGEBOXTEXT(box);
                    harness::PRESSBUTTON(box, IDOK);
                    return;
                }
                Sleep(20);
            }
        });
        SendMessageW(SearchDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        answer.join();
        return text;
    }
    void TYPE(const std::wstring &text) {
        for (const wchar_t c : text)
            SendMessageW(EditorControl, WM_CHAR, c, 1);
    }
    const CODEPAGECASE *Case = nullptr;
};

TEST_F(LocalesTest, ATypedLetterIsStoredInTheSystemsCodePage) {
    START();
    EXPECT_EQ(EDITORCODEPAGE(), static_cast<int>(Case->CodePage));
    TYPE(Case->Typed);
    Document.CurrentFile = Folder.FILE("typed.bas");
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(Folder.READFILE("typed.bas").substr(0, Case->Stored.size() + 1), Case->Stored + "\r");
    // Opened again, the same letter is shown and kept.
    ASSERT_EQ(OPENPATH(Folder.FILE("typed.bas")), OPENDONE);
    PUMP(150);
    EXPECT_EQ(DOCUMENTTEXT(), Case->Stored);
}

TEST_F(LocalesTest, SearchFindsTheLettersOfTheListingsCodePageInEitherCase) {
    START();
    SETTEXT("Print 1\r\n' " + ANSIOF(Case->Upper) + "\r\n");
    CALL(SCI_GOTOPOS, 0);
    COMMAND(CMD_SEARCH);
    ASSERT_NE(SearchDialog, nullptr);
    SetDlgItemTextW(SearchDialog, IDC_SEARCHTEXT, Case->Lower.c_str());
    EXPECT_EQ(SEARCH(), "");  // a box comes only when nothing is found
    EXPECT_EQ(CALL(SCI_GETANCHOR), 11);
    EXPECT_EQ(CALL(SCI_GETCURRENTPOS), 11 + static_cast<LRESULT>(ANSIOF(Case->Upper).size()));
    // A character the code page cannot hold finds nothing.
    SetDlgItemTextW(SearchDialog, IDC_SEARCHTEXT, L"\U0001F642");
    CALL(SCI_GOTOPOS, 0);
    EXPECT_EQ(SEARCH(), "No (more) matches found");
    SendMessageW(SearchDialog, WM_COMMAND, IDCANCEL, 0);
}

// The RTF names the listing's code page and a character set of its script,
// so that a reader shows the same letters; the letters of a double-byte
// code page are escaped pairs.
TEST_F(LocalesTest, AnExportNamesTheCodePage) {
    START();
    const std::string letters = ANSIOF(Case->Upper);
    SETTEXT("' " + letters + "\r\nPrint \"" + letters + "\"\r\n");
    ASSERT_EQ(EXPORTRTF(Folder.FILE("letters.rtf")), 0);
    const std::string rtf = Folder.READFILE("letters.rtf");
    EXPECT_NE(rtf.find("\\ansicpg" + std::to_string(Case->CodePage) + "\\"), std::string::npos) << rtf.substr(0, 80);
    EXPECT_NE(rtf.find("\\fcharset" + std::to_string(Case->Charset) + " "), std::string::npos);
    // The body read back as the code page gives the letters.
    std::string body;
    for (std::size_t at = rtf.find("\\fs"); at < rtf.size(); ++at) {
        if (rtf.compare(at, 2, "\\'") == 0) {
            body += static_cast<char>(std::stoi(rtf.substr(at + 2, 2), nullptr, 16));
            at += 3;
        } else {
            body += rtf[at];
        }
    }
    EXPECT_NE(body.find(letters), std::string::npos);
    EXPECT_EQ(std::count(rtf.begin(), rtf.end(), '{'), std::count(rtf.begin(), rtf.end(), '}'));
}

// Block comment and auto-indent on lines whose letters take two bytes.
TEST_F(LocalesTest, BlockCommandsAndAutoIndentKeepMultiByteLetters) {
    START();
    const std::string letters = ANSIOF(Case->Lower);
    SETTEXT("  " + letters + "\r\n  " + letters + "\r\n");
    CALL(SCI_SETSEL, 0, CALL(SCI_POSITIONFROMLINE, 1) + 3);
    COMMAND(CMD_BLOCKCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), "'  " + letters + "\r\n'  " + letters + "\r\n");
    COMMAND(CMD_BLOCKUNCOMMENT);
    EXPECT_EQ(DOCUMENTTEXT(), "  " + letters + "\r\n  " + letters + "\r\n");
    AppSettings.AutoIndent = 1;
    CALL(SCI_GOTOPOS, CALL(SCI_GETLINEENDPOSITION, 0));
    SendMessageW(EditorControl, WM_KEYDOWN, VK_RETURN, 0);
    TYPE(Case->Typed);
    EXPECT_EQ(DOCUMENTTEXT(), "  " + letters + "\r\n  " + Case->Stored + "\r\n  " + letters + "\r\n");
}

// Go to Sub shows a name in the listing's code page as its letters, and
// finds it by them; a filter the code page cannot hold finds nothing.
TEST_F(LocalesTest, GoToSubShowsAndFiltersNamesInTheListingsCodePage) {
    START();
    SETTEXT("Sub " + ANSIOF(Case->Upper) + "()\r\nEnd Sub\r\nSub Other()\r\n");
    std::vector<std::wstring> rows, found, none;
    const auto ROWSOF = [](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_SUBLIST);
        std::vector<std::wstring> texts;
        for (int row = 0; row < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++row) {
            wchar_t text[300] = {};
            LVITEMW item{};
            item.pszText = text;
            item.cchTextMax = 300;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            texts.emplace_back(text);
        }
        return texts;
    };
    DialogAnswerer answer([&](HWND dialog) {
        rows = ROWSOF(dialog);
        SetDlgItemTextW(dialog, IDC_SUBFILTER, Case->Upper.c_str());
        found = ROWSOF(dialog);
        SetDlgItemTextW(dialog, IDC_SUBFILTER, L"\U0001F642");
        none = ROWSOF(dialog);
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    COMMAND(CMD_GOTOSUB);
    ASSERT_TRUE(answer.RESULT().Seen);
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Sub " + Case->Upper + L"()", L"Sub Other()"}));
    EXPECT_EQ(found, std::vector<std::wstring>{rows.at(0)});
    EXPECT_EQ(none, std::vector<std::wstring>{});
}

// A listing in a folder whose name no ANSI code page holds: opened, edited,
// saved in place, saved as, exported, remembered as the last file, and
// compiled, the compiler getting its short name.
TEST_F(LocalesTest, AListingInAFolderOfAnyNameIsOpenedSavedAndCompiled) {
    harness::TempFolder folder(" " + FOLDERNAME);
    const std::string listing = folder.FILE("\xCE\xB1 " + UTF8(Case->Lower) + ".bas");
    harness::WRITEWHOLEFILE(listing, "Print 1\r\n");
    START();
    ASSERT_EQ(OPENPATH(listing), OPENDONE);
    EXPECT_EQ(harness::WINDOWTEXTOF(MainWindow), listing);
    CALL(SCI_DOCUMENTEND);
    TYPE(L"' " + Case->Typed);
    ASSERT_EQ(SAVEFILE(), 0);
    EXPECT_EQ(harness::READWHOLEFILE(listing).substr(0, 13 + Case->Stored.size()), "Print 1\r\n' " + Case->Stored + "\r\n");
    // Nothing else in the folder: saved in place.
    EXPECT_EQ(harness::FILESIN(folder.PATH()).size(), 1u);

    // Save As through the dialog, and the export as RTF.
    const std::string second = folder.FILE("\xF0\x9F\x99\x82 second.bas");
    {
        DialogAnswerer answer(CHOOSEFILE(second, 1));
        ASSERT_EQ(SAVEFILEAS(), 0);
    }
    EXPECT_EQ(Document.CurrentFile, second);
    EXPECT_TRUE(harness::FILEEXISTS(second));
    ASSERT_EQ(EXPORTRTF(folder.FILE("\xE6\x97\xA5.rtf")), 0);
    EXPECT_TRUE(harness::FILEEXISTS(folder.FILE("\xE6\x97\xA5.rtf")));

    // The last file comes back from the settings file at the next start.
    ASSERT_EQ(SAVEEXITSETTINGS(Document.CurrentFile), 0);
    const std::string ini = READINI();
    ASSERT_EQ(ini.substr(0, 2), "\xFF\xFE");  // the settings file became UTF-16
    const std::string text = UTF8(std::wstring(reinterpret_cast<const wchar_t *>(ini.data() + 2), (ini.size() - 2) / 2));
    EXPECT_NE(text.find("LastFile=" + second + "\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find('?'), std::string::npos);
    EXPECT_EQ(LOADFIRSTFILE(""), second);

    // The compiler reads its command line in the ANSI code page: it gets the
    // short name of the listing and works in the listing's folder.
    const std::string bin = harness::PROGRAMFOLDER();
    ASSERT_TRUE(CopyFileW(harness::WIDEPATH(bin + "standin_freebasic.exe").c_str(),
                          harness::WIDEPATH(Folder.FILE("fbc.exe")).c_str(), FALSE));
    Folder.MAKEFOLDER("inc");
    AppSettings.Compiler = Folder.FILE("fbc.exe");
    AppSettings.IncludeDir = Folder.FILE("inc\\");
    AppSettings.CompilerType = FREEBASICCOMPILER;
    {
        DialogAnswerer answer(IDOK, 20000);
        COMPILEFREEBASIC(0);
    }
    const std::string record = Folder.READFILE("fbc.rec");
    ASSERT_NE(record.find("cmd="), std::string::npos);
    const std::string commandLine = record.substr(record.find("cmd=") + 4, record.find("\r\n") - 4);
    EXPECT_EQ(commandLine.find('?'), std::string::npos) << commandLine;
    const std::string given = commandLine.substr(commandLine.rfind(' ') + 1);
    EXPECT_TRUE(harness::FILEEXISTS(folder.PATH() + given)) << given;

    // Where the drive keeps no short names, a clear message and nothing started.
    ShortNameSeams.NoShortNames = true;
    std::string message;
    {
        DialogAnswerer answer([&message](HWND box) {
            message = harness::MESSAGEBOXTEXT(box);
            harness::PRESSBUTTON(box, IDOK);
        });
        EXPECT_EQ(COMPILEFREEBASIC(0), 1);
    }
    EXPECT_NE(message.find(second), std::string::npos) << message;
    EXPECT_NE(message.find("short (8.3) name"), std::string::npos) << message;

    // A listing whose own name the code page holds needs no short form, even
    // there: the folder is its working folder, never part of the command line.
    const std::string plain = folder.FILE("plain.bas");
    harness::WRITEWHOLEFILE(plain, "Print 3\r\n");
    ASSERT_EQ(OPENPATH(plain), OPENDONE);
    DeleteFileW(harness::WIDEPATH(Folder.FILE("fbc.rec")).c_str());
    {
        DialogAnswerer answer(IDOK, 20000);
        COMPILEFREEBASIC(0);
    }
    ShortNameSeams.NoShortNames = false;
    const std::string plainRecord = Folder.READFILE("fbc.rec");
    EXPECT_NE(plainRecord.find(" plain.bas\r\n"), std::string::npos) << plainRecord;
}

// A file dropped from Explorer arrives with its whole name.
TEST_F(LocalesTest, ADroppedFileOfAnyNameOpens) {
    harness::TempFolder folder(" " + FOLDERNAME);
    const std::string listing = folder.FILE("dropped.bas");
    harness::WRITEWHOLEFILE(listing, "Print 2\r\n");
    START();
    const std::wstring name = harness::WIDE(listing);
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t));
    auto *drop = static_cast<DROPFILES *>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char *>(drop) + sizeof(DROPFILES), name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    PUMP(100);
    EXPECT_EQ(Document.CurrentFile, listing);
    EXPECT_EQ(DOCUMENTTEXT(), "Print 2\r\n");
}

}  // namespace
