// Scintilla's own Document and CellBuffer, with the recorded patches, when
// memory runs out in the middle of a change. The global allocator of this
// program fails on request: every allocation from the Nth on throws
// std::bad_alloc. Each text-changing operation runs once to count its
// allocations, then once for every N up to that count; after each run the
// buffer must be sound (length, line index, styles), hold either the text
// before or the text after the operation, and take the next change that fits.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <forward_list>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ScintillaTypes.h"
#include "ILoader.h"
#include "ILexer.h"
#include "Debugging.h"
#include "CharacterCategoryMap.h"
#include "Position.h"
#include "SplitVector.h"
#include "Partitioning.h"
#include "RunStyles.h"
#include "CellBuffer.h"
#include "PerLine.h"
#include "CharClassify.h"
#include "Decoration.h"
#include "CaseFolder.h"
#include "Document.h"

using namespace Scintilla;
using namespace Scintilla::Internal;

namespace {

// The allocator's switch: while armed, allocations are counted and every one
// from number failFrom on fails (0: none fails, only counting).
bool armed = false;
long allocations = 0;
long failFrom = 0;

void Arm(long from) {
    allocations = 0;
    failFrom = from;
    armed = true;
}

long Disarm() {
    armed = false;
    return allocations;
}

}  // namespace

void *operator new(std::size_t size) {
    if (armed) {
        ++allocations;
        if (failFrom > 0 && allocations >= failFrom)
            throw std::bad_alloc();
    }
    if (void *block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) {
    return operator new(size);
}
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void *block) noexcept {
    std::free(block);
}
void operator delete[](void *block) noexcept {
    std::free(block);
}
void operator delete(void *block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void *block, std::size_t) noexcept {
    std::free(block);
}

// Scintilla's platform layer is not compiled here: its two debugging hooks.
namespace Scintilla::Internal::Platform {
void DebugPrintf(const char *, ...) noexcept {}
void Assert(const char *condition, const char *file, int line) noexcept {
    std::fprintf(stderr, "Scintilla assertion %s at %s:%d\n", condition, file, line);
    std::abort();
}
}  // namespace Scintilla::Internal::Platform

namespace {

std::string TextOf(const Document &doc) {
    std::string text(static_cast<std::size_t>(doc.Length()), '\0');
    doc.GetCharRange(text.data(), 0, doc.Length());
    return text;
}

// Line starts as the text itself gives them: after CR LF, a CR alone or a LF.
std::vector<Sci::Position> LineStartsOf(std::string_view text) {
    std::vector<Sci::Position> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\r' || text[i] == '\n')
            starts.push_back(static_cast<Sci::Position>(i + 1));
    }
    return starts;
}

// The buffer agrees with itself: its length with the text read back, its
// line index with the line ends in that text, its styles with its length.
void ExpectSound(const Document &doc, const std::string &where) {
    const std::string text = TextOf(doc);
    ASSERT_EQ(static_cast<Sci::Position>(text.size()), doc.Length()) << where;
    const std::vector<Sci::Position> starts = LineStartsOf(text);
    ASSERT_EQ(static_cast<Sci::Line>(starts.size()), doc.LinesTotal()) << where;
    for (std::size_t line = 0; line < starts.size(); ++line)
        ASSERT_EQ(starts[line], doc.LineStart(static_cast<Sci::Line>(line))) << where << ", line " << line;
    ASSERT_EQ(doc.Length(), doc.LineStart(doc.LinesTotal())) << where;
    std::string styles(text.size(), '\x7f');
    doc.GetStyleRange(reinterpret_cast<unsigned char *>(styles.data()), 0, doc.Length());
    ASSERT_EQ(std::string(text.size(), '\0'), styles) << where << ": the styles are not as long as the text";
}

std::string ManyLines(int lines, std::string_view end) {
    std::string text;
    for (int line = 0; line < lines; ++line)
        text += "Line " + std::to_string(line) + std::string(end);
    return text;
}

struct Case {
    const char *name;
    std::string text;       // the document before anything happens
    bool collectUndo;
    std::function<void(Document &)> prepare;  // edits before the operation (memory is there)
    std::function<void(Document &)> operation;
    // A replacement is two changes of the document in one undo group (a
    // deletion, then an insertion). With the undo history collected, a group
    // that memory ran out in is undone: whole or not at all. Without it, the
    // insertion may be refused after the deletion was made.
    enum class Parts { one, replacement } parts = Parts::one;
};

// Test names and failures show the case by its name.
void PrintTo(const Case &test, std::ostream *out) {
    *out << test.name << (test.collectUndo ? ", undo collected" : ", no undo");
}

std::unique_ptr<Document> Prepared(const Case &test) {
    auto doc = std::make_unique<Document>(DocumentOption::Default);
    doc->SetUndoCollection(false);
    doc->InsertString(0, test.text.data(), static_cast<Sci::Position>(test.text.size()));
    doc->SetUndoCollection(test.collectUndo);
    doc->SetSavePoint();
    if (test.prepare)
        test.prepare(*doc);
    return doc;
}

void Insert(Document &doc, Sci::Position position, std::string_view text) {
    doc.InsertString(position, text.data(), static_cast<Sci::Position>(text.size()));
}

void Replace(Document &doc, Sci::Position position, Sci::Position length, std::string_view text) {
    UndoGroup group(&doc);
    doc.DeleteChars(position, length);
    Insert(doc, position, text);
}

const std::string SHORTLINES = ManyLines(400, "\r\n");
const std::string LFLINES = ManyLines(400, "\n");
const std::string LARGE = ManyLines(40000, "\r\n");

// Fold levels, line states and markers on every line, as a coloured listing
// has them: each change of lines changes these vectors too.
void LineData(Document &doc) {
    for (Sci::Line line = 0; line < doc.LinesTotal(); ++line) {
        doc.SetLevel(line, 0x400 + static_cast<int>(line % 3));
        doc.SetLineState(line, static_cast<int>(line));
        doc.AddMark(line, static_cast<int>(line % 4));
    }
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (bool undo : {true, false}) {
        cases.push_back({"split a CR LF pair with a word, line data kept", SHORTLINES, undo, LineData,
                         [](Document &doc) { Insert(doc, 7, "word"); }});
        cases.push_back({"insert a word into a line, line data kept", SHORTLINES, undo, LineData,
                         [](Document &doc) { Insert(doc, 100, "word"); }});
        cases.push_back({"insert CR LF pairs, line data kept", SHORTLINES, undo, LineData,
                         [](Document &doc) { Insert(doc, 100, ManyLines(50, "\r\n")); }});
        cases.push_back({"insert a word", SHORTLINES, undo, nullptr, [](Document &doc) { Insert(doc, 100, "word"); }});
        cases.push_back({"insert into an empty document", "", undo, nullptr,
                         [](Document &doc) { Insert(doc, 0, "first\r\nsecond"); }});
        cases.push_back({"insert many short lines", SHORTLINES, undo, nullptr,
                         [](Document &doc) { Insert(doc, 7, ManyLines(300, "\r\n")); }});
        cases.push_back({"insert many lines into a large text", LARGE, undo, nullptr,
                         [](Document &doc) { Insert(doc, doc.Length() / 2, ManyLines(5000, "\n")); }});
        cases.push_back({"insert a large text into a small one", "a\r\nb", undo, nullptr,
                         [](Document &doc) { Insert(doc, 1, LARGE); }});
        cases.push_back({"insert a line end between CR and LF", SHORTLINES, undo, nullptr,
                         [](Document &doc) { Insert(doc, 7, "\n\r"); }});
        cases.push_back({"insert CR before a LF", LFLINES, undo, nullptr,
                         [](Document &doc) { Insert(doc, 6, "x\r"); }});
        cases.push_back({"type a key after typing", SHORTLINES, undo,
                         [](Document &doc) { Insert(doc, 10, "ab"); },
                         [](Document &doc) { Insert(doc, 12, "c"); }});
        cases.push_back({"delete a character", SHORTLINES, undo, nullptr, [](Document &doc) { doc.DeleteChars(3, 1); }});
        cases.push_back({"delete a CR of CR LF", SHORTLINES, undo, nullptr, [](Document &doc) { doc.DeleteChars(6, 1); }});
        cases.push_back({"delete many lines", SHORTLINES, undo, nullptr,
                         [](Document &doc) { doc.DeleteChars(5, doc.Length() - 20); }});
        cases.push_back({"delete everything", LARGE, undo, nullptr,
                         [](Document &doc) { doc.DeleteChars(0, doc.Length()); }});
        cases.push_back({"replace many lines by a word", SHORTLINES, undo, nullptr,
                         [](Document &doc) { Replace(doc, 10, 2000, "word"); }, Case::Parts::replacement});
        cases.push_back({"replace a word by many lines", SHORTLINES, undo, nullptr,
                         [](Document &doc) { Replace(doc, 10, 4, ManyLines(300, "\n")); }, Case::Parts::replacement});
    }
    // Undo and redo need the history.
    cases.push_back({"undo an insertion", SHORTLINES, true,
                     [](Document &doc) { Insert(doc, 50, ManyLines(200, "\r\n")); },
                     [](Document &doc) { doc.Undo(); }});
    cases.push_back({"undo a deletion of many lines", SHORTLINES, true,
                     [](Document &doc) { doc.DeleteChars(20, 3000); },
                     [](Document &doc) { doc.Undo(); }});
    cases.push_back({"undo a deletion of everything", LARGE, true,
                     [](Document &doc) { doc.DeleteChars(0, doc.Length()); },
                     [](Document &doc) { doc.Undo(); }});
    cases.push_back({"undo a group of changes", SHORTLINES, true,
                     [](Document &doc) {
                         UndoGroup group(&doc);
                         doc.DeleteChars(20, 500);
                         Insert(doc, 20, ManyLines(100, "\n"));
                         doc.DeleteChars(1000, 700);
                         Insert(doc, 0, "top\r\n");
                     },
                     [](Document &doc) { doc.Undo(); }});
    // Emptying the text frees its memory: undoing the group needs memory at
    // two steps, and failing at the second must not leave the first made.
    const auto emptyTwice = [](Document &doc) {
        UndoGroup group(&doc);
        doc.DeleteChars(0, doc.Length());
        Insert(doc, 0, ManyLines(300, "\n"));
        doc.DeleteChars(0, doc.Length());
        Insert(doc, 0, "short");
    };
    cases.push_back({"undo a group that emptied the text twice", SHORTLINES, true, emptyTwice,
                     [](Document &doc) { doc.Undo(); }});
    cases.push_back({"redo a group that emptied the text twice", SHORTLINES, true,
                     [emptyTwice](Document &doc) {
                         emptyTwice(doc);
                         doc.Undo();
                     },
                     [](Document &doc) { doc.Redo(); }});
    cases.push_back({"redo an insertion", SHORTLINES, true,
                     [](Document &doc) {
                         Insert(doc, 50, ManyLines(200, "\r\n"));
                         doc.Undo();
                     },
                     [](Document &doc) { doc.Redo(); }});
    cases.push_back({"redo a deletion", SHORTLINES, true,
                     [](Document &doc) {
                         doc.DeleteChars(20, 3000);
                         doc.Undo();
                     },
                     [](Document &doc) { doc.Redo(); }});
    cases.push_back({"redo a group of changes", SHORTLINES, true,
                     [](Document &doc) {
                         {
                             UndoGroup group(&doc);
                             doc.DeleteChars(20, 500);
                             Insert(doc, 20, ManyLines(100, "\n"));
                             Insert(doc, 0, "top\r\n");
                         }
                         doc.Undo();
                     },
                     [](Document &doc) { doc.Redo(); }});
    return cases;
}

class OutOfMemory : public testing::TestWithParam<Case> {};

TEST_P(OutOfMemory, EachAllocationFailingLeavesTheTextBeforeOrAfterAndEditable) {
    const Case &test = GetParam();
    std::string before;
    std::string after;
    long needed = 0;
    {
        auto doc = Prepared(test);
        before = TextOf(*doc);
        Arm(0);
        test.operation(*doc);
        needed = Disarm();
        after = TextOf(*doc);
        ExpectSound(*doc, "without a failure");
    }
    ASSERT_NE(before, after) << "the operation changes nothing";
    // An operation that finds its memory already there (a deletion without
    // undo, a redo into the room its undo left) has nothing that can fail.
    if (needed == 0)
        std::printf("%s: allocates nothing\n", test.name);
    for (long failing = 1; failing <= needed; ++failing) {
        const std::string where = std::string(test.name) + ", allocations fail from number " +
                                  std::to_string(failing) + " of " + std::to_string(needed);
        auto doc = Prepared(test);
        bool refused = false;
        Arm(failing);
        try {
            test.operation(*doc);
        } catch (const std::bad_alloc &) {
            refused = true;
        }
        Disarm();
        ASSERT_NO_FATAL_FAILURE(ExpectSound(*doc, where));
        const std::string now = TextOf(*doc);
        const bool between = refused && now != before && now != after;
        if (!(between && test.parts == Case::Parts::replacement && !test.collectUndo)) {
            ASSERT_TRUE(now == before || now == after) << where << (refused ? " (refused)" : "")
                                                        << ": the text is neither as before nor as after";
        }
        // The document still takes a change that fits, and gives it back.
        ASSERT_EQ(6, doc->InsertString(0, "fits\r\n", 6)) << where << ": the document refuses changes";
        ASSERT_EQ("fits\r\n" + now, TextOf(*doc)) << where;
        ASSERT_NO_FATAL_FAILURE(ExpectSound(*doc, where + ", then an insertion"));
        if (test.collectUndo) {
            doc->Undo();
            ASSERT_EQ(now, TextOf(*doc)) << where << ": undo of the insertion";
            ASSERT_NO_FATAL_FAILURE(ExpectSound(*doc, where + ", then its undo"));
        }
    }
}

std::string CaseName(const testing::TestParamInfo<Case> &info) {
    std::string name;
    for (const char *c = info.param.name; *c; ++c)
        name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name + (info.param.collectUndo ? "_undo" : "_noundo");
}

INSTANTIATE_TEST_SUITE_P(Operations, OutOfMemory, testing::ValuesIn(Cases()), CaseName);

// A growing buffer whose allocation fails is unchanged: its length, its
// contents and the next insertion, which must land where it belongs.
TEST(SplitVectorOutOfMemory, AFailedGrowthChangesNothing) {
    for (std::size_t insertion : {1u, 7u, 64u, 100000u}) {
        SplitVector<char> vector;
        const std::string start = "0123456789";
        vector.InsertFromArray(0, start.data(), 0, static_cast<ptrdiff_t>(start.size()));
        const std::string big(insertion + 100, 'x');
        Arm(1);
        EXPECT_THROW(vector.InsertFromArray(5, big.data(), 0, static_cast<ptrdiff_t>(big.size())), std::bad_alloc);
        Disarm();
        ASSERT_EQ(10, vector.Length());
        std::string back(10, '\0');
        vector.GetRange(back.data(), 0, 10);
        EXPECT_EQ(start, back);
        const std::string fits(insertion, 'y');
        vector.InsertFromArray(10, fits.data(), 0, static_cast<ptrdiff_t>(fits.size()));
        back.assign(10 + insertion, '\0');
        vector.GetRange(back.data(), 0, static_cast<ptrdiff_t>(back.size()));
        EXPECT_EQ(start + fits, back);
    }
}

// The group's end must not allocate: UndoGroup's destructor calls it, and a
// throw there ends the process.
TEST(UndoGroupOutOfMemory, EndingAGroupNeedsNoMemory) {
    for (int actions = 1; actions < 40; ++actions) {
        Document doc(DocumentOption::Default);
        doc.BeginUndoAction();
        for (int action = 0; action < actions; ++action)
            Insert(doc, 0, action % 2 ? "a" : "\n");
        // Some of these counts leave the history full up to its last two
        // actions, where an end that allocates would grow it.
        Arm(1);
        EXPECT_NO_THROW(doc.EndUndoAction()) << actions << " actions";
        Disarm();
        doc.Undo();
        EXPECT_EQ(0, doc.Length()) << actions << " actions: the group is not undone whole";
    }
}

}  // namespace
