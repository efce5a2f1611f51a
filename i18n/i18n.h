// Localisation: the interface language chosen at start-up and the 29
// interface strings in it.
#ifndef KELVRA_I18N_H
#define KELVRA_I18N_H

#include <windows.h>

#include "resources/resource.h"

enum {
    UI_STRING_COUNT = IDS_LAST - IDS_FIRST + 1,
    UI_STRING_CAPACITY = 256
};

// The program's own module, kept at start-up: it holds the string tables,
// and the windows are created with it.
extern HINSTANCE AppInstance;

extern DWORD UiLanguageId;
extern WCHAR UiStrings[UI_STRING_COUNT][UI_STRING_CAPACITY];

// The entry of a string id from IDS_FIRST to IDS_LAST.
inline const WCHAR *UiString(UINT id) { return UiStrings[id - IDS_FIRST]; }

void LoadUiStrings(HINSTANCE module);
void LoadStringInLanguage(HINSTANCE module, DWORD languageId, UINT stringId, WCHAR *buffer);
void SaveUiLanguage(DWORD languageId);
void ShowRestartNotice(DWORD languageId);

// The settings key below HKEY_CURRENT_USER, which the language value shares
// with the launch settings (also below HKEY_LOCAL_MACHINE for the machine's
// default language).
extern const WCHAR SettingsKeyPath[];

// Opens a key below HKEY_CURRENT_USER for setting values, creating it with
// every missing level when it does not exist yet.
bool OpenKeyForWriting(const WCHAR *path, HKEY *key);

// Bounded formatting with the Microsoft meaning of %s (wide text); the result
// is always terminated. False when the text did not fit.
bool FormatText(WCHAR *buffer, size_t capacity, const WCHAR *format, ...);

#endif
