// The command loop: the whole of the shell's own behaviour.
#pragma once

// Greets the user, pauses for a second, then reads and acts on lines until
// "exit" or the end of input. Returns 0.
int RunShell();
