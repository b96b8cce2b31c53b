/* The machine's floor for starting a program: a dynamically linked C hello
   world. */
#include <stdio.h>

int main(void) {
  puts("hello, world");
  return 0;
}
