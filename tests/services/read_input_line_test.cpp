#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/services.h"
#include "stdin_feed.h"

namespace {

// What ReadInputLine gave for each call until the end of input: the text,
// "<null>" for null, and "<end>" for the call that read nothing.
std::vector<std::string> ReadAllLines(const std::string& input) {
  StdinFeed feed(input);
  std::vector<std::string> lines;
  for (int guard = 0; guard < 100; ++guard) {
    bool ended = false;
    Text line = ReadInputLine(&ended);
    if (ended) {
      EXPECT_EQ(line, nullptr);
      lines.push_back("<end>");
      FreeBlock(line);
      break;
    }
    lines.push_back(line == nullptr ? "<null>" : std::string(line));
    FreeBlock(line);
  }
  return lines;
}

struct ReadCase {
  const char* name;
  std::string input;
  std::vector<std::string> expected;
};

TEST(ReadInputLine, ReadsLinesFromARealPipe) {
  const std::string a2048(2048, 'a');
  const std::string b5000(5000, 'b');
  const ReadCase cases[] = {
      {"plain lines", "exit\nstart\n", {"exit", "start", "<end>"}},
      {"CR LF", "exit\r\n", {"exit", "<end>"}},
      {"trailing controls trimmed, blanks kept",
       "exit\t\x01\r\n exit \n",
       {"exit", " exit ", "<end>"}},
      {"empty line is null, not the end", "\n\nexit\n", {"<null>", "<null>", "exit", "<end>"}},
      {"last line without a line feed", "exit", {"exit", "<end>"}},
      {"nothing at all", "", {"<end>"}},
      {"exactly 2048 bytes", a2048 + "\nexit\n", {a2048, "exit", "<end>"}},
      {"5000 bytes: the rest is discarded",
       b5000 + "\nnext line\n",
       {std::string(2048, 'b'), "next line", "<end>"}},
      {"a long line's tail is no command", a2048 + "exit\nexit\n", {a2048, "exit", "<end>"}},
      {"long last line without a line feed", b5000, {std::string(2048, 'b'), "<end>"}},
      {"embedded NUL does not end the text",
       std::string("exit\0junk\n", 10),
       {std::string("exit\x1Fjunk"), "<end>"}},
      {"trailing NULs are trimmed", std::string("exit\0\0\n", 7), {"exit", "<end>"}},
      {"high bytes kept",
       "start \xC1\xAC\xB5\xE3\xC6\xF7\n",
       {"start \xC1\xAC\xB5\xE3\xC6\xF7", "<end>"}},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(ReadAllLines(c.input), c.expected) << c.name;
  }
}

}  // namespace
