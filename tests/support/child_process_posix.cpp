#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
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

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t step = write(fd, bytes.data() + done, bytes.size() - done);
    if (step < 0 && errno == EINTR) continue;
    if (step <= 0) return;  // the child stopped reading
    done += static_cast<std::size_t>(step);
  }
}

}  // namespace

ChildResult RunChild(const ChildRun& run) {
  signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> environment = ChildEnvironment(run.environment);
  std::vector<char*> envp = Pointers(environment);
  std::string program = run.program.string();
  std::vector<std::string> arguments = {program};
  std::vector<char*> argv = Pointers(arguments);

  int input[2];
  if (pipe2(input, O_CLOEXEC) != 0) return {};
  const int output = open(run.output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  const int executable = run.unprivileged ? open(program.c_str(), O_RDONLY | O_CLOEXEC) : -1;
  const std::string directory = run.working_directory.string();

  const pid_t child = fork();
  if (child == 0) {
    dup2(input[0], STDIN_FILENO);
    dup2(output, STDOUT_FILENO);
    if (chdir(directory.c_str()) != 0) _exit(126);
    if (run.unprivileged) {
      if (geteuid() == 0) {
        const gid_t nobody_group = 65534;
        const uid_t nobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(nobody_group) != 0 || setuid(nobody) != 0) {
          _exit(126);
        }
      }
      fexecve(executable, argv.data(), envp.data());
    } else {
      execve(program.c_str(), argv.data(), envp.data());
    }
    _exit(127);
  }
  close(input[0]);
  close(output);
  if (executable >= 0) close(executable);

  std::thread writer([&] {
    WriteAll(input[1], run.input);
    close(input[1]);
  });

  ChildResult result;
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + run.time_limit;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      result.timed_out = true;
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  writer.join();
  result.exited = !result.timed_out && WIFEXITED(status);
  result.exit_status = result.exited ? WEXITSTATUS(status) : -1;
  result.output = ReadWholeFile(run.output_file);
  return result;
}
