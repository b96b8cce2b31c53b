// A second implementation of the console and process services, for the fuzz
// target: standard input comes from a byte string, output is kept in memory,
// the pause returns at once and launches are recorded instead of started.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/encoding.h"

struct RecordedLaunch {
  int after_read;  // how many lines had been asked for when it happened
  std::string command_line;
  bool wait_for_end;
  int window_mode;
};

// Everything the doubles read and record, for one run of the shell.
struct FakeConsole {
  // Set before the run.
  std::string_view input;
  LiteralForm form = LiteralForm::kUtf8;
  bool interactive = false;      // whether standard output is a terminal
  bool launches_succeed = true;  // what LaunchProgram reports
  std::string directory;         // where the executable lies
  // Recorded during the run.
  std::size_t position = 0;  // bytes of input consumed
  int reads = 0;             // lines asked for
  std::string output;        // standard output
  std::string error_output;  // standard error
  std::vector<int> pauses;   // milliseconds, in order
  std::vector<std::string> entered_directories;
  std::vector<RecordedLaunch> launches;
};

// The one console the doubles work on.
extern FakeConsole fake_console;
