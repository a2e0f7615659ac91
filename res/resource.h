// Every resource and command number shared by the .rc files and the code.
#pragma once

// Icons: the window class icon, the tray icon and its reloading variant.
#define IDI_TRESK 10
#define IDI_TRAY 11
#define IDI_TRAY_RELOADING 12

// Menus: the tray menu and the bookmark context menu.
#define IDM_TRAY_MENU 4000
#define IDM_ITEM_CONTEXT_MENU 114

// Command identifiers, shared by the menus, the string table (labels), the command icons and the
// "Double-Click Action" setting.
#define IDC_CMD_OPTIONS 4002
#define IDC_CMD_REFRESH 4003
#define IDC_CMD_ABOUT 4004
#define IDC_CMD_EXIT 4005
#define IDC_CMD_PROPERTIES 4006
#define IDC_CMD_BROWSE 4007
#define IDC_CMD_SEARCH 4008
#define IDC_CMD_COPY_NAME 4009
#define IDC_CMD_COPY_LOCATION 4010
#define IDC_CMD_COPY_HTML 4011
#define IDC_CMD_VERIFY 4012
#define IDC_CMD_QUICK_URL 4013

// Dialogs (those of the bookmark tools have a header of their own next to their template).
#define IDD_VERIFY 133
