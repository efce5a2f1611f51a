// The autostart whitelist: address0, address1, ... up to an empty end
// marker, loaded into a list that grows at the front.
#include "launch/launch.h"

#include "base/base.h"

#include <wchar.h>

WhitelistEntry *Whitelist;

typedef WCHAR ValueName[32];

static void FormatValueName(ValueName &name, DWORD index)
{
    FormatText(name, ARRAYSIZE(name), WhitelistValueFormat, (unsigned)index);
}

void PushWhitelistEntry(WhitelistEntry **list, const WCHAR *address)
{
    WhitelistEntry *entry = (WhitelistEntry *)LocalAlloc(LPTR, sizeof(WhitelistEntry));
    if (!entry)
        return; // that one address is left out
    wcsncpy(entry->address, address, WHITELIST_ADDRESS_CAPACITY - 1);
    entry->next = *list;
    *list = entry;
}

void FreeWhitelistEntries(WhitelistEntry **list)
{
    while (*list) {
        WhitelistEntry *next = (*list)->next;
        LocalFree(*list);
        *list = next;
    }
}

void FreeWhitelist()
{
    FreeWhitelistEntries(&Whitelist);
}

// One value, read with its own open and close of the key. A value of 261
// characters without terminator is taken as it is and cut to 260 later.
static LONG ReadWhitelistValue(DWORD index, WCHAR *text)
{
    HKEY key;
    text[0] = 0;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKeyPath, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS)
        return result;
    ValueName name;
    FormatValueName(name, index);
    DWORD size = WHITELIST_ADDRESS_CAPACITY * sizeof(WCHAR);
    result = RegQueryValueExW(key, name, NULL, NULL, (BYTE *)text, &size);
    RegCloseKey(key);
    text[result == ERROR_SUCCESS ? size / sizeof(WCHAR) : 0] = 0;
    return result;
}

// Reads the stored list, address0 first, each entry pushed at the front.
// No key, a missing or empty value, or one too long for an entry ends the
// list; any other failure ends it too and is the result.
static LONG LoadList(WhitelistEntry **list)
{
    WCHAR text[WHITELIST_ADDRESS_CAPACITY + 1];
    for (DWORD index = 0;; ++index) {
        LONG result = ReadWhitelistValue(index, text);
        if (result == ERROR_FILE_NOT_FOUND || result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && !text[0]))
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        PushWhitelistEntry(list, text);
    }
}

void LoadWhitelist()
{
    LoadList(&Whitelist); // what could not be read is left out, silently
}

// Takes one entry of that text out of the list; false when there is none.
static bool TakeEntry(WhitelistEntry **list, const WCHAR *address)
{
    for (; *list; list = &(*list)->next)
        if (!wcscmp((*list)->address, address)) {
            WhitelistEntry *taken = *list;
            *list = taken->next;
            LocalFree(taken);
            return true;
        }
    return false;
}

// A copy in the same order.
static WhitelistEntry *CopyList(const WhitelistEntry *list)
{
    WhitelistEntry *copy = NULL, **end = &copy;
    for (; list; list = list->next) {
        PushWhitelistEntry(end, list->address);
        if (*end)
            end = &(*end)->next;
    }
    return copy;
}

WhitelistEntry *MergeWhitelist(const WhitelistEntry *start, const WhitelistEntry *edited,
                               const WhitelistEntry *stored)
{
    WhitelistEntry *unmatchedStart = CopyList(start), *unmatchedStored = CopyList(stored), *merged = NULL;
    for (const WhitelistEntry *entry = edited; entry; entry = entry->next) {
        // Kept from the start: only if it is still stored. Added here: always.
        bool kept = TakeEntry(&unmatchedStart, entry->address);
        if (TakeEntry(&unmatchedStored, entry->address) || !kept)
            PushWhitelistEntry(&merged, entry->address);
    }
    // What is stored beyond that: removed here, or added by another launcher.
    for (const WhitelistEntry *entry = unmatchedStored; entry; entry = entry->next)
        if (!TakeEntry(&unmatchedStart, entry->address))
            PushWhitelistEntry(&merged, entry->address);
    FreeWhitelistEntries(&unmatchedStart);
    FreeWhitelistEntries(&unmatchedStored);
    return merged;
}

static LONG WriteWhitelistValue(HKEY key, DWORD index, const WCHAR *text)
{
    ValueName name;
    FormatValueName(name, index);
    return SetTextValue(key, name, text);
}

// Values past the end marker that a longer list left behind.
static void DeleteValuesFrom(HKEY key, DWORD index)
{
    ValueName name;
    for (;; ++index) {
        FormatValueName(name, index);
        if (RegDeleteValueW(key, name) != ERROR_SUCCESS)
            break;
    }
}

// The stored list is overwritten in place, never deleted first, so a key
// that cannot be written keeps the user's former whitelist; a value that
// cannot be written ends the save before the end marker moves.
static LONG WriteList(const WhitelistEntry *list)
{
    HKEY key;
    if (!OpenKeyForWriting(WhitelistKeyPath, &key))
        return (LONG)GetLastError();
    LONG result = ERROR_SUCCESS;
    DWORD index = 0;
    for (; list && result == ERROR_SUCCESS; list = list->next)
        result = WriteWhitelistValue(key, index++, list->address);
    if (result == ERROR_SUCCESS)
        result = WriteWhitelistValue(key, index, L"");
    if (result == ERROR_SUCCESS)
        DeleteValuesFrom(key, index + 1);
    RegCloseKey(key);
    return result;
}

bool SaveWhitelist(const WhitelistEntry *list)
{
    return RegistrySucceeded(WriteList(list));
}

bool StoreWhitelistEdits(const WhitelistEntry *edited)
{
    // A stored list that cannot be read is not an empty one: nothing is
    // merged with it, so no entry is dropped for it.
    WhitelistEntry *stored = NULL, *merged = NULL;
    LONG result = LoadList(&stored);
    if (result == ERROR_SUCCESS) {
        merged = MergeWhitelist(Whitelist, edited, stored);
        result = WriteList(merged);
    }
    FreeWhitelistEntries(&stored);
    if (result == ERROR_SUCCESS) {
        FreeWhitelist();
        Whitelist = merged;
    } else {
        FreeWhitelistEntries(&merged);
    }
    return RegistrySucceeded(result);
}
