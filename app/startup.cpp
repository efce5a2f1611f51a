// The start-up sequence. Its order matters: the autostart needs the parsed
// link, the whitelist, the settings and the strings (it may report in the
// chosen language), and must run before any window exists.
#include "app/app.h"

#include "base/base.h"
#include "i18n/i18n.h"
#include "launch/launch.h"
#include "ui/ui.h"

int RunLauncher(HINSTANCE instance, const char *commandTail, int showCommand)
{
    AppInstance = instance;
    LoadUiStrings(instance);
    ParseInvocationUrl(commandTail);
    WhitelistWindow = NULL;
    LoadWhitelist();
    LoadLaunchSettings();
    TryAutostart();

    // The start-up failures are told in fixed English texts, kept so in every
    // language: a report reads the same wherever it is searched for.
    if (!RegisterMainWindowClass()) {
        ReportSystemError(L"Window Registration failed.");
        return 0;
    }
    if (!CreateMainWindow()) {
        ReportSystemError(L"Window Creation failed.");
        return 0;
    }
    ExtendSystemMenu();
    if (!PopulateMainWindow()) {
        ReportSystemError(L"Child Window Creation failed.");
        return 0;
    }
    ShowWindow(MainWindow, showCommand);
    UpdateWindow(MainWindow);

    MSG message = {};
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    FreeWhitelist();
    return (int)message.wParam;
}
