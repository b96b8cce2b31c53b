// The shell's literals, in both of their byte forms.
#pragma once

#include "services/decisions.h"
#include "text/encoding.h"
#include "text/text.h"

struct ShellLiterals {
  Text banner;         // 欢迎来到 QuorvaneShell, a blank, CR LF
  Text prompt_head;    // QW：
  Text prompt_tail;    // >
  Text start_command;  // start 连点器
  Text exit_command;   // exit
  Text line_break;     // written when input ends on a terminal
};

const ShellLiterals& LiteralsFor(LiteralForm form);

// What follows the program directory to name the auto-clicker: "\wurmak.exe"
// on Windows, "/wurmak" on POSIX.
Text AutoClickerSuffix(PlatformFamily family);
