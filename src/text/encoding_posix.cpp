#include <clocale>

#include <langinfo.h>

#include "text/encoding.h"

// The locale's character set decides; the C locale and every non-GB set get
// UTF-8, which is what a terminal here most likely speaks.
LiteralForm DetectLiteralForm() {
  std::setlocale(LC_CTYPE, "");
  return ChooseLiteralForm(nl_langinfo(CODESET), LiteralForm::kUtf8);
}
