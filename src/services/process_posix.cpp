#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "services/services.h"

extern char** environ;

const PlatformFamily kHostPlatform = PlatformFamily::kPosix;

void CaptureProgramLocation() {
  // The kernel's link to the running executable has no length limit of its
  // own, so the buffer grows until the whole path fits.
  std::size_t size = 256;
  while (true) {
    char* buffer = static_cast<char*>(AllocBlock(size));
    const ssize_t length = readlink("/proc/self/exe", buffer, size);
    if (length < 0) {
      FreeBlock(buffer);
      program_location = {nullptr, nullptr};
      return;
    }
    if (static_cast<std::size_t>(length) < size) {
      // Every '/' is a separator here, whatever the encoding of the names.
      SetProgramLocation(buffer, static_cast<std::size_t>(length), '/', false);
      FreeBlock(buffer);
      return;
    }
    FreeBlock(buffer);
    size *= 2;
  }
}

bool EnterDirectory(Text directory) {
  return directory != nullptr && chdir(directory) == 0;
}

namespace {

int WaitForChild(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

// How a program is started: argv[0] (no search of PATH) with default SIGPIPE
// handling. Standard streams that are a terminal are shared; redirected ones
// reach the program as /dev/null, so it never holds the shell's output open.
struct SpawnSettings {
  char** argv;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

void PrepareSpawn(SpawnSettings* settings, char** argv, bool own_session) {
  settings->argv = argv;
  posix_spawn_file_actions_init(&settings->actions);
  posix_spawnattr_init(&settings->attributes);
  for (int fd = 0; fd <= 2; ++fd) {
    if (!isatty(fd)) {
      posix_spawn_file_actions_addopen(&settings->actions, fd, "/dev/null",
                                       fd == 0 ? O_RDONLY : O_WRONLY, 0);
    }
  }
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&settings->attributes, &defaults);
  short flags = POSIX_SPAWN_SETSIGDEF;
  if (own_session) flags |= POSIX_SPAWN_SETSID;
  posix_spawnattr_setflags(&settings->attributes, flags);
}

void ReleaseSpawn(SpawnSettings* settings) {
  posix_spawnattr_destroy(&settings->attributes);
  posix_spawn_file_actions_destroy(&settings->actions);
}

bool Spawn(SpawnSettings* settings, pid_t* pid) {
  return posix_spawn(pid, settings->argv[0], &settings->actions, &settings->attributes,
                     settings->argv, environ) == 0;
}

// The intermediate process's whole life: start the program, then end with a
// status that tells whether it started.
int StartFromIntermediate(void* settings) {
  pid_t child = 0;
  _exit(Spawn(static_cast<SpawnSettings*>(settings), &child) ? 0 : 1);
}

// Enough for posix_spawn, which runs the program's start on a stack of its
// own, and for the dynamic linker binding it on first use.
constexpr std::size_t kIntermediateStackBytes = 64 * 1024;

// A program that is not waited for is started by a short-lived intermediate
// process, so that it is never this process's child and leaves no zombie
// behind; the intermediate's exit status carries the result of the start.
// Like posix_spawn's own child, the intermediate shares this process's
// memory, on a stack of its own, while this process waits for it to end
// (CLONE_VM, CLONE_VFORK): no copy of the address space is made, which would
// cost more than starting the program itself. It touches nothing but the
// settings prepared here, and this process installs no signal handler that
// could run in it.
bool SpawnDetached(char** argv) {
  SpawnSettings settings;
  PrepareSpawn(&settings, argv, true);
  alignas(16) unsigned char stack[kIntermediateStackBytes];
  const pid_t intermediate = clone(StartFromIntermediate, stack + sizeof stack,
                                   CLONE_VM | CLONE_VFORK | SIGCHLD, &settings);
  const int status = intermediate < 0 ? -1 : WaitForChild(intermediate);
  ReleaseSpawn(&settings);
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool LaunchProgram(Text command_line, bool wait_for_end, int /*window_mode: no windows here*/) {
  char** argv = SplitPosixCommandLine(command_line);
  if (argv == nullptr) return false;
  bool started = false;
  if (wait_for_end) {
    SpawnSettings settings;
    PrepareSpawn(&settings, argv, false);
    pid_t child = 0;
    started = Spawn(&settings, &child);
    if (started) WaitForChild(child);
    ReleaseSpawn(&settings);
  } else {
    started = SpawnDetached(argv);
  }
  FreeBlock(argv);
  return started;
}
