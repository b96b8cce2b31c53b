// What the shell says and understands, written out here apart from the
// program's own literals.
#pragma once

#include <string>

// The bytes the shell speaks in one of its two encodings, and a locale that
// selects them.
struct ShellWords {
  std::string locale;
  std::string banner;
  std::string prompt_head;
  std::string start;  // the launch command
};

// UTF-8, which the shell speaks in the C locale.
const ShellWords& Utf8Words();
// The GB code page (CP936), which the shell speaks under zh_CN.GBK.
const ShellWords& Cp936Words();
