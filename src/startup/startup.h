// The frame around the shell: start-up, the end routines and shut-down.
#pragma once

#include <cstddef>

using EndRoutine = void (*)();

// Adds `routine` to the end of the end-routine list unless it is there.
void RegisterEndRoutine(EndRoutine routine);

// Calls every registered routine once, in registration order, then empties
// the list.
void RunEndRoutines();

// How many routines the list holds now.
std::size_t CountEndRoutines();

// Start-up, then the shell. Returns 0.
int ProgramEntry();

// Runs the end routines and ends the process normally with status 0, which
// flushes buffered output.
[[noreturn]] void ShutDown();
