// Starts the launcher with an exact raw command-line tail and reports its
// exit code. From a Linux shell Wine re-quotes arguments, so the tail
// arrives here as one ordinary argument and is handed on untouched.
//
//   harness [--close-when FILE] TAIL
//
// With --close-when, the harness waits for the main window, says so, and
// closes it once FILE exists (for a screenshot in between).
#include "support/testing.h"

#include <stdio.h>
#include <wchar.h>

using namespace testing_support;

int wmain(int argc, wchar_t **argv)
{
    const wchar_t *closeWhen = NULL;
    int first = 1;
    if (argc > 2 && !wcscmp(argv[1], L"--close-when")) {
        closeWhen = argv[2];
        first = 3;
    }
    if (argc != first + 1) {
        fwprintf(stderr, L"usage: harness [--close-when FILE] TAIL\n");
        return 2;
    }
    Launcher launcher;
    StartLauncher(launcher, argv[first]);
    if (!launcher.started) {
        fwprintf(stderr, L"harness: the launcher did not start (%lu)\n", GetLastError());
        return 2;
    }
    if (closeWhen) {
        HWND window = launcher.WaitForWindow(L"URL Kelvra launcher");
        if (window) {
            printf("launcher window shown\n");
            fflush(stdout);
            WaitFor([&] { return GetFileAttributesW(closeWhen) != INVALID_FILE_ATTRIBUTES; }, 60000);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    }
    DWORD code = launcher.WaitForExit(60000);
    printf("launcher exit code %lu\n", code);
    return (int)code;
}
