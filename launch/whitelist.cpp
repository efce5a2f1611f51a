// The autostart whitelist: address0, address1, ... up to an empty end
// marker, loaded into a list that grows at the front.
#include "launch/launch.h"

#include "base/base.h"

#include <wchar.h>

WhitelistEntry *Whitelist;

// Launchers of one session load, merge and write the stored list one at a
// time. A save waits its turn for as long as a slow disk may take; a start
// waits only briefly, as a launcher's save takes milliseconds.
static const WCHAR WhitelistLockName[] = L"Local\\kelvra launcher whitelist";
enum {
    LOAD_LOCK_WAIT_MS = 2000,
    SAVE_LOCK_WAIT_MS = 10000
};

typedef WCHAR ValueName[32];

// The session's lock on the stored list, or NULL with the reason as the
// last error. A lock whose holder died is taken over: the list it left is
// whole or put back, as far as a save could.
static HANDLE LockStoredList(DWORD waitMs)
{
    HANDLE lock = CreateMutexW(NULL, FALSE, WhitelistLockName);
    if (!lock)
        return NULL;
    DWORD waited = WaitForSingleObject(lock, waitMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED)
        return lock;
    DWORD reason = waited == WAIT_TIMEOUT ? ERROR_TIMEOUT : GetLastError();
    CloseHandle(lock);
    SetLastError(reason);
    return NULL;
}

static void UnlockStoredList(HANDLE lock)
{
    ReleaseMutex(lock);
    CloseHandle(lock);
}

static void FormatValueName(ValueName &name, DWORD index)
{
    FormatText(name, ARRAYSIZE(name), WhitelistValueFormat, (unsigned)index);
}

bool PushWhitelistEntry(WhitelistEntry **list, const WCHAR *address)
{
    WhitelistEntry *entry = (WhitelistEntry *)LocalAlloc(LPTR, sizeof(WhitelistEntry));
    if (!entry)
        return false;
    wcsncpy(entry->address, address, WHITELIST_ADDRESS_CAPACITY - 1);
    entry->next = *list;
    *list = entry;
    return true;
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
// characters without terminator is cut to 260.
static LONG ReadWhitelistValue(DWORD index, WCHAR *text)
{
    HKEY key;
    text[0] = 0;
    LONG result = RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKeyPath, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS)
        return result;
    ValueName name;
    FormatValueName(name, index);
    bool cut;
    result = QueryText(key, name, text, WHITELIST_ADDRESS_CAPACITY, &cut);
    RegCloseKey(key);
    return result;
}

// Reads the stored list, address0 first, each entry pushed at the front.
// No key, a missing or empty value, or one too long for an entry ends the
// list; any other failure ends it too and is the result. An entry that
// cannot be allocated is left out, and the result says so at the end.
static LONG LoadList(WhitelistEntry **list)
{
    WCHAR text[WHITELIST_ADDRESS_CAPACITY];
    LONG outcome = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        LONG result = ReadWhitelistValue(index, text);
        if (result == ERROR_FILE_NOT_FOUND || result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && !text[0]))
            return outcome;
        if (result != ERROR_SUCCESS)
            return result;
        if (!PushWhitelistEntry(list, text))
            outcome = ERROR_NOT_ENOUGH_MEMORY;
    }
}

void LoadWhitelist()
{
    // What could not be read is left out, silently.
    HANDLE lock = LockStoredList(LOAD_LOCK_WAIT_MS);
    if (!lock)
        return;
    LoadList(&Whitelist);
    UnlockStoredList(lock);
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

// A copy in the same order; false when an entry could not be copied.
static bool CopyList(const WhitelistEntry *list, WhitelistEntry **copy)
{
    WhitelistEntry **end = copy;
    for (; list; list = list->next, end = &(*end)->next)
        if (!PushWhitelistEntry(end, list->address))
            return false;
    return true;
}

// The whitelist window's edits (its items from the top) applied to the list
// as stored now, measured against the list the window started from: what
// it kept stays only while still stored, what it added is added, what it
// removed goes, and what another launcher added stays. False, with no list,
// when memory ran out.
static bool MergeWhitelist(const WhitelistEntry *start, const WhitelistEntry *edited,
                           const WhitelistEntry *stored, WhitelistEntry **merged)
{
    WhitelistEntry *unmatchedStart = NULL, *unmatchedStored = NULL;
    bool whole = CopyList(start, &unmatchedStart) && CopyList(stored, &unmatchedStored);
    *merged = NULL;
    for (const WhitelistEntry *entry = edited; whole && entry; entry = entry->next) {
        // Kept from the start: only if it is still stored. Added here: always.
        bool kept = TakeEntry(&unmatchedStart, entry->address);
        if (TakeEntry(&unmatchedStored, entry->address) || !kept)
            whole = PushWhitelistEntry(merged, entry->address);
    }
    // What is stored beyond that: removed here, or added by another launcher.
    for (const WhitelistEntry *entry = unmatchedStored; whole && entry; entry = entry->next)
        if (!TakeEntry(&unmatchedStart, entry->address))
            whole = PushWhitelistEntry(merged, entry->address);
    FreeWhitelistEntries(&unmatchedStart);
    FreeWhitelistEntries(&unmatchedStored);
    if (!whole)
        FreeWhitelistEntries(merged);
    return whole;
}

// Turns a list read from the registry (address0 last) into the order it is
// written in (address0 first), and back.
static void ReverseList(WhitelistEntry **list)
{
    WhitelistEntry *reversed = NULL;
    while (*list) {
        WhitelistEntry *entry = *list;
        *list = entry->next;
        entry->next = reversed;
        reversed = entry;
    }
    *list = reversed;
}

// Writes the list from address0 on, then its end marker, `limit` values at
// most; `written` counts the values written before any failure.
static LONG WriteEntries(HKEY key, const WhitelistEntry *list, DWORD limit, DWORD *written)
{
    ValueName name;
    for (*written = 0; *written < limit; list = list->next) {
        FormatValueName(name, *written);
        const WCHAR *text = list ? list->address : L"";
        LONG result = RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, TextSize(text));
        if (result != ERROR_SUCCESS)
            return result;
        ++*written;
        if (!list)
            break;
    }
    return ERROR_SUCCESS;
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

// The list is written over the former one in place, never deleted first,
// so a key that cannot be written keeps the user's whitelist. A value that
// cannot be written puts the former list (address0 first) back over the
// values written before it; `damaged` says when even that failed.
static LONG WriteList(const WhitelistEntry *list, const WhitelistEntry *former, bool *damaged)
{
    HKEY key;
    if (!OpenKeyForWriting(WhitelistKeyPath, &key))
        return (LONG)GetLastError();
    DWORD written, restored;
    LONG result = WriteEntries(key, list, MAXDWORD, &written);
    if (result == ERROR_SUCCESS)
        DeleteValuesFrom(key, written);
    else
        *damaged = WriteEntries(key, former, written, &restored) != ERROR_SUCCESS;
    RegCloseKey(key);
    return result;
}

WhitelistStore StoreWhitelistEdits(const WhitelistEntry *edited)
{
    HANDLE lock = LockStoredList(SAVE_LOCK_WAIT_MS);
    if (!lock)
        return WHITELIST_UNCHANGED;
    // A stored list that cannot be read, or a merge short of memory, is not
    // saved: every entry it lacks would be dropped.
    WhitelistEntry *stored = NULL, *merged = NULL;
    bool damaged = false;
    LONG result = LoadList(&stored);
    if (result == ERROR_SUCCESS && !MergeWhitelist(Whitelist, edited, stored, &merged))
        result = ERROR_NOT_ENOUGH_MEMORY;
    if (result == ERROR_SUCCESS) {
        ReverseList(&stored);
        result = WriteList(merged, stored, &damaged);
    }
    UnlockStoredList(lock);
    FreeWhitelistEntries(&stored);
    if (result == ERROR_SUCCESS) {
        FreeWhitelist();
        Whitelist = merged;
    } else {
        FreeWhitelistEntries(&merged);
    }
    if (RegistrySucceeded(result))
        return WHITELIST_STORED;
    return damaged ? WHITELIST_DAMAGED : WHITELIST_UNCHANGED;
}
