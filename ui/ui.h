// User interface: the main window, the whitelist window (both of one class,
// served by one window procedure) and the message boxes.
#ifndef KELVRA_UI_H
#define KELVRA_UI_H

#include <windows.h>

extern const WCHAR ProgramTitle[];
extern const WCHAR WindowClassName[];

// Both windows' style: a frame that can be sized, a title bar and the system menu.
const DWORD WindowStyle = WS_OVERLAPPEDWINDOW, WindowExStyle = WS_EX_WINDOWEDGE;

// The main window and its controls, set as they are created; focus: the control that had the
// keyboard focus when the window was last left.
struct MainControlHandles {
    HWND addressLabel, address, portLabel, port, engineLabel, engine, browse;
    HWND parametersLabel, parameters, launch, whitelist, exit, focus;
};
extern HWND MainWindow;
extern MainControlHandles MainControls;

bool RegisterMainWindowClass();
HWND CreateMainWindow();
void ExtendSystemMenu();
bool CreateMainControls();
bool PopulateMainWindow();
void LayOutMainWindow(HWND window);
WCHAR *BrowseForEngine(HWND owner, WCHAR *path);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The whitelist window, one at a time; its controls keep their handles
// until it is opened again.
struct WhitelistControlHandles {
    HWND label, address, add, remove, list, ok, information, cancel, focus;
    WNDPROC previousAddressFieldProc;
};
extern HWND WhitelistWindow;
extern WhitelistControlHandles WhitelistControls;

void OpenWhitelistWindow(HWND mainWindow);
void FillWhitelistListBox();
void AddAddressToListBox();
void RemoveSelectedAddresses();
void ShowWhitelistInformation();
void ConfirmWhitelistEdits(HWND window);
// What MainWindowProc hands on for the whitelist window: its commands, its end, its size and limits.
void OnWhitelistCommand(HWND window, WPARAM command);
void OnWhitelistWindowDestroyed();
void LayOutWhitelistWindow(HWND window);
void SetWhitelistWindowLimits(MINMAXINFO *limits);
LRESULT CALLBACK AddressFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Message boxes beyond those of the strings.
void ReportSystemError(const WCHAR *text);
void ShowAboutBox();

// The styles of the two windows' controls.
const DWORD LabelStyle = WS_CHILD | WS_VISIBLE;
const DWORD FieldStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
const DWORD ButtonStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;

// Child controls described as a table, created in table order.
struct ControlSpec {
    int id;
    const WCHAR *className;
    UINT textId; // 0: no text
    DWORD style;
    int x, y, width, height;
    HWND *handle;
};
bool CreateControls(HWND parent, const ControlSpec *controls, int count, bool stopAtFailure);
// The outer size of a window whose client area holds the controls with the margin they keep to
// its left and top, and never less than `least`.
SIZE WindowSizeFor(const ControlSpec *controls, int count, SIZE least);
// Sets an edit field's text, and limits what the user enters to what is read
// of it with that capacity.
void FillField(HWND window, int id, const WCHAR *text, int capacity);

// Layout helpers working on outer rectangles in screen coordinates; a control is never moved or
// widened past its window's client area.
RECT OuterRect(HWND window);
void SetControlSize(HWND control, int width, int height);
void MoveControl(HWND control, int x, int y);

#endif
