// The editing control as the program configures it, and the keyword lists,
// with the real control and the real keyword files.
#include <gtest/gtest.h>

#include "Scintilla.h"
#include "document/document.h"
#include "inprocess.h"
#include "ui/resource.h"

namespace {

std::string BUILTIN(int id) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(RT_KEYWORDLIST));
    std::string text(static_cast<const char *>(LockResource(LoadResource(nullptr, found))),
                     SizeofResource(nullptr, found));
    return text.substr(0, text.find('\0'));
}

class EditorTest : public InProcessTest {
protected:
    int STYLEOFWORD(const std::string &text, const std::string &word) {
        SETTEXT(text);
        CALL(SCI_COLOURISE, 0, -1);
        const size_t at = text.find(word);
        EXPECT_NE(at, std::string::npos) << word;
        return static_cast<int>(CALL(SCI_GETSTYLEAT, at));
    }
    bool ISKEYWORD(const std::string &word) { return STYLEOFWORD("x " + word + " x\r\n", word) == 3; }
    std::string WORDAT(const std::string &text, size_t position) {
        SETTEXT(text);
        const auto start = CALL(SCI_WORDSTARTPOSITION, position, 1);
        const auto end = CALL(SCI_WORDENDPOSITION, position, 1);
        return text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    }
};

TEST_F(EditorTest, FirstStartCreatesTheFreeBasicKeywordFilesAndColoursThem) {
    START();
    const std::string basic = Folder.READFILE("FreeBasicKeywords.txt");
    EXPECT_EQ(basic.size(), 1529u);
    EXPECT_EQ(basic, BUILTIN(IDK_FREEBASICKEYWORDS));
    EXPECT_EQ(basic.substr(0, 8), "#define ");
    EXPECT_EQ(Folder.READFILE("ApiKeywords.txt").size(), 25477u);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("PowerBasicKeywords.txt")));
    EXPECT_TRUE(ISKEYWORD("Dim"));
    EXPECT_TRUE(ISKEYWORD("xor"));
    EXPECT_TRUE(ISKEYWORD("ABORTDOC"));
    // The blank between the lists keeps the last Basic word and the first API word apart.
    EXPECT_TRUE(ISKEYWORD("Xor"));
    EXPECT_TRUE(ISKEYWORD("AbortDoc"));
    EXPECT_TRUE(ISKEYWORD("wsprintf"));
    EXPECT_FALSE(ISKEYWORD("Hello"));
    EXPECT_EQ(STYLEOFWORD("Print \"text\" ' note\r\n", "' note"), 1);
    EXPECT_EQ(STYLEOFWORD("a = 1234\r\n", "1234"), 2);
    EXPECT_EQ(STYLEOFWORD("Print \"text\"\r\n", "\"text\""), 4);
}

TEST_F(EditorTest, PowerBasicSetupCreatesThePowerBasicList) {
    WRITEINI("[OtherSettings]\r\nCompilerType=1\r\n");
    START();
    EXPECT_EQ(Folder.READFILE("PowerBasicKeywords.txt").size(), 3646u);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("FreeBasicKeywords.txt")));
    EXPECT_TRUE(ISKEYWORD("XPrint"));
    EXPECT_TRUE(ISKEYWORD("#compile"));
}

TEST_F(EditorTest, KeywordFilesAreReadWithoutRegardToCase) {
    Folder.WRITEFILE("FreeBasicKeywords.txt", "MyProc\tOther\r\nThird");
    START();
    EXPECT_TRUE(ISKEYWORD("myproc"));
    EXPECT_TRUE(ISKEYWORD("MYPROC"));
    EXPECT_TRUE(ISKEYWORD("Third"));
    EXPECT_FALSE(ISKEYWORD("Dim"));  // an existing file is used as it is
    EXPECT_EQ(Folder.READFILE("FreeBasicKeywords.txt"), "MyProc\tOther\r\nThird");
}

TEST_F(EditorTest, AnEmptyKeywordFileLeavesItsGroupEmpty) {
    Folder.WRITEFILE("FreeBasicKeywords.txt", "");
    START();
    EXPECT_FALSE(ISKEYWORD("Dim"));
    EXPECT_TRUE(ISKEYWORD("AbortDoc"));
    EXPECT_EQ(Folder.READFILE("FreeBasicKeywords.txt"), "");
}

TEST_F(EditorTest, LoadingAgainRecreatesADeletedFileAndKeepsListsOtherwise) {
    START();
    DeleteFileA(Folder.FILE("FreeBasicKeywords.txt").c_str());
    AppSettings.CompilerType = POWERBASICCOMPILER;
    LOADKEYWORDS();
    EXPECT_EQ(Folder.READFILE("FreeBasicKeywords.txt").size(), 3646u);  // built-in list of the type now set
    // A file that can be neither opened nor created keeps the list as it was.
    AppSettings.BasicKeywordFile = Folder.FILE("no such folder\\k.txt");
    LOADKEYWORDS();
    LOADKEYWORDS();
    EXPECT_TRUE(ISKEYWORD("XPrint"));
}

TEST_F(EditorTest, ControlSetUp) {
    WRITEINI("[Windows]\r\nFontSize=12\r\nFont=Courier New\r\n");
    START();
    char face[64] = {};
    CALL(SCI_STYLEGETFONT, STYLE_LINENUMBER, reinterpret_cast<LPARAM>(face));
    EXPECT_STREQ(face, "Arial");
    EXPECT_EQ(CALL(SCI_STYLEGETSIZE, STYLE_LINENUMBER), 11);
    CALL(SCI_STYLEGETFONT, 3, reinterpret_cast<LPARAM>(face));
    EXPECT_STREQ(face, "Courier New");
    EXPECT_EQ(CALL(SCI_STYLEGETSIZE, 3), 12);
    EXPECT_EQ(CALL(SCI_STYLEGETFORE, 3), RGB(128, 0, 0));
    EXPECT_EQ(CALL(SCI_STYLEGETFORE, 1), RGB(128, 128, 128));
    EXPECT_EQ(CALL(SCI_STYLEGETBOLD, 3), 0);
    EXPECT_EQ(CALL(SCI_GETTABWIDTH), 2);
    EXPECT_EQ(CALL(SCI_GETINDENT), 2);
    EXPECT_EQ(CALL(SCI_GETUSETABS), 0);
    EXPECT_EQ(CALL(SCI_GETLEXER), 51);
    char fold[8] = {};
    CALL(SCI_GETPROPERTY, reinterpret_cast<WPARAM>("fold"), reinterpret_cast<LPARAM>(fold));
    EXPECT_STREQ(fold, "1");
    EXPECT_EQ(CALL(SCI_GETMARGINTYPEN, 1), SC_MARGIN_NUMBER);
    EXPECT_EQ(CALL(SCI_GETMARGINSENSITIVEN, 1), 1);
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 2), 10);
    EXPECT_EQ(CALL(SCI_GETMARGINTYPEN, 2), SC_MARGIN_SYMBOL);
    // The fold end marker, and the compiler's error (20) and warning (21) marks.
    EXPECT_EQ(CALL(SCI_GETMARGINMASKN, 2), (1 << 25) | (1 << 20) | (1 << 21));
    EXPECT_EQ(CALL(SCI_GETMODEVENTMASK), SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
    EXPECT_EQ(CALL(SCI_GETCONTROLCHARSYMBOL), 32);
    SETTEXT("Sub A()\r\nEnd Sub\r\n");
    CALL(SCI_COLOURISE, 0, -1);
    EXPECT_TRUE(CALL(SCI_GETFOLDLEVEL, 0) & SC_FOLDLEVELHEADERFLAG);
}

TEST_F(EditorTest, TabInsertsTwoSpaces) {
    START();
    SETTEXT("");
    CALL(SCI_TAB);
    EXPECT_EQ(DOCUMENTTEXT(), "  ");
}

TEST_F(EditorTest, WordCharactersOfTheBasicDialects) {
    START();
    EXPECT_EQ(WORDAT("a = name$ + b", 6), "name$");
    EXPECT_EQ(WORDAT("#include \"x.bi\"", 3), "#include");
    EXPECT_EQ(WORDAT("x = @ptr%", 6), "@ptr%");
    EXPECT_EQ(WORDAT("obj.member", 1), "obj");
    EXPECT_EQ(WORDAT("obj.member", 6), "member");
    EXPECT_EQ(WORDAT("a&b", 0), "a");
}

TEST_F(EditorTest, LineNumberMarginGrowsAtOnceAndShrinksPastTheSlack) {
    START();
    const auto width = [this](const char *sample) {
        return CALL(SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<LPARAM>(sample)) + 2;
    };
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), width(" 1"));
    std::string text;
    for (int i = 1; i < 99; ++i)
        text += "Print " + std::to_string(i) + "\r\n";
    SETTEXT(text);  // 99 lines
    EXPECT_EQ(CALL(SCI_GETLINECOUNT), 99);
    const auto twoDigits = CALL(SCI_GETMARGINWIDTHN, 1);
    CALL(SCI_DOCUMENTEND);
    CALL(SCI_NEWLINE);  // the 100th line
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), width(" 100"));
    EXPECT_GT(CALL(SCI_GETMARGINWIDTHN, 1), twoDigits);
    CALL(SCI_DELETEBACK);  // back to 99 lines: narrower only when more than 3 pixels too wide
    const auto after = CALL(SCI_GETMARGINWIDTHN, 1);
    if (width(" 100") > width(" 99") + 3)
        EXPECT_EQ(after, width(" 99"));
    else
        EXPECT_EQ(after, width(" 100"));
    // A narrower margin set by hand within the slack stays as it is.
    CALL(SCI_SETMARGINWIDTHN, 1, width(" 99") + 3);
    UPDATELINENUMBERWIDTH();
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), width(" 99") + 3);
    CALL(SCI_SETMARGINWIDTHN, 1, width(" 99") + 4);
    UPDATELINENUMBERWIDTH();
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), width(" 99"));
}

TEST_F(EditorTest, NewStylesApplyWithoutTouchingTheMargin) {
    START();
    const auto margin = CALL(SCI_GETMARGINWIDTHN, 1);
    AppSettings.FontSize = 18;
    AppSettings.SyntaxColors[3] = RGB(1, 2, 3);
    APPLYSTYLES();
    EXPECT_EQ(CALL(SCI_STYLEGETFORE, 3), RGB(1, 2, 3));
    EXPECT_EQ(CALL(SCI_STYLEGETSIZE, STYLE_LINENUMBER), 17);
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), margin);
    EXPECT_EQ(CALL(SCI_GETLEXER), 51);
}

}  // namespace

namespace {

// The editing control's client area as pixels.
std::vector<std::uint32_t> PIXELS(HWND window, int &width, int &height) {
    RECT r;
    GetClientRect(window, &r);
    width = r.right;
    height = r.bottom;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    // The control paints itself into the bitmap, as it would on the screen.
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return pixels;
}

void SETCHECKMONOSPACED(int on) {
    for (int style = 0; style <= STYLE_DEFAULT; ++style)
        if (style != STYLE_LINENUMBER)
            SCI(SCI_STYLESETCHECKMONOSPACED, style, on);
}

}  // namespace

TEST_F(EditorTest, StylesOfTheConfiguredFontAreLaidOutAsMonospaced) {
    START();
    const auto checkStyles = [this] {
        for (int style = 0; style < SYNTAXCOLORCOUNT; ++style)
            EXPECT_EQ(CALL(SCI_STYLEGETCHECKMONOSPACED, style), 1) << "style " << style;
        EXPECT_EQ(CALL(SCI_STYLEGETCHECKMONOSPACED, STYLE_DEFAULT), 1);
        // The line numbers use a proportional face of their own.
        EXPECT_EQ(CALL(SCI_STYLEGETCHECKMONOSPACED, STYLE_LINENUMBER), 0);
    };
    checkStyles();
    // The font dialog's OK applies the styles again.
    APPLYSTYLES();
    checkStyles();
}

TEST_F(EditorTest, MonospacedLayoutDrawsExactlyWhatMeasuringDraws) {
    // A listing with every kind of style, a long line that scrolls and the
    // caret inside it; drawn once measured character by character and once
    // laid out by multiplication, the pixels must be the same.
    START();
    std::string text = "' Comment line\r\n#include \"windows.bi\"\r\nSub Main(ByVal x As Integer)\r\n";
    text += "  Dim s As String = \"text with {braces}\" : x = &HFF + 1234\r\n";
    text += "  MessageBox(0, s, \"caption\", MB_OK) ' " + std::string(300, 'w') + "\r\nEnd Sub\r\n";
    SETTEXT(text);
    CALL(SCI_GOTOPOS, text.find("caption"));
    // A steady caret, so that both pictures show it the same.
    CALL(SCI_SETCARETPERIOD, 0);
    CALL(SCI_COLOURISE, 0, -1);
    for (const int font : {0, 1}) {
        if (font == 1) {
            // A proportional face: the check finds it is not monospaced and
            // measures as before.
            AppSettings.Font = "Arial";
            APPLYSTYLES();
        }
        int width = 0, height = 0, width2 = 0, height2 = 0;
        SETCHECKMONOSPACED(0);
        UpdateWindow(EditorControl);
        const std::vector<std::uint32_t> measured = PIXELS(EditorControl, width, height);
        const LRESULT scrollMeasured = CALL(SCI_GETSCROLLWIDTH);
        SETCHECKMONOSPACED(1);
        UpdateWindow(EditorControl);
        const std::vector<std::uint32_t> multiplied = PIXELS(EditorControl, width2, height2);
        ASSERT_EQ(width, width2);
        ASSERT_EQ(height, height2);
        ASSERT_GT(width * height, 10000);
        // Text was drawn: more than a few pixels differ from the background.
        size_t inked = 0;
        for (const std::uint32_t pixel : measured)
            inked += (pixel & 0xFFFFFF) != (measured.back() & 0xFFFFFF);
        EXPECT_GT(inked, 500u);
        size_t differing = 0;
        for (size_t i = 0; i < measured.size(); ++i)
            differing += (measured[i] & 0xFFFFFF) != (multiplied[i] & 0xFFFFFF);
        EXPECT_EQ(differing, 0u) << "font " << AppSettings.Font;
        EXPECT_EQ(CALL(SCI_GETSCROLLWIDTH), scrollMeasured);
        EXPECT_EQ(CALL(SCI_POINTXFROMPOSITION, 0, CALL(SCI_GETCURRENTPOS)) > 0, true);
    }
}
