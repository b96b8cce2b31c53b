// Micro-benchmarks of the text operations the command loop runs for every
// line: composing the prompt, copying the directory, comparing the line with
// the two commands.
#include <benchmark/benchmark.h>

#include <string>

#include "shell/literals.h"
#include "text/text.h"

namespace {

const ShellLiterals& kLiterals = LiteralsFor(LiteralForm::kUtf8);

// A directory path of about `length` bytes.
std::string DirectoryOf(std::size_t length) {
  std::string directory = "/home/user";
  while (directory.size() < length) directory += "/quorvane";
  directory.resize(length);
  return directory;
}

void BM_TextConcatPrompt(benchmark::State& state) {
  const std::string directory = DirectoryOf(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Text prompt = TextConcat({kLiterals.prompt_head, directory.c_str(), kLiterals.prompt_tail});
    benchmark::DoNotOptimize(prompt);
    FreeBlock(prompt);
  }
}
BENCHMARK(BM_TextConcatPrompt)->Arg(16)->Arg(40)->Arg(256);

void BM_TextCopyDirectory(benchmark::State& state) {
  const std::string directory = DirectoryOf(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Text copy = TextCopy(directory.c_str());
    benchmark::DoNotOptimize(copy);
    FreeBlock(copy);
  }
}
BENCHMARK(BM_TextCopyDirectory)->Arg(16)->Arg(40)->Arg(256);

struct CompareCase {
  const char* name;
  const char* line;
  Text command;
};

// An ordinary line differs from both commands at its first byte; a near miss
// only at its end.
const CompareCase kCompareCases[] = {
    {"ordinary line vs start", "ordinary line 0000042 of plain text", kLiterals.start_command},
    {"ordinary line vs exit", "ordinary line 0000042 of plain text", kLiterals.exit_command},
    {"exit vs exit", "exit", kLiterals.exit_command},
    {"near miss vs start", "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA9", kLiterals.start_command},
    {"start vs start", "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8", kLiterals.start_command},
};

void BM_TextCompare(benchmark::State& state) {
  const CompareCase& c = kCompareCases[state.range(0)];
  state.SetLabel(c.name);
  // The line lies in a heap block, as a line read from the console does.
  Text line = TextCopy(c.line);
  for (auto _ : state) {
    benchmark::DoNotOptimize(line);
    benchmark::DoNotOptimize(TextCompare(line, c.command));
  }
  FreeBlock(line);
}
BENCHMARK(BM_TextCompare)->DenseRange(0, std::size(kCompareCases) - 1);

}  // namespace
