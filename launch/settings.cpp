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
    field[0] = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    bool cut;
    LONG result = QueryText(key, valueName, field, capacity, &cut);
    RegCloseKey(key);
    if (cut)
        field[0] = 0;
    return result == ERROR_SUCCESS && !cut;
}

void LoadLaunchSettings()
{
    ReadSettingText(EnginePathValue, LaunchSettings.enginePath, ENGINE_PATH_CAPACITY);
    if (!ReadSettingText(ParametersValue, LaunchSettings.parameterTemplate, PARAMETERS_CAPACITY) ||
        !LaunchSettings.parameterTemplate[0])
        wcscpy(LaunchSettings.parameterTemplate, DefaultParameterTemplate);
}

bool SaveLaunchSetting(const WCHAR *valueName, const WCHAR *text)
{
    return SetSettingValue(valueName, REG_SZ, text, TextSize(text));
}
