// Helpers shared by the two windows.
#include "ui/ui.h"

#include "base/base.h"
#include "i18n/i18n.h"

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

void SetControlSize(HWND control, int width, int height)
{
    SetWindowPos(control, NULL, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
}

void MoveControl(HWND control, int x, int y)
{
    SetWindowPos(control, NULL, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}
