#include "document/filerules.h"

#include "services/pathtext.h"

int32_t INITIALFILTERINDEX(std::string_view startName) {
    return UPPERTAIL(startName, 3) == "INC" ? FILTERINCLUDE : FILTERBASIC;
}

std::string APPLYEXTENSIONRULE(std::string_view name, int32_t filterIndex) {
    const std::string extension = UPPERTAIL(name, 4);
    std::string completed(name);
    if (extension == ".BAS" || extension == ".INC" || extension == ".RTF")
        return completed;
    // "prog." must become "prog.bas", not "prog..bas".
    if (!completed.empty() && completed.back() == '.')
        completed.pop_back();
    switch (filterIndex) {
    case FILTERINCLUDE:
        completed += ".inc";
        break;
    case FILTERRTF:
        completed += ".rtf";
        break;
    default:
        completed += ".bas";
        break;
    }
    return completed;
}

bool ISRTFNAME(std::string_view name) {
    return UPPERTAIL(name, 4) == ".RTF";
}

std::string PREVIEWTEXT(std::string_view firstBytes) {
    std::string_view text = firstBytes.substr(0, PREVIEWMAXBYTES);
    text = text.substr(0, text.find('\0'));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!text.empty() && text.front() == '\'')
        text.remove_prefix(1);
    return std::string(text.substr(0, text.find('\r')));
}

std::string REMEMBEREDFOLDERTEXT(std::string_view folder, int32_t typeEntry) {
    std::string text(folder);
    const char *pattern = typeEntry == 0 ? "*.bas" : typeEntry == 1 ? "*.inc" : nullptr;
    if (pattern == nullptr)
        return text;
    if (text.empty() || text.back() != '\\')
        text += '\\';
    text += pattern;
    return text;
}
