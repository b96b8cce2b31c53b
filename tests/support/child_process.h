// Runs a program as a child process with given standard input, for
// end-to-end tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Where the child's standard input comes from.
enum class ChildInput {
  kPipe,    // a pipe that delivers `input`, then ends
  kClosed,  // no standard input at all
  kPath,    // `input_path`, opened for reading (a file, a folder, a device)
};

// Where the child's standard output goes.
enum class ChildOutput {
  kFile,               // `output_file`, read back into ChildResult::output
  kClosed,             // no standard output at all
  kPath,               // `output_path`, opened for writing (/dev/full, say)
  kPipeWithoutReader,  // a pipe whose reading end is gone before the child starts
  kReadOnly,           // `output_file`, opened for reading only: every write fails
};

struct ChildRun {
  std::filesystem::path program;
  std::filesystem::path working_directory;
  std::string input;                     // written to its standard input, then closed
  std::vector<std::string> environment;  // "NAME=value", added to this process's own
  std::filesystem::path output_file;     // its standard output is redirected here
  ChildInput input_kind = ChildInput::kPipe;
  std::filesystem::path input_path;
  // The input pipe reaches the child in non-blocking mode, as it may where
  // another program shares it and has made it so.
  bool nonblocking_input = false;
  ChildOutput output_kind = ChildOutput::kFile;
  std::filesystem::path output_path;
  // POSIX only: start it as an unprivileged user where this process is root,
  // from an already opened executable, so that it can run in a folder it may
  // not enter. The non-blocking input is POSIX only too.
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

// Starts `run`, writes its input, closes it and waits for the end.
ChildResult RunChild(const ChildRun& run);

// A child started with StartChild whose standard input (a pipe) stays open
// until CloseInput, so that a test can look at it while it waits for input.
struct RunningChild {
  long id = -1;  // the process id; -1 when it could not be started
  // The writing end of its input pipe (a descriptor on POSIX, a handle on
  // Windows), or -1.
  std::intptr_t input = -1;
  std::intptr_t process = 0;  // Windows: a handle to the process
  std::chrono::steady_clock::time_point deadline;
};

// Starts the child; `run.input` is not written.
RunningChild StartChild(const ChildRun& run);

// Writes bytes to the child's standard input; false once it stopped reading.
bool SendInput(RunningChild& child, const std::string& bytes);

// Ends the child's standard input.
void CloseInput(RunningChild& child);

// Whether the child has not ended yet.
bool IsRunning(const RunningChild& child);

// What the running child holds for the files it opened and the programs it
// started: on POSIX its open descriptors and its ended but unwaited-for
// (zombie) children, on Windows its handles. A program that lets go of what
// it started holds as much after a thousand starts as after one.
std::size_t CountHeld(const RunningChild& child);

// Closes its input, waits for the end until the run's time limit (counted
// from the start) and kills it there.
ChildResult FinishChild(RunningChild& child, const ChildRun& run);
