// Loading the icon sets from the program's resources and the shell's registered icons, and freeing them.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "base/app_state.h"
#include "menu/icon_sets.h"
#include "tests/support/gdi_counter_win.h"
#include "tests/support/win_test_helpers.h"

const char *const KEYS[] = {"Folder\\DefaultIcon", "InternetShortcut\\DefaultIcon"};
const std::string SHELL32 = "%SystemRoot%\\system32\\shell32.dll";

// Sets the default value of a HKEY_CLASSES_ROOT key, or deletes the key for null; returns what it held.
std::string SetDefaultIcon(const char *key, const char *value)
{
    char old[512] = "";
    LONG size = sizeof old;
    RegQueryValueA(HKEY_CLASSES_ROOT, key, old, &size);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    if (value)
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value, DWORD(strlen(value)));
    return old;
}

// The picture of an icon by name: "13" for the program's icon 13, "s3" for icon 3 of the shell's library.
std::string Name(HICON icon)
{
    std::vector<BYTE> bits = IconBits(icon);
    for (int own : {13, 14, 15, 16, 126, 127, 128})
        if (bits == IconBits(LoadIconA(appInstance, MAKEINTRESOURCEA(own))))
            return std::to_string(own);
    char path[MAX_PATH];
    ExpandEnvironmentStringsA(SHELL32.c_str(), path, sizeof path);
    for (int index : {3, 4, 5, 1, 0}) {  // Wine's icon 2 is the same picture as 3
        HICON shell = nullptr;
        ExtractIconExA(path, index, nullptr, &shell, 1);
        bool same = bits == IconBits(shell);
        DestroyIcon(shell);
        if (same)
            return "s" + std::to_string(index);
    }
    return icon ? "?" : "none";
}

// `count` sets from `first` (the three of the style, then the browsers'), slots open folder, closed folder,
// bookmark, mail link; "/" between the sets.
std::string Sets(int first = 0, int count = 3)
{
    std::string names;
    for (int slot = 0; slot < 4 * count; slot++)
        names += Name(iconSets[first + slot / 4][slot % 4]) + (slot == 4 * count - 1 ? "" : slot % 4 == 3 ? "/" : " ");
    return names;
}

TEST(IconSets, ShellIconsAndTheProgramsOwnWhereThereAreNone)
{
    std::string saved[2] = {SetDefaultIcon(KEYS[0], nullptr), SetDefaultIcon(KEYS[1], nullptr)};
    const std::string own = "13 14 15 16/", missing = "C:\\nowhere\\none.dll,0";
    const struct { const char *label; std::string folder, shortcut, sets; } rows[] = {
        {"nothing registered", "", "", own + "13 14 15 16/13 14 126 16"},
        {"the shell's own folder icon: its next icon opens", SHELL32 + ",3", SHELL32 + ",1", own + "s4 s3 s1 16/s4 s3 126 16"},
        {"another index: one picture open and closed", SHELL32 + ",5", "", own + "s5 s5 15 16/s5 s5 126 16"},
        {"no comma: the first icon", SHELL32, "", own + "s0 s0 15 16/s0 s0 126 16"},
        {"a quoted file does not end like the shell's value", "\"" + SHELL32 + "\",3", "", own + "s3 s3 15 16/s3 s3 126 16"},
        {"a missing file", missing, missing, own + "14 14 15 16/14 14 126 16"},
        {"a value longer than can be read", std::string(300, 'x'), std::string(300, 'x'), own + "14 14 15 16/14 14 126 16"},
        {"a missing file named like the shell's: no open picture", "C:\\nowhere\\shell32.dll,3", "", own + "none 14 15 16/none 14 126 16"},
    };
    for (const auto &row : rows) {
        SetDefaultIcon(KEYS[0], row.folder.empty() ? nullptr : row.folder.c_str());
        SetDefaultIcon(KEYS[1], row.shortcut.empty() ? nullptr : row.shortcut.c_str());
        LoadIconSets();
        EXPECT_EQ(Sets(), row.sets) << row.label;
        EXPECT_TRUE(iconSets[2][0] == iconSets[1][0] && iconSets[2][1] == iconSets[1][1]) << row.label << ": shared folders";
        DestroyIconSets();
    }

    // The browsers' sets take the shell's folders and the program of their App Paths entry (here Firefox's,
    // none of the Chromium family's), else globes 127 and 128. Slots share handles: each is destroyed once.
    const char firefox[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\firefox.exe";
    SetDefaultIcon(KEYS[0], (SHELL32 + ",3").c_str());
    SetDefaultIcon(KEYS[1], (SHELL32 + ",1").c_str());
    SHSetValueA(HKEY_CURRENT_USER, firefox, nullptr, REG_EXPAND_SZ, SHELL32.c_str(), DWORD(SHELL32.size() + 1));
    StartCountingGdiObjects();
    LoadIconSets();
    EXPECT_EQ(Name(iconSets[4][ICON_BOOKMARK]), "128") << "before the settings are known";
    LoadBrowserIcons();
    SHDeleteKeyA(HKEY_CURRENT_USER, firefox);
    EXPECT_EQ(Sets(3, 2), "s4 s3 127 16/s4 s3 s0 16");
    HICON extracted = iconSets[1][ICON_OPEN_FOLDER];
    long before = DestroyIconCalls();
    DestroyIconSets();
    EXPECT_EQ(DestroyIconCalls() - before, 6 + 3 + 1) << "icons 13 to 16, 126, 127, three from the shell, Firefox's";
    EXPECT_EQ(Sets(0, 5), "none none none none/none none none none/none none none none/none none none none/none none none none");
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(extracted, &info));
    for (int i = 0; i < 2; i++)
        SetDefaultIcon(KEYS[i], saved[i].empty() ? nullptr : saved[i].c_str());
}

