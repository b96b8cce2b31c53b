// End-to-end cases that only Windows has: the root of a drive, and Ctrl+Z in
// piped input.
#include <gtest/gtest.h>

#include <string>

#include "installation.h"
#include "windows_probes.h"

namespace {

namespace fs = std::filesystem;

const ShellFacts& facts = HostShellFacts();

TEST(ShellEndToEndWindows, AtTheRootOfADriveThePromptIsTheDriveAndTheAutoClickerStartsThere) {
  TempFolder folder;
  const char letter = FreeDriveLetter();
  ASSERT_NE(letter, '\0');
  DriveMapping drive(letter, folder.path());
  ASSERT_TRUE(drive.ok()) << "could not map drive " << letter;
  const std::string root = std::string(1, letter) + ":\\";
  const fs::path program = root + "quorvane-shell.exe";
  CopyExecutable(ShellProgram(), program);
  CopyExecutable(DoubleProgram(), root + "wurmak.exe");

  TempFolder elsewhere;
  ChildRun run;
  run.program = program;
  run.working_directory = elsewhere.path();
  run.input = facts.start_command + "\nexit\n";
  run.output_file = elsewhere.path() / "output";
  const ChildResult result = RunChild(run);
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  const std::string prompt = facts.prompt_head + std::string(1, letter) + ":>";
  EXPECT_EQ(result.output, facts.banner + prompt + prompt);
  // The auto-clicker at the root started, in the root.
  const fs::path record = folder.path() / "wurmak.launches";
  ASSERT_EQ(AwaitLaunches(record, 1), 1);
  EXPECT_EQ(ReadWholeFile(record), root + "\t1\n");
}

TEST(ShellEndToEndWindows, CtrlZInPipedInputEndsTheShellAsTheEndOfInputDoes) {
  // The C runtime reads Ctrl+Z (0x1A) in piped text-mode input as the end
  // of the input: the line before it counts, nothing after it is read, and
  // the shell ends with status 0 without an "exit".
  Installation installation;
  const std::string start = facts.start_command;
  const ChildResult result =
      installation.Run(start + "\n" + start + "\x1A" + "junk\n" + start + "\nexit\n");
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(3));
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), 2), 2);
}

}  // namespace
