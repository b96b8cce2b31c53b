#include "services/services.h"

#include <cstring>

ProgramLocation program_location = {nullptr, nullptr};

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
