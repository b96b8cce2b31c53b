// AllocBlock and FreeBlock as the heap behind every text: blocks of every
// size are whole, aligned and apart, whether new or given back and handed
// out again, and misuse is still caught where the build can catch it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform_facts.h"
#include "text/text.h"

namespace {

// Sizes on both sides of every boundary a heap might keep blocks by.
const std::size_t kSizes[] = {1,    2,    15,   16,   17,   31,   32,   33,   63,   64,   65,
                              127,  128,  129,  255,  256,  257,  511,  512,  513,  1023, 1024,
                              1025, 2047, 2048, 2049, 4095, 4096, 4097, 8192, 65536};

struct Taken {
  unsigned char* block;
  std::size_t size;
  unsigned char fill;
};

// Takes a block of every size, fills each whole with its own byte, then
// checks that no block was written over by another.
std::vector<Taken> TakeAndFillEverySize() {
  std::vector<Taken> taken;
  unsigned char fill = 1;
  for (std::size_t size : kSizes) {
    auto* block = static_cast<unsigned char*>(AllocBlock(size));
    std::memset(block, fill, size);
    taken.push_back({block, size, fill++});
  }
  for (const Taken& t : taken) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(t.block) % alignof(std::max_align_t), 0u) << t.size;
    for (std::size_t i = 0; i < t.size; ++i) {
      if (t.block[i] != t.fill) {
        ADD_FAILURE() << "block of " << t.size << " bytes overwritten at " << i;
        break;
      }
    }
  }
  return taken;
}

TEST(Heap, BlocksOfEverySizeAreWholeAlignedAndApartNewOrHandedOutAgain) {
  for (int round = 0; round < 3; ++round) {
    std::vector<Taken> taken = TakeAndFillEverySize();
    // Given back in another order than taken, so that the next round gets
    // them back shuffled.
    for (std::size_t i = 0; i < taken.size(); i += 2) FreeBlock(taken[i].block);
    for (std::size_t i = 1; i < taken.size(); i += 2) FreeBlock(taken[i].block);
  }
}

TEST(Heap, ManyBlocksAliveAtOnceAreAllApart) {
  // Enough blocks of one size to empty whatever a heap keeps for reuse,
  // given back and taken again with more.
  std::vector<void*> blocks;
  for (int i = 0; i < 200; ++i) blocks.push_back(AllocBlock(24));
  for (void* block : blocks) FreeBlock(block);
  blocks.clear();
  for (int i = 0; i < 300; ++i) {
    void* block = AllocBlock(24);
    std::memset(block, 0, 24);
    std::memcpy(block, &i, sizeof i);
    blocks.push_back(block);
  }
  for (int i = 0; i < 300; ++i) {
    int stored = -1;
    std::memcpy(&stored, blocks[i], sizeof stored);
    EXPECT_EQ(stored, i);
    FreeBlock(blocks[i]);
  }
}

TEST(HeapDeathTest, ASizeTooLargeForAnyBlockIsFatalNotWrappedAround) {
  // Whatever a heap adds to a request for its own bookkeeping must not wrap
  // the size around to a small block.
  for (std::size_t size : {SIZE_MAX, SIZE_MAX - 8, SIZE_MAX - 16}) {
    EXPECT_EXIT(AllocBlock(size), ::testing::ExitedWithCode(HostShellFacts().fatal_exit_status), "")
        << size;
  }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

struct MisuseCase {
  const char* name;
  void (*misuse)();
};

TEST(HeapDeathTest, MisuseOfABlockIsCaughtUnderAddressSanitizer) {
  if (!kAddressSanitizer) GTEST_SKIP() << "only AddressSanitizer catches these";
  const MisuseCase cases[] = {
      {"use after free",
       [] {
         auto* block = static_cast<volatile char*>(AllocBlock(24));
         FreeBlock(const_cast<char*>(block));
         block[0] = 'x';
       }},
      {"second free",
       [] {
         void* block = AllocBlock(24);
         FreeBlock(block);
         FreeBlock(block);
       }},
      {"write past the size asked for",
       [] {
         auto* block = static_cast<volatile char*>(AllocBlock(24));
         block[24] = 'x';
       }},
      {"write past a block handed out again",
       [] {
         FreeBlock(AllocBlock(30));
         auto* block = static_cast<volatile char*>(AllocBlock(20));
         block[20] = 'x';
       }},
  };
  for (const MisuseCase& c : cases) {
    EXPECT_DEATH(c.misuse(), "AddressSanitizer") << c.name;
  }
}

}  // namespace
