// The icon sets of the bookmark menu: the program's own pictures, the shell's registered folder and
// Internet-shortcut icons, the shell's folders with the program's Opera-style bookmark, and the shell's
// folders with the browsers' own icons (or generic globes) for the Chromium family and Firefox.
#include "menu/icon_sets.h"

#include <shellapi.h>

#include <string>

#include "base/app_state.h"
#include "base/settings.h"
#include "bookmarks/browser_profiles.h"
#include "menu/icon_location.h"
#include "res/menu_ids.h"

HICON iconSets[SOURCE_COUNT][4];

static const DWORD VALUE_LIMIT = 255;

static HICON LoadOwnIcon(int id) { return LoadIconA(appInstance, MAKEINTRESOURCEA(id)); }

// ExtractIconEx hands back 1 for a file that is not an executable or icon file: as much a failure as 0.
static bool IsIconHandle(HICON icon) { return reinterpret_cast<UINT_PTR>(icon) > 1; }

static HICON ExtractSmallOrLarge(const char *file, int index)
{
    HICON icon = nullptr;
    ExtractIconExA(file, index, nullptr, &icon, 1);
    if (IsIconHandle(icon))
        return icon;
    icon = nullptr;
    ExtractIconExA(file, index, &icon, nullptr, 1);
    return IsIconHandle(icon) ? icon : nullptr;
}

// The default value of HKEY_CLASSES_ROOT\<key> as stored (raw) and with its environment variables
// expanded. False when the key cannot be opened; a value that cannot be read or expanded is empty.
static bool ReadDefaultIcon(const char *key, char (&raw)[256], char (&expanded)[256])
{
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    DWORD size = VALUE_LIMIT;
    if (RegQueryValueExA(handle, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(raw), &size) != ERROR_SUCCESS)
        size = 0;
    raw[size < VALUE_LIMIT ? size : VALUE_LIMIT] = '\0';
    RegCloseKey(handle);
    DWORD needed = ExpandEnvironmentStringsA(raw, expanded, VALUE_LIMIT);
    if (needed == 0 || needed > VALUE_LIMIT)
        expanded[0] = '\0';
    expanded[VALUE_LIMIT] = '\0';
    return true;
}

// The icon that "file,index" names, or null.
static HICON ExtractLocation(const char *location, int indexStep)
{
    char file[MAX_PATH];
    int index;
    if (!SplitIconLocation(location, file, sizeof file, &index))
        return nullptr;
    return ExtractSmallOrLarge(file, index + indexStep);
}

static void LoadShellBookmarkIcon()
{
    char raw[256], expanded[256];
    HICON icon = nullptr;
    if (ReadDefaultIcon("InternetShortcut\\DefaultIcon", raw, expanded))
        icon = ExtractLocation(expanded, 0);
    iconSets[1][ICON_BOOKMARK] = icon ? icon : LoadOwnIcon(IDI_BOOKMARK);
}

static void LoadShellFolderIcons()
{
    char raw[256], expanded[256];
    if (!ReadDefaultIcon("Folder\\DefaultIcon", raw, expanded)) {
        iconSets[1][ICON_OPEN_FOLDER] = LoadOwnIcon(IDI_OPEN_FOLDER);
        iconSets[1][ICON_CLOSED_FOLDER] = LoadOwnIcon(IDI_CLOSED_FOLDER);
        return;
    }
    HICON closed = ExtractLocation(expanded, 0);
    if (closed) {
        iconSets[1][ICON_CLOSED_FOLDER] = closed;
    } else {
        iconSets[1][ICON_OPEN_FOLDER] = LoadOwnIcon(IDI_OPEN_FOLDER);
        iconSets[1][ICON_CLOSED_FOLDER] = LoadOwnIcon(IDI_CLOSED_FOLDER);
    }
    // The shell's own folder icon (index 3 of shell32.dll) has its open picture right after it; any
    // other registered folder icon shows the same picture open and closed.
    if (EndsWithShellFolderIcon(raw))
        iconSets[1][ICON_OPEN_FOLDER] = ExtractLocation(expanded, 1);
    else
        iconSets[1][ICON_OPEN_FOLDER] = iconSets[1][ICON_CLOSED_FOLDER];
}

void LoadIconSets()
{
    iconSets[0][ICON_OPEN_FOLDER] = LoadOwnIcon(IDI_OPEN_FOLDER);
    iconSets[0][ICON_CLOSED_FOLDER] = LoadOwnIcon(IDI_CLOSED_FOLDER);
    iconSets[0][ICON_BOOKMARK] = LoadOwnIcon(IDI_BOOKMARK);
    iconSets[0][ICON_MAIL_LINK] = LoadOwnIcon(IDI_MAIL_LINK);
    LoadShellBookmarkIcon();
    LoadShellFolderIcons();
    iconSets[1][ICON_MAIL_LINK] = LoadOwnIcon(IDI_MAIL_LINK);
    iconSets[2][ICON_OPEN_FOLDER] = iconSets[1][ICON_OPEN_FOLDER];
    iconSets[2][ICON_CLOSED_FOLDER] = iconSets[1][ICON_CLOSED_FOLDER];
    iconSets[2][ICON_BOOKMARK] = LoadOwnIcon(IDI_OPERA_BOOKMARK);
    iconSets[2][ICON_MAIL_LINK] = LoadOwnIcon(IDI_MAIL_LINK);
    const int globes[] = {IDI_CHROMIUM_BOOKMARK, IDI_FIREFOX_BOOKMARK};
    for (int set = SOURCE_CHROMIUM; set <= SOURCE_FIREFOX; set++) {
        iconSets[set][ICON_OPEN_FOLDER] = iconSets[1][ICON_OPEN_FOLDER];
        iconSets[set][ICON_CLOSED_FOLDER] = iconSets[1][ICON_CLOSED_FOLDER];
        iconSets[set][ICON_BOOKMARK] = LoadOwnIcon(globes[set - SOURCE_CHROMIUM]);
        iconSets[set][ICON_MAIL_LINK] = LoadOwnIcon(IDI_MAIL_LINK);
    }
}

// The first icon of the program registered under App Paths (the user's own entry, then the machine's; the
// path may name environment variables); null when the program is not installed.
static HICON ProgramIcon(const char *program)
{
    std::string key = std::string("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + program;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        char path[MAX_PATH] = "";
        DWORD size = sizeof path - 1;
        HKEY handle;
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
            continue;
        LONG result = RegQueryValueExA(handle, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(path), &size);
        RegCloseKey(handle);
        char expanded[MAX_PATH], file[MAX_PATH];
        int index;
        DWORD needed = ExpandEnvironmentStringsA(path, expanded, sizeof expanded);
        if (result == ERROR_SUCCESS && needed > 0 && needed <= sizeof expanded &&
            SplitIconLocation(expanded, file, sizeof file, &index))
            if (HICON icon = ExtractSmallOrLarge(file, 0))
                return icon;
    }
    return nullptr;
}

void LoadBrowserIcons()
{
    const char *programs[] = {ChromiumBrowserOf(settings.chromiumBookmarksPath).program, "firefox.exe"};
    for (int set = SOURCE_CHROMIUM; set <= SOURCE_FIREFOX; set++)
        if (HICON icon = ProgramIcon(programs[set - SOURCE_CHROMIUM]))
            iconSets[set][ICON_BOOKMARK] = icon;
}

void DestroyIconSets()
{
    // Slots share handles (LoadIcon gives one handle per resource; sets 2 to 4 borrow set 1's folders, set 1
    // its open folder from its closed one): each handle is destroyed once.
    HICON *slots = &iconSets[0][0];
    const int count = SOURCE_COUNT * 4;
    for (int i = 0; i < count; i++) {
        bool seen = false;
        for (int j = 0; j < i && !seen; j++)
            seen = slots[j] == slots[i];
        if (slots[i] && !seen)
            DestroyIcon(slots[i]);
    }
    for (int i = 0; i < count; i++)
        slots[i] = nullptr;
}
