#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <thread>

#include "child_process.h"
#include "test_files.h"

namespace {

// An environment block for CreateProcessW: this process's own variables, with
// `overrides` replacing or adding variables.
std::wstring ChildEnvironment(const std::vector<std::string>& overrides) {
  std::vector<std::wstring> wide_overrides;
  for (const std::string& o : overrides) wide_overrides.emplace_back(o.begin(), o.end());
  auto name_of = [](const std::wstring& variable) {
    return variable.substr(0, variable.find(L'=', 1));  // "=C:=C:\x" names itself "=C:"
  };
  std::wstring block;
  wchar_t* own = GetEnvironmentStringsW();
  for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1) {
    const std::wstring variable = entry;
    bool replaced = false;
    for (const std::wstring& o : wide_overrides) {
      replaced |= CompareStringOrdinal(name_of(o).c_str(), -1, name_of(variable).c_str(), -1,
                                       TRUE) == CSTR_EQUAL;
    }
    if (!replaced) block += variable + L'\0';
  }
  FreeEnvironmentStringsW(own);
  for (const std::wstring& o : wide_overrides) block += o + L'\0';
  block += L'\0';
  return block;
}

HANDLE InheritableCopy(HANDLE handle) {
  HANDLE copy = nullptr;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
      !DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS)) {
    return nullptr;
  }
  return copy;
}

}  // namespace

ChildResult RunChild(const ChildRun& run) {
  // The child is started by its exact path (no search, no command-line
  // parsing) and gets only its standard handles' ends of the pipe and file.
  SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  std::unique_lock<std::mutex> hold(ChildStartLock());
  HANDLE input_read = nullptr;
  HANDLE input_write = nullptr;
  if (!CreatePipe(&input_read, &input_write, &inheritable, 0)) return {};
  SetHandleInformation(input_write, HANDLE_FLAG_INHERIT, 0);
  HANDLE output = CreateFileW(run.output_file.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE error = InheritableCopy(GetStdHandle(STD_ERROR_HANDLE));

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input_read;
  startup.hStdOutput = output;
  startup.hStdError = error;
  std::wstring command_line = L"\"" + run.program.native() + L"\"";
  std::wstring environment;
  if (!run.environment.empty()) environment = ChildEnvironment(run.environment);
  PROCESS_INFORMATION process = {};
  const BOOL created = CreateProcessW(
      run.program.c_str(), command_line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
      environment.empty() ? nullptr : environment.data(),
      run.working_directory.empty() ? nullptr : run.working_directory.c_str(), &startup, &process);
  CloseHandle(input_read);
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  if (error != nullptr) CloseHandle(error);
  hold.unlock();
  if (!created) {
    CloseHandle(input_write);
    return {};
  }
  CloseHandle(process.hThread);

  std::thread writer([&] {
    std::size_t done = 0;
    while (done < run.input.size()) {
      DWORD step = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(run.input.size() - done, 65536));
      if (!WriteFile(input_write, run.input.data() + done, chunk, &step, nullptr)) break;
      done += step;
    }
    CloseHandle(input_write);
  });

  ChildResult result;
  const DWORD limit = static_cast<DWORD>(run.time_limit.count());
  if (WaitForSingleObject(process.hProcess, limit) != WAIT_OBJECT_0) {
    result.timed_out = true;
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  writer.join();
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  result.exited = !result.timed_out;
  result.exit_status = result.exited ? static_cast<int>(code) : -1;
  result.output = ReadWholeFile(run.output_file);
  return result;
}
