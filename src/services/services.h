// Console and process services: how the shell reaches the console and the
// operating system.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "services/decisions.h"
#include "text/text.h"

// Where the running executable lies, captured once at start-up.
struct ProgramLocation {
  Text directory;  // without a trailing separator; null when empty
  Text file_name;
};

// The process's one ProgramLocation.
extern ProgramLocation program_location;

// Fills program_location from the executable's full path. A path that could
// not be obtained whole leaves both parts empty rather than split a
// truncated one.
void CaptureProgramLocation();

// Sets program_location from the first `length` bytes of a full path, split
// at its last `separator` (see FindLastSeparator); the separator belongs to
// neither part.
void SetProgramLocation(const char* path, std::size_t length, char separator, bool gb_double_byte);

// Frees what CaptureProgramLocation took and leaves both parts empty.
void ReleaseProgramLocation();

// A new copy of the program directory, or null when it is empty.
Text GetProgramDirectory();

// Makes `directory` the current directory; false when that fails.
bool EnterDirectory(Text directory);

// Sets up the standard streams once, before any other console operation:
// output fully buffered in 4096-byte blocks unless it is a terminal, and a
// broken output never ends the process.
void PrepareStandardStreams();

// Writes the texts in order to standard output, or to standard error when
// `stream` is 2; nulls write nothing. On a terminal each call is flushed
// before it returns. A failed write goes undetected.
void WriteOutput(std::initializer_list<Text> texts);
void WriteOutput(int stream, std::initializer_list<Text> texts);

// True when standard output is an interactive terminal.
bool IsOutputInteractive();

// The longest line ReadInputLine delivers, in bytes.
constexpr std::size_t kMaxLineBytes = 2048;

// Reads one line from standard input: at most its first kMaxLineBytes bytes,
// the rest of a longer line read and discarded up to its line feed. Trailing
// bytes below 0x20 are removed; a NUL byte left inside the line is replaced
// by kEmbeddedNulStandIn. Returns null for an empty line. `*ended` is set when
// nothing at all could be read (end of input, or an error before any byte).
Text ReadInputLine(bool* ended);

// Reads the raw bytes of one line, as ReadInputLine describes, and sets
// `*line` and `*count` to them: where standard input buffered them when the
// platform allows, otherwise in `buffer` (room for kMaxLineBytes bytes).
// They stay valid until the next read. Returns false when nothing could be
// read.
bool ReadStandardInputLine(char* buffer, const char** line, std::size_t* count);

// Suspends the caller for `milliseconds`; a negative count counts as 0.
void PauseFor(int milliseconds);

// Starts the program named at the head of `command_line`, passed on
// unchanged. With `wait_for_end`, waits until it ends; otherwise returns
// within about a second. False when the program could not be started.
bool LaunchProgram(Text command_line, bool wait_for_end, int window_mode = kDefaultWindowMode);

// The platform family this build runs on.
extern const PlatformFamily kHostPlatform;
