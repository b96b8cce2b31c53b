// Ends through the fatal error, for a test that watches, under Wine, what
// reaches the message box: registers an end routine that would announce
// itself, then asks the heap for more than it can give.
#include <cstdint>
#include <cstdio>

#include "startup/startup.h"
#include "text/text.h"

int main() {
  RegisterEndRoutine([] {
    std::fputs("end routine ran\n", stdout);
    std::fflush(stdout);
  });
  AllocBlock(SIZE_MAX / 2);
  ShutDown();
}
