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

Text GetProgramDirectory() {
  return TextCopy(program_location.directory);
}

Text ReadInputLine(bool* ended) {
  char buffer[kMaxLineBytes + 1];
  std::size_t count = 0;
  *ended = !ReadStandardInputLine(buffer, &count);
  count = TrimmedLength(buffer, count);
  for (char* nul = static_cast<char*>(std::memchr(buffer, '\0', count)); nul != nullptr;
       nul = static_cast<char*>(std::memchr(nul, '\0', count - (nul - buffer)))) {
    *nul = kEmbeddedNulStandIn;
  }
  return TextFromBytes(buffer, count);
}
