#include "shell_installation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace fs = std::filesystem;

Installation::Installation(const std::string& folder_name, bool with_auto_clicker) {
  directory = root.path() / folder_name;
  fs::create_directories(directory);
  program = directory / "quorvane-shell";
  CopyExecutable(QS_SHELL_PROGRAM, program);
  if (with_auto_clicker) CopyExecutable(QS_DOUBLE_PROGRAM, directory / "wurmak");
}

std::string Installation::Prompt(const ShellWords& words) const {
  return words.prompt_head + directory.string() + ">";
}

std::string Installation::Expected(int prompts, const ShellWords& words) const {
  std::string out = words.banner;
  for (int i = 0; i < prompts; ++i) out += Prompt(words);
  return out;
}

ChildRun Installation::Prepare(const std::string& input, const fs::path& working_directory,
                               const std::string& locale) const {
  ChildRun run;
  run.program = program;
  run.working_directory = working_directory.empty() ? root.path() : working_directory;
  run.input = input;
  run.environment = {"LC_ALL=" + locale};
  run.output_file = root.path() / "output";
  return run;
}

ChildResult Installation::Run(const std::string& input, const fs::path& working_directory,
                              bool unprivileged, const std::string& locale) const {
  ChildRun run = Prepare(input, working_directory, locale);
  run.unprivileged = unprivileged;
  return RunChild(run);
}

int CountLaunches(const fs::path& record) {
  const std::string text = ReadWholeFile(record);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

int AwaitLaunches(const fs::path& record, int expected) {
  // Gives up once no new start has been recorded for five seconds.
  int count = CountLaunches(record);
  auto last_change = std::chrono::steady_clock::now();
  while (count < expected &&
         std::chrono::steady_clock::now() - last_change < std::chrono::seconds(5)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int now = CountLaunches(record);
    if (now != count) last_change = std::chrono::steady_clock::now();
    count = now;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  return CountLaunches(record);
}
