// The settings store against a scratch registry: first-start and missing-value defaults, damaged values,
// the start-up entry, what a save writes, and where the Favorites and the Opera hotlist are found.
#include "base/settings.h"
#include "settings/settings_store.h"
#include "tests/support/scratch_registry_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

const char KEY[] = "Software\\Olvane\\Tresk";
const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Each load ends with a save of the whole record, so the registry shows what the load made of every field.
void ExpectStored(std::initializer_list<std::pair<const char *, DWORD>> rows)
{
    for (const auto &row : rows)
        EXPECT_EQ(GetUserDword(KEY, row.first), row.second) << row.first;
}

void SetDword(const char *name, DWORD value) { SetUserValue(KEY, name, REG_DWORD, &value, sizeof value); }

TEST(SettingsStore, AnEmptyKeyIsAFirstStartAndTheWholeSetIsWritten)
{
    ScratchUserKey scratch;  // and the record zeroed, as the process starts
    LoadSettings();
    ExpectStored({{"Tray Icon", 1}, {"Refresh Menu", 1}, {"Limit Menu Items Per Column", 0},
                  {"Menu Items Per Column", 25}, {"Limit Menu Item Width", 1}, {"Menu Item Width", 250},
                  {"Hot Key", 0x342}, {"Display Empty Folders", 1}, {"Menu Style", 3}, {"Snap Menu Left", 0},
                  {"Sort Order", 0}, {"Startup Style", 1}, {"Double-Click Action", 4008}, {"Use IE Favorites", 0},
                  {"Use Opera Hotlist", 0}, {"Icon Style", 3}, {"Reposition Submenus", 1}});
    const std::string location = std::string(GetCommandLineA()) + '\0';  // the command line, with its NUL
    EXPECT_EQ(GetUserValue(KEY, "Program Location"), location);
    EXPECT_EQ(GetUserValue(RUN_KEY, "Tresk"), location);
    EXPECT_EQ(GetUserValue(KEY, "Version"), std::string("1.22", 5));
    DWORD type = 0;
    EXPECT_EQ(GetUserValue(KEY, "Bookmark Filename", &type), std::string(260, '\0')) << "the whole buffer";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

// A damaged value counts as missing; a name too long for its buffer is not taken, and nothing is written
// past it (the favorites path behind it carries a canary).
TEST(SettingsStore, ALaterStartDefaultsWhatIsMissingOrDamagedAndFindsTheRunValueAndTheFavorites)
{
    ScratchUserKey scratch;
    settings = Settings();
    const DWORD seven = 7;
    const std::string tooLong(1000, 'x'), longest(259, 'y');
    SetDword("Menu Style", 1);
    SetDword("Use IE Favorites", 1);
    SetDword("Use Opera Hotlist", 1);  // no opera.ini in the Windows directory
    SetUserString(KEY, "Tray Icon", "a long text, not a number");
    SetUserValue(KEY, "Hot Key", REG_BINARY, &seven, 2);
    SetUserValue(KEY, "Menu Items Per Column", REG_BINARY, &seven, 4);
    SetUserString(KEY, "Bookmark Filename", tooLong.c_str());
    std::memset(settings.favoritesPath, 0x5A, sizeof settings.favoritesPath);
    LoadSettings();
    ExpectStored({{"Tray Icon", 0}, {"Hot Key", 0}, {"Menu Items Per Column", 7}, {"Menu Style", 1},
                  {"Sort Order", 0}, {"Startup Style", 1}, {"Double-Click Action", 4008}, {"Icon Style", 3},
                  {"Reposition Submenus", 1}, {"Use IE Favorites", 0}, {"Use Opera Hotlist", 0}});
    EXPECT_STREQ(settings.bookmarkFile, "");
    EXPECT_EQ(static_cast<unsigned char>(settings.favoritesPath[0]), 0x5A);
    EXPECT_EQ(GetUserValue(RUN_KEY, "Tresk"), "<missing>") << "start-up off";

    SetUserString(RUN_KEY, "Tresk", "C:\\old\\tresk.exe");
    SetUserString("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites", "C:\\Fav");
    SetDword("Use IE Favorites", 1);
    SetUserString(KEY, "Bookmark Filename", longest.c_str());
    LoadSettings();
    EXPECT_EQ(GetUserValue(RUN_KEY, "Tresk"), std::string(GetCommandLineA()) + '\0') << "start-up on";
    ExpectStored({{"Use IE Favorites", 1}});
    EXPECT_STREQ(settings.favoritesPath, "C:\\Fav");
    EXPECT_EQ(settings.bookmarkFile, longest);
    EXPECT_EQ(settings.useBookmarkFile, 1);
}

}  // namespace
