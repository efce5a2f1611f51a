// The program's parts in this process, and (Program.*) the real program started with exact command-line tails
// as a browser starts it, with the stub engine in place of the game.
#include "i18n/i18n.h"
#include "launch/launch.h"
#include "testing.h"
#include "ui/ui.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <algorithm>
#include <random>

namespace {

const HMODULE Module = GetModuleHandleW(NULL); // linked with the program's resources
Text Parse(const std::string &link)
{
    memset(&LaunchTarget, 0x55, sizeof LaunchTarget); // no terminator to lean on
    ParseInvocationUrl(link.c_str());
    EXPECT_LT(wcsnlen(LaunchTarget.host, HOST_CAPACITY), (size_t)HOST_CAPACITY) << link;
    return LaunchTarget.host + (L":" + std::to_wstring(LaunchTarget.port));
}

TEST(Links, Table) // the host is cut to 255 characters, then filtered
{
    const std::string rows[][2] = {{"\"scheme://player@192.0.2.10:27961/x?y\"", "192.0.2.10:27961"}, {"", ":27960"},
        {"s://h:70000", "h:4464"}, {"s://h:2abc?x=1", "h:2"}, {"s://h?a=/b", "ha:27960"}, {"s://h/a:1", "ha:1"},
        {"a b_\xe9", "ab:27960"}, {"s://" + std::string(250, 'a') + "_____bbb", std::string(250, 'a') + ":27960"},
        {"scheme://[::1]:27960", ":0"}, {"scheme://server:", "server:0"}, {"scheme://server:-1", "server:65535"},
        {"\"scheme://192.0.2.10\"", "192.0.2.10:27960"}};
    for (const auto &row : rows) EXPECT_EQ(Text(row[1].begin(), row[1].end()), Parse(row[0])) << row[0];
}

// 100,000 links assembled from known parts (any scheme and user, a host of the allowed characters, a port or
// none, any path and query, quoted when with a scheme) give back that host and port; as many runs of random bytes
// give a host of allowed characters only.
TEST(Links, Fuzzed)
{
    std::mt19937 random(20261206);
    auto pick = [&](const char *from, size_t most) { // without a set, any byte but 0, as on a command line
        std::string text(random() % (most + 1), ' ');
        for (char &c : text) c = from ? from[random() % strlen(from)] : (char)(1 + random() % 255);
        return text;
    };
    for (int i = 0; i < 100000; ++i) {
        const std::string host = pick("aZ09.-", random() % 8 ? 20 : 255), quote = random() % 2 ? "\"" : "";
        const unsigned port = random() % 65536, withPort = random() % 4; // never a second "://" below
        std::string any = "abcXYZ019-._~!$&'()*+,;=%/?#[] \xe9", link = withPort ? ":" + std::to_string(port) : "";
        link += random() % 2 ? "/" + pick(withPort ? "abc:?=&" : "abc?=&", 12) : "";
        link += random() % 2 ? "?" + pick(withPort ? "abc/=&" : "abc=&", 12) : "";
        link = quote + (quote.size() || random() % 4 ? pick(any.c_str(), 10) + "://" : "") +
               (random() % 2 ? pick(any.c_str(), 10) + "@" : "") + host + link + quote;
        ASSERT_EQ(Text(host.begin(), host.end()) + L":" + std::to_wstring(withPort ? port : 27960), Parse(link)) << i;
        Text parsed = Parse(link = pick(NULL, 400)); // which checks the host's length
        ASSERT_EQ(parsed.find(L':'), parsed.find_first_not_of(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                               L"0123456789.-")) << link;
    }
}

Text Listed()
{
    Text entries;
    for (const WhitelistEntry *entry = Whitelist; entry; entry = entry->next)
        entries += (entries.empty() ? L"" : L",") + Text(entry->address);
    return entries;
}
// Every value the program reads, stored as data of each kind (texts of 'A's, so a cut shows in the length), and
// what loads; the language as its id, with 0x040C as the machine's default below it.
TEST(Registry, BadDataMatrix)
{
    enum { Missing, Empty, OneByte, ThreeBytes, Full, ExactFill, OverFill, Dword, Binary, Multi, Kinds };
    const Text T = DefaultParameterTemplate, N = L"N\xD8FFz", A = L"A", A260(260, 'A'), d = L"\x0407";
    const struct { const wchar_t *path, *name; DWORD capacity; Text loads[Kinds]; } values[] = {
        {SettingsKey, L"enginepath", 520, {L"", L"", L"", A, Text(259, 'A'), L"", L"", d, N, L"a"}},
        {SettingsKey, L"parameters", 512, {T, T, T, A, Text(255, 'A'), T, T, d, N, L"a"}},
        {WhitelistKey, L"address0", 522, {L"", L"", L"", A, A260, A260, L"", d, N, L"a"}},
        {SettingsKey, L"language", 4,
         {L"1036", L"1024", L"65", L"4259905", L"65", L"4259905", L"1036", L"1031", L"1036", L"1036"}}};
    static const BYTE binary[] = {0x4E, 0, 0xFF, 0xD8, 0x7A, 0, 0, 0, 0x99, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22};
    for (const auto &value : values)
        for (int kind = Missing; kind < Kinds; ++kind) {
            const DWORD size = value.capacity;
            const Text a(size / 2 + 1, L'A'), full(size / 2 - 1, L'A'); // full: to the capacity with a terminator
            const struct { DWORD type; const void *data; DWORD size; } data[] = {
                {0, NULL, 0}, {REG_SZ, a.c_str(), 0}, {REG_SZ, a.c_str(), 1}, {REG_SZ, a.c_str(), 3},
                {REG_SZ, full.c_str(), size}, {REG_SZ, a.c_str(), size}, {REG_SZ, a.c_str(), size + 2},
                {REG_DWORD, L"\x0407", 4}, {REG_BINARY, binary, sizeof binary}, {REG_MULTI_SZ, L"a\0b\0", 10}};
            ClearRegistry();
            if (&value == &values[3]) SetDword(HKEY_LOCAL_MACHINE, L"defaultlanguage", 0x040C);
            if (kind != Missing)
                SetValue(HKEY_CURRENT_USER, value.path, value.name, data[kind].type, data[kind].data, data[kind].size);
            memset(&LaunchSettings, 0xAB, sizeof LaunchSettings);
            LoadLaunchSettings(), FreeWhitelist(), LoadWhitelist(), LoadUiStrings(Module);
            const Text loaded[] = {LaunchSettings.enginePath, LaunchSettings.parameterTemplate, Listed(),
                                   std::to_wstring(UiLanguageId)};
            EXPECT_EQ(value.loads[kind], loaded[&value - values]) << value.capacity << " bytes, kind " << kind;
        }
}

// Every table's strings carry no "%" but the "%s" of the four format strings (three in 40016, one in 40014, 40015
// and 40020), and are empty only where the table has no text: 40029 to 40031 everywhere, 40021 on in Russian.
// Where a language has no table, including the user's default 0x0400, the strings are the platform's lookup's.
TEST(Strings, Tables)
{
    auto formats = [](Text t) { // the number of "%s", or 100 with another "%"
        size_t count = 0;
        for (size_t at; (at = t.find(L"%s")) != Text::npos; ++count) t.erase(at, 2);
        return std::to_wstring(t.find(L'%') == Text::npos ? count : 100) + L"," + std::to_wstring(t.empty());
    };
    for (LANGID language : {1024, 1040, 1030, 1031, 1033, 1035, 1036, 1038, 1043, 1049, 1053})
        for (UINT id = 40000; id < 40032; ++id) {
            wchar_t own[UI_STRING_CAPACITY], platform[UI_STRING_CAPACITY] = L"";
            LoadStringInLanguage(Module, language, id, own);
            const Text text = own, lookup(platform, LoadStringW(Module, id, platform, UI_STRING_CAPACITY));
            const bool table = language != 1024 && language != 1040;
            EXPECT_EQ(table ? std::to_wstring(id == 40016 ? 3 : id == 40014 || id == 40015 || id == 40020) + L"," +
                                  std::to_wstring(id > 40028 || (language == 1049 && id > 40020)) : lookup,
                      table ? formats(text) : text) << language << " " << id;
        }
}

// The system menu ends with a separator, Language with its ten items in their order, and About.
TEST(Windows, SystemMenu)
{
    ClearRegistry(), SetDword(HKEY_CURRENT_USER, L"language", 0x0409), LoadUiStrings(AppInstance = Module);
    ASSERT_TRUE(RegisterMainWindowClass() && CreateMainWindow());
    HWND window = MainWindow;
    HMENU menu = (ExtendSystemMenu(), GetSystemMenu(window, FALSE));
    Text items;
    wchar_t text[64];
    for (HMENU m : {menu, GetSubMenu(menu, GetMenuItemCount(menu) - 2)})
        for (int i = GetMenuItemCount(m) - (m == menu ? 3 : 10); i < GetMenuItemCount(m); ++i)
            items += Text(text, GetMenuStringW(m, i, text, 64, MF_BYPOSITION)) + L"=" +
                     std::to_wstring((int)GetMenuItemID(m, i)) + L" ";
    EXPECT_EQ(L"=0 Language=-1 About=12 (Default)=14 Dansk=22 Deutsch=16 English=15 Fran\u00e7ais=17 Magyar=21 "
              L"Netherlands=23 P\u0443\u0441\u0441\u043a\u0438\u0439=19 Suomi=20 Svenska=18 ", items);
    MainWindow = NULL, DestroyWindow(window); // as no main window: no quit message here
}

// The fatal-error report, with the platform's own text of the code in the interface language (none for -1).
TEST(Messages, ErrorReport)
{
    ClearRegistry(), SetDword(HKEY_CURRENT_USER, L"language", 0x0409), LoadUiStrings(Module);
    const struct { DWORD code; const wchar_t *text, *shown; } rows[] = {{5, L"x", L"x (error code 5)\nAccess denied."},
        {0, L"", L" (error code 0)\nSuccess."}, {0xFFFFFFFF, L"x", L"x (error code -1)\n"}};
    for (const auto &row : rows) {
        auto box = NextBox();
        SetLastError(row.code), ReportSystemError(row.text);
        EXPECT_EQ(L"Error: A fatal error occured: " + Text(row.shown) + (row.code + 1 ? L"\r\n" : L""), box.get());
    }
}

const Text Engine = L"C:\\Games\\Kelvra engine\\klengine.exe", Folder = L"C:\\Games\\Kelvra engine";
const Text Template = L"+set fs_game kelvra +connect \"$address\"", None = L"|exit 0: (none)";
const Text LineTooLong = L"Error! Could not launch the engine: the parameter line is too long.";
const Text TooLong = LineTooLong + None;
const Text QuotedEngine = L"\"C:\\Games\\Kelvra engine\\klengine.exe\""; // a path with a blank, quoted
Text Connected(const Text &address, const Text &engine = QuotedEngine) // what the engine records
{
    return L"|exit 0: " + engine + L" +set fs_game kelvra +connect \"" + address + L"\"\n" + Folder;
}
// The stub engine writes its command line and working directory to the file named in the environment, which the
// launcher hands on; StubRecord gives "command line\ndirectory" or "(none)", and removes the file.
const wchar_t Record[] = L"C:\\stub.txt";
Text StubRecord(DWORD timeoutMs)
{
    static wchar_t text[16384];
    Text record = L"(none)";
    WaitFor([&] { // under Wine a file can be seen a moment before it can be read whole
        DWORD read = 0;
        HANDLE file = CreateFileW(Record, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, 0, OPEN_EXISTING, 0, 0);
        if (file == INVALID_HANDLE_VALUE) return false;
        ReadFile(file, text, sizeof text, &read, NULL), CloseHandle(file);
        return wmemchr(text, L'\n', read / 2) && (record.assign(text, read / 2), true);
    }, timeoutMs);
    return DeleteFileW(Record), record;
}
void InstallStub(const Text &path)
{
    for (size_t slash = path.find(L'\\', 3); slash != Text::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), NULL);
    CopyFileW((BinDirectory() + L"\\stub_engine.exe").c_str(), path.c_str(), FALSE);
}
int Focus(Launcher &launcher)
{
    GUITHREADINFO thread = {sizeof thread, 0, NULL, NULL, NULL, NULL, NULL, NULL, {}};
    return GetGUIThreadInfo(launcher.process.dwThreadId, &thread), GetDlgCtrlID(thread.hwndFocus);
}
void Type(HWND window, int id, const Text &text) { Send(GetDlgItem(window, id), WM_SETTEXT, 0, (LPARAM)text.c_str()); }
void Add(HWND window, const Text &text) { Type(window, IDC_WL_ADDRESS, text), Send(window, WM_COMMAND, IDC_WL_ADD); }
Text BoxAfter(HWND window, UINT message, WPARAM wParam) // the message box a message makes the window's process show
{
    DWORD id = 0;
    auto box = NextBox((GetWindowThreadProcessId(window, &id), id));
    return Send(window, message, wParam), box.get();
}
// A window resized (not when asked for width 0): its outer size, where its client area starts in it, and each
// control in creation order as "id class style left,top,right,bottom text".
struct Layout { LONG w, h, x, y; Text controls; };
Text Row(int id, const wchar_t *name, DWORD style, LONG left, LONG top, LONG right, LONG bottom, const Text &text)
{
    wchar_t row[512];
    style &= ~(WS_BORDER | WS_HSCROLL | WS_VSCROLL); // an edit makes its border an edge, a list shows bars as needed
    _snwprintf(row, 512, L"%d %ls %lx %ld,%ld,%ld,%ld %ls\n", id, name, style, left, top, right, bottom, text.c_str());
    return row;
}
Layout Resize(HWND window, SIZE size)
{
    RECT r;
    POINT client = {0, 0};
    wchar_t name[32];
    Text controls;
    if (size.cx) SetWindowPos(window, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r), MapWindowPoints(NULL, window, (POINT *)&r, 2), GetClassNameW(child, name, 32);
        controls += Row(GetDlgCtrlID(child), name, GetWindowLongW(child, GWL_STYLE), r.left, r.top, r.right, r.bottom,
                        WindowText(child));
    }
    GetWindowRect(window, &r), ClientToScreen(window, &client);
    return {r.right - r.left, r.bottom - r.top, client.x - r.left, client.y - r.top, controls};
}
Texts Items(HWND window) // of the whitelist window's list
{
    Texts items(Send(GetDlgItem(window, IDC_WL_LIST), LB_GETCOUNT, 0), Text(512, 0));
    for (size_t i = 0; i < items.size(); ++i)
        items[i].resize(Send(GetDlgItem(window, IDC_WL_LIST), LB_GETTEXT, i, (LPARAM)&items[i][0]));
    return items;
}

class Program : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetEnvironmentVariableW(L"KELVRA_STUB_RECORD", Record); }
    void SetUp() override { ClearRegistry(), SetDword(HKEY_CURRENT_USER, L"language", 0x0409), StubRecord(0); }
    void TearDown() override { ClearRegistry(); }
};

// Every start as one text: the main window's four fields and focus (the window then closed) or a message box
// (then closed); the exit code and what the engine recorded. With a command, the fields are typed in first.
TEST_F(Program, Starts)
{
    const Text folder = L"C:\\kelvra limits\\" + Text(259 - 17 - 13, L'd'), engine259 = folder + L"\\klengine.exe",
               p246(246, L'p'), a255(255, L'a'), window = L"window 192.0.2.10|", stored = L"C:\\Games\\stored.exe";
    InstallStub(Engine), InstallStub(engine259);
    struct Start { Text entry, engine, tail, outcome; UINT command = 0; Texts typed{}; Text parameters = L"(none)"; };
    const Start rows[] = {
        {L"", L"", L"", L"window |27960||" + Template + L"|@2" + None}, // the focus on the address, Browse or Launch
        {a255 + L":1234", Engine, L"scheme://" + a255 + L":12345", // another port; the 261 characters match no entry
         L"window " + a255 + L"|12345|" + Engine + L"|" + Template + L"|@10" + None},
        {L"Server.Example", Engine, L"scheme://server.example:0", // letter case counts
         L"window server.example|0|" + Engine + L"|" + Template + L"|@10" + None},
        {L"192.0.2.10", L"", L"scheme://192.0.2.10:65535", window + L"65535||" + Template + L"|@7" + None},
        {L"192.0.2.10", Engine, L"\"scheme://192.0.2.10:27961/\"", Connected(L"192.0.2.10:27961")},
        {L"192.0.2.10:27961", Engine, L"scheme://192.0.2.10:27961", Connected(L"192.0.2.10:27961")},
        {L"192.0.2.10", L"klengine.exe", L"scheme://192.0.2.10", Connected(L"192.0.2.10:27960", L"klengine.exe")},
        {L"192.0.2.10", L"C:\\Games\\no-such-engine.exe", L"scheme://192.0.2.10",
         L"Error! Could not launch the engine: CreateProcess failed (2)." + None},
        {a255, Engine, L"scheme://" + Text(10000, 'a'), // refused, not cut; then the window, where Launch works
         LineTooLong + L" window " + a255 + L"|27960|" + Engine + L"|" + Template + L"|@10" + None},
        {a255, Engine, L"scheme://" + Text(10000, 'a'), LineTooLong + L" " + Connected(L"192.0.2.10:27961"), IDC_LAUNCH,
         {L"192.0.2.10", L"27961", Engine, Template}, Template},
        // Launch: the checks in order, the limits of what is read, the template stored before the launch.
        {L"", stored, L"x", L"Error! No server address entered." + None, IDC_LAUNCH, {L"", L"", L"", L"+x"}},
        {L"", stored, L"x", L"Error! No port entered." + None, IDC_LAUNCH, {L"host", L"", L"", L"+x"}},
        {L"", stored, L"x", L"Error! No engine location selected." + None, IDC_LAUNCH, {L"host", L"1", L"", L"+x"}},
        {L"", stored, L"x", L"nothing" + None, IDC_LAUNCH, {L"", L"", L"", L""}},
        {L"", stored, L"x", TooLong, IDC_LAUNCH, {Text(300, 'a'), L"1", Engine, L"$address"}, L"$address"}, // 254 + 2
        {L"", stored, L"x", L"|exit 0: \"" + engine259 + L"\" a:12345 " + p246 + L"\n" + folder, IDC_LAUNCH,
         {L"a", L"123456789", engine259 + L"zzz", L"$address " + p246 + L"EXTRA"}, L"$address " + p246},
        {L"", stored, L"x", L"|exit 0: " + QuotedEngine + L" +x 198.51.100.7:abc +y $address $Address\n" + Folder,
         IDC_LAUNCH, {L"198.51.100.7", L"abc", Engine, L"+x $address +y $address $Address"},
         L"+x $address +y $address $Address"},
        {L"", stored, L"x", L"|exit 0: (none)", IDC_EXIT, {L"", L"", L"", L"+changed"}}}; // Exit stores nothing
    const int fields[] = {IDC_ADDRESS, IDC_PORT, IDC_ENGINE, IDC_PARAMETERS};
    for (const auto &row : rows) {
        SetUp(), SetText(WhitelistKey, L"address0", row.entry), SetText(SettingsKey, L"enginepath", row.engine);
        Launcher launcher(row.tail, Folder.c_str());
        HWND box = NULL, window = NULL;
        std::future<bool> returned; // the command as a click sends it: no answer when the process ends
        auto shown = [&] { // a box, the end, or the command answered
            return (box = FindShown(launcher.process.dwProcessId, NULL, L"#32770")) || launcher.Exited() ||
                   (returned.valid() && returned.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        };
        WaitFor([&] { return shown() || (window = FindShown(launcher.process.dwProcessId, Title)); }, 15000);
        Text seen = box ? ReadBox(box) : L""; // an autostart's message, which the window may follow
        if (box && (window = launcher.Window())) seen += L" ";
        for (int i = 0; window && row.command && i < 4; ++i) Type(window, fields[i], row.typed[i]);
        if (window && row.command) {
            returned = std::async(std::launch::async, [&] {
                DWORD_PTR result;
                return SendMessageTimeoutW(window, WM_COMMAND, row.command, 0, SMTO_NORMAL, 20000, &result) != 0;
            });
            WaitFor(shown, 15000);
            seen += box ? ReadBox(box) : returned.get() ? L"nothing" : L"";
        } else if (window) {
            seen += L"window ";
            for (int field : fields) seen += WindowText(GetDlgItem(window, field)) + L"|";
            seen += L"@" + std::to_wstring(Focus(launcher));
        }
        if (window) PostMessageW(window, WM_CLOSE, 0, 0);
        seen += L"|exit " + std::to_wstring(launcher.Exit()) + L": ";
        const Text record = StubRecord(row.outcome.find(L"(none)") == Text::npos ? 10000 : 0);
        EXPECT_EQ(row.outcome, seen + record) << row.tail;
        int count = 0; // and the engine's own name as its runtime splits the line: the whole path, blanks and all
        wchar_t **argv = record == L"(none)" ? NULL : CommandLineToArgvW(record.c_str(), &count);
        EXPECT_EQ(argv ? (row.command ? row.typed[2].substr(0, 259) : row.engine) : L"", Text(argv ? argv[0] : L""));
        LocalFree(argv);
        EXPECT_EQ(row.parameters + L"|" + row.engine, Stored(L"parameters") + L"|" + Stored(L"enginepath")); // as typed
    }
}

// One run through the windows: the main window's controls, layout and limits, the whitelist window, Browse.
TEST_F(Program, Windows)
{
    SetText(SettingsKey, L"enginepath", Engine), SetText(WhitelistKey, L"address0", L"A");
    SetText(WhitelistKey, L"address1", L"B"), SetText(WhitelistKey, L"address2", L"");
    Launcher launcher(L"scheme://192.0.2.10:27961");
    HWND main = launcher.Window();
    ASSERT_TRUE(main);
    // Laid out, a field keeps `margin` to the right edge, a button at left -1 keeps 20 pixels to it.
    const DWORD s = 0x50000000, f = 0x508000C0; // the style of a label or button, of a field
    const struct { int id; const wchar_t *name; Text text; DWORD style; LONG left, top, right, margin; } controls[] = {
        {1, L"Static", L"Server address:", s, 10, 10, 210, 0}, {2, L"Edit", L"192.0.2.10", f, 220, 10, 0, 10},
        {3, L"Static", L"Port:", s, 10, 45, 210, 0}, {4, L"Edit", L"27961", f, 220, 45, 0, 10},
        {5, L"Static", L"Engine location:", s, 10, 80, 210, 0}, {6, L"Edit", Engine, 0x50800080, 220, 80, 0, 220},
        {7, L"Button", L"Browse", s, -1, 80, 0, 0}, {8, L"Static", L"Parameters:", s, 10, 115, 210, 0},
        {9, L"Edit", Template, f, 220, 115, 0, 10}, {10, L"Button", L"Launch", s, 10, 150, 210, 0},
        {24, L"Button", L"Whitelist", s, 215, 150, 415, 0}, {11, L"Button", L"Exit", s, -1, 150, 0, 0}};
    EXPECT_EQ(Title, (Send(main, WM_COMMAND, MAKEWPARAM(IDC_EXIT, EN_CHANGE)), WindowText(main))); // no click: no end
    for (SIZE asked : {SIZE{0, 0}, SIZE{777, 220}, SIZE{100, 100}, SIZE{900, 500}}) { // shown 640 x 220; no narrower
        Layout l = Resize(main, asked);                                                     // nor other than 220 high
        Text expected;
        for (const auto &c : controls) {
            LONG left = c.left < 0 ? l.w - 220 : c.left, right = c.margin ? l.w - l.x - c.margin : c.right;
            expected += Row(c.id, c.name, c.style, left, c.top, c.left < 0 ? left + 200 : right, c.top + 25, c.text);
        }
        EXPECT_EQ(std::max(640L, asked.cx) + 220 * 10000, l.w + l.h * 10000); // width + height
        EXPECT_EQ(expected, l.controls);
    }
    // Each language item (14 to 23) stores its id and gives notice in the current and the new language.
    const DWORD languages[] = {0x0400, 0x0409, 0x0407, 0x040C, 0x041D, 0x0419, 0x040B, 0x040E, 0x0406, 0x0413};
    const wchar_t *const restarts[] = {L"Restart the program.", L"Restart the program.", L"Starten sie das programm "
        L"neu.", L"Red\u00e9marrez le programme.", L"Starta om programmet.", L"", L"K\u00e4ynnist\u00e4 ohjelma "
        L"uudelleen.", L"Ind\u00edtsd \u00fajra a programot.", L"Genstart programmet.", L"Start het programma "
        L"opnieuw."};
    for (UINT item = 14; item <= 23; ++item) {
        Text box = BoxAfter(main, WM_SYSCOMMAND, item);
        EXPECT_EQ(L"Information! Restart the program.\n" + Text(restarts[item - 14]) + L" #" +
                      std::to_wstring(languages[item - 14]), box + L" " + Stored(L"language"));
    }
    // The whitelist window: its first address is host:port from the main window, each read within its limit.
    auto open = [&] { return Send(main, WM_COMMAND, IDC_WHITELIST), launcher.Window(L"Autostart Whitelist"); };
    const Text firsts[][3] = {{L"alpha", L"27960", L"alpha:27960"}, {L"alpha", L"", L"alpha"}, {L"", L"27960", L""},
                              {Text(300, 'a'), L"123456789", Text(254, 'a') + L":12345"}};
    for (const auto &first : firsts) {
        Type(main, IDC_ADDRESS, first[0]), Type(main, IDC_PORT, first[1]);
        HWND window = open();
        EXPECT_EQ(first[2] + L" @27", WindowText(GetDlgItem(window, 27)) + L" @" + std::to_wstring(Focus(launcher)));
        EXPECT_FALSE((Send(window, WM_COMMAND, IDC_WL_CANCEL), IsWindow(window)));
    }
    HWND window = open(), field = GetDlgItem(window, IDC_WL_ADDRESS), list = GetDlgItem(window, IDC_WL_LIST);
    EXPECT_EQ((Texts{L"B", L"A"}), Items(window)) << "the first entry loaded is the last stored";
    // Laid out, the field and the list keep 230 pixels to the right edge, the list 55 to the bottom.
    for (SIZE asked : {SIZE{0, 0}, SIZE{650 + 90, 325 + 60}, SIZE{100, 100}}) { // at least 650 x 325
        Layout l = Resize(window, asked);
        const LONG x = l.w - 220, y = l.h - 70, edge = l.w - l.x - 230; // the buttons following the edges
        auto button = [&](int id, LONG left, LONG top, const wchar_t *text) {
            return Row(id, L"Button", s, left, top, left + 200, top + 25, text);
        };
        EXPECT_EQ(std::max(650L, asked.cx) + std::max(325L, asked.cy) * 10000, l.w + l.h * 10000); // width + height
        EXPECT_EQ(Row(26, L"Static", s, 10, 10, 210, 35, L"Server address:") +
                      Row(27, L"Edit", f, 220, 10, edge, 35, firsts[3][2]) + button(28, x, 10, L"Add") +
                      button(29, x, 45, L"Remove") + Row(30, L"ListBox", 0x50B00108, 10, 45, edge, l.h - l.y - 55, L"") +
                      button(31, 10, y, L"OK") + button(33, 220, y, L"Information") + button(32, x, y, L"Cancel"),
                  l.controls);
    }
    // Add and Enter take the field's text and empty it; Remove takes the selected items.
    Type(window, IDC_WL_ADDRESS, L"");
    EXPECT_EQ(L"Error! No server address entered.", BoxAfter(window, WM_COMMAND, IDC_WL_ADD));
    Add(window, L"C");
    Type(window, IDC_WL_ADDRESS, L"D" + WindowText(field)), Send(field, WM_KEYDOWN, VK_RETURN); // "DC" if Add left "C"
    Send(window, WM_COMMAND, IDC_WL_REMOVE);
    EXPECT_EQ(L"", WindowText(field));
    EXPECT_EQ((Texts{L"B", L"A", L"C", L"D"}), Items(window)) << "nothing selected: nothing removed";
    Send(list, LB_SETSEL, TRUE, 0), Send(list, LB_SETSEL, TRUE, 2), Send(window, WM_COMMAND, IDC_WL_REMOVE);
    EXPECT_EQ((Texts{L"A", L"D"}), Items(window));
    EXPECT_EQ(L"Error! No server address entered.", BoxAfter(field, WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(L"Information! Add any server address you want to start automatically. It will skip the URL Kelvra "
              L"launcher window.", BoxAfter(window, WM_COMMAND, IDC_WL_INFORMATION));
    EXPECT_EQ(L"About! URL Kelvra launcher version 1.2.12 by the tQr launcher team", BoxAfter(main, WM_SYSCOMMAND, 12));
    for (UINT message : {(UINT)WM_COMMAND, (UINT)WM_CLOSE}) { // Cancel and the close box drop the changes
        Send(window, message, IDC_WL_CANCEL);
        EXPECT_EQ((Texts{L"A", L"B", L""}), StoredWhitelist());
        EXPECT_EQ((Texts{L"B", L"A"}), Items(window = open()));
        Add(window, L"X");
    }
    Send(window, WM_COMMAND, IDC_WL_OK);
    EXPECT_EQ((Texts{L"X", L"A", L"B", L""}), StoredWhitelist());
    EXPECT_EQ((Texts{L"X", L"A", L"B"}), Items(open())) << "reversed within the run";
    Send(list = GetDlgItem(window = open(), IDC_WL_LIST), LB_SETSEL, TRUE, -1), Send(window, WM_COMMAND, IDC_WL_REMOVE);
    Send(window, WM_COMMAND, IDC_WL_OK);
    EXPECT_EQ(Texts{L""}, StoredWhitelist()) << "emptied: only the end marker, the rest deleted";
    Add(window = open(), L"Y");
    // Browse, answered from here, shows its file types: Cancel changes nothing; a name that does not exist is refused
    // by the dialog's own box (the dialog then cancelled); a chosen file goes to the field and the registry.
    ClearRegistry(), SetText(WhitelistKey, L"address0", L"");
    const Text types = L"Select the engine|Quake III engine (quake3.exe)|ioquake3 (ioquake3.x86.exe, ioquake3.x86_64"
                       L".exe)|Kelvra engine (klengine.exe)|Any Quake III engine (*.*)", missing = L"C:\\Games\\no.exe";
    const Text answers[][3] = {{L"", types, L"|(none)"}, {missing, types + L"|! File does not exist", L"|(none)"},
                               {Engine, types, Engine + L"|" + Engine}};
    for (const auto &answer : answers) {
        auto dialog = std::async(std::launch::async, [&] {
            const DWORD process = launcher.process.dwProcessId;
            HWND box = NULL, refusal = NULL;
            WaitFor([&] { return (box = FindShown(process, NULL, L"#32770")) != NULL; });
            HWND name = GetDlgItem(box, 0x47C) ? GetDlgItem(box, 0x47C) : GetDlgItem(box, 0x480); // or the old style's
            Text seen = WindowText(box), type(256, 0);
            for (int i = 0; Send(GetDlgItem(box, 0x470), CB_GETLBTEXT, i, (LPARAM)&type[0]) > 0; ++i)
                seen += L"|" + Text(type.c_str());
            Send(name, WM_SETTEXT, 0, (LPARAM)answer[0].c_str());
            PostMessageW(box, WM_COMMAND, answer[0].empty() ? IDCANCEL : IDOK, 0);
            if (answer[0] == missing && WaitFor([&] { return (refusal = FindShown(process, L"", L"#32770")); }))
                seen += L"|" + ReadBox(refusal), PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            return seen;
        });
        Type(main, IDC_ENGINE, L""), Send(main, WM_COMMAND, IDC_BROWSE);
        EXPECT_EQ(answer[1], dialog.get());
        EXPECT_EQ(answer[2], WindowText(GetDlgItem(main, IDC_ENGINE)) + L"|" + Stored(L"enginepath"));
    }
    PostMessageW(main, WM_CLOSE, 0, 0); // with the whitelist window open: both close, nothing is saved
    EXPECT_EQ(0u, launcher.Exit());
    EXPECT_EQ(Texts{L""}, StoredWhitelist());
}

// Two launchers started with a, b stored, each with the whitelist window open: one removes b and adds c, the other
// adds d. Whichever presses OK first, the other's OK keeps its edits.
TEST_F(Program, TwoLaunchers)
{
    for (int first : {0, 1}) {
        SetUp(), SetText(WhitelistKey, L"address0", L"a"), SetText(WhitelistKey, L"address1", L"b");
        Launcher launchers[2] = {Launcher(L"scheme://192.0.2.10"), Launcher(L"scheme://192.0.2.11")};
        auto open = [](Launcher &l) { return Send(l.Window(), WM_COMMAND, 24), l.Window(L"Autostart Whitelist"); };
        HWND w[2] = {open(launchers[0]), open(launchers[1])};
        Add(w[0], L"c"), Add(w[1], L"d"), Send(GetDlgItem(w[0], IDC_WL_LIST), LB_SETSEL, TRUE, 0); // b
        Send(w[0], WM_COMMAND, IDC_WL_REMOVE);
        for (int i : {first, 1 - first}) Send(w[i], WM_COMMAND, IDC_WL_OK);
        EXPECT_EQ(first ? (Texts{L"d", L"c", L"a", L""}) : (Texts{L"c", L"d", L"a", L""}), StoredWhitelist());
    }
}

} // namespace
