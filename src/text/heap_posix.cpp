#include <sanitizer/asan_interface.h>

#include <bit>
#include <cstdint>
#include <cstdlib>

#include "text/heap.h"
#include "text/text.h"

// The C library's heap is the process heap here. The shell takes and gives
// back a few small blocks for every line it reads, and a malloc and free
// pair costs more than the rest of the line's work, so blocks of up to 4096
// bytes are kept on free lists by size class (16, 32, ... 4096 bytes) when
// given back and handed out again from there; larger ones go straight back
// to the C library. The lists hold no more than the most blocks that were
// ever in use at once. One thread only, like the rest of the program.
//
// Under AddressSanitizer a block on a free list with its size class, and the
// part of a block beyond the size asked for, are poisoned, so a use after
// free, a second free and an overrun are still caught. The link to the next
// free block stays readable so that the leak checker sees the blocks the
// lists hold.

namespace {

// Precedes every block. Sixteen bytes keep the block as aligned as malloc's.
struct alignas(16) BlockHeader {
  BlockHeader* next;  // the next block on its free list
  std::size_t size_class;
};
static_assert(sizeof(BlockHeader) == 16);

// Where the poisoned part of a block on a free list starts.
char* PoisonStart(BlockHeader* header) {
  return reinterpret_cast<char*>(&header->size_class);
}
constexpr std::size_t kPoisonedHeaderBytes = sizeof(BlockHeader) - sizeof(BlockHeader*);

constexpr std::size_t kSmallestClassBytes = 16;
constexpr std::size_t kClassCount = 9;            // 16 to 4096 bytes
constexpr std::size_t kLargeClass = kClassCount;  // given back to the C library at once

BlockHeader* free_lists[kClassCount] = {};

// 0 for up to 16 bytes, 1 for up to 32, ... kLargeClass past 4096; `size`
// is at least 1.
std::size_t ClassFor(std::size_t size) {
  const auto size_class =
      static_cast<std::size_t>(std::bit_width((size - 1) | (kSmallestClassBytes - 1))) - 4;
  return size_class < kClassCount ? size_class : kLargeClass;
}

// A new block from the C library, with its header.
[[gnu::noinline]] void* TakeNewBlock(std::size_t size, std::size_t size_class) {
  std::size_t capacity = size;
  if (size_class != kLargeClass) {
    capacity = kSmallestClassBytes << size_class;
  } else if (size > SIZE_MAX - sizeof(BlockHeader)) {
    return nullptr;
  }
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + capacity));
  if (header == nullptr) return nullptr;
  header->next = nullptr;
  header->size_class = size_class;
  ASAN_POISON_MEMORY_REGION(reinterpret_cast<char*>(header + 1) + size, capacity - size);
  return header + 1;
}

}  // namespace

void InitHeap() {}

void* HeapTake(std::size_t size) {
  const std::size_t size_class = ClassFor(size);
  if (size_class != kLargeClass) {
    if (BlockHeader* header = free_lists[size_class]; header != nullptr) {
      ASAN_UNPOISON_MEMORY_REGION(PoisonStart(header), kPoisonedHeaderBytes + size);
      free_lists[size_class] = header->next;
      return header + 1;
    }
  }
  return TakeNewBlock(size, size_class);
}

void HeapGiveBack(void* block) {
  BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
  const std::size_t size_class = header->size_class;
  if (size_class == kLargeClass) {
    std::free(header);
    return;
  }
  header->next = free_lists[size_class];
  free_lists[size_class] = header;
  ASAN_POISON_MEMORY_REGION(PoisonStart(header),
                            kPoisonedHeaderBytes + (kSmallestClassBytes << size_class));
}
