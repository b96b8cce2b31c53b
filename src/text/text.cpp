#include "text/text.h"

#include <cstdint>
#include <cstring>

#include "text/encoding.h"
#include "text/heap.h"

std::size_t TextLength(Text t) {
  return t == nullptr ? 0 : std::strlen(t);
}

Text TextConcat(std::initializer_list<Text> pieces) {
  // Each piece is measured once; the lengths of the first few are kept for
  // the copy, the rest measured again.
  constexpr std::size_t kKeptLengths = 4;
  std::size_t lengths[kKeptLengths];
  std::size_t total = 1;
  std::size_t index = 0;
  for (Text piece : pieces) {
    const std::size_t length = TextLength(piece);
    if (index < kKeptLengths) lengths[index] = length;
    ++index;
    total += length;
  }
  char* block = static_cast<char*>(AllocBlock(total));
  char* end = block;
  index = 0;
  for (Text piece : pieces) {
    const std::size_t length = index < kKeptLengths ? lengths[index] : TextLength(piece);
    ++index;
    if (length != 0) std::memcpy(end, piece, length);
    end += length;
  }
  *end = '\0';
  return block;
}

int TextCompare(Text a, Text b) {
  if (a == nullptr) return (b == nullptr || *b == '\0') ? 0 : -1;
  if (b == nullptr) return *a == '\0' ? 0 : 1;
  // Most lines differ from a command in their first byte.
  if (*a != *b) return static_cast<unsigned char>(*a) < static_cast<unsigned char>(*b) ? -1 : 1;
  const int order = std::strcmp(a, b);
  return (order > 0) - (order < 0);
}

Text TextFromBytes(const char* bytes, std::size_t count) {
  if (count == 0) return nullptr;
  char* block = static_cast<char*>(AllocBlock(count + 1));
  std::memcpy(block, bytes, count);
  block[count] = '\0';
  return block;
}

Text TextCopy(Text s) {
  return TextFromBytes(s, TextLength(s));
}

void* AllocBlock(std::size_t size) {
  // A zero-byte request still gets a block of its own, so that every result
  // can be told apart and freed.
  void* block = HeapTake(size == 0 ? 1 : size);
  if (block == nullptr) {
    char message[128];
    FormatAllocationFailure(DetectLiteralForm(), size, message, sizeof message);
    ReportFatalError(message);
  }
  return block;
}

void FreeBlock(const void* block) {
  if (block == nullptr) return;
  const LiteralAreaBounds area = GetLiteralAreaBounds();
  // Below the start the difference wraps around to a large number.
  const auto offset =
      reinterpret_cast<std::uintptr_t>(block) - reinterpret_cast<std::uintptr_t>(area.start);
  if (offset < area.size) return;
  HeapGiveBack(const_cast<void*>(block));
}
