#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/decisions.h"

namespace {

struct SplitCase {
  std::string path;
  char separator;
  bool double_byte;
  std::size_t expected;
};

TEST(FindLastSeparator, SplitsAtTheLastRealSeparatorOnly) {
  const SplitCase cases[] = {
      {"C:\\shell.exe", '\\', true, 2},
      {"D:\\Tools\\shell.exe", '\\', true, 8},
      {"shell.exe", '\\', true, kNoSeparator},
      {"", '\\', true, kNoSeparator},
      {"\\shell.exe", '\\', true, 0},
      // 0x81 0x5C is one GB character: its trail byte is no separator.
      {"C:\\a\x81\x5C"
       "b.exe",
       '\\', true, 2},
      {"C:\\a\x81\x5C\\b.exe", '\\', true, 6},
      {"C:\\\x95\x5C\x95\x5C.exe", '\\', true, 2},
      // Without double-byte pairing the same byte is a separator.
      {"C:\\a\x81\x5C"
       "b.exe",
       '\\', false, 5},
      // A lead byte as the very last byte has no trail to take.
      {"C:\\dir\\\x81", '\\', true, 6},
      // A pair's trail byte can itself look like a lead byte.
      {"C:\\\x81\x81\\x.exe", '\\', true, 5},
      {"/home/me/bin/quorvane-shell", '/', false, 12},
      {"/quorvane-shell", '/', false, 0},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(FindLastSeparator(c.path.data(), c.path.size(), c.separator, c.double_byte),
              c.expected)
        << c.path;
  }
}

struct TrimCase {
  std::string line;
  std::string expected;
};

TEST(TrimmedLength, RemovesTrailingControlBytesOnly) {
  const TrimCase cases[] = {
      {"exit\n", "exit"},
      {"exit\r\n", "exit"},
      {"exit\t\n", "exit"},
      {std::string("exit\x01\x1F\0\r\n", 9), "exit"},
      {"exit \n", "exit "},  // blanks stay
      {" exit", " exit"},    // nothing is trimmed at the front
      {"\n", ""},
      {"", ""},
      {"\t\r\n", ""},
      {"\xC6\xF7\n", "\xC6\xF7"},  // high bytes stay
      {"a\tb\n", "a\tb"},          // inner control bytes stay
      {"exit\x7F", "exit\x7F"},
  };
  for (const TrimCase& c : cases) {
    EXPECT_EQ(c.line.substr(0, TrimmedLength(c.line.data(), c.line.size())), c.expected);
  }
}

std::vector<std::string> SplitToStrings(Text line) {
  std::vector<std::string> words;
  char** argv = SplitPosixCommandLine(line);
  if (argv == nullptr) return words;
  for (char** arg = argv; *arg != nullptr; ++arg) words.emplace_back(*arg);
  FreeBlock(argv);
  return words;
}

TEST(QuoteProgramPath, PosixQuotingSplitsBackToExactlyThePath) {
  const std::string paths[] = {
      "/opt/quorvane/wurmak",
      "/opt/My Tools/wurmak",
      "/tmp/it's/wurmak",
      "/tmp/''/wurmak",
      "/tmp/\"q\"/wurmak",
      "/tmp/back\\slash/wurmak",
      "/tmp/$HOME `x` *?[a]/wurmak",
      "/tmp/tab\there/new\nline/wurmak",
      "/tmp/\xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8/wurmak",
      "/tmp/\x81\x5C\x27/wurmak",
      "-n",
      "'",
  };
  for (const std::string& path : paths) {
    Text quoted = QuoteProgramPath(path.c_str(), PlatformFamily::kPosix);
    EXPECT_EQ(SplitToStrings(quoted), std::vector<std::string>{path}) << quoted;
    FreeBlock(quoted);
  }
}

TEST(QuoteProgramPath, WindowsWrapsThePathInDoubleQuotes) {
  Text quoted =
      QuoteProgramPath("C:\\Program Files\\Quorvane\\wurmak.exe", PlatformFamily::kWindows);
  EXPECT_STREQ(quoted, "\"C:\\Program Files\\Quorvane\\wurmak.exe\"");
  FreeBlock(quoted);
  quoted = QuoteProgramPath("\\wurmak.exe", PlatformFamily::kWindows);
  EXPECT_STREQ(quoted, "\"\\wurmak.exe\"");
  FreeBlock(quoted);
}

struct CommandLineCase {
  std::string line;
  std::vector<std::string> expected;  // empty: refused
};

TEST(SplitPosixCommandLine, FollowsShellQuotingWithoutExpansion) {
  const CommandLineCase cases[] = {
      {"/bin/prog", {"/bin/prog"}},
      {"  /bin/prog   a\tb  ", {"/bin/prog", "a", "b"}},
      {"'a b' \"c d\" e\\ f", {"a b", "c d", "e f"}},
      {"'a\\b'", {"a\\b"}},                    // no escapes in single quotes
      {"\"a\\\"b\\\\c\\d\"", {"a\"b\\c\\d"}},  // in double quotes only " \ $ ` escape
      {"\"$HOME\" ~ *", {"$HOME", "~", "*"}},
      {"a''b \"\"", {"ab", ""}},
      {"a\\\nb", {"ab"}},  // a backslash before a line feed joins
      {"", {}},
      {"   ", {}},
      {"'open", {}},
      {"\"open", {}},
      {"trailing\\", {}},
  };
  for (const CommandLineCase& c : cases) {
    EXPECT_EQ(SplitToStrings(c.line.c_str()), c.expected) << c.line;
  }
}

TEST(ShowWindowCommandFor, MapsModesAndClampsOutOfRangeValues) {
  const std::pair<int, int> cases[] = {
      {-100, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 6}, {7, 6}, {1000, 6},
  };
  for (const auto& [mode, command] : cases) EXPECT_EQ(ShowWindowCommandFor(mode), command) << mode;
  EXPECT_EQ(ShowWindowCommandFor(kDefaultWindowMode), 1);  // SW_SHOWNORMAL
}

}  // namespace
