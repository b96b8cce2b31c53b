// Standard input through a pipe left in non-blocking mode, as another
// program that shares it may leave it: the shell must wait for what is still
// to come. (Windows has no such mode for its anonymous pipes.)
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "installation.h"
#include "shell_words.h"

namespace {

// Input that arrives in pieces, some time apart, through a pipe left in
// non-blocking mode: no byte yet is not the end of the input, and the end of
// a piece is not the end of a line.
struct PiecesCase {
  const char* name;
  bool first_at_once;  // the first piece waits in the pipe before the shell reads
  std::vector<std::string> pieces;
  int prompts;
  int launches;
};

TEST(BrokenStreams, NonBlockingInputThatArrivesInPiecesIsWaitedFor) {
  const std::string start = Utf8Words().start;
  const PiecesCase cases[] = {
      {"command completed later", true, {start, "x\n", "exit\n"}, 2, 0},
      {"command, then its line feed", true, {start, "\n", "exit\n"}, 2, 1},
      {"first line after a wait", false, {"\n", "ex", "it\n", start + "\n"}, 2, 0},
      {"end of input after a piece", false, {start}, 2, 1},
  };
  for (const PiecesCase& c : cases) {
    Installation installation;
    ChildRun run = installation.Prepare("");
    run.nonblocking_input = true;
    RunningChild shell = StartChild(run);
    bool at_once = c.first_at_once;
    for (const std::string& piece : c.pieces) {
      // Later pieces come while the shell waits for more.
      if (!at_once) std::this_thread::sleep_for(std::chrono::milliseconds(1300));
      at_once = false;
      SendInput(shell, piece);
    }
    const ChildResult result = FinishChild(shell, run);
    EXPECT_FALSE(result.timed_out) << c.name;
    EXPECT_EQ(result.exit_status, 0) << c.name;
    EXPECT_EQ(result.output, installation.Expected(c.prompts)) << c.name;
    EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), c.launches), c.launches) << c.name;
  }
}

}  // namespace
