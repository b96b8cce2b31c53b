// Many starts of the auto-clicker from one shell: none is lost, none leaves
// anything behind in the shell, and a started program outlives the shell.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "installation.h"
#include "platform_facts.h"

namespace {

namespace fs = std::filesystem;

TEST(ManyLaunches, AThousandStartsAreAllRecordedAndTheRunningShellHoldsNothingForThem) {
  constexpr int kStarts = 1000;
  const std::string start = HostShellFacts().start_command + "\n";
  Installation installation;
  ChildRun run = installation.Prepare("");
  // A thousand starts from a sanitized or emulated shell on a busy machine
  // take a while (an emulated start about a tenth of a second).
  run.time_limit = std::chrono::seconds(HostShellFacts().words_follow_locale ? 170 : 280);
  RunningChild shell = StartChild(run);
  ASSERT_GE(shell.id, 0);
  // Whatever a first start opens for good is held from then on.
  ASSERT_TRUE(SendInput(shell, start));
  ASSERT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1);
  const std::size_t held = CountHeld(shell);
  std::string lines;
  for (int i = 1; i < kStarts; ++i) lines += start;
  ASSERT_TRUE(SendInput(shell, lines));

  // Standard input stays open: the shell now waits for its next line.
  const int lost = kStarts - AwaitLaunches(installation.LaunchRecord(), kStarts);
  EXPECT_GE(lost, 0);
  EXPECT_LE(lost, HostShellFacts().starts_lost_per_thousand) << "starts never recorded";
  ASSERT_TRUE(IsRunning(shell)) << "the shell has ended";
  EXPECT_EQ(CountHeld(shell), held)
      << "descriptors and zombie children (POSIX) or handles (Windows) of the running shell";

  SendInput(shell, "exit\n");
  const ChildResult result = FinishChild(shell, run);
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(kStarts + 1));
  // Every start ran in the shell's folder, with no arguments.
  const std::u8string directory = installation.directory.u8string();
  const std::string expected_line = std::string(directory.begin(), directory.end()) + "\t1";
  std::istringstream record(ReadWholeFile(installation.LaunchRecord()));
  int recorded = 0;
  std::string line;
  while (std::getline(record, line)) {
    ++recorded;
    EXPECT_EQ(line, expected_line) << "start " << recorded;
    if (line != expected_line) break;
  }
  EXPECT_EQ(recorded, kStarts - lost);
}

TEST(ManyLaunches, AnAutoClickerStillRunningWhenTheShellEndsKeepsRunning) {
  Installation installation;
  const fs::path linger = installation.directory / "wurmak.linger";
  const fs::path finished = installation.directory / "wurmak.finished";
  WriteWholeFile(linger, "");
  const ChildResult result = installation.Run(HostShellFacts().start_command + "\nexit\n");
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  ASSERT_EQ(AwaitLaunches(installation.LaunchRecord(), 1), 1);
  EXPECT_FALSE(fs::exists(finished));

  // The shell has ended; the auto-clicker notices the file go and finishes.
  fs::remove(linger);
  for (int i = 0; i < 500 && !fs::exists(finished); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadWholeFile(finished), "finished\n");
}

}  // namespace
