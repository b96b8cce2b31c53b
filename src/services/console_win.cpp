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

namespace {

// Standard input one byte at a time. The C runtime's text mode has already
// turned CR LF into LF.
struct StandardInputBytes {
  static constexpr bool kBytesStay = false;  // the one byte lives here

  char byte = 0;
  bool held = false;

  std::size_t Buffered(const char** bytes) {
    if (!held) {
      const int next = _getc_nolock(stdin);
      if (next == EOF) return 0;
      byte = static_cast<char>(next);
      held = true;
    }
    *bytes = &byte;
    return 1;
  }
  void Consume(std::size_t count) {
    if (count != 0) held = false;
  }
};

}  // namespace

bool ReadStandardInputLine(char* buffer, const char** line, std::size_t* count) {
  StandardInputBytes input;
  return ReadBoundedLine(input, buffer, kMaxLineBytes, line, count);
}

void PauseFor(int milliseconds) {
  Sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds));
}
