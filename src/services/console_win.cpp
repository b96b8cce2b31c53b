#include <windows.h>

#include <cstdio>

#include <io.h>

#include "services/line_reader.h"
#include "services/services.h"

namespace {
bool IsTerminal(FILE* file) {
  return _isatty(_fileno(file)) != 0;
}
}  // namespace

void PrepareStandardStreams() {
  if (!IsTerminal(stdout)) std::setvbuf(stdout, nullptr, _IOFBF, 4096);
}

void WriteOutput(std::initializer_list<Text> texts) {
  WriteOutput(1, texts);
}

void WriteOutput(int stream, std::initializer_list<Text> texts) {
  FILE* file = stream == 2 ? stderr : stdout;
  for (Text text : texts) {
    const std::size_t length = TextLength(text);
    if (length != 0) std::fwrite(text, 1, length, file);
  }
  if (IsTerminal(file)) std::fflush(file);
}

bool IsOutputInteractive() {
  return IsTerminal(stdout);
}

bool ReadStandardInputLine(char* buffer, std::size_t* count) {
  // The C runtime's text mode has already turned CR LF into LF.
  return ReadBoundedLine([] { return _getc_nolock(stdin); }, buffer, kMaxLineBytes, count);
}

void PauseFor(int milliseconds) {
  Sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds));
}
