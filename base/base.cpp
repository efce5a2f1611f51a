// The module handle, the registry's opener, reader and writer, and formatting.
#include "base/base.h"

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

HINSTANCE AppInstance;

bool OpenKeyForWriting(const WCHAR *path, HKEY *key)
{
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, key);
    if (result == ERROR_FILE_NOT_FOUND) {
        HKEY created;
        result = RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                                 KEY_CREATE_SUB_KEY, NULL, &created, NULL);
        if (result == ERROR_SUCCESS) {
            RegCloseKey(created);
            result = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, key);
        }
    }
    return RegistrySucceeded(result);
}

bool SetSettingValue(const WCHAR *name, DWORD type, const void *data, DWORD size)
{
    HKEY key;
    if (!OpenKeyForWriting(SettingsKeyPath, &key))
        return false;
    LONG result = RegSetValueExW(key, name, 0, type, (const BYTE *)data, size);
    RegCloseKey(key);
    return RegistrySucceeded(result);
}

DWORD TextSize(const WCHAR *text)
{
    return (DWORD)((wcslen(text) + 1) * sizeof(WCHAR));
}

LONG QueryText(HKEY key, const WCHAR *name, WCHAR *field, DWORD capacity, bool *cut)
{
    DWORD size = capacity * sizeof(WCHAR);
    LONG result = RegQueryValueExW(key, name, NULL, NULL, (BYTE *)field, &size);
    DWORD characters = result == ERROR_SUCCESS ? size / sizeof(WCHAR) : 0;
    *cut = characters == capacity && field[capacity - 1] != 0;
    // Also drops the odd byte of an odd size.
    field[characters < capacity ? characters : capacity - 1] = 0;
    return result;
}

bool RegistrySucceeded(LONG result)
{
    SetLastError((DWORD)result);
    return result == ERROR_SUCCESS;
}

bool FormatText(WCHAR *buffer, size_t capacity, const WCHAR *format, ...)
{
    // _vsnwprintf keeps the Microsoft meaning of %s even where the C++
    // headers switch the ISO one on; it does not terminate a full buffer.
    va_list arguments;
    va_start(arguments, format);
    int written = _vsnwprintf(buffer, capacity, format, arguments);
    va_end(arguments);
    buffer[capacity - 1] = 0;
    return written >= 0 && (size_t)written < capacity;
}
