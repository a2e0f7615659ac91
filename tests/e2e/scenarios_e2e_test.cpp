// End-to-end scenarios with the real tresk.exe under Wine, each from a clean registry state: the first
// start; a day with the three sources (a hot key held elsewhere, bookmarks opened as stored, the change
// watch, a second start, the bookmark file left without bookmarks); and in each menu style, screenshots of
// the bookmark menu with a submenu and the context menu open, checked pixel by pixel and kept in the
// artefacts folder for people to look at, then Exit ("Plain" runs without tray icon); and today's browsers,
// a Chrome and a Firefox profile under the test user's AppData, found at a first start, shown as the fourth
// and fifth sources and followed as they change.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <algorithm>
#include <tuple>

#include "tests/support/table_checks.h"

namespace {

const std::string FIRST = "tresktest://first.example/start?lang=en#top", SAVED = "tresktest://saved.example/",
                  IN_PLACE = "tresktest://in-place.example/", RENAMED = "tresktest://renamed.example/";

// A bookmark, then a folder of two whose URLs keep characters that a launch must not touch.
std::string Netscape(const std::string &first)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"" + first + "\">First</A>\n"
           "<DT><H3>Folder</H3>\n<DL><p>\n<DT><A HREF=\"tresktest://inner.example/one\">One</A>\n"
           "<DT><A HREF=\"tresktest://inner.example/two?q=a%20b&x=%7E#frag\">Two</A>\n</DL><p>\n</DL><p>\n";
}

const int PICTURE_WIDTH = 22, PICTURE_HEIGHT = 200;

// A picture in a memory device context, to be read with GetPixel; the test's process owns it to its end.
HDC LoadPicture(HINSTANCE module, const std::string &name, UINT flags)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, flags | LR_CREATEDIBSECTION));
    return dc;
}

bool Near(HDC picture, int x, int y, COLORREF colour, int tolerance)
{
    COLORREF c = GetPixel(picture, x, y);
    return c != CLR_INVALID && std::abs(GetRValue(c) - GetRValue(colour)) <= tolerance &&
           std::abs(GetGValue(c) - GetGValue(colour)) <= tolerance &&
           std::abs(GetBValue(c) - GetBValue(colour)) <= tolerance;
}

// Where the side-bar picture of tresk.exe fits the menu's left column best, from 55 pixels above the menu
// (the turn of "Dancy") down to its bottom: the share of its opaque pixels found there, and its top.
std::pair<double, int> BestPictureFit(HDC shot, const RECT &menu)
{
    HDC picture = LoadPicture(LoadLibraryExA(TreskExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), "SIDE_BAR", 0);
    std::pair<double, int> best = {0, 0};
    for (int top = menu.top - 55; top <= menu.bottom - PICTURE_HEIGHT; top++) {
        int opaque = 0, matching = 0;
        for (int x = 0; x < PICTURE_WIDTH; x++)
            for (int y = std::max<LONG>(0, menu.top - top); y < PICTURE_HEIGHT; y++) {
                COLORREF colour = GetPixel(picture, x, y);
                if (colour != RGB(128, 128, 0) && colour != CLR_INVALID)  // olive is transparent
                    opaque++, matching += Near(shot, menu.left + x, top + y, colour, 8);
            }
        if (opaque && matching > best.first * opaque)
            best = {static_cast<double>(matching) / opaque, top};
    }
    return best;
}

// The rows where an etched line (a grey row over a light one) runs near both ends of the menu but not in
// its middle, where a label interrupts it.
int HeaderLabels(HDC shot, const RECT &menu)
{
    auto etched = [&](int x, int y) {
        return Near(shot, x, y, GetSysColor(COLOR_GRAYTEXT), 2) &&
               Near(shot, x, y + 1, GetSysColor(COLOR_BTNHIGHLIGHT), 2);
    };
    int labels = 0;
    for (int y = menu.top; y < menu.bottom; y++)
        labels += etched(menu.left + 60, y) && etched(menu.right - 40, y) && !etched((menu.left + menu.right) / 2, y);
    return labels;
}

// The reset also ends the test's tresk.exe.
struct EndToEnd : ::testing::TestWithParam<int> {
    void SetUp() override { ResetTreskState(); }
    void TearDown() override { ResetTreskState(); }
    TreskProcess tresk, second;
};

TEST_F(EndToEnd, FirstStartStoresTheDefaultsAsksForTheFileAndCancelEndsTheProgram)
{
    HWND window = StartTreskAndWait(&tresk, true, " first  ");
    ASSERT_NE(window, nullptr);
    const std::pair<const char *, DWORD> defaults[] = {
        {"Tray Icon", 1}, {"Refresh Menu", 1}, {"Limit Menu Items Per Column", 0}, {"Menu Items Per Column", 25},
        {"Limit Menu Item Width", 1}, {"Menu Item Width", 250}, {"Hot Key", 0x342}, {"Display Empty Folders", 1},
        {"Menu Style", 3}, {"Snap Menu Left", 0}, {"Sort Order", 0}, {"Startup Style", 1},
        {"Double-Click Action", 4008}, {"Use IE Favorites", 0}, {"Use Opera Hotlist", 0}, {"Icon Style", 3},
        {"Reposition Submenus", 1},
    };
    for (const auto &[name, expected] : defaults) {
        DWORD value = 0xDEADBEEF;
        EXPECT_TRUE(ReadTreskDword(name, &value) && value == expected) << name << " " << value;
    }
    std::string text, location;
    EXPECT_TRUE(ReadTreskString("Bookmark Filename", &text) && text == std::string(260, '\0')) << "the whole buffer";
    EXPECT_TRUE(ReadTreskString("Version", &text) && text == std::string("1.22", 5));
    EXPECT_TRUE(ReadTreskString("Program Location", &location) &&
                location == "\"" + TreskExePath() + "\" first " + std::string(1, '\0')) << "one trailing blank goes";
    EXPECT_TRUE(ReadRunValue(&text) && text == location) << "no Run value, or another one";

    // No bookmark file known: Tresk asks for one, then opens Options and its file browser by themselves.
    HWND owner = nullptr;
    EXPECT_EQ(AnswerMessageBox(tresk, IDOK, &owner),
              "Please locate a valid file (usually 'bookmark.htm') that contains Netscape Bookmarks.");
    EXPECT_EQ(owner, window);
    HWND options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    HWND browse = WaitForWindow(tresk, "#32770", "Browse for Bookmarks File", START_TIMEOUT, true);
    ASSERT_TRUE(options && browse);
    EXPECT_EQ(GetWindow(options, GW_OWNER), window);
    PostMessageA(browse, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browse); }, START_TIMEOUT) && IsWindowVisible(options));
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerMessageBox(tresk),
              "Tresk cannot be run without knowing the location of a valid Netscape bookmarks file.");
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
}

TEST_F(EndToEnd, ThreeSourcesOpenAsStoredAndFollowTheirChangesUntilTheFileHasNoBookmarks)
{
    std::string folder = ScratchFolder("scenario"), file = folder + "\\bookmark.htm",
                favorites = ScratchFolder("favorites"), hotlist = ScratchFolder("opera") + "\\opera6.adr";
    WriteTextFile(favorites + "\\Favorite.url", "[InternetShortcut]\r\nURL=tresktest://favorite.example/\r\n");
    WriteTextFile(hotlist, "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=tresktest://opera.example/\n");
    UseFavoritesAndHotlist(favorites, hotlist);
    // A file of the same size and time as the bookmark file waits in another folder.
    WriteTextFile(file, Netscape(FIRST));
    WriteTextFile(ScratchFolder("spare") + "\\bookmark.htm", Netscape("tresktest://spare.example/start?lang=en#top"));
    ASSERT_TRUE(RunUnixShell("cd " TRESK_E2E_SCRATCH " && touch -r scenario/bookmark.htm spare/bookmark.htm"));
    SetTreskString("Bookmark Filename", file.c_str());
    for (const char *on : {"Tray Icon", "Refresh Menu", "Use IE Favorites", "Use Opera Hotlist"})
        SetTreskDword(on, 1);
    SetTreskDword("Menu Style", 0);
    SetTreskDword("Startup Style", SW_SHOWMAXIMIZED);
    // Ctrl+Shift+Alt+K, held by this process; the stored value has shift 1, control 2, alt 4 as flags.
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT | MOD_ALT, 'K'));
    SetTreskDword("Hot Key", 0x74B);
    ASSERT_TRUE(StartTresk(&tresk));
    HWND owner = nullptr;
    EXPECT_EQ(AnswerMessageBox(tresk, IDOK, &owner),
              "The Hot Key of Ctrl+Shift+Alt+K is already in use by another application.");
    UnregisterHotKey(nullptr, 7);
    HWND window = WaitForMainWindow(tresk, 0);
    EXPECT_EQ(owner, window);
    ASSERT_TRUE(WaitForTrayIcon(window, START_TIMEOUT)) << "start-up did not go on";
    Wait(1000);

    const std::tuple<std::vector<UINT>, bool, std::string> launches[] = {
        {{VK_DOWN, VK_RETURN}, false, FIRST + "|3"},
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, false, "tresktest://inner.example/two?q=a%20b&x=%7E#frag|3"},
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, true, "tresktest://inner.example/one|3"},
    };
    for (const auto &[keys, byHotKey, launch] : launches)
        EXPECT_EQ(LaunchFromMenu(window, keys, byHotKey), launch);

    // A script run outside Wine in the scratch folder; its input is a bookmark file whose first bookmark is `url`.
    auto outside = [&](const std::string &url, const std::string &script) {
        return [=] {
            WriteTextFile(WinePath(TRESK_E2E_SCRATCH "/spare/next.htm"), Netscape(url));
            EXPECT_TRUE(RunUnixShell("cd " TRESK_E2E_SCRATCH " && (" + script + ") < spare/next.htm"));
        };
    };
    // What happens to the bookmark file, and what the menu's first item launches a moment later.
    const std::tuple<const char *, std::function<void()>, std::string> changes[] = {
        {"a file beside it written after it was swapped for one of the same stamp",
         [&] {  // the watch may hold the file open for a moment to read its stamp
             EXPECT_TRUE(WaitUntil([&] { return MoveFileExA(WinePath(TRESK_E2E_SCRATCH "/spare/bookmark.htm").c_str(),
                                                            file.c_str(), MOVEFILE_REPLACE_EXISTING); }, 2000));
             Wait(1000);
             WriteTextFile(folder + "\\other.txt", "another file\n");
         },
         FIRST},
        {"rewritten in place from outside Wine (open for update, write, truncate, close)",
         outside(IN_PLACE, "python3 -c 'import os, sys; t = sys.stdin.buffer.read(); f = os.open(sys.argv[1], "
                           "os.O_RDWR); os.write(f, t); os.ftruncate(f, len(t)); os.close(f)' scenario/bookmark.htm"),
         IN_PLACE},
        {"replaced by a rename from outside Wine",
         outside(RENAMED, "cat > scenario/new.tmp && mv scenario/new.tmp scenario/bookmark.htm"), RENAMED},
        {"saved in place from inside Wine", [&] { WriteTextFile(file, Netscape(SAVED)); }, SAVED},
    };
    for (const auto &[what, change, launch] : changes) {
        change();
        Wait(1500);
        EXPECT_EQ(LaunchFromMenu(window, {VK_DOWN, VK_RETURN}), launch + "|3") << what;
    }
    // The sources in order, the Favorites in listing order: a new shortcut (Wine 8 signals the Favorites
    // watch only for changes in that folder itself) and a rewritten hotlist reach the menu.
    WriteTextFile(favorites + "\\Added.url", "[InternetShortcut]\r\nURL=tresktest://added.example/\r\n");
    WriteTextFile(hotlist, "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=tresktest://opera-two.example/\n");
    Wait(1500);
    std::vector<std::string> shown;  // items 3 to 5
    for (std::vector<UINT> keys = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}; keys.size() <= 6;
         keys.insert(keys.begin(), VK_DOWN))
        shown.push_back(LaunchFromMenu(window, keys));
    std::sort(shown.begin(), shown.begin() + 2);
    EXPECT_EQ(shown, (std::vector<std::string>{"tresktest://added.example/|3", "tresktest://favorite.example/|3",
                                               "tresktest://opera-two.example/|3"}));

    // A second copy asks the first for its Options and ends once they close.
    ASSERT_TRUE(StartTresk(&second));
    HWND options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    EXPECT_TRUE(options && GetWindow(options, GW_OWNER) == window) << "no Options dialog in the first copy";
    EXPECT_FALSE(WaitForWindow(second, "Tresk", nullptr, 0)) << "the second copy made a window";
    EXPECT_TRUE(IsRunning(second)) << "the second copy did not wait for its request to be done";
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForExit(second, START_TIMEOUT), 0);

    WriteTextFile(file, "<DL><p>\n</DL><p>\n");
    EXPECT_EQ(AnswerMessageBox(tresk), "Tresk could not find any bookmarks in the specified bookmark file.  Please "
                                       "ensure that it is a valid Netscape bookmark file.");
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

// A Chrome Bookmarks file of one folder holding one bookmark, as Chrome writes it.
std::string ChromeBookmarks(const std::string &url)
{
    return "{\"roots\": {\"bookmark_bar\": {\"children\": [ {\"date_added\": \"13300000000000000\", \"id\": \"5\", "
           "\"name\": \"Chrome one\", \"type\": \"url\", \"url\": \"" + url + "\"} ], \"id\": \"1\", \"name\": "
           "\"Bookmarks bar\", \"type\": \"folder\"}, \"other\": {\"children\": [], \"id\": \"2\", \"name\": "
           "\"Other bookmarks\", \"type\": \"folder\"}, \"synced\": {\"children\": [], \"id\": \"3\", \"name\": "
           "\"Mobile bookmarks\", \"type\": \"folder\"}}, \"version\": 1}";
}

std::string UserFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The Firefox rows the test adds: a place and its bookmark at the top of the Bookmarks Menu.
std::string FirefoxBookmark(int id, const std::string &url)
{
    std::string n = std::to_string(id);
    return "INSERT INTO moz_places (id, url, guid) VALUES (" + n + ", '" + url + "', 'e2eplace" + n + "');"
           "UPDATE moz_bookmarks SET position = position + 1 WHERE parent = 2;"
           "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid) VALUES (1, " + n + ", 2, 0, 'Firefox " +
           n + "', 'e2emark" + n + "');";
}

TEST_F(EndToEnd, BrowsersFoundAtAFirstStartShowInTheMenuAndFollowTheirChanges)
{
    const std::string chromeData = UserFolder(CSIDL_LOCAL_APPDATA) + "\\Google\\Chrome",
                      firefoxData = UserFolder(CSIDL_APPDATA) + "\\Mozilla",
                      bookmarks = chromeData + "\\User Data\\Profile 1\\Bookmarks",
                      places = firefoxData + "\\Firefox\\Profiles\\e2e.default-release\\places.sqlite";
    WriteScratchFile(chromeData + "\\User Data\\Local State", "{\"profile\": {\"last_used\": \"Profile 1\"}}");
    WriteScratchFile(bookmarks, ChromeBookmarks("tresktest://chrome.example/one"));
    WriteScratchFile(firefoxData + "\\Firefox\\profiles.ini",
                     "[Install308046B0AF4A39CB]\r\nDefault=Profiles/e2e.default-release\r\nLocked=1\r\n\r\n[Profile0]\r\n"
                     "Name=default\r\nIsRelative=1\r\nPath=Profiles/other.default\r\nDefault=1\r\n");
    std::string data = SourcePath("tests/data/firefox/");
    ASSERT_EQ(MakeDatabase(places, {ReadFileBytes(data + "schema.sql"), FirefoxBookmark(100, "tresktest://firefox.example/100")}), "");

    // A first start finds both and turns them on; Options offers them, Chrome by its name.
    ASSERT_TRUE(StartTresk(&tresk));
    EXPECT_EQ(AnswerMessageBox(tresk).substr(0, 20), "Please locate a vali");
    for (const char *on : {"Use Chromium Bookmarks", "Use Firefox Bookmarks"}) {
        DWORD value = 0;
        EXPECT_TRUE(ReadTreskDword(on, &value) && value == 1) << on;
    }
    std::string found;
    EXPECT_TRUE(ReadTreskString("Chromium Bookmarks File", &found) && found == bookmarks + '\0') << found;
    EXPECT_TRUE(ReadTreskString("Firefox Places File", &found) && found == places + '\0') << found;
    HWND options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    HWND browse = WaitForWindow(tresk, "#32770", "Browse for Bookmarks File", START_TIMEOUT, true);
    ASSERT_TRUE(options && browse);
    char label[128] = "";
    GetDlgItemTextA(options, 225, label, sizeof label);
    EXPECT_STREQ(label, "Include Google Chrome Boo&kmarks");
    for (int box : {225, 226})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(options, box)) && IsDlgButtonChecked(options, box)) << box;
    PostMessageA(browse, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browse); }, START_TIMEOUT));
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    AnswerMessageBox(tresk);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);

    // The five sources in order, each under its header; Firefox holds its database as it does while it runs.
    std::string favorites = ScratchFolder("favorites"), hotlist = ScratchFolder("opera") + "\\opera6.adr";
    // A long name makes the menu wide enough for every header's line to show beside its label.
    WriteTextFile(favorites + "\\A Rather Long Favorite Name For Width.url",
                  "[InternetShortcut]\r\nURL=tresktest://favorite.example/\r\n");
    WriteTextFile(hotlist, "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=tresktest://opera.example/\n");
    UseFavoritesAndHotlist(favorites, hotlist);
    std::string file = ScratchFolder("browsers") + "\\bookmark.htm";
    WriteTextFile(file, Netscape(FIRST));
    SetTreskString("Bookmark Filename", file.c_str());
    for (const char *on : {"Use IE Favorites", "Use Opera Hotlist"})
        SetTreskDword(on, 1);
    SetTreskDword("Menu Style", 1);
    SetTreskDword("Reposition Submenus", 0);  // Wine leaves a moved submenu unpainted
    sqlite3 *firefox = nullptr;
    sqlite3_open(places.c_str(), &firefox);
    sqlite3_exec(firefox, "PRAGMA locking_mode = EXCLUSIVE; PRAGMA wal_autocheckpoint = 0; SELECT count(*) FROM moz_places;",
                 nullptr, nullptr, nullptr);
    HWND window = StartTreskAndWait(&tresk);
    ASSERT_NE(window, nullptr);
    // Items 1 and 2 are the bookmark file's, 3 the Favorites', 4 the hotlist's, 5-7 Chrome's roots and 8-11
    // Firefox's; a folder opens on its first item.
    auto launch = [&](int item) {
        std::vector<UINT> keys(static_cast<size_t>(item), VK_DOWN);
        if (item >= 5)
            keys.push_back(VK_RIGHT);
        keys.push_back(VK_RETURN);
        return LaunchFromMenu(window, keys);
    };
    const std::pair<int, std::string> shown[] = {{1, FIRST}, {3, "tresktest://favorite.example/"},
        {4, "tresktest://opera.example/"}, {5, "tresktest://chrome.example/one"}, {8, "tresktest://firefox.example/100"}};
    for (const auto &[item, url] : shown)
        EXPECT_EQ(launch(item), url + "|1") << item;
    SetCursorPos(40, 40);
    PostMessageA(window, WM_HOTKEY, 1, 0);
    HWND root = WaitForNewMenu({}, 5000);
    ASSERT_NE(root, nullptr);
    Wait(500);
    PostMenuKeys(root, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT});
    EXPECT_NE(WaitForNewMenu({root}, 5000), nullptr) << "Firefox's Bookmarks Menu, for people to see its icons";
    Wait(500);
    std::string picture = TRESK_E2E_ARTEFACTS "/browsers-fancy";
    RunUnixShell("xwd -root -silent | convert xwd:- -write png:" + picture + ".png bmp3:" + picture + ".bmp");
    HDC shot = LoadPicture(nullptr, WinePath(picture + ".bmp"), LR_LOADFROMFILE);
    DeleteFileA(WinePath(picture + ".bmp").c_str());
    RECT menu;
    GetWindowRect(root, &menu);
    EXPECT_EQ(HeaderLabels(shot, menu), 5) << "a header for each source";
    ASSERT_TRUE(CloseMenu(window, root));

    // Chrome writes a new file and renames it over the old one; Firefox adds a row while it holds the file.
    WriteTextFile(bookmarks + ".tmp", ChromeBookmarks("tresktest://chrome.example/two"));
    ASSERT_TRUE(MoveFileExA((bookmarks + ".tmp").c_str(), bookmarks.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(WaitUntil([&] { return launch(5) == "tresktest://chrome.example/two|1"; }, 15000)) << "Chrome's change";
    ASSERT_EQ(sqlite3_exec(firefox, FirefoxBookmark(101, "tresktest://firefox.example/101").c_str(), nullptr, nullptr,
                           nullptr), SQLITE_OK);
    EXPECT_TRUE(WaitUntil([&] { return launch(8) == "tresktest://firefox.example/101|1"; }, 15000)) << "Firefox's row";
    sqlite3_close(firefox);
    StopTresk(&tresk);
    for (const std::string &tree : {chromeData, firefoxData}) {
        std::string from = tree + '\0';  // the list of paths ends with an empty one
        SHFILEOPSTRUCTA removal = {};
        removal.wFunc = FO_DELETE;
        removal.pFrom = from.c_str();
        removal.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        EXPECT_EQ(SHFileOperationA(&removal), 0) << tree;
    }
}

// "Plain" runs without tray icon, which the hot key and a right click on the icon's place do not need.
TEST_P(EndToEnd, MenuScreensThenExit)
{
    const int style = GetParam();
    const char *names[] = {"plain", "fancy", "very-fancy", "dancy"};
    std::string favorites = ScratchFolder("favorites");
    for (const char *name : {"\\Debian Project.url", "\\A Rather Long Favorite Name For Width.url"})
        WriteTextFile(favorites + name, "[InternetShortcut]\r\nURL=http://www.debian.org/\r\n");
    UseFavoritesAndHotlist(favorites, SourcePath("tests/data/opera/sample.adr"));
    SetTreskString("Bookmark Filename", SourcePath("tests/data/sample-bookmarks.htm").c_str());
    SetTreskDword("Menu Style", static_cast<DWORD>(style));
    SetTreskDword("Tray Icon", style != 0);
    for (const char *on : {"Use IE Favorites", "Use Opera Hotlist"})
        SetTreskDword(on, 1);
    // Wine leaves a popup menu window unpainted once a program moves it, so these pictures are taken where
    // the system places the submenu.
    SetTreskDword("Reposition Submenus", 0);
    TreskProcess tresk;
    HWND window = StartTreskAndWait(&tresk, style != 0);
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
    mouse_event(MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    HWND contextMenu = WaitForNewMenu({root, submenu}, 5000);
    ASSERT_NE(contextMenu, nullptr) << "no context menu";
    Wait(500);
    // The picture for people as PNG, the one for the checks as BMP, which GDI reads.
    std::string picture = TRESK_E2E_ARTEFACTS "/style" + std::to_string(style) + "-" + names[style];
    RunUnixShell("xwd -root -silent | convert xwd:- -write png:" + picture + ".png bmp3:" + picture + ".bmp");
    HDC shot = LoadPicture(nullptr, WinePath(picture + ".bmp"), LR_LOADFROMFILE);
    DeleteFileA(WinePath(picture + ".bmp").c_str());
    ASSERT_NE(GetPixel(shot, 0, 0), CLR_INVALID) << "no screenshot";

    // The side-bar picture in "Very Fancy", still 3 pixels above the bottom, and moving in "Dancy".
    auto [match, top] = BestPictureFit(shot, menu);
    EXPECT_EQ(match >= 0.75, style >= 2) << "side-bar picture match " << match;
    EXPECT_TRUE(style != 2 || top == menu.bottom - PICTURE_HEIGHT - 3) << top;

    // The three sources' headers, labels on etched lines, in every style but "Plain".
    EXPECT_EQ(HeaderLabels(shot, menu), style == 0 ? 0 : 3);

    EXPECT_GE(sub.left, menu.right - 8);
    EXPECT_TRUE(sub.top >= menu.top && sub.top < menu.top + 60) << sub.top;
    GetWindowRect(contextMenu, &context);
    EXPECT_NEAR(context.left, sub.left + 40, 4);
    EXPECT_NEAR(context.top, sub.top + 8, 4);

    // Wine leaves the submenu's window behind once a nested menu has been open in it.
    ASSERT_TRUE(CloseMenu(window, root));
    EXPECT_TRUE(style != 0 || !TrayIconExists(window)) << "a tray icon although it is switched off";
    // The shell's right click on the icon; from no selection, Up selects the last item, "E&xit".
    PostMessageA(window, WM_USER + 2, 0, WM_RBUTTONUP);
    PostMenuKeys(WaitForNewMenu({root, submenu, contextMenu}, 5000), {VK_UP, VK_RETURN});
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
}

INSTANTIATE_TEST_SUITE_P(AllStyles, EndToEnd, ::testing::Values(0, 1, 2, 3));

}  // namespace
