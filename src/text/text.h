// Text values and the one allocator behind them.
//
// A Text is the address of a NUL-terminated byte string in a block from
// AllocBlock, or null, which stands for the empty text. Whoever receives a
// Text from an operation owns it and frees it exactly once with FreeBlock.
// Program literals are Texts too; they lie in one static area that FreeBlock
// recognises and leaves alone.
#pragma once

#include <cstddef>
#include <initializer_list>

using Text = const char*;

// Bytes before the terminator; 0 for null.
std::size_t TextLength(Text t);

// A new block holding the pieces one after another. Never null: when every
// piece is empty the block holds only the terminator.
Text TextConcat(std::initializer_list<Text> pieces);

// -1, 0 or +1 by unsigned byte order; null equals the empty text.
int TextCompare(Text a, Text b);

// A new copy, or null when `s` is null or empty.
Text TextCopy(Text s);

// A new text of `count` bytes from `bytes` (which may hold no terminator), or
// null when `count` is 0.
Text TextFromBytes(const char* bytes, std::size_t count);

// At least `size` bytes from the process heap. Never null: an exhausted heap
// ends the process through ReportFatalError.
void* AllocBlock(std::size_t size);

// Returns a block to the heap. Null and literals are ignored.
void FreeBlock(const void* block);

// Obtains the process heap; AllocBlock also does it on first use.
void InitHeap();

// Shows the fatal-error message and ends the process with status -1 at once:
// no end routine runs and nothing is flushed.
[[noreturn]] void ReportFatalError(Text message);

// The bounds of the static literal area, for FreeBlock.
struct LiteralAreaBounds {
  const char* start;
  std::size_t size;
};
LiteralAreaBounds GetLiteralAreaBounds();

// Frees a Text at the end of a scope, for callers that prefer it to explicit
// FreeBlock calls.
class OwnedText {
 public:
  explicit OwnedText(Text t) : text_(t) {}
  ~OwnedText() { FreeBlock(text_); }
  OwnedText(const OwnedText&) = delete;
  OwnedText& operator=(const OwnedText&) = delete;
  Text get() const { return text_; }

 private:
  Text text_;
};
