// Opens a link as a browser does (the shell's "open"); 0 only when the program registered for it ran and gave 0.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

int wmain(int argc, wchar_t **argv)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = argc > 1 ? argv[1] : L"";
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) {
        wprintf(L"not opened: error %lu\n", GetLastError());
        return 1;
    }
    DWORD code = STILL_ACTIVE;
    if (info.hProcess && WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    wprintf(L"opened: handler exit code %lu\n", code);
    return code != 0;
}
