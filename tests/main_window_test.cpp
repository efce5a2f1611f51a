// The main window as real windows in this process under Xvfb, and the
// Launch and Exit buttons of the real program.
#include "launch/launch.h"
#include "resources/resource.h"
#include "support/english.h"
#include "support/stored.h"
#include "ui/ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

const wchar_t Title[] = L"URL Kelvra launcher";

RECT ClientRect(HWND control)
{
    RECT rect = OuterRect(control);
    MapWindowPoints(NULL, GetParent(control), (POINT *)&rect, 2);
    return rect;
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LoadEnglishStrings();
        ASSERT_TRUE(RegisterMainWindowClass());
    }
    void SetUp() override
    {
        ClearRegistry();
        wcscpy(LaunchTarget.host, L"192.0.2.10");
        LaunchTarget.port = 27961;
        wcscpy(LaunchSettings.enginePath, L"C:\\Games\\klengine.exe");
        wcscpy(LaunchSettings.parameterTemplate, DefaultParameterTemplate);
    }
    void Create()
    {
        ASSERT_TRUE(CreateMainWindow());
        ExtendSystemMenu();
        ASSERT_TRUE(PopulateMainWindow());
    }
    void TearDown() override
    {
        if (MainWindow)
            DestroyWindow(MainWindow);
        MainWindow = NULL;
        PumpUntil([] { return true; }, 0);
        ClearRegistry();
    }
};

struct ControlRow {
    int id;
    const wchar_t *className, *text;
    DWORD style;
    RECT rect; // x, y, right, bottom
};

TEST_F(MainWindowTest, ControlsAsCreated)
{
    Create();
    const DWORD field = 0x508000C0 & ~WS_BORDER; // the edit control turns its border into a client edge
    const ControlRow rows[] = {
        {1, L"Static", L"Server address:", 0x50000000, {10, 10, 210, 35}},
        {2, L"Edit", L"192.0.2.10", field, {220, 10, 620, 35}},
        {3, L"Static", L"Port:", 0x50000000, {10, 45, 210, 70}},
        {4, L"Edit", L"27961", field, {220, 45, 620, 70}},
        {5, L"Static", L"Engine location:", 0x50000000, {10, 80, 210, 105}},
        {6, L"Edit", L"C:\\Games\\klengine.exe", 0x50800080 & ~WS_BORDER, {220, 80, 420, 105}},
        {7, L"Button", L"Browse", 0x50000000, {420, 80, 620, 105}},
        {8, L"Static", L"Parameters:", 0x50000000, {10, 115, 210, 140}},
        {9, L"Edit", L"+set fs_game kelvra +connect \"$address\"", field, {220, 115, 620, 140}},
        {10, L"Button", L"Launch", 0x50000000, {10, 150, 210, 175}},
        {24, L"Button", L"Whitelist", 0x50000000, {215, 150, 415, 175}},
        {11, L"Button", L"Exit", 0x50000000, {420, 150, 620, 175}},
    };
    HWND child = GetWindow(MainWindow, GW_CHILD);
    for (const ControlRow &row : rows) {
        SCOPED_TRACE(row.id);
        ASSERT_TRUE(child) << "fewer controls than tabled";
        wchar_t className[32];
        GetClassNameW(child, className, 32);
        EXPECT_EQ(row.id, GetDlgCtrlID(child)) << "creation order";
        EXPECT_STREQ(row.className, className);
        EXPECT_EQ(row.text, WindowText(child));
        EXPECT_EQ(row.style, (DWORD)GetWindowLongW(child, GWL_STYLE) & ~(DWORD)(WS_BORDER | WS_TABSTOP));
        EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP);
        RECT rect = ClientRect(child);
        EXPECT_EQ(row.rect.left, rect.left);
        EXPECT_EQ(row.rect.top, rect.top);
        EXPECT_EQ(row.rect.right, rect.right);
        EXPECT_EQ(row.rect.bottom, rect.bottom);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_FALSE(child) << "more controls than tabled";
}

TEST_F(MainWindowTest, ClassAndWindow)
{
    Create();
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    ASSERT_TRUE(GetClassInfoExW(AppInstance, L"myWindowClass", &windowClass));
    EXPECT_EQ(0u, windowClass.style);
    EXPECT_EQ((WNDPROC)MainWindowProc, windowClass.lpfnWndProc);
    EXPECT_EQ(0, windowClass.cbClsExtra);
    EXPECT_EQ(0, windowClass.cbWndExtra);
    EXPECT_EQ((HBRUSH)(INT_PTR)16, windowClass.hbrBackground);
    EXPECT_EQ(LoadCursorW(NULL, IDC_ARROW), windowClass.hCursor);
    EXPECT_EQ(LoadIconW(NULL, IDI_APPLICATION), windowClass.hIcon);
    ICONINFO icon = {};
    ASSERT_TRUE(GetIconInfo(windowClass.hIconSm, &icon));
    BITMAP bitmap = {};
    GetObjectW(icon.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(16, bitmap.bmWidth);
    EXPECT_EQ(16, bitmap.bmHeight);
    DeleteObject(icon.hbmColor);
    DeleteObject(icon.hbmMask);

    EXPECT_EQ(Title, WindowText(MainWindow));
    EXPECT_EQ((DWORD)WS_OVERLAPPEDWINDOW, GetWindowLongW(MainWindow, GWL_STYLE) & WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(GetWindowLongW(MainWindow, GWL_EXSTYLE) & WS_EX_WINDOWEDGE);
    RECT rect = OuterRect(MainWindow);
    EXPECT_EQ(640, rect.right - rect.left);
    EXPECT_EQ(220, rect.bottom - rect.top);
}

std::wstring MenuText(HMENU menu, UINT position)
{
    wchar_t text[64] = L"";
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindowTest, SystemMenuAfterThePlatformEntries)
{
    Create();
    HMENU menu = GetSystemMenu(MainWindow, FALSE);
    int count = GetMenuItemCount(menu);
    ASSERT_GT(count, 3);
    EXPECT_GE(GetMenuItemID(menu, 0), (UINT)SC_SIZE) << "the platform's own entries come first";
    MENUITEMINFOW separator = {};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, count - 3, TRUE, &separator);
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    EXPECT_EQ(L"Language", MenuText(menu, count - 2));
    EXPECT_EQ(L"About", MenuText(menu, count - 1));
    EXPECT_EQ(12u, GetMenuItemID(menu, count - 1));

    HMENU languages = GetSubMenu(menu, count - 2);
    ASSERT_TRUE(languages);
    const struct {
        UINT id;
        const wchar_t *label;
    } items[] = {{14, L"(Default)"}, {22, L"Dansk"}, {16, L"Deutsch"}, {15, L"English"},
                 {17, L"Fran\u00e7ais"}, {21, L"Magyar"}, {23, L"Netherlands"},
                 {19, L"P\u0443\u0441\u0441\u043a\u0438\u0439"}, {20, L"Suomi"}, {18, L"Svenska"}};
    ASSERT_EQ(10, GetMenuItemCount(languages));
    for (UINT i = 0; i < 10; ++i) {
        EXPECT_EQ(items[i].id, GetMenuItemID(languages, i));
        EXPECT_EQ(items[i].label, MenuText(languages, i));
        EXPECT_EQ(0u, GetMenuState(languages, i, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED | MF_DISABLED));
    }
}

TEST_F(MainWindowTest, FillingAndFocus)
{
    const struct {
        const wchar_t *host;
        USHORT port;
        const wchar_t *enginePath, *portText;
        int focus;
    } rows[] = {
        {L"", 27960, L"C:\\e.exe", L"27960", IDC_ADDRESS},
        {L"alpha", 0, L"", L"0", IDC_BROWSE},
        {L"alpha", 65535, L"C:\\e.exe", L"65535", IDC_LAUNCH},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.portText);
        wcscpy(LaunchTarget.host, row.host);
        LaunchTarget.port = row.port;
        wcscpy(LaunchSettings.enginePath, row.enginePath);
        Create();
        EXPECT_EQ(row.host, WindowText(MainControls.address));
        EXPECT_EQ(row.portText, WindowText(MainControls.port));
        EXPECT_EQ(row.enginePath, WindowText(MainControls.engine));
        EXPECT_EQ(GetDlgItem(MainWindow, row.focus), GetFocus());
        DestroyWindow(MainWindow);
        MainWindow = NULL;
    }
}

std::vector<RECT> ControlRects()
{
    std::vector<RECT> rects;
    for (HWND child = GetWindow(MainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        rects.push_back(ClientRect(child));
    return rects;
}

TEST_F(MainWindowTest, LayoutFollowsTheWidth)
{
    Create();
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    RECT outer = OuterRect(MainWindow);
    std::vector<RECT> before = ControlRects();
    const int n = 137;
    SetWindowPos(MainWindow, NULL, 0, 0, outer.right - outer.left + n, 220, SWP_NOMOVE | SWP_NOZORDER);
    std::vector<RECT> after = ControlRects();
    ASSERT_EQ(12u, after.size());
    // In creation order: fields 1, 3, 5, 8 widen; Browse (6) and Exit (11) move.
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(i);
        bool widens = i == 1 || i == 3 || i == 5 || i == 8, moves = i == 6 || i == 11;
        EXPECT_EQ(before[i].left + (moves ? n : 0), after[i].left);
        EXPECT_EQ(before[i].right + (moves || widens ? n : 0), after[i].right);
        EXPECT_EQ(before[i].top, after[i].top);
        EXPECT_EQ(before[i].bottom, after[i].bottom);
    }
    // The rule itself, on the window's outer rectangle.
    outer = OuterRect(MainWindow);
    EXPECT_EQ(outer.right - 10, OuterRect(MainControls.address).right);
    EXPECT_EQ(outer.right - 220, OuterRect(MainControls.engine).right);
    EXPECT_EQ(outer.right - outer.left - 200 - 20, ClientRect(MainControls.exit).left);

    ShowWindow(MainWindow, SW_MINIMIZE);
    ShowWindow(MainWindow, SW_RESTORE);
    PumpUntil([] { return !IsIconic(MainWindow); }, 5000);
    EXPECT_EQ(0, memcmp(after.data(), ControlRects().data(), after.size() * sizeof(RECT)));
}

TEST_F(MainWindowTest, SizeLimits)
{
    Create();
    MINMAXINFO limits = TrackLimits(MainWindow);
    EXPECT_EQ(640, limits.ptMinTrackSize.x);
    EXPECT_EQ(220, limits.ptMinTrackSize.y);
    EXPECT_EQ(3000, limits.ptMaxTrackSize.x);
    EXPECT_EQ(220, limits.ptMaxTrackSize.y);
}

TEST_F(MainWindowTest, LanguageItemStoresTheChoiceAndKeepsTheTexts)
{
    Create();
    auto box = WatchForBox();
    SendMessageW(MainWindow, WM_SYSCOMMAND, IDM_LANGUAGE_GERMAN, 0);
    BoxReport report = box.get();
    EXPECT_EQ(L"Restart the program.\nStarten sie das programm neu.", report.text);
    RegValue language = ReadValue(HKEY_CURRENT_USER, SettingsKey, L"language");
    ASSERT_EQ(4u, language.data.size());
    EXPECT_EQ(0x0407u, *(const DWORD *)language.data.data());
    EXPECT_EQ(L"Browse", WindowText(MainControls.browse));
}

TEST_F(MainWindowTest, NotificationsOfTheFieldsAreIgnored)
{
    LaunchSettings.enginePath[0] = 0; // a wrong Launch then shows a box instead of exiting
    Create();
    auto box = WatchForBox(GetCurrentProcessId(), 1000);
    // Exit with a notification code in the upper half would end this process.
    SendMessageW(MainWindow, WM_COMMAND, MAKEWPARAM(IDC_EXIT, EN_CHANGE), (LPARAM)MainControls.exit);
    SendMessageW(MainWindow, WM_COMMAND, MAKEWPARAM(IDC_LAUNCH, 1), (LPARAM)MainControls.launch);
    EXPECT_TRUE(IsWindow(MainWindow));
    EXPECT_FALSE(box.get().seen) << "Launch ran: its empty-field message came up";
}

TEST_F(MainWindowTest, AboutBoxInEnglishAndGerman)
{
    Create();
    auto box = WatchForBox();
    SendMessageW(MainWindow, WM_SYSCOMMAND, IDM_ABOUT, 0);
    BoxReport english = box.get();
    EXPECT_EQ(L"URL Kelvra launcher version 1.2.12 by the tQr launcher team", english.text);
    EXPECT_EQ(L"About", english.caption);
    EXPECT_TRUE(english.hasIcon);

    SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0407);
    LoadUiStrings(AppInstance);
    box = WatchForBox();
    ShowAboutBox();
    EXPECT_EQ(L"URL Kelvra launcher Version 1.2.12 von the tQr launcher team", box.get().text);
    LoadEnglishStrings();
}

std::wstring SystemText(DWORD code)
{
    wchar_t *text = NULL;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                   NULL, code, UiLanguageId, (wchar_t *)&text, 0, NULL);
    std::wstring result = text ? text : L"";
    LocalFree(text);
    return result;
}

TEST_F(MainWindowTest, ErrorReport)
{
    const struct {
        const wchar_t *caller;
        DWORD code;
        const wchar_t *start;
    } rows[] = {
        {L"", 5, L"A fatal error occured:  (error code 5)\n"},
        {L"Window Creation failed.", 0, L"A fatal error occured: Window Creation failed. (error code 0)\n"},
        {L"x", 0xFFFFFFFF, L"A fatal error occured: x (error code -1)\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.code);
        auto box = WatchForBox();
        SetLastError(row.code);
        ReportSystemError(row.caller);
        BoxReport report = box.get();
        EXPECT_EQ(row.start + SystemText(row.code), report.text);
        EXPECT_EQ(L"Error", report.caption);
        EXPECT_FALSE(report.hasIcon);
    }
    EXPECT_NE(L"", SystemText(5)) << "the report carries the system's own text";
}

TEST_F(MainWindowTest, RussianLeavesItsMissingLabelsEmpty)
{
    SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0419);
    LoadUiStrings(AppInstance);
    Create();
    EXPECT_EQ(L"", WindowText(MainControls.whitelist));
    EXPECT_NE(L"", WindowText(MainControls.launch));
    HMENU menu = GetSystemMenu(MainWindow, FALSE);
    int count = GetMenuItemCount(menu);
    EXPECT_EQ(L"", MenuText(menu, count - 2));
    EXPECT_EQ(L"", MenuText(GetSubMenu(menu, count - 2), 0));
    EXPECT_EQ(L"Dansk", MenuText(GetSubMenu(menu, count - 2), 1));
    LoadEnglishStrings();
}

// The real file dialog, driven from a second thread while Browse waits in it.
std::future<std::wstring> AnswerFileDialog(const std::wstring &path)
{
    return std::async(std::launch::async, [path] {
        HWND dialog = WaitForDialog();
        if (!dialog)
            return std::wstring(L"(no dialog)");
        std::wstring title = WindowText(dialog);
        // The file name field: a combo box in the explorer-style dialog, an
        // edit field in the old one.
        HWND name = GetDlgItem(dialog, 0x47C);
        if (!name)
            name = GetDlgItem(dialog, 0x480);
        if (!path.empty() && name) {
            SendMessageW(name, WM_SETTEXT, 0, (LPARAM)path.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        } else {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        WaitFor([&] { return !IsWindow(dialog); });
        if (IsWindow(dialog)) // never leave Browse waiting for ever
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return title;
    });
}

TEST_F(MainWindowTest, BrowseStoresAChosenFileAndCancelChangesNothing)
{
    std::wstring engine = InstallStubEngine(L"C:\\Games\\Browse\\klengine.exe");
    LaunchSettings.enginePath[0] = 0;
    Create();
    ShowWindow(MainWindow, SW_SHOWNORMAL);

    auto cancelled = AnswerFileDialog(L"");
    SendMessageW(MainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(L"Select the engine", cancelled.get());
    EXPECT_EQ(L"", WindowText(MainControls.engine));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SettingsKey));

    auto chosen = AnswerFileDialog(engine);
    SendMessageW(MainWindow, WM_COMMAND, IDC_BROWSE, 0);
    EXPECT_EQ(L"Select the engine", chosen.get());
    EXPECT_EQ(engine, WindowText(MainControls.engine));
    EXPECT_EQ(engine, LaunchSettings.enginePath);
    EXPECT_EQ(engine, ReadValue(HKEY_CURRENT_USER, SettingsKey, L"enginepath").Text());
}

// The real program: Launch with edited fields, and Exit.
class RealProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        ResetStubRecord();
        SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0409);
        SetText(HKEY_CURRENT_USER, SettingsKey, L"enginepath", L"C:\\Games\\stored.exe");
    }
    void TearDown() override { ClearRegistry(); }
};

TEST_F(RealProgram, LaunchButtonStartsTheEngineFromTheEditedFields)
{
    std::wstring engine = InstallStubEngine(L"C:\\Games\\Typed\\klengine.exe");
    Launcher launcher;
    StartLauncher(launcher, L"scheme://192.0.2.10:27961");
    HWND window = launcher.WaitForWindow(Title);
    ASSERT_TRUE(window);
    SendMessageW(GetDlgItem(window, IDC_ADDRESS), WM_SETTEXT, 0, (LPARAM)L"198.51.100.7");
    SendMessageW(GetDlgItem(window, IDC_PORT), WM_SETTEXT, 0, (LPARAM)L"abc");
    SendMessageW(GetDlgItem(window, IDC_ENGINE), WM_SETTEXT, 0, (LPARAM)engine.c_str());
    SendMessageW(GetDlgItem(window, IDC_PARAMETERS), WM_SETTEXT, 0, (LPARAM)L"+name x +connect $address");
    PostMessageW(GetDlgItem(window, IDC_LAUNCH), BM_CLICK, 0, 0);
    EXPECT_EQ(0u, launcher.WaitForExit());
    StubRecord record = ReadStubRecord();
    EXPECT_EQ(engine + L" +name x +connect 198.51.100.7:abc", record.commandLine);
    EXPECT_EQ(L"+name x +connect $address", ReadValue(HKEY_CURRENT_USER, SettingsKey, L"parameters").Text());
    EXPECT_EQ(L"C:\\Games\\stored.exe", ReadValue(HKEY_CURRENT_USER, SettingsKey, L"enginepath").Text())
        << "a typed engine path is not stored";
}

TEST_F(RealProgram, ExitAndCloseEndWithZeroAndStoreNothing)
{
    for (bool viaExit : {true, false}) {
        SCOPED_TRACE(viaExit ? "Exit" : "close box");
        Launcher launcher;
        StartLauncher(launcher, L"");
        HWND window = launcher.WaitForWindow(Title);
        ASSERT_TRUE(window);
        SendMessageW(GetDlgItem(window, IDC_PARAMETERS), WM_SETTEXT, 0, (LPARAM)L"+changed");
        if (viaExit)
            PostMessageW(GetDlgItem(window, IDC_EXIT), BM_CLICK, 0, 0);
        else
            PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, launcher.WaitForExit());
        EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, SettingsKey, L"parameters").present);
    }
}

} // namespace
