// Name and text rules of the Open and Save As dialogs and their panel,
// kept apart from the dialogs themselves.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Save As file types, as numbered by the dialog's filter index.
enum : int32_t {
    FILTERBASIC = 1,
    FILTERINCLUDE = 2,
    FILTERRTF = 3,
    FILTERALL = 4,
};

// Most bytes of a file that the preview looks at.
constexpr std::size_t PREVIEWMAXBYTES = 260;

// 2 (include files) when the name ends in "INC" in any letter case, else 1.
int32_t INITIALFILTERINDEX(std::string_view startName);

// Completes a name chosen in Save As: a name ending in .bas, .inc or .rtf (any
// case) stays as typed; otherwise one trailing point is dropped and the
// extension of the selected filter is appended (.inc for 2, .rtf for 3, .bas
// for anything else).
std::string APPLYEXTENSIONRULE(std::string_view name, int32_t filterIndex);

// True when the name ends in ".rtf" in any letter case.
bool ISRTFNAME(std::string_view name);

// The one-line preview of a file from its first bytes (only the first 260 are
// looked at, up to the first zero byte): spaces trimmed at both ends, then
// one leading apostrophe dropped, then cut at the first carriage return.
// Only spaces are trimmed, as Basic's Trim$ does; a tab stays part of the
// text. A line feed alone does not end the preview.
std::string PREVIEWTEXT(std::string_view firstBytes);

// What the panel remembers when the user switches to the include folder: the
// folder left, with "\*.bas" for type entry 0 and "\*.inc" for entry 1, or the
// folder alone for any other entry. A folder that already ends in a backslash
// (a drive root) gets no second one.
std::string REMEMBEREDFOLDERTEXT(std::string_view folder, int32_t typeEntry);
