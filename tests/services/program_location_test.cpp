#include <gtest/gtest.h>

#include <string>

#include "services/services.h"

namespace {

std::string Show(Text t) {
  return t == nullptr ? "<null>" : std::string(t);
}

struct LocationCase {
  std::string path;
  char separator;
  bool gb_double_byte;
  std::string directory;  // "<null>" for the empty directory
  std::string file_name;
};

TEST(ProgramLocation, SplitsTheExecutablePathAndHandsOutFreshDirectoryCopies) {
  const LocationCase cases[] = {
      {"D:\\Tools\\shell.exe", '\\', true, "D:\\Tools", "shell.exe"},
      {"C:\\shell.exe", '\\', true, "C:", "shell.exe"},
      {"shell.exe", '\\', true, "<null>", "shell.exe"},
      {"C:\\\x81\x5C\\shell\x81\x5C.exe", '\\', true, "C:\\\x81\x5C", "shell\x81\x5C.exe"},
      {"/opt/quorvane/quorvane-shell", '/', false, "/opt/quorvane", "quorvane-shell"},
      {"/quorvane-shell", '/', false, "<null>", "quorvane-shell"},
  };
  for (const LocationCase& c : cases) {
    SetProgramLocation(c.path.data(), c.path.size(), c.separator, c.gb_double_byte);
    EXPECT_EQ(Show(program_location.file_name), c.file_name) << c.path;
    Text directory = GetProgramDirectory();
    EXPECT_EQ(Show(directory), c.directory) << c.path;
    if (directory != nullptr) {
      EXPECT_NE(directory, program_location.directory);
    }
    FreeBlock(directory);
    FreeBlock(program_location.directory);
    FreeBlock(program_location.file_name);
    program_location = {nullptr, nullptr};
  }
}

}  // namespace
