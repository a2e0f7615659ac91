// The About dialog: the program's texts and a home-page link that behaves like a hyperlink.
#include "tools/about_dialog.h"

#include <cstring>

#include "base/app_state.h"
#include "base/launch_url.h"
#include "res/about_ids.h"
#include "res/menu_ids.h"
#include "tools/about_text.h"
#include "version.h"

static const COLORREF LINK_BLUE = RGB(0, 0, 255);

static HCURSOR arrowCursor;
static HCURSOR handCursor;
static bool linkHot;
// The dialog class's own cursor, taken away while the dialog is open.
static LONG_PTR classCursor;

void DrawAboutLink(HWND dialog, bool hot)
{
    HWND link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    RECT bounds;
    GetWindowRect(link, &bounds);
    int width = bounds.right - bounds.left;
    int height = bounds.bottom - bounds.top;
    HDC dc = GetDC(link);
    SetTextColor(dc, hot ? LINK_BLUE : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    RECT text = {-1, -1, width - 1, height};
    DrawTextA(dc, HOME_PAGE, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SIZE extent;
    GetTextExtentPoint32A(dc, HOME_PAGE, static_cast<int>(std::strlen(HOME_PAGE)), &extent);
    // The normal look draws the underline in the background colour, which erases a hot one.
    HPEN pen = CreatePen(PS_SOLID, 1, hot ? LINK_BLUE : GetSysColor(COLOR_BTNFACE));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    int margin = (width - 1 - extent.cx) / 2;
    int y = (height + 1) / 2 + extent.cy / 2;
    MoveToEx(dc, margin, y, nullptr);
    LineTo(dc, width - 1 - margin, y);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
    DeleteObject(pen);
    ReleaseDC(link, dc);
}

static INT_PTR OnInitDialog(HWND dialog)
{
    SetWindowTextA(dialog, "About Tresk");
    arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    handCursor = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_LINK_HAND));
    linkHot = false;
    // Without a class cursor the system does not put the arrow back at every move, so the hand stays.
    classCursor = SetClassLongPtrA(dialog, GCLP_HCURSOR, 0);
    SetDlgItemTextA(dialog, IDC_ABOUT_TEXT, AboutText(TRESK_VERSION_TEXT, __DATE__).c_str());
    SetDlgItemTextA(dialog, IDC_ABOUT_LINK, HOME_PAGE);
    modalOpen = TRUE;
    modalWindow = dialog;
    return TRUE;
}

static bool OnLink(HWND dialog, POINT screenPoint)
{
    RECT link;
    GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_LINK), &link);
    return PtInRect(&link, screenPoint) != FALSE;
}

static POINT ScreenPoint(HWND dialog, LPARAM clientPoint)
{
    POINT point = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    ClientToScreen(dialog, &point);
    return point;
}

// The mouse is captured while the link is hot, so leaving it is seen even outside the dialog.
static void OnMouseMove(HWND dialog, POINT screenPoint)
{
    bool inside = OnLink(dialog, screenPoint);
    if (inside && !linkHot) {
        linkHot = true;
        DrawAboutLink(dialog, true);
        SetCursor(handCursor);
        SetCapture(dialog);
    } else if (!inside && linkHot) {
        linkHot = false;
        DrawAboutLink(dialog, false);
        SetCursor(arrowCursor);
        ReleaseCapture();
    }
}

static void OnLeftButtonDown(HWND dialog, LPARAM clientPoint)
{
    if (!OnLink(dialog, ScreenPoint(dialog, clientPoint)))
        return;
    LaunchURL(HOME_PAGE);
    EndDialog(dialog, 1);
}

// The class cursor is always given back, whatever the pointer shows now: the dialog class is shared by
// every dialog of the program, and one left without a cursor would keep whatever shape last passed over it.
static void OnDestroy(HWND dialog)
{
    if (linkHot)
        ReleaseCapture();
    SetClassLongPtrA(dialog, GCLP_HCURSOR, classCursor ? classCursor : reinterpret_cast<LONG_PTR>(arrowCursor));
    modalOpen = FALSE;
    modalWindow = nullptr;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_MOUSEMOVE:
        OnMouseMove(dialog, ScreenPoint(dialog, lParam));
        return TRUE;
    case WM_NCMOUSEMOVE:  // its point is in screen coordinates already
        OnMouseMove(dialog, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return FALSE;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(dialog, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(dialog);
        return FALSE;
    }
    return FALSE;
}

void OpenAboutDialog()
{
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), mainWindow, AboutDialogProc, 0);
}
