// Launch core: the invocation link, the stored settings, the autostart
// whitelist and the start of the engine.
#ifndef KELVRA_LAUNCH_H
#define KELVRA_LAUNCH_H

#include <windows.h>

enum {
    HOST_CAPACITY = 256,
    ENGINE_PATH_CAPACITY = MAX_PATH,
    PARAMETERS_CAPACITY = 256,
    WHITELIST_ADDRESS_CAPACITY = 261,
    DEFAULT_PORT = 27960
};

// The server named by the link the program was started with.
struct LaunchTargetRecord {
    WCHAR host[HOST_CAPACITY];
    USHORT port;
};
extern LaunchTargetRecord LaunchTarget;

void ParseInvocationUrl(const char *text);
void FilterHostName();

// What the user keeps between runs under the settings key.
struct LaunchSettingsRecord {
    WCHAR enginePath[ENGINE_PATH_CAPACITY];
    WCHAR parameterTemplate[PARAMETERS_CAPACITY];
};
extern LaunchSettingsRecord LaunchSettings;
extern const WCHAR DefaultParameterTemplate[];

void LoadLaunchSettings();
void SaveLaunchSetting(const WCHAR *valueName, const WCHAR *text);

// The autostart whitelist: a singly linked list, always extended at the front.
struct WhitelistEntry {
    WhitelistEntry *next;
    WCHAR address[WHITELIST_ADDRESS_CAPACITY];
};
extern WhitelistEntry *Whitelist;

void LoadWhitelist();
void RebuildWhitelistFromListBox(HWND listBox);
bool SaveWhitelist();
void FreeWhitelist();

// Composing the engine's parameter line and starting it.
bool ExpandAddressPlaceholder(WCHAR *parameters, const WCHAR *host, const WCHAR *port);
void LaunchEngine(const WCHAR *enginePath, const WCHAR *parameters);
void TryAutostart();
void OnLaunchCommand(HWND window);

// The whitelist's key below HKEY_CURRENT_USER, under the settings key.
extern const WCHAR WhitelistKeyPath[];

#endif
