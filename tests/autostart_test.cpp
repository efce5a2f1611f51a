// The real launcher started through CreateProcessW with exact command-line
// tails: the autostart road, the window road, and crafted links.
#include "support/testing.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

const wchar_t Title[] = L"URL Kelvra launcher";
const std::wstring EnginePath = L"C:\\Games\\Kelvra engine\\klengine.exe";

class Autostart : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        ResetStubRecord();
        SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0409);
        InstallStubEngine(EnginePath);
    }
    void Whitelist(const std::wstring &entry)
    {
        SetText(HKEY_CURRENT_USER, WhitelistKey, L"address0", entry);
        SetText(HKEY_CURRENT_USER, WhitelistKey, L"address1", L"");
    }
    void StoreEngine() { SetText(HKEY_CURRENT_USER, SettingsKey, L"enginepath", EnginePath); }
};

std::wstring ConnectLine(const std::wstring &address)
{
    return EnginePath + L" +set fs_game kelvra +connect \"" + address + L"\"";
}

TEST_F(Autostart, QuotedLinkNotWhitelistedShowsTheWindow)
{
    StoreEngine();
    Launcher launcher;
    StartLauncher(launcher, L"\"scheme://192.0.2.10:27961/\"");
    ASSERT_TRUE(launcher.started);
    HWND window = launcher.WaitForWindow(Title);
    ASSERT_TRUE(window) << "the main window did not appear";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, launcher.WaitForExit());
    EXPECT_FALSE(ReadStubRecord(0).present);
}

struct MatchRow {
    const wchar_t *entry, *tail;
    bool starts;
};

TEST_F(Autostart, WhitelistMatching)
{
    StoreEngine();
    const MatchRow rows[] = {
        {L"192.0.2.10", L"\"scheme://192.0.2.10:27961/\"", true},  // bare host: any port
        {L"192.0.2.10:27961", L"scheme://192.0.2.10:27961", true}, // host:port: that port
        {L"192.0.2.10:27960", L"scheme://192.0.2.10:27961", false},
        {L"Server.Example", L"scheme://server.example:27961", false}, // letter case counts
    };
    for (const MatchRow &row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.entry) + L" / " + row.tail));
        ResetStubRecord();
        Whitelist(row.entry);
        Launcher launcher;
        StartLauncher(launcher, row.tail);
        if (row.starts) {
            EXPECT_EQ(0u, launcher.WaitForExit());
            StubRecord record = ReadStubRecord();
            EXPECT_EQ(ConnectLine(L"192.0.2.10:27961"), record.commandLine);
            EXPECT_EQ(L"C:\\Games\\Kelvra engine", record.directory);
        } else {
            HWND window = launcher.WaitForWindow(Title);
            ASSERT_TRUE(window);
            PostMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(0u, launcher.WaitForExit());
            EXPECT_FALSE(ReadStubRecord(0).present);
        }
    }
}

TEST_F(Autostart, WhitelistedHostWithoutEnginePathOpensTheWindow)
{
    Whitelist(L"192.0.2.10");
    Launcher launcher;
    StartLauncher(launcher, L"scheme://192.0.2.10:27961");
    HWND window = launcher.WaitForWindow(Title);
    ASSERT_TRUE(window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, launcher.WaitForExit());
}

TEST_F(Autostart, MissingEngineIsReportedAndTheLauncherEnds)
{
    SetText(HKEY_CURRENT_USER, SettingsKey, L"enginepath", L"C:\\Games\\no-such-engine.exe");
    Whitelist(L"192.0.2.10");
    Launcher launcher;
    StartLauncher(launcher, L"scheme://192.0.2.10");
    BoxReport report = WatchForBox(launcher.process.dwProcessId).get();
    EXPECT_EQ(L"Could not launch the engine: CreateProcess failed (2).", report.text);
    EXPECT_EQ(L"Error", report.caption);
    EXPECT_EQ(0u, launcher.WaitForExit());
}

struct InjectionRow {
    std::wstring tail, host, port;
};

// Whatever a link carries, the engine gets only host characters, one ":"
// and the port digits.
TEST_F(Autostart, CraftedLinksCannotSmuggleEngineCommands)
{
    StoreEngine();
    const InjectionRow rows[] = {
        {L"scheme://x\" +exec evil \"", L"xexecevil", L"27960"},
        {L"\"scheme://x\" +exec evil \"\"", L"xexecevil", L"27960"},
        {L"scheme://x%22+exec", L"x22exec", L"27960"},
        {L"scheme://a;quit", L"aquit", L"27960"},
        {L"scheme://a\\..\\b", L"a..b", L"27960"},
        {L"scheme://a b\tc:27961", L"abc", L"27961"},
        {L"scheme://caf\u00e9.example:1", L"caf.example", L"1"},
        {L"scheme://host:1;+quit", L"host", L"1"},
    };
    for (const InjectionRow &row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.tail.substr(0, 60)));
        ResetStubRecord();
        Whitelist(row.host);
        Launcher launcher;
        StartLauncher(launcher, row.tail);
        EXPECT_EQ(0u, launcher.WaitForExit());
        EXPECT_EQ(ConnectLine(row.host + L":" + row.port), ReadStubRecord().commandLine);
    }
}

// A 10,000-character link keeps 255 host characters; that address no longer
// fits the parameter line, and the launch is refused rather than cut.
TEST_F(Autostart, OverlongLinkIsRefusedNotCut)
{
    StoreEngine();
    Whitelist(Repeat(L'a', 255));
    Launcher launcher;
    StartLauncher(launcher, L"scheme://" + Repeat(L'a', 10000));
    BoxReport report = WatchForBox(launcher.process.dwProcessId).get();
    EXPECT_EQ(L"Could not launch the engine: the parameter line is too long.", report.text);
    EXPECT_EQ(0u, launcher.WaitForExit());
    EXPECT_FALSE(ReadStubRecord(0).present);
}

} // namespace
