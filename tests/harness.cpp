// harness [--command ID | --syscommand ID] [--close-when FILE] TAIL: starts the launcher with the exact raw tail TAIL
// (one argument from a Linux shell) and prints its exit code; with an option, waits for the main window, says so,
// posts it the command (for the whitelist window or About) and closes it once FILE exists (after a screenshot).
#include "testing.h"
#include <stdio.h>

int wmain(int argc, wchar_t **argv)
{
    const wchar_t *closeWhen = NULL;
    UINT message = 0;
    int command = 0, first = 1;
    for (; argc > first + 2 && Text(argv[first]).substr(0, 2) == L"--"; first += 2) {
        const Text option = argv[first];
        if (option == L"--close-when") {
            closeWhen = argv[first + 1];
        } else if (option == L"--command" || option == L"--syscommand") {
            message = option == L"--command" ? WM_COMMAND : WM_SYSCOMMAND;
            command = _wtoi(argv[first + 1]);
        } else {
            break;
        }
    }
    if (argc != first + 1) {
        fputws(L"usage: harness [--command ID | --syscommand ID] [--close-when FILE] TAIL\n", stderr);
        return 2;
    }
    Launcher launcher(argv[first], NULL, 60000);
    if (!launcher.process.hProcess) {
        fwprintf(stderr, L"harness: the launcher did not start (%lu)\n", GetLastError());
        return 2;
    }
    HWND window = closeWhen || message ? launcher.Window() : NULL;
    if (window) {
        PostMessageW(window, message, command, 0); // message 0 does nothing
        printf("launcher window shown\n");
        fflush(stdout);
    }
    if (window && closeWhen) {
        WaitFor([&] { return GetFileAttributesW(closeWhen) != INVALID_FILE_ATTRIBUTES; }, 60000);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    DWORD code = launcher.Exit();
    printf("launcher exit code %lu\n", code);
    return (int)code;
}
