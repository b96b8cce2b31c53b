#include "shell_model.h"

#include <algorithm>
#include <string>

namespace {

std::string AsTextMode(std::string_view input) {
  input = input.substr(0, input.find('\x1A'));
  std::string out;
  out.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (input[i] == '\r' && i + 1 < input.size() && input[i + 1] == '\n') continue;
    out += input[i];
  }
  return out;
}

}  // namespace

ModelRun ModelShell(std::string_view input, std::string_view start_command, InputMode mode) {
  if (mode == InputMode::kText) return ModelShell(AsTextMode(input), start_command);
  constexpr std::size_t kKeptBytes = 2048;
  ModelRun run;
  std::string_view rest = input;
  while (true) {
    ++run.reads;
    if (rest.empty()) {
      run.reached_end = true;
      return run;
    }
    const std::size_t line_feed = rest.find('\n');
    std::string_view line = rest.substr(0, line_feed);
    rest = line_feed == std::string_view::npos ? std::string_view() : rest.substr(line_feed + 1);
    line = line.substr(0, std::min(line.size(), kKeptBytes));
    while (!line.empty() && static_cast<unsigned char>(line.back()) < 0x20) line.remove_suffix(1);
    if (line == start_command) run.launch_reads.push_back(run.reads);
    if (line == "exit") return run;
  }
}
