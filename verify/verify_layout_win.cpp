// The Verify window's layout: the list takes whatever the buttons, the progress line and the proxy row
// below it leave, and the window keeps a size at which they all fit.
#include "verify/verify_window.h"

#include "res/verify_ids.h"

// A control's rectangle in the dialog's client pixels.
static RECT ItemRect(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

static int Width(const RECT &rect) { return rect.right - rect.left; }
static int Height(const RECT &rect) { return rect.bottom - rect.top; }

// Moves a control to (x, y) keeping its size; returns its right edge there.
static int PlaceItem(HWND dialog, int id, int x, int y)
{
    RECT rect = ItemRect(dialog, id);
    MoveWindow(GetDlgItem(dialog, id), x, y, Width(rect), Height(rect), TRUE);
    return x + Width(rect);
}

void LayoutVerifyDialog(HWND dialog)
{
    if (!GetDlgItem(dialog, IDC_VERIFY_LIST))
        return;  // sized while it is created, before its controls exist
    RECT client;
    GetClientRect(dialog, &client);
    const int right = client.right, bottom = client.bottom;
    RECT close = ItemRect(dialog, IDCANCEL);
    int buttonY = bottom - Height(close) - 6;
    PlaceItem(dialog, IDC_VERIFY_BROWSE, right - static_cast<int>(3.25 * Width(close)) - 30, buttonY);
    PlaceItem(dialog, IDC_VERIFY_BUTTON, right - 2 * Width(close) - 20, buttonY);
    PlaceItem(dialog, IDCANCEL, right - Width(close) - 10, buttonY);

    RECT list = ItemRect(dialog, IDC_VERIFY_LIST);
    int proxyY = bottom - Height(ItemRect(dialog, IDC_PROXY_NAME_LABEL)) - 6;
    int x = PlaceItem(dialog, IDC_PROXY_NAME_LABEL, list.left, proxyY);
    x = PlaceItem(dialog, IDC_PROXY_NAME, x, proxyY);
    x = PlaceItem(dialog, IDC_PROXY_PORT_LABEL, x + 6, proxyY);
    PlaceItem(dialog, IDC_PROXY_PORT, x, proxyY);

    int progressY = bottom - 2 * Height(ItemRect(dialog, IDC_VERIFY_PROGRESS)) - 12;
    PlaceItem(dialog, IDC_VERIFY_PROGRESS, list.left, progressY);
    MoveWindow(GetDlgItem(dialog, IDC_VERIFY_LIST), list.left, list.top, right - list.left - 10,
               progressY - 6 - list.top, TRUE);
}

void LimitVerifyDialogSize(HWND dialog, MINMAXINFO *limits)
{
    if (!GetDlgItem(dialog, IDC_VERIFY_LIST))
        return;
    RECT port = ItemRect(dialog, IDC_PROXY_PORT);
    limits->ptMinTrackSize.x = port.right + 20 + static_cast<int>(3.5 * Width(ItemRect(dialog, IDC_VERIFY_BUTTON)));
    limits->ptMinTrackSize.y = ItemRect(dialog, IDC_VERIFY_LIST).top + 150;
}
