// Pure decisions of the services, kept apart from the platform so that one
// set of tests checks them on every platform.
#pragma once

#include <cstddef>

#include "text/text.h"

constexpr std::size_t kNoSeparator = static_cast<std::size_t>(-1);

// True for a byte that starts a double-byte character in the GB code page.
bool IsGbLeadByte(unsigned char byte);

// The index of the last `separator` in the first `length` bytes of `path`, or
// kNoSeparator. With `gb_double_byte`, a lead byte and the byte after it form
// one character, so a trail byte equal to the separator is not one.
std::size_t FindLastSeparator(const char* path, std::size_t length, char separator,
                              bool gb_double_byte);

// The length of `bytes` once trailing bytes below 0x20 are removed. Blanks and
// bytes of 0x80 and above stay.
std::size_t TrimmedLength(const char* bytes, std::size_t length);

// What stands in for a NUL byte inside a read line: a control byte that no
// command holds, so that "exit", NUL, "junk" can never read as "exit".
constexpr char kEmbeddedNulStandIn = '\x1F';

// The two families of platform the program is built for.
enum class PlatformFamily { kWindows, kPosix };

// A command line that names exactly `path` as the program. Windows: the path
// in double quotes (no Windows path holds one). POSIX: single-quoted, each
// single quote written as '\'', so that any byte survives the split.
Text QuoteProgramPath(Text path, PlatformFamily family);

// Splits a command line into arguments by POSIX shell quoting (blanks,
// single quotes, double quotes, backslash), with no expansion of any kind.
// Returns one block, to be freed with FreeBlock, holding a null-terminated
// argument vector followed by the argument bytes; null when the line holds no
// argument or ends inside a quote or after a lone backslash.
char** SplitPosixCommandLine(Text line);

// The show-window command for a window mode: 1 hidden, 2 normal,
// 3 minimised, 4 maximised, 5 shown without activation, 6 minimised with the
// next window activated; below 1 counts as 1 and above 6 as 6.
int ShowWindowCommandFor(int window_mode);

// The window mode used when none is given: shown normally.
constexpr int kDefaultWindowMode = 2;
