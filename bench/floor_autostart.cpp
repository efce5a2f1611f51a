// The autostart road's floors. The bare one does nothing but CreateProcessW
// of the engine named by KELVRA_FLOOR_ENGINE, with this program's
// command-line tail as the engine's whole command line and the engine's
// folder as working folder, as the launcher starts it. Built with
// KELVRA_FLOOR_REGISTRY it first reads every registry value the launcher
// reads on that road: the true floor of the autostart.
#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#ifdef KELVRA_FLOOR_REGISTRY
#include "i18n/i18n.h"
#include "launch/launch.h"

static void ReadValue(HKEY root, const wchar_t *path, const wchar_t *name, void *data, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegQueryValueExW(key, name, NULL, NULL, (BYTE *)data, &size);
    RegCloseKey(key);
}

static void ReadSettings()
{
    DWORD language = 0;
    wchar_t text[261] = L"", name[32];
    ReadValue(HKEY_CURRENT_USER, SettingsKeyPath, LanguageValue, &language, sizeof language);
    if (!language)
        ReadValue(HKEY_LOCAL_MACHINE, SettingsKeyPath, DefaultLanguageValue, &language, sizeof language);
    for (unsigned i = 0;; ++i) {
        _snwprintf(name, 32, WhitelistValueFormat, i); // msvcrt, not USER32
        text[0] = 0;
        ReadValue(HKEY_CURRENT_USER, WhitelistKeyPath, name, text, sizeof text);
        if (!text[0])
            break;
    }
    ReadValue(HKEY_CURRENT_USER, SettingsKeyPath, EnginePathValue, text, sizeof text);
    ReadValue(HKEY_CURRENT_USER, SettingsKeyPath, ParametersValue, text, sizeof text);
}
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    wchar_t engine[MAX_PATH], directory[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KELVRA_FLOOR_ENGINE", engine, MAX_PATH))
        return 1;
    wcscpy(directory, engine);
    *wcsrchr(directory, L'\\') = 0;
#ifdef KELVRA_FLOOR_REGISTRY
    ReadSettings();
#endif

    wchar_t *tail = GetCommandLineW();
    if (*tail == L'"') {
        tail = wcschr(tail + 1, L'"');
        tail = tail ? tail + 1 : GetCommandLineW();
    }
    while (*tail && *tail != L' ')
        ++tail;
    while (*tail == L' ')
        ++tail;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessW(engine, tail, NULL, NULL, FALSE, 0, NULL, directory, &startup, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}
