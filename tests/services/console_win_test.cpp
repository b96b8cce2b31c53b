// What the C runtime's text-mode standard input hands to the shell on
// Windows, read through a real pipe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/services.h"
#include "stdin_feed.h"

namespace {

// The raw bytes of each line ReadStandardInputLine gives, before any
// trimming, and "<end>" for the call that read nothing.
std::vector<std::string> RawLines(const std::string& input) {
  StdinFeed feed(input);
  std::vector<std::string> lines;
  for (int guard = 0; guard < 100; ++guard) {
    char buffer[kMaxLineBytes + 1];
    const char* line = nullptr;
    std::size_t count = 0;
    if (!ReadStandardInputLine(buffer, &line, &count)) {
      lines.push_back("<end>");
      break;
    }
    lines.emplace_back(line, count);
  }
  return lines;
}

struct TextModeCase {
  const char* name;
  std::string input;
  std::vector<std::string> expected;
};

TEST(TextModeInput, TurnsCrLfIntoLfAndTakesCtrlZForTheEnd) {
  const std::string a2000(2000, 'a');
  const std::string c93(93, 'c');
  const TextModeCase cases[] = {
      {"CR LF reads as LF", "exit\r\nstart\r\n", {"exit\n", "start\n", "<end>"}},
      {"LF stays LF", "exit\n", {"exit\n", "<end>"}},
      {"a lone CR stays", "a\rb\r\n", {"a\rb\n", "<end>"}},
      {"CR CR LF keeps one CR", "x\r\r\n", {"x\r\n", "<end>"}},
      {"CR at the very end stays", "x\r", {"x\r", "<end>"}},
      // The second line's CR is byte 4095, the last of a 4096-byte read when
      // the pipe has everything at once.
      {"CR LF across the runtime's reads",
       a2000 + "\n" + a2000 + "\n" + c93 + "\r\nexit\r\n",
       {a2000 + "\n", a2000 + "\n", c93 + "\n", "exit\n", "<end>"}},
      // Ctrl+Z (0x1A) in piped input is the end of the input for the C
      // runtime: the bytes before it make a last line, nothing after it is
      // ever read.
      {"Ctrl+Z ends the input",
       "ab\x1A"
       "cd\nexit\n",
       {"ab", "<end>"}},
      {"Ctrl+Z at the start of a line",
       "exit\n\x1A"
       "exit\n",
       {"exit\n", "<end>"}},
      {"Ctrl+Z after CR LF", "one\r\n\x1A\r\ntwo\r\n", {"one\n", "<end>"}},
  };
  for (const TextModeCase& c : cases) {
    EXPECT_EQ(RawLines(c.input), c.expected) << c.name;
  }
}

}  // namespace
