// What every part below the windows shares: the program's module, the
// settings key and bounded formatting.
#ifndef KELVRA_BASE_H
#define KELVRA_BASE_H

#include <windows.h>

#include <stddef.h>

// The program's own module, kept at start-up: it holds the string tables,
// and the windows are created with it.
extern HINSTANCE AppInstance;

// The settings key below HKEY_CURRENT_USER, which the language value shares
// with the launch settings (also below HKEY_LOCAL_MACHINE for the machine's
// default language); the whitelist key is a subkey of it.
#define SETTINGS_KEY_PATH L"Software\\tQr\\kelvra launcher"
const WCHAR SettingsKeyPath[] = SETTINGS_KEY_PATH;

// Opens a key below HKEY_CURRENT_USER for setting values, creating it with
// every missing level when it does not exist yet. False with the registry's
// reason as the thread's last error (the creation's own where it failed), as
// every save of the program reports.
bool OpenKeyForWriting(const WCHAR *path, HKEY *key);

// Sets one value of the settings key, made when missing; false with the
// registry's reason as the last error.
bool SetSettingValue(const WCHAR *name, DWORD type, const void *data, DWORD size);

// The size of a text as REG_SZ data: its characters and the terminator.
DWORD TextSize(const WCHAR *text);

// Reads a value as text into a field of `capacity` characters, which always
// ends in a terminator: data that fills the field without one is cut by a
// character, and `cut` says so. The registry's result; an empty field on failure.
LONG QueryText(HKEY key, const WCHAR *name, WCHAR *field, DWORD capacity, bool *cut);

// True for ERROR_SUCCESS; otherwise false, with the result as the thread's
// last error for whoever tells the user.
bool RegistrySucceeded(LONG result);

// Bounded formatting with the Microsoft meaning of %s (wide text); the result
// is always terminated. False when the text did not fit.
bool FormatText(WCHAR *buffer, size_t capacity, const WCHAR *format, ...);

#endif
