// The program's parts in this process: the link parser, what loads from the registry, the string
// tables, the whitelist's merge and save, the windows as created and a start-up that fails.
#include "app/app.h"
#include "i18n/i18n.h"
#include "launch/launch.h"
#include "testing.h"
#include "ui/ui.h"

#include <gtest/gtest.h>
#include <set>

namespace {

const HMODULE Module = GetModuleHandleW(NULL); // linked with the program's resources

// Points this process's imports, which the program's code calls too, from one function to another.
void RedirectImport(const void *from, const void *to)
{
    BYTE *base = (BYTE *)Module;
    const IMAGE_NT_HEADERS *headers =
        (const IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY table =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
    const void **slots = (const void **)(base + table.VirtualAddress);
    for (const void **slot = slots; slot < slots + table.Size / sizeof *slot; ++slot)
        if (*slot == from) {
            DWORD access;
            VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &access);
            *slot = to;
            VirtualProtect(slot, sizeof *slot, access, &access);
        }
}
// What the program took and has not given back: LocalAlloc's and FormatMessageW's blocks, registry
// keys opened or made. The AllocationsToFailure-th allocation from now fails.
std::set<void *> Live;
int AllocationsToFailure;
decltype(&LocalAlloc) RealAlloc; // not constants, which a call would read through the import
decltype(&LocalFree) RealFree;
decltype(&FormatMessageW) RealFormat;
decltype(&RegOpenKeyExW) RealOpen;
decltype(&RegCreateKeyExW) RealCreate;
decltype(&RegCloseKey) RealClose;
LONG Opened(LONG result, const HKEY *key) { return result || Live.insert(*key).second, result; }
LONG WINAPI CountedOpen(HKEY root, LPCWSTR path, DWORD options, REGSAM access, HKEY *key)
{
    return Opened(RealOpen(root, path, options, access, key), key);
}
LONG WINAPI CountedCreate(HKEY root, LPCWSTR path, DWORD reserved, LPWSTR type, DWORD options,
                          REGSAM access, SECURITY_ATTRIBUTES *security, HKEY *key, DWORD *done)
{
    return Opened(RealCreate(root, path, reserved, type, options, access, security, key, done),
                  key);
}
LONG WINAPI CountedClose(HKEY key) { return Live.erase(key), RealClose(key); }
HLOCAL WINAPI CountedAlloc(UINT flags, SIZE_T size)
{
    if (AllocationsToFailure && !--AllocationsToFailure)
        return SetLastError(ERROR_NOT_ENOUGH_MEMORY), (HLOCAL)NULL;
    HLOCAL block = RealAlloc(flags, size);
    Live.insert(block);
    return block;
}
HLOCAL WINAPI CountedFree(HLOCAL block) { return Live.erase(block), RealFree(block); }
DWORD WINAPI CountedFormat(DWORD flags, LPCVOID source, DWORD id, DWORD language, LPWSTR buffer,
                           DWORD size, va_list *arguments)
{
    DWORD length = RealFormat(flags, source, id, language, buffer, size, arguments);
    if (length && (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER))
        Live.insert(*(HLOCAL *)buffer);
    return length;
}
template <typename Function> void Count(Function **real, Function *function, Function *counted)
{
    *real = function;
    RedirectImport((const void *)*real, (const void *)counted);
}
const bool Counting = (Count(&RealAlloc, LocalAlloc, CountedAlloc),
                       Count(&RealFree, LocalFree, CountedFree),
                       Count(&RealFormat, FormatMessageW, CountedFormat),
                       Count(&RealOpen, RegOpenKeyExW, CountedOpen),
                       Count(&RealCreate, RegCreateKeyExW, CountedCreate),
                       Count(&RealClose, RegCloseKey, CountedClose), true);

// After each test, with the whitelist freed, nothing is left taken.
struct Balanced : testing::Test {
    void TearDown() override
    {
        FreeWhitelist();
        EXPECT_EQ(0u, Live.size()) << "blocks left allocated or keys left open";
        Live.clear();
    }
};
using Links = Balanced;
using Registry = Balanced;
using Strings = Balanced;
using Fields = Balanced;
using Whitelists = Balanced;
using Windows = Balanced;

// The parsed link as "host:port".
Text Parse(const std::string &link)
{
    memset(&LaunchTarget, 0x55, sizeof LaunchTarget); // no terminator to lean on
    ParseInvocationUrl(link.c_str());
    EXPECT_LT(wcsnlen(LaunchTarget.host, HOST_CAPACITY), (size_t)HOST_CAPACITY) << link;
    return LaunchTarget.host + (L":" + std::to_wstring(LaunchTarget.port));
}

TEST_F(Links, Table) // the host is cut to 255 characters, then filtered
{
    const std::string rows[][2] = {
        {"\"scheme://player@192.0.2.10:27961/x?y\"", "192.0.2.10:27961"},
        {"", ":27960"},
        {"s://h:2abc?x=1", "h:2"},
        {"s://h?a=/b", "ha:27960"},
        {"s://h/a:1", "ha:1"},
        {"a b_\xe9", "ab:27960"},
        {"s://" + std::string(250, 'a') + "_____bbb", std::string(250, 'a') + ":27960"},
        {"scheme://[::1]:27960", ":0"},
        {"scheme://server:-1", "server:65535"},
        {"s://`az{AZ[-.09",
         "azAZ-.09:27960"}, // the edges of the letters kept, and their neighbours
    };
    for (const auto &row : rows)
        EXPECT_EQ(Text(row[1].begin(), row[1].end()), Parse(row[0])) << row[0];
}

Text Entries(const WhitelistEntry *list) // "a,b,c", first entry first
{
    Text entries;
    for (; list; list = list->next)
        entries += (entries.empty() ? L"" : L",") + Text(list->address);
    return entries;
}

// Every value the program reads, stored as data of each kind (texts of 'A's, so a cut shows in the
// length), and what loads; the language as its id, with 0x040C as the machine's default below it.
TEST_F(Registry, BadDataMatrix)
{
    enum { Missing, Empty, OneByte, ThreeBytes, Full, ExactFill, OverFill, Dword, Binary, Multi };
    enum { Kinds = Multi + 1 };
    const Text T = L"+set fs_game kelvra +connect \"$address\"", N = L"N\xD8FFz", A = L"A",
               A260(260, 'A');
    const Text d = L"\x0407";
    const struct {
        const wchar_t *path, *name;
        DWORD capacity;
        Text loads[Kinds];
    } values[] = {
        {SettingsKey, L"enginepath", 520, {L"", L"", L"", A, Text(259, 'A'), L"", L"", d, N, L"a"}},
        {SettingsKey, L"parameters", 512, {T, T, T, A, Text(255, 'A'), T, T, d, N, L"a"}},
        {WhitelistKey, L"address0", 522, {L"", L"", L"", A, A260, A260, L"", d, N, L"a"}},
        {SettingsKey, L"language", 4,
         {L"1036", L"1024", L"65", L"4259905", L"65", L"4259905", L"1036", L"1031", L"1036",
          L"1036"}},
    };
    static const BYTE binary[] = {0x4E, 0,    0xFF, 0xD8, 0x7A, 0,    0,    0,
                                  0x99, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22};
    for (const auto &value : values)
        for (int kind = Missing; kind < Kinds; ++kind) {
            const DWORD size = value.capacity;
            const Text a(size / 2 + 1, L'A'),
                full(size / 2 - 1, L'A'); // full: to the capacity with a terminator
            const struct {
                DWORD type;
                const void *data;
                DWORD size;
            } data[] = {{0, NULL, 0}, {REG_SZ, a.c_str(), 0}, {REG_SZ, a.c_str(), 1},
                        {REG_SZ, a.c_str(), 3}, {REG_SZ, full.c_str(), size},
                        {REG_SZ, a.c_str(), size}, {REG_SZ, a.c_str(), size + 2},
                        {REG_DWORD, L"\x0407", 4}, {REG_BINARY, binary, sizeof binary},
                        {REG_MULTI_SZ, L"a\0b\0", 10}};
            ClearRegistry();
            if (&value == &values[3])
                SetDword(HKEY_LOCAL_MACHINE, L"defaultlanguage", 0x040C);
            if (kind != Missing)
                SetValue(HKEY_CURRENT_USER, value.path, value.name, data[kind].type,
                         data[kind].data, data[kind].size);
            memset(&LaunchSettings, 0xAB, sizeof LaunchSettings);

            LoadLaunchSettings();
            FreeWhitelist();
            LoadWhitelist();
            LoadUiStrings(Module);

            const Text loaded[] = {LaunchSettings.enginePath, LaunchSettings.parameterTemplate,
                                   Entries(Whitelist), std::to_wstring(UiLanguageId)};
            EXPECT_EQ(value.loads[kind], loaded[&value - values])
                << value.capacity << " bytes, kind " << kind;
        }
}

// A field of four cells filled exactly or beyond, from the registry and by formatting: it ends in
// a terminator, and the cells after it stay.
TEST_F(Fields, ExactFill)
{
    const struct {
        const wchar_t *data; // stored with `size` bytes, or formatted with -`size` characters
        int size;
        Text filled;
    } rows[] = {{L"abcd", 8, L"abc cut"}, {L"abcd", 10, L"(234)"}, {L"abcd", -4, L"abc cut"}};
    const WCHAR guard = 0xFDFD;
    for (const auto &row : rows) {
        WCHAR field[4 + 4];
        std::fill(field, field + 8, guard);
        Text seen;
        if (row.size > 0) {
            ClearRegistry();
            SetValue(HKEY_CURRENT_USER, SettingsKey, L"v", REG_SZ, row.data, row.size);
            HKEY key;
            RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, KEY_QUERY_VALUE, &key);
            bool cut = false;
            LONG result = QueryText(key, L"v", field, 4, &cut);
            RegCloseKey(key);
            seen = result ? L"(" + std::to_wstring(result) + L")" : cut ? L" cut" : L" read";
        } else {
            seen = FormatText(field, 4, L"%.*s", -row.size, row.data) ? L" fits" : L" cut";
        }
        EXPECT_EQ(row.filled, Text(field) + seen) << row.size;
        EXPECT_EQ(Text(4, guard), Text(field + 4, 4)) << row.size;
    }
    EXPECT_TRUE(SaveLaunchSetting(L"v", L"abc")); // its key closed again
}

// Strings carry no "%" but the "%s" of the formats (three in 40016, one in 40014, 40015, 40020 and
// 40033 to 40037), and are empty only at 40029 to 40031. Each is the platform's lookup's with the
// thread locale of the table that should serve it: English without a table (Spanish, Italian) or
// without the string (Russian 40021 to 40028), the user's language for the default, German for
// de-AT; the thread's locale otherwise Danish, which that lookup would fall to.
TEST_F(Strings, Tables)
{
    auto shape = [](Text text) { // "number of %s,empty", the number 100 with another "%"
        size_t count = 0;
        for (size_t at; (at = text.find(L"%s")) != Text::npos; ++count)
            text.erase(at, 2);
        return std::to_wstring(text.find(L'%') == Text::npos ? count : 100) + L"," +
               std::to_wstring(text.empty());
    };
    const LCID locale = GetThreadLocale();
    for (LANGID language :
         {1024, 0x0C0A, 1040, 0x0C07, 1030, 1031, 1033, 1035, 1036, 1038, 1043, 1049, 1053})
        for (UINT id = 40000; id <= 40037; ++id) {
            const LANGID table = language == 1024     ? GetUserDefaultUILanguage()
                                 : language == 0x0C07 ? 1031
                                 : language == 0x0C0A || language == 1040 ||
                                         (language == 1049 && id > 40020 && id < 40029)
                                     ? 1033
                                     : language;
            wchar_t own[UI_STRING_CAPACITY], platform[UI_STRING_CAPACITY] = L"";
            SetThreadLocale(table);
            const Text lookup(platform, LoadStringW(Module, id, platform, UI_STRING_CAPACITY));
            SetThreadLocale(1030);
            LoadStringInLanguage(Module, language, id, own);
            const int formats =
                id == 40016 ? 3 : id == 40014 || id == 40015 || id == 40020 || id > 40032;
            EXPECT_EQ(lookup + L"|" + std::to_wstring(formats) + L"," +
                          std::to_wstring(id > 40028 && id < 40032),
                      own + (L"|" + shape(own)))
                << language << " " << id;
        }
    SetThreadLocale(locale);
}

// Calls that fail: the CallsToFailure-th from now, and every one after it where KeepFailing.
int CallsToFailure;
bool KeepFailing;
decltype(&RegSetValueExW) RealSetValue;
decltype(&CreateWindowExW) RealCreateWindow;
LONG WINAPI FailingSetValue(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE *data,
                            DWORD size)
{
    const bool fails = --CallsToFailure == 0 || (KeepFailing && CallsToFailure < 0);
    return fails ? ERROR_WRITE_FAULT : RealSetValue(key, name, reserved, type, data, size);
}
HWND WINAPI FailingCreateWindow(DWORD exStyle, LPCWSTR name, LPCWSTR text, DWORD style, int x,
                                int y, int width, int height, HWND parent, HMENU menu,
                                HINSTANCE instance, LPVOID parameter)
{
    return --CallsToFailure ? RealCreateWindow(exStyle, name, text, style, x, y, width, height,
                                               parent, menu, instance, parameter)
                            : (SetLastError(ERROR_NOT_ENOUGH_MEMORY), (HWND)NULL);
}
BOOL WINAPI NoShowWindow(HWND, int) { return FALSE; }

// A whitelist window's OK: the list stored at start, then as another launcher left it, the
// window's items from the top, what is stored afterwards. Refused for its fault, or each
// allocation failing in turn, it tells why and keeps the start list and the stored one (or says
// `damaged` is left); then it stores.
enum Fault { None, ReadOnlyKey, UnreadableKey, VendorKeyReadOnly, NthWriteFails, FailsFromNth };
struct Edit {
    const char *name;
    Texts start, stored, edited, result;
    Fault fault = None;
    int nth = 0;
    Texts damaged = {};
};
TEST_F(Whitelists, Edits)
{
    const Texts ab = {L"a", L"b"}, o = {L"o0", L"o1", L"o2", L"o3"}, xy = {L"x", L"y"};
    const Edit rows[] = {
        {"no change keeps the order", {L"A", L"B"}, {L"A", L"B"}, {L"B", L"A"}, {L"A", L"B", L""}},
        {"both added c: stored once", {L"a"}, {L"c", L"a"}, {L"a", L"c"}, {L"c", L"a", L""}},
        {"another emptied the list, this one added x", ab, {}, {L"b", L"a", L"x"}, {L"x", L""}},
        {"another removed b, which this one kept", ab, {L"a"}, {L"b", L"a"}, {L"a", L""}},
        {"this one removed a, another added a again", {L"a"}, {L"a", L"a"}, {}, {L"a", L""}},
        {"this one removed all", ab, ab, {}, {L""}},
        {"this one removed b, another added c", ab, {L"a", L"b", L"c"}, {L"a"},
         {L"c", L"a", L""}},
        {"read-only", ab, ab, {L"b", L"x"}, {L"x", L"b", L""}, ReadOnlyKey},
        {"unreadable", ab, ab, {L"b"}, {L"b", L""}, UnreadableKey},
        {"no key, and its vendor's key read-only", ab, ab, {L"x"}, {L"x", L""}, VendorKeyReadOnly},
        {"its second value fails", o, o, xy, {L"y", L"x", L""}, NthWriteFails, 2},
        {"a longer list fails past the former end marker", {L"a"}, {L"a"}, {L"a", L"b", L"c"},
         {L"c", L"b", L"a", L""}, NthWriteFails, 3},
        {"every value from the second fails", o, o, xy, {L"y", L"x", L""}, FailsFromNth, 2,
         {L"y", L"o1", L"o2", L"o3", L""}},
    };
    const wchar_t Vendor[] = L"Software\\tQr";
    RealSetValue = &RegSetValueExW;
    for (const auto &row : rows) {
        ClearRegistry();
        StoreWhitelist(row.start);
        FreeWhitelist();
        LoadWhitelist();
        StoreWhitelist(row.stored);
        WhitelistEntry *edited = NULL; // the first item first
        for (auto item = row.edited.rbegin(); item != row.edited.rend(); ++item)
            PushWhitelistEntry(&edited, item->c_str());
        if (row.fault == VendorKeyReadOnly)
            RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey), LockKey(Vendor, ReadOnly);
        LockKey(WhitelistKey, row.fault == ReadOnlyKey     ? ReadOnly
                              : row.fault == UnreadableKey ? WriteOnly
                                                           : FullAccess);
        RedirectImport((const void *)RealSetValue, (const void *)FailingSetValue);
        CallsToFailure = row.nth;
        KeepFailing = row.fault == FailsFromNth;
        const DWORD error = row.fault == None         ? ERROR_NOT_ENOUGH_MEMORY
                            : row.fault < NthWriteFails ? ERROR_ACCESS_DENIED
                                                        : ERROR_WRITE_FAULT;
        const Text start = Entries(Whitelist);
        const Texts stored = StoredWhitelist();
        int refusals = 0;
        for (int n = 1; n < 100; ++n, ++refusals) {
            AllocationsToFailure = row.fault == None ? n : 0;
            const WhitelistStore outcome = StoreWhitelistEdits(edited);
            if (outcome == WHITELIST_STORED)
                break;
            EXPECT_EQ(row.damaged.empty() ? WHITELIST_UNCHANGED : WHITELIST_DAMAGED, outcome);
            EXPECT_EQ(error, GetLastError()) << row.name << n;
            EXPECT_EQ(row.damaged.empty() ? stored : row.damaged, StoredWhitelist()) << row.name;
            EXPECT_EQ(start, Entries(Whitelist)) << row.name << n;
            RedirectImport((const void *)FailingSetValue, (const void *)RealSetValue);
            LockKey(Vendor, FullAccess);
            LockKey(WhitelistKey, FullAccess);
        }
        AllocationsToFailure = 0;
        EXPECT_TRUE(row.fault == None ? refusals > 0 : refusals == 1) << row.name << refusals;
        EXPECT_EQ(row.result, StoredWhitelist()) << row.name;
        FreeWhitelistEntries(&edited);
    }
}

// A window's controls in creation order, as " id:left,top,width,height", with "!" after a control
// that reaches past the client area.
Text Controls(HWND window)
{
    Text created;
    RECT r, client;
    GetClientRect(window, &client);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        MapWindowPoints(NULL, window, (POINT *)&r, 2);
        const bool cut =
            r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom;
        created += L" " + std::to_wstring(GetDlgCtrlID(child)) + L":" + std::to_wstring(r.left) +
                   L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right - r.left) + L"," +
                   std::to_wstring(r.bottom - r.top) + (cut ? L"!" : L"");
    }
    return created;
}

// A 40-pixel title bar and 12-pixel borders, as a larger text size makes them, while it lives.
struct LargerFrame {
    NONCLIENTMETRICSW before = {sizeof before, 0, 0, 0, 0, 0, {}, 0, 0, {}, 0, 0, {}, {}, {}, 0};
    LargerFrame()
    {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof before, &before, 0);
        NONCLIENTMETRICSW larger = before;
        larger.iCaptionHeight = 40;
        larger.iBorderWidth = 12;
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof larger, &larger, 0);
    }
    ~LargerFrame() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof before, &before, 0); }
};

// Both windows as created, before a layout: the system menu after the platform's entries (a
// separator, Language with its items in order, About), the class's background and small icon, the
// controls. A start-up whose control cannot be created reports the last call's code and text (the
// fields are filled after it) and ends with 0; a whitelist window that cannot be created is told
// its code. With a larger frame each window, at any size, holds every control whole; the list
// scrolls sideways to its longest entry. Its OK stores.
TEST_F(Windows, AsCreated)
{
    LargerFrame frame;
    const Text longest(260, L'W');
    const Text main =
        L" 1:10,10,200,25 2:220,10,400,25 3:10,45,200,25 4:220,45,400,25 5:10,80,200,25 "
        L"6:220,80,200,25 7:420,80,200,25 8:10,115,200,25 9:220,115,400,25 10:10,150,200,25 "
        L"24:215,150,200,25 11:420,150,200,25";
    ClearRegistry();
    SetDword(HKEY_CURRENT_USER, L"language", 0x0409);
    StoreWhitelist({L"b", longest});
    UnregisterClassW(WindowClassName, Module); // as at the program's start
    RealCreateWindow = &CreateWindowExW;
    RedirectImport((const void *)RealCreateWindow, (const void *)FailingCreateWindow);
    CallsToFailure = 6; // the main window, then its controls up to the engine location's label
    auto report = NextBox();
    EXPECT_EQ(0, RunLauncher(Module, "", SW_SHOWNORMAL));
    CallsToFailure = 1;
    auto refusal = NextBox();
    OpenWhitelistWindow(MainWindow);
    RedirectImport((const void *)FailingCreateWindow, (const void *)RealCreateWindow);
    EXPECT_EQ(
        L"Error: A fatal error occured: Child Window Creation failed. (error code 0)\nSuccess.\r\n",
        report.get());
    EXPECT_EQ(L"Error! Window Creation failed (error code 8).", refusal.get());
    EXPECT_EQ(main.substr(0, main.find(L" 5:")), Controls(MainWindow));
    DestroyWindow(std::exchange(MainWindow, (HWND)NULL)); // without a quit message for this process

    ASSERT_TRUE(CreateMainWindow()); // of the class and in the language the start-up left
    ExtendSystemMenu();
    HMENU menu = GetSystemMenu(MainWindow, FALSE);
    Text items;
    wchar_t text[64];
    for (HMENU shown : {menu, GetSubMenu(menu, GetMenuItemCount(menu) - 2)})
        for (int i = GetMenuItemCount(shown) - (shown == menu ? 3 : 10);
             i < GetMenuItemCount(shown); ++i)
            items += Text(text, GetMenuStringW(shown, i, text, 64, MF_BYPOSITION)) + L"=" +
                     std::to_wstring((int)GetMenuItemID(shown, i)) + L" ";
    EXPECT_EQ(L"=0 Language=-1 About=12 (Default)=14 Dansk=22 Deutsch=16 English=15 "
              L"Fran\u00e7ais=17 Magyar=21 "
              L"Netherlands=23 P\u0443\u0441\u0441\u043a\u0438\u0439=19 Suomi=20 Svenska=18 ",
              items);
    EXPECT_EQ(COLOR_BTNFACE + 1, (int)GetClassLongPtrW(MainWindow, GCLP_HBRBACKGROUND));
    ICONINFO icon = {};
    BITMAP image = {};
    GetIconInfo((HICON)GetClassLongPtrW(MainWindow, GCLP_HICONSM), &icon);
    EXPECT_EQ(16 * 16,
              GetObjectW(icon.hbmColor, sizeof image, &image) ? image.bmWidth * image.bmHeight : 0);
    const void *realShowWindow = (const void *)&ShowWindow;
    RedirectImport(realShowWindow, (const void *)NoShowWindow);
    PopulateMainWindow();
    OpenWhitelistWindow(MainWindow);
    RedirectImport((const void *)NoShowWindow, realShowWindow);
    EXPECT_EQ(main, Controls(MainWindow));
    EXPECT_EQ(
        L" 26:10,10,200,25 27:220,10,200,25 28:430,10,200,25 29:430,45,200,25 30:10,45,410,200 "
        L"31:10,255,200,25 33:220,255,200,25 32:430,255,200,25",
        Controls(WhitelistWindow));
    for (HWND window : {MainWindow, WhitelistWindow})
        for (SIZE size : {SIZE{100, 100}, SIZE{900, 600}}) {
            SetWindowPos(window, NULL, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE);
            EXPECT_EQ(Text::npos, Controls(window).find(L'!')) << Controls(window);
        }
    HDC context = GetDC(WhitelistControls.list);
    const LONG extent = LOWORD(GetTabbedTextExtentW(context, longest.c_str(), 260, 0, NULL)),
               scrolled = (LONG)SendMessageW(WhitelistControls.list, LB_GETHORIZONTALEXTENT, 0, 0);
    ReleaseDC(WhitelistControls.list, context);
    EXPECT_TRUE(scrolled > extent && scrolled < extent + 9) << scrolled << " for " << extent;
    // Typing and pasting stop where each field's reader stops.
    const int limits[][2] = {{IDC_ADDRESS, 254},    {IDC_PORT, 5}, {IDC_ENGINE, 259},
                             {IDC_PARAMETERS, 255}, {IDC_WL_ADDRESS, 260}};
    for (auto limit : limits) {
        HWND window = limit[0] > IDC_WL_LABEL ? WhitelistWindow : MainWindow;
        EXPECT_EQ(limit[1], SendDlgItemMessageW(window, limit[0], EM_GETLIMITTEXT, 0, 0));
    }
    SendMessageW(WhitelistControls.list, LB_ADDSTRING, 0, (LPARAM)L"w");
    SendMessageW(WhitelistWindow, WM_COMMAND, IDC_WL_OK, 0); // its edits freed once stored
    EXPECT_EQ((Texts{L"w", L"b", longest, L""}), StoredWhitelist());
    DestroyWindow(std::exchange(MainWindow, (HWND)NULL));
}

} // namespace
