// The built program with standard streams that are closed, unreadable,
// unwritable or broken: it must neither die nor hang, must end with status 0
// and must still start the auto-clicker when told to.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "installation.h"
#include "platform_facts.h"

namespace {

struct StreamCase {
  const char* name;
  ChildInput input_kind;
  bool input_is_a_folder;  // otherwise input_kind kPath is unused
  ChildOutput output_kind;
  bool output_to_full_device;  // output_kind kPath: the platform's always-full device
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
  if (c.output_to_full_device) {
    if (HostShellFacts().full_device.empty()) GTEST_SKIP() << "no device that is always full here";
    run.output_path = HostShellFacts().full_device;
  }
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

const std::string kStartThenExit = HostShellFacts().start_command + "\nexit\n";
// Enough prompts to fill several output blocks before the end, so that
// writes fail while the shell still runs, not only at its end.
const std::string kManyLinesThenStart = std::string(3000, '\n') + kStartThenExit;

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenStreams,
    ::testing::Values(
        StreamCase{"input_closed", ChildInput::kClosed, false, ChildOutput::kFile, false, "", 1, 0},
        StreamCase{"input_is_a_folder", ChildInput::kPath, true, ChildOutput::kFile, false, "", 1,
                   0},
        StreamCase{"output_closed", ChildInput::kPipe, false, ChildOutput::kClosed, false,
                   kStartThenExit, -1, 1},
        StreamCase{"output_closed_many_lines", ChildInput::kPipe, false, ChildOutput::kClosed,
                   false, kManyLinesThenStart, -1, 1},
        StreamCase{"output_to_a_full_device", ChildInput::kPipe, false, ChildOutput::kPath, true,
                   kStartThenExit, -1, 1},
        StreamCase{"output_to_a_full_device_many_lines", ChildInput::kPipe, false,
                   ChildOutput::kPath, true, kManyLinesThenStart, -1, 1},
        StreamCase{"output_pipe_without_reader", ChildInput::kPipe, false,
                   ChildOutput::kPipeWithoutReader, false, kStartThenExit, -1, 1},
        StreamCase{"output_pipe_without_reader_many_lines", ChildInput::kPipe, false,
                   ChildOutput::kPipeWithoutReader, false, kManyLinesThenStart, -1, 1},
        StreamCase{"output_read_only", ChildInput::kPipe, false, ChildOutput::kReadOnly, false,
                   kStartThenExit, -1, 1},
        StreamCase{"output_read_only_many_lines", ChildInput::kPipe, false, ChildOutput::kReadOnly,
                   false, kManyLinesThenStart, -1, 1},
        StreamCase{"input_and_output_closed", ChildInput::kClosed, false, ChildOutput::kClosed,
                   false, "", -1, 0}),
    [](const ::testing::TestParamInfo<StreamCase>& param) {
      return std::string(param.param.name);
    });

}  // namespace
