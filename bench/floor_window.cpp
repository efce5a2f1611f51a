// The window road's floor: one class registered, one empty window of the
// launcher's size shown, a message loop. Built a second time with twelve
// plain controls in it (KELVRA_FLOOR_CONTROLS), to show what they cost.
#include <windows.h>

static LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BareWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    if (!RegisterClassExW(&windowClass))
        return 0;
    HWND window = CreateWindowExW(0, L"BareWindow", L"Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 640, 220, NULL, NULL, instance, NULL);
    if (!window)
        return 0;
#ifdef KELVRA_FLOOR_CONTROLS
    static const wchar_t *const classes[] = {L"Static", L"Edit", L"Button"};
    for (int i = 0; i < 12; ++i)
        CreateWindowExW(0, classes[i % 3], L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10 + 205 * (i % 3),
                        10 + 35 * (i / 3), 200, 25, window, NULL, instance, NULL);
#endif
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
