#include "shell/literals.h"

namespace {

// Every literal lies in this one object, so that FreeBlock can tell a literal
// from a heap block by its address. Hex escapes are split from the text that
// follows so that no letter is taken into an escape.
#define QS_BANNER_CP936              \
  "\xBB\xB6\xD3\xAD\xC0\xB4\xB5\xBD" \
  " QuorvaneShell \r\n"
#define QS_BANNER_UTF8                               \
  "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0" \
  " QuorvaneShell \r\n"
#define QS_HEAD_CP936 "QW\xA3\xBA"
#define QS_HEAD_UTF8 "QW\xEF\xBC\x9A"
#define QS_START_CP936 "start \xC1\xAC\xB5\xE3\xC6\xF7"
#define QS_START_UTF8 "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8"
#define QS_WINDOWS_SUFFIX "\\wurmak.exe"
#define QS_POSIX_SUFFIX "/wurmak"

struct LiteralArea {
  char banner_cp936[sizeof QS_BANNER_CP936];
  char banner_utf8[sizeof QS_BANNER_UTF8];
  char head_cp936[sizeof QS_HEAD_CP936];
  char head_utf8[sizeof QS_HEAD_UTF8];
  char start_cp936[sizeof QS_START_CP936];
  char start_utf8[sizeof QS_START_UTF8];
  char tail[sizeof ">"];
  char exit[sizeof "exit"];
  char line_break[sizeof "\n"];
  char windows_suffix[sizeof QS_WINDOWS_SUFFIX];
  char posix_suffix[sizeof QS_POSIX_SUFFIX];
};

constexpr LiteralArea kArea = {
    QS_BANNER_CP936,
    QS_BANNER_UTF8,
    QS_HEAD_CP936,
    QS_HEAD_UTF8,
    QS_START_CP936,
    QS_START_UTF8,
    ">",
    "exit",
    "\n",
    QS_WINDOWS_SUFFIX,
    QS_POSIX_SUFFIX,
};

static_assert(sizeof kArea.start_cp936 == 13, "the launch command is 12 bytes in CP936");

constexpr ShellLiterals kCp936 = {kArea.banner_cp936, kArea.head_cp936, kArea.tail,
                                  kArea.start_cp936,  kArea.exit,       kArea.line_break};
constexpr ShellLiterals kUtf8 = {kArea.banner_utf8, kArea.head_utf8, kArea.tail,
                                 kArea.start_utf8,  kArea.exit,      kArea.line_break};

}  // namespace

const ShellLiterals& LiteralsFor(LiteralForm form) {
  return form == LiteralForm::kCp936 ? kCp936 : kUtf8;
}

Text AutoClickerSuffix(PlatformFamily family) {
  return family == PlatformFamily::kWindows ? kArea.windows_suffix : kArea.posix_suffix;
}

LiteralAreaBounds GetLiteralAreaBounds() {
  return {reinterpret_cast<const char*>(&kArea), sizeof kArea};
}
