// Windows-only test helpers: what the process holds and where drives lead.
#pragma once

#include <cstddef>
#include <filesystem>

// The number of handles a process holds (this one by default), from the
// system's handle table. (Wine 8's GetProcessHandleCount reports 0 whatever
// the process holds.)
std::size_t CountHandles(unsigned long process_id = 0);

// Makes drive `letter` (say 'Q') lead to `folder`, for as long as the object
// lives; ok() is false when no mapping could be made. Under Wine the drive is
// a link in the prefix's dosdevices folder, made by Wine's mount manager; on
// Windows it is a DOS device name.
class DriveMapping {
 public:
  DriveMapping(char letter, const std::filesystem::path& folder);
  ~DriveMapping();
  DriveMapping(const DriveMapping&) = delete;
  DriveMapping& operator=(const DriveMapping&) = delete;
  bool ok() const { return ok_; }

 private:
  char letter_;
  bool ok_ = false;
  bool through_wine_ = false;
};

// A drive letter that leads nowhere now, or '\0'.
char FreeDriveLetter();
