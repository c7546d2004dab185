// Benchmark of typing latency and of the first answer after opening a long
// single-line file: a character given to the editing control, then its
// repaint forced; medians and maxima. Prints figures; checks nothing.
// Run: scripts/bench.sh typing
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "app/app.h"
#include "benchcommon.h"
#include "compiling/errormarks.h"
#include "document/document.h"
#include "ui/resource.h"

namespace {

void PUMP() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// One line of code-like text without a line end.
std::string LONGLINE(size_t bytes) {
    std::string text;
    text.reserve(bytes + 128);
    for (unsigned n = 0; text.size() < bytes; ++n)
        text += "x" + std::to_string(n) + " = MessageBox(hWnd, \"text\", caption, " + std::to_string(n % 97) + ") : ";
    text.resize(bytes);
    return text;
}

void LOAD(const std::string &text) {
    SCI(SCI_CLEARALL);
    SCI(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    SCI(SCI_EMPTYUNDOBUFFER);
    UpdateWindow(EditorControl);
    PUMP();
}

void PRINTTIMES(const char *what, std::vector<double> &times) {
    std::sort(times.begin(), times.end());
    std::printf("  %-52s median %8.2f ms   max %8.2f ms   (%zu keys)\n", what, times[times.size() / 2] * 1000,
                times.back() * 1000, times.size());
    std::fflush(stdout);
}

// Types keystrokes at the caret; each one is followed by a forced repaint.
void TYPE(const char *what, int keys) {
    std::vector<double> times;
    for (int i = 0; i < keys; ++i) {
        const double start = NOW();
        SendMessageA(EditorControl, WM_CHAR, 'a' + i % 26, 1);
        UpdateWindow(EditorControl);
        times.push_back(NOW() - start);
    }
    PRINTTIMES(what, times);
}

// A typist: a key every 30 ms, and between the keys the window does its
// other work, timers included (the copy of unsaved text for recovery among
// them). A key's time runs from the moment it is due, so work that keeps
// the window busy when a key comes counts against that key.
void TYPIST(const char *what, int keys) {
    std::vector<double> times;
    const double start = NOW();
    for (int i = 0; i < keys; ++i) {
        const double due = start + i * 0.030;
        for (double now = NOW(); now < due; now = NOW()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>((due - now) * 1000) + 1, QS_ALLINPUT);
            PUMP();
        }
        SendMessageA(EditorControl, WM_CHAR, 'a' + i % 26, 1);
        UpdateWindow(EditorControl);
        times.push_back(NOW() - due);
    }
    PRINTTIMES(what, times);
}

// Where a keystroke's time goes: the insertion, the lexer's pass over what
// changed, and the repaint with its layout of the line.
void BREAKDOWN(const char *what, int keys) {
    std::vector<double> insert, style, layout, paint;
    for (int i = 0; i < keys; ++i) {
        const double start = NOW();
        const LRESULT at = SCI(SCI_GETCURRENTPOS);
        SCI(SCI_INSERTTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>("a"));
        const double inserted = NOW();
        SCI(SCI_COLOURISE, static_cast<WPARAM>(SCI(SCI_GETENDSTYLED)), -1);
        const double styled = NOW();
        SCI(SCI_GOTOPOS, static_cast<WPARAM>(at + 1));
        const double laid = NOW();
        UpdateWindow(EditorControl);
        const double painted = NOW();
        insert.push_back(inserted - start);
        style.push_back(styled - inserted);
        layout.push_back(laid - styled);
        paint.push_back(painted - laid);
    }
    for (auto *v : {&insert, &style, &layout, &paint})
        std::sort(v->begin(), v->end());
    std::printf("  %-52s insert %.2f ms, lexer %.2f ms, caret shown %.2f ms, paint %.2f ms (medians)\n", what,
                insert[keys / 2] * 1000, style[keys / 2] * 1000, layout[keys / 2] * 1000, paint[keys / 2] * 1000);
    std::fflush(stdout);
}

void WRITEFILE(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int main() {
    const std::string folder = STARTBENCHWINDOW("quillet-bench-typing");
    UpdateWindow(MainWindow);
    PUMP();
    std::printf("Typing latency (font \"%s\" %d pt; monospaced check %s):\n", AppSettings.Font.c_str(),
                AppSettings.FontSize, SCI(SCI_STYLEGETCHECKMONOSPACED, 0) ? "on" : "off");

    LOAD(LISTING(16u << 20));
    SCI(SCI_GOTOPOS, static_cast<WPARAM>(SCI(SCI_GETLENGTH) / 2));
    SCI(SCI_SCROLLCARET);
    UpdateWindow(EditorControl);
    TYPE("(a) middle of a 16 MB listing", 200);
    BREAKDOWN("    of which", 50);
    {
        // The same with a compile's marks: 1,000 marked lines, the caret's
        // among them, each with its message shown under it.
        const LRESULT lines = SCI(SCI_GETLINECOUNT);
        const LRESULT caretLine = SCI(SCI_LINEFROMPOSITION, static_cast<WPARAM>(SCI(SCI_GETCURRENTPOS)));
        COMPILERMESSAGELIST list;
        for (int i = 0; i < 1000; ++i) {
            COMPILERMESSAGE message;
            message.Line = i == 0 ? caretLine : lines * i / 1000;
            message.Text = "error 42: Variable not declared, x" + std::to_string(i);
            list.Entries.push_back(message);
        }
        SHOWERRORMARKS(list, CP_OEMCP);
        SCI(SCI_SCROLLCARET);
        UpdateWindow(EditorControl);
        TYPE("(a) the same on a line with its error shown under it", 200);
        CLEARERRORMARKS();
        UpdateWindow(EditorControl);
        TYPE("(a) again without the marks, for comparison", 200);
    }

    // The same listing typed into for 21 s, without and with the copies of
    // unsaved text for recovery (a copy of 16 MB is due 15 s into typing).
    // Two rounds, off and on in turn, so that the spread between runs shows.
    const RECOVERYTIMING timing = RecoveryTiming;
    for (const char *round : {"(d) a key every 30 ms, recovery copies off", "    ... again, off"}) {
        RecoveryTiming.PauseMs = RecoveryTiming.LongestMs = 1000000;
        TYPIST(round, 700);
        RecoveryTiming = timing;
        DROPRECOVERY();
        TYPIST("    ... recovery copies on", 700);
        DROPRECOVERY();
    }
    {
        // Where the window's share of a copy goes (the writing is the
        // writer thread's).
        SCI(SCI_INSERTTEXT, static_cast<WPARAM>(SCI(SCI_GETLENGTH) / 2), reinterpret_cast<LPARAM>("a"));
        const double t0 = NOW();
        const char *text = CONTROLTEXT();
        const double t1 = NOW();
        const std::string block = RECOVERYSETTINGSBLOCK();
        const double t2 = NOW();
        const auto length = static_cast<std::size_t>(SCI(SCI_GETLENGTH));
        std::string bytes;
        bytes.reserve(length + block.size());
        bytes.append(text, length);
        const double t3 = NOW();
        bytes.clear();
        bytes.append(text, length);
        const double t4 = NOW();
        std::printf("  %-52s text in one piece %.1f ms, settings block %.1f ms, copy %.1f ms (into the last "
                    "copy's memory %.1f ms)\n",
                    "    of which", (t1 - t0) * 1000, (t2 - t1) * 1000, (t3 - t2) * 1000, (t4 - t3) * 1000);
    }
    const double copyStart = NOW();
    WRITERECOVERYNOW();
    std::printf("  %-52s %.1f ms (the text copied and written at once)\n", "    one copy of the 16 MB listing",
                (NOW() - copyStart) * 1000);
    DROPRECOVERY();

    LOAD(LONGLINE(2u << 20));
    SCI(SCI_DOCUMENTEND);
    UpdateWindow(EditorControl);
    TYPE("(b) end of a 2 MB single line", 20);
    BREAKDOWN("    of which", 20);

    // Opening a file of one 20 MB line. OPENFILE runs inside a command; as
    // soon as it returns, the message loop answers what other programs send
    // (sent messages come before painting). The first paint then lexes and
    // lays out the whole line.
    const std::string path = folder + "longline.bas";
    WRITEFILE(path, LONGLINE(20u << 20));
    std::vector<double> answers, paints;
    for (int run = 0; run < 3; ++run) {
        // Start from an empty editor, as a program that was started with the file.
        SCI(SCI_CLEARALL);
        SCI(SCI_SETSAVEPOINT);
        UpdateWindow(MainWindow);
        Document.CurrentFile = path;
        const double start = NOW();
        OPENFILE(CMD_OPENCURRENT);
        const double opened = NOW();
        UpdateWindow(MainWindow);
        PUMP();
        const double painted = NOW();
        answers.push_back(opened - start);
        paints.push_back(painted - start);
    }
    std::sort(answers.begin(), answers.end());
    std::sort(paints.begin(), paints.end());
    std::printf("  %-52s median %8.1f ms   max %8.1f ms\n", "(c) open a 20 MB single line: window answers after",
                answers[1] * 1000, answers[2] * 1000);
    std::printf("  %-52s median %8.1f ms   max %8.1f ms\n", "    first paint complete after", paints[1] * 1000,
                paints[2] * 1000);

    // The same load step by step, to see where the time goes.
    {
        const std::string line = LONGLINE(20u << 20);
        const double start = NOW();
        SCI(SCI_CLEARDOCUMENTSTYLE);
        SCI(SCI_CLEARALL);
        const double cleared = NOW();
        SCI(SCI_SETUNDOCOLLECTION, 0);
        SCI(SCI_APPENDTEXT, line.size(), reinterpret_cast<LPARAM>(line.data()));
        SCI(SCI_SETUNDOCOLLECTION, 1);
        const double added = NOW();
        SCI(SCI_EMPTYUNDOBUFFER);
        SCI(SCI_SETSAVEPOINT);
        const double saved = NOW();
        SCI(SCI_SETEMPTYSELECTION, 0);
        SCI(SCI_SETXOFFSET, 0);
        const double moved = NOW();
        SCI(SCI_GOTOPOS, 0);
        const double gone = NOW();
        SetFocus(EditorControl);
        const double focused = NOW();
        SendMessageA(MainWindow, WM_NULL, 0, 0);
        const double answered = NOW();
        UpdateWindow(MainWindow);
        const double painted = NOW();
        std::printf("      %-48s clear %.1f ms, add text %.1f ms, undo and save point %.1f ms, caret to 0 %.1f ms, focus %.1f ms, "
                    "answer %.1f ms, first paint %.1f ms; SCI_GOTOPOS 0 would add %.1f ms\n", "of which",
                    (cleared - start) * 1000, (added - cleared) * 1000, (saved - added) * 1000, (moved - saved) * 1000,
                    (focused - gone) * 1000, (answered - focused) * 1000, (painted - answered) * 1000,
                    (gone - moved) * 1000);
    }

    SCI(SCI_SETSAVEPOINT);
    DestroyWindow(MainWindow);
    DeleteFileA(path.c_str());
    DeleteFileA(AppSettings.IniPath.c_str());
    DeleteFileA((folder + "FreeBasicKeywords.txt").c_str());
    DeleteFileA((folder + "ApiKeywords.txt").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
