// Checks the built-in keyword lists: the .txt texts and the padded .kw
// resources made from them (scripts/make-api-keywords.py, pad-keywords.py).

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#ifndef QUILLET_KEYWORDS_DIR
#error "QUILLET_KEYWORDS_DIR must name the src/ui/keywords directory"
#endif

namespace {

std::string readFile(const std::string& name) {
    std::ifstream in(std::string(QUILLET_KEYWORDS_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << name;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string w; in >> w;) result.push_back(w);
    return result;
}

struct List {
    const char* name;
    std::size_t textSize;
    std::size_t storedSize;
    std::size_t wordCount;
    const char* first;
    const char* last;
};

void PrintTo(const List& l, std::ostream* os) { *os << l.name; }

const List kLists[] = {
    {"api", 25477, 25480, 1608, "AbortDoc", "wsprintf"},
    {"freebasic", 1529, 1532, 253, "#define", "Xor"},
    {"powerbasic", 3646, 3648, 566, "%Def", "XPrint"},
};

class KeywordList : public ::testing::TestWithParam<List> {};

TEST_P(KeywordList, TextIsOneLineOfSingleBlankSeparatedWords) {
    const List& l = GetParam();
    const std::string text = readFile(std::string(l.name) + ".txt");
    ASSERT_EQ(text.size(), l.textSize);
    EXPECT_EQ(text.find_first_of(std::string("\t\r\n\0", 4)), std::string::npos);
    EXPECT_EQ(text.find("  "), std::string::npos);
    EXPECT_NE(text.front(), ' ');
    EXPECT_NE(text.back(), ' ');
    const std::vector<std::string> w = words(text);
    ASSERT_EQ(w.size(), l.wordCount);
    EXPECT_EQ(w.front(), l.first);
    EXPECT_EQ(w.back(), l.last);
}

TEST_P(KeywordList, ResourceIsTextPaddedWithZeroBytes) {
    const List& l = GetParam();
    const std::string text = readFile(std::string(l.name) + ".txt");
    const std::string stored = readFile(std::string(l.name) + ".kw");
    ASSERT_EQ(stored.size(), l.storedSize);
    EXPECT_EQ(stored.substr(0, text.size()), text);
    EXPECT_EQ(stored.substr(text.size()), std::string(l.storedSize - text.size(), '\0'));
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, KeywordList, ::testing::ValuesIn(kLists),
                         [](const ::testing::TestParamInfo<List>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
