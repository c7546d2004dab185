#include "document/keywordtext.h"

std::string_view STRIPTRAILINGZEROS(std::string_view stored) {
    while (!stored.empty() && stored.back() == '\0')
        stored.remove_suffix(1);
    return stored;
}

std::string JOINKEYWORDS(std::string_view basic, std::string_view api) {
    std::string joined;
    joined.reserve(basic.size() + 1 + api.size());
    joined += basic;
    joined += ' ';
    joined += api;
    for (char &c : joined)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return joined;
}
