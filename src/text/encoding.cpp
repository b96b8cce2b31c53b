#include "text/encoding.h"

#include <cstring>

namespace {

bool NameIs(const char* name, const char* wanted) {
  for (; *name != '\0' && *wanted != '\0'; ++name, ++wanted) {
    char c = *name;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != *wanted) return false;
  }
  return *name == '\0' && *wanted == '\0';
}

bool NameIsOneOf(const char* name, std::initializer_list<const char*> wanted) {
  for (const char* candidate : wanted) {
    if (NameIs(name, candidate)) return true;
  }
  return false;
}

struct FatalWords {
  const char* heading;      // 运行时出错!
  const char* label;        // 错误信息：
  const char* title;        // 错误
  const char* failed_head;  // 分配 (with its blank)
  const char* failed_tail;  // 字节内存失败! (with its leading blank)
};

constexpr FatalWords kCp936Words = {
    "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!",
    "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA",
    "\xB4\xED\xCE\xF3",
    "\xB7\xD6\xC5\xE4 ",
    " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!",
};

constexpr FatalWords kUtf8Words = {
    "\xE8\xBF\x90\xE8\xA1\x8C\xE6\x97\xB6\xE5\x87\xBA\xE9\x94\x99!",
    "\xE9\x94\x99\xE8\xAF\xAF\xE4\xBF\xA1\xE6\x81\xAF\xEF\xBC\x9A",
    "\xE9\x94\x99\xE8\xAF\xAF",
    "\xE5\x88\x86\xE9\x85\x8D ",
    " \xE5\xAD\x97\xE8\x8A\x82\xE5\x86\x85\xE5\xAD\x98\xE5\xA4\xB1\xE8\xB4\xA5!",
};

const FatalWords& WordsFor(LiteralForm form) {
  return form == LiteralForm::kCp936 ? kCp936Words : kUtf8Words;
}

// Appends to a bounded buffer, always leaving room for the terminator.
struct BoundedWriter {
  char* out;
  std::size_t capacity;
  std::size_t length;

  void Append(const char* bytes) {
    if (bytes == nullptr) return;
    for (; *bytes != '\0' && length + 1 < capacity; ++bytes) out[length++] = *bytes;
    if (capacity != 0) out[length] = '\0';
  }
};

}  // namespace

LiteralForm ChooseLiteralForm(const char* charset, LiteralForm fallback) {
  if (charset == nullptr) return fallback;
  if (NameIsOneOf(charset, {"GBK", "GB2312", "GB18030", "CP936", "EUC-CN", "EUCCN"})) {
    return LiteralForm::kCp936;
  }
  if (NameIsOneOf(charset, {"UTF-8", "UTF8", "CP65001"})) return LiteralForm::kUtf8;
  return fallback;
}

void FormatAllocationFailure(LiteralForm form, std::size_t size, char* out, std::size_t capacity) {
  char digits[24];
  char* first = digits + sizeof digits;
  *--first = '\0';
  do {
    *--first = static_cast<char>('0' + size % 10);
    size /= 10;
  } while (size != 0);
  BoundedWriter writer{out, capacity, 0};
  writer.Append(WordsFor(form).failed_head);
  writer.Append(first);
  writer.Append(WordsFor(form).failed_tail);
}

std::size_t ComposeFatalText(LiteralForm form, Text message, const char* line_break, char* out,
                             std::size_t capacity) {
  BoundedWriter writer{out, capacity, 0};
  writer.Append(WordsFor(form).heading);
  writer.Append(line_break);
  writer.Append(line_break);
  writer.Append(WordsFor(form).label);
  writer.Append(message);
  writer.Append(line_break);
  return writer.length;
}

Text FatalTitle(LiteralForm form) {
  return WordsFor(form).title;
}
