// Stands in for the auto-clicker in tests: appends one line, its working
// directory (UTF-8) and its argument count, to "<own name>.launches" beside
// itself. While "<own name>.linger" lies beside it, it then stays running (a
// minute at most), and when that file has gone it appends a line to
// "<own name>.finished".
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform_facts.h"

int main(int argc, char** /*argv*/) {
  const std::filesystem::path self = OwnExecutablePath();
  if (self.empty()) return 1;
  const std::u8string directory = std::filesystem::current_path().u8string();
  std::string line(directory.begin(), directory.end());
  line += '\t';
  line += std::to_string(argc);
  line += '\n';
  if (!AppendToFile(std::filesystem::path(self).replace_extension(".launches"), line)) return 1;
  const std::filesystem::path linger = std::filesystem::path(self).replace_extension(".linger");
  if (!std::filesystem::exists(linger)) return 0;
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (std::filesystem::exists(linger) && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return AppendToFile(std::filesystem::path(self).replace_extension(".finished"), "finished\n") ? 0
                                                                                                : 1;
}
