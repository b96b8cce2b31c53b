// The built program, run as a child with piped input and redirected output,
// from a folder that holds a copy of it and a stand-in for the auto-clicker.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "shell_installation.h"

namespace {

namespace fs = std::filesystem;

// In the C locale the program speaks UTF-8.
const std::string kStart = Utf8Words().start;

struct ShellCase {
  const char* name;
  std::string input;
  int prompts;   // how many prompts the output holds after the banner
  int launches;  // how many times the auto-clicker starts
  const char* folder = "shell";
  bool with_auto_clicker = true;
};

void PrintTo(const ShellCase& c, std::ostream* out) {
  *out << c.name;
}

class ShellEndToEnd : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ShellEndToEnd, WritesExactBytesStartsTheAutoClickerAndEndsWithStatus0) {
  const ShellCase& c = GetParam();
  Installation installation(c.folder, c.with_auto_clicker);
  const ChildResult result = installation.Run(c.input);
  ASSERT_FALSE(result.timed_out);
  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(c.prompts));
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), c.launches), c.launches);
}

const std::string kLong(2048, 'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellEndToEnd,
    ::testing::Values(
        ShellCase{"exit", "exit\n", 1, 0}, ShellCase{"exit_without_line_feed", "exit", 1, 0},
        ShellCase{"exit_with_cr_lf", "exit\r\n", 1, 0},
        ShellCase{"exit_with_tab", "exit\t\nstart never read\n", 1, 0},
        ShellCase{"start_once", kStart + "\nexit\n", 2, 1},
        ShellCase{"start_twice", kStart + "\n" + kStart + "\nexit\n", 3, 2},
        ShellCase{"start_then_end_of_input", kStart + "\n", 2, 1},
        ShellCase{"missing_auto_clicker_is_silent", kStart + "\nexit\n", 2, 0, "shell", false},
        ShellCase{"near_misses_do_nothing",
                  "EXIT\nExit\n exit\nexit \n\nstart  \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8\n"
                  "start\xE3\x80\x80\xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8\n"
                  "Start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8\n" +
                      kStart + " \nexit\n",
                  10, 0},
        ShellCase{"end_of_input_ends", "", 1, 0},
        ShellCase{"empty_lines_then_end_of_input", "\n\n\n", 4, 0},
        ShellCase{"embedded_nul_is_no_command",
                  std::string("exit\0junk\n", 10) + kStart + std::string("\0x\nexit\n", 8), 3, 0},
        ShellCase{"long_line_tail_is_no_command", kLong + "exit\n" + kLong + kStart + "\nexit\n", 3,
                  0},
        ShellCase{"folder_with_blanks", kStart + "\nexit\n", 2, 1, "My Tools"},
        ShellCase{"folder_with_quotes_and_backslash", kStart + "\nexit\n", 2, 1,
                  "it's \"quoted\" \\ $HOME"}),
    [](const ::testing::TestParamInfo<ShellCase>& param) { return std::string(param.param.name); });

TEST(ShellEndToEndWhere, PromptAndAutoClickerUseTheProgramsOwnFolderFromAnywhere) {
  Installation installation;
  TempFolder elsewhere;
  const ChildResult result = installation.Run(kStart + "\nexit\n", elsewhere.path());
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(2));
  ASSERT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1);
  // The auto-clicker runs in the program's folder, with no arguments.
  EXPECT_EQ(ReadWholeFile(installation.LaunchRecord()), installation.directory.string() + "\t1\n");
}

TEST(ShellEndToEndWhere, AProgramPlantedWhereAnUnquotedPathWouldBreakNeverStarts) {
  Installation installation("My Tools");
  CopyExecutable(QS_DOUBLE_PROGRAM, installation.root.path() / "My");
  const ChildResult result = installation.Run(kStart + "\nexit\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1);
  EXPECT_FALSE(fs::exists(installation.root.path() / "My.launches"));
}

TEST(ShellEndToEndWhere, AFolderThatCannotBeEnteredLeavesTheShellWorking) {
  Installation installation;
  // Run as an unprivileged user from an opened executable, so that the
  // program runs while its folder refuses entry.
  chmod(installation.directory.c_str(), 0600);
  chmod(installation.root.path().c_str(), 0777);
  const ChildResult result = installation.Run("\nexit\n", installation.root.path(), true);
  chmod(installation.directory.c_str(), 0700);
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(2));
}

struct LocaleCase {
  const char* locale;
  const ShellWords& words;         // what the shell speaks in it
  const std::string& other_start;  // the launch command in the other encoding
};

TEST(ShellEndToEndLocale, SpeaksTheLocalesEncodingGbOrUtf8) {
  const LocaleCase cases[] = {
      {"C", Utf8Words(), Cp936Words().start},
      {"C.UTF-8", Utf8Words(), Cp936Words().start},
      {"zh_CN.UTF-8", Utf8Words(), Cp936Words().start},
      {"zh_CN.GBK", Cp936Words(), Utf8Words().start},
  };
  for (const LocaleCase& c : cases) {
    Installation installation;
    const ChildResult result =
        installation.Run(c.other_start + "\n" + c.words.start + "\nexit\n", {}, false, c.locale);
    EXPECT_EQ(result.exit_status, 0) << c.locale;
    EXPECT_EQ(result.output, installation.Expected(3, c.words)) << c.locale;
    EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1) << c.locale;
  }
}

}  // namespace
