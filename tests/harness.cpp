// Starts the launcher with an exact raw command-line tail and reports its
// exit code. From a Linux shell Wine re-quotes arguments, so the tail
// arrives here as one ordinary argument and is handed on untouched.
//
//   harness [--command ID | --syscommand ID] [--close-when FILE] TAIL
//
// With --close-when, the harness waits for the main window, says so, and
// closes it once FILE exists (for a screenshot in between). --command and
// --syscommand post that command to the main window once it is shown, to
// open the whitelist window or the About box for a screenshot.
#include "support/testing.h"

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

using namespace testing_support;

int wmain(int argc, wchar_t **argv)
{
    const wchar_t *closeWhen = NULL;
    UINT postMessage = 0;
    WPARAM postCommand = 0;
    int first = 1;
    while (argc > first + 2 && !wcsncmp(argv[first], L"--", 2)) {
        if (!wcscmp(argv[first], L"--close-when"))
            closeWhen = argv[first + 1];
        else if (!wcscmp(argv[first], L"--command"))
            postMessage = WM_COMMAND, postCommand = _wtoi(argv[first + 1]);
        else if (!wcscmp(argv[first], L"--syscommand"))
            postMessage = WM_SYSCOMMAND, postCommand = _wtoi(argv[first + 1]);
        else
            break;
        first += 2;
    }
    if (argc != first + 1) {
        fwprintf(stderr, L"usage: harness [--command ID | --syscommand ID] [--close-when FILE] TAIL\n");
        return 2;
    }
    Launcher launcher;
    StartLauncher(launcher, argv[first]);
    if (!launcher.started) {
        fwprintf(stderr, L"harness: the launcher did not start (%lu)\n", GetLastError());
        return 2;
    }
    if (closeWhen || postMessage) {
        HWND window = launcher.WaitForWindow(L"URL Kelvra launcher");
        if (window) {
            if (postMessage)
                PostMessageW(window, postMessage, postCommand, 0);
            printf("launcher window shown\n");
            fflush(stdout);
            if (closeWhen) {
                WaitFor([&] { return GetFileAttributesW(closeWhen) != INVALID_FILE_ATTRIBUTES; }, 60000);
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
        }
    }
    DWORD code = launcher.WaitForExit(60000);
    printf("launcher exit code %lu\n", code);
    return (int)code;
}
