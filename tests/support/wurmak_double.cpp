// Stands in for the auto-clicker in tests: appends one line, its working
// directory (UTF-8) and its argument count, to "<own name>.launches" beside
// itself.
#include <filesystem>
#include <fstream>
#include <string>

#include "platform_facts.h"

int main(int argc, char** /*argv*/) {
  std::filesystem::path record = OwnExecutablePath();
  if (record.empty()) return 1;
  record.replace_extension(".launches");
  const std::u8string directory = std::filesystem::current_path().u8string();
  std::string line(directory.begin(), directory.end());
  line += '\t';
  line += std::to_string(argc);
  line += '\n';
  std::ofstream out(record, std::ios::binary | std::ios::app);
  out << line << std::flush;
  return out ? 0 : 1;
}
