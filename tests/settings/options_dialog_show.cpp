// Shows the Options dialog on the screen for a few seconds so that a screenshot can be taken:
// options_dialog_show.exe [seconds] [plain] [first]; with TRESK_MEASURE set it also prints how wide the labels' texts
// are against their controls, in dialog units.
#include "base/settings.h"
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "app/shell.h"
#include "res/options_ids.h"
#include "settings/options_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    int seconds = atoi(commandLine) > 0 ? atoi(commandLine) : 5;
    mainWindow = CreateWindowA("STATIC", "main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);

    settings.trayIcon = 0;  // shows the "Exit Tresk" button too
    settings.refreshMenu = 1;
    settings.itemsPerColumn = 25;
    settings.limitItemWidth = 1;
    settings.itemWidth = 250;
    settings.hotKey = 0x342;
    settings.displayEmptyFolders = 1;
    settings.menuStyle = strstr(commandLine, "plain") ? 0 : 3;
    settings.startupStyle = 1;
    settings.doubleClickAction = 4008;
    settings.iconStyle = 3;
    settings.repositionSubmenus = 1;
    settings.runAtStartup = 1;
    // "first": a first start, which opens the file browser over the dialog at once
    if (!strstr(commandLine, "first"))
        snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s",
                 "C:\\Program Files\\Netscape\\Users\\default\\bookmark.htm");

    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_OPTIONS), mainWindow, OptionsDialogProc, 0);
    if (!dialog)
        return 1;
    ShowWindow(dialog, SW_SHOW);
    if (getenv("TRESK_MEASURE")) {
        // How wide each label's text is in dialog units, against the width its control has.
        for (int id : {IDC_SORT_LABEL, IDC_MAX_ITEMS_LABEL, IDC_DOUBLE_CLICK_LABEL, IDC_BOOKMARK_FILE_LABEL,
                       IDC_START_BROWSER_LABEL, IDC_MENU_STYLE_LABEL, IDC_LIMIT_ITEMS, IDC_LIMIT_WIDTH}) {
            HWND item = GetDlgItem(dialog, id);
            char text[128];
            GetWindowTextA(item, text, sizeof text);
            HDC dc = GetDC(item);
            HGDIOBJ old = SelectObject(dc, (HGDIOBJ)SendMessageA(item, WM_GETFONT, 0, 0));
            SIZE extent;
            GetTextExtentPoint32A(dc, text, (int)strlen(text), &extent);
            SelectObject(dc, old);
            ReleaseDC(item, dc);
            RECT unit = {0, 0, 400, 0};
            MapDialogRect(dialog, &unit);
            RECT box;
            GetClientRect(item, &box);
            printf("%d \"%s\": text %ld px = %.1f units, control %ld px\n", id, text, extent.cx,
                   extent.cx * 400.0 / unit.right, box.right);
        }
        fflush(stdout);
    }
    DWORD end = GetTickCount() + seconds * 1000;
    while (GetTickCount() < end) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        Sleep(20);
    }
    DestroyWindow(dialog);
    return 0;
}
