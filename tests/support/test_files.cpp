#include "test_files.h"

#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

std::mutex& ChildStartLock() {
  static std::mutex lock;
  return lock;
}

TempFolder::TempFolder() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path base = fs::canonical(fs::temp_directory_path());
  for (;;) {
    fs::path candidate = base / ("qs-test-" + std::to_string(random()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Make every folder enterable again before removing it.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored)) fs::permissions(it->path(), fs::perms::owner_all, ignored);
  }
  fs::remove_all(path_, ignored);
}

void CopyExecutable(const fs::path& from, const fs::path& to) {
  const std::lock_guard<std::mutex> hold(ChildStartLock());
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::permissions(to, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec);
}

std::string ReadWholeFile(const fs::path& file) {
  const std::lock_guard<std::mutex> hold(ChildStartLock());
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const fs::path& file, const std::string& bytes) {
  const std::lock_guard<std::mutex> hold(ChildStartLock());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}
