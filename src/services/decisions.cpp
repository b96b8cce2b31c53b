#include "services/decisions.h"

#include <cstring>

bool IsGbLeadByte(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}

std::size_t FindLastSeparator(const char* path, std::size_t length, char separator,
                              bool gb_double_byte) {
  std::size_t found = kNoSeparator;
  for (std::size_t i = 0; i < length; ++i) {
    if (path[i] == separator) {
      found = i;
    } else if (gb_double_byte && IsGbLeadByte(static_cast<unsigned char>(path[i])) &&
               i + 1 < length) {
      ++i;  // the trail byte belongs to this character
    }
  }
  return found;
}

std::size_t TrimmedLength(const char* bytes, std::size_t length) {
  while (length > 0 && static_cast<unsigned char>(bytes[length - 1]) < 0x20) --length;
  return length;
}

Text QuoteProgramPath(Text path, PlatformFamily family) {
  if (family == PlatformFamily::kWindows) return TextConcat({"\"", path, "\""});
  std::size_t quotes = 0;
  for (Text p = path; p != nullptr && *p != '\0'; ++p) quotes += (*p == '\'');
  const std::size_t length = TextLength(path);
  char* block = static_cast<char*>(AllocBlock(length + 3 * quotes + 3));
  char* out = block;
  *out++ = '\'';
  for (std::size_t i = 0; i < length; ++i) {
    if (path[i] == '\'') {
      std::memcpy(out, "'\\''", 4);
      out += 4;
    } else {
      *out++ = path[i];
    }
  }
  *out++ = '\'';
  *out = '\0';
  return block;
}

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// Inside double quotes a backslash escapes only these.
bool EscapableInDoubleQuotes(char c) {
  return c == '$' || c == '`' || c == '"' || c == '\\' || c == '\n';
}

}  // namespace

char** SplitPosixCommandLine(Text line) {
  const std::size_t length = TextLength(line);
  // Every argument but the last is followed by a blank, and quotes only
  // shrink, so the argument bytes with their terminators fit in length + 1.
  const std::size_t max_arguments = length / 2 + 1;
  const std::size_t vector_bytes = (max_arguments + 1) * sizeof(char*);
  char* block = static_cast<char*>(AllocBlock(vector_bytes + length + 1));
  char** argv = reinterpret_cast<char**>(block);
  char* out = block + vector_bytes;
  std::size_t count = 0;
  std::size_t i = 0;
  while (true) {
    while (i < length && IsBlank(line[i])) ++i;
    if (i == length) break;
    argv[count++] = out;
    while (i < length && !IsBlank(line[i])) {
      const char c = line[i++];
      if (c == '\'') {
        while (i < length && line[i] != '\'') *out++ = line[i++];
        if (i == length) goto unterminated;
        ++i;
      } else if (c == '"') {
        while (i < length && line[i] != '"') {
          if (line[i] == '\\' && i + 1 < length && EscapableInDoubleQuotes(line[i + 1])) {
            if (line[i + 1] != '\n') *out++ = line[i + 1];
            i += 2;
          } else {
            *out++ = line[i++];
          }
        }
        if (i == length) goto unterminated;
        ++i;
      } else if (c == '\\') {
        if (i == length) goto unterminated;
        if (line[i] != '\n') *out++ = line[i];
        ++i;
      } else {
        *out++ = c;
      }
    }
    *out++ = '\0';
  }
  argv[count] = nullptr;
  if (count == 0) {
    FreeBlock(block);
    return nullptr;
  }
  return argv;

unterminated:
  FreeBlock(block);
  return nullptr;
}

int ShowWindowCommandFor(int window_mode) {
  // SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED,
  // SW_SHOWNOACTIVATE, SW_MINIMIZE
  static constexpr int kCommands[] = {0, 1, 2, 3, 4, 6};
  if (window_mode < 1) window_mode = 1;
  if (window_mode > 6) window_mode = 6;
  return kCommands[window_mode - 1];
}
