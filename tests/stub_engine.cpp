// Stands in for a Quake III engine: records its exact command line and
// working directory in the file named by KELVRA_STUB_RECORD, then exits.
#include <windows.h>

#include <wchar.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t path[MAX_PATH], temporary[MAX_PATH + 8], directory[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KELVRA_STUB_RECORD", path, MAX_PATH))
        return 1;
    GetCurrentDirectoryW(MAX_PATH, directory);
    const wchar_t *commandLine = GetCommandLineW();

    // Written aside and renamed, so a reader never sees half a record.
    wcscpy(temporary, path);
    wcscat(temporary, L".part");
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written;
    WriteFile(file, commandLine, (DWORD)(wcslen(commandLine) * sizeof(wchar_t)), &written, NULL);
    WriteFile(file, L"\n", sizeof(wchar_t), &written, NULL);
    WriteFile(file, directory, (DWORD)(wcslen(directory) * sizeof(wchar_t)), &written, NULL);
    CloseHandle(file);
    return MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
