#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "child_process.h"
#include "test_files.h"
#include "windows_probes.h"

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

HANDLE OrNull(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

void CloseIfOpen(HANDLE handle) {
  if (handle != nullptr) CloseHandle(handle);
}

// The child's ends of its standard streams, inheritable, as `run` asks for
// them (nullptr leaves a stream closed), and this side's end of its input
// pipe.
struct StreamEnds {
  HANDLE input = nullptr;
  HANDLE input_writer = nullptr;
  HANDLE output = nullptr;
  HANDLE error = nullptr;
  bool ok = true;
};

StreamEnds OpenStreams(const ChildRun& run) {
  SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  StreamEnds ends;
  switch (run.input_kind) {
    case ChildInput::kPipe:
      if (!CreatePipe(&ends.input, &ends.input_writer, &inheritable, 0)) ends.ok = false;
      if (ends.ok) SetHandleInformation(ends.input_writer, HANDLE_FLAG_INHERIT, 0);
      break;
    case ChildInput::kClosed:
      break;
    case ChildInput::kPath:
      // A folder opens only with backup semantics.
      ends.input = OrNull(CreateFileW(run.input_path.c_str(), GENERIC_READ, kShareAll, &inheritable,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
      ends.ok = ends.input != nullptr;
      break;
  }
  switch (run.output_kind) {
    case ChildOutput::kFile:
    case ChildOutput::kReadOnly:
      ends.output = OrNull(
          CreateFileW(run.output_file.c_str(),
                      run.output_kind == ChildOutput::kFile ? GENERIC_WRITE : GENERIC_READ,
                      kShareAll, &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      ends.ok &= ends.output != nullptr;
      break;
    case ChildOutput::kClosed:
      break;
    case ChildOutput::kPath:
      ends.output = OrNull(CreateFileW(run.output_path.c_str(), GENERIC_WRITE, kShareAll,
                                       &inheritable, OPEN_EXISTING, 0, nullptr));
      ends.ok &= ends.output != nullptr;
      break;
    case ChildOutput::kPipeWithoutReader: {
      HANDLE reader = nullptr;
      if (CreatePipe(&reader, &ends.output, &inheritable, 0)) {
        CloseHandle(reader);
      } else {
        ends.ok = false;
      }
      break;
    }
  }
  ends.error = InheritableCopy(GetStdHandle(STD_ERROR_HANDLE));
  return ends;
}

}  // namespace

RunningChild StartChild(const ChildRun& run) {
  RunningChild started;
  started.deadline = std::chrono::steady_clock::now() + run.time_limit;
  std::wstring environment;
  if (!run.environment.empty()) environment = ChildEnvironment(run.environment);
  std::wstring command_line = L"\"" + run.program.native() + L"\"";

  // The child is started by its exact path (no search, no command-line
  // parsing) and gets only its standard handles' ends of the pipe and files.
  const std::lock_guard<std::mutex> hold(ChildStartLock());
  StreamEnds ends = OpenStreams(run);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ends.input;
  startup.hStdOutput = ends.output;
  startup.hStdError = ends.error;
  PROCESS_INFORMATION process = {};
  const BOOL created =
      ends.ok &&
      CreateProcessW(run.program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                     CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : environment.data(),
                     run.working_directory.empty() ? nullptr : run.working_directory.c_str(),
                     &startup, &process);
  CloseIfOpen(ends.input);
  CloseIfOpen(ends.output);
  CloseIfOpen(ends.error);
  if (!created) {
    CloseIfOpen(ends.input_writer);
    return started;
  }
  CloseHandle(process.hThread);
  started.id = static_cast<long>(process.dwProcessId);
  started.process = reinterpret_cast<std::intptr_t>(process.hProcess);
  if (ends.input_writer != nullptr)
    started.input = reinterpret_cast<std::intptr_t>(ends.input_writer);
  return started;
}

bool SendInput(RunningChild& child, const std::string& bytes) {
  if (child.input == -1) return false;
  HANDLE pipe = reinterpret_cast<HANDLE>(child.input);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD step = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 65536));
    if (!WriteFile(pipe, bytes.data() + done, chunk, &step, nullptr) || step == 0) return false;
    done += step;
  }
  return true;
}

void CloseInput(RunningChild& child) {
  if (child.input != -1) CloseHandle(reinterpret_cast<HANDLE>(child.input));
  child.input = -1;
}

bool IsRunning(const RunningChild& child) {
  return child.id >= 0 &&
         WaitForSingleObject(reinterpret_cast<HANDLE>(child.process), 0) == WAIT_TIMEOUT;
}

std::size_t CountHeld(const RunningChild& child) {
  return CountHandles(static_cast<unsigned long>(child.id));
}

ChildResult FinishChild(RunningChild& child, const ChildRun& run) {
  CloseInput(child);
  ChildResult result;
  if (child.id < 0) return result;
  HANDLE process = reinterpret_cast<HANDLE>(child.process);
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      child.deadline - std::chrono::steady_clock::now());
  const DWORD limit = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
  if (WaitForSingleObject(process, limit) != WAIT_OBJECT_0) {
    result.timed_out = true;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
  }
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  child.id = -1;
  child.process = 0;
  result.exited = !result.timed_out;
  result.exit_status = result.exited ? static_cast<int>(code) : -1;
  if (run.output_kind == ChildOutput::kFile) result.output = ReadWholeFile(run.output_file);
  return result;
}
