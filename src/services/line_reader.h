// The bounded line read shared by the platforms' standard-input readers.
#pragma once

#include <cstddef>
#include <cstring>

// Reads bytes from `source` up to and including the first line feed and sets
// `*line` and `*count` to at most `capacity` of them. The rest of a longer
// line is read and discarded up to its line feed, so no tail of a long line
// is ever taken for a line of its own. Returns false when not a single byte
// could be read.
//
// `source` hands out input a run of buffered bytes at a time, so that a line
// is found and copied whole rather than byte by byte:
//   std::size_t Buffered(const char** bytes): the bytes buffered now,
//     refilling first when none are; 0 at the end of input or on an error.
//   void Consume(std::size_t count): drops the first `count` of them.
//   static constexpr bool kBytesStay: true when consumed bytes stay where
//     they are until the next Buffered call.
// A line that lies whole in one run of a source whose bytes stay is handed
// out where it lies; any other line is copied into `buffer`, which has room
// for `capacity` bytes.
template <class ByteSource>
bool ReadBoundedLine(ByteSource& source, char* buffer, std::size_t capacity, const char** line,
                     std::size_t* count) {
  std::size_t kept = 0;
  bool read_any = false;
  *line = buffer;
  while (true) {
    const char* bytes = nullptr;
    const std::size_t available = source.Buffered(&bytes);
    if (available == 0) break;
    const auto* line_feed = static_cast<const char*>(std::memchr(bytes, '\n', available));
    const std::size_t line_part =
        line_feed == nullptr ? available : static_cast<std::size_t>(line_feed - bytes) + 1;
    if constexpr (ByteSource::kBytesStay) {
      if (!read_any && line_feed != nullptr && line_part <= capacity) {
        source.Consume(line_part);
        *line = bytes;
        *count = line_part;
        return true;
      }
    }
    read_any = true;
    const std::size_t room = capacity - kept;
    const std::size_t keep = line_part < room ? line_part : room;
    if (keep != 0) std::memcpy(buffer + kept, bytes, keep);
    kept += keep;
    source.Consume(line_part);
    if (line_feed != nullptr) break;
  }
  *count = kept;
  return read_any;
}
