#include <windows.h>

#include <cstdio>

#include "text/encoding.h"

// The ANSI code page decides; the program's own code page is the default.
LiteralForm DetectLiteralForm() {
  char name[16];
  std::snprintf(name, sizeof name, "CP%u", static_cast<unsigned>(GetACP()));
  return ChooseLiteralForm(name, LiteralForm::kCp936);
}
