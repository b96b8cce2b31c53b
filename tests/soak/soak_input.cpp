// Writes the soak's standard input for the shell to standard output:
// <lines> lines, <launches> of them the launch command (UTF-8, spread evenly),
// the others a steady mix of what the shell must ignore (empty lines, near
// misses, NULs, lone carriage returns, GB bytes and lines longer than the
// 2048 bytes the shell keeps); none of them is "exit".
// Usage: soak-input <lines> <launches>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell_words.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <lines> <launches>\n", argv[0]);
    return 2;
  }
  const long lines = std::atol(argv[1]);
  const long launches = std::atol(argv[2]);
  if (lines < 1 || launches < 0 || launches > lines) return 2;
  const std::string& start = Utf8Words().start;
  const std::string ignored[] = {
      "",
      "exit ",
      start + " ",
      "Start" + start.substr(5),
      std::string("exit\0junk", 9),
      start + "\rexit\r",
      "\xC1\xAC\xB5\xE3\xC6\xF7 \x81",
      "\t\x01\x1F",
      "start",
  };
  constexpr long kIgnored = sizeof ignored / sizeof ignored[0];
  // One line in a hundred is longer than the shell keeps.
  const std::string long_line = std::string(3000, 'x') + "exit";
  const long every = launches == 0 ? lines + 1 : lines / launches;
  long started = 0;
  std::string out;
  for (long i = 0; i < lines; ++i) {
    if (started < launches && i % every == every - 1) {
      out += start;
      ++started;
    } else if (i % 100 == 50) {
      out += long_line;
    } else {
      out += ignored[i % kIgnored];
    }
    out += '\n';
    if (out.size() > (1 << 16)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 && started == launches ? 0 : 1;
}
