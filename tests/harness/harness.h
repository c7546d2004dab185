// Helpers for tests that run under Wine: find a message box or dialog of a
// process, read its caption and text, press its buttons; pump messages.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace harness {

// Texts in UTF-8.
std::string WINDOWTEXTOF(HWND window);
std::string CLASSNAMEOF(HWND window);

// A visible dialog (class "#32770") of the process, or nullptr. With
// excluding set, that window is skipped.
HWND FINDDIALOG(DWORD processId, HWND excluding = nullptr);
// Waits up to timeoutMs for such a dialog; pumps this thread's messages
// meanwhile when pump is set.
HWND WAITFORDIALOG(DWORD processId, int timeoutMs, bool pump = false);
// Waits for a visible top-level window of the process with the class name.
HWND WAITFORWINDOW(DWORD processId, const char *className, int timeoutMs);

// A text a common file dialog hands out on request (CDM_GETFOLDERPATH,
// CDM_GETSPEC, ...), in UTF-8.
std::string FILEDIALOGTEXT(HWND dialog, UINT message);

// The text of a message box (its static control 0xFFFF).
std::string MESSAGEBOXTEXT(HWND box);
// True when the box has a button with that id (IDYES, IDNO, ...).
bool HASBUTTON(HWND box, int id);
// Presses a button by posting its command to the dialog.
void PRESSBUTTON(HWND dialog, int id);

// Runs the thread's message queue for a while (or until done returns true).
void PUMP(int milliseconds, const std::function<bool()> &done = nullptr);

// What a message box showed before it was answered.
struct SeenBox {
    bool Seen = false;
    std::string Caption;
    std::string Text;
    bool Buttons[12] = {};  // indexed by IDOK .. IDCONTINUE
    bool HandIcon = false;
};

// Answers the next dialog of this process from a second thread, because a
// modal box blocks the thread that showed it. The callback runs on that
// thread with the dialog and may drive it (set texts, press buttons); the
// default presses the answer button.
class DialogAnswerer {
public:
    explicit DialogAnswerer(int answer, int timeoutMs = 10000);
    DialogAnswerer(std::function<void(HWND)> drive, int timeoutMs = 10000);
    // Several dialogs in a row, each answered once the one before has gone.
    DialogAnswerer(std::vector<std::function<void(HWND)>> steps, int timeoutMs = 10000);
    ~DialogAnswerer();
    // Waits for the answering thread; returns what the first box showed.
    const SeenBox &RESULT();

private:
    void RUN(int timeoutMs);
    std::vector<std::function<void(HWND)>> Steps;
    SeenBox Box;
    std::thread Worker;
};

// Answers every message box of this process whose text starts with prefix,
// from a second thread, until it goes; counts them and keeps the last text.
class BoxWatcher {
public:
    BoxWatcher(std::string prefix, int answer);
    // Answers every message box with the button answerOf chooses for its text.
    explicit BoxWatcher(std::function<int(const std::string &)> answerOf);
    ~BoxWatcher();
    // Stops watching; the number of boxes answered.
    int STOP();
    std::string LASTTEXT() const { return Last; }

private:
    std::function<int(const std::string &)> AnswerOf;
    std::atomic<bool> Running{true};
    int Count = 0;
    std::string Last;
    std::thread Worker;
};

// A fresh empty folder under the temporary folder; removed with its content
// when the object goes.
class TempFolder {
public:
    // The folder's name ends with suffix (UTF-8).
    explicit TempFolder(const std::string &suffix = " dir");
    ~TempFolder();
    const std::string &PATH() const { return Path; }  // with trailing backslash
    std::string FILE(const std::string &name) const { return Path + name; }
    void WRITEFILE(const std::string &name, const std::string &bytes) const;
    std::string READFILE(const std::string &name) const;
    void MAKEFOLDER(const std::string &name) const;

private:
    std::string Path;
};

// Text in UTF-8 as UTF-16, and a path the same way (long ones in the
// "\\?\" form).
std::wstring WIDE(const std::string &text);
std::wstring WIDEPATH(const std::string &path);
std::string UTF8PATH(const std::wstring &wide);
bool FILEEXISTS(const std::string &path);
// The names in a folder (with trailing backslash), "." and ".." left out.
std::vector<std::string> FILESIN(const std::string &folder);
std::string READWHOLEFILE(const std::string &path);
void WRITEWHOLEFILE(const std::string &path, const std::string &bytes);
// The folder of the running test program, with trailing backslash.
std::string PROGRAMFOLDER();

// With QUILLET_SHOTS naming a folder, saves the screen's pixels inside the
// window's rectangle (the whole screen for nullptr), extended by extraBelow
// pixels, there as name.bmp, for looking at. Does nothing otherwise.
void SHOT(HWND window, const std::string &name, int extraBelow = 0);

}  // namespace harness
