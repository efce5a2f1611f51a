// The real program started with exact command-line tails as a browser starts it, the stub engine in
// place of the game: Roads.* take each road once (a launcher may take a minute to start), Program.*
// the limits and failures of each.
#include "resources/resource.h"
#include "testing.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace {

const Text Engine = L"C:\\Games\\Kelvra engine\\klengine.exe", Folder = L"C:\\Games\\Kelvra engine";
const Text QuotedEngine =
    L"\"" + Engine + L"\""; // a path with a blank, quoted on the engine's command line
const Text Template = L"+set fs_game kelvra +connect \"$address\"";
const DWORD RoadPatience = 300000;

// The end of a start of the engine with the default template: exit code, command line, folder.
Text Started(const Text &address, const Text &engine = QuotedEngine)
{
    return L"|exit 0: " + engine + L" +set fs_game kelvra +connect \"" + address + L"\"\n" + Folder;
}

// The stub's record, removed, or "(none)" when none came in time.
const wchar_t Record[] = L"C:\\stub.txt";
Text StubRecord(DWORD timeoutMs)
{
    static wchar_t text[16384];
    FILE *file = NULL;
    WaitFor([&] { return (file = _wfopen(Record, L"rb")) != NULL; }, timeoutMs);
    const Text record = file ? Text(text, fread(text, sizeof *text, 16384, file)) : L"(none)";
    if (file)
        fclose(file);
    DeleteFileW(Record);
    return record;
}

void InstallStub(const Text &path)
{
    for (size_t slash = path.find(L'\\', 3); slash != Text::npos;
         slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), NULL);
    CopyFileW((BinDirectory() + L"\\stub_engine.exe").c_str(), path.c_str(), FALSE);
}

int Focus(Launcher &launcher) // the control id
{
    GUITHREADINFO thread = {sizeof thread, 0, NULL, NULL, NULL, NULL, NULL, NULL, {}};
    GetGUIThreadInfo(launcher.process.dwThreadId, &thread);
    return GetDlgCtrlID(thread.hwndFocus);
}

void Type(HWND window, int id, const Text &text)
{
    Send(GetDlgItem(window, id), WM_SETTEXT, 0, (LPARAM)text.c_str());
}

void Add(HWND window, const Text &text)
{
    Type(window, IDC_WL_ADDRESS, text);
    Send(window, WM_COMMAND, IDC_WL_ADD);
}

HWND OpenWhitelist(Launcher &launcher, HWND main)
{
    Send(main, WM_COMMAND, IDC_WHITELIST, 0, launcher.patienceMs);
    return launcher.Window(L"Autostart Whitelist");
}

Texts Items(HWND window) // of the whitelist window's list
{
    HWND list = GetDlgItem(window, IDC_WL_LIST);
    Texts items(Send(list, LB_GETCOUNT, 0), Text(512, 0));
    for (size_t i = 0; i < items.size(); ++i)
        items[i].resize(Send(list, LB_GETTEXT, i, (LPARAM)&items[i][0]));
    return items;
}

// A start with its link's entry whitelisted, its engine path stored, the settings key's access as
// the row says, as one text: a message box (closed), the window's fields and focus, or what a
// command showed for the typed fields; the exit code, the engine's record. Then what is stored.
struct Start {
    Text entry, engine, tail, outcome;
    UINT command = 0;
    Texts typed = {};
    Text parameters = L"(none)";
    DWORD language = 0x0409;
    const wchar_t *settingsAccess = FullAccess;
};

void Take(const Start &row, DWORD patience = 15000)
{
    const int fields[] = {IDC_ADDRESS, IDC_PORT, IDC_ENGINE, IDC_PARAMETERS};
    SetEnvironmentVariableW(L"KELVRA_STUB_RECORD", Record);
    ClearRegistry();
    StubRecord(0);
    SetDword(HKEY_CURRENT_USER, L"language", row.language);
    StoreWhitelist({row.entry});
    SetText(SettingsKey, L"enginepath", row.engine);
    LockKey(SettingsKey, row.settingsAccess);
    Launcher launcher(row.tail, Folder.c_str(), patience);
    HWND box = NULL, window = NULL;
    auto shown = [&] { // a box, or the end
        box = ShownBox(launcher.process.dwProcessId);
        return box || launcher.Exited();
    };
    WaitFor([&] { return shown() || (window = FindShown(launcher.process.dwProcessId, Title)); },
            patience);
    Text seen;
    if (box) { // an autostart's message, which the window may follow
        seen = ReadBox(box) + L" ";
        window = launcher.Window();
    }
    if (window && row.command) {
        for (size_t i = 0; i < row.typed.size(); ++i)
            Type(window, fields[i], row.typed[i]);
        PostMessageW(window, WM_COMMAND, row.command, 0); // as a click
        if (WaitFor(shown, patience) && box)
            seen += ReadBox(box);
    } else if (window) {
        seen += L"window ";
        for (int field : fields)
            seen += WindowText(GetDlgItem(window, field)) + L"|";
        seen += L"@" + std::to_wstring(Focus(launcher));
    }
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    seen += L"|exit " + std::to_wstring(launcher.Exit()) + L": ";
    seen += StubRecord(row.outcome.find(L"(none)") == Text::npos ? patience : 0);
    LockKey(SettingsKey, FullAccess);
    EXPECT_EQ(row.outcome, seen) << row.tail;
    EXPECT_EQ(row.parameters + L"|" + row.engine,
              Stored(L"parameters") + L"|" + Stored(L"enginepath"));
}

// A whitelisted link starts the engine, so does Launch in the window, and the whitelist window's OK
// stores the server.
TEST(Roads, EachOnce)
{
    InstallStub(Engine);
    Take({L"192.0.2.10", Engine, L"\"kelvra://player@192.0.2.10:27961/\"",
          Started(L"192.0.2.10:27961")},
         RoadPatience);
    Take({L"", Engine, L"\"kelvra://192.0.2.11:27962/join\"", Started(L"192.0.2.11:27962"),
          IDC_LAUNCH, {}, Template},
         RoadPatience);
    StoreWhitelist({});
    Launcher whitelist(L"\"kelvra://192.0.2.12:27963/\"", NULL, RoadPatience);
    HWND main = whitelist.Window(), window = OpenWhitelist(whitelist, main);
    // The address field starts as the link's host:port.
    Send(window, WM_COMMAND, IDC_WL_ADD, 0, RoadPatience);
    Send(window, WM_COMMAND, IDC_WL_OK, 0, RoadPatience);
    EXPECT_EQ((Texts{L"192.0.2.12:27963", L""}), StoredWhitelist());
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, whitelist.Exit());
}

TEST(Program, Starts)
{
    const Text folder = L"C:\\kelvra limits\\" + Text(259 - 17 - 13, L'd'),
               engine259 = folder + L"\\klengine.exe";
    const Text p246(246, L'p'), a255(255, L'a'), stored = L"C:\\Games\\stored.exe";
    const Text none = L"|exit 0: (none)", window255 = L"window " + a255;
    InstallStub(Engine);
    InstallStub(engine259);
    const Start rows[] = {
        // The focus on the address without a host, on Browse without an engine, else on Launch.
        {L"", L"", L"", L"window |27960||" + Template + L"|@2" + none},
        {L"h", L"", L"scheme://h:65535", // whitelisted, no engine
         L"window h|65535||" + Template + L"|@7" + none},
        {L"h", L"klengine.exe", L"scheme://h", // a one-letter host, a bare name
         Started(L"h:27960", L"klengine.exe")},
        {L"192.0.2.10", L"e", L"scheme://192.0.2.10", // no engine of that one-letter name
         L"Error! Could not launch the engine: CreateProcess failed (2). " + none},
        // A line too long is refused, not cut; then the window. 260 characters match an entry,
        // 261 none.
        {a255 + L":6553", Engine, L"s://" + Text(9999, 'a') + L":6553",
         L"Error! Could not launch the engine: the parameter line is too long. " + window255 +
             L"|6553|" + Engine + L"|" + Template + L"|@10" + none},
        {a255 + L":6553", L"e", L"s://" + a255 + L":65535", // a one-letter engine
         window255 + L"|65535|e|" + Template + L"|@10" + none},
        // Launch: the checks in order, the limits of what is read (the line then 255 characters,
        // as many as it takes), the template stored before the launch.
        {L"", stored, L"x", L"Error! No server address entered." + none, IDC_LAUNCH,
         {L"", L"", L"", L"x"}},
        {L"", stored, L"x", L"Error! No port entered." + none, IDC_LAUNCH,
         {L"host", L"", L"", L"x"}},
        {L"", stored, L"x", L"Error! No engine location selected." + none, IDC_LAUNCH,
         {L"h", L"1", L" \"\" ", L"x"}},
        {L"", stored, L"x", // 254 + 2 characters
         L"Fehler! Die Engine konnte nicht gestartet werden: die Parameterzeile ist zu lang." +
             none,
         IDC_LAUNCH, {Text(300, 'a'), L"1", Engine, L"$address"}, L"$address", 0x0407},
        {L"", stored, L"x", L"|exit 0: \"" + engine259 + L"\" ab:12345 " + p246 + L"\n" + folder,
         IDC_LAUNCH, {L"ab", L"123456789", engine259 + L"zzz", L"$address " + p246 + L"EXTRA"},
         L"$address " + p246},
        // An engine location pasted with its quotes; parameters that cannot be stored are told,
        // and launched (without $address, as they are).
        {L"", stored, L"x",
         L"Error! The parameters could not be saved: Access denied. (error code 5)" +
             Started(L"192.0.2.10:27961"),
         IDC_LAUNCH,
         {L"192.0.2.10", L"27961", L" \"" + Engine + L"\"  ",
          L"+set fs_game kelvra +connect \"192.0.2.10:27961\""},
         L"(none)", 0x0409, ReadOnly},
        {L"", stored, L"x", L"|exit 0: (none)", IDC_EXIT, // Exit stores nothing
         {L"", L"", L"", L"+changed"}},
    };
    for (const auto &row : rows)
        Take(row);
}

// Two launchers' whitelist windows pressing OK at once, round after round, over a long stored
// list: each keeps the other's addition.
TEST(Program, TwoLaunchersSaving)
{
    ClearRegistry();
    Texts stored;
    for (int i = 0; i < 150; ++i)
        stored.push_back(L"s" + std::to_wstring(i));
    StoreWhitelist(stored);
    Launcher a(L"a"), b(L"b");
    HWND mainA = a.Window(), mainB = b.Window();
    for (int round = 0; round < 4; ++round) {
        const Text added[] = {L"a" + std::to_wstring(round), L"b" + std::to_wstring(round)};
        HWND windows[] = {OpenWhitelist(a, mainA), OpenWhitelist(b, mainB)};
        for (int i : {0, 1})
            Add(windows[i], added[i]);
        for (HWND window : windows)
            PostMessageW(window, WM_COMMAND, IDC_WL_OK, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(windows[0]) && !IsWindow(windows[1]); }));
        stored = StoredWhitelist();
        for (const Text &entry : added)
            EXPECT_EQ(1, std::count(stored.begin(), stored.end(), entry)) << entry;
    }
    EXPECT_EQ(150u + 8 + 1, stored.size());
}

// A window moved and resized (not for width 0): its outer size, its client area's offset, and each
// control as "id class style left,top,right,bottom text".
struct Layout { LONG w, h, x, y; Text seen; }; // seen: "width x height", then the controls

Text Row(int id, const wchar_t *name, DWORD style, LONG left, LONG top, LONG right, LONG bottom,
         const Text &text)
{
    wchar_t row[512];
    // An edit makes its border an edge, a list shows bars as needed.
    style &= ~(WS_BORDER | WS_HSCROLL | WS_VSCROLL);
    _snwprintf(row, 512, L"%d %ls %lx %ld,%ld,%ld,%ld %ls\n", id, name, style, left, top, right,
               bottom, text.c_str());
    return row;
}

Layout Resize(HWND window, SIZE size)
{
    RECT r;
    POINT client = {0, 0};
    wchar_t name[32];
    // Away from the screen's corner, where a left edge of 0 would hide a formula's sign.
    SetWindowPos(window, NULL, 31, 17, size.cx, size.cy, SWP_NOZORDER | (size.cx ? 0 : SWP_NOSIZE));
    GetWindowRect(window, &r);
    ClientToScreen(window, &client);
    Layout l = {r.right - r.left, r.bottom - r.top, client.x - r.left, client.y - r.top, L""};
    l.seen = std::to_wstring(l.w) + L" x " + std::to_wstring(l.h) + L"\n";
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetWindowRect(child, &r);
        MapWindowPoints(NULL, window, (POINT *)&r, 2);
        GetClassNameW(child, name, 32);
        l.seen += Row(GetDlgCtrlID(child), name, GetWindowLongW(child, GWL_STYLE), r.left, r.top,
                      r.right, r.bottom, WindowText(child));
    }
    return l;
}

// One run through both windows, Browse last.
TEST(Program, Windows)
{
    ClearRegistry();
    SetDword(HKEY_CURRENT_USER, L"language", 0x0409);
    SetText(SettingsKey, L"enginepath", Engine);
    StoreWhitelist({L"A", L"B"});
    Launcher launcher(L"scheme://192.0.2.10:27961");
    HWND main = launcher.Window();
    ASSERT_TRUE(main);
    auto BoxAfter = [&](HWND window, UINT message,
                        WPARAM wParam) { // the message box it makes the launcher show
        auto box = NextBox(launcher.process.dwProcessId);
        Send(window, message, wParam);
        return box.get();
    };

    // A field keeps `margin` to the right edge, a button at left -1 keeps 20 pixels to it.
    const DWORD s = 0x50000000, f = 0x508000C0; // the style of a label or button, of a field
    const struct {
        int id;
        const wchar_t *name;
        Text text;
        DWORD style;
        LONG left, top, right, margin;
    } controls[] = {
        {IDC_ADDRESS_LABEL, L"Static", L"Server address:", s, 10, 10, 210, 0},
        {IDC_ADDRESS, L"Edit", L"192.0.2.10", f, 220, 10, 0, 10},
        {IDC_PORT_LABEL, L"Static", L"Port:", s, 10, 45, 210, 0},
        {IDC_PORT, L"Edit", L"27961", f, 220, 45, 0, 10},
        {IDC_ENGINE_LABEL, L"Static", L"Engine location:", s, 10, 80, 210, 0},
        {IDC_ENGINE, L"Edit", Engine, 0x50800080, 220, 80, 0, 220},
        {IDC_BROWSE, L"Button", L"Browse", s, -1, 80, 0, 0},
        {IDC_PARAMETERS_LABEL, L"Static", L"Parameters:", s, 10, 115, 210, 0},
        {IDC_PARAMETERS, L"Edit", Template, f, 220, 115, 0, 10},
        {IDC_LAUNCH, L"Button", L"Launch", s, 10, 150, 210, 0},
        {IDC_WHITELIST, L"Button", L"Whitelist", s, 215, 150, 415, 0},
        {IDC_EXIT, L"Button", L"Exit", s, -1, 150, 0, 0},
    };
    // Shown 640 x 220; no narrower, 220 high.
    for (SIZE asked : {SIZE{0, 0}, SIZE{777, 220}, SIZE{100, 100}, SIZE{900, 500}}) {
        Layout l = Resize(main, asked);
        Text expected;
        for (const auto &c : controls) {
            LONG left = c.left < 0 ? l.w - 220 : c.left,
                 right = c.margin ? l.w - l.x - c.margin : c.right;
            expected += Row(c.id, c.name, c.style, left, c.top, c.left < 0 ? left + 200 : right,
                            c.top + 25, c.text);
        }
        EXPECT_EQ(std::to_wstring(std::max(640L, asked.cx)) + L" x 220\n" + expected, l.seen);
    }

    // Each language item stores its id and gives notice in the current and the new language; with
    // the settings key read-only, the user is told. The focus comes back after a box.
    const struct { UINT item; DWORD id; const wchar_t *restart; } languages[] = {
        {IDM_LANGUAGE_DEFAULT, 0x0400, L"Restart the program."},
        {IDM_LANGUAGE_ENGLISH, 0x0409, L"Restart the program."},
        {IDM_LANGUAGE_GERMAN, 0x0407, L"Starten sie das programm neu."},
        {IDM_LANGUAGE_FRENCH, 0x040C, L"Red\u00e9marrez le programme."},
        {IDM_LANGUAGE_SWEDISH, 0x041D, L"Starta om programmet."},
        {IDM_LANGUAGE_RUSSIAN, 0x0419, L"Restart the program."}, // untranslated
        {IDM_LANGUAGE_FINNISH, 0x040B, L"K\u00e4ynnist\u00e4 ohjelma uudelleen."},
        {IDM_LANGUAGE_HUNGARIAN, 0x040E, L"Ind\u00edtsd \u00fajra a programot."},
        {IDM_LANGUAGE_DANISH, 0x0406, L"Genstart programmet."},
        {IDM_LANGUAGE_DUTCH, 0x0413, L"Start het programma opnieuw."},
    };
    for (const auto &language : languages) {
        EXPECT_EQ(L"Information! Restart the program.\n" + Text(language.restart),
                  BoxAfter(main, WM_SYSCOMMAND, language.item));
        EXPECT_EQ(L"#" + std::to_wstring(language.id), Stored(L"language"));
    }
    LockKey(SettingsKey, ReadOnly);
    Text refused = BoxAfter(main, WM_SYSCOMMAND, IDM_LANGUAGE_GERMAN);
    LockKey(SettingsKey, FullAccess);
    EXPECT_EQ(L"Error! The language could not be saved: Access denied. (error code 5)", refused);
    EXPECT_EQ(L"#1043", Stored(L"language"));
    EXPECT_EQ(IDC_LAUNCH, Focus(launcher));

    // The whitelist window's first address is host:port from the main window (the host alone
    // without a port, none without a host) within their limits; it lists the last stored entry
    // first. Cancel and the close box drop what was added.
    const Text firsts[][3] = {
        {L"alpha", L"", L"alpha"},
        {L"", L"27960", L""},
        {Text(300, 'a'), L"123456789", Text(254, 'a') + L":12345"},
    };
    for (const auto &first : firsts) {
        Type(main, IDC_ADDRESS, first[0]);
        Type(main, IDC_PORT, first[1]);
        HWND window = OpenWhitelist(launcher, main);
        EXPECT_EQ(first[2], WindowText(GetDlgItem(window, IDC_WL_ADDRESS)));
        EXPECT_EQ(IDC_WL_ADDRESS, Focus(launcher));
        EXPECT_EQ((Texts{L"B", L"A"}), Items(window));
        Add(window, L"X");
        Send(window, &first == firsts ? WM_CLOSE : WM_COMMAND, IDC_WL_CANCEL);
        EXPECT_EQ((Texts{L"A", L"B", L""}), StoredWhitelist());
    }
    HWND window = OpenWhitelist(launcher, main), field = GetDlgItem(window, IDC_WL_ADDRESS);
    HWND list = GetDlgItem(window, IDC_WL_LIST);

    // The field and the list keep 230 pixels to the right edge, the list 55 to the bottom.
    for (SIZE asked :
         {SIZE{0, 0}, SIZE{650 + 90, 325 + 60}, SIZE{100, 100}}) { // at least 650 x 325
        Layout l = Resize(window, asked);
        const LONG x = l.w - 220, y = l.h - 70,
                   edge = l.w - l.x - 230; // the buttons following the edges
        auto button = [&](int id, LONG left, LONG top, const wchar_t *text) {
            return Row(id, L"Button", s, left, top, left + 200, top + 25, text);
        };
        EXPECT_EQ(std::to_wstring(std::max(650L, asked.cx)) + L" x " +
                      std::to_wstring(std::max(325L, asked.cy)) + L"\n" +
                      Row(IDC_WL_LABEL, L"Static", s, 10, 10, 210, 35, L"Server address:") +
                      Row(IDC_WL_ADDRESS, L"Edit", f, 220, 10, edge, 35, firsts[2][2]) +
                      button(IDC_WL_ADD, x, 10, L"Add") + button(IDC_WL_REMOVE, x, 45, L"Remove") +
                      Row(IDC_WL_LIST, L"ListBox", 0x50B00108, 10, 45, edge, l.h - l.y - 55, L"") +
                      button(IDC_WL_OK, 10, y, L"OK") +
                      button(IDC_WL_INFORMATION, 220, y, L"Information") +
                      button(IDC_WL_CANCEL, x, y, L"Cancel"),
                  l.seen);
    }

    // Add and Enter take the field's text and empty it; Remove takes the selected items.
    Type(window, IDC_WL_ADDRESS, L"");
    EXPECT_EQ(L"Error! No server address entered.", BoxAfter(window, WM_COMMAND, IDC_WL_ADD));
    EXPECT_EQ(IDC_WL_ADDRESS, Focus(launcher));
    Add(window, L"C");
    Type(window, IDC_WL_ADDRESS, L"D" + WindowText(field)); // "DC" if Add left "C"
    Send(field, WM_KEYDOWN, VK_RETURN);
    Send(window, WM_COMMAND, IDC_WL_REMOVE);
    EXPECT_EQ(L"", WindowText(field));
    EXPECT_EQ((Texts{L"B", L"A", L"C", L"D"}), Items(window))
        << "nothing selected: nothing removed";
    Send(list, LB_SETSEL, TRUE, 0);
    Send(list, LB_SETSEL, TRUE, 2);
    Send(window, WM_COMMAND, IDC_WL_REMOVE);
    EXPECT_EQ((Texts{L"A", L"D"}), Items(window));
    EXPECT_EQ(L"Information! Add any server address you want to start automatically. It will skip "
              L"the URL Kelvra "
              L"launcher window.",
              BoxAfter(window, WM_COMMAND, IDC_WL_INFORMATION));
    EXPECT_EQ(L"About! URL Kelvra launcher version 1.2.12 by the tQr launcher team",
              BoxAfter(main, WM_SYSCOMMAND, IDM_ABOUT));

    // OK, refused, tells why and keeps the window with its items; then it stores them, shown
    // reversed in a window opened again.
    LockKey(WhitelistKey, ReadOnly);
    EXPECT_EQ(L"Error! The whitelist could not be saved: Access denied. (error code 5)",
              BoxAfter(window, WM_COMMAND, IDC_WL_OK));
    LockKey(WhitelistKey, FullAccess);
    EXPECT_EQ((Texts{L"A", L"D"}), Items(window));
    Send(window, WM_COMMAND, IDC_WL_OK);
    EXPECT_EQ((Texts{L"D", L"A", L""}), StoredWhitelist());
    EXPECT_EQ((Texts{L"D", L"A"}), Items(window = OpenWhitelist(launcher, main)));
    Add(window, L"Y");
    // Commands reach their own window only: OK sent to the main window, Exit to the whitelist one.
    Send(main, WM_COMMAND, IDC_WL_OK);
    Send(window, WM_COMMAND, IDC_EXIT);
    EXPECT_EQ((Texts{L"D", L"A", L"Y"}), Items(window));

    // Browse lists its file types, the first selected; Cancel changes nothing, a chosen file goes
    // to the field and the registry.
    ClearRegistry(); // the engine location then saved in a settings key made anew
    const Text types = L"Select the engine@0|Quake III engine (quake3.exe)|ioquake3 "
                       L"(ioquake3.x86.exe, ioquake3.x86_64"
                       L".exe)|Kelvra engine (klengine.exe)|Any Quake III engine (*.*)";
    for (const Text &chosen :
         {Text(), BinDirectory() + L"\\stub_engine.exe"}) { // not the engine loaded
        auto dialog = NextBox(launcher.process.dwProcessId, [&](HWND box) {
            HWND name = GetDlgItem(box, 0x47C) ? GetDlgItem(box, 0x47C)
                                               : GetDlgItem(box, 0x480); // or the old style's
            HWND fileTypes = GetDlgItem(box, 0x470);
            Text seen = WindowText(box) + L"@" + std::to_wstring(Send(fileTypes, CB_GETCURSEL, 0)),
                 type(256, 0);
            for (int i = 0; Send(fileTypes, CB_GETLBTEXT, i, (LPARAM)&type[0]) > 0; ++i)
                seen += L"|" + Text(type.c_str());
            Send(name, WM_SETTEXT, 0, (LPARAM)chosen.c_str());
            PostMessageW(box, WM_COMMAND, chosen.empty() ? IDCANCEL : IDOK, 0);
            return seen;
        });
        Type(main, IDC_ENGINE, L"");
        Send(main, WM_COMMAND, IDC_BROWSE);
        EXPECT_EQ(types, dialog.get());
        const Text stored = chosen.empty() ? L"(none)" : chosen;
        EXPECT_EQ(chosen + L"|" + stored,
                  WindowText(GetDlgItem(main, IDC_ENGINE)) + L"|" + Stored(L"enginepath"));
    }

    // With the whitelist window open: both close, nothing is saved.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, launcher.Exit());
    EXPECT_EQ(Texts{}, StoredWhitelist());
}

} // namespace
