#include <unistd.h>

#include "text/encoding.h"
#include "text/text.h"

// No message box here: the same words go to standard error, unbuffered, and
// the process ends at once without running end routines or flushing stdio.
void ReportFatalError(Text message) {
  char report[1024];
  const std::size_t length =
      ComposeFatalText(DetectLiteralForm(), message, "\n", report, sizeof report);
  std::size_t written = 0;
  while (written < length) {
    const ssize_t step = write(STDERR_FILENO, report + written, length - written);
    if (step <= 0) break;
    written += static_cast<std::size_t>(step);
  }
  _exit(255);
}
