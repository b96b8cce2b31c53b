// Micro-benchmark of reading the console: ReadInputLine over a file of many
// ordinary lines put on standard input, read again from its start whenever
// it ends.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>

#include "services/services.h"

namespace {

constexpr int kLines = 100000;

// Puts a temporary file of `lines` ordinary lines, then "exit", on standard
// input for as long as the object lives.
class StdinFromFile {
 public:
  explicit StdinFromFile(int lines) {
    file_ = std::tmpfile();
    if (file_ == nullptr) return;
    for (int i = 0; i < lines; ++i) std::fprintf(file_, "ordinary line %07d of plain text\n", i);
    std::fputs("exit\n", file_);
    std::fflush(file_);
    saved_stdin_ = dup(STDIN_FILENO);
    dup2(fileno(file_), STDIN_FILENO);
    Rewind();
  }
  ~StdinFromFile() {
    if (saved_stdin_ >= 0) {
      dup2(saved_stdin_, STDIN_FILENO);
      close(saved_stdin_);
      Rewind();
    }
    if (file_ != nullptr) std::fclose(file_);
  }
  StdinFromFile(const StdinFromFile&) = delete;
  StdinFromFile& operator=(const StdinFromFile&) = delete;

  bool ok() const { return saved_stdin_ >= 0; }

  // Drops what standard input has buffered and reads from the start again.
  static void Rewind() {
    std::fseek(stdin, 0, SEEK_SET);
    std::clearerr(stdin);
  }

 private:
  std::FILE* file_ = nullptr;
  int saved_stdin_ = -1;
};

void BM_ReadInputLine(benchmark::State& state) {
  StdinFromFile input(kLines);
  if (!input.ok()) {
    state.SkipWithError("no temporary file for standard input");
    return;
  }
  std::int64_t lines = 0;
  std::int64_t bytes = 0;
  for (auto _ : state) {
    bool ended = false;
    Text line = ReadInputLine(&ended);
    if (ended) {
      state.PauseTiming();
      StdinFromFile::Rewind();
      state.ResumeTiming();
      continue;
    }
    ++lines;
    bytes += static_cast<std::int64_t>(TextLength(line)) + 1;
    FreeBlock(line);
  }
  state.SetItemsProcessed(lines);
  state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadInputLine);

}  // namespace
