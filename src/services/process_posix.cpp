#include <cerrno>
#include <csignal>

#include <fcntl.h>
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

// Starts argv[0] (no search of PATH) with default SIGPIPE handling. Standard
// streams that are a terminal are shared; redirected ones reach the child as
// /dev/null, so a started program never holds the shell's output open.
bool SpawnChild(char** argv, bool own_session, pid_t* pid) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  for (int fd = 0; fd <= 2; ++fd) {
    if (!isatty(fd)) {
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    }
  }
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  short flags = POSIX_SPAWN_SETSIGDEF;
  if (own_session) flags |= POSIX_SPAWN_SETSID;
  posix_spawnattr_setflags(&attributes, flags);
  const int failure = posix_spawn(pid, argv[0], &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return failure == 0;
}

// A program that is not waited for is started by a short-lived intermediate
// process, so that it is never this process's child and leaves no zombie
// behind; the intermediate's exit status carries the result of the start.
bool SpawnDetached(char** argv) {
  const pid_t intermediate = fork();
  if (intermediate < 0) return false;
  if (intermediate == 0) {
    pid_t child = 0;
    _exit(SpawnChild(argv, true, &child) ? 0 : 1);
  }
  const int status = WaitForChild(intermediate);
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool LaunchProgram(Text command_line, bool wait_for_end, int /*window_mode: no windows here*/) {
  char** argv = SplitPosixCommandLine(command_line);
  if (argv == nullptr) return false;
  bool started = false;
  if (wait_for_end) {
    pid_t child = 0;
    started = SpawnChild(argv, false, &child);
    if (started) WaitForChild(child);
  } else {
    started = SpawnDetached(argv);
  }
  FreeBlock(argv);
  return started;
}
