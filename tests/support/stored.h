// What the tests read back from the launcher's stores and windows.
#ifndef KELVRA_STORED_H
#define KELVRA_STORED_H

#include "resources/resource.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

typedef std::vector<std::wstring> Texts;

// Every value of the whitelist key in index order, "" for the end marker,
// checking that each is a REG_SZ of (characters + 1) * 2 bytes.
inline Texts StoredWhitelist()
{
    Texts values;
    for (int i = 0;; ++i) {
        testing_support::RegValue value = testing_support::ReadValue(
            HKEY_CURRENT_USER, testing_support::WhitelistKey, (L"address" + std::to_wstring(i)).c_str());
        if (!value.present)
            return values;
        EXPECT_EQ((DWORD)REG_SZ, value.type);
        EXPECT_EQ((value.Text().size() + 1) * 2, value.data.size());
        values.push_back(value.Text());
    }
}

// The items of a list box, also of another process's.
inline Texts ListItems(HWND list)
{
    Texts items;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[512] = L"";
        SendMessageW(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

// Opens the whitelist window of a running launcher through its button.
inline HWND FindWhitelistWindow(testing_support::Launcher &launcher, HWND mainWindow)
{
    PostMessageW(GetDlgItem(mainWindow, IDC_WHITELIST), BM_CLICK, 0, 0);
    return launcher.WaitForWindow(L"Autostart Whitelist");
}

// The tracking limits a window sets, starting from a large maximum.
inline MINMAXINFO TrackLimits(HWND window)
{
    MINMAXINFO limits = {};
    limits.ptMaxTrackSize = {3000, 2000};
    SendMessageW(window, WM_GETMINMAXINFO, 0, (LPARAM)&limits);
    return limits;
}

#endif
