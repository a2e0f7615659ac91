// Loading the icon sets from the program's resources and the shell's registered icons.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell.h"
#include "menu/icon_sets.h"
#include "res/menu_ids.h"
#include "tests/support/gdi_counter_win.h"

namespace {

const char *const KEYS[] = {"Folder\\DefaultIcon", "InternetShortcut\\DefaultIcon"};

// What a HKEY_CLASSES_ROOT key held before the test, to put back afterwards.
struct SavedValue {
    bool existed = false;
    bool hadValue = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};

SavedValue Save(const char *key)
{
    SavedValue saved;
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return saved;
    saved.existed = true;
    DWORD size = 0;
    if (RegQueryValueExA(handle, nullptr, nullptr, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
        saved.data.resize(size);
        saved.hadValue = RegQueryValueExA(handle, nullptr, nullptr, &saved.type, saved.data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return saved;
}

void Restore(const char *key, const SavedValue &saved)
{
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    if (!saved.existed)
        return;
    HKEY handle;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (saved.hadValue)
        RegSetValueExA(handle, nullptr, 0, saved.type, saved.data.data(), static_cast<DWORD>(saved.data.size()));
    RegCloseKey(handle);
}

void SetDefaultIcon(const char *key, const char *value)
{
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(handle);
}

HICON Own(int id) { return LoadIconA(appInstance, MAKEINTRESOURCEA(id)); }

// The colour bits of an icon, to tell two handles of the same picture from different pictures.
std::vector<BYTE> Picture(HICON icon)
{
    std::vector<BYTE> bits;
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return bits;
    BITMAP bitmap;
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = bitmap.bmWidth;
    header.bmiHeader.biHeight = bitmap.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    bits.resize(size_t(bitmap.bmWidth) * bitmap.bmHeight * 4);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor ? info.hbmColor : info.hbmMask, 0, bitmap.bmHeight, bits.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bits;
}

std::vector<BYTE> ShellPicture(const char *file, int index)
{
    HICON icon = nullptr;
    ExtractIconExA(file, index, nullptr, &icon, 1);
    std::vector<BYTE> bits = Picture(icon);
    if (icon)
        DestroyIcon(icon);
    return bits;
}

std::string Shell32()
{
    char path[MAX_PATH];
    ExpandEnvironmentStringsA("%SystemRoot%\\system32\\shell32.dll", path, sizeof path);
    return path;
}

class IconSets : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 2; i++)
            saved[i] = Save(KEYS[i]);
        for (const char *key : KEYS)
            RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }
    void TearDown() override
    {
        DestroyIconSets();
        for (int i = 0; i < 2; i++)
            Restore(KEYS[i], saved[i]);
    }
    SavedValue saved[2];
};

TEST_F(IconSets, ProgramPicturesWhenTheShellRegistersNone)
{
    LoadIconSets();
    EXPECT_EQ(iconSets[0][ICON_OPEN_FOLDER], Own(IDI_OPEN_FOLDER));
    EXPECT_EQ(iconSets[0][ICON_CLOSED_FOLDER], Own(IDI_CLOSED_FOLDER));
    EXPECT_EQ(iconSets[0][ICON_BOOKMARK], Own(IDI_BOOKMARK));
    EXPECT_EQ(iconSets[0][ICON_MAIL_LINK], Own(IDI_MAIL_LINK));
    EXPECT_EQ(iconSets[1][ICON_OPEN_FOLDER], Own(IDI_OPEN_FOLDER));
    EXPECT_EQ(iconSets[1][ICON_CLOSED_FOLDER], Own(IDI_CLOSED_FOLDER));
    EXPECT_EQ(iconSets[1][ICON_BOOKMARK], Own(IDI_BOOKMARK));
    EXPECT_EQ(iconSets[2][ICON_OPEN_FOLDER], iconSets[1][ICON_OPEN_FOLDER]);
    EXPECT_EQ(iconSets[2][ICON_CLOSED_FOLDER], iconSets[1][ICON_CLOSED_FOLDER]);
    EXPECT_EQ(iconSets[2][ICON_BOOKMARK], Own(IDI_OPERA_BOOKMARK));
    for (int set = 0; set < 3; set++) {
        EXPECT_EQ(iconSets[set][ICON_MAIL_LINK], Own(IDI_MAIL_LINK)) << set;
        for (int slot = 0; slot < 4; slot++)
            EXPECT_NE(iconSets[set][slot], nullptr) << set << "/" << slot;
    }
    EXPECT_NE(Picture(Own(IDI_OPERA_BOOKMARK)), Picture(Own(IDI_BOOKMARK)));
}

TEST_F(IconSets, ShellFolderIconGivesItsNextIconForOpenFolders)
{
    SetDefaultIcon("Folder\\DefaultIcon", "%SystemRoot%\\System32\\SHELL32.dll,3");
    SetDefaultIcon("InternetShortcut\\DefaultIcon", "%SystemRoot%\\system32\\shell32.dll,1");
    std::string shell32 = Shell32();
    ASSERT_FALSE(ShellPicture(shell32.c_str(), 3).empty()) << "shell32.dll must hold icons here";
    LoadIconSets();
    EXPECT_EQ(Picture(iconSets[1][ICON_CLOSED_FOLDER]), ShellPicture(shell32.c_str(), 3));
    EXPECT_EQ(Picture(iconSets[1][ICON_OPEN_FOLDER]), ShellPicture(shell32.c_str(), 4));
    EXPECT_NE(iconSets[1][ICON_OPEN_FOLDER], iconSets[1][ICON_CLOSED_FOLDER]);
    EXPECT_EQ(Picture(iconSets[1][ICON_BOOKMARK]), ShellPicture(shell32.c_str(), 1));
    EXPECT_EQ(iconSets[2][ICON_CLOSED_FOLDER], iconSets[1][ICON_CLOSED_FOLDER]);
    EXPECT_EQ(iconSets[1][ICON_MAIL_LINK], Own(IDI_MAIL_LINK));
}

TEST_F(IconSets, OtherFolderIconsShowTheSamePictureOpenAndClosed)
{
    std::string shell32 = Shell32();
    const struct {
        const char *label;
        std::string value;
        int index;
    } cases[] = {
        {"another index of shell32", shell32 + ",5", 5},
        {"no backslash before the name", "shell32.dll,3", 3},
        {"no comma: the first icon", shell32, 0},
        {"quoted file", "\"" + shell32 + "\",3", 3},  // does not end with the shell's own value
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        SetDefaultIcon("Folder\\DefaultIcon", c.value.c_str());
        LoadIconSets();
        EXPECT_NE(iconSets[1][ICON_CLOSED_FOLDER], Own(IDI_CLOSED_FOLDER));
        EXPECT_EQ(Picture(iconSets[1][ICON_CLOSED_FOLDER]), ShellPicture(shell32.c_str(), c.index));
        EXPECT_EQ(iconSets[1][ICON_OPEN_FOLDER], iconSets[1][ICON_CLOSED_FOLDER]);
        EXPECT_EQ(iconSets[2][ICON_OPEN_FOLDER], iconSets[1][ICON_CLOSED_FOLDER]);
        DestroyIconSets();
    }
}

TEST_F(IconSets, FailedExtractionFallsBackToTheProgramPictures)
{
    char text[MAX_PATH];
    GetTempPathA(sizeof text, text);
    std::string notIcons = std::string(text) + "tresk-not-icons.txt";
    HANDLE file = CreateFileA(notIcons.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, "not a program", 13, &written, nullptr);
    CloseHandle(file);
    for (std::string value : {std::string("C:\\nowhere\\none.dll,0"), notIcons + ",0", std::string(""), std::string(300, 'x')}) {
        SCOPED_TRACE(value.substr(0, 40));
        SetDefaultIcon("InternetShortcut\\DefaultIcon", value.c_str());
        SetDefaultIcon("Folder\\DefaultIcon", value.c_str());
        LoadIconSets();
        EXPECT_EQ(iconSets[1][ICON_BOOKMARK], Own(IDI_BOOKMARK));
        EXPECT_EQ(iconSets[1][ICON_CLOSED_FOLDER], Own(IDI_CLOSED_FOLDER));
        // Not the shell's own folder value: open shows the closed picture.
        EXPECT_EQ(iconSets[1][ICON_OPEN_FOLDER], Own(IDI_CLOSED_FOLDER));
        DestroyIconSets();
    }
    DeleteFileA(notIcons.c_str());
}

TEST_F(IconSets, MissingShellFileNamedLikeTheShellLeavesOpenFolderEmpty)
{
    SetDefaultIcon("Folder\\DefaultIcon", "C:\\nowhere\\shell32.dll,3");
    LoadIconSets();
    EXPECT_EQ(iconSets[1][ICON_CLOSED_FOLDER], Own(IDI_CLOSED_FOLDER));
    EXPECT_EQ(iconSets[1][ICON_OPEN_FOLDER], nullptr);
}

// Firefox's App Paths entry lends set 4 its program's icon; no Chromium browser is installed, so set 3 keeps
// its own globe.
TEST_F(IconSets, EveryHandleIsDestroyedOnce)
{
    const char appPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\firefox.exe";
    const char program[] = "C:\\windows\\system32\\shell32.dll";
    SetDefaultIcon("Folder\\DefaultIcon", "%SystemRoot%\\System32\\SHELL32.dll,3");
    SetDefaultIcon("InternetShortcut\\DefaultIcon", "%SystemRoot%\\system32\\shell32.dll,1");
    SHSetValueA(HKEY_CURRENT_USER, appPath, nullptr, REG_SZ, program, sizeof program);
    StartCountingGdiObjects();
    LoadIconSets();
    LoadBrowserIcons();
    SHDeleteKeyA(HKEY_CURRENT_USER, appPath);
    EXPECT_EQ(iconSets[3][ICON_BOOKMARK], Own(IDI_CHROMIUM_BOOKMARK));
    EXPECT_NE(iconSets[4][ICON_BOOKMARK], Own(IDI_FIREFOX_BOOKMARK));
    EXPECT_EQ(iconSets[4][ICON_CLOSED_FOLDER], iconSets[1][ICON_CLOSED_FOLDER]);
    // Own 13-16, 126 and 127 (the set 1 folder slots hold shell icons) plus three shell icons and Firefox's.
    HICON extracted = iconSets[1][ICON_OPEN_FOLDER];
    long before = DestroyIconCalls();
    DestroyIconSets();
    EXPECT_EQ(DestroyIconCalls() - before, 6 + 3 + 1);
    for (int set = 0; set < SOURCE_COUNT; set++)
        for (int slot = 0; slot < 4; slot++)
            EXPECT_EQ(iconSets[set][slot], nullptr);
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(extracted, &info)) << "extracted icons are really destroyed";
}

}  // namespace

namespace {

// Which pixels of an icon are opaque, from its mask (black = opaque), as rows of 0/1.
std::vector<std::vector<int>> Opaque(HICON icon, int *width, int *height)
{
    std::vector<std::vector<int>> rows;
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return rows;
    BITMAP mask;
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    *width = mask.bmWidth;
    *height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    BITMAPINFO header = {};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = mask.bmWidth;
    header.bmiHeader.biHeight = -mask.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bits(size_t(mask.bmWidth) * mask.bmHeight);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmMask, 0, mask.bmHeight, bits.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    for (int y = 0; y < *height; y++) {
        rows.emplace_back();
        for (int x = 0; x < *width; x++)
            rows.back().push_back((bits[size_t(y) * mask.bmWidth + x] & 0xFFFFFF) == 0);
    }
    return rows;
}

TEST(MenuPictures, FolderBookmarkAndMailIconsFillTheUpperLeftQuarterOnly)
{
    for (int id : {IDI_OPEN_FOLDER, IDI_CLOSED_FOLDER, IDI_BOOKMARK, IDI_MAIL_LINK}) {
        SCOPED_TRACE(id);
        HICON icon = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        ASSERT_NE(icon, nullptr);
        int width = 0, height = 0, inside = 0, outside = 0;
        auto rows = Opaque(icon, &width, &height);
        EXPECT_EQ(width, 32);
        EXPECT_EQ(height, 32);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                (x < 16 && y < 16 ? inside : outside) += rows[y][x];
        EXPECT_GT(inside, 100) << "a picture, not a speck";
        EXPECT_EQ(outside, 0);
        DestroyIcon(icon);
    }
}

TEST(MenuPictures, SmallIconsCursorAndBitmapsHaveTheirSizes)
{
    for (int id : {IDI_BOOKMARK_SMALL, IDI_MAIL_LINK_SMALL, IDI_OPERA_BOOKMARK, IDI_LINK_FAILED}) {
        HICON icon = static_cast<HICON>(LoadImageA(appInstance, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        int width = 0, height = 0, opaque = 0;
        auto rows = Opaque(icon, &width, &height);
        for (auto &row : rows)
            for (int pixel : row)
                opaque += pixel;
        EXPECT_EQ(width, 16) << id;
        EXPECT_GT(opaque, 100) << id;
        DestroyIcon(icon);
    }
    HCURSOR hand = LoadCursorA(appInstance, MAKEINTRESOURCEA(IDC_LINK_HAND));
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_EQ(info.hbmColor, nullptr) << "a monochrome cursor";
    DeleteObject(info.hbmMask);

    HBITMAP sideBar = static_cast<HBITMAP>(LoadImageA(appInstance, "SIDE_BAR", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    DIBSECTION section;
    ASSERT_TRUE(GetObjectA(sideBar, sizeof section, &section));
    EXPECT_EQ(section.dsBm.bmWidth, 22);
    EXPECT_EQ(section.dsBm.bmHeight, 200);
    EXPECT_EQ(section.dsBmih.biBitCount, 24);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, sideBar);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(128, 128, 0)) << "olive shows the menu through";
    int olive = 0;
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 22; x++)
            olive += GetPixel(dc, x, y) == RGB(128, 128, 0);
    EXPECT_LT(olive, 22 * 200 - 300) << "the lettering and emblem";
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(sideBar);

    for (int id : {IDB_SORT_UP, IDB_SORT_DOWN}) {
        HBITMAP mark = static_cast<HBITMAP>(LoadImageA(appInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
        BITMAP bitmap;
        ASSERT_TRUE(GetObjectA(mark, sizeof bitmap, &bitmap)) << id;
        EXPECT_EQ(bitmap.bmWidth, 9);
        EXPECT_EQ(bitmap.bmHeight, 7);
        DeleteObject(mark);
    }
}

}  // namespace
