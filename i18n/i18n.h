// Localisation: the interface language chosen at start-up, the interface
// strings in it, and the message boxes that show them.
#ifndef KELVRA_I18N_H
#define KELVRA_I18N_H

#include <windows.h>

#include "base/base.h"
#include "resources/resource.h"

enum {
    UI_STRING_COUNT = IDS_LAST - IDS_FIRST + 1,
    UI_STRING_CAPACITY = 256
};

// The interface language: the user's choice below the settings key, else the machine's default.
const WCHAR LanguageValue[] = L"language", DefaultLanguageValue[] = L"defaultlanguage";

extern DWORD UiLanguageId;
extern WCHAR UiStrings[UI_STRING_COUNT][UI_STRING_CAPACITY];

// The entry of a string id from IDS_FIRST to IDS_LAST.
inline const WCHAR *UiString(UINT id) { return UiStrings[id - IDS_FIRST]; }

void LoadUiStrings(HINSTANCE module);
void LoadStringInLanguage(HINSTANCE module, DWORD languageId, UINT stringId, WCHAR *buffer);
bool SaveUiLanguage(DWORD languageId); // false: the registry's reason as the last error
void ShowRestartNotice(DWORD languageId);

// Every message box of the program but the fatal-error report: no owner
// window, an OK button and the exclamation mark; the caption is a string id.
void ShowMessage(const WCHAR *text, UINT captionId);
// The code after a failure's text, in English in every language, kept so: a
// report is searched for as it reads.
#define ERROR_CODE_FORMAT L" (error code %d)"
const WCHAR ErrorCodeFormat[] = ERROR_CODE_FORMAT;

// An error whose text, the string formatId, names the system's reason for
// the thread's last error, and its code.
void ShowFailure(UINT formatId);

#endif
