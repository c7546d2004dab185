// The program at the screen's density. The test command runs this program
// at 96 and at 144 DPI (a prefix whose LogPixels says so): the sizes the
// program gives in pixels itself follow the DPI, every dialog shows its
// texts whole, and a change of DPI is followed. With QUILLET_SHOTS set, each
// dialog is saved as a picture to look at.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "editing/editing.h"
#include "help/help.h"
#include "help/helprules.h"
#include "inprocess.h"
#include "services/dpi.h"
#include "services/dpirules.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

namespace {

// The DPI the run was started for.
std::uint32_t DPIOFRUN() {
    const char *given = std::getenv("QUILLET_DPI");
    return given && *given ? static_cast<std::uint32_t>(std::atoi(given)) : BASEDPI;
}

std::string TEXTOF(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return harness::UTF8PATH(text);
}

// The room a text takes in a control's font, wrapped at width when wrap.
SIZE TEXTSIZE(HWND control, const std::wstring &text, int width, bool wrap) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE TEXTSIZE(HWND control, int width, bool wrap) {
    return TEXTSIZE(control, harness::WIDE(TEXTOF(control)), width, wrap);
}

// Labels, buttons, check boxes and group boxes of a window (and of windows
// within it) whose text does not fit the part of them that shows, the part
// inside their parent's client area.
struct Clipping {
    std::vector<std::string> Found;
};

BOOL CALLBACK CHECKFIT(HWND control, LPARAM param) {
    auto &clipping = *reinterpret_cast<Clipping *>(param);
    const std::string kind = harness::CLASSNAMEOF(control);
    if (!IsWindowVisible(control) || (kind != "Button" && kind != "Static") || GetWindowTextLengthW(control) == 0)
        return TRUE;
    RECT shown, parent;
    GetWindowRect(control, &shown);
    // A label of no size gives a key to the control after it; it never shows.
    if (IsRectEmpty(&shown))
        return TRUE;
    GetClientRect(GetParent(control), &parent);
    MapWindowPoints(GetParent(control), nullptr, reinterpret_cast<POINT *>(&parent), 2);
    IntersectRect(&shown, &shown, &parent);
    int width = shown.right - shown.left;
    int height = shown.bottom - shown.top;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const int em = TEXTSIZE(control, 0, false).cy;  // one line's height
    bool wrap = false;
    if (kind == "Button") {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_OWNERDRAW)
            return TRUE;
        if (type == BS_GROUPBOX) {
            width -= em;  // the frame's corner before the caption and after it
            height = em;
        } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                   type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
            width -= em;  // the box or the circle beside the text
        } else {
            width -= 4;  // the push button's edge
        }
        wrap = (style & BS_MULTILINE) != 0;
    } else {
        const LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
            return TRUE;
        wrap = type != SS_LEFTNOWORDWRAP;
    }
    const SIZE needed = TEXTSIZE(control, width, wrap);
    if (needed.cx > width || needed.cy > height)
        clipping.Found.push_back("\"" + TEXTOF(control) + "\" needs " + std::to_string(needed.cx) + "x" +
                                 std::to_string(needed.cy) + ", shows " + std::to_string(width) + "x" +
                                 std::to_string(height));
    return TRUE;
}

std::vector<std::string> CLIPPEDTEXTS(HWND window) {
    Clipping clipping;
    EnumChildWindows(window, CHECKFIT, reinterpret_cast<LPARAM>(&clipping));
    return clipping.Found;
}

std::string SHOTNAME(const std::string &name) {
    return "dpi" + std::to_string(DPIOFRUN()) + "-" + name;
}

BOOL CALLBACK FINDPANELBUTTON(HWND child, LPARAM param) {
    if (GetDlgCtrlID(child) == IDC_CURRENTDIR) {
        *reinterpret_cast<HWND *>(param) = child;
        return FALSE;
    }
    return TRUE;
}

class DpiTest : public InProcessTest {
protected:
    // Opens a modal dialog by its command and checks it, then cancels it.
    void CHECKMODAL(int command, const std::string &name) {
        std::vector<std::string> clipped;
        DialogAnswerer answer([&](HWND dialog) {
            Sleep(200);
            clipped = CLIPPEDTEXTS(dialog);
            harness::SHOT(dialog, SHOTNAME(name));
            harness::PRESSBUTTON(dialog, IDCANCEL);
        });
        COMMAND(command);
        EXPECT_TRUE(answer.RESULT().Seen) << name;
        EXPECT_TRUE(clipped.empty()) << name << ": " << ::testing::PrintToString(clipped);
    }
};

}  // namespace

TEST_F(DpiTest, TheScreenIsAtTheDpiOfTheRun) {
    START();
    EXPECT_EQ(WINDOWDPI(MainWindow), DPIOFRUN());
    EXPECT_EQ(WINDOWDPI(EditorControl), DPIOFRUN());
}

// With nothing stored the window gets the default size at the screen's DPI;
// the margins are sized for it: the fold symbols' column scaled, the line
// numbers measured in the font Scintilla made for that DPI.
TEST_F(DpiTest, TheFirstWindowAndTheMarginsFollowTheDpi) {
    START();
    const std::uint32_t dpi = DPIOFRUN();
    RECT window;
    GetWindowRect(MainWindow, &window);
    EXPECT_EQ(window.right - window.left, SCALEDFORDPI(580, dpi));
    EXPECT_EQ(window.bottom - window.top, SCALEDFORDPI(380, dpi));
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 2), SCALEDFORDPI(10, dpi));
    std::string listing = "Sub Main()\r\n  Print \"Hello\"\r\nEnd Sub\r\n";
    while (listing.size() < 12000 * 3)
        listing += "' ...\r\n";
    SETTEXT(listing);
    UPDATELINENUMBERWIDTH();
    PUMP(200);
    const LRESULT digits = CALL(SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<LPARAM>(
                                         (" " + std::to_string(CALL(SCI_GETLINECOUNT))).c_str()));
    EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), digits + SCALEDFORDPI(2, dpi));
    harness::SHOT(MainWindow, SHOTNAME("main"));
}

// Dragged onto a monitor of another density: the window takes the rectangle
// Windows suggests and the margins are sized for the new DPI, and back.
TEST_F(DpiTest, AChangeOfDpiTakesTheSuggestedRectangleAndResizesTheMargins) {
    START();
    const std::uint32_t dpi = DPIOFRUN();
    struct Change {
        UINT dpi;
        RECT suggested;
    } changes[] = {{dpi * 2, {40, 30, 1240, 830}}, {dpi, {50, 60, 650, 460}}};
    for (const Change &c : changes) {
        SendMessageW(MainWindow, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&c.suggested));
        RECT now;
        GetWindowRect(MainWindow, &now);
        EXPECT_TRUE(EqualRect(&now, &c.suggested)) << c.dpi << ": " << now.left << "," << now.top << ","
                                                    << now.right << "," << now.bottom;
        EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 2), SCALEDFORDPI(10, c.dpi)) << c.dpi;
        const LRESULT digits = CALL(SCI_TEXTWIDTH, STYLE_LINENUMBER, reinterpret_cast<LPARAM>(" 1"));
        EXPECT_EQ(CALL(SCI_GETMARGINWIDTHN, 1), digits + SCALEDFORDPI(2, c.dpi)) << c.dpi;
    }
}

TEST_F(DpiTest, EveryDialogShowsItsTextsWhole) {
    Folder.WRITEFILE("prog.bas", "Print 1\r\n");
    START();
    ASSERT_EQ(OPENPATH(Folder.FILE("prog.bas")), OPENDONE);
    CHECKMODAL(CMD_GENERALSETTINGS, "general-settings");
    CHECKMODAL(CMD_PROJECTSETTINGS, "project-settings");
    CHECKMODAL(CMD_FONTSETTINGS, "font-settings");

    // The modeless ones, each alone on the screen for its picture.
    const struct {
        int Command;
        HWND &Dialog;
        const char *Name;
    } modeless[] = {{CMD_SEARCH, SearchDialog, "search"}, {CMD_GOTO, GoToDialog, "goto"}};
    for (const auto &m : modeless) {
        COMMAND(m.Command);
        PUMP(300);
        ASSERT_NE(m.Dialog, nullptr) << m.Name;
        EXPECT_EQ(CLIPPEDTEXTS(m.Dialog), std::vector<std::string>()) << m.Name;
        harness::SHOT(m.Dialog, SHOTNAME(m.Name));
        SendMessageW(m.Dialog, WM_COMMAND, IDCANCEL, 0);
    }

    // The help window's topic list is what users know at 96 DPI, 150 pixels
    // in the stock variable font, and scales both from there.
    COMMAND(CMD_EDITORHELP);
    PUMP(300);
    ASSERT_NE(HelpWindow, nullptr);
    HWND topics = GetDlgItem(HelpWindow, IDC_HELPTOPICS);
    RECT list;
    GetWindowRect(topics, &list);
    const int dpi = static_cast<int>(WINDOWDPI(HelpWindow));
    EXPECT_EQ(list.right - list.left, MulDiv(150, dpi, 96));
    LOGFONTW stock{}, shown{};
    GetObjectW(GetStockObject(ANSI_VAR_FONT), sizeof stock, &stock);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(topics, WM_GETFONT, 0, 0)), sizeof shown, &shown);
    EXPECT_EQ(std::wstring(shown.lfFaceName), std::wstring(stock.lfFaceName));
    EXPECT_EQ(shown.lfHeight, MulDiv(stock.lfHeight, dpi, 96));
    harness::SHOT(HelpWindow, SHOTNAME("help"));
    DestroyWindow(HelpWindow);

    // The file dialog's panel, with its two folder buttons.
    AppSettings.IncludeDir = Folder.PATH();
    Document.CurrentDir = Folder.PATH();
    std::vector<std::string> clipped;
    bool seen = false;
    DialogAnswerer answer([&](HWND dialog) {
        Sleep(400);
        HWND button = nullptr;
        EnumChildWindows(dialog, FINDPANELBUTTON, reinterpret_cast<LPARAM>(&button));
        seen = button != nullptr;
        if (button)
            clipped = CLIPPEDTEXTS(GetParent(button));
        harness::SHOT(dialog, SHOTNAME("open"));
        harness::PRESSBUTTON(dialog, IDCANCEL);
    });
    OPENFILE(CMD_OPEN);
    answer.RESULT();
    EXPECT_TRUE(seen);
    EXPECT_EQ(clipped, std::vector<std::string>());
}

// Go to Sub over a listing with Subs, its label and buttons whole.
TEST_F(DpiTest, GoToSubShowsItsTextsWhole) {
    START();
    SETTEXT("Sub First()\r\nEnd Sub\r\nFunction Parse(text As String) As Long\r\nEnd Function\r\n"
            "Callback Function DialogProc() As Long\r\nEnd Function\r\n");
    CHECKMODAL(CMD_GOTOSUB, "gotosub");
}
