// The autostart road's floor: nothing but CreateProcessW of the engine
// named by KELVRA_FLOOR_ENGINE, with this program's command-line tail as the
// engine's whole command line and the engine's folder as working folder,
// as the launcher starts it. Built a second time with the launcher's other
// libraries linked in (KELVRA_FLOOR_LINKED), to show what loading them costs.
#include <windows.h>

#include <wchar.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t engine[MAX_PATH], directory[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KELVRA_FLOOR_ENGINE", engine, MAX_PATH))
        return 1;
    wcscpy(directory, engine);
    *wcsrchr(directory, L'\\') = 0;

    wchar_t *tail = GetCommandLineW();
    if (*tail == L'"') {
        tail = wcschr(tail + 1, L'"');
        tail = tail ? tail + 1 : GetCommandLineW();
    }
    while (*tail && *tail != L' ')
        ++tail;
    while (*tail == L' ')
        ++tail;

#ifdef KELVRA_FLOOR_LINKED
    if (GetEnvironmentVariableW(L"KELVRA_FLOOR_NEVER", NULL, 0)) { // only keeps the imports
        MessageBoxW(NULL, L"", L"", MB_OK);
        RegCloseKey(NULL);
    }
#endif
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(engine, tail, NULL, NULL, FALSE, 0, NULL, directory, &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
