// Loading and saving the settings record under HKEY_CURRENT_USER\Software\Olvane\Tresk, and the start-up entry.
#include "settings/settings.h"

#include "app/fatal_error.h"
#include "settings/hot_key.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

static const char PROGRAM_KEY[] = "Software\\Olvane\\Tresk";
static const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
static const char SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
static const char RUN_VALUE[] = "Tresk";

// Opens (creating it if needed) a key of the current user; a key that cannot be had is fatal (11), with
// the registry's own error as the reported last error.
static HKEY OpenUserKey(const char *path)
{
    HKEY key;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr);
    if (result != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(result));
        ShowFatalError(FATAL_REGISTRY_KEY);
    }
    return key;
}

// Stored types are trusted, but only a value of exactly 4 bytes is taken; any other size leaves the
// field as it was, so a damaged value falls back to its default instead of a half-read number.
static void ReadDword(HKEY key, const char *name, int32_t *field)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size) == ERROR_SUCCESS &&
        size == sizeof value)
        *field = static_cast<int32_t>(value);
}

// Reads a string value of at most `size` bytes into `field`, always NUL-terminated. A value that is not a
// string or does not fit leaves the field as it was.
static bool ReadString(HKEY key, const char *name, char *field, DWORD size)
{
    std::string buffer(size, '\0');
    DWORD type = 0;
    DWORD read = size;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(&buffer[0]), &read) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    buffer[read < size ? read : size - 1] = '\0';
    std::strcpy(field, buffer.c_str());
    return true;
}

static void WriteDword(HKEY key, const char *name, int32_t field)
{
    DWORD value = static_cast<DWORD>(field);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
}

static void WriteString(HKEY key, const char *name, const char *text)
{
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), static_cast<DWORD>(std::strlen(text) + 1));
}

static void ReadStoredValues(HKEY key)
{
    ReadDword(key, "Tray Icon", &settings.trayIcon);
    ReadDword(key, "Refresh Menu", &settings.refreshMenu);
    ReadDword(key, "Limit Menu Items Per Column", &settings.limitItemsPerColumn);
    ReadDword(key, "Menu Items Per Column", &settings.itemsPerColumn);
    ReadDword(key, "Limit Menu Item Width", &settings.limitItemWidth);
    ReadDword(key, "Menu Item Width", &settings.itemWidth);
    ReadDword(key, "Hot Key", &settings.hotKey);
    RegisterAppHotKey(settings.hotKey);
    ReadDword(key, "Display Empty Folders", &settings.displayEmptyFolders);
    ReadDword(key, "Menu Style", &settings.menuStyle);
    ReadDword(key, "Snap Menu Left", &settings.snapMenuLeft);
    ReadDword(key, "Sort Order", &settings.sortOrder);
    ReadDword(key, "Startup Style", &settings.startupStyle);
    ReadDword(key, "Double-Click Action", &settings.doubleClickAction);
    ReadDword(key, "Use IE Favorites", &settings.useFavorites);
    ReadDword(key, "Use Opera Hotlist", &settings.useOperaHotlist);
    ReadDword(key, "Icon Style", &settings.iconStyle);
    ReadDword(key, "Reposition Submenus", &settings.repositionSubmenus);
    ReadString(key, "Bookmark Filename", settings.bookmarkFile, sizeof settings.bookmarkFile);
}

static void SetFirstStartDefaults()
{
    settings.trayIcon = 1;
    settings.runAtStartup = 1;
    settings.refreshMenu = 1;
    settings.limitItemsPerColumn = 0;
    settings.itemsPerColumn = 25;
    settings.limitItemWidth = 1;
    settings.itemWidth = 250;
    settings.hotKey = 0x342;  // Ctrl+Shift+B
    settings.displayEmptyFolders = 1;
    settings.menuStyle = MENU_STYLE_DANCY;
    settings.snapMenuLeft = 0;
}

static void ReadRunAtStartup()
{
    HKEY run = OpenUserKey(RUN_KEY);
    settings.runAtStartup = RegQueryValueExA(run, RUN_VALUE, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(run);
}

static void DefaultIfUnread(int32_t *field, int32_t value)
{
    if (*field == -1)
        *field = value;
}

static void FindFavorites()
{
    HKEY folders;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, KEY_QUERY_VALUE, &folders) != ERROR_SUCCESS) {
        settings.useFavorites = 0;
        return;
    }
    DWORD size = 0;
    if (RegQueryValueExA(folders, "Favorites", nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0 ||
        !ReadString(folders, "Favorites", settings.favoritesPath, sizeof settings.favoritesPath))
        settings.useFavorites = 0;
    RegCloseKey(folders);
}

static void FindOperaHotlist()
{
    // Without a directory the profile functions look for opera.ini in the Windows directory.
    GetPrivateProfileStringA("USER PREFS", "HOT LIST FILE VER2", "", settings.operaHotlistPath,
                             sizeof settings.operaHotlistPath, "opera.ini");
    if (settings.operaHotlistPath[0] == '\0')
        settings.useOperaHotlist = 0;
}

void LoadSettings()
{
    HKEY key = OpenUserKey(PROGRAM_KEY);
    for (int32_t *unread : {&settings.menuStyle, &settings.sortOrder, &settings.startupStyle, &settings.doubleClickAction,
                            &settings.useFavorites, &settings.useOperaHotlist, &settings.iconStyle,
                            &settings.repositionSubmenus})
        *unread = -1;
    ReadStoredValues(key);
    RegCloseKey(key);

    // "Menu Style" is written by every save, so its absence marks the first start.
    if (settings.menuStyle == -1)
        SetFirstStartDefaults();
    else
        ReadRunAtStartup();
    DefaultIfUnread(&settings.sortOrder, SORT_ORDER_DEFAULT);
    DefaultIfUnread(&settings.startupStyle, SW_SHOWNORMAL);
    DefaultIfUnread(&settings.doubleClickAction, 4008);  // Search Bookmarks
    DefaultIfUnread(&settings.useFavorites, 0);
    DefaultIfUnread(&settings.useOperaHotlist, 0);
    DefaultIfUnread(&settings.iconStyle, ICON_STYLE_PER_SOURCE);
    DefaultIfUnread(&settings.repositionSubmenus, 1);
    settings.useBookmarkFile = settings.bookmarkFile[0] != '\0';
    if (settings.useFavorites)
        FindFavorites();
    if (settings.useOperaHotlist)
        FindOperaHotlist();
    SaveSettings();
}

// The command line as the program location; a trailing blank that some shells leave is cut.
static std::string ProgramLocation()
{
    std::string location = GetCommandLineA();
    if (!location.empty() && location.back() == ' ')
        location.pop_back();
    return location;
}

void SaveSettings()
{
    HKEY key = OpenUserKey(PROGRAM_KEY);
    WriteDword(key, "Tray Icon", settings.trayIcon);
    WriteDword(key, "Use IE Favorites", settings.useFavorites);
    WriteDword(key, "Use Opera Hotlist", settings.useOperaHotlist);
    WriteDword(key, "Icon Style", settings.iconStyle);
    WriteDword(key, "Refresh Menu", settings.refreshMenu);
    WriteDword(key, "Limit Menu Items Per Column", settings.limitItemsPerColumn);
    WriteDword(key, "Menu Items Per Column", settings.itemsPerColumn);
    WriteDword(key, "Limit Menu Item Width", settings.limitItemWidth);
    WriteDword(key, "Menu Item Width", settings.itemWidth);
    WriteDword(key, "Hot Key", settings.hotKey);
    WriteDword(key, "Display Empty Folders", settings.displayEmptyFolders);
    WriteDword(key, "Menu Style", settings.menuStyle);
    WriteDword(key, "Snap Menu Left", settings.snapMenuLeft);
    WriteDword(key, "Reposition Submenus", settings.repositionSubmenus);
    WriteDword(key, "Sort Order", settings.sortOrder);
    WriteDword(key, "Startup Style", settings.startupStyle);
    WriteDword(key, "Double-Click Action", settings.doubleClickAction);
    RegSetValueExA(key, "Bookmark Filename", 0, REG_SZ, reinterpret_cast<const BYTE *>(settings.bookmarkFile),
                   sizeof settings.bookmarkFile);
    std::string location = ProgramLocation();
    WriteString(key, "Program Location", location.c_str());
    char version[16];
    std::snprintf(version, sizeof version, "%d.%d%s", 1, 2, "2");
    WriteString(key, "Version", version);
    RegCloseKey(key);

    HKEY run = OpenUserKey(RUN_KEY);
    if (settings.runAtStartup)
        WriteString(run, RUN_VALUE, location.c_str());
    else
        RegDeleteValueA(run, RUN_VALUE);
    RegCloseKey(run);
}
