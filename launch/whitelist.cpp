// The autostart whitelist: address0, address1, ... up to an empty end
// marker, loaded into a list that grows at the front.
#include "launch/launch.h"

#include "base/base.h"

#include <wchar.h>

WhitelistEntry *Whitelist;
const WCHAR WhitelistKeyPath[] = L"Software\\tQr\\kelvra launcher\\whitelist";

static void FormatValueName(WCHAR *name, DWORD index)
{
    FormatText(name, 32, L"address%u", (unsigned)index);
}

static void PushEntry(WhitelistEntry **list, const WCHAR *address)
{
    WhitelistEntry *entry = (WhitelistEntry *)LocalAlloc(LPTR, sizeof(WhitelistEntry));
    if (!entry)
        return; // that one address is left out
    wcsncpy(entry->address, address, WHITELIST_ADDRESS_CAPACITY - 1);
    entry->next = *list;
    *list = entry;
}

static void FreeList(WhitelistEntry **list)
{
    while (*list) {
        WhitelistEntry *next = (*list)->next;
        LocalFree(*list);
        *list = next;
    }
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

// One value, read with its own open and close of the key. A value of 261
// characters without terminator is taken as it is and cut to 260 later.
static bool ReadWhitelistValue(DWORD index, WCHAR *text)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    WCHAR name[32];
    FormatValueName(name, index);
    DWORD size = WHITELIST_ADDRESS_CAPACITY * sizeof(WCHAR);
    LONG result = RegQueryValueExW(key, name, NULL, NULL, (BYTE *)text, &size);
    RegCloseKey(key);
    text[result == ERROR_SUCCESS ? size / sizeof(WCHAR) : 0] = 0;
    return result == ERROR_SUCCESS;
}

static void LoadList(WhitelistEntry **list)
{
    WCHAR text[WHITELIST_ADDRESS_CAPACITY + 1];
    for (DWORD index = 0; ReadWhitelistValue(index, text) && text[0]; ++index)
        PushEntry(list, text);
}

void LoadWhitelist()
{
    LoadList(&Whitelist);
}

// Another launcher may have stored the list while the window was open: the
// window's own additions and removals are applied to what is stored now,
// taking the list the window was filled from as their base. When nothing
// else stored meanwhile, the result is the window's list as it stands.
void RebuildWhitelistFromListBox(HWND listBox)
{
    WhitelistEntry *shown = Whitelist, *stored = NULL;
    Whitelist = NULL;
    LoadList(&stored);
    LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
        WCHAR text[WHITELIST_ADDRESS_CAPACITY] = L"";
        SendMessageW(listBox, LB_GETTEXT, (WPARAM)item, (LPARAM)text);
        if (!text[0])
            continue;
        // Kept from the start: only if it is still stored. Added here: always.
        bool kept = TakeEntry(&shown, text);
        if (TakeEntry(&stored, text) || !kept)
            PushEntry(&Whitelist, text);
    }
    // What is stored beyond that: removed here, or added by another launcher.
    for (WhitelistEntry *entry = stored; entry; entry = entry->next)
        if (!TakeEntry(&shown, entry->address))
            PushEntry(&Whitelist, entry->address);
    FreeList(&shown);
    FreeList(&stored);
}

static bool WriteWhitelistValue(DWORD index, const WCHAR *text)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    WCHAR name[32];
    FormatValueName(name, index);
    LONG result = RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text,
                                 (DWORD)((wcslen(text) + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Values past the end marker that a longer list left behind.
static void DeleteValuesFrom(DWORD index)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKeyPath, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    WCHAR name[32];
    for (;; ++index) {
        FormatValueName(name, index);
        if (RegDeleteValueW(key, name) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
}

// The stored list is overwritten in place, never deleted first, so a key
// that cannot be written keeps the user's former whitelist.
bool SaveWhitelist()
{
    HKEY key;
    if (!OpenKeyForWriting(WhitelistKeyPath, &key))
        return false;
    RegCloseKey(key);

    DWORD index = 0;
    bool written = true;
    for (const WhitelistEntry *entry = Whitelist; entry; entry = entry->next, ++index)
        if (!WriteWhitelistValue(index, entry->address)) {
            written = false;
            break;
        }
    if (!WriteWhitelistValue(index, L""))
        return false;
    DeleteValuesFrom(index + 1);
    return written;
}

void FreeWhitelist()
{
    FreeList(&Whitelist);
}
