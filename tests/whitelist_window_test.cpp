// The whitelist window as real windows in this process, and end to end
// with the real program.
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

void StoreWhitelist(const Texts &values)
{
    for (size_t i = 0; i < values.size(); ++i)
        SetText(HKEY_CURRENT_USER, WhitelistKey, (L"address" + std::to_wstring(i)).c_str(), values[i]);
}

class WhitelistWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        LoadEnglishStrings();
        ASSERT_TRUE(RegisterMainWindowClass());
    }
    void SetUp() override
    {
        ClearRegistry();
        FreeWhitelist();
        wcscpy(LaunchTarget.host, L"alpha");
        LaunchTarget.port = 27960;
        wcscpy(LaunchSettings.parameterTemplate, DefaultParameterTemplate);
        ASSERT_TRUE(CreateMainWindow());
        ExtendSystemMenu();
        ASSERT_TRUE(PopulateMainWindow());
        ShowWindow(MainWindow, SW_SHOWNORMAL);
    }
    void TearDown() override
    {
        DestroyWindow(MainWindow);
        MainWindow = NULL;
        PumpUntil([] { return true; }, 0);
        FreeWhitelist();
        ClearRegistry();
    }
    void Open() { SendMessageW(MainControls.whitelist, BM_CLICK, 0, 0); }
    void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
    void Add(const wchar_t *address)
    {
        SetWindowTextW(WhitelistControls.address, address);
        Click(WhitelistControls.add);
    }
};

TEST_F(WhitelistWindowTest, InitialAddressFromTheMainWindow)
{
    const struct {
        const wchar_t *host, *port, *expected;
    } rows[] = {{L"alpha", L"27960", L"alpha:27960"}, {L"alpha", L"", L"alpha"}, {L"", L"27960", L""}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.expected);
        SetWindowTextW(MainControls.address, row.host);
        SetWindowTextW(MainControls.port, row.port);
        Open();
        ASSERT_TRUE(WhitelistWindow);
        EXPECT_EQ(L"Autostart Whitelist", WindowText(WhitelistWindow));
        EXPECT_EQ(row.expected, WindowText(WhitelistControls.address));
        EXPECT_EQ(WhitelistControls.address, GetFocus());
        Click(WhitelistControls.cancel);
        EXPECT_FALSE(WhitelistWindow);
    }
}

TEST_F(WhitelistWindowTest, AddEnterRemove)
{
    Open();
    SetWindowTextW(WhitelistControls.address, L"");
    auto box = WatchForBox();
    Click(WhitelistControls.add);
    BoxReport report = box.get();
    EXPECT_EQ(L"No server address entered.", report.text);
    EXPECT_EQ(L"Error", report.caption);

    Add(L"one");
    EXPECT_EQ(L"", WindowText(WhitelistControls.address)) << "Add empties the field";
    SetWindowTextW(WhitelistControls.address, L"two");
    SendMessageW(WhitelistControls.address, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(L"", WindowText(WhitelistControls.address)) << "Enter adds like Add";
    Add(L"one");
    Add(L"four");
    ASSERT_EQ((Texts{L"one", L"two", L"one", L"four"}), ListItems(WhitelistControls.list));

    Click(WhitelistControls.remove);
    EXPECT_EQ(4u, ListItems(WhitelistControls.list).size()) << "nothing selected";
    SendMessageW(WhitelistControls.list, LB_SETSEL, TRUE, 0);
    SendMessageW(WhitelistControls.list, LB_SETSEL, TRUE, 2);
    Click(WhitelistControls.remove);
    EXPECT_EQ((Texts{L"two", L"four"}), ListItems(WhitelistControls.list));

    box = WatchForBox();
    SetWindowTextW(WhitelistControls.address, L"");
    SendMessageW(WhitelistControls.address, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(L"No server address entered.", box.get().text);
}

TEST_F(WhitelistWindowTest, CancelAndCloseDropTheChanges)
{
    StoreWhitelist({L"A", L"B", L""});
    LoadWhitelist();
    for (bool viaCancel : {true, false}) {
        Open();
        ASSERT_EQ((Texts{L"B", L"A"}), ListItems(WhitelistControls.list));
        Add(L"C");
        if (viaCancel)
            Click(WhitelistControls.cancel);
        else
            SendMessageW(WhitelistWindow, WM_CLOSE, 0, 0);
        EXPECT_FALSE(WhitelistWindow);
        EXPECT_EQ((Texts{L"A", L"B", L""}), StoredWhitelist());
    }
}

TEST_F(WhitelistWindowTest, OkStoresTheListAndTheReopenedWindowShowsItReversed)
{
    Open();
    Add(L"X");
    Add(L"Y");
    Click(WhitelistControls.ok);
    EXPECT_FALSE(WhitelistWindow);
    EXPECT_EQ((Texts{L"Y", L"X", L""}), StoredWhitelist());
    Open();
    EXPECT_EQ((Texts{L"Y", L"X"}), ListItems(WhitelistControls.list));

    SendMessageW(WhitelistControls.list, LB_SETSEL, TRUE, -1);
    Click(WhitelistControls.remove);
    Click(WhitelistControls.ok);
    EXPECT_EQ(Texts{L""}, StoredWhitelist()) << "an emptied list box stores the empty whitelist";
    EXPECT_FALSE(Whitelist);
}

TEST_F(WhitelistWindowTest, LayoutAndMinimumSize)
{
    Open();
    auto clientRect = [](HWND control) {
        RECT rect = OuterRect(control);
        MapWindowPoints(NULL, WhitelistWindow, (POINT *)&rect, 2);
        return rect;
    };
    HWND controls[] = {WhitelistControls.label, WhitelistControls.address, WhitelistControls.add,
                       WhitelistControls.remove, WhitelistControls.list, WhitelistControls.ok,
                       WhitelistControls.information, WhitelistControls.cancel};
    std::vector<RECT> before;
    for (HWND control : controls)
        before.push_back(clientRect(control));
    RECT outer = OuterRect(WhitelistWindow);
    const int dx = 90, dy = 60;
    SetWindowPos(WhitelistWindow, NULL, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER);
    // How each control's left, top, right and bottom follow dx and dy.
    const int follows[][4] = {{0, 0, 0, 0}, {0, 0, dx, 0},   {dx, 0, dx, 0},   {dx, 0, dx, 0},
                              {0, 0, dx, dy}, {0, dy, 0, dy}, {0, dy, 0, dy}, {dx, dy, dx, dy}};
    for (size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        RECT after = clientRect(controls[i]);
        EXPECT_EQ(before[i].left + follows[i][0], after.left);
        EXPECT_EQ(before[i].top + follows[i][1], after.top);
        EXPECT_EQ(before[i].right + follows[i][2], after.right);
        EXPECT_EQ(before[i].bottom + follows[i][3], after.bottom);
    }
    MINMAXINFO limits = TrackLimits(WhitelistWindow);
    EXPECT_EQ(650, limits.ptMinTrackSize.x);
    EXPECT_EQ(325, limits.ptMinTrackSize.y);
    EXPECT_EQ(3000, limits.ptMaxTrackSize.x);
    EXPECT_EQ(2000, limits.ptMaxTrackSize.y);
}

TEST_F(WhitelistWindowTest, SecondCommandRaisesTheOpenWindow)
{
    Open();
    HWND first = WhitelistWindow;
    Add(L"kept");
    ShowWindow(first, SW_MINIMIZE);
    Open();
    EXPECT_EQ(first, WhitelistWindow);
    EXPECT_FALSE(IsIconic(first));
    EXPECT_EQ(Texts{L"kept"}, ListItems(WhitelistControls.list));
    EXPECT_EQ(WhitelistControls.address, GetFocus());
}

TEST_F(WhitelistWindowTest, InformationAboutAndLanguageWhileOpen)
{
    Open();
    auto box = WatchForBox();
    Click(WhitelistControls.information);
    BoxReport information = box.get();
    EXPECT_EQ(L"Add any server address you want to start automatically. It will skip the URL Kelvra launcher window.",
              information.text);
    EXPECT_EQ(L"Information", information.caption);

    box = WatchForBox();
    SendMessageW(MainWindow, WM_SYSCOMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(L"About", box.get().caption);
    box = WatchForBox();
    SendMessageW(MainWindow, WM_SYSCOMMAND, IDM_LANGUAGE_FRENCH, 0);
    EXPECT_TRUE(box.get().seen);
    EXPECT_EQ(0x040Cu, *(const DWORD *)ReadValue(HKEY_CURRENT_USER, SettingsKey, L"language").data.data());
    EXPECT_TRUE(WhitelistWindow);
}

TEST_F(WhitelistWindowTest, ClosingTheMainWindowClosesBothAndSavesNothing)
{
    StoreWhitelist({L"A", L""});
    LoadWhitelist();
    Open();
    Add(L"B");
    HWND whitelistWindow = WhitelistWindow;
    SendMessageW(MainWindow, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(whitelistWindow));
    EXPECT_FALSE(WhitelistWindow);
    EXPECT_EQ((Texts{L"A", L""}), StoredWhitelist());
    MainWindow = NULL;
}

// The real program, twice: the window's OK makes the next link autostart,
// and after a restart the window shows the order the user left.
class RealProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        ResetStubRecord();
        SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0409);
    }
    void TearDown() override { ClearRegistry(); }
};

TEST_F(RealProgram, WhitelistedThroughTheWindowThenAutostarts)
{
    std::wstring engine = InstallStubEngine(L"C:\\Games\\Kelvra\\klengine.exe");
    SetText(HKEY_CURRENT_USER, SettingsKey, L"enginepath", engine);
    {
        Launcher launcher;
        StartLauncher(launcher, L"\"scheme://192.0.2.10:27961/\"");
        HWND mainWindow = launcher.WaitForWindow(Title);
        ASSERT_TRUE(mainWindow);
        HWND whitelist = FindWhitelistWindow(launcher, mainWindow);
        ASSERT_TRUE(whitelist);
        SendMessageW(GetDlgItem(whitelist, IDC_WL_ADDRESS), WM_SETTEXT, 0, (LPARAM)L"first");
        SendMessageW(GetDlgItem(whitelist, IDC_WL_ADD), BM_CLICK, 0, 0);
        EXPECT_EQ(L"", WindowText(GetDlgItem(whitelist, IDC_WL_ADDRESS)));
        SendMessageW(GetDlgItem(whitelist, IDC_WL_ADDRESS), WM_SETTEXT, 0, (LPARAM)L"192.0.2.10:27961");
        SendMessageW(GetDlgItem(whitelist, IDC_WL_ADD), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(whitelist, IDC_WL_OK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(whitelist); }));
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, launcher.WaitForExit());
    }
    EXPECT_EQ((Texts{L"192.0.2.10:27961", L"first", L""}), StoredWhitelist());
    {
        Launcher launcher;
        StartLauncher(launcher, L"\"scheme://192.0.2.10:27961/\"");
        EXPECT_EQ(0u, launcher.WaitForExit());
        EXPECT_EQ(engine + L" +set fs_game kelvra +connect \"192.0.2.10:27961\"", ReadStubRecord().commandLine);
    }
    {
        Launcher launcher;
        StartLauncher(launcher, L"scheme://elsewhere");
        HWND mainWindow = launcher.WaitForWindow(Title);
        ASSERT_TRUE(mainWindow);
        HWND whitelist = FindWhitelistWindow(launcher, mainWindow);
        ASSERT_TRUE(whitelist);
        HWND list = GetDlgItem(whitelist, IDC_WL_LIST);
        EXPECT_EQ((Texts{L"first", L"192.0.2.10:27961"}), ListItems(list)) << "the order the user left";
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, launcher.WaitForExit());
    }
    EXPECT_EQ((Texts{L"192.0.2.10:27961", L"first", L""}), StoredWhitelist()) << "closing saved nothing";
}

} // namespace
