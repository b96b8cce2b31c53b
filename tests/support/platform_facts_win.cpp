#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform_facts.h"

namespace {
constexpr UINT kGbCodePage = 936;

bool UnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}
}  // namespace

const ShellFacts& HostShellFacts() {
  // The facts hold for the code page the shell is made for; the test runner
  // gives the tests a Chinese locale for it.
  if (GetACP() != kGbCodePage) {
    std::fprintf(stderr, "These tests need the ANSI code page 936, not %u.\n", GetACP());
    std::abort();
  }
  static const ShellFacts facts = {
      ".exe",
      "wurmak.exe",
      {},
      "\xBB\xB6\xD3\xAD\xC0\xB4\xB5\xBD QuorvaneShell \r\r\n",
      "QW\xA3\xBA",
      "start \xC1\xAC\xB5\xE3\xC6\xF7",
      "it's %PATH% & ^ (x86) $HOME; a,b=c",
      -1,
      false,
      InputMode::kText,
      false,
      "",
      UnderWine() ? 3 : 0,
  };
  return facts;
}

std::string NativeBytes(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                      nullptr, nullptr);
  return bytes;
}

std::filesystem::path PathFromNativeBytes(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  return wide;
}

std::filesystem::path BuildTreeFile(const char* build_path) {
  // Under Wine the build machine's files are reached through a drive letter;
  // Wine's kernel32 says which. A build on Windows names its files already.
  using ToDos = LPWSTR(CDECL*)(LPCSTR);
  const auto to_dos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
  if (to_dos == nullptr || build_path[0] != '/') return build_path;
  LPWSTR dos = to_dos(build_path);
  if (dos == nullptr) return build_path;
  std::filesystem::path path(dos);
  HeapFree(GetProcessHeap(), 0, dos);
  return path;
}

std::filesystem::path OwnExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool AppendToFile(const std::filesystem::path& file, const std::string& bytes) {
  // A handle with the right to append only writes at the end of the file,
  // as one piece.
  HANDLE handle = CreateFileW(file.c_str(), FILE_APPEND_DATA,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(handle);
  return ok && written == bytes.size();
}
