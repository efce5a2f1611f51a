// The fatal-error report and the About box; the other message boxes are
// the strings' (ShowMessage, ShowFailure).
#include "ui/ui.h"

#include "i18n/i18n.h"

#include <stdio.h>
#include <wchar.h>

const WCHAR ProgramTitle[] = L"URL Kelvra launcher";
static const WCHAR VersionText[] = L"" KELVRA_VERSION; // the release's, from the build
static const WCHAR CreditsText[] = L"the tQr launcher team";

void ReportSystemError(const WCHAR *text)
{
    DWORD code = GetLastError();
    WCHAR *system = NULL;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                   NULL, code, UiLanguageId, (WCHAR *)&system, 0, NULL);
    const WCHAR *format = UiString(IDS_FATAL_ERROR);
    WCHAR codePart[40];
    size_t capacity = wcslen(format) + wcslen(text) + (system ? wcslen(system) : 0) + ARRAYSIZE(codePart);
    WCHAR *report = (WCHAR *)LocalAlloc(LPTR, capacity * sizeof(WCHAR));
    bool shown = false;
    if (report && FormatText(report, capacity, format, text) &&
        FormatText(codePart, ARRAYSIZE(codePart), ERROR_CODE_FORMAT L"\n", (int)code)) {
        wcscat(report, codePart);
        if (system)
            wcscat(report, system);
        shown = MessageBoxW(NULL, report, UiString(IDS_ERROR), MB_OK) != 0;
    }
    if (!shown) {
        // Without a box the report goes to the standard output, if anyone
        // redirected it.
        WCHAR line[1024];
        FormatText(line, ARRAYSIZE(line), format, text);
        fputws(line, stdout);
        FormatText(line, ARRAYSIZE(line), ERROR_CODE_FORMAT L"\n", (int)code);
        fputws(line, stdout);
        fflush(stdout);
    }
    LocalFree(system);
    LocalFree(report);
}

void ShowAboutBox()
{
    WCHAR text[1024];
    FormatText(text, ARRAYSIZE(text), UiString(IDS_ABOUT_TEXT), ProgramTitle, VersionText, CreditsText);
    ShowMessage(text, IDS_ABOUT_CAPTION);
}
