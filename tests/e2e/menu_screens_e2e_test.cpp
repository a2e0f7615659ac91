// End-to-end screenshots of the real bookmark menu in the four menu styles, with three sources, a submenu
// and the bookmark context menu open; the pictures are kept as artefacts and checked pixel by pixel.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int START_TIMEOUT = 20000;
const int SIDE_BAR_WIDTH = 24;
const int SIDE_BAR_PICTURE_HEIGHT = 200;
const char SHELL_FOLDERS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A screenshot of the whole X screen, read back from the PPM copy written beside the PNG.
struct Shot {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    COLORREF At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return CLR_INVALID;
        const unsigned char *p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return RGB(p[0], p[1], p[2]);
    }
};

bool Near(COLORREF a, COLORREF b, int tolerance = 3)
{
    return a != CLR_INVALID && b != CLR_INVALID && std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance && std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

bool ReadPpm(const std::string &path, Shot *shot)
{
    std::ifstream in(path, std::ios::binary);
    // ImageMagick writes a comment line ("#xwdump") after the magic number.
    std::string header[4];
    for (int i = 0; i < 4 && in >> header[i];)
        if (header[i][0] == '#')
            std::getline(in, header[i]);
        else
            i++;
    in.get();
    std::string magic = header[0];
    shot->width = std::atoi(header[1].c_str());
    shot->height = std::atoi(header[2].c_str());
    int maxValue = std::atoi(header[3].c_str());
    if (magic != "P6" || maxValue != 255 || shot->width <= 0 || shot->height <= 0 || shot->width > 10000 ||
        shot->height > 10000)
        return false;
    shot->rgb.resize(static_cast<size_t>(shot->width) * shot->height * 3);
    in.read(reinterpret_cast<char *>(shot->rgb.data()), static_cast<std::streamsize>(shot->rgb.size()));
    return static_cast<size_t>(in.gcount()) == shot->rgb.size();
}

bool FileExists(const std::string &unixPath)
{
    return GetFileAttributesA(WinePath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Wine starts Unix programs from CreateProcess but gives no handle to wait on: the shell renames the
// finished picture into place, and the test waits for that name.
bool TakeScreenshot(const std::string &unixBase, Shot *shot)
{
    std::string png = unixBase + ".png", ppm = unixBase + ".ppm";
    DeleteFileA(WinePath(png).c_str());
    DeleteFileA(WinePath(ppm).c_str());
    std::string command = "Z:\\bin\\sh -c \"xwd -root -silent | convert xwd:- -write png:'" + png + ".part' ppm:'" +
                          ppm + ".part' && mv '" + ppm + ".part' '" + ppm + "' && mv '" + png + ".part' '" + png +
                          "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hProcess)
        CloseHandle(info.hProcess);
    if (info.hThread)
        CloseHandle(info.hThread);
    for (int waited = 0; waited < 20000 && !FileExists(png); waited += 100)
        Wait(100);
    return FileExists(png) && ReadPpm(WinePath(ppm), shot);
}

struct MenuWindows {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectVisibleMenu(HWND window, LPARAM parameter)
{
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32768" && IsWindowVisible(window))
        reinterpret_cast<MenuWindows *>(parameter)->windows.push_back(window);
    return TRUE;
}

// A visible menu window other than those already known; null on time-out.
HWND WaitForNewMenu(const std::vector<HWND> &known, int timeoutMs)
{
    for (int waited = 0;; waited += 50) {
        MenuWindows all;
        EnumWindows(CollectVisibleMenu, reinterpret_cast<LPARAM>(&all));
        for (HWND window : all.windows) {
            bool isKnown = false;
            for (HWND k : known)
                isKnown = isKnown || k == window;
            if (!isKnown)
                return window;
        }
        if (waited >= timeoutMs)
            return nullptr;
        Wait(50);
    }
}

RECT ClientOnScreen(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&client), 2);
    return client;
}

// The SIDE_BAR picture as tresk.exe holds it, bottom row last; olive pixels are transparent.
struct Picture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
};

bool LoadSideBarPicture(Picture *picture)
{
    HMODULE exe = LoadLibraryExA(TreskExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe)
        return false;
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(exe, "SIDE_BAR", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    bool ok = false;
    BITMAP info;
    if (bitmap && GetObjectA(bitmap, sizeof info, &info)) {
        picture->width = info.bmWidth;
        picture->height = info.bmHeight;
        picture->pixels.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        for (int y = 0; y < info.bmHeight; y++)
            for (int x = 0; x < info.bmWidth; x++)
                picture->pixels[static_cast<size_t>(y) * info.bmWidth + x] = GetPixel(dc, x, y);
        SelectObject(dc, previous);
        DeleteDC(dc);
        ok = true;
    }
    if (bitmap)
        DeleteObject(bitmap);
    FreeLibrary(exe);
    return ok;
}

// The share of the picture's opaque pixels found on the screen with its upper-left corner at (left, top).
double PictureMatch(const Shot &shot, const Picture &picture, int left, int top, int clipTop)
{
    int opaque = 0, matching = 0;
    for (int y = 0; y < picture.height; y++) {
        if (top + y < clipTop)
            continue;
        for (int x = 0; x < picture.width; x++) {
            COLORREF c = picture.pixels[static_cast<size_t>(y) * picture.width + x];
            if (c == RGB(128, 128, 0))
                continue;
            opaque++;
            matching += Near(shot.At(left + x, top + y), c, 8);
        }
    }
    return opaque ? static_cast<double>(matching) / opaque : 0;
}

// The best place of the side-bar picture in the menu's left column: the picture may stand anywhere from
// 55 pixels above the top (the "Dancy" turn) to the bottom.
double BestPictureMatch(const Shot &shot, const Picture &picture, const RECT &client, int *bestTop)
{
    double best = 0;
    for (int top = client.top - 55; top <= client.bottom - picture.height; top++) {
        double match = PictureMatch(shot, picture, client.left, top, client.top);
        if (match > best) {
            best = match;
            *bestTop = top;
        }
    }
    return best;
}

// Rows of the left column that show the gradient from the highlight colour (bottom) to the menu colour (top),
// counted only where the gradient differs clearly from the plain menu colour.
void CountGradientRows(const Shot &shot, const RECT &client, int *distinctRows, int *matchingRows)
{
    COLORREF c1 = GetSysColor(COLOR_HIGHLIGHT), c2 = GetSysColor(COLOR_MENU);
    int height = client.bottom - client.top;
    *distinctRows = *matchingRows = 0;
    for (int i = 0; i < height; i++) {
        auto channel = [&](int a, int b) { return static_cast<int>(a - i * (static_cast<double>(a - b) / height)); };
        COLORREF expected = RGB(channel(GetRValue(c1), GetRValue(c2)), channel(GetGValue(c1), GetGValue(c2)),
                                channel(GetBValue(c1), GetBValue(c2)));
        if (Near(expected, c2, 30))
            continue;
        (*distinctRows)++;
        int y = client.bottom - 1 - i;
        *matchingRows += Near(shot.At(client.left + 20, y), expected, 4) && Near(shot.At(client.left + 2, y), expected, 4);
    }
}

struct Header {
    int y;         // the etched line's grey row
    int gapWidth;  // the label's width where it interrupts the line
};

// Etched lines with a label: a grey row over a highlight row, interrupted once in the middle.
std::vector<Header> FindHeaders(const Shot &shot, const RECT &client)
{
    COLORREF grey = GetSysColor(COLOR_GRAYTEXT), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    std::vector<Header> headers;
    // The menu's own frame rows (Wine draws it inside the client area) are left out.
    for (int y = client.top + 3; y < client.bottom - 4; y++) {
        std::vector<int> runs;  // alternating starts and ends of etched runs
        bool inRun = false;
        for (int x = client.left; x < client.right; x++) {
            bool etched = Near(shot.At(x, y), grey, 2) && Near(shot.At(x, y + 1), light, 2);
            if (etched != inRun) {
                runs.push_back(x);
                inRun = etched;
            }
        }
        if (inRun)
            runs.push_back(client.right);
        // Two runs of 10 pixels or more with a gap between them: a line that a label interrupts.
        std::vector<std::pair<int, int>> longRuns;
        for (size_t i = 0; i + 1 < runs.size(); i += 2)
            if (runs[i + 1] - runs[i] >= 10)
                longRuns.push_back({runs[i], runs[i + 1]});
        // The label is centred; anything else cutting a line (another window over the menu) is not a label.
        int centre = (client.left + client.right) / 2;
        if (longRuns.size() == 2 && std::abs((longRuns[0].second + longRuns[1].first) / 2 - centre) <= 8)
            headers.push_back({y, longRuns[1].first - longRuns[0].second});
    }
    return headers;
}

// The width of a header text in the menu font made one unit smaller, as the menu draws it.
int HeaderTextWidth(const char *text)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTA font = metrics.lfMenuFont;
    font.lfWidth = 0;
    font.lfHeight = font.lfHeight > 0 ? font.lfHeight - 1 : font.lfHeight + 1;
    font.lfFaceName[0] = '\0';
    if ((font.lfOutPrecision & 7) == 0)
        font.lfOutPrecision |= OUT_TT_ONLY_PRECIS;
    HDC dc = GetDC(nullptr);
    HFONT created = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(dc, created);
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, previous);
    DeleteObject(created);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

int CountColour(const Shot &shot, const RECT &area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += Near(shot.At(x, y), colour, 2);
    return count;
}

void WriteFile(const std::string &unixPath, const std::string &text)
{
    std::ofstream out(WinePath(unixPath), std::ios::binary);
    out << text;
}

class MenuScreens : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ResetTreskState();
        artefacts = TRESK_E2E_ARTEFACTS;
        CreateDirectoryA(WinePath(artefacts).c_str(), nullptr);
        MakeFavorites();
        SaveAndSetFavoritesValue();
        SaveAndSetOperaIni();
    }
    void TearDown() override
    {
        StopTresk(&tresk);
        ResetTreskState();
        RestoreOperaIni();
        RestoreFavoritesValue();
    }

    void MakeFavorites()
    {
        favorites = artefacts + "/favorites";
        CreateDirectoryA(WinePath(favorites).c_str(), nullptr);
        CreateDirectoryA(WinePath(favorites + "/Reference").c_str(), nullptr);
        WriteFile(favorites + "/Debian Project.url", "[InternetShortcut]\r\nURL=http://www.debian.org/\r\n");
        WriteFile(favorites + "/A Rather Long Favorite Name For Width.url",
                  "[InternetShortcut]\r\nURL=http://long.example.com/\r\n");
        WriteFile(favorites + "/Reference/Dictionary.url", "[InternetShortcut]\r\nURL=http://dict.example.org/\r\n");
    }

    void SaveAndSetFavoritesValue()
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        char old[MAX_PATH] = "";
        DWORD size = sizeof old, type = 0;
        hadFavoritesValue = RegQueryValueExA(key, "Favorites", nullptr, &type, reinterpret_cast<BYTE *>(old), &size) ==
                            ERROR_SUCCESS;
        oldFavorites.assign(old, hadFavoritesValue ? size : 0);
        std::string path = WinePath(favorites);
        RegSetValueExA(key, "Favorites", 0, REG_SZ, reinterpret_cast<const BYTE *>(path.c_str()),
                       static_cast<DWORD>(path.size() + 1));
        RegCloseKey(key);
    }

    void RestoreFavoritesValue()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (hadFavoritesValue)
            RegSetValueExA(key, "Favorites", 0, REG_SZ, reinterpret_cast<const BYTE *>(oldFavorites.data()),
                           static_cast<DWORD>(oldFavorites.size()));
        else
            RegDeleteValueA(key, "Favorites");
        RegCloseKey(key);
    }

    std::string OperaIniPath()
    {
        char directory[MAX_PATH];
        GetWindowsDirectoryA(directory, sizeof directory);
        return std::string(directory) + "\\opera.ini";
    }

    void SaveAndSetOperaIni()
    {
        std::ifstream old(OperaIniPath(), std::ios::binary);
        hadOperaIni = old.good();
        if (hadOperaIni) {
            std::ostringstream text;
            text << old.rdbuf();
            oldOperaIni = text.str();
        }
        old.close();
        std::ofstream ini(OperaIniPath(), std::ios::binary);
        ini << "[User Prefs]\r\nHot List File Ver2=" << WinePath(TRESK_SOURCE_DIR "/tests/data/opera/sample.adr")
            << "\r\n";
    }

    void RestoreOperaIni()
    {
        if (hadOperaIni) {
            std::ofstream ini(OperaIniPath(), std::ios::binary);
            ini << oldOperaIni;
        } else {
            DeleteFileA(OperaIniPath().c_str());
        }
    }

    TreskProcess tresk;
    std::string artefacts, favorites, oldFavorites, oldOperaIni;
    bool hadFavoritesValue = false, hadOperaIni = false;
};

const char *const STYLE_NAMES[] = {"plain", "fancy", "very-fancy", "dancy"};

TEST_P(MenuScreens, MenuSubmenuAndContextMenu)
{
    const int style = GetParam();
    const std::string base = artefacts + "/style" + std::to_string(style) + "-" + STYLE_NAMES[style];
    SetTreskString("Bookmark Filename", WinePath(TRESK_SOURCE_DIR "/tests/data/sample-bookmarks.htm").c_str());
    SetTreskDword("Menu Style", static_cast<DWORD>(style));
    SetTreskDword("Tray Icon", 1);
    SetTreskDword("Use IE Favorites", 1);
    SetTreskDword("Use Opera Hotlist", 1);
    SetTreskDword("Sort Order", 0);
    // Wine leaves a popup menu window unpainted (black) once a program moves it, so these pictures are taken
    // where the system places the submenu; moving it next to the folder's name is checked on real menus by
    // the menu interaction tests.
    SetTreskDword("Reposition Submenus", 0);
    ASSERT_TRUE(StartTresk(&tresk));
    HWND window = WaitForMainWindow(tresk, START_TIMEOUT);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForTrayIcon(window, START_TIMEOUT));
    Wait(1500);  // the first refresh ends after the icon is there

    // The menu opens at the cursor: leave room on the right for the submenu and the context menu.
    SetCursorPos(40, 40);
    Wait(200);
    PostMessageA(window, WM_HOTKEY, 1, 0);
    HWND root = WaitForNewMenu({}, 5000);
    ASSERT_NE(root, nullptr) << "no bookmark menu";
    Wait(500);
    // Down selects the first folder, "News" (headers cannot be selected); Right opens it.
    PostMenuKeys(root, {VK_DOWN, VK_RIGHT});
    HWND submenu = WaitForNewMenu({root}, 5000);
    ASSERT_NE(submenu, nullptr) << "no submenu window";
    Wait(800);  // the submenu placement and a few animation frames
    Shot shot;
    ASSERT_TRUE(TakeScreenshot(base + "-submenu", &shot)) << base;

    RECT rootFrame, subFrame;
    GetWindowRect(root, &rootFrame);
    GetWindowRect(submenu, &subFrame);
    RECT client = ClientOnScreen(root);
    SCOPED_TRACE("root menu " + std::to_string(rootFrame.left) + "," + std::to_string(rootFrame.top) + " " +
                 std::to_string(rootFrame.right) + "," + std::to_string(rootFrame.bottom) + "; submenu " +
                 std::to_string(subFrame.left) + "," + std::to_string(subFrame.top));

    // The side bar: the picture in the left column, and in "Dancy" the gradient behind it.
    Picture picture;
    ASSERT_TRUE(LoadSideBarPicture(&picture));
    ASSERT_EQ(picture.width, 22);
    ASSERT_EQ(picture.height, SIDE_BAR_PICTURE_HEIGHT);
    int pictureTop = 0;
    double pictureMatch = BestPictureMatch(shot, picture, client, &pictureTop);
    int distinctRows = 0, gradientRows = 0;
    CountGradientRows(shot, client, &distinctRows, &gradientRows);
    if (style >= 2) {
        EXPECT_GE(pictureMatch, 0.75) << "no side-bar picture in the left column";
    } else {
        EXPECT_LT(pictureMatch, 0.5) << "a side-bar picture in a style without a side bar";
    }
    if (style == 2) {
        EXPECT_EQ(pictureTop, client.bottom - SIDE_BAR_PICTURE_HEIGHT - 3) << "the picture stands 3 px above the bottom";
    }
    ASSERT_GT(distinctRows, 20);
    if (style == 3) {
        // The moving picture covers at most its own height of the gradient.
        EXPECT_GE(gradientRows, distinctRows - SIDE_BAR_PICTURE_HEIGHT) << "no gradient in the side bar";
    } else {
        EXPECT_LT(gradientRows, 5) << "a gradient in a style without it";
    }

    // Source headers: three labels on etched lines, Netscape, Internet Explorer, Opera from top to bottom.
    std::vector<Header> headers = FindHeaders(shot, client);
    if (style == 0) {
        EXPECT_TRUE(headers.empty()) << "labelled header in the Plain style at row " << headers[0].y << ", gap "
                                     << headers[0].gapWidth;
    } else {
        ASSERT_EQ(headers.size(), 3u) << "three source headers";
        const char *names[] = {"Netscape", "Internet Explorer", "Opera"};
        for (int i = 0; i < 3; i++) {
            int width = HeaderTextWidth(names[i]);
            EXPECT_NEAR(headers[i].gapWidth, width + 6, 4) << names[i] << " at row " << headers[i].y;
        }
        EXPECT_LT(headers[0].y - client.top, 20) << "the menu begins with the Netscape header";
    }

    // The submenu: right of its folder's item, beside it, and painted.
    EXPECT_GE(subFrame.left, rootFrame.right - 8) << "the submenu does not open beside the root menu";
    EXPECT_GE(subFrame.top, rootFrame.top);
    EXPECT_LT(subFrame.top, rootFrame.top + 60);
    RECT subClient = ClientOnScreen(submenu);
    EXPECT_GT(CountColour(shot, subClient, GetSysColor(COLOR_HIGHLIGHT)), 100) << "no highlighted item in the submenu";

    // The context menu of the highlighted bookmark ("Example News"): a right click on it through the hook.
    POINT item = {subClient.left + 40, subClient.top + 8};
    SetCursorPos(item.x, item.y);
    Wait(300);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, clicks, sizeof(INPUT));
    HWND context = WaitForNewMenu({root, submenu}, 5000);
    ASSERT_NE(context, nullptr) << "no context menu";
    Wait(500);
    ASSERT_TRUE(TakeScreenshot(base + "-context", &shot));
    RECT contextFrame;
    GetWindowRect(context, &contextFrame);
    EXPECT_NEAR(contextFrame.left, item.x, 4) << "the context menu opens at the click";
    EXPECT_NEAR(contextFrame.top, item.y, 4);
    // Its items are owner-drawn with their icons: more than the menu colour and text inside.
    RECT contextClient = ClientOnScreen(context);
    int area = (contextClient.right - contextClient.left) * (contextClient.bottom - contextClient.top);
    EXPECT_LT(CountColour(shot, contextClient, GetSysColor(COLOR_MENU)), area * 95 / 100);
}

const char *const TEST_NAMES[] = {"Plain", "Fancy", "VeryFancy", "Dancy"};
INSTANTIATE_TEST_SUITE_P(AllStyles, MenuScreens, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int> &info) { return std::string(TEST_NAMES[info.param]); });

}  // namespace
