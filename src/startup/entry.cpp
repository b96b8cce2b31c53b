// The process's entry point. Command-line arguments and the environment are
// not read.
#include "startup/startup.h"

int main() {
  ProgramEntry();
  ShutDown();
}
