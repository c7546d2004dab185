// Room first, then the edit.
//
// The cause is mended in Scintilla itself (src/zescin/patches, for Scintilla
// 5.3.3 as src/zescin/SCINTILLA_VERSION records): with them every change of
// the document is whole or not at all when memory runs out, and the document
// stays editable. What this file still does is refuse a large insertion
// before Scintilla starts on it, as the tests of Replace all and of loading
// a listing expect (ZESCIN_SETRESERVATIONLIMIT): before a message that
// inserts text the glue takes the memory that message will ask for (the text
// and style buffers as SplitVector::RoomFor sizes them, room in the undo
// history for the actions the edit appends). A reservation that fails
// changes nothing; the message is then refused with SC_STATUS_BADALLOC.
//
// It reaches into members that are private to Scintilla 5.3.3
// (Document::cb, CellBuffer::substance, style, hasStyles, collectingUndo and
// uh, SplitVector::body and gapLength, UndoHistory::actions and
// currentAction): the sizes it computes follow SplitVector::RoomFor and
// UndoHistory::EnsureUndoRoom of that release. The build stops on any other
// release (cmake/scintilla-source.cmake).
#include "room.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <forward_list>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ScintillaTypes.h"
#include "ILoader.h"
#include "ILexer.h"
#include "Scintilla.h"
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

using namespace Scintilla::Internal;

namespace {

// The members these reservations need are private to Scintilla. An explicit
// instantiation may name them (access is not checked there), so each one is
// reached through a tag whose friend function hands out its member pointer.
template <typename Tag, typename Tag::Type Pointer>
struct Reach {
    friend typename Tag::Type MemberOf(Tag) { return Pointer; }
};

#define REACH(TagName, MemberType, Member)                                                                           \
    struct TagName {                                                                                                 \
        using Type = MemberType;                                                                                     \
        friend Type MemberOf(TagName);                                                                               \
    };                                                                                                               \
    template struct Reach<TagName, Member>

REACH(DocumentCells, CellBuffer Document::*, &Document::cb);
REACH(CellsText, SplitVector<char> CellBuffer::*, &CellBuffer::substance);
REACH(CellsStyle, SplitVector<char> CellBuffer::*, &CellBuffer::style);
REACH(CellsHaveStyles, bool CellBuffer::*, &CellBuffer::hasStyles);
REACH(CellsCollectUndo, bool CellBuffer::*, &CellBuffer::collectingUndo);
REACH(CellsUndo, UndoHistory CellBuffer::*, &CellBuffer::uh);
REACH(VectorBody, std::vector<char> SplitVector<char>::*, &SplitVector<char>::body);
REACH(VectorGap, ptrdiff_t SplitVector<char>::*, &SplitVector<char>::gapLength);
REACH(UndoActions, std::vector<Action> UndoHistory::*, &UndoHistory::actions);
REACH(UndoCurrent, int UndoHistory::*, &UndoHistory::currentAction);

#undef REACH

// Set by tests only: a reservation larger than this many bytes is refused
// as if the memory were not there. 0: no limit.
std::size_t ReservationLimit = 0;

template <typename T>
void Reserve(std::vector<T> &vector, std::size_t count) {
    if (count <= vector.capacity())
        return;
    if (ReservationLimit != 0 && count > ReservationLimit / sizeof(T))
        throw std::bad_alloc();
    vector.reserve(count);
}

// The capacity a buffer needs so that inserting length elements reallocates
// nothing: what RoomFor asks ReAllocate for when the gap is too small.
void ReserveInsertion(SplitVector<char> &buffer, std::size_t length) {
    std::vector<char> &body = buffer.*MemberOf(VectorBody{});
    const ptrdiff_t gap = buffer.*MemberOf(VectorGap{});
    if (gap >= 0 && static_cast<std::size_t>(gap) >= length)
        return;
    std::size_t grow = buffer.GetGrowSize();
    while (grow < body.size() / 6)
        grow *= 2;
    Reserve(body, body.size() + length + grow);
}

// SCI_ALLOCATE: a buffer of at least size elements.
void ReserveSize(SplitVector<char> &buffer, std::size_t size) {
    Reserve(buffer.*MemberOf(VectorBody{}), size);
}

// Room for this many more undo actions without the history growing:
// EnsureUndoRoom doubles the array while the current action is within two of
// its end, and a doubling inside the capacity allocates nothing.
void ReserveUndo(UndoHistory &history, std::size_t ahead) {
    std::vector<Action> &actions = history.*MemberOf(UndoActions{});
    const auto current = static_cast<std::size_t>(history.*MemberOf(UndoCurrent{}));
    std::size_t size = actions.size() < 3 ? 3 : actions.size();
    while (current + ahead + 2 >= size)
        size *= 2;
    if (size > actions.size())
        Reserve(actions, size);
}

// Undo actions one edit may append: a group's start, a removal, an insertion
// and the group's end, with room to spare.
constexpr std::size_t UNDOAHEAD = 8;

std::size_t TextLength(sptr_t text) {
    return text ? std::strlen(reinterpret_cast<const char *>(text)) : 0;
}

// What a message will insert, or false when it needs no room taken first.
bool InsertionOf(UINT message, uptr_t wParam, sptr_t lParam, std::size_t &length, bool &undo) {
    undo = true;
    switch (message) {
    case SCI_ADDTEXT:
    case SCI_APPENDTEXT:
        length = static_cast<std::size_t>(wParam);
        return true;
    case SCI_INSERTTEXT:
    case SCI_REPLACESEL:
        length = TextLength(lParam);
        return true;
    case SCI_REPLACETARGET:
    case SCI_REPLACETARGETMINIMAL:
        length = static_cast<sptr_t>(wParam) == -1 ? TextLength(lParam) : static_cast<std::size_t>(wParam);
        return true;
    case SCI_GETCHARACTERPOINTER:
        // The pointer asks for room for a terminating zero.
        length = 1;
        undo = false;
        return true;
    case WM_CHAR:
    case WM_UNICHAR:
    case WM_IME_CHAR:
        // One character in any code page, or a line end with indentation
        // copied by the editor afterwards in a message of its own.
        length = 8;
        return true;
    default:
        return false;
    }
}

}  // namespace

bool NeedsRoom(UINT message) {
    std::size_t length = 0;
    bool undo = false;
    return message == SCI_ALLOCATE || InsertionOf(message, 0, 0, length, undo);
}

bool MakeRoom(void *document, UINT message, uptr_t wParam, sptr_t lParam) {
    std::size_t length = 0;
    bool undo = true;
    const bool allocate = message == SCI_ALLOCATE;
    if (!allocate && !InsertionOf(message, wParam, lParam, length, undo))
        return true;
    if (!document)
        return true;
    CellBuffer &cells = static_cast<Document *>(document)->*MemberOf(DocumentCells{});
    try {
        SplitVector<char> &text = cells.*MemberOf(CellsText{});
        SplitVector<char> &style = cells.*MemberOf(CellsStyle{});
        const bool styles = cells.*MemberOf(CellsHaveStyles{});
        if (allocate) {
            ReserveSize(text, static_cast<std::size_t>(wParam));
            if (styles)
                ReserveSize(style, static_cast<std::size_t>(wParam));
            return true;
        }
        ReserveInsertion(text, length);
        if (styles)
            ReserveInsertion(style, length);
        if (undo && cells.*MemberOf(CellsCollectUndo{}))
            ReserveUndo(cells.*MemberOf(CellsUndo{}), UNDOAHEAD);
        return true;
    } catch (const std::bad_alloc &) {
    } catch (const std::length_error &) {
    }
    return false;
}

void SetReservationLimit(std::size_t bytes) {
    ReservationLimit = bytes;
}
