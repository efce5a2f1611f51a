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

void LoadStringInLanguage(HINSTANCE module, DWORD languageId, UINT stringId, WCHAR *buffer)
{
    buffer[0] = 0;
    const WCHAR *name = MAKEINTRESOURCEW(stringId / 16 + 1);
    HRSRC block = FindResourceExW(module, RT_STRING, name, LOWORD(languageId));
    HGLOBAL loaded = block ? LoadResource(module, block) : NULL;
    if (!loaded) {
        // No table in that language: the default language search that
        // LoadStringW makes, done here so that an autostart never loads USER32.
        block = FindResourceW(module, name, RT_STRING);
        loaded = block ? LoadResource(module, block) : NULL;
    }
    const WCHAR *entries = loaded ? (const WCHAR *)LockResource(loaded) : NULL;
    if (!entries)
        return;

    // Each entry is a count and that many code units; the walk stays within
    // the block however its counts read.
    size_t units = SizeofResource(module, block) / sizeof(WCHAR), position = 0;
    for (UINT skipped = 0; skipped < stringId % 16 && position < units; ++skipped)
        position += 1 + entries[position];
    if (position >= units || entries[position] > units - position - 1)
        return;
    size_t length = entries[position] < UI_STRING_CAPACITY - 1 ? entries[position] : UI_STRING_CAPACITY - 1;
    wmemcpy(buffer, entries + position + 1, length);
    buffer[length] = 0;
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
