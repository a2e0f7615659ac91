// Numbers of the Options dialog (resource 200) and its controls, shared by options_dialog.rc and the code.
#pragma once

#define IDD_OPTIONS                 200

#define IDC_RUN_AT_STARTUP          201
#define IDC_TRAY_ICON               202
#define IDC_REFRESH_MENU            203
#define IDC_USE_FAVORITES           205
#define IDC_LIMIT_ITEMS             206
#define IDC_ITEMS_PER_COLUMN        207
#define IDC_ITEMS_ARROWS            208
#define IDC_LIMIT_WIDTH             209
#define IDC_ITEM_WIDTH              210
#define IDC_WIDTH_ARROWS            211
#define IDC_HOT_KEY                 212
#define IDC_BOOKMARK_FILE           213
#define IDC_BROWSE                  214
#define IDC_EMPTY_FOLDERS           215
#define IDC_MENU_STYLE              216
#define IDC_SNAP_LEFT               217
#define IDC_SORT_ORDER              218
#define IDC_START_BROWSER           219
#define IDC_MAX_ITEMS_LABEL         220
#define IDC_DOUBLE_CLICK            221
#define IDC_USE_OPERA               222
#define IDC_ICON_STYLE              223
#define IDC_REPOSITION              224
#define IDC_USE_CHROMIUM            225
#define IDC_USE_FIREFOX             226
#define IDC_ICON_STYLE_LABEL        232
#define IDC_PIXELS_LABEL            245
#define IDC_HOT_KEY_LABEL           246
#define IDC_BOOKMARK_FILE_LABEL     247
#define IDC_MENU_STYLE_LABEL        248
#define IDC_SORT_LABEL              249
#define IDC_DOUBLE_CLICK_LABEL      250
#define IDC_START_BROWSER_LABEL     251
#define IDC_EXIT_TRESK              3
