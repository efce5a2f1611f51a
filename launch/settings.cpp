// The engine path and the parameter template, kept per user.
#include "launch/launch.h"

#include "base/base.h"

#include <wchar.h>

LaunchSettingsRecord LaunchSettings;
const WCHAR DefaultParameterTemplate[] = L"+set fs_game kelvra +connect \"$address\"";

// Reads one value of the settings key into a text field of the given
// capacity. Data that fills the field without a terminator counts as
// unreadable: one character less would name another program or server.
static bool ReadSettingText(const WCHAR *valueName, WCHAR *field, DWORD capacity)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = capacity * sizeof(WCHAR);
    LONG result = RegQueryValueExW(key, valueName, NULL, NULL, (BYTE *)field, &size);
    RegCloseKey(key);

    DWORD characters = size / sizeof(WCHAR);
    if (result != ERROR_SUCCESS || (characters == capacity && field[capacity - 1] != 0)) {
        field[0] = 0;
        return false;
    }
    if (characters < capacity)
        field[characters] = 0; // also drops the odd byte of an odd size
    return true;
}

void LoadLaunchSettings()
{
    LaunchSettings.enginePath[0] = 0;
    ReadSettingText(EnginePathValue, LaunchSettings.enginePath, ENGINE_PATH_CAPACITY);
    if (!ReadSettingText(ParametersValue, LaunchSettings.parameterTemplate, PARAMETERS_CAPACITY) ||
        !LaunchSettings.parameterTemplate[0])
        wcscpy(LaunchSettings.parameterTemplate, DefaultParameterTemplate);
}

bool SaveLaunchSetting(const WCHAR *valueName, const WCHAR *text)
{
    HKEY key;
    if (!OpenKeyForWriting(SettingsKeyPath, &key))
        return false;
    LONG result = SetTextValue(key, valueName, text);
    RegCloseKey(key);
    return RegistrySucceeded(result);
}
