// The keyword lists: the Basic and the API keyword files, created from the
// built-in lists when they are missing.
#include <windows.h>

#include <string>

#include "Scintilla.h"
#include "app/shell.h"
#include "document/document.h"
#include "document/fileio.h"
#include "document/keywordtext.h"
#include "ui/resource.h"

namespace {

// Kept from one call to the next: a file that cannot be read leaves its list
// as it was.
std::string BasicList;
std::string ApiList;

std::string_view BUILTINLIST(int id) {
    HRSRC found = FindResourceA(ProgramInstance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(RT_KEYWORDLIST));
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
            if (!GetFileSizeEx(file.handle, &size) || size.QuadPart == 0 || size.QuadPart > 0x7FFFFFF0)
                return;
            std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
            DWORD got = 0;
            if (ReadFile(file.handle, text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
                text.resize(got);
                target = std::move(text);
            }
            return;
        }
    }
    FileHandle created(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!created.OK())
        return;
    const std::string_view builtin = BUILTINLIST(builtinId);
    DWORD written = 0;
    WriteFile(created.handle, builtin.data(), static_cast<DWORD>(builtin.size()), &written, nullptr);
    target = std::string(builtin);
}

}  // namespace

void LOADKEYWORDS() {
    READKEYWORDFILE(AppSettings.BasicKeywordFile,
                    AppSettings.CompilerType == 0 ? IDK_FREEBASICKEYWORDS : IDK_POWERBASICKEYWORDS, BasicList);
    READKEYWORDFILE(AppSettings.ApiKeywordFile, IDK_APIKEYWORDS, ApiList);
    const std::string joined = JOINKEYWORDS(BasicList, ApiList);
    SCI(SCI_SETKEYWORDS, 0, reinterpret_cast<LPARAM>(joined.c_str()));
}

const std::string &BASICKEYWORDLIST() {
    return BasicList;
}
