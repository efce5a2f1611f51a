// Composing the parameter line and starting the (stub) engine in-process;
// the Launch command on a window holding the four fields.
#include "launch/launch.h"
#include "resources/resource.h"
#include "support/english.h"

#include <gtest/gtest.h>

#include <string>

using namespace testing_support;

namespace {

class Engine : public ::testing::Test {
protected:
    static void SetUpTestSuite() { LoadEnglishStrings(); }
    void SetUp() override
    {
        ClearRegistry();
        ResetStubRecord();
    }
};

struct ExpandRow {
    std::wstring parameters, expected;
    bool fits;
};

TEST_F(Engine, PlaceholderTable)
{
    const std::wstring head = Repeat(L'h', 255 - 8 - 16); // expands to exactly 255 characters
    const ExpandRow rows[] = {
        {L"+set fs_game kelvra", L"+set fs_game kelvra", true},
        {L"+set fs_game kelvra +connect \"$address\"", L"+set fs_game kelvra +connect \"192.0.2.10:27961\"", true},
        {L"+connect $address +say $address", L"+connect 192.0.2.10:27961 +say $address", true},
        {L"$address +x", L"192.0.2.10:27961 +x", true},
        {L"+x $address", L"+x 192.0.2.10:27961", true},
        {L"+x $Address", L"+x $Address", true},
        {head + L"12345678$address", head + L"12345678192.0.2.10:27961", true},  // 255 characters
        {head + L"123456789$address", head + L"123456789$address", false},        // 256: refused
    };
    for (const ExpandRow &row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.parameters));
        wchar_t parameters[PARAMETERS_CAPACITY];
        wcscpy(parameters, row.parameters.c_str());
        EXPECT_EQ(row.fits, ExpandAddressPlaceholder(parameters, L"192.0.2.10", L"27961"));
        EXPECT_EQ(row.expected, parameters);
    }
}

TEST_F(Engine, CommandLineAndWorkingDirectory)
{
    std::wstring engine = InstallStubEngine(L"C:\\kelvra test\\engine dir\\klengine.exe");
    LaunchEngine(engine.c_str(), L"+set fs_game kelvra");
    StubRecord record = ReadStubRecord();
    ASSERT_TRUE(record.present);
    EXPECT_EQ(engine + L" +set fs_game kelvra", record.commandLine); // no quotes around the path
    EXPECT_EQ(L"C:\\kelvra test\\engine dir", record.directory);
}

TEST_F(Engine, BareFileNameStartsInTheCurrentDirectory)
{
    InstallStubEngine(L"C:\\kelvra bare\\klengine.exe");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(L"C:\\kelvra bare");
    LaunchEngine(L"klengine.exe", L"+x");
    SetCurrentDirectoryW(previous);
    StubRecord record = ReadStubRecord();
    ASSERT_TRUE(record.present);
    EXPECT_EQ(L"klengine.exe +x", record.commandLine);
    EXPECT_EQ(L"C:\\kelvra bare", record.directory);
}

TEST_F(Engine, MissingEngineIsReported)
{
    auto box = WatchForBox();
    LaunchEngine(L"C:\\windows\\no-such-engine.exe", L"+x");
    BoxReport report = box.get();
    ASSERT_TRUE(report.seen);
    EXPECT_EQ(L"Could not launch the engine: CreateProcess failed (2).", report.text);
    EXPECT_EQ(L"Error", report.caption);
    EXPECT_TRUE(report.hasIcon);
}

// A window holding the four fields the Launch command reads.
class LaunchCommand : public Engine {
protected:
    HWND window = NULL;
    void SetUp() override
    {
        Engine::SetUp();
        window = CreateWindowExW(0, L"Static", L"fields", WS_OVERLAPPED, 0, 0, 300, 200, NULL, NULL, NULL, NULL);
        for (int id : {IDC_ADDRESS, IDC_PORT, IDC_ENGINE, IDC_PARAMETERS})
            CreateWindowExW(0, L"Edit", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 100, 20, window,
                            (HMENU)(INT_PTR)id, NULL, NULL);
    }
    void TearDown() override { DestroyWindow(window); }
    void Fill(const std::wstring &address, const std::wstring &port, const std::wstring &engine,
              const std::wstring &parameters)
    {
        SetDlgItemTextW(window, IDC_ADDRESS, address.c_str());
        SetDlgItemTextW(window, IDC_PORT, port.c_str());
        SetDlgItemTextW(window, IDC_ENGINE, engine.c_str());
        SetDlgItemTextW(window, IDC_PARAMETERS, parameters.c_str());
    }
    BoxReport LaunchExpectingBox()
    {
        auto box = WatchForBox();
        OnLaunchCommand(window);
        return box.get();
    }
};

TEST_F(LaunchCommand, FieldChecksInOrder)
{
    struct Row {
        const wchar_t *address, *port, *engine, *message;
    } rows[] = {
        {L"", L"", L"", L"No server address entered."},
        {L"host", L"", L"", L"No port entered."},
        {L"host", L"1", L"", L"No engine location selected."},
    };
    for (const Row &row : rows) {
        Fill(row.address, row.port, row.engine, L"+x");
        BoxReport report = LaunchExpectingBox();
        EXPECT_EQ(row.message, report.text);
        EXPECT_EQ(L"Error", report.caption);
    }
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SettingsKey)) << "a refused launch stores nothing";
}

TEST_F(LaunchCommand, EmptyParametersDoNothing)
{
    Fill(L"", L"", L"", L"");
    auto box = WatchForBox(GetCurrentProcessId(), 1500);
    OnLaunchCommand(window);
    EXPECT_FALSE(box.get().seen);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, SettingsKey));
}

TEST_F(LaunchCommand, OverlongLineIsRefusedAfterStoringTheTemplate)
{
    std::wstring parameters = L"+connect $address " + Repeat(L'x', 230);
    Fill(L"192.0.2.10", L"27961", L"C:\\kelvra\\klengine.exe", parameters);
    BoxReport report = LaunchExpectingBox();
    EXPECT_EQ(L"Could not launch the engine: the parameter line is too long.", report.text);
    EXPECT_FALSE(ReadStubRecord(500).present);
    EXPECT_EQ(parameters, ReadValue(HKEY_CURRENT_USER, SettingsKey, L"parameters").Text());
}

TEST_F(LaunchCommand, LaunchesWithTheFieldsCutToTheirLimitsAndExits)
{
    // A path of exactly 259 characters, so the extra text after it is cut off.
    std::wstring folder = L"C:\\kelvra limits\\" + Repeat(L'd', 259 - 17 - 13);
    std::wstring engine = InstallStubEngine(folder + L"\\klengine.exe");
    ASSERT_EQ(259u, engine.size());
    // "a:12345" is one character shorter than the placeholder, so the
    // 255 characters read still fit once expanded.
    std::wstring parameters = L"$address " + Repeat(L'p', 255 - 9);
    Fill(L"a", L"123456789", engine + L"zzz", parameters + L"EXTRA");
    EXPECT_EXIT(OnLaunchCommand(window), ::testing::ExitedWithCode(0), "");

    StubRecord record = ReadStubRecord();
    ASSERT_TRUE(record.present);
    std::wstring expanded = L"a:12345 " + Repeat(L'p', 255 - 9);
    EXPECT_EQ(engine + L" " + expanded, record.commandLine);
    EXPECT_EQ(folder, record.directory);
    EXPECT_EQ(parameters, ReadValue(HKEY_CURRENT_USER, SettingsKey, L"parameters").Text())
        << "the template is stored as typed";
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, SettingsKey, L"enginepath").present);
}

} // namespace
