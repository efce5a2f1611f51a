// Test programs that show texts run with the English tables.
#ifndef KELVRA_ENGLISH_H
#define KELVRA_ENGLISH_H

#include "i18n/i18n.h"
#include "support/testing.h"

inline void LoadEnglishStrings()
{
    testing_support::ClearRegistry();
    testing_support::SetDword(HKEY_CURRENT_USER, testing_support::SettingsKey, L"language", 0x0409);
    AppInstance = GetModuleHandleW(NULL);
    LoadUiStrings(AppInstance);
    testing_support::ClearRegistry();
}

#endif
