// The settings store against a scratch registry: HKEY_CURRENT_USER is redirected to a key of its own, so
// the program's key, the Run key and the Shell Folders key are all scratch copies.
#include "base/settings.h"
#include "settings/settings_store.h"

#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char SCRATCH[] = "Software\\TreskSettingsStoreTest";

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        SHDeleteKeyA(HKEY_CURRENT_USER, SCRATCH);
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SCRATCH, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), ERROR_SUCCESS);
        settings = Settings();
    }
    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        RegCloseKey(scratch);
        SHDeleteKeyA(HKEY_CURRENT_USER, SCRATCH);
    }

    static HKEY Key(const char *path)
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    static void Set(const char *name, DWORD type, const void *data, DWORD size)
    {
        HKEY key = Key("Software\\Olvane\\Tresk");
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
        RegCloseKey(key);
    }
    static void SetDword(const char *name, DWORD value) { Set(name, REG_DWORD, &value, sizeof value); }
    static DWORD Stored(const char *name)
    {
        DWORD value = 0xDEADBEEF, size = sizeof value;
        HKEY key = Key("Software\\Olvane\\Tresk");
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size);
        RegCloseKey(key);
        return value;
    }
    static bool RunValueExists()
    {
        HKEY key = Key("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
        bool exists = RegQueryValueExA(key, "Tresk", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return exists;
    }

    HKEY scratch = nullptr;
};

struct FieldRow {
    const char *name;
    const int32_t *field;
    int32_t want;
};

TEST_F(SettingsStore, EmptyKeyIsAFirstStart)
{
    LoadSettings();
    const FieldRow rows[] = {
        {"Tray Icon", &settings.trayIcon, 1}, {"Refresh Menu", &settings.refreshMenu, 1},
        {"Limit Menu Items Per Column", &settings.limitItemsPerColumn, 0},
        {"Menu Items Per Column", &settings.itemsPerColumn, 25}, {"Limit Menu Item Width", &settings.limitItemWidth, 1},
        {"Menu Item Width", &settings.itemWidth, 250}, {"Hot Key", &settings.hotKey, 0x342},
        {"Display Empty Folders", &settings.displayEmptyFolders, 1}, {"Menu Style", &settings.menuStyle, 3},
        {"Snap Menu Left", &settings.snapMenuLeft, 0}, {"Sort Order", &settings.sortOrder, 0},
        {"Startup Style", &settings.startupStyle, 1}, {"Double-Click Action", &settings.doubleClickAction, 4008},
        {"Use IE Favorites", &settings.useFavorites, 0}, {"Use Opera Hotlist", &settings.useOperaHotlist, 0},
        {"Icon Style", &settings.iconStyle, 3}, {"Reposition Submenus", &settings.repositionSubmenus, 1},
    };
    for (const FieldRow &row : rows) {
        EXPECT_EQ(*row.field, row.want) << row.name;
        EXPECT_EQ(Stored(row.name), static_cast<DWORD>(row.want)) << row.name << " as stored";
    }
    EXPECT_EQ(settings.runAtStartup, 1);
    EXPECT_EQ(settings.useBookmarkFile, 0);
    EXPECT_TRUE(RunValueExists());
}

TEST_F(SettingsStore, StoredKeyWithoutSomeValuesTakesTheirDefaults)
{
    SetDword("Menu Style", 1);
    SetDword("Sort Order", 2);
    LoadSettings();
    EXPECT_EQ(settings.trayIcon, 0) << "missing Tray Icon on a later start means off";
    EXPECT_EQ(settings.menuStyle, 1);
    EXPECT_EQ(settings.sortOrder, 2);
    EXPECT_EQ(settings.iconStyle, 3);
    EXPECT_EQ(settings.repositionSubmenus, 1);
    EXPECT_EQ(settings.itemsPerColumn, 0);
    EXPECT_EQ(settings.runAtStartup, 0) << "no Run value";
    EXPECT_FALSE(RunValueExists());
    EXPECT_EQ(Stored("Tray Icon"), 0u);
}

TEST_F(SettingsStore, RunValueDecidesStartWithWindows)
{
    SetDword("Menu Style", 3);
    HKEY run = Key("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    RegSetValueExA(run, "Tresk", 0, REG_SZ, reinterpret_cast<const BYTE *>("old"), 4);
    RegCloseKey(run);
    LoadSettings();
    EXPECT_EQ(settings.runAtStartup, 1);
    EXPECT_TRUE(RunValueExists());
}

// A damaged value must never write past its field: the neighbours of every field carry a canary.
TEST_F(SettingsStore, WrongTypesAndSizesNeverOverrunAField)
{
    SetDword("Menu Style", 2);
    Set("Tray Icon", REG_SZ, "a long text, not a number", 26);
    const unsigned long long eight = 0x1122334455667788ULL;
    Set("Menu Item Width", REG_QWORD, &eight, sizeof eight);
    const unsigned short two = 0x4242;
    Set("Hot Key", REG_BINARY, &two, sizeof two);
    const DWORD binaryFour = 7;
    Set("Menu Items Per Column", REG_BINARY, &binaryFour, sizeof binaryFour);
    std::string longName(1000, 'x');
    Set("Bookmark Filename", REG_SZ, longName.c_str(), static_cast<DWORD>(longName.size() + 1));

    std::memset(settings.favoritesPath, 0x5A, sizeof settings.favoritesPath);
    LoadSettings();
    EXPECT_EQ(settings.trayIcon, 0);
    EXPECT_EQ(settings.itemWidth, 0);
    EXPECT_EQ(settings.hotKey, 0);
    EXPECT_EQ(settings.itemsPerColumn, 7) << "a 4-byte value is taken whatever its type";
    EXPECT_STREQ(settings.bookmarkFile, "") << "a name longer than the buffer is not taken";
    EXPECT_EQ(settings.useBookmarkFile, 0);
    EXPECT_EQ(static_cast<unsigned char>(settings.favoritesPath[0]), 0x5A) << "write past bookmarkFile";
}

TEST_F(SettingsStore, BookmarkFilenameIsTerminatedAndStoredAsTheWholeBuffer)
{
    SetDword("Menu Style", 3);
    std::string longest(259, 'y');
    Set("Bookmark Filename", REG_SZ, longest.c_str(), 260);
    LoadSettings();
    EXPECT_EQ(settings.bookmarkFile, longest) << "259 characters and the NUL fill the buffer";
    EXPECT_EQ(settings.useBookmarkFile, 1);

    // 260 characters without a NUL do not fit with one.
    settings = Settings();
    std::string unterminated(260, 'z');
    Set("Bookmark Filename", REG_SZ, unterminated.data(), 260);
    std::memset(settings.favoritesPath, 0x5A, sizeof settings.favoritesPath);
    LoadSettings();
    EXPECT_LT(std::strlen(settings.bookmarkFile), 260u);
    EXPECT_EQ(static_cast<unsigned char>(settings.favoritesPath[0]), 0x5A) << "write past bookmarkFile";

    std::strcpy(settings.bookmarkFile, "C:\\b.htm");
    SaveSettings();
    HKEY key = Key("Software\\Olvane\\Tresk");
    char stored[300];
    DWORD size = sizeof stored, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Bookmark Filename", nullptr, &type, reinterpret_cast<BYTE *>(stored), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 260u);
    EXPECT_STREQ(stored, "C:\\b.htm");
    size = sizeof stored;
    ASSERT_EQ(RegQueryValueExA(key, "Version", nullptr, nullptr, reinterpret_cast<BYTE *>(stored), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    EXPECT_STREQ(stored, "1.22");
    RegCloseKey(key);
}

TEST_F(SettingsStore, MissingFavoritesAndOperaTurnTheirOptionsOff)
{
    SetDword("Menu Style", 3);
    SetDword("Use IE Favorites", 1);
    SetDword("Use Opera Hotlist", 1);
    LoadSettings();
    EXPECT_EQ(settings.useFavorites, 0);
    EXPECT_EQ(settings.useOperaHotlist, 0) << "no opera.ini in the Windows directory";
    EXPECT_EQ(Stored("Use IE Favorites"), 0u);
    EXPECT_EQ(Stored("Use Opera Hotlist"), 0u);
}

TEST_F(SettingsStore, FavoritesFolderIsFoundInShellFolders)
{
    SetDword("Menu Style", 3);
    SetDword("Use IE Favorites", 1);
    HKEY folders = Key("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    RegSetValueExA(folders, "Favorites", 0, REG_SZ, reinterpret_cast<const BYTE *>("C:\\Fav"), 7);
    RegCloseKey(folders);
    LoadSettings();
    EXPECT_EQ(settings.useFavorites, 1);
    EXPECT_STREQ(settings.favoritesPath, "C:\\Fav");
}

}  // namespace
