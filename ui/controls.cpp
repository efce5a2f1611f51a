// Helpers shared by the two windows.
#include "ui/ui.h"

#include "base/base.h"
#include "i18n/i18n.h"

#include <algorithm>

bool CreateControls(HWND parent, const ControlSpec *controls, int count, bool stopAtFailure)
{
    bool created = true;
    for (const ControlSpec *control = controls; control < controls + count; ++control) {
        *control->handle = CreateWindowExW(0, control->className,
                                           control->textId ? UiString(control->textId) : L"",
                                           control->style, control->x, control->y, control->width,
                                           control->height, parent, (HMENU)(INT_PTR)control->id,
                                           AppInstance, NULL);
        if (!*control->handle) {
            created = false;
            if (stopAtFailure)
                break;
        }
    }
    return created;
}

// A taller title bar or thicker borders (a larger text size, another theme) make the window
// larger: they never cut a control off.
SIZE WindowSizeFor(const ControlSpec *controls, int count, SIZE least)
{
    RECT needed = {};
    for (const ControlSpec *control = controls; control < controls + count; ++control) {
        needed.right = std::max<LONG>(needed.right, control->x + control->width + 10);
        needed.bottom = std::max<LONG>(needed.bottom, control->y + control->height + 10);
    }
    AdjustWindowRectEx(&needed, WindowStyle, FALSE, WindowExStyle);
    return {std::max(least.cx, needed.right - needed.left), std::max(least.cy, needed.bottom - needed.top)};
}

void FillField(HWND window, int id, const WCHAR *text, int capacity)
{
    // Typing and pasting stop where the field's reader stops: what the field
    // shows is what is launched or stored, not cut silently when read.
    SendDlgItemMessageW(window, id, EM_LIMITTEXT, capacity - 1, 0);
    SetDlgItemTextW(window, id, text);
}

RECT OuterRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The layouts' formulas assume a frame no thicker than 10 pixels; where it is, they would reach
// past the client area, so a control stops at its edge. The parent's client rectangle, and the
// control's place in it.
static RECT ClientArea(HWND control, RECT *place)
{
    RECT client = {};
    *place = OuterRect(control);
    MapWindowPoints(NULL, GetParent(control), (POINT *)place, 2);
    GetClientRect(GetParent(control), &client);
    return client;
}

void SetControlSize(HWND control, int width, int height)
{
    RECT place, client = ClientArea(control, &place);
    SetWindowPos(control, NULL, 0, 0, std::min<LONG>(width, client.right - place.left), height,
                 SWP_NOZORDER | SWP_NOMOVE);
}

void MoveControl(HWND control, int x, int y)
{
    RECT place, client = ClientArea(control, &place);
    SetWindowPos(control, NULL, std::min<LONG>(x, client.right - (place.right - place.left)),
                 std::min<LONG>(y, client.bottom - (place.bottom - place.top)), 0, 0,
                 SWP_NOZORDER | SWP_NOSIZE);
}
