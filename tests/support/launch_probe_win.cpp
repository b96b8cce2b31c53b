// Started by the launch tests: `launch-probe RECORD [PAUSE_MS]` waits
// PAUSE_MS milliseconds, then appends to RECORD one line telling how it was
// started: "show=<show-window field> flag=<1 when that field is valid>".
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (argc > 2) Sleep(static_cast<DWORD>(std::atoi(argv[2])));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  FILE* record = std::fopen(argv[1], "ab");
  if (record == nullptr) return 1;
  std::fprintf(record, "show=%u flag=%d\n", static_cast<unsigned>(startup.wShowWindow),
               (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? 1 : 0);
  return std::fclose(record) == 0 ? 0 : 1;
}
