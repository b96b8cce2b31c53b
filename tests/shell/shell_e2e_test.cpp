// The built program, run as a child with piped input and redirected output,
// from a folder that holds a copy of it and a stand-in for the auto-clicker.
// One table for every platform; the platform's own facts (file names, the
// bytes it speaks) come from platform_facts.
#include <gtest/gtest.h>

#include <string>

#include "installation.h"

namespace {

namespace fs = std::filesystem;

const ShellFacts& facts = HostShellFacts();
const std::string kStart = facts.start_command;

struct ShellCase {
  const char* name;
  std::string input;
  int prompts;                   // how many prompts the output holds after the banner
  int launches;                  // how many times the auto-clicker starts
  std::string folder = "shell";  // native bytes
  bool with_auto_clicker = true;
  std::string program_stem = "quorvane-shell";  // native bytes
};

void PrintTo(const ShellCase& c, std::ostream* out) {
  *out << c.name;
}

class ShellEndToEnd : public ::testing::TestWithParam<ShellCase> {};

TEST_P(ShellEndToEnd, WritesExactBytesStartsTheAutoClickerAndEndsWithStatus0) {
  const ShellCase& c = GetParam();
  Installation installation(c.folder, c.with_auto_clicker, c.program_stem);
  const ChildResult result = installation.Run(c.input);
  ASSERT_FALSE(result.timed_out);
  EXPECT_TRUE(result.exited);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(c.prompts));
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), c.launches), c.launches);
}

const std::string kLong(2048, 'x');

// 工具 and U+4E12, whose second byte in CP936 is 0x5C, the backslash.
const std::string kGbFolder = "\xB9\xA4\xBE\xDF\x81\x5C";

INSTANTIATE_TEST_SUITE_P(
    Cases, ShellEndToEnd,
    ::testing::Values(
        ShellCase{"exit", "exit\n", 1, 0}, ShellCase{"exit_without_line_feed", "exit", 1, 0},
        ShellCase{"exit_with_cr_lf", "exit\r\n", 1, 0},
        ShellCase{"exit_with_tab", "exit\t\nstart never read\n", 1, 0},
        ShellCase{"start_once", kStart + "\nexit\n", 2, 1},
        ShellCase{"start_twice", kStart + "\n" + kStart + "\nexit\n", 3, 2},
        ShellCase{"start_twice_with_cr_lf", kStart + "\r\n" + kStart + "\r\nexit\r\n", 3, 2},
        ShellCase{"start_then_end_of_input", kStart + "\n", 2, 1},
        ShellCase{"missing_auto_clicker_is_silent", kStart + "\nexit\n", 2, 0, "shell", false},
        ShellCase{"near_misses_do_nothing",
                  "EXIT\nExit\n exit\nexit \n\nstart  \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8\n"
                  "start\xE3\x80\x80\xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8\n"
                  "Start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8\n"
                  "start  \xC1\xAC\xB5\xE3\xC6\xF7\n"
                  "Start \xC1\xAC\xB5\xE3\xC6\xF7\n" +
                      kStart + " \nexit\n",
                  12, 0},
        ShellCase{"end_of_input_ends", "", 1, 0},
        ShellCase{"empty_lines_then_end_of_input", "\n\n\n", 4, 0},
        ShellCase{"embedded_nul_is_no_command",
                  std::string("exit\0junk\n", 10) + kStart + std::string("\0x\nexit\n", 8), 3, 0},
        ShellCase{"long_line_tail_is_no_command", kLong + "exit\n" + kLong + kStart + "\nexit\n", 3,
                  0},
        ShellCase{"folder_with_blanks", kStart + "\nexit\n", 2, 1, "My Tools"},
        ShellCase{"folder_with_awkward_characters", kStart + "\nexit\n", 2, 1,
                  facts.awkward_folder_name},
        ShellCase{"chinese_folder_ending_in_trail_byte_5c", kStart + "\nexit\n", 2, 1, kGbFolder},
        // A scan that took the trail byte for a backslash would split the
        // file name, show a wrong folder and start nothing.
        ShellCase{"program_name_with_trail_byte_5c", kStart + "\nexit\n", 2, 1, "shell", true,
                  "quorvane\x81\x5Cshell"}),
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
  const std::u8string directory = installation.directory.u8string();
  EXPECT_EQ(ReadWholeFile(installation.LaunchRecord()),
            std::string(directory.begin(), directory.end()) + "\t1\n");
}

TEST(ShellEndToEndWhere, AProgramPlantedWhereAnUnquotedPathWouldBreakNeverStarts) {
  Installation installation("My Tools");
  CopyExecutable(DoubleProgram(), installation.root.path() / ("My" + facts.program_suffix));
  const ChildResult result = installation.Run(kStart + "\nexit\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1);
  EXPECT_FALSE(fs::exists(installation.root.path() / "My.launches"));
}

TEST(ShellEndToEndWhere, TheBuiltProgramShowsTheFolderItWasBuiltIn) {
  // The very file that is shipped, run where the build left it.
  TempFolder elsewhere;
  ChildRun run;
  run.program = ShellProgram();
  run.working_directory = elsewhere.path();
  run.input = "exit\n";
  run.environment = facts.environment;
  run.output_file = elsewhere.path() / "output";
  const ChildResult result = RunChild(run);
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output,
            facts.banner + facts.prompt_head + NativeBytes(run.program.parent_path()) + ">");
}

}  // namespace
