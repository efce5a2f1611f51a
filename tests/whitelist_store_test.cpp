// The autostart whitelist in the real registry, with its order semantics.
#include "launch/launch.h"
#include "support/stored.h"
#include "support/testing.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {


class WhitelistStore : public ::testing::Test {
protected:
    HWND listBox = NULL;
    void SetUp() override
    {
        ClearRegistry();
        FreeWhitelist();
        listBox = CreateWindowExW(0, L"ListBox", L"", WS_OVERLAPPED, 0, 0, 200, 200, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(listBox);
    }
    void TearDown() override
    {
        DestroyWindow(listBox);
        FreeWhitelist();
    }
    void Store(const Texts &values)
    {
        for (size_t i = 0; i < values.size(); ++i)
            SetText(HKEY_CURRENT_USER, WhitelistKey, (L"address" + std::to_wstring(i)).c_str(), values[i]);
    }
    void FillListBox(const Texts &items)
    {
        SendMessageW(listBox, LB_RESETCONTENT, 0, 0);
        for (const std::wstring &item : items)
            SendMessageW(listBox, LB_ADDSTRING, 0, (LPARAM)item.c_str());
    }
};

Texts ListedEntries()
{
    Texts entries;
    for (const WhitelistEntry *entry = Whitelist; entry; entry = entry->next)
        entries.push_back(entry->address);
    return entries;
}

TEST_F(WhitelistStore, LoadStopsAtTheFirstGapOrEmptyValue)
{
    LoadWhitelist();
    EXPECT_EQ(Texts{}, ListedEntries()) << "no key";

    SetText(HKEY_CURRENT_USER, WhitelistKey, L"address1", L"b");
    LoadWhitelist();
    EXPECT_EQ(Texts{}, ListedEntries()) << "address0 missing";

    Store({L"a", L"", L"b"});
    LoadWhitelist();
    EXPECT_EQ(Texts{L"a"}, ListedEntries());
}

TEST_F(WhitelistStore, LoadSizeLimits)
{
    std::wstring long261 = Repeat(L'x', 261);
    SetValue(HKEY_CURRENT_USER, WhitelistKey, L"address0", REG_SZ, long261.c_str(), 522);
    LoadWhitelist();
    EXPECT_EQ(Texts{Repeat(L'x', 260)}, ListedEntries());

    FreeWhitelist();
    Store({long261});
    LoadWhitelist();
    EXPECT_EQ(Texts{}, ListedEntries()) << "524 bytes end loading";
}

TEST_F(WhitelistStore, OrderAcrossLoadRebuildAndSave)
{
    Store({L"A", L"B", L""});
    LoadWhitelist();
    ASSERT_EQ((Texts{L"B", L"A"}), ListedEntries());

    FillListBox(ListedEntries()); // the window shows the list in list order
    RebuildWhitelistFromListBox(listBox);
    EXPECT_EQ((Texts{L"A", L"B"}), ListedEntries());
    EXPECT_TRUE(SaveWhitelist());
    EXPECT_EQ((Texts{L"A", L"B", L""}), StoredWhitelist());
}

TEST_F(WhitelistStore, DuplicatesKeptAndEmptyItemsSkipped)
{
    FillListBox({L"same", L"", L"same"});
    RebuildWhitelistFromListBox(listBox);
    EXPECT_EQ((Texts{L"same", L"same"}), ListedEntries());
    EXPECT_TRUE(SaveWhitelist());
    EXPECT_EQ((Texts{L"same", L"same", L""}), StoredWhitelist());
    FreeWhitelist();
    LoadWhitelist();
    EXPECT_EQ((Texts{L"same", L"same"}), ListedEntries());
}

TEST_F(WhitelistStore, EmptyListBoxStoresOnlyTheEndMarker)
{
    Store({L"old1", L"old2", L""});
    RebuildWhitelistFromListBox(listBox);
    EXPECT_EQ(Texts{}, ListedEntries());
    EXPECT_TRUE(SaveWhitelist());
    EXPECT_EQ(Texts{L""}, StoredWhitelist());
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, WhitelistKey, L"address1").present);
}

TEST_F(WhitelistStore, ShorterListLeavesNoStaleValues)
{
    Store({L"1", L"2", L"3", L"4", L""});
    FillListBox({L"x", L"y"});
    RebuildWhitelistFromListBox(listBox);
    EXPECT_TRUE(SaveWhitelist());
    EXPECT_EQ((Texts{L"y", L"x", L""}), StoredWhitelist());
    for (const wchar_t *stale : {L"address3", L"address4"})
        EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, WhitelistKey, stale).present) << stale;
}

TEST_F(WhitelistStore, KeyWithSubkeyIsOverwrittenInPlace)
{
    Store({L"1", L"2", L""});
    SetText(HKEY_CURRENT_USER, (std::wstring(WhitelistKey) + L"\\child").c_str(), L"v", L"kept");
    FillListBox({L"z"});
    RebuildWhitelistFromListBox(listBox);
    EXPECT_TRUE(SaveWhitelist());
    EXPECT_EQ((Texts{L"z", L""}), StoredWhitelist());
    EXPECT_EQ(L"kept", ReadValue(HKEY_CURRENT_USER, (std::wstring(WhitelistKey) + L"\\child").c_str(), L"v").Text());
}

TEST_F(WhitelistStore, SaveWithoutWriteAccessKeepsTheStoredList)
{
    Store({L"keep1", L"keep2", L""});
    // Deny setting values on the whitelist key to everyone.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKey, 0, READ_CONTROL | WRITE_DAC, &key));
    PACL current = NULL, acl = NULL;
    PSECURITY_DESCRIPTOR descriptor = NULL;
    ASSERT_EQ((DWORD)ERROR_SUCCESS, GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL,
                                                    &current, NULL, &descriptor));
    EXPLICIT_ACCESSW deny = {};
    BuildExplicitAccessWithNameW(&deny, (LPWSTR)L"EVERYONE", KEY_SET_VALUE, DENY_ACCESS, NO_INHERITANCE);
    ASSERT_EQ((DWORD)ERROR_SUCCESS, SetEntriesInAclW(1, &deny, current, &acl));
    ASSERT_EQ((DWORD)ERROR_SUCCESS,
              SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, acl, NULL));
    LocalFree(acl);
    LocalFree(descriptor);
    RegCloseKey(key);
    HKEY probe;
    ASSERT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKey, 0, KEY_SET_VALUE, &probe))
        << "the key should refuse write access now";

    FillListBox({L"new"});
    RebuildWhitelistFromListBox(listBox);
    EXPECT_FALSE(SaveWhitelist());
    EXPECT_EQ((Texts{L"keep1", L"keep2", L""}), StoredWhitelist());

    // Let the next test clean up.
    RegOpenKeyExW(HKEY_CURRENT_USER, WhitelistKey, 0, WRITE_DAC, &key);
    SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
}

} // namespace
