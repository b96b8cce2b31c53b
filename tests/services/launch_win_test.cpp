#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "installation.h"
#include "platform_facts.h"
#include "services/services.h"
#include "windows_probes.h"

namespace {

namespace fs = std::filesystem;

// A command line that starts the probe, which waits `pause_ms` and then
// appends how it was started to `record`.
std::string ProbeCommand(const fs::path& record, int pause_ms) {
  return "\"" + NativeBytes(BuildTreeFile(QS_PROBE_PROGRAM)) + "\" \"" + NativeBytes(record) +
         "\" " + std::to_string(pause_ms);
}

// Waits up to ten seconds for `record` to hold `lines` lines.
std::string AwaitRecord(const fs::path& record, int lines) {
  for (int i = 0; i < 1000 && CountLines(record) < lines; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadWholeFile(record);
}

struct WindowModeCase {
  int window_mode;
  int show_window;  // what the started program finds in its start-up information
};

TEST(LaunchProgram, HandsTheWindowModeToTheProgramAsItsShowWindowCommand) {
  const WindowModeCase cases[] = {
      {-7, SW_HIDE},         {0, SW_HIDE},          {1, SW_HIDE},           {2, SW_SHOWNORMAL},
      {3, SW_SHOWMINIMIZED}, {4, SW_SHOWMAXIMIZED}, {5, SW_SHOWNOACTIVATE}, {6, SW_MINIMIZE},
      {7, SW_MINIMIZE},      {1000, SW_MINIMIZE},
  };
  TempFolder folder;
  for (const WindowModeCase& c : cases) {
    const fs::path record = folder.path() / ("mode" + std::to_string(c.window_mode));
    EXPECT_TRUE(LaunchProgram(ProbeCommand(record, 0).c_str(), true, c.window_mode));
    EXPECT_EQ(ReadWholeFile(record), "show=" + std::to_string(c.show_window) + " flag=1\n")
        << "window mode " << c.window_mode;
  }
  const fs::path record = folder.path() / "default";
  EXPECT_TRUE(LaunchProgram(ProbeCommand(record, 0).c_str(), true));
  EXPECT_EQ(ReadWholeFile(record), "show=1 flag=1\n") << "no window mode";
}

TEST(LaunchProgram, WaitForEndReturnsAfterTheProgramEnds) {
  TempFolder folder;
  const fs::path record = folder.path() / "record";
  EXPECT_TRUE(LaunchProgram(ProbeCommand(record, 500).c_str(), true));
  EXPECT_EQ(ReadWholeFile(record), "show=1 flag=1\n");
}

TEST(LaunchProgram, WithoutWaitingReturnsWithinAboutASecondWhileTheProgramRuns) {
  // Wine's WaitForInputIdle fails at once for a console program, so this
  // bounds the time and leaves the idle wait itself unobserved.
  TempFolder folder;
  const fs::path record = folder.path() / "record";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(LaunchProgram(ProbeCommand(record, 4000).c_str(), false));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
  EXPECT_FALSE(fs::exists(record)) << "the launch waited for the program's end";
  EXPECT_EQ(AwaitRecord(record, 1), "show=1 flag=1\n");
}

TEST(LaunchProgram, ReportsWhatCannotBeStarted) {
  TempFolder folder;
  const fs::path text_file = folder.path() / "notes.txt";
  WriteWholeFile(text_file, "not a program\r\n");
  const std::string cases[] = {
      "\"" + NativeBytes(folder.path() / "missing.exe") + "\"",
      NativeBytes(folder.path() / "missing.exe"),
      "\"" + NativeBytes(text_file) + "\"",
      "\"" + NativeBytes(folder.path()) + "\"",  // a folder
      "",
  };
  for (const std::string& line : cases) {
    EXPECT_FALSE(LaunchProgram(line.c_str(), false)) << line;
    EXPECT_FALSE(LaunchProgram(line.c_str(), true)) << line;
  }
  EXPECT_FALSE(LaunchProgram(nullptr, false));
}

TEST(LaunchProgram, AThousandLaunchesLeaveTheHandleCountWhereItWas) {
  // The probe without arguments ends at once.
  const std::string command = "\"" + NativeBytes(BuildTreeFile(QS_PROBE_PROGRAM)) + "\"";
  ASSERT_TRUE(LaunchProgram(command.c_str(), true));  // whatever a first start opens for good
  const std::size_t before = CountHandles();
  // The count sees this process's handles: one more event is one more.
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(CountHandles(), before + 1);
  CloseHandle(event);
  int failed = 0;
  for (int i = 0; i < 1000; ++i) failed += !LaunchProgram(command.c_str(), false);
  EXPECT_LE(failed, HostShellFacts().starts_lost_per_thousand) << "launches that failed";
  EXPECT_EQ(CountHandles(), before);
}

}  // namespace
