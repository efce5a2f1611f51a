// The module handle, the registry's opener and writer, and formatting.
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
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                            KEY_CREATE_SUB_KEY, NULL, &created, NULL) == ERROR_SUCCESS)
            RegCloseKey(created);
        result = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, key);
    }
    return RegistrySucceeded(result);
}

LONG SetTextValue(HKEY key, const WCHAR *name, const WCHAR *text)
{
    return RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)((wcslen(text) + 1) * sizeof(WCHAR)));
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
