// Which bytes the program's literals take, and the fatal-error wording.
//
// Every literal exists twice, fixed at build time: in the GB code page
// (CP936), the encoding the program is made for, and in UTF-8 for consoles
// that deliver UTF-8. The choice is a pure function of the character set's
// name so that it can be checked the same way on every platform.
#pragma once

#include <cstddef>

#include "text/text.h"

enum class LiteralForm { kCp936, kUtf8 };

// GB names (GBK, GB2312, GB18030, CP936, EUC-CN) give kCp936, UTF-8 names
// (UTF-8, UTF8, CP65001) give kUtf8, anything else gives `fallback`. Names
// compare without regard to case.
LiteralForm ChooseLiteralForm(const char* charset, LiteralForm fallback);

// The form for this process's character set (the locale's on POSIX, the
// ANSI code page on Windows).
LiteralForm DetectLiteralForm();

// "分配 <size> 字节内存失败!" in `form`, the size in full decimal. Writes at
// most `capacity` bytes including the terminator; allocates nothing.
void FormatAllocationFailure(LiteralForm form, std::size_t size, char* out, std::size_t capacity);

// The fatal-error report: "运行时出错!", two line breaks, "错误信息：", the
// message and a line break, with `line_break` between lines. Truncated to fit
// `capacity` bytes including the terminator; allocates nothing. Returns the
// length written.
std::size_t ComposeFatalText(LiteralForm form, Text message, const char* line_break, char* out,
                             std::size_t capacity);

// "错误", the title of the fatal-error box.
Text FatalTitle(LiteralForm form);
