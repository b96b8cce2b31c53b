#include <fcntl.h>
#include <unistd.h>

#include "platform_facts.h"

const ShellFacts& HostShellFacts() {
  // In the C locale the shell speaks UTF-8.
  static const ShellFacts facts = {
      "",
      "wurmak",
      {"LC_ALL=C"},
      "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0 QuorvaneShell \r\n",
      "QW\xEF\xBC\x9A",
      "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8",
      "it's \"quoted\" \\ $HOME",
      255,
      true,
      InputMode::kBinary,
      true,
      "/dev/full",
      0,
  };
  return facts;
}

std::string NativeBytes(const std::filesystem::path& path) {
  return path.string();
}

std::filesystem::path PathFromNativeBytes(const std::string& bytes) {
  return bytes;
}

std::filesystem::path BuildTreeFile(const char* build_path) {
  return build_path;
}

std::filesystem::path OwnExecutablePath() {
  return std::filesystem::read_symlink("/proc/self/exe");
}

bool AppendToFile(const std::filesystem::path& file, const std::string& bytes) {
  const int fd = open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(fd) == 0 && written;
}
