// Runs a program as a child process with given standard input, for
// end-to-end tests.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

struct ChildRun {
  std::filesystem::path program;
  std::filesystem::path working_directory;
  std::string input;                     // written to its standard input, then closed
  std::vector<std::string> environment;  // "NAME=value", added to this process's own
  std::filesystem::path output_file;     // its standard output is redirected here
  // POSIX only: start it as an unprivileged user where this process is root,
  // from an already opened executable, so that it can run in a folder it may
  // not enter.
  bool unprivileged = false;
  std::chrono::milliseconds time_limit{20000};
};

struct ChildResult {
  bool timed_out = false;  // it was killed at the time limit
  bool exited = false;     // it ended by itself with exit_status
  // The status as a parent sees it: on Windows the whole 32-bit exit code
  // (ExitProcess(-1) gives -1), on POSIX its low eight bits.
  int exit_status = -1;
  std::string output;  // the bytes of output_file once it ended
};

ChildResult RunChild(const ChildRun& run);
