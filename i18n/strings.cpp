// Choosing the interface language, loading its strings from the program's
// string tables, and the message boxes that show them.
#include "i18n/i18n.h"

#include <wchar.h>
#include <wctype.h>

DWORD UiLanguageId;
WCHAR UiStrings[UI_STRING_COUNT][UI_STRING_CAPACITY];

static const DWORD UserDefaultLanguage = 0x0400;

// A 4-byte number from the settings key below the given root; its type is
// not examined, and nothing is taken from a read that failed.
static bool ReadLanguage(HKEY root, const WCHAR *valueName, DWORD *languageId)
{
    HKEY key;
    if (RegOpenKeyExW(root, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = *languageId, size = sizeof value;
    LONG result = RegQueryValueExW(key, valueName, NULL, NULL, (BYTE *)&value, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return false;
    *languageId = value;
    return true;
}

static DWORD ChooseUiLanguage()
{
    DWORD languageId = UserDefaultLanguage;
    if (!ReadLanguage(HKEY_CURRENT_USER, LanguageValue, &languageId) &&
        !ReadLanguage(HKEY_LOCAL_MACHINE, DefaultLanguageValue, &languageId))
        languageId = UserDefaultLanguage;
    return languageId;
}

void LoadUiStrings(HINSTANCE module)
{
    UiLanguageId = ChooseUiLanguage();
    for (UINT id = IDS_FIRST; id <= IDS_LAST; ++id)
        LoadStringInLanguage(module, UiLanguageId, id, UiStrings[id - IDS_FIRST]);
}

// Copies a string's entry from the table of exactly that language; false when the language has no
// table or its table no text for the string.
static bool CopyTableEntry(HINSTANCE module, LANGID language, UINT stringId, WCHAR *buffer)
{
    HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(stringId / 16 + 1), language);
    HGLOBAL loaded = block ? LoadResource(module, block) : NULL;
    const WCHAR *entries = loaded ? (const WCHAR *)LockResource(loaded) : NULL;
    if (!entries)
        return false;

    // Each entry is a count and that many code units; the walk stays within
    // the block however its counts read.
    size_t units = SizeofResource(module, block) / sizeof(WCHAR), position = 0;
    for (UINT skipped = 0; skipped < stringId % 16 && position < units; ++skipped)
        position += 1 + entries[position];
    if (position >= units || entries[position] > units - position - 1)
        return false;
    size_t length = entries[position] < UI_STRING_CAPACITY - 1 ? entries[position] : UI_STRING_CAPACITY - 1;
    wmemcpy(buffer, entries + position + 1, length);
    buffer[length] = 0;
    return buffer[0] != 0;
}

// The language's own text, else its primary language's (German for de-AT), else the English one,
// which every string has: no label is ever empty for want of a translation, and a language without
// a table reads English, whatever table the platform's neutral lookup would fall to (Windows may
// take the first in the file). The user's default is the user's interface language. Resources are
// read through KERNEL32 alone, so that an autostart never loads USER32.
void LoadStringInLanguage(HINSTANCE module, DWORD languageId, UINT stringId, WCHAR *buffer)
{
    LANGID language = LOWORD(languageId);
    if (PRIMARYLANGID(language) == LANG_NEUTRAL)
        language = GetUserDefaultUILanguage();
    buffer[0] = 0;
    if (!CopyTableEntry(module, language, stringId, buffer) &&
        !CopyTableEntry(module, MAKELANGID(PRIMARYLANGID(language), SUBLANG_DEFAULT), stringId, buffer))
        CopyTableEntry(module, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), stringId, buffer);
}

bool SaveUiLanguage(DWORD languageId)
{
    return SetSettingValue(LanguageValue, REG_DWORD, &languageId, sizeof languageId);
}

void ShowRestartNotice(DWORD languageId)
{
    WCHAR newLanguage[UI_STRING_CAPACITY], text[2 * UI_STRING_CAPACITY];
    LoadStringInLanguage(AppInstance, languageId, IDS_RESTART, newLanguage);
    FormatText(text, ARRAYSIZE(text), L"%s\n%s", UiString(IDS_RESTART), newLanguage);
    ShowMessage(text, IDS_INFORMATION);
}

void ShowMessage(const WCHAR *text, UINT captionId)
{
    MessageBoxW(NULL, text, UiString(captionId), MB_OK | MB_ICONEXCLAMATION);
}

void ShowFailure(UINT formatId)
{
    DWORD code = GetLastError();
    // The system's words in the interface language where it has them, else
    // in its own, without their line end; the code in any case.
    WCHAR reason[UI_STRING_CAPACITY] = L"", text[2 * UI_STRING_CAPACITY];
    const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (!FormatMessageW(flags, NULL, code, UiLanguageId, reason, ARRAYSIZE(reason), NULL))
        FormatMessageW(flags, NULL, code, 0, reason, ARRAYSIZE(reason), NULL);
    size_t length = wcslen(reason);
    while (length && iswspace(reason[length - 1]))
        reason[--length] = 0;
    FormatText(reason + length, ARRAYSIZE(reason) - length, ErrorCodeFormat + (length ? 0 : 1), (int)code);
    FormatText(text, ARRAYSIZE(text), UiString(formatId), reason);
    ShowMessage(text, IDS_ERROR);
}
