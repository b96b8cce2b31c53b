// Hostile input through the built program: whatever arrives, it must not
// crash or hang, must end with status 0 and must start the auto-clicker
// exactly where a line is the launch command, no more and no less.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hostile_inputs.h"
#include "installation.h"
#include "platform_facts.h"
#include "shell_model.h"
#include "shell_words.h"

namespace {

// Runs at once: each run spends a second in the pause after the banner. An
// emulated run costs far more of the machine.
unsigned ConcurrentRuns() {
  return HostShellFacts().words_follow_locale ? 16 : 6;
}

const ShellWords& WordsFor(ShellEncoding encoding) {
  return encoding == ShellEncoding::kCp936 ? Cp936Words() : Utf8Words();
}

// Where two long outputs part, rather than both of them in full.
std::string Difference(const std::string& actual, const std::string& expected) {
  const auto mismatch =
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  const std::size_t at = static_cast<std::size_t>(mismatch.first - actual.begin());
  std::ostringstream out;
  out << "output of " << actual.size() << " bytes, expected " << expected.size()
      << "; they part at byte " << at << ": \"" << actual.substr(at, 40) << "\" instead of \""
      << expected.substr(at, 40) << "\"";
  return out.str();
}

// Runs one case in an installation of its own and returns what was wrong
// with it; empty when nothing was. Where the system's code page rather than
// the locale chooses the shell's words, the case is run in those words.
std::string RunCase(const HostileCase& original) {
  const ShellFacts& facts = HostShellFacts();
  const HostileCase c =
      facts.words_follow_locale ? original : SpokenIn(ShellEncoding::kCp936, original);
  const ShellWords& words = WordsFor(c.encoding);
  const ModelRun expected = ModelShell(c.input, words.start, facts.input_mode);
  Installation installation;
  ChildRun run = installation.Prepare(c.input, {},
                                      facts.words_follow_locale
                                          ? std::vector<std::string>{"LC_ALL=" + words.locale}
                                          : facts.environment);
  run.time_limit = std::chrono::seconds(60);
  const ChildResult result = RunChild(run);
  std::ostringstream problems;
  if (result.timed_out) {
    problems << "still running after " << run.time_limit.count() << " ms; ";
  } else if (!result.exited) {
    problems << "ended by a signal; ";
  } else if (result.exit_status != 0) {
    problems << "exit status " << result.exit_status << "; ";
  }
  const std::string expected_output =
      facts.words_follow_locale
          ? installation.Expected(expected.reads, words.banner, words.prompt_head)
          : installation.Expected(expected.reads);
  if (result.output != expected_output) {
    problems << Difference(result.output, expected_output) << "; ";
  }
  const int launches = static_cast<int>(expected.launch_reads.size());
  const int recorded = AwaitLaunches(installation.LaunchRecord(), launches);
  if (recorded != launches) {
    problems << recorded << " starts of the auto-clicker, expected " << launches << "; ";
  }
  return problems.str();
}

void RunAll(const std::vector<HostileCase>& cases) {
  std::vector<std::string> problems(cases.size());
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> workers;
  for (unsigned w = 0; w < ConcurrentRuns(); ++w) {
    workers.emplace_back([&] {
      for (std::size_t i = next++; i < cases.size(); i = next++) problems[i] = RunCase(cases[i]);
    });
  }
  for (std::thread& worker : workers) worker.join();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(problems[i], "") << cases[i].name;
  }
}

TEST(HostileInput, NeitherCrashesNorHangsAndStartsOnlyOnTheExactCommand) {
  RunAll(HostileInputCases());
}

TEST(HostileInput, TrailingControlBytesAreTrimmedAndAnyOtherByteSpoilsTheCommand) {
  RunAll(TrailingByteCases());
}

}  // namespace
