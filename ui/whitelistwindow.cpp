// The whitelist window: edits a copy of the whitelist in its list box; OK
// takes the copy over, Cancel and closing drop it.
#include "ui/ui.h"

#include "base/base.h"
#include "i18n/i18n.h"
#include "launch/launch.h"
#include "resources/resource.h"

#include <wchar.h>

HWND WhitelistWindow;
WhitelistControlHandles WhitelistControls;

enum {
    WHITELIST_WIDTH = 650,
    WHITELIST_HEIGHT = 325
};

static const DWORD ListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                               LBS_NOINTEGRALHEIGHT | LBS_MULTIPLESEL;

static const ControlSpec WhitelistControlSpecs[] = {
    {IDC_WL_LABEL, L"Static", IDS_SERVER_ADDRESS, LabelStyle, 10, 10, 200, 25, &WhitelistControls.label},
    {IDC_WL_ADDRESS, L"Edit", 0, FieldStyle, 220, 10, 200, 25, &WhitelistControls.address},
    {IDC_WL_ADD, L"Button", IDS_ADD, ButtonStyle, 430, 10, 200, 25, &WhitelistControls.add},
    {IDC_WL_REMOVE, L"Button", IDS_REMOVE, ButtonStyle, 430, 45, 200, 25, &WhitelistControls.remove},
    {IDC_WL_LIST, L"ListBox", 0, ListStyle, 10, 45, 410, 200, &WhitelistControls.list},
    {IDC_WL_OK, L"Button", IDS_OK, ButtonStyle, 10, 255, 200, 25, &WhitelistControls.ok},
    {IDC_WL_INFORMATION, L"Button", IDS_INFORMATION_BUTTON, ButtonStyle, 220, 255, 200, 25, &WhitelistControls.information},
    {IDC_WL_CANCEL, L"Button", IDS_CANCEL, ButtonStyle, 430, 255, 200, 25, &WhitelistControls.cancel},
};

// 650 x 325, or what the controls need where the platform's frame and title bar take more.
static SIZE WhitelistWindowSize()
{
    return WindowSizeFor(WhitelistControlSpecs, ARRAYSIZE(WhitelistControlSpecs),
                         {WHITELIST_WIDTH, WHITELIST_HEIGHT});
}

// host:port from the main window's fields, the host alone without a port,
// nothing without a host.
static void ComposeInitialAddress(HWND mainWindow, WCHAR *address)
{
    WCHAR host[ADDRESS_FIELD_CAPACITY];
    if (GetDlgItemTextW(mainWindow, IDC_ADDRESS, host, ADDRESS_FIELD_CAPACITY)) {
        WCHAR port[PORT_FIELD_CAPACITY] = L"";
        GetDlgItemTextW(mainWindow, IDC_PORT, port, PORT_FIELD_CAPACITY);
        ComposeAddress(address, WHITELIST_ADDRESS_CAPACITY, host, port);
    }
}

// One window at a time: a second Whitelist command brings the open one to
// the front, so every action works on that window's own controls.
static void RaiseWhitelistWindow()
{
    if (IsIconic(WhitelistWindow))
        ShowWindow(WhitelistWindow, SW_RESTORE);
    SetForegroundWindow(WhitelistWindow);
    SetFocus(WhitelistControls.address);
}

void OpenWhitelistWindow(HWND mainWindow)
{
    if (WhitelistWindow) {
        RaiseWhitelistWindow();
        return;
    }
    WCHAR address[WHITELIST_ADDRESS_CAPACITY] = L"";
    ComposeInitialAddress(mainWindow, address);

    SIZE size = WhitelistWindowSize();
    WhitelistWindow = CreateWindowExW(WindowExStyle, WindowClassName, UiString(IDS_WHITELIST_TITLE),
                                      WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, mainWindow,
                                      NULL, AppInstance, NULL);
    if (!WhitelistWindow) {
        WCHAR text[64]; // in English in every language, kept so: a report is searched for as it reads
        FormatText(text, ARRAYSIZE(text), L"Window Creation failed" ERROR_CODE_FORMAT L".", (int)GetLastError());
        ShowMessage(text, IDS_ERROR);
        return;
    }
    CreateControls(WhitelistWindow, WhitelistControlSpecs, ARRAYSIZE(WhitelistControlSpecs), false);
    FillField(WhitelistWindow, IDC_WL_ADDRESS, address, WHITELIST_ADDRESS_CAPACITY);
    WhitelistControls.previousAddressFieldProc = (WNDPROC)SetWindowLongPtrW(
        WhitelistControls.address, GWLP_WNDPROC, (LONG_PTR)AddressFieldProc);
    FillWhitelistListBox();
    ShowWindow(WhitelistWindow, SW_SHOWNORMAL);
    SetFocus(WhitelistControls.address);
}

// An item at the end of the list, which scrolls sideways as far as its longest item reaches. No font
// is set on the list, so it draws in the one its device context starts with, measured here.
static void AppendListItem(const WCHAR *text)
{
    HWND list = WhitelistControls.list;
    SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)text);
    RECT extent = {};
    HDC context = GetDC(list);
    DrawTextW(context, text, -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    ReleaseDC(list, context);
    if (extent.right + 4 > SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)) // and the item's margins
        SendMessageW(list, LB_SETHORIZONTALEXTENT, extent.right + 4, 0);
}

void FillWhitelistListBox()
{
    for (const WhitelistEntry *entry = Whitelist; entry; entry = entry->next)
        AppendListItem(entry->address);
}

void AddAddressToListBox()
{
    WCHAR address[WHITELIST_ADDRESS_CAPACITY];
    if (!GetDlgItemTextW(WhitelistWindow, IDC_WL_ADDRESS, address, WHITELIST_ADDRESS_CAPACITY)) {
        ShowMessage(UiString(IDS_NO_ADDRESS), IDS_ERROR);
        return;
    }
    AppendListItem(address);
}

void RemoveSelectedAddresses()
{
    // From the last item down, so the indexes still to visit stay valid.
    LRESULT count = SendMessageW(WhitelistControls.list, LB_GETCOUNT, 0, 0);
    for (LRESULT item = count - 1; item >= 0; --item)
        if (SendMessageW(WhitelistControls.list, LB_GETSEL, (WPARAM)item, 0) > 0)
            SendMessageW(WhitelistControls.list, LB_DELETESTRING, (WPARAM)item, 0);
}

void ShowWhitelistInformation()
{
    WCHAR text[512];
    FormatText(text, ARRAYSIZE(text), UiString(IDS_WHITELIST_INFO), ProgramTitle);
    ShowMessage(text, IDS_INFORMATION);
}

// OK: the window's items, from the top, go to the store. When they cannot
// be stored the window stays open with them, for OK again or Cancel.
void ConfirmWhitelistEdits(HWND window)
{
    WhitelistEntry *edited = NULL;
    LRESULT count = SendMessageW(WhitelistControls.list, LB_GETCOUNT, 0, 0);
    bool whole = true; // an item left out would be taken as removed
    for (LRESULT item = count - 1; whole && item >= 0; --item) { // pushed from the bottom up
        WCHAR text[WHITELIST_ADDRESS_CAPACITY] = L"";
        SendMessageW(WhitelistControls.list, LB_GETTEXT, (WPARAM)item, (LPARAM)text);
        whole = !text[0] || PushWhitelistEntry(&edited, text);
    }
    switch (whole ? StoreWhitelistEdits(edited) : WHITELIST_UNCHANGED) {
    case WHITELIST_STORED: DestroyWindow(window); break;
    case WHITELIST_UNCHANGED: ShowFailure(IDS_WHITELIST_UNSAVED); break;
    case WHITELIST_DAMAGED: ShowFailure(IDS_WHITELIST_DAMAGED); break;
    }
    FreeWhitelistEntries(&edited);
}

void LayOutWhitelistWindow(HWND window)
{
    RECT outer = OuterRect(window);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    RECT rect = OuterRect(WhitelistControls.address);
    SetControlSize(WhitelistControls.address, outer.right - rect.left - 230, rect.bottom - rect.top);
    rect = OuterRect(WhitelistControls.add);
    MoveControl(WhitelistControls.add, width - (rect.right - rect.left) - 20, 10);
    rect = OuterRect(WhitelistControls.list);
    SetControlSize(WhitelistControls.list, outer.right - rect.left - 230, outer.bottom - rect.top - 55);
    rect = OuterRect(WhitelistControls.remove);
    MoveControl(WhitelistControls.remove, width - (rect.right - rect.left) - 20, 45);
    MoveControl(WhitelistControls.ok, 10, height - 70);
    MoveControl(WhitelistControls.information, 220, height - 70);
    rect = OuterRect(WhitelistControls.cancel);
    MoveControl(WhitelistControls.cancel, width - (rect.right - rect.left) - 20, height - 70);
}

void SetWhitelistWindowLimits(MINMAXINFO *limits)
{
    SIZE size = WhitelistWindowSize();
    limits->ptMinTrackSize.x = size.cx;
    limits->ptMinTrackSize.y = size.cy;
}

static void OnAddCommand(HWND window)
{
    AddAddressToListBox();
    SetDlgItemTextW(window, IDC_WL_ADDRESS, L"");
}

void OnWhitelistCommand(HWND window, WPARAM command)
{
    switch (command) {
    case IDC_WL_ADD: OnAddCommand(window); break;
    case IDC_WL_REMOVE: RemoveSelectedAddresses(); break;
    case IDC_WL_OK: ConfirmWhitelistEdits(window); break;
    case IDC_WL_CANCEL: DestroyWindow(window); break;
    case IDC_WL_INFORMATION: ShowWhitelistInformation(); break;
    }
}

void OnWhitelistWindowDestroyed()
{
    WhitelistWindow = NULL;
}

LRESULT CALLBACK AddressFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        AddAddressToListBox();
        SetWindowTextW(window, L"");
    }
    // The Enter character that follows the key: a single-line field outside a dialog beeps at it.
    if (message == WM_CHAR && wParam == L'\r')
        return 0;
    return CallWindowProcW(WhitelistControls.previousAddressFieldProc, window, message, wParam, lParam);
}
