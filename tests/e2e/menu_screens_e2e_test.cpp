// End-to-end screenshots of the real bookmark menu in the four menu styles, with the three sources, a
// submenu and the bookmark context menu open; the pictures stay in the artefacts folder for people to look
// at and are checked pixel by pixel.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

const int PICTURE_WIDTH = 22, PICTURE_HEIGHT = 200;
const int SCREEN_WIDTH = GetSystemMetrics(SM_CXSCREEN);

// Writes `unixBase`.png and returns the same picture as RGB triples; "" when that failed.
std::string TakeScreenshot(const std::string &unixBase)
{
    std::string raw = unixBase + ".rgb", rgb;
    if (RunUnixShell("xwd -root -silent | convert xwd:- -write png:" + unixBase + ".png -depth 8 rgb:" + raw)) {
        std::ifstream in(WinePath(raw), std::ios::binary);
        rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    DeleteFileA(WinePath(raw).c_str());
    return rgb;
}

// Whether the screenshot's pixel at (x, y) is within `tolerance` of `colour` in every channel.
bool Near(const std::string &shot, int x, int y, COLORREF colour, int tolerance)
{
    size_t at = (static_cast<size_t>(y) * SCREEN_WIDTH + x) * 3;
    if (x < 0 || y < 0 || at + 2 >= shot.size())
        return false;
    for (int channel = 0; channel < 3; channel++)
        if (std::abs(static_cast<BYTE>(shot[at + channel]) - static_cast<int>(colour >> 8 * channel & 255)) > tolerance)
            return false;
    return true;
}

// The side-bar picture as tresk.exe holds it, row by row from the top.
std::vector<COLORREF> SideBarPicture()
{
    HMODULE exe = LoadLibraryExA(TreskExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HGDIOBJ bitmap = LoadImageA(exe, "SIDE_BAR", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    std::vector<COLORREF> pixels;
    for (int i = 0; bitmap && i < PICTURE_WIDTH * PICTURE_HEIGHT; i++)
        pixels.push_back(GetPixel(dc, i % PICTURE_WIDTH, i / PICTURE_WIDTH));
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
    FreeLibrary(exe);
    return pixels;
}

// Where the side-bar picture fits the menu's left column best, from 55 pixels above the menu (the turn
// of "Dancy") down to its bottom; `best` receives the share of the picture's opaque pixels found there.
int BestPictureTop(const std::string &shot, const RECT &menu, double *best)
{
    std::vector<COLORREF> picture = SideBarPicture();
    int bestTop = 0;
    *best = 0;
    for (int top = menu.top - 55; top <= menu.bottom - PICTURE_HEIGHT; top++) {
        int opaque = 0, matching = 0;
        for (int i = 0; i < static_cast<int>(picture.size()); i++) {
            int x = menu.left + i % PICTURE_WIDTH, y = top + i / PICTURE_WIDTH;
            if (y >= menu.top && picture[i] != RGB(128, 128, 0))  // olive is transparent
                opaque++, matching += Near(shot, x, y, picture[i], 8);
        }
        if (opaque && matching > *best * opaque)
            *best = static_cast<double>(matching) / opaque, bestTop = top;
    }
    return bestTop;
}

// The widths of the labels that interrupt etched lines (a grey row over a light one) in their middle,
// from top to bottom.
std::vector<int> HeaderLabels(const std::string &shot, const RECT &menu)
{
    std::vector<int> labels;
    for (int y = menu.top + 3; y < menu.bottom - 4; y++) {  // inside Wine's frame
        std::vector<int> runs;  // begin and end of each etched run of 10 pixels or more
        for (int x = menu.left, begin = -1; x <= menu.right; x++) {
            bool etched = x < menu.right && Near(shot, x, y, GetSysColor(COLOR_GRAYTEXT), 2) &&
                          Near(shot, x, y + 1, GetSysColor(COLOR_BTNHIGHLIGHT), 2);
            if (etched && begin < 0)
                begin = x;
            if (!etched && begin >= 0 && x - begin >= 10)
                runs.insert(runs.end(), {begin, x});
            begin = etched ? begin : -1;
        }
        if (runs.size() == 4 && std::abs(runs[1] + runs[2] - menu.left - menu.right) <= 16)
            labels.push_back(runs[2] - runs[1]);
    }
    return labels;
}

struct MenuScreens : ::testing::TestWithParam<int> {
    void SetUp() override { ResetTreskState(); }
    void TearDown() override { ResetTreskState(); }
};

TEST_P(MenuScreens, MenuSubmenuAndContextMenu)
{
    const int style = GetParam();
    const char *names[] = {"plain", "fancy", "very-fancy", "dancy"};
    std::string favorites = ScratchFolder("favorites");
    CreateDirectoryA((favorites + "\\Reference").c_str(), nullptr);
    for (const char *name : {"\\Debian Project.url", "\\A Rather Long Favorite Name For Width.url",
                             "\\Reference\\Dictionary.url"})
        WriteTextFile(favorites + name, "[InternetShortcut]\r\nURL=http://www.debian.org/\r\n");
    UseFavoritesAndHotlist(favorites, SourcePath("tests/data/opera/sample.adr"));
    SetTreskString("Bookmark Filename", SourcePath("tests/data/sample-bookmarks.htm").c_str());
    SetTreskDword("Menu Style", static_cast<DWORD>(style));
    for (const char *on : {"Tray Icon", "Use IE Favorites", "Use Opera Hotlist"})
        SetTreskDword(on, 1);
    // Wine leaves a popup menu window unpainted once a program moves it, so these pictures are taken where
    // the system places the submenu.
    SetTreskDword("Reposition Submenus", 0);
    TreskProcess tresk;
    HWND window = StartTreskAndWait(&tresk);
    ASSERT_NE(window, nullptr);
    SetCursorPos(40, 40);  // the menu opens here: room on the right for the submenu and the context menu
    PostMessageA(window, WM_HOTKEY, 1, 0);
    HWND root = WaitForNewMenu({}, 5000);
    ASSERT_NE(root, nullptr) << "no bookmark menu";
    Wait(500);
    PostMenuKeys(root, {VK_DOWN, VK_RIGHT});  // Down selects the first folder, "News" (never a header)
    HWND submenu = WaitForNewMenu({root}, 5000);
    ASSERT_NE(submenu, nullptr) << "no submenu";
    Wait(800);  // the submenu's placement and a few animation frames
    RECT menu, sub, context;
    GetWindowRect(root, &menu);
    GetWindowRect(submenu, &sub);
    // The context menu of the submenu's highlighted bookmark, by a right click on it through the hook.
    SetCursorPos(sub.left + 40, sub.top + 8);
    Wait(300);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    HWND contextMenu = WaitForNewMenu({root, submenu}, 5000);
    ASSERT_NE(contextMenu, nullptr) << "no context menu";
    Wait(500);
    std::string shot = TakeScreenshot(TRESK_E2E_ARTEFACTS "/style" + std::to_string(style) + "-" + names[style]);
    ASSERT_EQ(shot.size(), static_cast<size_t>(SCREEN_WIDTH) * GetSystemMetrics(SM_CYSCREEN) * 3);

    // The side-bar picture in "Very Fancy", still 3 pixels above the bottom, and moving in "Dancy".
    double match = 0;
    int top = BestPictureTop(shot, menu, &match);
    EXPECT_EQ(match >= 0.75, style >= 2) << "side-bar picture match " << match;
    EXPECT_TRUE(style != 2 || top == menu.bottom - PICTURE_HEIGHT - 3) << top;

    // No source headers in "Plain"; elsewhere Netscape at the top, then Internet Explorer (the widest
    // label) and Opera (the narrowest).
    std::vector<int> labels = HeaderLabels(shot, menu);
    ASSERT_EQ(labels.size(), style == 0 ? 0u : 3u);
    EXPECT_TRUE(style == 0 || (labels[1] > labels[0] && labels[0] > labels[2]));

    // The submenu beside the root menu at the height of its folder, its bookmark highlighted; the context
    // menu at the click.
    EXPECT_GE(sub.left, menu.right - 8);
    EXPECT_TRUE(sub.top >= menu.top && sub.top < menu.top + 60) << sub.top;
    int highlighted = 0;
    for (int x = sub.left; x < sub.left + 40; x++)
        highlighted += Near(shot, x, sub.top + 8, GetSysColor(COLOR_HIGHLIGHT), 2);
    EXPECT_GT(highlighted, 10) << "the submenu's bookmark is not highlighted";
    GetWindowRect(contextMenu, &context);
    EXPECT_NEAR(context.left, sub.left + 40, 4);
    EXPECT_NEAR(context.top, sub.top + 8, 4);
}

INSTANTIATE_TEST_SUITE_P(AllStyles, MenuScreens, ::testing::Values(0, 1, 2, 3));

}  // namespace
