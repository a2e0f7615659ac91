// Loading and saving the settings record under HKEY_CURRENT_USER\Software\Olvane\Tresk, and the start-up entry.
#include "settings/settings_store.h"

#include "base/ascii_case.h"
#include "base/fatal_error.h"
#include "base/settings.h"
#include "bookmarks/browser_profiles.h"
#include "res/resource.h"
#include "settings/hot_key.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

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

// A field that was not read: the defaults "when missing" replace it, and "Menu Style" unread marks a first start.
const int32_t NOT_READ = -1;
const int32_t NO_DEFAULT = INT32_MIN;

// Every stored DWORD with its defaults: set on a first start (otherwise a missing value leaves its field
// at 0), or taken whenever the value is missing. Written in this order; reading has no effects, so it
// reads in the same order.
struct StoredValue {
    const char *name;
    int32_t Settings::*field;
    int32_t firstStart;
    int32_t whenMissing;
};

const StoredValue STORED_VALUES[] = {
    {"Tray Icon", &Settings::trayIcon, 1, NO_DEFAULT},
    {"Use IE Favorites", &Settings::useFavorites, NO_DEFAULT, 0},
    {"Use Opera Hotlist", &Settings::useOperaHotlist, NO_DEFAULT, 0},
    {"Icon Style", &Settings::iconStyle, NO_DEFAULT, ICON_STYLE_PER_SOURCE},
    {"Refresh Menu", &Settings::refreshMenu, 1, NO_DEFAULT},
    {"Limit Menu Items Per Column", &Settings::limitItemsPerColumn, 0, NO_DEFAULT},
    {"Menu Items Per Column", &Settings::itemsPerColumn, 25, NO_DEFAULT},
    {"Limit Menu Item Width", &Settings::limitItemWidth, 1, NO_DEFAULT},
    {"Menu Item Width", &Settings::itemWidth, 250, NO_DEFAULT},
    {"Hot Key", &Settings::hotKey, 0x342, NO_DEFAULT},  // Ctrl+Shift+B
    {"Display Empty Folders", &Settings::displayEmptyFolders, 1, NO_DEFAULT},
    {"Menu Style", &Settings::menuStyle, MENU_STYLE_DANCY, NO_DEFAULT},
    {"Snap Menu Left", &Settings::snapMenuLeft, 0, NO_DEFAULT},
    {"Reposition Submenus", &Settings::repositionSubmenus, NO_DEFAULT, 1},
    {"Sort Order", &Settings::sortOrder, NO_DEFAULT, SORT_ORDER_DEFAULT},
    {"Startup Style", &Settings::startupStyle, NO_DEFAULT, SW_SHOWNORMAL},
    {"Double-Click Action", &Settings::doubleClickAction, NO_DEFAULT, IDC_CMD_SEARCH},
    // On at a first start, and turned off again when the browser's bookmarks are not found.
    {"Use Chromium Bookmarks", &Settings::useChromium, 1, 0},
    {"Use Firefox Bookmarks", &Settings::useFirefox, 1, 0},
};

// The paths of the browsers' bookmarks, found at every load; a user may write paths of his own there.
const struct {
    const char *name;
    char (Settings::*field)[260];
} STORED_PATHS[] = {
    {"Chromium Bookmarks File", &Settings::chromiumBookmarksPath},
    {"Firefox Places File", &Settings::firefoxPlacesPath},
};

static void ReadRunAtStartup()
{
    HKEY run = OpenUserKey(RUN_KEY);
    settings.runAtStartup = RegQueryValueExA(run, RUN_VALUE, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(run);
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

static std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    return SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? path : "";
}

static bool FileExists(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static void TakePath(char (&field)[260], const std::string &path)
{
    std::snprintf(field, sizeof field, "%s", path.size() < sizeof field ? path.c_str() : "");
}

// A stored path inside the browsers' own folders is looked for again at every load, so that a change of
// browser or profile is followed; one elsewhere is the user's own and stays while its file is there.
static void FindBrowserBookmarks()
{
    std::string local = ShellFolder(CSIDL_LOCAL_APPDATA), roaming = ShellFolder(CSIDL_APPDATA);
    std::string firefox = roaming + "\\Mozilla\\Firefox";
    bool chromiumOwn = FileExists(settings.chromiumBookmarksPath) && !InChromiumUserData(settings.chromiumBookmarksPath, local);
    if (!chromiumOwn && !local.empty())
        TakePath(settings.chromiumBookmarksPath, FindChromiumBookmarks(local));
    bool firefoxOwn = FileExists(settings.firefoxPlacesPath) &&
                      !StartsWithNoCase(settings.firefoxPlacesPath, (firefox + "\\").c_str());
    if (!firefoxOwn && !roaming.empty())
        TakePath(settings.firefoxPlacesPath, FindFirefoxPlaces(firefox));
    if (!FileExists(settings.chromiumBookmarksPath))
        settings.chromiumBookmarksPath[0] = '\0';
    if (!FileExists(settings.firefoxPlacesPath))
        settings.firefoxPlacesPath[0] = '\0';
    if (settings.chromiumBookmarksPath[0] == '\0')
        settings.useChromium = 0;
    if (settings.firefoxPlacesPath[0] == '\0')
        settings.useFirefox = 0;
}

void LoadSettings()
{
    HKEY key = OpenUserKey(SETTINGS_KEY);
    settings.menuStyle = NOT_READ;
    for (const StoredValue &value : STORED_VALUES) {
        if (value.whenMissing != NO_DEFAULT)
            settings.*value.field = NOT_READ;
    }
    for (const StoredValue &value : STORED_VALUES)
        ReadDword(key, value.name, &(settings.*value.field));
    ReadString(key, "Bookmark Filename", settings.bookmarkFile, sizeof settings.bookmarkFile);
    for (const auto &path : STORED_PATHS)
        ReadString(key, path.name, settings.*path.field, sizeof(settings.*path.field));
    RegCloseKey(key);
    RegisterAppHotKey(settings.hotKey);

    // "Menu Style" is written by every save, so its absence marks the first start.
    bool firstStart = settings.menuStyle == NOT_READ;
    if (firstStart)
        settings.runAtStartup = 1;
    else
        ReadRunAtStartup();
    for (const StoredValue &value : STORED_VALUES) {
        if (firstStart && value.firstStart != NO_DEFAULT)
            settings.*value.field = value.firstStart;
        if (value.whenMissing != NO_DEFAULT && settings.*value.field == NOT_READ)
            settings.*value.field = value.whenMissing;
    }
    settings.useBookmarkFile = settings.bookmarkFile[0] != '\0';
    if (settings.useFavorites)
        FindFavorites();
    if (settings.useOperaHotlist)
        FindOperaHotlist();
    FindBrowserBookmarks();
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
    HKEY key = OpenUserKey(SETTINGS_KEY);
    for (const StoredValue &value : STORED_VALUES)
        WriteDword(key, value.name, settings.*value.field);
    RegSetValueExA(key, "Bookmark Filename", 0, REG_SZ, reinterpret_cast<const BYTE *>(settings.bookmarkFile),
                   sizeof settings.bookmarkFile);
    for (const auto &path : STORED_PATHS)
        WriteString(key, path.name, settings.*path.field);
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
