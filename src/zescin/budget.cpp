// Memory that runs out on request, for tests of the component when it does.
//
// The component's own operator new (Scintilla's buffers, undo history, line
// index, layout caches: everything allocated with new inside ZESCIN.DLL)
// fails while a test's budget would be exceeded, as an allocation fails when
// the address space is used up. The budget counts the bytes of the blocks
// allocated since it was set that are still alive, so that what is freed
// (a layout drawn and dropped) comes back as it would. Each block carries a
// small header with its size; no budget is set in normal use, and then the
// cost is one relaxed load per allocation.
#include "budget.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Keeps the blocks aligned as malloc aligns them.
struct alignas(16) Header {
    std::size_t Size;
    bool Counted;
};

std::atomic<bool> Budgeted{false};
std::atomic<std::size_t> Limit{0};
// Bytes of the counted blocks alive now.
std::atomic<std::size_t> Live{0};

void *Allocate(std::size_t size) noexcept {
    bool counted = false;
    if (Budgeted.load(std::memory_order_relaxed)) {
        const std::size_t live = Live.fetch_add(size) + size;
        if (live > Limit.load()) {
            Live.fetch_sub(size);
            return nullptr;
        }
        counted = true;
    }
    void *raw = std::malloc(sizeof(Header) + size);
    if (!raw) {
        if (counted)
            Live.fetch_sub(size);
        return nullptr;
    }
    Header *header = static_cast<Header *>(raw);
    header->Size = size;
    header->Counted = counted;
    return header + 1;
}

void Free(void *block) noexcept {
    if (!block)
        return;
    Header *header = static_cast<Header *>(block) - 1;
    if (header->Counted)
        Live.fetch_sub(header->Size);
    std::free(header);
}

}  // namespace

void SetAllocationBudget(std::size_t bytes) {
    Limit.store(bytes ? Live.load() + bytes : SIZE_MAX);
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
