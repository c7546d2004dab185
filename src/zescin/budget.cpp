// Memory that runs out on request, for tests of the component when it does.
//
// The component's own operator new (Scintilla's buffers, undo history, line
// index, layout caches: everything allocated with new inside ZESCIN.DLL)
// fails while a test's budget would be exceeded, as an allocation fails when
// the address space is used up. The budget counts the bytes of the blocks
// allocated since it was set that are still alive, so that what is freed
// (a layout drawn and dropped) comes back as it would.
//
// The blocks are malloc's own, with nothing added: a size header on every
// block cost the 32-bit program 16 bytes for each small undo step (60 MB
// for a Replace all of two million words). The sizes of the counted blocks
// are kept aside in a table instead, which exists only while a test counts;
// in normal use an allocation costs one relaxed load more, a free another.
#include "budget.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <new>
#include <unordered_map>
#include <utility>

namespace {

// The table's own memory comes from malloc: from operator new it would
// count itself.
template <typename T>
struct MallocAllocator {
    using value_type = T;
    MallocAllocator() = default;
    template <typename U>
    MallocAllocator(const MallocAllocator<U> &) noexcept {}
    T *allocate(std::size_t count) {
        if (void *block = std::malloc(count * sizeof(T)))
            return static_cast<T *>(block);
        throw std::bad_alloc();
    }
    void deallocate(T *block, std::size_t) noexcept { std::free(block); }
    template <typename U>
    bool operator==(const MallocAllocator<U> &) const noexcept {
        return true;
    }
    template <typename U>
    bool operator!=(const MallocAllocator<U> &) const noexcept {
        return false;
    }
};

using SizeTable = std::unordered_map<void *, std::size_t, std::hash<void *>, std::equal_to<void *>,
                                     MallocAllocator<std::pair<void *const, std::size_t>>>;

std::atomic<bool> Budgeted{false};
// Blocks in the table: while none is, a free looks nowhere.
std::atomic<std::size_t> CountedBlocks{0};
// Guards the table and the two counts below (layout may run on threads).
SRWLOCK Lock = SRWLOCK_INIT;
std::size_t Limit = SIZE_MAX;
// Bytes of the counted blocks alive now.
std::size_t Live = 0;

// Never destroyed: blocks may be freed while the DLL unloads. Made by the
// first block counted; when there is no memory for it, that block is refused
// and the next one tries again.
SizeTable &COUNTED() {
    static SizeTable *table = [] {
        void *room = std::malloc(sizeof(SizeTable));
        if (!room)
            throw std::bad_alloc();
        return new (room) SizeTable();
    }();
    return *table;
}

class Locked {
public:
    Locked() noexcept { AcquireSRWLockExclusive(&Lock); }
    ~Locked() { ReleaseSRWLockExclusive(&Lock); }
    Locked(const Locked &) = delete;
    Locked &operator=(const Locked &) = delete;
};

// True when the budget takes the block; false when it is spent.
bool COUNT(void *block, std::size_t size) noexcept {
    const Locked lock;
    if (size > Limit - Live)
        return false;
    try {
        COUNTED().emplace(block, size);
    } catch (...) {
        return false;
    }
    Live += size;
    CountedBlocks.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void UNCOUNT(void *block) noexcept {
    const Locked lock;
    SizeTable &table = COUNTED();
    const auto found = table.find(block);
    if (found == table.end())
        return;
    Live -= found->second;
    table.erase(found);
    CountedBlocks.fetch_sub(1, std::memory_order_relaxed);
}

void *Allocate(std::size_t size) noexcept {
    void *block = std::malloc(size ? size : 1);
    if (block && Budgeted.load(std::memory_order_relaxed) && !COUNT(block, size)) {
        std::free(block);
        return nullptr;
    }
    return block;
}

void Free(void *block) noexcept {
    if (!block)
        return;
    if (CountedBlocks.load(std::memory_order_relaxed) != 0)
        UNCOUNT(block);
    std::free(block);
}

}  // namespace

void SetAllocationBudget(std::size_t bytes) {
    const Locked lock;
    Limit = bytes && bytes <= SIZE_MAX - Live ? Live + bytes : SIZE_MAX;
    Budgeted.store(bytes != 0);
}

void *operator new(std::size_t size) {
    if (void *block = Allocate(size))
        return block;
    throw std::bad_alloc();
}

void *operator new[](std::size_t size) {
    return operator new(size);
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    return Allocate(size);
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    return Allocate(size);
}

void operator delete(void *block) noexcept {
    Free(block);
}

void operator delete[](void *block) noexcept {
    Free(block);
}

void operator delete(void *block, std::size_t) noexcept {
    Free(block);
}

void operator delete[](void *block, std::size_t) noexcept {
    Free(block);
}
