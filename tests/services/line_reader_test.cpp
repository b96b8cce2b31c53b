// The bounded line read over sources that hand out their input in runs of
// every size: a line may start, end or be cut anywhere in a run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/line_reader.h"

namespace {

// Hands out `input` at most `run` bytes at a time. With kBytesStay it keeps
// consumed bytes in place, as a stream buffer does; without, every run is a
// copy whose bytes are overwritten once consumed, so a line handed out in
// place would show as garbled.
template <bool kStay>
struct RunSource {
  static constexpr bool kBytesStay = kStay;

  std::string input;
  std::size_t run;
  std::size_t position = 0;
  std::size_t handed_out = 0;
  std::string copy;

  std::size_t Buffered(const char** bytes) {
    handed_out = std::min(run, input.size() - position);
    if (kStay) {
      *bytes = input.data() + position;
    } else {
      copy.assign(input, position, handed_out);
      copy.resize(run, '#');
      *bytes = copy.data();
    }
    return handed_out;
  }
  void Consume(std::size_t count) {
    EXPECT_LE(count, handed_out) << "consumed more than was handed out";
    if (!kStay) copy.replace(0, count, count, '#');
    position += count;
    handed_out -= count;
  }
};

constexpr std::size_t kCapacity = 8;

// Every line read until the source is empty, as text, then "<end>".
template <bool kStay>
std::vector<std::string> ReadAll(const std::string& input, std::size_t run) {
  RunSource<kStay> source;
  source.input = input;
  source.run = run;
  std::vector<std::string> lines;
  char buffer[kCapacity];
  for (int guard = 0; guard < 100; ++guard) {
    const char* line = nullptr;
    std::size_t count = 0;
    if (!ReadBoundedLine(source, buffer, kCapacity, &line, &count)) {
      lines.push_back("<end>");
      break;
    }
    EXPECT_LE(count, kCapacity);
    lines.emplace_back(line, count);
  }
  return lines;
}

struct LineCase {
  const char* name;
  std::string input;
  std::vector<std::string> expected;
};

TEST(ReadBoundedLine, GivesTheSameLinesWhateverRunsTheInputComesIn) {
  const LineCase cases[] = {
      {"short lines", "exit\nab\n", {"exit\n", "ab\n", "<end>"}},
      {"empty lines", "\n\n", {"\n", "\n", "<end>"}},
      {"no line feed at the end", "exit", {"exit", "<end>"}},
      {"nothing", "", {"<end>"}},
      {"line feed as the last kept byte", "1234567\nx\n", {"1234567\n", "x\n", "<end>"}},
      {"exactly the capacity before the line feed", "12345678\nx\n", {"12345678", "x\n", "<end>"}},
      {"long line: the tail is discarded",
       "1234567890abcdef\nexit\n",
       {"12345678", "exit\n", "<end>"}},
      {"long line ending the input", "1234567890abc", {"12345678", "<end>"}},
      {"NUL bytes are kept", std::string("a\0b\n", 4), {std::string("a\0b\n", 4), "<end>"}},
  };
  for (const LineCase& c : cases) {
    for (std::size_t run : {1, 2, 3, 5, 8, 9, 64}) {
      EXPECT_EQ(ReadAll<true>(c.input, run), c.expected) << c.name << ", runs of " << run;
      EXPECT_EQ(ReadAll<false>(c.input, run), c.expected)
          << c.name << ", runs of " << run << ", copied";
    }
  }
}

}  // namespace
