// Composing the engine's command line and starting it, from the autostart
// or from the Launch button.
#include "launch/launch.h"

#include "base/base.h"
#include "i18n/i18n.h"
#include "resources/resource.h"

#include <stdlib.h>
#include <wchar.h>

static const WCHAR AddressPlaceholder[] = L"$address";

enum {
    COMMAND_LINE_CAPACITY = 520
};

bool ComposeAddress(WCHAR *address, size_t capacity, const WCHAR *host, const WCHAR *port)
{
    return FormatText(address, capacity, port[0] ? L"%s:%s" : L"%s", host, port);
}

// Replaces the first "$address" by host:port. A result that would not fit
// is refused and the text left as it was: a cut line would connect to
// another server or port.
bool ExpandAddressPlaceholder(WCHAR *parameters, const WCHAR *host, const WCHAR *port)
{
    WCHAR *placeholder = wcsstr(parameters, AddressPlaceholder);
    if (!placeholder)
        return true;
    WCHAR address[ADDRESS_CAPACITY], expanded[PARAMETERS_CAPACITY];
    ComposeAddress(address, ADDRESS_CAPACITY, host, port);
    if (!FormatText(expanded, PARAMETERS_CAPACITY, L"%.*s%s%s", (int)(placeholder - parameters),
                    parameters, address, placeholder + ARRAYSIZE(AddressPlaceholder) - 1))
        return false;
    wcscpy(parameters, expanded);
    return true;
}

static void ShowLaunchFailure(const WCHAR *detail)
{
    WCHAR text[512];
    FormatText(text, ARRAYSIZE(text), UiString(IDS_LAUNCH_FAILED), detail);
    ShowMessage(text, IDS_ERROR);
}

void LaunchEngine(const WCHAR *enginePath, const WCHAR *parameters)
{
    // A path with a blank is quoted: unquoted, the engine would take the
    // first word for its own name and look for its data beside it.
    WCHAR commandLine[COMMAND_LINE_CAPACITY];
    FormatText(commandLine, COMMAND_LINE_CAPACITY, wcschr(enginePath, L' ') ? L"\"%s\" %s" : L"%s %s",
               enginePath, parameters);

    // The directory buffer takes a whole path: msvcrt's splitter does not
    // bound its copies.
    WCHAR drive[_MAX_DRIVE], directory[ENGINE_PATH_CAPACITY], workingDirectory[ENGINE_PATH_CAPACITY];
    _wsplitpath(enginePath, drive, directory, NULL, NULL);
    _wmakepath(workingDirectory, drive, directory, NULL, NULL);

    // A bare file name has no directory; an empty directory name would make
    // CreateProcessW fail, so the engine is looked for and starts in the
    // launcher's current folder.
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (CreateProcessW(enginePath, commandLine, NULL, NULL, FALSE, 0, NULL,
                       workingDirectory[0] ? workingDirectory : NULL, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return;
    }
    WCHAR detail[64];
    // English in every language, kept so: a report is searched for as it reads.
    FormatText(detail, ARRAYSIZE(detail), L"CreateProcess failed (%d).", (int)GetLastError());
    ShowLaunchFailure(detail);
}

static bool IsWhitelisted(const WCHAR *host, const WCHAR *fullAddress)
{
    for (const WhitelistEntry *entry = Whitelist; entry; entry = entry->next)
        if (!wcscmp(entry->address, host) || !wcscmp(entry->address, fullAddress))
            return true;
    return false;
}

void TryAutostart()
{
    if (!LaunchSettings.enginePath[0] || !LaunchTarget.host[0])
        return;
    WCHAR port[PORT_FIELD_CAPACITY], fullAddress[ADDRESS_CAPACITY];
    FormatText(port, ARRAYSIZE(port), L"%u", (unsigned)LaunchTarget.port);
    ComposeAddress(fullAddress, ADDRESS_CAPACITY, LaunchTarget.host, port);
    if (!IsWhitelisted(LaunchTarget.host, fullAddress))
        return;

    // A line that does not fit goes on to the window, where the user can
    // shorten the template.
    WCHAR parameters[PARAMETERS_CAPACITY];
    wcscpy(parameters, LaunchSettings.parameterTemplate);
    if (!ExpandAddressPlaceholder(parameters, LaunchTarget.host, port)) {
        ShowLaunchFailure(UiString(IDS_LINE_TOO_LONG));
        return;
    }
    LaunchEngine(LaunchSettings.enginePath, parameters);
    exit(0);
}

// "Copy as path" puts a path in double quotes: one pair of them, and the
// blanks around, are not part of it.
static void TrimEnginePath(WCHAR *path)
{
    const WCHAR *start = path;
    while (*start == L' ')
        ++start;
    size_t length = wcslen(start);
    while (length && start[length - 1] == L' ')
        --length;
    if (length >= 2 && start[0] == L'"' && start[length - 1] == L'"') {
        ++start;
        length -= 2;
    }
    wmemmove(path, start, length);
    path[length] = 0;
}

// An empty field is refused with its message.
static bool Filled(const WCHAR *text, UINT emptyMessage)
{
    if (!text[0])
        ShowMessage(UiString(emptyMessage), IDS_ERROR);
    return text[0] != 0;
}

void OnLaunchCommand(LaunchFields *typed)
{
    // Empty parameters end the command without a word (no text says why);
    // of the rest, the first empty field is told.
    TrimEnginePath(typed->enginePath);
    if (!typed->parameters[0] || !Filled(typed->address, IDS_NO_ADDRESS) || !Filled(typed->port, IDS_NO_PORT) ||
        !Filled(typed->enginePath, IDS_NO_ENGINE))
        return;

    // A hand-edited engine location serves this launch only; Browse stores it.
    if (!SaveLaunchSetting(ParametersValue, typed->parameters))
        ShowFailure(IDS_PARAMETERS_UNSAVED);
    if (!ExpandAddressPlaceholder(typed->parameters, typed->address, typed->port)) {
        ShowLaunchFailure(UiString(IDS_LINE_TOO_LONG));
        return; // the window stays for the user to shorten the text
    }
    LaunchEngine(typed->enginePath, typed->parameters);
    exit(0);
}
