// The built program with standard streams that are closed, unreadable,
// unwritable or broken: it must neither die nor hang, must end with status 0
// and must still start the auto-clicker when told to.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "installation.h"
#include "shell_words.h"

namespace {

struct StreamCase {
  const char* name;
  ChildInput input_kind;
  bool input_is_a_folder;  // otherwise input_kind kPath is unused
  ChildOutput output_kind;
  const char* output_path;
  std::string input;
  int prompts;   // the prompts in the captured output; -1 when output is not captured
  int launches;  // starts of the auto-clicker
};

void PrintTo(const StreamCase& c, std::ostream* out) {
  *out << c.name;
}

class BrokenStreams : public ::testing::TestWithParam<StreamCase> {};

TEST_P(BrokenStreams, EndWithStatus0WithoutHangingOrDying) {
  const StreamCase& c = GetParam();
  Installation installation;
  ChildRun run = installation.Prepare(c.input);
  run.input_kind = c.input_kind;
  if (c.input_is_a_folder) run.input_path = installation.directory;
  run.output_kind = c.output_kind;
  if (c.output_path != nullptr) run.output_path = c.output_path;
  run.time_limit = std::chrono::seconds(20);
  const ChildResult result = RunChild(run);
  ASSERT_FALSE(result.timed_out);
  ASSERT_TRUE(result.exited) << "ended by a signal";
  EXPECT_EQ(result.exit_status, 0);
  if (c.prompts >= 0) {
    EXPECT_EQ(result.output, installation.Expected(c.prompts));
  }
  EXPECT_EQ(AwaitLaunches(installation.LaunchRecord(), c.launches), c.launches);
}

const std::string kStartThenExit = Utf8Words().start + "\nexit\n";
// Enough prompts to fill several output blocks before the end, so that
// writes fail while the shell still runs, not only at its end.
const std::string kManyLinesThenStart = std::string(3000, '\n') + kStartThenExit;

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenStreams,
    ::testing::Values(StreamCase{"input_closed", ChildInput::kClosed, false, ChildOutput::kFile,
                                 nullptr, "", 1, 0},
                      StreamCase{"input_is_a_folder", ChildInput::kPath, true, ChildOutput::kFile,
                                 nullptr, "", 1, 0},
                      StreamCase{"output_closed", ChildInput::kPipe, false, ChildOutput::kClosed,
                                 nullptr, kStartThenExit, -1, 1},
                      StreamCase{"output_closed_many_lines", ChildInput::kPipe, false,
                                 ChildOutput::kClosed, nullptr, kManyLinesThenStart, -1, 1},
                      StreamCase{"output_to_a_full_device", ChildInput::kPipe, false,
                                 ChildOutput::kPath, "/dev/full", kStartThenExit, -1, 1},
                      StreamCase{"output_to_a_full_device_many_lines", ChildInput::kPipe, false,
                                 ChildOutput::kPath, "/dev/full", kManyLinesThenStart, -1, 1},
                      StreamCase{"output_pipe_without_reader", ChildInput::kPipe, false,
                                 ChildOutput::kPipeWithoutReader, nullptr, kStartThenExit, -1, 1},
                      StreamCase{"output_pipe_without_reader_many_lines", ChildInput::kPipe, false,
                                 ChildOutput::kPipeWithoutReader, nullptr, kManyLinesThenStart, -1,
                                 1},
                      StreamCase{"input_and_output_closed", ChildInput::kClosed, false,
                                 ChildOutput::kClosed, nullptr, "", -1, 0}),
    [](const ::testing::TestParamInfo<StreamCase>& param) {
      return std::string(param.param.name);
    });

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
