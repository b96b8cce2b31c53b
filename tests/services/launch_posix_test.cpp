#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "services/services.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

// Waits up to five seconds for a file that a detached child writes.
std::string AwaitFile(const fs::path& file) {
  for (int i = 0; i < 500 && !fs::exists(file); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the writer finish
  return ReadWholeFile(file);
}

std::string ShellCommand(const std::string& script) {
  Text quoted = QuoteProgramPath(script.c_str(), PlatformFamily::kPosix);
  std::string line = std::string("/bin/sh -c ") + quoted;
  FreeBlock(quoted);
  return line;
}

TEST(LaunchProgram, ReportsWhatCannotBeStarted) {
  TempFolder folder;
  const fs::path plain = folder.path() / "not-executable";
  WriteWholeFile(plain, "#!/bin/sh\n");
  chmod(plain.c_str(), 0644);
  const std::string cases[] = {
      (folder.path() / "missing").string(),
      plain.string(),
      folder.path().string(),  // a folder
      "",
      "'unterminated",
  };
  for (const std::string& line : cases) {
    EXPECT_FALSE(LaunchProgram(line.c_str(), false)) << line;
    EXPECT_FALSE(LaunchProgram(line.c_str(), true)) << line;
  }
  EXPECT_FALSE(LaunchProgram(nullptr, false));
}

TEST(LaunchProgram, WaitForEndReturnsAfterTheChildEnds) {
  TempFolder folder;
  const fs::path done = folder.path() / "done";
  const std::string line = ShellCommand("sleep 0.2; echo ok > '" + done.string() + "'");
  EXPECT_TRUE(LaunchProgram(line.c_str(), true));
  EXPECT_EQ(ReadWholeFile(done), "ok\n");
}

TEST(LaunchProgram, WithoutWaitingLeavesNoChildAndReturnsAtOnce) {
  TempFolder folder;
  const fs::path done = folder.path() / "done";
  const std::string line = ShellCommand("sleep 1; echo ok > '" + done.string() + "'");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(LaunchProgram(line.c_str(), false));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  // The started program is no child of this process, so it can never become
  // a zombie here.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  EXPECT_EQ(ReadWholeFile(done), "");  // still running
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_EQ(AwaitFile(done), "ok\n");
}

TEST(LaunchProgram, StartsADetachedChildInItsOwnSessionWithDefaultSigpipe) {
  TempFolder folder;
  const fs::path report = folder.path() / "report";
  signal(SIGPIPE, SIG_IGN);
  const std::string line = ShellCommand(
      "out=$(readlink /proc/$$/fd/1); "
      "{ cut -d' ' -f6 /proc/$$/stat; grep -e SigIgn -e SigBlk /proc/$$/status; echo \"$out\"; } "
      "> '" +
      report.string() + ".tmp' && mv '" + report.string() + ".tmp' '" + report.string() + "'");
  ASSERT_TRUE(LaunchProgram(line.c_str(), false));
  const std::string text = AwaitFile(report);
  ASSERT_FALSE(text.empty());
  const std::string session = text.substr(0, text.find('\n'));
  EXPECT_NE(std::stol(session), static_cast<long>(getsid(0)));
  const std::size_t ignored_at = text.find("SigIgn:") + 7;
  const unsigned long ignored = std::stoul(text.substr(ignored_at), nullptr, 16);
  EXPECT_EQ(ignored & (1ul << (SIGPIPE - 1)), 0ul) << "SIGPIPE still ignored";
  const std::size_t blocked_at = text.find("SigBlk:") + 7;
  EXPECT_EQ(std::stoul(text.substr(blocked_at), nullptr, 16), 0ul) << "signals left blocked";
  if (!isatty(STDOUT_FILENO)) {
    EXPECT_NE(text.find("/dev/null"), std::string::npos) << "redirected output was shared";
  }
}

}  // namespace
