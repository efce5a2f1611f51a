// The engine path and the parameter template in the real registry.
#include "launch/launch.h"
#include "support/testing.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        memset(&LaunchSettings, 0xAB, sizeof LaunchSettings); // no help from a zeroed record
    }
};

std::vector<BYTE> Bytes(const std::wstring &text, bool terminated = true)
{
    const BYTE *begin = (const BYTE *)text.c_str();
    return std::vector<BYTE>(begin, begin + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

struct LoadRow {
    const char *what;
    const wchar_t *value;
    DWORD type;
    std::vector<BYTE> data;
    std::wstring enginePath, parameterTemplate;
};

TEST_F(Settings, LoadTable)
{
    const std::wstring def = DefaultParameterTemplate;
    const std::wstring p255 = Repeat(L'p', 255), e259 = Repeat(L'e', 259);
    const LoadRow rows[] = {
        {"empty parameters", L"parameters", REG_SZ, Bytes(L""), L"", def},
        {"zero-byte parameters", L"parameters", REG_SZ, {}, L"", def},
        {"255 characters, 512 bytes", L"parameters", REG_SZ, Bytes(p255), L"", p255},
        {"256 characters, 514 bytes", L"parameters", REG_SZ, Bytes(p255 + L"q"), L"", def},
        {"512 bytes without terminator", L"parameters", REG_SZ, Bytes(Repeat(L'p', 256), false), L"", def},
        {"stored template kept", L"parameters", REG_SZ, Bytes(L"+connect $address"), L"", L"+connect $address"},
        {"259 characters, 520 bytes", L"enginepath", REG_SZ, Bytes(e259), e259, def},
        {"260 characters, 522 bytes", L"enginepath", REG_SZ, Bytes(e259 + L"f"), L"", def},
        {"520 bytes without terminator", L"enginepath", REG_SZ, Bytes(Repeat(L'e', 260), false), L"", def},
        {"expand string kept unexpanded", L"enginepath", REG_EXPAND_SZ, Bytes(L"%GAMES%\\q3.exe"), L"%GAMES%\\q3.exe", def},
        {"3-byte text", L"enginepath", REG_SZ, {'a', 0, 'b'}, L"a", def},
        {"1-byte text", L"parameters", REG_SZ, {'a'}, L"", def},
        {"dword taken as two code units", L"enginepath", REG_DWORD, {'a', 0, 'b', 0}, L"ab", def},
    };
    for (const LoadRow &row : rows) {
        SCOPED_TRACE(row.what);
        ClearRegistry();
        SetValue(HKEY_CURRENT_USER, SettingsKey, row.value, row.type, row.data.data(), (DWORD)row.data.size());
        memset(&LaunchSettings, 0xAB, sizeof LaunchSettings);
        LoadLaunchSettings();
        EXPECT_EQ(row.enginePath, LaunchSettings.enginePath);
        EXPECT_EQ(row.parameterTemplate, LaunchSettings.parameterTemplate);
    }
}

TEST_F(Settings, NoKeyGivesDefaultsAndIsNotCreated)
{
    LoadLaunchSettings();
    EXPECT_STREQ(L"", LaunchSettings.enginePath);
    EXPECT_STREQ(L"+set fs_game kelvra +connect \"$address\"", LaunchSettings.parameterTemplate);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\tQr"));
}

TEST_F(Settings, SaveCreatesBothLevelsAndWritesTextWithTerminator)
{
    SaveLaunchSetting(L"enginepath", L"abc");
    RegValue path = ReadValue(HKEY_CURRENT_USER, SettingsKey, L"enginepath");
    ASSERT_TRUE(path.present);
    EXPECT_EQ((DWORD)REG_SZ, path.type);
    EXPECT_EQ(8u, path.data.size());
    EXPECT_EQ(L"abc", path.Text());

    SaveLaunchSetting(L"parameters", L"");
    RegValue parameters = ReadValue(HKEY_CURRENT_USER, SettingsKey, L"parameters");
    EXPECT_EQ((DWORD)REG_SZ, parameters.type);
    EXPECT_EQ(2u, parameters.data.size());

    // Each save leaves the other value alone; an empty template loads as the default.
    EXPECT_EQ(L"abc", ReadValue(HKEY_CURRENT_USER, SettingsKey, L"enginepath").Text());
    LoadLaunchSettings();
    EXPECT_STREQ(L"abc", LaunchSettings.enginePath);
    EXPECT_STREQ(DefaultParameterTemplate, LaunchSettings.parameterTemplate);
}

} // namespace
