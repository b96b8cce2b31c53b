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
