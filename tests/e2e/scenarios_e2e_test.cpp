// The end-to-end scenario with the real tresk.exe under Wine, from a clean registry state: a first start that
// finds a Chrome and a Firefox profile under the test user's AppData, stores where it runs and gives up when
// no bookmark file is chosen; then a day with all five sources (a hot key held elsewhere, the bookmark file
// changed inside and outside Wine, the browsers' files changed while they run, a second start) and Exit from
// the tray menu. Settings, drawing and menu rules are the Win32 tests' to prove.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>
#include <sqlite3.h>

#include <algorithm>
#include <tuple>

#include "tests/support/table_checks.h"

namespace {

const std::string FIRST = "tresktest://first.example/start?lang=en#top", IN_PLACE = "tresktest://in-place.example/",
                  RENAMED = "tresktest://renamed.example/", SAVED = "tresktest://saved.example/";

// The rows of the menu on the screen where an etched line (a grey row over a light one) runs near both ends
// but not in the middle, where a header's label interrupts it.
int HeaderLabels(const RECT &menu)
{
    HDC screen = GetDC(nullptr);
    auto etched = [&](int x, int y) {
        return GetPixel(screen, x, y) == GetSysColor(COLOR_GRAYTEXT) &&
               GetPixel(screen, x, y + 1) == GetSysColor(COLOR_BTNHIGHLIGHT);
    };
    int labels = 0;
    for (int y = menu.top; y < menu.bottom; y++)
        labels += etched(menu.left + 60, y) && etched(menu.right - 40, y) && !etched((menu.left + menu.right) / 2, y);
    ReleaseDC(nullptr, screen);
    return labels;
}

// A bookmark, then a folder of two whose URLs keep characters that a launch must not touch.
std::string Netscape(const std::string &first)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"" + first + "\">First</A>\n"
           "<DT><H3>Folder</H3>\n<DL><p>\n<DT><A HREF=\"tresktest://inner.example/one\">One</A>\n"
           "<DT><A HREF=\"tresktest://inner.example/two?q=a%20b&x=%7E#frag\">Two</A>\n</DL><p>\n</DL><p>\n";
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

// The Firefox rows the test adds: a place and its bookmark at the top of the Bookmarks Menu.
std::string FirefoxBookmark(int id, const std::string &url)
{
    std::string n = std::to_string(id);
    return "INSERT INTO moz_places (id, url, guid) VALUES (" + n + ", '" + url + "', 'e2eplace" + n + "');"
           "UPDATE moz_bookmarks SET position = position + 1 WHERE parent = 2;"
           "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid) VALUES (1, " + n + ", 2, 0, 'Firefox " +
           n + "', 'e2emark" + n + "');";
}

TEST(EndToEnd, FirstStartFindsTheBrowsersThenFiveSourcesOpenAndFollowTheirChanges)
{
    ResetTreskState();
    TreskProcess tresk, second;
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

    // A first start stores where it runs (one trailing blank goes), finds both browsers and turns them on,
    // asks for the bookmark file and opens Options with its file browser; Options offers Chrome by its name.
    HWND window = StartTreskAndWait(&tresk, " first  ");
    ASSERT_NE(window, nullptr);
    std::string location = "\"" + TreskExePath() + "\" first " + std::string(1, '\0');
    EXPECT_EQ(UserValue(TRESK_KEY, "Program Location"), location);
    EXPECT_EQ(UserValue(RUN_KEY, "Tresk"), location);
    HWND owner = nullptr;
    EXPECT_EQ(AnswerMessageBox(tresk, IDOK, &owner),
              "Please locate a valid file (usually 'bookmark.htm') that contains Netscape Bookmarks.");
    EXPECT_EQ(owner, window);
    EXPECT_EQ(UserValue(TRESK_KEY, "Use Chromium Bookmarks") + UserValue(TRESK_KEY, "Use Firefox Bookmarks"), "11");
    EXPECT_EQ(UserValue(TRESK_KEY, "Chromium Bookmarks File"), bookmarks + '\0');
    EXPECT_EQ(UserValue(TRESK_KEY, "Firefox Places File"), places + '\0');
    HWND options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    HWND browse = WaitForWindow(tresk, "#32770", "Browse for Bookmarks File", START_TIMEOUT, true);
    ASSERT_TRUE(options && browse);
    EXPECT_EQ(GetWindow(options, GW_OWNER), window);
    EXPECT_EQ(ControlText(options, 225), "Include Google Chrome Boo&kmarks");
    for (int box : {225, 226})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(options, box)) && IsDlgButtonChecked(options, box)) << box;
    PostMessageA(browse, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browse); }, START_TIMEOUT) && IsWindowVisible(options));
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(AnswerMessageBox(tresk),
              "Tresk cannot be run without knowing the location of a valid Netscape bookmarks file.");
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
    StopTresk(&tresk);

    // The bookmark file, then the Favorites, the hotlist and the browsers; Firefox holds its database as it
    // does while it runs.
    std::string folder = ScratchFolder("scenario"), file = folder + "\\bookmark.htm",
                favorites = ScratchFolder("favorites"), hotlist = ScratchFolder("opera") + "\\opera6.adr";
    // A long name makes the menu wide enough for every header's line to show beside its label.
    WriteTextFile(favorites + "\\A Rather Long Favorite Name For Width.url", "[InternetShortcut]\r\nURL=tresktest://favorite.example/\r\n");
    WriteTextFile(hotlist, "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=tresktest://opera.example/\n");
    UseFavoritesAndHotlist(favorites, hotlist);
    // A file of the same size and time as the bookmark file waits in another folder.
    WriteTextFile(file, Netscape(FIRST));
    WriteTextFile(ScratchFolder("spare") + "\\bookmark.htm", Netscape("tresktest://spare.example/start?lang=en#top"));
    ASSERT_TRUE(RunUnixShell("cd " TRESK_E2E_SCRATCH " && touch -r scenario/bookmark.htm spare/bookmark.htm"));
    SetTreskString("Bookmark Filename", file.c_str());
    for (const char *on : {"Tray Icon", "Refresh Menu", "Use IE Favorites", "Use Opera Hotlist"})
        SetTreskDword(on, 1);
    SetTreskDword("Menu Style", 1);
    SetTreskDword("Reposition Submenus", 0);  // Wine leaves a moved submenu unpainted
    SetTreskDword("Startup Style", SW_SHOWMAXIMIZED);
    sqlite3 *firefox = nullptr;
    sqlite3_open(places.c_str(), &firefox);
    sqlite3_exec(firefox, "PRAGMA locking_mode = EXCLUSIVE; PRAGMA wal_autocheckpoint = 0; SELECT count(*) FROM moz_places;",
                 nullptr, nullptr, nullptr);
    // Ctrl+Shift+Alt+K, held by this process; the stored value has shift 1, control 2, alt 4 as flags.
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT | MOD_ALT, 'K'));
    SetTreskDword("Hot Key", 0x74B);
    ASSERT_TRUE(StartTresk(&tresk));
    EXPECT_EQ(AnswerMessageBox(tresk, IDOK, &owner),
              "The Hot Key of Ctrl+Shift+Alt+K is already in use by another application.");
    UnregisterHotKey(nullptr, 7);
    window = WaitForMainWindow(tresk, 0);
    EXPECT_EQ(owner, window);
    ASSERT_TRUE(WaitForTrayIcon(window, START_TIMEOUT)) << "start-up did not go on";
    Wait(1000);
    SetCursorPos(40, 40);
    HWND root = OpenBookmarkMenu(window);
    ASSERT_NE(root, nullptr);
    Wait(500);
    RECT menu;
    GetWindowRect(root, &menu);
    EXPECT_EQ(HeaderLabels(menu), 5) << "a header for each source, drawn";
    CloseMenus(window, root);

    // The item of the menu, counted from its top, that is launched; a folder opens on its first item.
    auto launch = [&](size_t item, bool folder = false) {
        std::vector<UINT> keys(item, VK_DOWN);
        if (folder)
            keys.push_back(VK_RIGHT);
        keys.push_back(VK_RETURN);
        return LaunchFromMenu(window, keys);
    };

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
    for (const auto &[what, change, url] : changes) {
        change();
        Wait(1500);
        EXPECT_EQ(launch(1), url + "|3") << what;
    }
    // The sources in order, the Favorites in listing order: items 1 and 2 are the bookmark file's, 3 and 4 the
    // Favorites', 5 the hotlist's, 6-8 Chrome's roots and 9-12 Firefox's. A new shortcut (Wine 8 signals the
    // Favorites watch only for changes in that folder itself) and a rewritten hotlist reach the menu.
    WriteTextFile(favorites + "\\Added.url", "[InternetShortcut]\r\nURL=tresktest://added.example/\r\n");
    WriteTextFile(hotlist, "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=tresktest://opera-two.example/\n");
    Wait(1500);
    std::vector<std::string> sources = {launch(3), launch(4), launch(5)};
    std::sort(sources.begin(), sources.begin() + 2);
    EXPECT_EQ(sources, (std::vector<std::string>{"tresktest://added.example/|3", "tresktest://favorite.example/|3",
                                                 "tresktest://opera-two.example/|3"}));
    // Chrome writes a new file and renames it over the old one; Firefox adds a row while it holds the file.
    WriteTextFile(bookmarks + ".tmp", ChromeBookmarks("tresktest://chrome.example/two"));
    ASSERT_TRUE(MoveFileExA((bookmarks + ".tmp").c_str(), bookmarks.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(WaitUntil([&] { return launch(6, true) == "tresktest://chrome.example/two|3"; }, 15000)) << "Chrome's change";
    ASSERT_EQ(sqlite3_exec(firefox, FirefoxBookmark(101, "tresktest://firefox.example/101").c_str(), nullptr, nullptr,
                           nullptr), SQLITE_OK);
    EXPECT_TRUE(WaitUntil([&] { return launch(9, true) == "tresktest://firefox.example/101|3"; }, 15000)) << "Firefox's row";
    sqlite3_close(firefox);

    // A second copy asks the first for its Options and ends once they close.
    ASSERT_TRUE(StartTresk(&second));
    options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    EXPECT_TRUE(options && GetWindow(options, GW_OWNER) == window) << "no Options dialog in the first copy";
    EXPECT_FALSE(WaitForWindow(second, "Tresk", nullptr, 0)) << "the second copy made a window";
    EXPECT_TRUE(IsRunning(second)) << "the second copy did not wait for its request to be done";
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForExit(second, START_TIMEOUT), 0);
    StopTresk(&second);

    ChooseFromTrayMenu(window, {VK_UP, VK_RETURN});  // from no selection, Up selects the last item, "E&xit"
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
    StopTresk(&tresk);
    std::string trees = chromeData + '\0' + firefoxData + '\0';  // the list of paths ends with an empty one
    SHFILEOPSTRUCTA removal = {};
    removal.wFunc = FO_DELETE;
    removal.pFrom = trees.c_str();
    removal.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    EXPECT_EQ(SHFileOperationA(&removal), 0);
    ResetTreskState();
}

}  // namespace
