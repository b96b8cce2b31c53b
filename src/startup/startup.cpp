#include "startup/startup.h"

#include <cstdlib>
#include <cstring>

#include "services/services.h"
#include "shell/shell.h"
#include "text/text.h"

namespace {

// The end-routine list: routines in registration order, without duplicates.
struct EndRoutineList {
  EndRoutine* routines;
  std::size_t count;
  std::size_t capacity;
};

EndRoutineList end_routines = {nullptr, 0, 0};

// The shell keeps no program-wide variables, so there is nothing to set up
// and nothing to release.
void InitShellVariables() {}
void ReleaseShellVariables() {}

}  // namespace

void RegisterEndRoutine(EndRoutine routine) {
  for (std::size_t i = 0; i < end_routines.count; ++i) {
    if (end_routines.routines[i] == routine) return;
  }
  if (end_routines.count == end_routines.capacity) {
    const std::size_t capacity = end_routines.capacity == 0 ? 4 : end_routines.capacity * 2;
    auto* grown = static_cast<EndRoutine*>(AllocBlock(capacity * sizeof(EndRoutine)));
    if (end_routines.count != 0) {
      std::memcpy(grown, end_routines.routines, end_routines.count * sizeof(EndRoutine));
    }
    FreeBlock(end_routines.routines);
    end_routines.routines = grown;
    end_routines.capacity = capacity;
  }
  end_routines.routines[end_routines.count++] = routine;
}

void RunEndRoutines() {
  // A routine that registers another adds it to the end, and it runs too.
  for (std::size_t i = 0; i < end_routines.count; ++i) end_routines.routines[i]();
  FreeBlock(end_routines.routines);
  end_routines = {nullptr, 0, 0};
}

std::size_t CountEndRoutines() {
  return end_routines.count;
}

int ProgramEntry() {
  InitHeap();
  CaptureProgramLocation();
  // Released at normal end, so that a clean shut-down leaves nothing behind.
  RegisterEndRoutine(ReleaseProgramLocation);
  // Programs started later inherit this; when it fails the inherited
  // current directory stays.
  EnterDirectory(program_location.directory);
  PrepareStandardStreams();
  InitShellVariables();
  RegisterEndRoutine(ReleaseShellVariables);
  RunShell();
  // The shell opens no window, so there are no window messages to dispatch.
  return 0;
}

void ShutDown() {
  RunEndRoutines();
  std::exit(0);
}
