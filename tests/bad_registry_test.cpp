// Every value the launcher reads, stored with data of the wrong size or
// type, then the real program started: it must come up, fall back as it
// should, and end with 0 when its window is closed.
#include "support/stored.h"
#include "support/testing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testing_support;

namespace {

enum Kind { Empty, OneByte, ThreeBytes, ExactFill, OverFill, Dword, Binary, MultiText };
const char *const KindNames[] = {"0 bytes", "1 byte", "3 bytes", "exact fill", "fill + 2", "REG_DWORD", "REG_BINARY", "REG_MULTI_SZ"};

// The data of each kind for a value whose field holds `capacity` bytes.
// Text data is made of 'A's, so what loads can be told by its length.
void Store(HKEY root, const wchar_t *path, const wchar_t *name, Kind kind, DWORD capacity)
{
    static const BYTE noise[] = {0x4E, 0x00, 0xFF, 0xD8, 0x7A, 0x00, 0x00, 0x00, 0x99,
                                 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11, 0x01};
    static const wchar_t multi[] = L"a\0b\0"; // with the array's own terminator: a\0b\0\0
    std::vector<BYTE> text(capacity + 2);
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        text[i] = 'A';
    DWORD dword = 0x0407; // German as a language, "\x0407" as text
    switch (kind) {
    case Empty: SetValue(root, path, name, REG_SZ, text.data(), 0); break;
    case OneByte: SetValue(root, path, name, REG_SZ, text.data(), 1); break;
    case ThreeBytes: SetValue(root, path, name, REG_SZ, text.data(), 3); break;
    case ExactFill: SetValue(root, path, name, REG_SZ, text.data(), capacity); break;
    case OverFill: SetValue(root, path, name, REG_SZ, text.data(), capacity + 2); break;
    case Dword: SetValue(root, path, name, REG_DWORD, &dword, sizeof dword); break;
    case Binary: SetValue(root, path, name, REG_BINARY, noise, sizeof noise); break;
    case MultiText: SetValue(root, path, name, REG_MULTI_SZ, multi, sizeof multi); break;
    }
}

const std::wstring DefaultTemplate = L"+set fs_game kelvra +connect \"$address\"";
const std::wstring NoiseText = L"N\xD8FFz";

struct Case {
    const wchar_t *value;
    DWORD capacity;
    std::wstring expected[8]; // by Kind
};

// What the window shows for each kind of data: the Engine location field,
// the Parameters field, the whitelist entries ("" for none), the address
// label (the language: English by default, German for 0x0407, French for
// the machine value 0x040C, which decides when `language` does not load).
const Case Cases[] = {
    {L"enginepath", 520, {L"", L"", L"A", L"", L"", L"\x0407", NoiseText, L"a"}},
    {L"parameters", 512, {DefaultTemplate, DefaultTemplate, L"A", DefaultTemplate, DefaultTemplate, L"\x0407", NoiseText, L"a"}},
    {L"address0", 522, {L"", L"", L"A", std::wstring(260, L'A'), L"", L"\x0407", NoiseText, L"a"}},
    {L"language", 4, {L"Server address:", L"Server address:", L"Server address:", L"Server address:",
                      L"Adresse du serveur :", L"Serveradresse:", L"Adresse du serveur :", L"Adresse du serveur :"}},
    {L"defaultlanguage", 4, {L"Server address:", L"Server address:", L"Server address:", L"Server address:",
                             L"Server address:", L"Serveradresse:", L"Server address:", L"Server address:"}},
};

std::wstring Observe(const std::wstring &value, Launcher &launcher, HWND window)
{
    if (value == L"enginepath")
        return WindowText(GetDlgItem(window, IDC_ENGINE));
    if (value == L"parameters")
        return WindowText(GetDlgItem(window, IDC_PARAMETERS));
    if (value == L"address0") {
        HWND whitelist = FindWhitelistWindow(launcher, window);
        Texts items = whitelist ? ListItems(GetDlgItem(whitelist, IDC_WL_LIST)) : Texts{L"(no window)"};
        return items.empty() ? L"" : items.size() == 1 ? items[0] : L"(more than one entry)";
    }
    return WindowText(GetDlgItem(window, IDC_ADDRESS_LABEL));
}

TEST(BadRegistryData, ProgramFallsBackAndEndsWithZero)
{
    for (const Case &c : Cases) {
        for (int kind = Empty; kind <= MultiText; ++kind) {
            SCOPED_TRACE(testing::Message() << std::string(c.value, c.value + wcslen(c.value)) << ", "
                                            << KindNames[kind]);
            ClearRegistry();
            std::wstring value = c.value;
            if (value == L"defaultlanguage")
                Store(HKEY_LOCAL_MACHINE, SettingsKey, c.value, (Kind)kind, c.capacity);
            else
                Store(HKEY_CURRENT_USER, value == L"address0" ? WhitelistKey : SettingsKey, c.value, (Kind)kind,
                      c.capacity);
            if (value == L"language")
                SetDword(HKEY_LOCAL_MACHINE, SettingsKey, L"defaultlanguage", 0x040C);

            Launcher launcher;
            StartLauncher(launcher, L"\"scheme://192.0.2.10:27961/\"");
            HWND window = launcher.WaitForWindow(L"URL Kelvra launcher");
            ASSERT_TRUE(window) << "no main window";
            EXPECT_EQ(c.expected[kind], Observe(value, launcher, window));
            PostMessageW(window, WM_CLOSE, 0, 0);
            ASSERT_EQ(0u, launcher.WaitForExit());
        }
    }
    ClearRegistry();
}

} // namespace
