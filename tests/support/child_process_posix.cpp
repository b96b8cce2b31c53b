#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "child_process.h"
#include "test_files.h"

extern char** environ;

namespace {

// The environment for the child: this process's own, with `overrides`
// replacing or adding variables.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('='));
    bool replaced = false;
    for (const std::string& o : overrides) replaced |= o.substr(0, o.find('=')) == name;
    if (!replaced) result.push_back(variable);
  }
  result.insert(result.end(), overrides.begin(), overrides.end());
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// A copy of `fd` above the standard streams (or -1 for -1), so that setting
// up one standard stream cannot overwrite the source of another even where
// this process runs with some of them closed.
int Lift(int fd) {
  return fd < 0 ? -1 : fcntl(fd, F_DUPFD, 3);
}

// The descriptor the child gets as `target`: -1 leaves it closed.
void Install(int source, int target) {
  if (source < 0) {
    close(target);
  } else {
    dup2(source, target);
  }
}

}  // namespace

RunningChild StartChild(const ChildRun& run) {
  // This process must survive a child that stops reading.
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> environment = ChildEnvironment(run.environment);
  std::vector<char*> envp = Pointers(environment);
  std::string program = run.program.string();
  std::vector<std::string> arguments = {program};
  std::vector<char*> argv = Pointers(arguments);

  RunningChild started;
  started.deadline = std::chrono::steady_clock::now() + run.time_limit;
  int input[2] = {-1, -1};
  int child_input = -1;
  switch (run.input_kind) {
    case ChildInput::kPipe:
      if (pipe2(input, O_CLOEXEC) != 0) return started;
      child_input = input[0];
      if (run.nonblocking_input) fcntl(child_input, F_SETFL, O_NONBLOCK);
      break;
    case ChildInput::kClosed:
      break;
    case ChildInput::kPath:
      child_input = open(run.input_path.c_str(), O_RDONLY | O_CLOEXEC);
      break;
  }
  int child_output = -1;
  switch (run.output_kind) {
    case ChildOutput::kFile:
      child_output = open(run.output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      break;
    case ChildOutput::kClosed:
      break;
    case ChildOutput::kPath:
      child_output = open(run.output_path.c_str(), O_WRONLY | O_CLOEXEC);
      break;
    case ChildOutput::kReadOnly:
      child_output = open(run.output_file.c_str(), O_RDONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
      break;
    case ChildOutput::kPipeWithoutReader: {
      int ends[2];
      if (pipe2(ends, O_CLOEXEC) != 0) return started;
      close(ends[0]);
      child_output = ends[1];
      break;
    }
  }
  const int executable = run.unprivileged ? open(program.c_str(), O_RDONLY | O_CLOEXEC) : -1;
  const std::string directory = run.working_directory.string();

  const pid_t child = fork();
  if (child == 0) {
    const int new_input = Lift(child_input);
    const int new_output = Lift(child_output);
    const int image = Lift(executable);
    Install(new_input, STDIN_FILENO);
    Install(new_output, STDOUT_FILENO);
    // The child starts as from a login shell: no signal ignored or blocked
    // because this process ignores or blocks it.
    signal(SIGPIPE, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (chdir(directory.c_str()) != 0) _exit(126);
    if (run.unprivileged && geteuid() == 0) {
      const gid_t nobody_group = 65534;
      const uid_t nobody = 65534;
      if (setgroups(0, nullptr) != 0 || setgid(nobody_group) != 0 || setuid(nobody) != 0) {
        _exit(126);
      }
    }
    // Tests copy executables from several threads, and the streams that copy
    // them are inherited across fork: nothing but the standard streams (and
    // the opened executable) may reach the program.
    if (image < 0) {
      close_range(3, ~0U, 0);
    } else {
      if (image > 3) close_range(3, image - 1, 0);
      close_range(image + 1, ~0U, 0);
    }
    // Another thread's child may still hold a copy open for writing for the
    // moment between its fork and its own close_range.
    for (int attempt = 0; attempt < 200; ++attempt) {
      if (run.unprivileged) {
        fexecve(image, argv.data(), envp.data());
      } else {
        execve(program.c_str(), argv.data(), envp.data());
      }
      if (errno != ETXTBSY) break;
      usleep(5000);
    }
    _exit(127);
  }
  if (child_input >= 0) close(child_input);
  if (child_output >= 0) close(child_output);
  if (executable >= 0) close(executable);
  if (child < 0) {
    if (input[1] >= 0) close(input[1]);
    return started;
  }
  started.id = child;
  started.input = input[1];
  return started;
}

bool SendInput(RunningChild& child, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t step =
        write(static_cast<int>(child.input), bytes.data() + done, bytes.size() - done);
    if (step < 0 && errno == EINTR) continue;
    if (step <= 0) return false;  // the child stopped reading
    done += static_cast<std::size_t>(step);
  }
  return true;
}

void CloseInput(RunningChild& child) {
  if (child.input >= 0) close(static_cast<int>(child.input));
  child.input = -1;
}

bool IsRunning(const RunningChild& child) {
  return child.id >= 0 && waitpid(static_cast<pid_t>(child.id), nullptr, WNOHANG) == 0;
}

std::size_t CountHeld(const RunningChild& child) {
  namespace fs = std::filesystem;
  std::size_t held = 0;
  std::error_code ignored;
  const fs::path own = fs::path("/proc") / std::to_string(child.id);
  for (auto it = fs::directory_iterator(own / "fd", ignored); it != fs::directory_iterator();
       it.increment(ignored)) {
    ++held;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", ignored)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    // "<pid> (<name>) <state> <parent> ...": the name may hold blanks and
    // parentheses, so the fields are counted from the last ')'.
    const std::string stat = ReadWholeFile(entry.path() / "stat");
    const std::size_t name_end = stat.rfind(')');
    if (name_end == std::string::npos || name_end + 4 >= stat.size()) continue;
    const char state = stat[name_end + 2];
    const long parent = std::strtol(stat.c_str() + name_end + 4, nullptr, 10);
    held += parent == child.id && state == 'Z';
  }
  return held;
}

ChildResult FinishChild(RunningChild& child, const ChildRun& run) {
  CloseInput(child);
  ChildResult result;
  if (child.id < 0) return result;
  const pid_t pid = static_cast<pid_t>(child.id);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > child.deadline) {
      result.timed_out = true;
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  child.id = -1;
  result.exited = !result.timed_out && WIFEXITED(status);
  result.exit_status = result.exited ? WEXITSTATUS(status) : -1;
  if (run.output_kind == ChildOutput::kFile) result.output = ReadWholeFile(run.output_file);
  return result;
}
