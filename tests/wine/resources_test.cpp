// The resource commands with real files, real message boxes and the tool
// stand-ins started as separate processes: finding the resource file of a
// FreeBASIC or PowerBASIC listing, creating the empty resource file safely,
// and starting the resource editor and the converter.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <thread>
#include <string>
#include <vector>

#include "document/settingsblock.h"
#include "inprocess.h"
#include "document/document.h"
#include "resfiles/resfiles.h"
#include "services/commandline.h"
#include "ui/resource.h"


namespace {

const std::string EMPTYRES("\0\0\0\0\x20\0\0\0\xFF\xFF\0\0\xFF\xFF\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 32);
const char *const TITLE = "Quillet by Vandrell";
// Wine's caption of a message box given none.
const char *const DEFAULTCAPTION = "Error";

// What a message box showed.
struct Box {
    std::string Caption;
    std::string Text;
    bool Question = false;
    bool Stop = false;
    bool YesNo = false;
    bool OkOnly = false;
};

HICON ICONOF(HWND box) {
    return reinterpret_cast<HICON>(SendMessageA(GetDlgItem(box, 1088), STM_GETICON, 0, 0));
}

// Records the box and presses a button; answer 0 takes No on a Yes/No box
// and OK otherwise (for boxes that should not have come).
std::function<void(HWND)> SEE(std::vector<Box> &seen, int answer) {
    return [&seen, answer](HWND box) {
        Box b;
        b.Caption = harness::WINDOWTEXTOF(box);
        b.Text = harness::MESSAGEBOXTEXT(box);
        const HICON icon = ICONOF(box);
        b.Question = icon != nullptr && icon == LoadIconA(nullptr, IDI_QUESTION);
        b.Stop = icon != nullptr && icon == LoadIconA(nullptr, IDI_HAND);
        b.YesNo = harness::HASBUTTON(box, IDYES) && harness::HASBUTTON(box, IDNO) && !harness::HASBUTTON(box, IDCANCEL);
        b.OkOnly = harness::HASBUTTON(box, IDOK) && !harness::HASBUTTON(box, IDYES) && !harness::HASBUTTON(box, IDNO) &&
                   !harness::HASBUTTON(box, IDCANCEL);
        seen.push_back(b);
        // QUILLET_BOX_PAUSE=ms leaves each box up for a screenshot.
        char pause[16] = {};
        if (GetEnvironmentVariableA("QUILLET_BOX_PAUSE", pause, sizeof pause) > 0)
            Sleep(static_cast<DWORD>(atoi(pause)));
        harness::PRESSBUTTON(box, answer ? answer : (b.YesNo ? IDNO : IDOK));
    };
}

class ResourcesTest : public InProcessTest {
protected:
    void SetUp() override {
        Document.ProjectSettings = PROJECTSETTINGSRECORD{};
        Log = Folder.FILE("started.log");
        SetEnvironmentVariableA("QUILLET_STANDIN_LOG", Log.c_str());
        // The tools sit in a folder with blanks, as under "Program Files".
        Folder.MAKEFOLDER("my tools");
        Editor = Folder.FILE("my tools\\res edit.exe");
        Converter = Folder.FILE("my tools\\pb res.exe");
        CopyFileA((harness::PROGRAMFOLDER() + "standin_resourceeditor.exe").c_str(), Editor.c_str(), FALSE);
        CopyFileA((harness::PROGRAMFOLDER() + "standin_converter.exe").c_str(), Converter.c_str(), FALSE);
    }
    void TearDown() override {
        SetEnvironmentVariableA("QUILLET_STANDIN_LOG", nullptr);
        SetCurrentDirectoryA(harness::PROGRAMFOLDER().c_str());
        InProcessTest::TearDown();
    }
    // Starts the window with a compiler type and the two tools configured.
    void STARTWITH(int compilerType, const std::string &editor, const std::string &converter) {
        WRITEINI("[PathSettings]\r\nResourceEditor=" + editor + "\r\nPbResourceConverter=" + converter +
                 "\r\n[OtherSettings]\r\nCompilerType=" + std::to_string(compilerType) + "\r\n");
        START();
    }
    void STARTWITH(int compilerType) { STARTWITH(compilerType, Editor, Converter); }
    // Opens a listing as the current file.
    void LISTING(const std::string &name, const std::string &text) {
        Folder.WRITEFILE(name, text);
        Document.CurrentFile = Folder.FILE(name);
        SETTEXT(text);
    }
    // Runs a command (or any call), answering its message boxes in turn with
    // the answers given; boxes beyond those are recorded and closed too.
    std::vector<Box> ANSWERING(const std::vector<int> &answers, const std::function<void()> &call) {
        std::vector<Box> seen;
        std::thread answerer([&seen, answers] {
            for (std::size_t n = 0;; ++n) {
                // An expected box gets time to come; an unexpected one a moment.
                HWND box = harness::WAITFORDIALOG(GetCurrentProcessId(), n < answers.size() ? 10000 : 1000);
                if (!box)
                    return;
                Sleep(50);  // let the box finish its initialisation
                SEE(seen, n < answers.size() ? answers[n] : 0)(box);
                for (int i = 0; i < 500 && IsWindow(box); ++i)
                    Sleep(20);
            }
        });
        call();
        answerer.join();
        return seen;
    }
    std::vector<Box> RUN(int command, const std::vector<int> &answers = {}) {
        return ANSWERING(answers, [this, command] { COMMAND(command); });
    }
    std::vector<Box> CREATE(const std::string &name, int &status, const std::vector<int> &answers = {}) {
        return ANSWERING(answers, [&] { status = CREATEEMPTYRESFILE(name); });
    }
    // The start record of the tool stand-in, waited for; empty when no tool
    // was started within the time.
    std::map<std::string, std::string> STARTED(int timeoutMs = 10000) {
        std::map<std::string, std::string> record;
        const DWORD start = GetTickCount();
        std::string text;
        while ((text = harness::READWHOLEFILE(Log)).find("end\n") == std::string::npos) {
            if (static_cast<int>(GetTickCount() - start) > timeoutMs)
                return record;
            Sleep(50);
        }
        std::size_t from = 0;
        for (std::size_t to; (to = text.find('\n', from)) != std::string::npos; from = to + 1) {
            const std::string line = text.substr(from, to - from);
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos)
                record[line.substr(0, equals)] = line.substr(equals + 1);
        }
        return record;
    }
    // Temporary files left behind in the folder.
    int LEFTOVERS() {
        int count = 0;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((Folder.PATH() + "*.tmp").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do
                ++count;
            while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        return count;
    }
    std::string Log;
    std::string Editor;
    std::string Converter;
};

std::string QUOTED(const std::string &text) {
    return "\"" + text + "\"";
}

TEST_F(ResourcesTest, NamesFromTheListingThatNoCommandLineCarriesAreRefused) {
    STARTWITH(0);
    LISTING("prog.bas", "Print 1\r\n");
    Document.ProjectSettings.ResourceFile = "app.res\" /evil \"x.res";
    auto boxes = RUN(CMD_EDITRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, UNSAFENAMEMESSAGE("ZERESFILE", Document.ProjectSettings.ResourceFile));
    EXPECT_TRUE(boxes[0].Stop);
    Document.ProjectSettings.ResourceFile.clear();
    AppSettings.CompilerType = POWERBASICCOMPILER;
    LISTING("pb.bas", "#Resource \"app\x01.pbr\"\r\n");
    boxes = RUN(CMD_UPDATEPBRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, UNSAFENAMEMESSAGE("#Resource", "app\x01.pbr"));
    EXPECT_TRUE(STARTED(1000).empty());  // nothing started
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("app.res")));  // nothing created
}

TEST_F(ResourcesTest, ARelativeToolNameIsTheConfiguredOneNeverTheListings) {
    Folder.MAKEFOLDER("tools");
    Folder.MAKEFOLDER("project");
    Folder.MAKEFOLDER("project\\tools");
    ASSERT_TRUE(CopyFileA(Editor.c_str(), Folder.FILE("tools\\reseditor.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((harness::PROGRAMFOLDER() + "standin_program.exe").c_str(),
                          Folder.FILE("project\\tools\\reseditor.exe").c_str(), FALSE));
    STARTWITH(0, "tools\\reseditor.exe", Converter);
    Folder.WRITEFILE("project\\app.res", "existing");
    LISTING("project\\prog.bas", "Print 1\r\n");
    Document.ProjectSettings.ResourceFile = "app.res";
    // Where an older version left the process after compiling.
    SetCurrentDirectoryA(Folder.FILE("project").c_str());
    EXPECT_TRUE(RUN(CMD_EDITRESOURCES).empty());
    SetCurrentDirectoryA(harness::PROGRAMFOLDER().c_str());
    auto started = STARTED();
    EXPECT_EQ(started["arg1"], Folder.FILE("project\\app.res"));
    Sleep(300);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("project\\tools\\reseditor.rec")));
}

}  // namespace

TEST_F(ResourcesTest, FreeBasicProposalYesCreatesTheFileAndStartsTheEditor) {
    STARTWITH(0);
    LISTING("my prog.bas", "Print 1\r\n");
    const std::string res = Folder.FILE("my prog.res");
    const auto boxes = RUN(CMD_EDITRESOURCES, {IDYES, IDYES});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text, "No Resource filename specified. Use this filename?\r\r" + res);
    EXPECT_TRUE(boxes[0].Question);
    EXPECT_TRUE(boxes[0].YesNo);
    EXPECT_EQ(boxes[1].Caption, TITLE);
    EXPECT_EQ(boxes[1].Text,
              "The resource file\r" + res + "\rdoesn't exist.\r\rCreate this file as a new empty resource file?");
    EXPECT_TRUE(boxes[1].Question);
    EXPECT_TRUE(boxes[1].YesNo);
    EXPECT_EQ(Folder.READFILE("my prog.res"), EMPTYRES);

    auto started = STARTED();
    EXPECT_EQ(started["program"], "resourceeditor");
    EXPECT_EQ(started["commandline"], QUOTED(Editor) + " " + QUOTED(res));
    EXPECT_EQ(started["argc"], "2");
    EXPECT_EQ(started["arg1"], res);
    EXPECT_EQ(started["show"], std::to_string(SW_SHOW));
    // The editor works in the resource file's folder.
    EXPECT_EQ(started["folder"] + "\\", Folder.PATH());
    // The proposal is not kept as a project setting.
    EXPECT_EQ(Document.ProjectSettings.ResourceFile, "");

    // Next time the proposed file is there: only the proposal is asked.
    DeleteFileA(Log.c_str());
    const auto again = RUN(CMD_EDITRESOURCES, {IDYES});
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].Text, boxes[0].Text);
    EXPECT_EQ(STARTED()["arg1"], res);
    EXPECT_FALSE(harness::FILEEXISTS(res + ".bak"));
}

TEST_F(ResourcesTest, FreeBasicProposalNoOrCreateNoDoesNothing) {
    STARTWITH(0);
    LISTING("prog.bas", "Print 1\r\n");
    auto boxes = RUN(CMD_EDITRESOURCES, {IDNO});
    EXPECT_EQ(boxes.size(), 1u);
    boxes = RUN(CMD_EDITRESOURCES, {IDYES, IDNO});
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("prog.res")));
    EXPECT_TRUE(STARTED(1500).empty());
}

TEST_F(ResourcesTest, StoredRelativeNameIsTakenFromTheListingsFolder) {
    STARTWITH(0);
    Folder.MAKEFOLDER("res");
    Folder.WRITEFILE("res\\app.res", "existing");
    LISTING("prog.bas", "Print 1\r\n");
    Document.ProjectSettings.ResourceFile = "res\\app.res";
    // The process may be anywhere after a file dialog.
    harness::TempFolder elsewhere;
    SetCurrentDirectoryA(elsewhere.PATH().c_str());
    EXPECT_TRUE(RUN(CMD_EDITRESOURCES).empty());
    SetCurrentDirectoryA(harness::PROGRAMFOLDER().c_str());
    auto started = STARTED();
    EXPECT_EQ(started["arg1"], Folder.FILE("res\\app.res"));
    EXPECT_EQ(started["argc"], "2");
    EXPECT_EQ(started["folder"], Folder.FILE("res"));
    EXPECT_EQ(Folder.READFILE("res\\app.res"), "existing");
    EXPECT_EQ(Document.ProjectSettings.ResourceFile, "res\\app.res");
}

TEST_F(ResourcesTest, StoredNameWithoutResExtensionIsStillHandedToTheEditor) {
    STARTWITH(0);
    LISTING("prog.bas", "Print 1\r\n");
    Document.ProjectSettings.ResourceFile = "prog.rc";
    const std::string rc = Folder.FILE("prog.rc");
    const auto boxes = RUN(CMD_EDITRESOURCES, {IDYES, IDOK});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[1].Text, "The Resource file to create has an invalid extension (.RES expected)\r" + rc);
    EXPECT_TRUE(boxes[1].Stop);
    EXPECT_TRUE(boxes[1].OkOnly);
    EXPECT_FALSE(harness::FILEEXISTS(rc));
    EXPECT_EQ(STARTED()["arg1"], rc);
}

TEST_F(ResourcesTest, PowerBasicStatementNamesTheResFileBesideTheListing) {
    STARTWITH(1);
    Folder.WRITEFILE("My Dialogs.res", "existing");
    LISTING("pb prog.bas", "#Compile Exe\r\n  #Resource \"My Dialogs.pbr\" ' dialogs\r\nFunction PBMain()\r\nEnd Function\r\n");
    EXPECT_TRUE(RUN(CMD_EDITRESOURCES).empty());
    auto started = STARTED();
    EXPECT_EQ(started["commandline"], QUOTED(Editor) + " " + QUOTED(Folder.FILE("My Dialogs.res")));
    EXPECT_EQ(started["arg1"], Folder.FILE("My Dialogs.res"));
    EXPECT_EQ(Folder.READFILE("My Dialogs.res"), "existing");
}

TEST_F(ResourcesTest, PowerBasicMessagesForAMissingOrUnusableStatement) {
    STARTWITH(1);
    LISTING("pb.bas", "#Compile Exe\r\n' #Resource \"old.pbr\"\r\nFunction PBMain()\r\nEnd Function\r\n");
    auto boxes = RUN(CMD_EDITRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text, "No #Resource or $Resource statement found in the first 300 source code lines.");
    EXPECT_TRUE(boxes[0].Stop);
    EXPECT_TRUE(boxes[0].OkOnly);

    LISTING("pb.bas", "#Compile Exe\r\n#Resource = \"\" + \"x.pbr\"\r\n");
    boxes = RUN(CMD_UPDATEPBRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text,
              "#Resource/$Resource statement incorrect or has an invalid format for the editor.\r"
              "Use a simple quoted filename please, such as:\r\r#Resource=\"MyTestResource.pbr\"\ror\r"
              "$RESOURCE=\"Test.pbr\"\r\rFor example the following format is not supported:\r\r"
              "#Resource=\"MyTe\"+Chr$(&H73)+\"t.pbr\"");
    EXPECT_TRUE(boxes[0].Stop);
    EXPECT_TRUE(STARTED(1500).empty());
}

TEST_F(ResourcesTest, ConverterStartsMinimisedWithoutFocus) {
    STARTWITH(1);
    Folder.WRITEFILE("app.res", "existing");
    LISTING("pb.bas", "$RESOURCE \"app.pbr\"\r\nFunction PBMain()\r\nEnd Function\r\n");
    EXPECT_TRUE(RUN(CMD_UPDATEPBRESOURCES).empty());
    auto started = STARTED();
    EXPECT_EQ(started["program"], "converter");
    EXPECT_EQ(started["commandline"], QUOTED(Converter) + " " + QUOTED(Folder.FILE("app.res")));
    EXPECT_EQ(started["show"], std::to_string(SW_SHOWMINNOACTIVE));
    EXPECT_EQ(started["arg1"], Folder.FILE("app.res"));
    EXPECT_EQ(started["folder"] + "\\", Folder.PATH());
}

TEST_F(ResourcesTest, ToolStartFailuresNameTheTool) {
    const std::string missing = Folder.FILE("no such tool.exe");
    STARTWITH(1, missing, missing);
    Folder.WRITEFILE("app.res", "existing");
    LISTING("pb.bas", "#Resource \"app.pbr\"   \r\n");
    auto boxes = RUN(CMD_UPDATEPBRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text, "Error starting PowerBasic resource converter\r" + missing);
    EXPECT_TRUE(boxes[0].Stop);
    boxes = RUN(CMD_EDITRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text, "Error starting resource editor\r" + missing);
    EXPECT_TRUE(boxes[0].Stop);
    EXPECT_TRUE(boxes[0].OkOnly);

    AppSettings.ResourceEditor.clear();
    AppSettings.PbResourceConverter.clear();
    boxes = RUN(CMD_EDITRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Error starting resource editor\r");
    boxes = RUN(CMD_UPDATEPBRESOURCES, {IDOK});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Error starting PowerBasic resource converter\r");
    EXPECT_EQ(Folder.READFILE("app.res"), "existing");
}

TEST_F(ResourcesTest, UntitledTextHasNoResourceFile) {
    STARTWITH(0);
    SETTEXT("Print 1");
    EXPECT_TRUE(RUN(CMD_EDITRESOURCES).empty());
    EXPECT_TRUE(STARTED(300).empty());
}

TEST_F(ResourcesTest, EmptyResourceFileIsWrittenExactly) {
    STARTWITH(0);
    int status = -1;
    EXPECT_TRUE(CREATE(Folder.FILE("new.res"), status).empty());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Folder.READFILE("new.res"), EMPTYRES);
    EXPECT_TRUE(CREATE(Folder.FILE("UPPER.RES"), status).empty());
    EXPECT_EQ(Folder.READFILE("UPPER.RES"), EMPTYRES);
    EXPECT_EQ(LEFTOVERS(), 0);
}

// Writes the file that the independent reader checks (tests/check-res.sh
// runs this case alone, with QUILLET_RES_SAMPLE naming a fresh file).
TEST_F(ResourcesTest, SampleForTheIndependentReader) {
    char sample[MAX_PATH + 1] = {};
    if (!GetEnvironmentVariableA("QUILLET_RES_SAMPLE", sample, sizeof sample))
        GTEST_SKIP() << "run by tests/check-res.sh";
    STARTWITH(0);
    int status = -1;
    EXPECT_TRUE(CREATE(sample, status).empty());
    EXPECT_EQ(status, 0);
}

TEST_F(ResourcesTest, InvalidExtensionWritesNothing) {
    STARTWITH(0);
    int status = -1;
    const auto boxes = CREATE(Folder.FILE("app.rc"), status, {IDOK});
    EXPECT_EQ(status, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text, "The Resource file to create has an invalid extension (.RES expected)\r" + Folder.FILE("app.rc"));
    EXPECT_TRUE(boxes[0].Stop);
    EXPECT_EQ(LEFTOVERS(), 0);
}

TEST_F(ResourcesTest, OverwritingKeepsTheOldFileAsBackup) {
    STARTWITH(0);
    const std::string name = Folder.FILE("app.res");
    Folder.WRITEFILE("app.res", "old content");
    int status = -1;
    auto boxes = CREATE(name, status, {IDNO});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, TITLE);
    EXPECT_EQ(boxes[0].Text, "The resource file\r" + name + "\rjust exists.\r\rReally overwrite it?");
    EXPECT_TRUE(boxes[0].Question);
    EXPECT_TRUE(boxes[0].YesNo);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Folder.READFILE("app.res"), "old content");
    EXPECT_FALSE(harness::FILEEXISTS(name + ".bak"));

    boxes = CREATE(name, status, {IDYES});
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Folder.READFILE("app.res"), EMPTYRES);
    EXPECT_EQ(Folder.READFILE("app.res.bak"), "old content");
    EXPECT_EQ(LEFTOVERS(), 0);
}

TEST_F(ResourcesTest, OverwritingWithABackupThereKeepsThatBackup) {
    STARTWITH(0);
    const std::string name = Folder.FILE("app.res");
    Folder.WRITEFILE("app.res", "newer");
    Folder.WRITEFILE("app.res.bak", "older");
    int status = -1;
    EXPECT_EQ(CREATE(name, status, {IDYES}).size(), 1u);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Folder.READFILE("app.res"), EMPTYRES);
    EXPECT_EQ(Folder.READFILE("app.res.bak"), "older");
    EXPECT_EQ(LEFTOVERS(), 0);
}

TEST_F(ResourcesTest, FailedWritesLeaveTheOldFileIntact) {
    STARTWITH(0);
    int status = -1;
    // A folder under the name.
    Folder.MAKEFOLDER("folder.res");
    auto boxes = CREATE(Folder.FILE("folder.res"), status, {IDOK});
    EXPECT_EQ(status, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, DEFAULTCAPTION);
    EXPECT_EQ(boxes[0].Text, "Error while creating the empty 32 bit resource file\r" + Folder.FILE("folder.res"));
    EXPECT_TRUE(boxes[0].Stop);
    EXPECT_TRUE(GetFileAttributesA(Folder.FILE("folder.res").c_str()) & FILE_ATTRIBUTE_DIRECTORY);

    // A folder that does not exist.
    boxes = CREATE(Folder.FILE("missing\\app.res"), status, {IDOK});
    EXPECT_EQ(status, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Error while creating the empty 32 bit resource file\r" + Folder.FILE("missing\\app.res"));

    // A file that another program holds open without sharing.
    Folder.WRITEFILE("held.res", "held content");
    HANDLE held = CreateFileA(Folder.FILE("held.res").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    boxes = CREATE(Folder.FILE("held.res"), status, {IDYES, IDOK});
    CloseHandle(held);
    EXPECT_EQ(status, 1);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].Caption, TITLE);
    EXPECT_EQ(boxes[1].Text, "Error while creating the empty 32 bit resource file\r" + Folder.FILE("held.res"));
    EXPECT_EQ(Folder.READFILE("held.res"), "held content");
    EXPECT_FALSE(harness::FILEEXISTS(Folder.FILE("held.res.bak")));
    // Nothing half-written is left behind.
    EXPECT_EQ(LEFTOVERS(), 0);
}

TEST_F(ResourcesTest, FailedCreationStartsNoEditor) {
    STARTWITH(1);
    LISTING("pb.bas", "#Resource \"missing\\app.pbr\"\r\n");
    const auto boxes = RUN(CMD_EDITRESOURCES, {IDYES, IDOK});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text, "Error while creating the empty 32 bit resource file\r" + Folder.FILE("missing\\app.res"));
    EXPECT_TRUE(STARTED(1500).empty());
}
