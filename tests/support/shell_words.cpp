#include "shell_words.h"

const ShellWords& Utf8Words() {
  static const ShellWords words = {
      "C",
      "\xE6\xAC\xA2\xE8\xBF\x8E\xE6\x9D\xA5\xE5\x88\xB0 QuorvaneShell \r\n",
      "QW\xEF\xBC\x9A",
      "start \xE8\xBF\x9E\xE7\x82\xB9\xE5\x99\xA8",
  };
  return words;
}

const ShellWords& Cp936Words() {
  static const ShellWords words = {
      "zh_CN.GBK",
      "\xBB\xB6\xD3\xAD\xC0\xB4\xB5\xBD QuorvaneShell \r\n",
      "QW\xA3\xBA",
      "start \xC1\xAC\xB5\xE3\xC6\xF7",
  };
  return words;
}
