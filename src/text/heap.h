// The platform's process heap, as the allocator sees it.
#pragma once

#include <cstddef>

// A block of `size` bytes (size > 0), or null when the heap cannot supply it.
void* HeapTake(std::size_t size);

// Returns a block obtained from HeapTake.
void HeapGiveBack(void* block);
