#include <windows.h>

#include "services/services.h"

const PlatformFamily kHostPlatform = PlatformFamily::kWindows;

namespace {
// A path of 32767 UTF-16 units may take twice as many bytes in a double-byte
// code page; past this, the path is never used.
constexpr DWORD kMaxPathBytes = 65536;
constexpr UINT kGbCodePage = 936;
}  // namespace

void CaptureProgramLocation() {
  program_location = {nullptr, nullptr};
  for (DWORD size = MAX_PATH; size / 2 < kMaxPathBytes; size *= 2) {
    char* buffer = static_cast<char*>(AllocBlock(size));
    const DWORD length = GetModuleFileNameA(nullptr, buffer, size);
    // A full buffer means a cut path; in a double-byte code page the cut may
    // fall one byte short of the end rather than split a character.
    if (length == 0 || length >= size - 1) {
      FreeBlock(buffer);
      if (length == 0) return;
      continue;
    }
    SetProgramLocation(buffer, length, '\\', GetACP() == kGbCodePage);
    FreeBlock(buffer);
    return;
  }
}

bool EnterDirectory(Text directory) {
  return directory != nullptr && SetCurrentDirectoryA(directory) != 0;
}

bool LaunchProgram(Text command_line, bool wait_for_end, int window_mode) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(ShowWindowCommandFor(window_mode));
  PROCESS_INFORMATION process = {};
  // CreateProcessA may write into its command line, so it gets a copy.
  char* writable = const_cast<char*>(TextConcat({command_line}));
  const BOOL created = CreateProcessA(nullptr, writable, nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &process);
  FreeBlock(writable);
  if (!created) return false;
  if (wait_for_end) {
    WaitForSingleObject(process.hProcess, INFINITE);
  } else {
    WaitForInputIdle(process.hProcess, 1000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}
