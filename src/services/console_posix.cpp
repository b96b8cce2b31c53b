#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
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
    if (length == 0) continue;
    // A text that fits in the room left in standard output's buffer is put
    // there directly, through the write pointers putc_unlocked uses; the
    // stream keeps no such room when it is not fully buffered. The rest takes
    // fwrite's way, which writes out full 4096-byte blocks.
    const auto room = static_cast<std::size_t>(file->_IO_write_end - file->_IO_write_ptr);
    if (file == stdout && room >= length) {
      std::memcpy(file->_IO_write_ptr, text, length);
      file->_IO_write_ptr += length;
    } else {
      fwrite_unlocked(text, 1, length, file);
    }
  }
  // A terminal's stream is line-buffered; a prompt has no line feed, so it
  // is pushed out here before the shell waits for input.
  if (__flbf(file)) std::fflush(file);
}

bool IsOutputInteractive() {
  return isatty(STDOUT_FILENO) != 0;
}

namespace {

// The bytes standard input's buffer holds, read in place through the same
// read pointers getc_unlocked uses. Bytes already read stay in the buffer
// until it is refilled.
struct StandardInputBuffer {
  static constexpr bool kBytesStay = true;

  std::size_t Buffered(const char** bytes) {
    while (stdin->_IO_read_ptr >= stdin->_IO_read_end) {
      // Refills the buffer and hands out its first byte, which stays in the
      // buffer: stepping back puts it in front of the rest again.
      if (__uflow(stdin) != EOF) {
        --stdin->_IO_read_ptr;
        break;
      }
      if (!AwaitInputAfterFailedRead()) return 0;
    }
    *bytes = stdin->_IO_read_ptr;
    return static_cast<std::size_t>(stdin->_IO_read_end - stdin->_IO_read_ptr);
  }
  void Consume(std::size_t count) { stdin->_IO_read_ptr += count; }

  // Whoever shares the input may have left it non-blocking: "no byte yet"
  // then means waiting for one, never the end of the input or of a line.
  // True when the read is worth trying again.
  static bool AwaitInputAfterFailedRead() {
    if (!ferror_unlocked(stdin)) return false;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    clearerr_unlocked(stdin);
    pollfd input = {STDIN_FILENO, POLLIN, 0};
    poll(&input, 1, -1);
    return true;
  }
};

}  // namespace

bool ReadStandardInputLine(char* buffer, const char** line, std::size_t* count) {
  StandardInputBuffer input;
  return ReadBoundedLine(input, buffer, kMaxLineBytes, line, count);
}

void PauseFor(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec remaining = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0) {
  }
}
