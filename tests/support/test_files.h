// Temporary folders and files for tests.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>

// Held while a child is started with inherited handles, and while a file is
// open here. A Windows child takes every inheritable handle open at the
// moment it is created, and the C runtime opens files inheritable: a copy of
// an executable still open for writing in another test's thread would stay
// open in that child, and starting the copy would fail for as long as the
// child lives.
std::mutex& ChildStartLock();

// A new empty folder under the system's temporary folder, by its real path;
// removed with everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Copies an executable, keeping it executable.
void CopyExecutable(const std::filesystem::path& from, const std::filesystem::path& to);

std::string ReadWholeFile(const std::filesystem::path& file);

void WriteWholeFile(const std::filesystem::path& file, const std::string& bytes);
