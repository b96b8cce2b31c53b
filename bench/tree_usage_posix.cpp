// Runs a command and reports what it and every process it started cost, the
// processes it left behind included: this process becomes their subreaper,
// so orphans are handed to it and waited for, and their CPU time adds to its
// children's usage.
//
//   bench-tree-usage RESULT_FILE PROGRAM [ARGUMENT...]
//
// RESULT_FILE receives one line: user seconds, system seconds, the largest
// peak resident size of any of the processes in KiB, the number of
// processes this tool waited for, and the command's exit status.
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s RESULT_FILE PROGRAM [ARGUMENT...]\n", argv[0]);
    return 2;
  }
  if (prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
    std::perror("prctl(PR_SET_CHILD_SUBREAPER)");
    return 2;
  }
  const pid_t command = fork();
  if (command < 0) {
    std::perror("fork");
    return 2;
  }
  if (command == 0) {
    execvp(argv[2], argv + 2);
    std::perror(argv[2]);
    _exit(127);
  }
  int command_status = -1;
  long waited = 0;
  while (true) {
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == EINTR) continue;
      break;  // ECHILD: nothing is left
    }
    ++waited;
    if (pid == command) {
      command_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
  }
  rusage usage = {};
  getrusage(RUSAGE_CHILDREN, &usage);
  std::FILE* result = std::fopen(argv[1], "w");
  if (result == nullptr) {
    std::perror(argv[1]);
    return 2;
  }
  std::fprintf(result, "%ld.%06ld %ld.%06ld %ld %ld %d\n", static_cast<long>(usage.ru_utime.tv_sec),
               static_cast<long>(usage.ru_utime.tv_usec), static_cast<long>(usage.ru_stime.tv_sec),
               static_cast<long>(usage.ru_stime.tv_usec), usage.ru_maxrss, waited, command_status);
  return std::fclose(result) == 0 ? 0 : 2;
}
