// Hostile standard inputs for the shell, as data: random bytes, broken GB
// sequences, endless lines, lone carriage returns, NUL bytes and the launch
// command with one byte too many. Kept apart from any way of running the
// program, so that every runner can take the same table.
#pragma once

#include <string>
#include <vector>

// Which of its two encodings the shell is to speak for a case.
enum class ShellEncoding { kUtf8, kCp936 };

struct HostileCase {
  std::string name;
  ShellEncoding encoding;
  std::string input;  // everything the shell's standard input delivers
};

// Random bytes, invalid GB sequences, long lines, CR-only endings and NULs.
std::vector<HostileCase> HostileInputCases();

// The launch command followed by one more byte, for every byte from 0x01 to
// 0xFF: a trailing control byte is trimmed, so the command still starts the
// auto-clicker; any other byte makes it no command.
std::vector<HostileCase> TrailingByteCases();

// The case for a shell that speaks only `encoding` (on Windows, the ANSI
// code page's): where the case's own encoding differs, the launch commands
// in its input trade places, each written in the other encoding, so that a
// line that was the command for the case's encoding is the command there.
HostileCase SpokenIn(ShellEncoding encoding, const HostileCase& c);
