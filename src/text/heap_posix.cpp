#include <cstdlib>

#include "text/heap.h"
#include "text/text.h"

// The C library's heap is the process heap here; there is nothing to obtain.
void InitHeap() {}

void* HeapTake(std::size_t size) {
  return std::malloc(size);
}

void HeapGiveBack(void* block) {
  std::free(block);
}
