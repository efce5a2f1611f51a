// The main window: the launch target and settings in four fields, Browse,
// Launch, Whitelist and Exit, and the system menu's Language and About.
// Its window procedure serves the whitelist window as well.
#include "ui/ui.h"

#include "base/base.h"
#include "i18n/i18n.h"
#include "launch/launch.h"
#include "resources/resource.h"

#include <commdlg.h>
#include <stdlib.h>
#include <wchar.h>

const WCHAR WindowClassName[] = L"myWindowClass";
HWND MainWindow;
MainControlHandles MainControls;

enum {
    MAIN_WIDTH = 640,
    MAIN_HEIGHT = 220
};

static const DWORD PathFieldStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;

static const ControlSpec MainControlSpecs[] = {
    {IDC_ADDRESS_LABEL, L"Static", IDS_SERVER_ADDRESS, LabelStyle, 10, 10, 200, 25, &MainControls.addressLabel},
    {IDC_ADDRESS, L"Edit", 0, FieldStyle, 220, 10, 400, 25, &MainControls.address},
    {IDC_PORT_LABEL, L"Static", IDS_PORT, LabelStyle, 10, 45, 200, 25, &MainControls.portLabel},
    {IDC_PORT, L"Edit", 0, FieldStyle, 220, 45, 400, 25, &MainControls.port},
    {IDC_ENGINE_LABEL, L"Static", IDS_ENGINE_LOCATION, LabelStyle, 10, 80, 200, 25, &MainControls.engineLabel},
    {IDC_ENGINE, L"Edit", 0, PathFieldStyle, 220, 80, 200, 25, &MainControls.engine},
    {IDC_BROWSE, L"Button", IDS_BROWSE, ButtonStyle, 420, 80, 200, 25, &MainControls.browse},
    {IDC_PARAMETERS_LABEL, L"Static", IDS_PARAMETERS, LabelStyle, 10, 115, 200, 25, &MainControls.parametersLabel},
    {IDC_PARAMETERS, L"Edit", 0, FieldStyle, 220, 115, 400, 25, &MainControls.parameters},
    {IDC_LAUNCH, L"Button", IDS_LAUNCH, ButtonStyle, 10, 150, 200, 25, &MainControls.launch},
    {IDC_WHITELIST, L"Button", IDS_WHITELIST, ButtonStyle, 215, 150, 200, 25, &MainControls.whitelist},
    {IDC_EXIT, L"Button", IDS_EXIT, ButtonStyle, 420, 150, 200, 25, &MainControls.exit},
};

// The Language popup; the language names are the same in every language.
struct LanguageItem {
    UINT command;
    DWORD languageId;
    const WCHAR *label; // null: the localised "(Default)"
};
static const LanguageItem LanguageItems[] = {
    {IDM_LANGUAGE_DEFAULT, 0x0400, NULL},
    {IDM_LANGUAGE_DANISH, 0x0406, L"Dansk"},
    {IDM_LANGUAGE_GERMAN, 0x0407, L"Deutsch"},
    {IDM_LANGUAGE_ENGLISH, 0x0409, L"English"},
    {IDM_LANGUAGE_FRENCH, 0x040C, L"Fran\u00e7ais"},
    {IDM_LANGUAGE_HUNGARIAN, 0x040E, L"Magyar"},
    {IDM_LANGUAGE_DUTCH, 0x0413, L"Netherlands"}, // kept: the label Dutch users know the item by
    {IDM_LANGUAGE_RUSSIAN, 0x0419, L"P\u0443\u0441\u0441\u043a\u0438\u0439"}, // a Latin P, kept: it sorts as P
    {IDM_LANGUAGE_FINNISH, 0x040B, L"Suomi"},
    {IDM_LANGUAGE_SWEDISH, 0x041D, L"Svenska"},
};

bool RegisterMainWindowClass()
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = AppInstance;
    windowClass.hIcon = LoadIconW(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClassName;
    windowClass.hIconSm = (HICON)LoadImageW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDI_LAUNCHER),
                                            IMAGE_ICON, 16, 16, 0);
    return RegisterClassExW(&windowClass) != 0;
}

// 640 x 220, or what the controls need where the platform's frame and title bar take more.
static SIZE MainWindowSize()
{
    return WindowSizeFor(MainControlSpecs, ARRAYSIZE(MainControlSpecs), {MAIN_WIDTH, MAIN_HEIGHT});
}

HWND CreateMainWindow()
{
    SIZE size = MainWindowSize();
    MainWindow = CreateWindowExW(WindowExStyle, WindowClassName, ProgramTitle, WindowStyle, CW_USEDEFAULT,
                                 CW_USEDEFAULT, size.cx, size.cy, NULL, NULL, AppInstance, NULL);
    return MainWindow;
}

void ExtendSystemMenu()
{
    HMENU systemMenu = GetSystemMenu(MainWindow, FALSE);
    HMENU languages = CreatePopupMenu();
    if (!languages) {
        ReportSystemError(L"Could not create the menu.");
        return;
    }
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(systemMenu, MF_POPUP, (UINT_PTR)languages, UiString(IDS_LANGUAGE));
    for (const LanguageItem &item : LanguageItems)
        AppendMenuW(languages, MF_STRING, item.command,
                    item.label ? item.label : UiString(IDS_LANGUAGE_DEFAULT));
    AppendMenuW(systemMenu, MF_STRING, IDM_ABOUT, UiString(IDS_ABOUT_ITEM));
}

bool CreateMainControls()
{
    return CreateControls(MainWindow, MainControlSpecs, ARRAYSIZE(MainControlSpecs), true);
}

bool PopulateMainWindow()
{
    bool created = CreateMainControls();
    WCHAR port[PORT_FIELD_CAPACITY];
    FormatText(port, PORT_FIELD_CAPACITY, L"%u", (unsigned)LaunchTarget.port);
    FillField(MainWindow, IDC_ADDRESS, LaunchTarget.host, ADDRESS_FIELD_CAPACITY);
    FillField(MainWindow, IDC_PORT, port, PORT_FIELD_CAPACITY);
    FillField(MainWindow, IDC_ENGINE, LaunchSettings.enginePath, ENGINE_PATH_CAPACITY);
    FillField(MainWindow, IDC_PARAMETERS, LaunchSettings.parameterTemplate, PARAMETERS_CAPACITY);

    if (!LaunchTarget.host[0])
        SetFocus(MainControls.address);
    else if (!LaunchSettings.enginePath[0])
        SetFocus(MainControls.browse);
    else
        SetFocus(MainControls.launch);
    return created;
}

// The fields stretch to the right edge and Browse and Exit follow it; the
// formulas work on outer rectangles as they stand.
static void StretchToRight(HWND control, const RECT &window, int margin)
{
    RECT rect = OuterRect(control);
    SetControlSize(control, window.right - rect.left - margin, rect.bottom - rect.top);
}

static void MoveToRight(HWND control, const RECT &window, int y)
{
    RECT rect = OuterRect(control);
    MoveControl(control, (window.right - window.left) - (rect.right - rect.left) - 20, y);
}

void LayOutMainWindow(HWND window)
{
    RECT outer = OuterRect(window);
    StretchToRight(MainControls.address, outer, 10);
    StretchToRight(MainControls.port, outer, 10);
    StretchToRight(MainControls.engine, outer, 220);
    MoveToRight(MainControls.browse, outer, 80);
    StretchToRight(MainControls.parameters, outer, 10);
    MoveToRight(MainControls.exit, outer, 150);
}

typedef BOOL(WINAPI *OpenFileNameFunction)(OPENFILENAMEW *);

// The common dialogs are loaded at the first Browse: they bring the shell
// and half a dozen more libraries along, which every start that never
// browses (an autostart above all) would otherwise load for nothing.
static OpenFileNameFunction OpenFileNameDialog()
{
    static HMODULE library; // kept loaded for the rest of the run
    static OpenFileNameFunction function;
    if (!library)
        library = LoadLibraryW(L"comdlg32.dll");
    if (library && !function)
        function = (OpenFileNameFunction)(void (*)(void))GetProcAddress(library, "GetOpenFileNameW");
    return function;
}

WCHAR *BrowseForEngine(HWND owner, WCHAR *path)
{
    OpenFileNameFunction getOpenFileName = OpenFileNameDialog();
    if (!getOpenFileName)
        return NULL;
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hInstance = AppInstance;
    dialog.lpstrFilter = L"Quake III engine (quake3.exe)\0quake3.exe\0"
                         L"ioquake3 (ioquake3.x86.exe, ioquake3.x86_64.exe)\0ioquake3.x86.exe;ioquake3.x86_64.exe\0"
                         L"Kelvra engine (klengine.exe)\0klengine.exe\0"
                         L"Any Quake III engine (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = ENGINE_PATH_CAPACITY;
    dialog.lpstrTitle = UiString(IDS_SELECT_ENGINE);
    // Only a file that is there can be an engine; a name typed without an
    // extension is taken as an .exe.
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    dialog.lpstrDefExt = L"exe";
    return getOpenFileName(&dialog) ? path : NULL;
}

static void OnBrowseCommand(HWND window)
{
    WCHAR path[ENGINE_PATH_CAPACITY] = L"";
    if (!BrowseForEngine(window, path))
        return;
    SetDlgItemTextW(window, IDC_ENGINE, path);
    wcscpy(LaunchSettings.enginePath, path);
    if (!SaveLaunchSetting(EnginePathValue, LaunchSettings.enginePath))
        ShowFailure(IDS_ENGINE_UNSAVED);
}

static void OnLaunch(HWND window)
{
    LaunchFields typed = {};
    GetDlgItemTextW(window, IDC_ADDRESS, typed.address, ADDRESS_FIELD_CAPACITY);
    GetDlgItemTextW(window, IDC_PORT, typed.port, PORT_FIELD_CAPACITY);
    GetDlgItemTextW(window, IDC_ENGINE, typed.enginePath, ENGINE_PATH_CAPACITY);
    GetDlgItemTextW(window, IDC_PARAMETERS, typed.parameters, PARAMETERS_CAPACITY);
    OnLaunchCommand(&typed);
}

static void OnMainCommand(HWND window, WPARAM command)
{
    switch (command) {
    case IDC_BROWSE: OnBrowseCommand(window); break;
    case IDC_LAUNCH: OnLaunch(window); break;
    case IDC_EXIT: exit(0);
    case IDC_WHITELIST: OpenWhitelistWindow(window); break;
    }
}

// Each window acts on its own commands only: another program can post any id to either.
static void OnCommand(HWND window, WPARAM command)
{
    if (window == MainWindow)
        OnMainCommand(window, command);
    else if (window == WhitelistWindow)
        OnWhitelistCommand(window, command);
}

static void OnSysCommand(WPARAM command)
{
    if (command == IDM_ABOUT) {
        ShowAboutBox();
        return;
    }
    for (const LanguageItem &item : LanguageItems)
        if (command == item.command) {
            // A choice that was not stored would not take effect at the next start.
            if (SaveUiLanguage(item.languageId))
                ShowRestartNotice(item.languageId);
            else
                ShowFailure(IDS_LANGUAGE_UNSAVED);
        }
}

// cppcheck-suppress constParameter ; a window handle is opaque, there is nothing to make const
static void OnDestroy(HWND window)
{
    if (window == MainWindow)
        PostQuitMessage(0);
    else if (window == WhitelistWindow)
        OnWhitelistWindowDestroyed();
}

static void OnSize(HWND window)
{
    if (window == MainWindow)
        LayOutMainWindow(window);
    else if (window == WhitelistWindow)
        LayOutWhitelistWindow(window);
}

// As in a dialog, the control that had the keyboard focus when the window was left (for a message
// box, or another window) has it again when the window is active again.
// cppcheck-suppress constParameter ; a window handle is opaque, there is nothing to make const
static HWND *KeptFocus(HWND window)
{
    return window == MainWindow        ? &MainControls.focus
           : window == WhitelistWindow ? &WhitelistControls.focus
                                       : NULL;
}

static void OnActivate(HWND window, WPARAM state)
{
    HWND *kept = KeptFocus(window);
    HWND focus = GetFocus();
    if (kept && LOWORD(state) == WA_INACTIVE && IsChild(window, focus))
        *kept = focus;
}

static void OnSetFocus(HWND window)
{
    HWND *kept = KeptFocus(window);
    if (kept && IsChild(window, *kept))
        SetFocus(*kept);
}

// cppcheck-suppress constParameter ; a window handle is opaque, there is nothing to make const
static void OnGetMinMaxInfo(HWND window, MINMAXINFO *limits)
{
    if (window == MainWindow) {
        SIZE size = MainWindowSize();
        limits->ptMinTrackSize.x = size.cx;
        limits->ptMinTrackSize.y = size.cy;
        limits->ptMaxTrackSize.y = size.cy;
    } else if (window == WhitelistWindow) {
        SetWhitelistWindowLimits(limits);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: OnDestroy(window); return 0;
    case WM_SIZE: OnSize(window); return 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(window, (MINMAXINFO *)lParam); return 0;
    case WM_COMMAND: OnCommand(window, wParam); return 0;
    case WM_SYSCOMMAND: OnSysCommand(wParam); break;
    case WM_ACTIVATE: OnActivate(window, wParam); break;
    case WM_SETFOCUS: OnSetFocus(window); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
