// The bounded line read shared by the platforms' standard-input readers.
#pragma once

#include <cstddef>
#include <cstdio>

// Reads bytes from `next_byte` (which returns EOF at the end of input or on
// an error) up to and including the first line feed, keeping at most
// `capacity` of them in `buffer`. The rest of a longer line is read and
// discarded up to its line feed, so no tail of a long line is ever taken for
// a line of its own. Returns false when not a single next could be read.
template <class NextByte>
bool ReadBoundedLine(NextByte next_byte, char* buffer, std::size_t capacity, std::size_t* count) {
  std::size_t kept = 0;
  int next = EOF;
  while (kept < capacity) {
    next = next_byte();
    if (next == EOF) {
      *count = kept;
      return kept != 0;
    }
    buffer[kept++] = static_cast<char>(next);
    if (next == '\n') {
      *count = kept;
      return true;
    }
  }
  do {
    next = next_byte();
  } while (next != EOF && next != '\n');
  *count = kept;
  return true;
}
