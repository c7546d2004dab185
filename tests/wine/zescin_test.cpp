// ZESCIN.DLL as the program uses it: loaded by name, its window class, its
// direct function and the PowerBASIC lexer behind SCI_SETLEXER.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Scintilla.h"
#include "harness.h"
#include "zescin.h"

namespace {

using DirectFunction = intptr_t(__stdcall *)(void *, UINT, uintptr_t, intptr_t);
constexpr UINT SCI_SETLEXER_ = 4001;

class ZescinTest : public ::testing::Test {
protected:
    void SetUp() override {
        library = LoadLibraryA("ZESCIN.DLL");
        ASSERT_NE(library, nullptr);
        direct = reinterpret_cast<DirectFunction>(GetProcAddress(library, "Scintilla_DirectFunction"));
        ASSERT_NE(direct, nullptr);
        editor = CreateWindowExA(0, "ScintillaPb", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(editor, nullptr);
        pointer = reinterpret_cast<void *>(SendMessageA(editor, SCI_GETDIRECTPOINTER, 0, 0));
        ASSERT_NE(pointer, nullptr);
    }
    void TearDown() override {
        if (editor)
            DestroyWindow(editor);
    }
    intptr_t Call(UINT message, uintptr_t wParam = 0, intptr_t lParam = 0) {
        return direct(pointer, message, wParam, lParam);
    }
    intptr_t Call(UINT message, uintptr_t wParam, const char *text) {
        return direct(pointer, message, wParam, reinterpret_cast<intptr_t>(text));
    }
    void SetText(const std::string &text) {
        Call(SCI_CLEARALL);
        Call(SCI_ADDTEXT, text.size(), text.c_str());
        Call(SCI_COLOURISE, 0, -1);
    }
    int StyleOf(const std::string &text, const std::string &word) {
        return static_cast<int>(Call(SCI_GETSTYLEAT, text.find(word)));
    }

    HMODULE library = nullptr;
    DirectFunction direct = nullptr;
    HWND editor = nullptr;
    void *pointer = nullptr;
};

TEST_F(ZescinTest, LoadingRegistersTheClassAndExportsTheDirectFunction) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetClassInfoExA(library, "ScintillaPb", &info));
    EXPECT_EQ(harness::CLASSNAMEOF(editor), "ScintillaPb");
    // The control answers through the direct function like any Scintilla.
    Call(SCI_ADDTEXT, 5, "hello");
    EXPECT_EQ(Call(SCI_GETLENGTH), 5);
}

TEST_F(ZescinTest, SetLexerByNumberMakesThePowerBasicLexerColourAndFold) {
    // The fold property is set before the lexer exists, as the editor does.
    Call(SCI_SETPROPERTY, reinterpret_cast<uintptr_t>("fold"), "1");
    Call(SCI_SETLEXER_, 51);
    EXPECT_EQ(Call(SCI_GETLEXER), 51);
    Call(SCI_SETKEYWORDS, 0, "dim sub end print");
    const std::string text = "' a comment\r\nSub Hello()\r\n  Dim x As Long\r\n  Print \"hi\", 42\r\nEnd Sub\r\n";
    SetText(text);
    EXPECT_EQ(StyleOf(text, "Dim"), 3);
    EXPECT_EQ(StyleOf(text, "Print"), 3);
    EXPECT_EQ(StyleOf(text, "' a comment"), 1);
    EXPECT_EQ(StyleOf(text, "42"), 2);
    EXPECT_EQ(StyleOf(text, "\"hi\""), 4);
    EXPECT_NE(StyleOf(text, "Hello"), 3);
    EXPECT_TRUE(Call(SCI_GETFOLDLEVEL, 1) & SC_FOLDLEVELHEADERFLAG);
    EXPECT_FALSE(Call(SCI_GETFOLDLEVEL, 0) & SC_FOLDLEVELHEADERFLAG);
    char value[8] = {};
    Call(SCI_GETPROPERTY, reinterpret_cast<uintptr_t>("fold"), value);
    EXPECT_STREQ(value, "1");
}

TEST_F(ZescinTest, MessagesSentToTheWindowReachTheGlueToo) {
    SendMessageA(editor, SCI_SETPROPERTY, reinterpret_cast<WPARAM>("fold"), reinterpret_cast<LPARAM>("1"));
    SendMessageA(editor, SCI_SETLEXER_, 51, 0);
    SendMessageA(editor, SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>("function"));
    const std::string text = "Function F() As Long\r\nEnd Function\r\n";
    SetText(text);
    EXPECT_EQ(StyleOf(text, "Function"), 3);
    EXPECT_TRUE(Call(SCI_GETFOLDLEVEL, 0) & SC_FOLDLEVELHEADERFLAG);
}

// The glue's walk to the next fold header finds what SCI_GETFOLDLEVEL says
// line by line, from every line, through the direct function and the window.
TEST_F(ZescinTest, TheNextFoldHeaderIsWhatTheFoldLevelsSay) {
    Call(SCI_SETPROPERTY, reinterpret_cast<uintptr_t>("fold"), "1");
    Call(SCI_SETLEXER_, 51);
    EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, 0), -1);  // an empty document
    SetText("Sub A()\r\nEnd Sub\r\n' between\r\n\r\nFunction B()\r\n  Print\r\nEnd Function\r\nSub C()\r\nEnd Sub");
    const intptr_t lines = Call(SCI_GETLINECOUNT);
    for (intptr_t from = 0; from <= lines + 1; ++from) {
        intptr_t expected = -1;
        for (intptr_t line = from; line < lines && expected < 0; ++line)
            if (Call(SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG)
                expected = line;
        EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, from), expected) << from;
        EXPECT_EQ(SendMessageA(editor, ZESCIN_FOLDHEADERNEXT, from, 0), expected) << from;
    }
    EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, 0), 0);
    EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, 1), 4);
    EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, 7), 7);  // the last line but one
    EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, 8), -1);
    EXPECT_EQ(Call(ZESCIN_FOLDHEADERNEXT, static_cast<uintptr_t>(-1)), -1);
}

TEST_F(ZescinTest, AnotherLexerNumberLeavesTheControlWithoutLexer) {
    Call(SCI_SETLEXER_, 51);
    Call(SCI_SETLEXER_, 0);
    Call(SCI_SETKEYWORDS, 0, "dim");
    const std::string text = "Dim x\r\n";
    SetText(text);
    EXPECT_EQ(StyleOf(text, "Dim"), 0);
}

}  // namespace
