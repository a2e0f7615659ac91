// The settings record: every option, held for the whole run and stored under HKCU\Software\Olvane\Tresk.
#pragma once
#include <cstdint>

// Every setting and every window's remembered state live under this key of HKEY_CURRENT_USER.
const char SETTINGS_KEY[] = "Software\\Olvane\\Tresk";

struct Settings {
    int32_t trayIcon;             // "Tray Icon"
    int32_t refreshMenu;          // "Refresh Menu"
    int32_t limitItemsPerColumn;  // "Limit Menu Items Per Column"
    int32_t itemsPerColumn;       // "Menu Items Per Column"
    int32_t limitItemWidth;       // "Limit Menu Item Width"
    int32_t itemWidth;            // "Menu Item Width"
    int32_t hotKey;               // "Hot Key": low byte virtual key, second byte HOTKEYF_* flags; 0 = none
    int32_t displayEmptyFolders;  // "Display Empty Folders"
    int32_t menuStyle;            // "Menu Style": 0 Plain, 1 Fancy, 2 Very Fancy, 3 Dancy
    int32_t snapMenuLeft;         // "Snap Menu Left"
    int32_t sortOrder;            // "Sort Order": 0 default, 1 ascending, 2 descending
    int32_t startupStyle;         // "Startup Style": show command of every browser launch
    int32_t doubleClickAction;    // "Double-Click Action": a command id 4002-4013
    int32_t useFavorites;         // "Use IE Favorites"
    int32_t useOperaHotlist;      // "Use Opera Hotlist"
    int32_t iconStyle;            // "Icon Style": 0 Netscape, 1 IE, 2 Opera, 3 per source
    int32_t repositionSubmenus;   // "Reposition Submenus"
    int32_t useChromium;          // "Use Chromium Bookmarks"
    int32_t useFirefox;           // "Use Firefox Bookmarks"
    char bookmarkFile[260];       // "Bookmark Filename"
    char chromiumBookmarksPath[260];  // "Chromium Bookmarks File": found at load, or the user's own
    char firefoxPlacesPath[260];      // "Firefox Places File": found at load, or the user's own

    // Not stored in the program's key.
    int32_t runAtStartup;         // the "Tresk" value of the Run key exists
    int32_t useBookmarkFile;      // derived: bookmarkFile is not empty
    char favoritesPath[260];      // the Explorer "Favorites" shell folder
    char operaHotlistPath[260];   // "HOT LIST FILE VER2" of opera.ini
};

enum MenuStyle { MENU_STYLE_PLAIN = 0, MENU_STYLE_FANCY = 1, MENU_STYLE_VERY_FANCY = 2, MENU_STYLE_DANCY = 3 };
enum SortOrder { SORT_ORDER_DEFAULT = 0, SORT_ORDER_ASCENDING = 1, SORT_ORDER_DESCENDING = 2 };
enum IconStyle { ICON_STYLE_NETSCAPE = 0, ICON_STYLE_IE = 1, ICON_STYLE_OPERA = 2, ICON_STYLE_PER_SOURCE = 3 };

extern Settings settings;
