// The built shell copied into a folder of its own, beside a stand-in for the
// auto-clicker, and run from there as a child process.
#pragma once

#include <filesystem>
#include <string>

#include "child_process.h"
#include "shell_words.h"
#include "test_files.h"

// A folder holding a copy of the shell and, unless told otherwise, of the
// auto-clicker's stand-in, which records each of its starts in LaunchRecord().
struct Installation {
  TempFolder root;
  std::filesystem::path directory;
  std::filesystem::path program;

  explicit Installation(const std::string& folder_name = "shell", bool with_auto_clicker = true);

  std::filesystem::path LaunchRecord() const { return directory / "wurmak.launches"; }

  std::string Prompt(const ShellWords& words = Utf8Words()) const;

  // The whole output of a run that showed `prompts` prompts.
  std::string Expected(int prompts, const ShellWords& words = Utf8Words()) const;

  // A run of the shell from `working_directory` (the root folder when empty)
  // with `input` and output captured in a file.
  ChildRun Prepare(const std::string& input, const std::filesystem::path& working_directory = {},
                   const std::string& locale = "C") const;

  ChildResult Run(const std::string& input, const std::filesystem::path& working_directory = {},
                  bool unprivileged = false, const std::string& locale = "C") const;
};

// How many starts a launch record holds.
int CountLaunches(const std::filesystem::path& record);

// Launches are recorded by detached programs, which may finish after the
// shell: waits for the expected count, then a little longer for any extra,
// and returns the count.
int AwaitLaunches(const std::filesystem::path& record, int expected);
