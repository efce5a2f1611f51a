// Stands in for a Quake III engine: records its exact command line and working directory in the
// file named by KELVRA_STUB_RECORD, written aside and renamed, so that a reader never sees half a
// record; then exits.
#include <windows.h>
#include <wchar.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t path[MAX_PATH], part[MAX_PATH + 8], directory[MAX_PATH];
    DWORD length = GetCurrentDirectoryW(MAX_PATH, directory), written;
    const wchar_t *commandLine = GetCommandLineW();
    if (!GetEnvironmentVariableW(L"KELVRA_STUB_RECORD", path, MAX_PATH)) return 1;
    HANDLE file = CreateFileW(wcscat(wcscpy(part, path), L".part"), GENERIC_WRITE, 0, NULL,
                              CREATE_ALWAYS, 0, NULL);
    WriteFile(file, commandLine, (DWORD)wcslen(commandLine) * 2, &written, NULL);
    WriteFile(file, L"\n", 2, &written, NULL),
        WriteFile(file, directory, length * 2, &written, NULL);
    CloseHandle(file);
    return MoveFileExW(part, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
