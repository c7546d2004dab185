// Benchmark of opening, saving and exporting large listings, against the raw
// file operations and Scintilla's own work measured in the same run.
// Prints medians; it checks nothing. Run: scripts/bench.sh
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Scintilla.h"
#include "app/app.h"
#include "benchcommon.h"
#include "document/document.h"
#include "services/fileio.h"
#include "document/rtfwriter.h"
#include "ui/resource.h"


namespace {

double MEDIAN(int runs, const std::function<void()> &work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = NOW();
        work();
        times.push_back(NOW() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::string READALL(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

void WRITEALLTO(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void ROW(const char *what, double seconds, double megabytes, double baseline) {
    std::printf("  %-44s %8.1f ms %8.1f MB/s", what, seconds * 1000, megabytes / seconds);
    if (baseline > 0)
        std::printf("   %.2f x baseline", seconds / baseline);
    std::printf("\n");
}

}  // namespace

int main(int argc, char **argv) {
    const std::string folder = STARTBENCHWINDOW("quillet-bench");

    // Sizes in MB from the command line, or 1, 16 and 64.
    std::vector<size_t> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(static_cast<size_t>(std::atoi(argv[i])) << 20);
    if (sizes.empty())
        sizes = {1u << 20, 16u << 20, 64u << 20};
    for (size_t size : sizes) {
        const int runs = size <= (1u << 20) ? 9 : size <= (16u << 20) ? 5 : 3;
        const std::string text = LISTING(size);
        const double mb = static_cast<double>(text.size()) / 1e6;
        const std::string source = folder + "listing.bas";
        const std::string copy = folder + "copy.bas";
        const std::string rtf = folder + "listing.rtf";

        // Make the file as the editor saves it: text, then a block with the
        // state of every fold header, every second one folded.
        SCI(SCI_CLEARALL);
        SCI(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        SCI(SCI_COLOURISE, 0, -1);
        int headers = 0;
        SendMessageA(EditorControl, WM_SETREDRAW, FALSE, 0);
        for (LRESULT line = 0, count = SCI(SCI_GETLINECOUNT); line < count; ++line)
            if ((SCI(SCI_GETFOLDLEVEL, line) & SC_FOLDLEVELHEADERFLAG) && (++headers % 2 == 0))
                SCI(SCI_TOGGLEFOLD, line);
        SendMessageA(EditorControl, WM_SETREDRAW, TRUE, 0);
        SCI(SCI_GOTOPOS, text.size() / 2);
        Document.CurrentFile = source;
        SAVEFILE();

        std::printf("%.1f MB listing, %d fold headers, %d runs, medians:\n", mb, headers, runs);
        const double read = MEDIAN(runs, [&] { READALL(source); });
        const std::string bytes = READALL(source);
        const double write = MEDIAN(runs, [&] { WRITEALLTO(copy, bytes); });
        const double insert = MEDIAN(runs, [&] {
            SCI(SCI_CLEARALL);
            SCI(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
        });
        const double insertColour = MEDIAN(runs, [&] {
            SCI(SCI_CLEARALL);
            SCI(SCI_ADDTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
            SCI(SCI_COLOURISE, 0, -1);
        });
        const double safeWrite = MEDIAN(runs, [&] {
            SafeFileWriter writer;
            writer.BEGIN(copy);
            writer.WRITE(bytes);
            writer.COMMIT();
        });
        const double safeEmpty = MEDIAN(runs, [&] {
            SafeFileWriter writer;
            writer.BEGIN(copy);
            writer.COMMIT();
        });
        std::string out(text.size() + 1, '\0');
        const double take = MEDIAN(runs, [&] { SCI(SCI_GETTEXT, out.size(), reinterpret_cast<LPARAM>(out.data())); });

        std::string styled(2 * text.size() + 2, '\0');
        const double takeStyled = MEDIAN(runs, [&] {
            Sci_TextRangeFull range{{0, static_cast<Sci_Position>(text.size())}, styled.data()};
            SCI(SCI_GETSTYLEDTEXTFULL, 0, reinterpret_cast<LPARAM>(&range));
        });
        const double body = MEDIAN(runs, [&] {
            std::string rest;
            size_t total = 0;
            WRITERTFBODY(reinterpret_cast<const unsigned char *>(styled.data()), text.size(),
                         [&total](std::string_view line) {
                             total += line.size();
                             return true;
                         },
                         rest);
        });
        const double open = MEDIAN(runs, [&] {
            SCI(SCI_SETSAVEPOINT);
            Document.CurrentFile = source;
            OPENFILE(CMD_OPENCURRENT);
            KillTimer(MainWindow, 1);
            APPLYFILESETTINGS();
        });
        const double save = MEDIAN(runs, [&] { SAVEFILE(); });
        const double exportRtf = MEDIAN(runs, [&] { EXPORTRTF(rtf); });

        ROW("raw read", read, mb, 0);
        ROW("raw write", write, mb, 0);
        ROW("safe write (temporary file, flush, replace)", safeWrite, mb, write);
        ROW("  of which the fixed cost (no bytes)", safeEmpty, mb, 0);
        ROW("Scintilla takes the text", insert, mb, 0);
        ROW("Scintilla takes the text and colours it", insertColour, mb, 0);
        ROW("Scintilla gives the text (SCI_GETTEXT)", take, mb, 0);
        ROW("Scintilla gives the styled text", takeStyled, mb, 0);
        ROW("RTF body from the styled text (no file)", body, mb, 0);
        ROW("OPENFILE 11101 with block applied", open, mb, read + insert);
        std::printf("  %-44s (baseline: raw read + Scintilla takes the text; %.2f x with colouring added)\n", "",
                    open / (read + insertColour));
        ROW("SAVEFILE", save, mb, insert + write);
        std::printf("  %-44s (baseline: Scintilla takes the text + raw write; %.2f x SCI_GETTEXT + raw write)\n", "",
                    save / (take + write));
        ROW("EXPORTRTF (text already coloured)", exportRtf, mb, 0);
        std::fflush(stdout);
        DeleteFileA(copy.c_str());
        DeleteFileA(rtf.c_str());
        DeleteFileA(source.c_str());
    }
    SCI(SCI_SETSAVEPOINT);
    DestroyWindow(MainWindow);
    DeleteFileA(AppSettings.IniPath.c_str());
    DeleteFileA((folder + "FreeBasicKeywords.txt").c_str());
    DeleteFileA((folder + "ApiKeywords.txt").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
