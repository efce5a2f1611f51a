// Localisation: the interface language chosen at start-up and the 29
// interface strings in it.
#ifndef KELVRA_I18N_H
#define KELVRA_I18N_H

#include <windows.h>

#include "base/base.h"
#include "resources/resource.h"

enum {
    UI_STRING_COUNT = IDS_LAST - IDS_FIRST + 1,
    UI_STRING_CAPACITY = 256
};

extern DWORD UiLanguageId;
extern WCHAR UiStrings[UI_STRING_COUNT][UI_STRING_CAPACITY];

// The entry of a string id from IDS_FIRST to IDS_LAST.
inline const WCHAR *UiString(UINT id) { return UiStrings[id - IDS_FIRST]; }

void LoadUiStrings(HINSTANCE module);
void LoadStringInLanguage(HINSTANCE module, DWORD languageId, UINT stringId, WCHAR *buffer);
void SaveUiLanguage(DWORD languageId);
void ShowRestartNotice(DWORD languageId);

#endif
