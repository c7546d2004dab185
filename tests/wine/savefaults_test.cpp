// Faults injected into Save, Save As and the RTF export: whatever goes wrong,
// the file on disk keeps its old bytes, no temporary file is left, the text
// stays in the editor marked as modified, and the user reads why.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Scintilla.h"
#include "document/document.h"
#include "services/fileio.h"
#include "inprocess.h"
#include "ui/resource.h"

using harness::DialogAnswerer;

namespace {

enum class Operation { Save, SaveAs, ExportRtf };
enum class Fault { ReadOnly, HeldOpen, FolderOfThatName, NoFolder, DiskFull, ReplaceFails };

const char *NAMEOF(Operation o) {
    return o == Operation::Save ? "Save" : o == Operation::SaveAs ? "SaveAs" : "ExportRtf";
}
const char *NAMEOF(Fault f) {
    switch (f) {
    case Fault::ReadOnly: return "ReadOnly";
    case Fault::HeldOpen: return "HeldOpen";
    case Fault::FolderOfThatName: return "FolderOfThatName";
    case Fault::NoFolder: return "NoFolder";
    case Fault::DiskFull: return "DiskFull";
    default: return "ReplaceFails";
    }
}

// Another process that holds a file open without sharing it.
class FileHolder {
public:
    explicit FileHolder(const std::string &path) {
        std::string command = "\"" + harness::PROGRAMFOLDER() + "standin_holdfile.exe\" \"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &Process)) {
            // Wait until the file is really held: opening it for writing fails.
            for (int i = 0; i < 100; ++i) {
                HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
                if (probe == INVALID_HANDLE_VALUE)
                    break;
                CloseHandle(probe);
                Sleep(20);
            }
        }
    }
    ~FileHolder() {
        if (Process.hProcess) {
            TerminateProcess(Process.hProcess, 0);
            WaitForSingleObject(Process.hProcess, 5000);
            CloseHandle(Process.hProcess);
            CloseHandle(Process.hThread);
        }
    }
    bool Running() const { return Process.hProcess != nullptr; }

private:
    PROCESS_INFORMATION Process{};
};


class SaveFaultTest : public InProcessTest, public ::testing::WithParamInterface<std::tuple<Operation, Fault>> {
protected:
    void TearDown() override {
        FileWriterFaults = FILEWRITERFAULTS{};
        InProcessTest::TearDown();
    }
};

TEST_P(SaveFaultTest, OriginalKeptTextKeptAndTheUserTold) {
    const auto [operation, fault] = GetParam();
    // The file dialog itself refuses a folder or a missing folder as the
    // name to save under: those never reach the writer through Save As.
    if (operation == Operation::SaveAs && (fault == Fault::FolderOfThatName || fault == Fault::NoFolder))
        GTEST_SKIP();
    START();
    Folder.MAKEFOLDER("work");
    const std::string folder = Folder.FILE("work\\");
    const std::string extension = operation == Operation::ExportRtf ? ".rtf" : ".bas";
    std::string target = folder + "target" + extension;
    const std::string original = "original bytes\r\nof the file on disk\r\n";
    harness::WRITEWHOLEFILE(target, original);

    // The text in the editor: large enough to be written in several pieces.
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += "Sub S" + std::to_string(i) + "()\r\n  Print \"{x}\"\r\nEnd Sub\r\n";
    SETTEXT(text);
    ASSERT_NE(CALL(SCI_GETMODIFY), 0);

    std::unique_ptr<FileHolder> holder;
    std::string expectedMessage = "Couldn't create/overwrite the file\r";
    switch (fault) {
    case Fault::ReadOnly:
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        break;
    case Fault::HeldOpen:
        holder = std::make_unique<FileHolder>(target);
        ASSERT_TRUE(holder->Running());
        break;
    case Fault::FolderOfThatName:
        target = folder + "folder" + extension;
        CreateDirectoryA(target.c_str(), nullptr);
        break;
    case Fault::NoFolder:
        target = folder + "missing\\target" + extension;
        break;
    case Fault::DiskFull:
        FileWriterFaults.FailAfterBytes = 300000;
        expectedMessage = "Error when writing to file\r";
        break;
    case Fault::ReplaceFails:
        FileWriterFaults.FailReplace = true;
        break;
    }
    expectedMessage += target;

    std::string shown;
    std::int32_t status = 0;
    {
        std::vector<std::function<void(HWND)>> steps;
        if (operation == Operation::SaveAs) {
            steps.push_back([target](HWND dialog) {
                Sleep(300);
                SetDlgItemTextA(dialog, 1152, target.c_str());
                harness::PRESSBUTTON(dialog, IDOK);
                // The dialog asks before it names an existing file.
                for (int i = 0; i < 100; ++i) {
                    if (HWND prompt = harness::FINDDIALOG(GetCurrentProcessId(), dialog)) {
                        harness::PRESSBUTTON(prompt, IDYES);
                        break;
                    }
                    Sleep(50);
                }
            });
        }
        steps.push_back([&shown](HWND box) {
            shown = harness::MESSAGEBOXTEXT(box);
            harness::PRESSBUTTON(box, IDOK);
        });
        DialogAnswerer answers(steps);
        switch (operation) {
        case Operation::Save:
            Document.CurrentFile = target;
            status = SAVEFILE();
            break;
        case Operation::SaveAs:
            Document.CurrentFile.clear();
            status = SAVEFILEAS();
            break;
        case Operation::ExportRtf:
            status = EXPORTRTF(target);
            break;
        }
        answers.RESULT();
    }
    holder.reset();
    EXPECT_NE(status, 0);
    EXPECT_EQ(shown, expectedMessage);
    if (fault != Fault::FolderOfThatName && fault != Fault::NoFolder) {
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(harness::READWHOLEFILE(target), original);
    }
    // Nothing but what was there before: no temporary file beside the target.
    const std::vector<std::string> left = harness::FILESIN(folder);
    for (const std::string &name : left)
        EXPECT_TRUE(name == "target" + extension || name == "folder" + extension) << "left behind: " << name;
    EXPECT_EQ(DOCUMENTTEXT(), text);
    EXPECT_NE(CALL(SCI_GETMODIFY), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFaultOfEveryWrite, SaveFaultTest,
    ::testing::Combine(::testing::Values(Operation::Save, Operation::SaveAs, Operation::ExportRtf),
                       ::testing::Values(Fault::ReadOnly, Fault::HeldOpen, Fault::FolderOfThatName, Fault::NoFolder,
                                         Fault::DiskFull, Fault::ReplaceFails)),
    [](const ::testing::TestParamInfo<std::tuple<Operation, Fault>> &info) {
        return std::string(NAMEOF(std::get<0>(info.param))) + "_" + NAMEOF(std::get<1>(info.param));
    });

// Paths near the limit of MAX_PATH open and save in place: in a folder
// whose path is 247 characters or longer (the system's temporary names do
// not fit there) and with whole names of 255 to 259 characters (the name
// of the original while it is replaced would not fit). Nothing is left
// beside the file.
using LongPathTest = InProcessTest;

TEST_F(LongPathTest, AFileThatOpensAlsoSaves) {
    START();
    const std::size_t base = Folder.PATH().size();
    const struct {
        std::size_t Folder, Whole;  // the folder's length without its backslash, the path's
    } cases[] = {{247, 253}, {248, 255}, {200, 259}, {250, 259}};
    for (const auto &c : cases) {
        ASSERT_LT(base, c.Folder);
        const std::string sub = Folder.PATH() + std::string(c.Folder - base, static_cast<char>('a' + c.Whole % 26)) + "\\";
        CreateDirectoryW(harness::WIDEPATH(sub).c_str(), nullptr);
        const std::string path = sub + std::string(c.Whole - sub.size() - 4, 'n') + ".bas";
        ASSERT_EQ(path.size(), c.Whole);
        harness::WRITEWHOLEFILE(path, "Print 1\r\n");
        ASSERT_EQ(OPENPATH(path), OPENDONE) << path.size();
        CALL(SCI_DOCUMENTEND);
        CALL(SCI_ADDTEXT, 9, reinterpret_cast<LPARAM>("Print 2\r\n"));
        EXPECT_EQ(SAVEFILE(), 0) << c.Folder << " " << c.Whole;
        EXPECT_EQ(harness::READWHOLEFILE(path).substr(0, 18), "Print 1\r\nPrint 2\r\n");
        const std::vector<std::string> left = harness::FILESIN(sub);
        EXPECT_EQ(left.size(), 1u) << (left.empty() ? "" : left.back());
        for (const std::string &name : left)
            DeleteFileW(harness::WIDEPATH(sub + name).c_str());
    }
}

}  // namespace
