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

ModelRun ModelShell(std::string_view input, std::string_view start_command);
