#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>

#include <poll.h>
#include <stdio_ext.h>
#include <unistd.h>

#include "services/line_reader.h"
#include "services/services.h"

void PrepareStandardStreams() {
  // A reader that has gone away must not end the shell: the write fails
  // quietly instead, as it does on Windows.
  std::signal(SIGPIPE, SIG_IGN);
  static constexpr std::size_t kBlockBytes = 4096;
  if (isatty(STDOUT_FILENO)) {
    std::setvbuf(stdout, nullptr, _IOLBF, kBlockBytes);
  } else {
    std::setvbuf(stdout, nullptr, _IOFBF, kBlockBytes);
  }
}

void WriteOutput(std::initializer_list<Text> texts) {
  WriteOutput(1, texts);
}

void WriteOutput(int stream, std::initializer_list<Text> texts) {
  FILE* file = stream == 2 ? stderr : stdout;
  for (Text text : texts) {
    const std::size_t length = TextLength(text);
    if (length != 0) fwrite_unlocked(text, 1, length, file);
  }
  // A terminal's stream is line-buffered; a prompt has no line feed, so it
  // is pushed out here before the shell waits for input.
  if (__flbf(file)) std::fflush(file);
}

bool IsOutputInteractive() {
  return isatty(STDOUT_FILENO) != 0;
}

namespace {

// The next byte of standard input, or EOF at its end or on an error. Whoever
// shares the input may have left it non-blocking: "no byte yet" then means
// waiting for one, never the end of the input or of a line.
int NextInputByte() {
  while (true) {
    const int next = getc_unlocked(stdin);
    if (next != EOF || !ferror_unlocked(stdin)) return next;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return EOF;
    clearerr_unlocked(stdin);
    pollfd input = {STDIN_FILENO, POLLIN, 0};
    poll(&input, 1, -1);
  }
}

}  // namespace

bool ReadStandardInputLine(char* buffer, std::size_t* count) {
  return ReadBoundedLine(NextInputByte, buffer, kMaxLineBytes, count);
}

void PauseFor(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec remaining = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0) {
  }
}
