// Stands in for the auto-clicker in tests: appends one line, its working
// directory and its argument count, to "<own name>.launches" beside itself.
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 1) return 1;
  std::filesystem::path record = argv[0];
  record.replace_extension(".launches");
  std::string line = std::filesystem::current_path().string();
  line += '\t';
  line += std::to_string(argc);
  line += '\n';
  std::ofstream out(record, std::ios::binary | std::ios::app);
  out << line << std::flush;
  return out ? 0 : 1;
}
