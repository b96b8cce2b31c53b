#include <windows.h>

#include "text/encoding.h"
#include "text/text.h"

void ReportFatalError(Text message) {
  const LiteralForm form = DetectLiteralForm();
  char report[1024];
  ComposeFatalText(form, message, "\r\n", report, sizeof report);
  MessageBoxA(nullptr, report, FatalTitle(form), MB_OK | MB_ICONERROR);
  ExitProcess(static_cast<UINT>(-1));
}
