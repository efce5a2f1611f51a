// harness [--command NAME] [--close-when FILE] TAIL: starts the launcher with the exact raw tail
// TAIL (one argument from a Linux shell) and prints its exit code; with an option, waits for the
// main window, says so, posts it the command named in resources/resource.h and closes it once FILE
// exists (after a screenshot).
#include "../resources/resource.h"
#include "testing.h"
#include <stdio.h>

#define NAMED(message, id) {L"" #id, message, id}
const struct {
    const wchar_t *name;
    UINT message;
    WPARAM id;
} Commands[] = {NAMED(WM_COMMAND, IDC_LAUNCH), NAMED(WM_COMMAND, IDC_WHITELIST),
                NAMED(WM_SYSCOMMAND, IDM_ABOUT)};

int wmain(int argc, wchar_t **argv)
{
    const wchar_t *closeWhen = NULL, *name = NULL, *unknown = NULL;
    UINT message = 0;
    WPARAM command = 0;
    int first = 1;
    for (; argc > first + 2 && wcsncmp(argv[first], L"--", 2) == 0; first += 2) {
        const Text option = argv[first];
        *(option == L"--command"      ? &name
          : option == L"--close-when" ? &closeWhen
                                      : &unknown) = argv[first + 1];
    }
    for (const auto &named : Commands)
        if (name && named.name == Text(name))
            message = named.message, command = named.id;
    if (argc != first + 1 || unknown || (name && !message)) {
        fputws(
            L"usage: harness [--command NAME] [--close-when FILE] TAIL (NAME as in resource.h)\n",
            stderr);
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
