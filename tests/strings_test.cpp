// The language choice from the real registry and the string tables of the
// built program.
#include "i18n/i18n.h"
#include "support/english.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace testing_support;

namespace {

const wchar_t MachineKey[] = L"Software\\tQr\\kelvra launcher";

const wchar_t *const EnglishTexts[UI_STRING_COUNT] = {
    L"Server address:", L"Port:", L"Engine location:", L"Browse", L"Parameters:", L"Launch", L"Exit",
    L"Select the engine", L"No server address entered.", L"No port entered.", L"No engine location selected.",
    L"Error", L"About", L"About", L"A fatal error occured: %s", L"Could not launch the engine: %s",
    L"%s version %s by %s", L"Add", L"Remove", L"Autostart Whitelist",
    L"Add any server address you want to start automatically. It will skip the %s window.",
    L"Language", L"(Default)", L"Restart the program.", L"Information", L"Whitelist", L"OK", L"Cancel",
    L"Information"};

const LANGID Languages[] = {1030, 1031, 1033, 1035, 1036, 1038, 1043, 1049, 1053};

// The format strings every language must carry exactly.
const std::map<std::pair<LANGID, UINT>, std::wstring> FixedTexts = {
    {{1030, 40014}, L"Der skete en fatal fejl: %s"},
    {{1031, 40014}, L"Ein fataler Fehler ist aufgetreten: %s"},
    {{1035, 40014}, L"Kriittinen virhe: %s"},
    {{1036, 40014}, L"Une erreur fatale s'est produite: %s"},
    {{1038, 40014}, L"Kritikus hiba: %s"},
    {{1043, 40014}, L"Een fatale fout is opgetreden: %s"},
    {{1049, 40014}, L"\u041a\u0440\u0438\u0442\u0438\u0447\u0435\u0441\u043a\u0430\u044f \u043e\u0448\u0438\u0431\u043a\u0430: %s"},
    {{1053, 40014}, L"Ett \u00f6destigande fel har skett: %s"},
    {{1030, 40015}, L"kunne ikke starte engine: %s"},
    {{1031, 40015}, L"Die Engine konnte nicht gestartet werden: %s"},
    {{1035, 40015}, L"Pelimoottorin k\u00e4ynnistysvirhe: %s"},
    {{1036, 40015}, L"Le moteur ne peut \u00eatre lanc\u00e9: %s"},
    {{1038, 40015}, L"A(z) %s ind\u00edt\u00e1sa sikertelen"},
    {{1043, 40015}, L"Kon de engine niet opstarten: %s"},
    {{1049, 40015}, L"\u041d\u0435\u0432\u043e\u0437\u043c\u043e\u0436\u043d\u043e \u0437\u0430\u043f\u0443\u0441\u0442\u0438\u0442\u044c .exe \u0444\u0430\u0439\u043b: %s"},
    {{1053, 40015}, L"Kunde inte starta engine: %s"},
    {{1030, 40016}, L"%s Version %s af %s"},
    {{1031, 40016}, L"%s Version %s von %s"},
    {{1035, 40016}, L"%s versio %s. Tekij\u00e4: %s"},
    {{1036, 40016}, L"%s version %s par %s"},
    {{1038, 40016}, L"%s , %s -s verzi\u00f3. K\u00e9sz\u00edtette: %s"},
    {{1043, 40016}, L"%s versie %s by %s"},
    {{1049, 40016}, L"%s \u0432\u0435\u0440\u0441\u0438\u044f %s \u043e\u0442 %s"},
    {{1053, 40016}, L"%s version %s av %s"},
    {{1030, 40020}, L"tilf\u00f8j enhver v\u00e6rts adresse, du vil starte automatisk. Det vil ignorer pop-op %s vinduer."},
    {{1031, 40020}, L"F\u00fcgen SIe eine Serveradresse hinzu um die Engine automatisch zu starteb. Das %s Fenster wird unterdr\u00fcckt."},
    {{1035, 40020}, L"Lis\u00e4\u00e4 mink\u00e4 tahansa palvelimen osoite, jonka haluat k\u00e4ynnistyv\u00e4n automaattisesti. Se ohittaa %s ikkunan."},
    {{1036, 40020}, L"Ajouter l'adresse que vous souhaitez pour d\u00e9marrer le jeu automatiquement. La fen\u00eatre %s ne sera pas lanc\u00e9e."},
    {{1038, 40020}, L"\u00cdrd be azoknak a szervereknek a c\u00edm\u00e9t, melyekre automatikusan becsatlakozhat a kliensed an\u00e9lk\u00fcl, hogy elindulna a %s"},
    {{1043, 40020}, L"Voeg toe elk server adres dat je automatisch wil starten. Dit zal %s venster overslaan."},
    {{1049, 40020}, L"\u0414\u043e\u0431\u0430\u0432\u044c\u0442\u0435 \u0430\u0434\u0440\u0435\u0441 \u0441\u0435\u0440\u0432\u0435\u0440\u0430 \u0434\u043b\u044f \u0438\u0441\u043f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u043d\u0438\u044f \u043f\u0440\u0438 \u0430\u0432\u0442\u043e\u0437\u0430\u043f\u0443\u0441\u043a\u0435. \u041e\u043a\u043d\u043e %s \u043f\u0440\u0438 \u044d\u0442\u043e\u043c \u0431\u0443\u0434\u0435\u0442 \u043f\u0440\u043e\u043f\u0443\u0449\u0435\u043d\u043e."},
    {{1053, 40020}, L"l\u00e4gg till vilken server adress du vill starta automatiskt. Detta kommer att hoppa \u00f6ver %s f\u00f6nstret."},
    {{1031, 40023}, L"Starten sie das programm neu."},
};

size_t CountPercentS(const std::wstring &text)
{
    size_t count = 0;
    for (size_t at = text.find(L"%s"); at != std::wstring::npos; at = text.find(L"%s", at + 2))
        ++count;
    return count;
}

std::wstring Loaded(HMODULE module, DWORD language, UINT id)
{
    wchar_t buffer[UI_STRING_CAPACITY];
    LoadStringInLanguage(module, language, id, buffer);
    return buffer;
}

std::wstring DefaultLookup(UINT id)
{
    wchar_t buffer[UI_STRING_CAPACITY] = L"";
    LoadStringW(GetModuleHandleW(NULL), id, buffer, UI_STRING_CAPACITY);
    return buffer;
}

class Strings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRegistry();
        AppInstance = GetModuleHandleW(NULL);
    }
    void TearDown() override { ClearRegistry(); }
};

struct ChoiceRow {
    const char *what;
    DWORD userType, userSize;
    ULONGLONG user;
    DWORD machine; // 0: none stored
    DWORD expectedId;
};

TEST_F(Strings, LanguageChoice)
{
    const ChoiceRow rows[] = {
        {"neither value", 0, 0, 0, 0, 0x0400},
        {"user wins over machine", REG_DWORD, 4, 0x0407, 0x040C, 0x0407},
        {"machine default only", 0, 0, 0, 0x040C, 0x040C},
        {"8-byte user value counts as missing", REG_QWORD, 8, 0x0407, 0x040C, 0x040C},
        {"(Default) stored stops the machine default", REG_DWORD, 4, 0x0400, 0x040C, 0x0400},
        {"type not examined", REG_BINARY, 4, 0x040B, 0, 0x040B},
        {"a language without a table", REG_DWORD, 4, 0x0410, 0, 0x0410},
    };
    for (const ChoiceRow &row : rows) {
        SCOPED_TRACE(row.what);
        ClearRegistry();
        if (row.userSize)
            SetValue(HKEY_CURRENT_USER, SettingsKey, L"language", row.userType, &row.user, row.userSize);
        if (row.machine)
            SetDword(HKEY_LOCAL_MACHINE, MachineKey, L"defaultlanguage", row.machine);
        LoadUiStrings(AppInstance);
        EXPECT_EQ(row.expectedId, UiLanguageId);
        for (UINT id = IDS_FIRST; id <= IDS_LAST; ++id)
            EXPECT_EQ(Loaded(AppInstance, row.expectedId, id), UiString(id)) << id;
    }
    // Spot checks of the chosen tables, and the default lookup for Italian.
    SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0407);
    LoadUiStrings(AppInstance);
    EXPECT_STREQ(L"Starten sie das programm neu.", UiString(IDS_RESTART));
    SetDword(HKEY_CURRENT_USER, SettingsKey, L"language", 0x0410);
    LoadUiStrings(AppInstance);
    for (UINT id = IDS_FIRST; id <= IDS_LAST; ++id)
        EXPECT_EQ(DefaultLookup(id), UiString(id)) << id;
}

TEST_F(Strings, TablesOfTheBuiltProgram)
{
    HMODULE program = LoadLibraryExW((BinDirectory() + L"\\launcher.exe").c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(program);
    for (LANGID language : Languages) {
        SCOPED_TRACE(language);
        for (WORD block : {2501, 2502}) {
            HRSRC found = FindResourceExW(program, RT_STRING, MAKEINTRESOURCEW(block), language);
            ASSERT_TRUE(found) << "block " << block;
            // Every entry of the block: a count of at most 255, nothing in 40029 to 40031.
            const WCHAR *entries = (const WCHAR *)LockResource(LoadResource(program, found));
            size_t units = SizeofResource(program, found) / 2, position = 0;
            for (UINT index = 0; index < 16; ++index) {
                ASSERT_LT(position, units);
                UINT id = (block - 1) * 16 + index;
                EXPECT_LE(entries[position], 255u) << id;
                if (id > IDS_LAST || (language == 1049 && id >= IDS_LANGUAGE)) {
                    EXPECT_EQ(0u, entries[position]) << id;
                }
                position += 1 + entries[position];
            }
        }
        for (UINT id = IDS_FIRST; id <= IDS_LAST; ++id) {
            std::wstring text = Loaded(program, language, id);
            const wchar_t *english = EnglishTexts[id - IDS_FIRST];
            if (language == 1033) {
                EXPECT_EQ(english, text) << id;
            }
            auto fixed = FixedTexts.find({language, id});
            if (fixed != FixedTexts.end()) {
                EXPECT_EQ(fixed->second, text) << id;
            }
            bool gap = language == 1049 && id >= IDS_LANGUAGE;
            EXPECT_EQ(gap, text.empty()) << id;
            EXPECT_EQ(CountPercentS(english), CountPercentS(text)) << id;
            EXPECT_EQ(text.find(L'%'), CountPercentS(text) ? text.find(L"%s") : std::wstring::npos) << id;
        }
    }
    FreeLibrary(program);
}

TEST_F(Strings, SaveUiLanguageCreatesTheKeyAndWritesADword)
{
    SaveUiLanguage(0x0407);
    RegValue value = ReadValue(HKEY_CURRENT_USER, SettingsKey, L"language");
    ASSERT_TRUE(value.present);
    EXPECT_EQ((DWORD)REG_DWORD, value.type);
    ASSERT_EQ(4u, value.data.size());
    EXPECT_EQ(0x0407u, *(const DWORD *)value.data.data());
}

TEST_F(Strings, RestartNoticeShowsCurrentOverNewLanguage)
{
    LoadEnglishStrings();
    struct {
        DWORD language;
        const wchar_t *text;
    } rows[] = {
        {0x0407, L"Restart the program.\nStarten sie das programm neu."},
        {0x0419, L"Restart the program.\n"},
    };
    for (const auto &row : rows) {
        auto box = WatchForBox();
        ShowRestartNotice(row.language);
        BoxReport report = box.get();
        EXPECT_EQ(row.text, report.text);
        EXPECT_EQ(L"Information", report.caption);
        EXPECT_TRUE(report.hasIcon);
    }
}

} // namespace
