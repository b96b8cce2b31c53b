#include "services/services.h"

#include <cstring>

ProgramLocation program_location = {nullptr, nullptr};

void SetProgramLocation(const char* path, std::size_t length, char separator, bool gb_double_byte) {
  const std::size_t split = FindLastSeparator(path, length, separator, gb_double_byte);
  if (split == kNoSeparator) {
    program_location = {nullptr, TextFromBytes(path, length)};
  } else {
    program_location = {TextFromBytes(path, split),
                        TextFromBytes(path + split + 1, length - split - 1)};
  }
}

void ReleaseProgramLocation() {
  FreeBlock(program_location.directory);
  FreeBlock(program_location.file_name);
  program_location = {nullptr, nullptr};
}

Text GetProgramDirectory() {
  return TextCopy(program_location.directory);
}

Text ReadInputLine(bool* ended) {
  char buffer[kMaxLineBytes];
  const char* bytes = buffer;
  std::size_t count = 0;
  *ended = !ReadStandardInputLine(buffer, &bytes, &count);
  count = TrimmedLength(bytes, count);
  Text line = TextFromBytes(bytes, count);
  // A NUL inside the line shows as a text shorter than the line; the copy
  // gets the stand-in in its place.
  if (TextLength(line) != count) {
    char* text = const_cast<char*>(line);
    for (char* nul = static_cast<char*>(std::memchr(text, '\0', count)); nul != nullptr;
         nul = static_cast<char*>(std::memchr(nul, '\0', count - (nul - text)))) {
      *nul = kEmbeddedNulStandIn;
    }
  }
  return line;
}
