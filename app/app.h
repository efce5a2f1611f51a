// The start-up sequence behind the program entry.
#ifndef KELVRA_APP_H
#define KELVRA_APP_H

#include <windows.h>

// Runs the whole program for a command-line tail; returns the exit code.
int RunLauncher(HINSTANCE instance, const char *commandTail, int showCommand);

#endif
