// The keyword lists: the Basic and the API keyword files, created from the
// built-in lists when they are missing.
#include <windows.h>

#include <string>

#include "Scintilla.h"
#include "services/config.h"
#include "services/editor.h"
#include "services/handles.h"
#include "document/document.h"
#include "services/fileio.h"
#include "document/keywordtext.h"
#include "ui/resource.h"

namespace {

// Kept from one call to the next: a file that cannot be read leaves its list
// as it was.
std::string BasicList;
std::string ApiList;
std::uint32_t Loads = 0;

std::string_view BUILTINLIST(int id) {
    HRSRC found = FindResourceW(ProgramInstance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(RT_KEYWORDLIST));
    if (!found)
        return std::string_view();
    HGLOBAL loaded = LoadResource(ProgramInstance, found);
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return std::string_view();
    return STRIPTRAILINGZEROS(std::string_view(static_cast<const char *>(data), SizeofResource(ProgramInstance, found)));
}

void READKEYWORDFILE(const std::string &path, int builtinId, std::string &target) {
    {
        FileHandle file(OPENFORREADING(path));
        if (file.OK()) {
            LARGE_INTEGER size;
            // An empty file, or one whose size cannot be taken, leaves the list as it was.
            if (!GetFileSizeEx(file.GET(), &size) || size.QuadPart == 0 || size.QuadPart > 0x7FFFFFF0)
                return;
            std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
            DWORD got = 0;
            if (ReadFile(file.GET(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
                text.resize(got);
                target = std::move(text);
            }
            return;
        }
    }
    // The built-in list serves from memory whatever happens to the file, so
    // a program folder where nothing can be created still colours keywords.
    // A missing file is written through a temporary file and a rename, so a
    // half-written keyword file is never left to be trusted at the next start.
    // A file that is there but cannot be read is left alone, and so is a
    // list loaded from it before.
    const std::string_view builtin = BUILTINLIST(builtinId);
    if (EXISTS(path)) {
        if (target.empty())
            target = std::string(builtin);
        return;
    }
    target = std::string(builtin);
    SafeFileWriter writer;
    if (writer.BEGIN(path) == 0 && writer.WRITE(builtin))
        writer.COMMIT();
}

}  // namespace

void LOADKEYWORDS() {
    READKEYWORDFILE(AppSettings.BasicKeywordFile,
                    AppSettings.CompilerType == FREEBASICCOMPILER ? IDK_FREEBASICKEYWORDS : IDK_POWERBASICKEYWORDS, BasicList);
    READKEYWORDFILE(AppSettings.ApiKeywordFile, IDK_APIKEYWORDS, ApiList);
    const std::string joined = JOINKEYWORDS(BasicList, ApiList);
    SCI(SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(joined.c_str()));
    ++Loads;
}

const std::string &BASICKEYWORDLIST() {
    return BasicList;
}

const std::string &APIKEYWORDLIST() {
    return ApiList;
}

std::uint32_t KEYWORDLOADS() {
    return Loads;
}
