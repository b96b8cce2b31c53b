#include <windows.h>

#include "text/heap.h"
#include "text/text.h"

namespace {
HANDLE process_heap = nullptr;
}

void InitHeap() {
  process_heap = GetProcessHeap();
}

void* HeapTake(std::size_t size) {
  if (process_heap == nullptr) InitHeap();
  return HeapAlloc(process_heap, 0, size);
}

void HeapGiveBack(void* block) {
  HeapFree(process_heap, 0, block);
}
