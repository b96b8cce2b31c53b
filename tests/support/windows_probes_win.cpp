#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "windows_probes.h"

namespace {

// NtQuerySystemInformation's table of every handle in the system.
constexpr ULONG kSystemExtendedHandleInformation = 64;

struct HandleEntry {
  PVOID object;
  ULONG_PTR process_id;
  ULONG_PTR handle;
  ULONG granted_access;
  USHORT creator_back_trace_index;
  USHORT object_type_index;
  ULONG attributes;
  ULONG reserved;
};

struct HandleTable {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// Wine's mount manager defines a drive by the Unix folder it leads to.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(static_cast<ULONG>('m'), 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDriveRequest {
  ULONG size;
  ULONG type;
  ULONG fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;
  USHORT device_offset;
  USHORT label_offset;
};

template <class Function>
Function ExportOf(const char* module, const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(module), name)));
}

// Defines (or, with no folder, removes) a drive through Wine's mount manager.
bool DefineWineDrive(char letter, const char* unix_folder) {
  std::vector<char> request(sizeof(UnixDriveRequest) +
                            (unix_folder ? std::strlen(unix_folder) + 1 : 0));
  auto* drive = reinterpret_cast<UnixDriveRequest*>(request.data());
  drive->size = static_cast<ULONG>(request.size());
  drive->letter = static_cast<WCHAR>(letter - 'A' + 'a');
  drive->type = unix_folder ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
  if (unix_folder) {
    drive->mount_point_offset = sizeof(UnixDriveRequest);
    std::strcpy(request.data() + sizeof(UnixDriveRequest), unix_folder);
  }
  HANDLE manager =
      CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  const BOOL done =
      DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                      nullptr, 0, nullptr, nullptr);
  CloseHandle(manager);
  return done != 0;
}

std::wstring DriveName(char letter) {
  return {static_cast<wchar_t>(letter), L':'};
}

}  // namespace

std::size_t CountHandles(unsigned long process_id) {
  const auto query = ExportOf<QuerySystemInformation>("ntdll.dll", "NtQuerySystemInformation");
  std::vector<char> buffer(1 << 20);
  while (true) {
    ULONG needed = 0;
    const LONG status = query(kSystemExtendedHandleInformation, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) break;
    if (buffer.size() >= (1u << 28)) return 0;
    buffer.resize(buffer.size() * 2);
  }
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  const ULONG_PTR process = process_id != 0 ? process_id : GetCurrentProcessId();
  std::size_t count = 0;
  for (ULONG_PTR i = 0; i < table->count; ++i) count += table->entries[i].process_id == process;
  return count;
}

DriveMapping::DriveMapping(char letter, const std::filesystem::path& folder) : letter_(letter) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto to_unix = ExportOf<ToUnix>("kernel32.dll", "wine_get_unix_file_name");
  if (to_unix != nullptr) {
    char* unix_folder = to_unix(folder.c_str());
    if (unix_folder == nullptr) return;
    ok_ = through_wine_ = DefineWineDrive(letter, unix_folder);
    HeapFree(GetProcessHeap(), 0, unix_folder);
    return;
  }
  ok_ = DefineDosDeviceW(0, DriveName(letter).c_str(), folder.c_str()) != 0;
}

DriveMapping::~DriveMapping() {
  if (!ok_) return;
  if (through_wine_) {
    DefineWineDrive(letter_, nullptr);
  } else {
    DefineDosDeviceW(DDD_REMOVE_DEFINITION, DriveName(letter_).c_str(), nullptr);
  }
}

char FreeDriveLetter() {
  const DWORD used = GetLogicalDrives();
  for (char letter = 'Y'; letter >= 'D'; --letter) {
    if ((used & (1u << (letter - 'A'))) == 0) return letter;
  }
  return '\0';
}
