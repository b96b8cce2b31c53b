// A copy of the built shell in a folder of its own, with a stand-in for the
// auto-clicker beside it, run as a child with piped input and redirected
// output.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "platform_facts.h"
#include "test_files.h"

// The built shell and the auto-clicker's stand-in.
std::filesystem::path ShellProgram();
std::filesystem::path DoubleProgram();

// The number of line feeds in a file; 0 when it does not exist.
int CountLines(const std::filesystem::path& file);

// Launches are recorded by programs that were not waited for and may finish
// after the shell: waits for the expected count of lines while starts keep
// coming, then a little longer for any extra, and gives the count.
int AwaitLaunches(const std::filesystem::path& record, int expected);

struct Installation {
  TempFolder root;
  std::filesystem::path directory;  // holds the shell
  std::filesystem::path program;

  // `folder` and `program_stem` are native bytes; the platform's program
  // suffix is added to the stem.
  explicit Installation(const std::string& folder = "shell", bool with_auto_clicker = true,
                        const std::string& program_stem = "quorvane-shell");

  // Where the stand-in records each start: a line of its working folder and
  // argument count.
  std::filesystem::path LaunchRecord() const;

  std::string Prompt() const;
  std::string Prompt(const std::string& prompt_head) const;
  // The banner followed by `prompts` prompts, in the host's words or in
  // given ones (another locale's).
  std::string Expected(int prompts) const;
  std::string Expected(int prompts, const std::string& banner,
                       const std::string& prompt_head) const;

  // A run of the shell from `working_directory` (the root folder when
  // empty) with `input`, its output captured in a file, to adjust and start.
  ChildRun Prepare(
      const std::string& input, const std::filesystem::path& working_directory = {},
      const std::vector<std::string>& environment = HostShellFacts().environment) const;

  ChildResult Run(const std::string& input, const std::filesystem::path& working_directory = {},
                  const std::vector<std::string>& environment = HostShellFacts().environment,
                  bool unprivileged = false) const;
};
