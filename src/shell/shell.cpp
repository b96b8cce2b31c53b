#include "shell/shell.h"

#include "services/services.h"
#include "shell/literals.h"

namespace {

constexpr int kPauseAfterBannerMs = 1000;

void StartAutoClicker() {
  Text directory = GetProgramDirectory();
  Text path = TextConcat({directory, AutoClickerSuffix(kHostPlatform)});
  FreeBlock(directory);
  // Quoted, so that a directory with blanks can never make the platform run
  // a program named by the first part of the path.
  Text command = QuoteProgramPath(path, kHostPlatform);
  FreeBlock(path);
  LaunchProgram(command, false);
  FreeBlock(command);
}

}  // namespace

int RunShell() {
  const ShellLiterals& literals = LiteralsFor(DetectLiteralForm());
  WriteOutput({literals.banner});
  PauseFor(kPauseAfterBannerMs);
  Text line = nullptr;
  while (true) {
    Text directory = GetProgramDirectory();
    Text prompt = TextConcat({literals.prompt_head, directory, literals.prompt_tail});
    FreeBlock(directory);
    WriteOutput({prompt});
    FreeBlock(prompt);

    bool ended = false;
    Text next = ReadInputLine(&ended);
    FreeBlock(line);
    line = next;
    if (ended) {
      // Leave the user's next prompt on a fresh line.
      if (IsOutputInteractive()) WriteOutput({literals.line_break});
      break;
    }
    if (TextCompare(line, literals.start_command) == 0) StartAutoClicker();
    if (TextCompare(line, literals.exit_command) == 0) break;
  }
  FreeBlock(line);
  return 0;
}
