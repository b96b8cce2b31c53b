// Many starts of the auto-clicker from one shell: none is lost, none leaves
// a zombie behind, and a started program outlives the shell.
#include <gtest/gtest.h>

#include <sys/types.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "installation.h"
#include "shell_words.h"

namespace {

namespace fs = std::filesystem;

struct ProcessState {
  long id;
  char state;  // R, S, Z and so on, as /proc shows it
};

// The children of process `parent` with their states, from /proc.
std::vector<ProcessState> ChildrenOf(long parent) {
  std::vector<ProcessState> children;
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", ignored)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    // "<pid> (<name>) <state> <parent> ...": the name may hold blanks and
    // parentheses, so the fields are counted from the last ')'.
    const std::string stat = ReadWholeFile(entry.path() / "stat");
    const std::size_t name_end = stat.rfind(')');
    if (name_end == std::string::npos || name_end + 4 >= stat.size()) continue;
    const char state = stat[name_end + 2];
    const long ppid = std::strtol(stat.c_str() + name_end + 4, nullptr, 10);
    if (ppid == parent) children.push_back({std::stol(name), state});
  }
  return children;
}

TEST(ManyLaunches, AThousandStartsAreAllRecordedAndLeaveNoZombieWhileTheShellRuns) {
  constexpr int kStarts = 1000;
  Installation installation;
  ChildRun run = installation.Prepare("");
  // A thousand forks of a sanitized shell on a busy machine take a while.
  run.time_limit = std::chrono::seconds(170);
  RunningChild shell = StartChild(run);
  ASSERT_GE(shell.id, 0);
  std::string lines;
  for (int i = 0; i < kStarts; ++i) lines += Utf8Words().start + "\n";
  ASSERT_TRUE(SendInput(shell, lines));

  // Standard input stays open: the shell now waits for its next line.
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), kStarts), kStarts);
  ASSERT_EQ(waitpid(static_cast<pid_t>(shell.id), nullptr, WNOHANG), 0) << "the shell has ended";
  int zombies = 0;
  std::string some;
  for (const ProcessState& child : ChildrenOf(shell.id)) {
    if (child.state != 'Z') continue;
    if (++zombies > 10) continue;
    some += ' ';
    some += std::to_string(child.id);
  }
  EXPECT_EQ(zombies, 0) << "zombie children of the running shell, such as" << some;

  SendInput(shell, "exit\n");
  const ChildResult result = FinishChild(shell, run);
  ASSERT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.output, installation.Expected(kStarts + 1));
  // Every start ran in the shell's folder, with no arguments.
  std::string expected_record;
  for (int i = 0; i < kStarts; ++i) expected_record += installation.directory.string() + "\t1\n";
  EXPECT_EQ(ReadWholeFile(installation.LaunchRecord()), expected_record);
}

TEST(ManyLaunches, AnAutoClickerStillRunningWhenTheShellEndsKeepsRunning) {
  Installation installation;
  const fs::path linger = installation.directory / "wurmak.linger";
  const fs::path finished = installation.directory / "wurmak.finished";
  WriteWholeFile(linger, "");
  const ChildResult result = installation.Run(Utf8Words().start + "\nexit\n");
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
