// Small layout helpers of the tool dialogs.
#include "tools/dialog_layout.h"

RECT ControlRect(HWND dialog, int control)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, control), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

void PlaceControl(HWND dialog, int control, int left, int top, int width, int height)
{
    SetWindowPos(GetDlgItem(dialog, control), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
