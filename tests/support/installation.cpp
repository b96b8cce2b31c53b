#include "installation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace fs = std::filesystem;

fs::path ShellProgram() {
  return BuildTreeFile(QS_SHELL_PROGRAM);
}

fs::path DoubleProgram() {
  return BuildTreeFile(QS_DOUBLE_PROGRAM);
}

int CountLines(const fs::path& file) {
  const std::string text = ReadWholeFile(file);
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

int AwaitLaunches(const fs::path& record, int expected) {
  // Gives up once no new start has been recorded for ten seconds, so that a
  // thousand starts of a slow (sanitized, or emulated) shell are all waited
  // for while a start that never comes costs only the quiet period.
  int count = CountLines(record);
  auto last_change = std::chrono::steady_clock::now();
  while (count < expected &&
         std::chrono::steady_clock::now() - last_change < std::chrono::seconds(10)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int now = CountLines(record);
    if (now != count) last_change = std::chrono::steady_clock::now();
    count = now;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  return CountLines(record);
}

Installation::Installation(const std::string& folder, bool with_auto_clicker,
                           const std::string& program_stem) {
  const ShellFacts& facts = HostShellFacts();
  directory = root.path() / PathFromNativeBytes(folder);
  fs::create_directories(directory);
  program = directory / PathFromNativeBytes(program_stem + facts.program_suffix);
  CopyExecutable(ShellProgram(), program);
  if (with_auto_clicker) CopyExecutable(DoubleProgram(), directory / facts.auto_clicker_name);
}

fs::path Installation::LaunchRecord() const {
  return directory / "wurmak.launches";
}

std::string Installation::Prompt() const {
  return Prompt(HostShellFacts().prompt_head);
}

std::string Installation::Prompt(const std::string& prompt_head) const {
  return prompt_head + NativeBytes(directory) + ">";
}

std::string Installation::Expected(int prompts) const {
  return Expected(prompts, HostShellFacts().banner, HostShellFacts().prompt_head);
}

std::string Installation::Expected(int prompts, const std::string& banner,
                                   const std::string& prompt_head) const {
  std::string out = banner;
  for (int i = 0; i < prompts; ++i) out += Prompt(prompt_head);
  return out;
}

ChildRun Installation::Prepare(const std::string& input, const fs::path& working_directory,
                               const std::vector<std::string>& environment) const {
  ChildRun run;
  run.program = program;
  run.working_directory = working_directory.empty() ? root.path() : working_directory;
  run.input = input;
  run.environment = environment;
  run.output_file = root.path() / "output";
  return run;
}

ChildResult Installation::Run(const std::string& input, const fs::path& working_directory,
                              const std::vector<std::string>& environment,
                              bool unprivileged) const {
  ChildRun run = Prepare(input, working_directory, environment);
  run.unprivileged = unprivileged;
  return RunChild(run);
}
