// Tests only: memory of the editing component that runs out on request.
#pragma once
#include <cstddef>

// From now on the component may hold bytes more in blocks it allocates; an
// allocation beyond fails with bad_alloc until the budget is set again
// (0: no budget).
void SetAllocationBudget(std::size_t bytes);
