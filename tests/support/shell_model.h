// What the shell must do with a given standard input, worked out here from
// its rules alone, apart from its code: lines end at a line feed; only the
// first 2048 bytes of a line count; trailing bytes below 0x20 are dropped; a
// line that is exactly the launch command starts the auto-clicker; "exit", or
// finding nothing more to read, ends the shell.
#pragma once

#include <string_view>
#include <vector>

struct ModelRun {
  int reads = 0;                  // lines asked for, the one that found the end included
  std::vector<int> launch_reads;  // after which read (1-based) each start happens
  bool reached_end = false;       // it ended because nothing more could be read
};

// How the platform's C runtime hands standard input to the shell.
enum class InputMode {
  kBinary,  // the bytes as they arrive (POSIX)
  // Windows text mode: CR LF arrives as LF, and Ctrl+Z (0x1A) ends a piped
  // input for good, wherever it stands.
  kText,
};

ModelRun ModelShell(std::string_view input, std::string_view start_command,
                    InputMode mode = InputMode::kBinary);
