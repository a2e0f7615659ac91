// A real popup menu drawn by the bookmark-menu handlers inside the system's menu loop, photographed while
// open (the pictures are kept in the build tree's tests/menu/pictures for a look).
#include "base/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell.h"
#include "bookmarks/bookmark_table.h"
#include "menu/icon_sets.h"
#include "menu/menu_builder.h"
#include "menu/owner_draw.h"

namespace {

struct Photo {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Photo photo;
bool menuWindowAtInit = false;
bool paintDanceFrame = false;  // paint one animation frame, as the shell's timer does, before the photo
RECT bookmarkItem;  // the first bookmark's item, in the menu window's client coordinates
HMENU trackedMenu;

void SavePhoto(const std::string &name)
{
    CreateDirectoryA("pictures", nullptr);
    std::string path = "pictures/" + name + ".bmp";
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = photo.width;
    header.biHeight = -photo.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    DWORD size = DWORD(photo.pixels.size() * 4);
    file.bfSize = file.bfOffBits + size;
    std::vector<BYTE> bits;
    for (COLORREF c : photo.pixels) {
        BYTE pixel[4] = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
        bits.insert(bits.end(), pixel, pixel + 4);
    }
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &header, sizeof header, &written, nullptr);
    WriteFile(out, bits.data(), size, &written, nullptr);
    CloseHandle(out);
}

// Copies what the open menu window shows.
void Photograph(HWND owner)
{
    HWND window = FindWindowA("#32768", nullptr);
    RECT client;
    GetClientRect(window, &client);
    photo.width = client.right;
    photo.height = client.bottom;
    photo.pixels.clear();
    HDC dc = GetDC(window);
    if (paintDanceFrame)
        PaintSideBarFrame(dc, client.bottom, 40);
    for (int y = 0; y < photo.height; y++)
        for (int x = 0; x < photo.width; x++)
            photo.pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    GetMenuItemRect(owner, trackedMenu, 1, &bookmarkItem);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT *>(&bookmarkItem), 2);
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITMENUPOPUP:
        // As the shell does: the bookmark menu's window is found when the menu opens.
        menuWindow = FindWindowA("#32768", nullptr);
        menuWindowAtInit = menuWindow != nullptr;
        return 0;
    case WM_MEASUREITEM:
        return MeasureBookmarkItem(reinterpret_cast<MEASUREITEMSTRUCT *>(lParam));
    case WM_DRAWITEM:
        return DrawBookmarkItem(reinterpret_cast<DRAWITEMSTRUCT *>(lParam));
    case WM_TIMER:
        KillTimer(window, wParam);
        Photograph(window);
        EndMenu();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class RealMenu : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_NETSCAPE);
        for (int i = 0; i < 12; i++)
            AppendRecord(cursor, ("Bookmark number " + std::to_string(i)).c_str(), "http://example.com/");
        LoadIconSets();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = appInstance;
        windowClass.lpszClassName = "TreskMenuTestOwner";
        RegisterClassA(&windowClass);
        owner = CreateWindowExA(0, "TreskMenuTestOwner", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, appInstance, nullptr);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(owner);
        FreeSideBar();
        DestroyIconSets();
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }

    // Opens a menu of a header and the twelve bookmarks, all in the side-bar column, for a moment.
    void Open(int style)
    {
        settings = Settings{};
        settings.menuStyle = style;
        highlightColorCache = GetSysColor(COLOR_HIGHLIGHT);
        menuColorCache = GetSysColor(COLOR_MENU);
        sideBarPainted = false;
        trackedMenu = CreatePopupMenu();
        AppendMenuA(trackedMenu, MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCSTR>(SOURCE_HEADER_NETSCAPE));
        for (int i = 0; i < 12; i++)
            AppendMenuA(trackedMenu, MF_OWNERDRAW, CommandIdForEntry(i), reinterpret_cast<LPCSTR>(SIDE_BAR_COLUMN_FLAG));
        SetForegroundWindow(owner);
        SetTimer(owner, 1, 700, nullptr);
        TrackPopupMenu(trackedMenu, TPM_RETURNCMD, 40, 40, 0, owner, nullptr);
        DestroyMenu(trackedMenu);
        menuWindow = nullptr;
    }

    // Strong red pixels in the side-bar column: the emblem of the side-bar picture.
    int RedInSideBar()
    {
        int count = 0;
        for (int y = 0; y < photo.height; y++)
            for (int x = 0; x < 22 && x < photo.width; x++) {
                COLORREF c = photo.At(x, y);
                count += GetRValue(c) > 180 && GetGValue(c) < 80 && GetBValue(c) < 80;
            }
        return count;
    }

    static HWND owner;
};
HWND RealMenu::owner;

TEST_F(RealMenu, VeryFancyShowsThePictureAtTheBottomOfTheSideBar)
{
    Open(MENU_STYLE_VERY_FANCY);
    SavePhoto("very_fancy");
    ASSERT_GT(photo.height, 200) << "the menu was photographed";
    EXPECT_GT(RedInSideBar(), 20);
    // The picture stands in the last 203 rows; above it the column shows the bare menu (inside the
    // menu's own 3-pixel border).
    int drawnAbove = 0;
    for (int y = 3; y < photo.height - 203; y++)
        for (int x = 3; x < 22; x++)
            drawnAbove += photo.At(x, y) != GetSysColor(COLOR_MENU);
    EXPECT_EQ(drawnAbove, 0);
    std::printf("menu window found at WM_INITMENUPOPUP: %s\n", menuWindowAtInit ? "yes" : "no");
}

TEST_F(RealMenu, DancyFrameShowsTheGradientAndThePicture)
{
    paintDanceFrame = true;
    Open(MENU_STYLE_DANCY);
    paintDanceFrame = false;
    SavePhoto("dancy");
    ASSERT_GT(photo.height, 200);
    for (int x : {0, 10, 21})
        EXPECT_EQ(photo.At(x, photo.height - 1), GetSysColor(COLOR_HIGHLIGHT)) << x;
    EXPECT_NE(photo.At(10, 10), photo.At(10, photo.height - 1)) << "the colour fades upwards";
    EXPECT_GT(RedInSideBar(), 20);
}

TEST_F(RealMenu, FancyHasNoSideBarAndItemsAreTextHeightPlusSix)
{
    Open(MENU_STYLE_FANCY);
    SavePhoto("fancy");
    ASSERT_GT(photo.height, 100);
    EXPECT_EQ(RedInSideBar(), 0);
    HDC screen = GetDC(nullptr);
    HFONT font, previous;
    SetMenuFont(screen, 0, false, &font, &previous);
    SIZE text;
    GetTextExtentPoint32A(screen, "Bookmark number 0", 17, &text);
    RemoveMenuFont(screen, font, previous);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(bookmarkItem.bottom - bookmarkItem.top, text.cy + 6);
}

}  // namespace
