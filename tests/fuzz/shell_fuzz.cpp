// libFuzzer target: arbitrary bytes through the shell's start-up and its
// whole read-compare-act loop, in one process. The console, the pause and
// program launching are the doubles of services_double.cpp; the rest is the
// program's own code, its line reader included.
//
// The first byte of an input chooses the setting, the rest is standard input:
//   bit 0  the shell speaks CP936 instead of UTF-8
//   bit 1  standard output is a terminal
//   bit 2  launches fail
//   bit 3  the program folder is the input up to its first NUL byte (at most
//          255 bytes), and standard input what follows that NUL
//
// Beyond the sanitizers' own checks, every run must agree with a model of the
// shell worked out apart from its code (tests/support/shell_model.cpp): the
// auto-clicker is started exactly after the reads whose line is the launch
// command, by a command line that names exactly "<folder>/wurmak"; the output
// is the banner and one prompt per read; status 0.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "services/decisions.h"
#include "services/services.h"
#include "services_double.h"
#include "shell_model.h"
#include "shell_words.h"
#include "startup/startup.h"

namespace {

constexpr std::size_t kLongestFolder = 255;

[[noreturn]] void Fail(const char* what, const std::string& detail = "") {
  std::fprintf(stderr, "shell_fuzz: %s %s\n", what, detail.c_str());
  std::abort();
}

void Check(bool holds, const char* what, const std::string& detail = "") {
  if (!holds) Fail(what, detail);
}

// The arguments SplitPosixCommandLine finds in a launch's command line.
std::vector<std::string> Arguments(const std::string& command_line) {
  std::vector<std::string> arguments;
  char** argv = SplitPosixCommandLine(command_line.c_str());
  for (char** argument = argv; argument != nullptr && *argument != nullptr; ++argument) {
    arguments.emplace_back(*argument);
  }
  FreeBlock(argv);
  return arguments;
}

std::string Numbers(const std::vector<int>& numbers) {
  std::string out;
  for (int n : numbers) out += std::to_string(n) + " ";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t setting = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string folder = "/opt/quorvane";
  if (setting & 8) {
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos || nul > kLongestFolder) return -1;  // not worth keeping
    folder = std::string(rest.substr(0, nul));
    rest.remove_prefix(nul + 1);
  }

  fake_console = FakeConsole{};
  fake_console.input = rest;
  fake_console.form = (setting & 1) ? LiteralForm::kCp936 : LiteralForm::kUtf8;
  fake_console.interactive = (setting & 2) != 0;
  fake_console.launches_succeed = (setting & 4) == 0;
  fake_console.directory = folder;

  Check(ProgramEntry() == 0, "status not 0");
  RunEndRoutines();

  const ShellWords& words = (setting & 1) ? Cp936Words() : Utf8Words();
  const ModelRun model = ModelShell(rest, words.start);
  Check(fake_console.reads == model.reads, "reads:",
        std::to_string(fake_console.reads) + " instead of " + std::to_string(model.reads));
  std::vector<int> launch_reads;
  for (const RecordedLaunch& launch : fake_console.launches) {
    launch_reads.push_back(launch.after_read);
    Check(!launch.wait_for_end, "the shell waited for the auto-clicker");
    Check(launch.window_mode == kDefaultWindowMode, "launch window mode",
          std::to_string(launch.window_mode));
    const std::vector<std::string> arguments = Arguments(launch.command_line);
    Check(arguments.size() == 1 && arguments[0] == folder + "/wurmak",
          "launch command line does not name exactly the auto-clicker:", launch.command_line);
  }
  Check(launch_reads == model.launch_reads, "launched after reads",
        Numbers(launch_reads) + "instead of " + Numbers(model.launch_reads));

  std::string expected = words.banner;
  for (int i = 0; i < model.reads; ++i) expected += words.prompt_head + folder + ">";
  if (model.reached_end && fake_console.interactive) expected += "\n";
  Check(fake_console.output == expected, "output differs");
  Check(fake_console.error_output.empty(), "wrote to standard error");
  Check(fake_console.pauses == std::vector<int>{1000}, "pauses", Numbers(fake_console.pauses));
  Check(fake_console.entered_directories == std::vector<std::string>{folder},
        "did not enter the program folder");

  FreeBlock(program_location.directory);
  FreeBlock(program_location.file_name);
  program_location = {nullptr, nullptr};
  return 0;
}
