// The program entry's process-wide values and the start-up sequence.
#ifndef KELVRA_APP_H
#define KELVRA_APP_H

#include <windows.h>

extern HINSTANCE AppInstance;

// Runs the whole program for a command-line tail; returns the exit code.
int RunLauncher(HINSTANCE instance, const char *commandTail, int showCommand);

#endif
