// End-to-end scenarios with the real tresk.exe under Wine, each from a clean registry state: the first
// start; a day with the three sources (a hot key held elsewhere, bookmarks opened as stored, the change
// watch, a second start, Exit); a start without tray icon until the bookmark file has no bookmarks left.
// The recorder stands in for the browser.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string FIRST = "tresktest://first.example/start?lang=en#top", SAVED = "tresktest://saved.example/";

// A bookmark, then a folder of two whose URLs keep characters that a launch must not touch.
std::string Netscape(const std::string &first)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"" + first + "\">First</A>\n"
           "<DT><H3>Folder</H3>\n<DL><p>\n<DT><A HREF=\"tresktest://inner.example/one\">One</A>\n"
           "<DT><A HREF=\"tresktest://inner.example/two?q=a%20b&x=%7E#frag\">Two</A>\n</DL><p>\n</DL><p>\n";
}

std::string Hotlist(const std::string &url)
{
    return "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=" + url + "\n";
}

// What item `item` of the bookmark menu (from 1, top to bottom, headers left out) launches, without the
// show command.
std::string Launched(HWND window, int item)
{
    std::vector<UINT> keys(item, VK_DOWN);
    keys.push_back(VK_RETURN);
    std::string launch = LaunchFromMenu(window, keys);
    return launch.substr(0, launch.rfind('|'));
}

void SetOldWriteTime(const std::string &path)
{
    const FILETIME then = {0xC89DC000, 0x01C07385};  // 1 January 2001
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &then);
    CloseHandle(file);
}

// The reset also ends the test's tresk.exe.
struct Scenario : ::testing::Test {
    void SetUp() override { ResetTreskState(); }
    void TearDown() override { ResetTreskState(); }
    TreskProcess tresk, second;
    std::string folder = ScratchFolder("scenario"), file = folder + "\\bookmark.htm";
};

TEST_F(Scenario, FirstStartStoresTheDefaultsAsksForTheFileAndCancelEndsTheProgram)
{
    HWND window = StartTreskAndWait(&tresk, true, " first  ");
    ASSERT_NE(window, nullptr);
    const struct {
        const char *name;
        DWORD value;
    } defaults[] = {
        {"Tray Icon", 1}, {"Refresh Menu", 1}, {"Limit Menu Items Per Column", 0}, {"Menu Items Per Column", 25},
        {"Limit Menu Item Width", 1}, {"Menu Item Width", 250}, {"Hot Key", 0x342}, {"Display Empty Folders", 1},
        {"Menu Style", 3}, {"Snap Menu Left", 0}, {"Sort Order", 0}, {"Startup Style", 1},
        {"Double-Click Action", 4008}, {"Use IE Favorites", 0}, {"Use Opera Hotlist", 0}, {"Icon Style", 3},
        {"Reposition Submenus", 1},
    };
    for (const auto &expected : defaults) {
        DWORD value = 0xDEADBEEF;
        EXPECT_TRUE(ReadTreskDword(expected.name, &value) && value == expected.value) << expected.name << " " << value;
    }
    std::string text, location;
    EXPECT_TRUE(ReadTreskString("Bookmark Filename", &text) && text == std::string(260, '\0')) << "the whole buffer";
    EXPECT_TRUE(ReadTreskString("Version", &text) && text == std::string("1.22", 5));
    EXPECT_TRUE(ReadTreskString("Program Location", &location));
    EXPECT_EQ(location, "\"" + TreskExePath() + "\" first " + std::string(1, '\0')) << "one trailing blank goes";
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

TEST_F(Scenario, ThreeSourcesOpenAsStoredAndFollowTheirChangesUntilExit)
{
    RegisterRecorder();
    std::string favorites = folder + "\\Favorites", hotlist = folder + "\\opera6.adr", spare = folder + "\\spare";
    CreateDirectoryA(favorites.c_str(), nullptr);
    CreateDirectoryA(spare.c_str(), nullptr);
    WriteTextFile(favorites + "\\Favorite.url", "[InternetShortcut]\r\nURL=tresktest://favorite.example/\r\n");
    WriteTextFile(hotlist, Hotlist("tresktest://opera.example/"));
    UseFavoritesAndHotlist(favorites, hotlist);
    // A file of the same size and time as the bookmark file waits in another folder.
    WriteTextFile(file, Netscape(FIRST));
    WriteTextFile(spare + "\\bookmark.htm", Netscape("tresktest://spare.example/start?lang=en#top"));
    SetOldWriteTime(file);
    SetOldWriteTime(spare + "\\bookmark.htm");
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

    const struct {
        std::vector<UINT> keys;
        bool byHotKey;
        std::string launch;
    } launches[] = {
        {{VK_DOWN, VK_RETURN}, false, FIRST + "|3"},
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, false, "tresktest://inner.example/two?q=a%20b&x=%7E#frag|3"},
        {{VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, true, "tresktest://inner.example/one|3"},
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, false, "tresktest://favorite.example/|3"},
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, true, "tresktest://opera.example/|3"},
    };
    for (const auto &row : launches)
        EXPECT_EQ(LaunchFromMenu(window, row.keys, row.byHotKey), row.launch);

    // What happens to the bookmark file, and what the menu's first item launches a moment later.
    const struct {
        const char *what;
        std::function<void()> change;
        std::string first;
    } changes[] = {
        {"a file beside it written after it was swapped for one of the same stamp",
         [&] {
             EXPECT_TRUE(MoveFileExA((spare + "\\bookmark.htm").c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING));
             Wait(1000);
             WriteTextFile(folder + "\\other.txt", "another file\n");
         },
         FIRST},
        {"saved in place from inside Wine", [&] { WriteTextFile(file, Netscape(SAVED)); }, SAVED},
    };
    for (const auto &row : changes) {
        row.change();
        Wait(1500);
        EXPECT_EQ(Launched(window, 1), row.first) << row.what;
    }
    // Wine 8 signals the Favorites watch only for changes in that folder itself, not in its subfolders.
    WriteTextFile(favorites + "\\Added.url", "[InternetShortcut]\r\nURL=tresktest://added.example/\r\n");
    Wait(1500);
    std::vector<std::string> shown = {Launched(window, 3), Launched(window, 4)};
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<std::string>{"tresktest://added.example/", "tresktest://favorite.example/"}));
    WriteTextFile(hotlist, Hotlist("tresktest://opera-two.example/"));
    Wait(1500);
    EXPECT_EQ(Launched(window, 5), "tresktest://opera-two.example/");

    // A second copy asks the first for its Options and ends once they close.
    ASSERT_TRUE(StartTresk(&second));
    HWND options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    ASSERT_NE(options, nullptr) << "no Options dialog in the first copy";
    EXPECT_EQ(GetWindow(options, GW_OWNER), window);
    EXPECT_FALSE(WaitForWindow(second, "Tresk", nullptr, 0)) << "the second copy made a window";
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForExit(second, START_TIMEOUT), 0);

    PostMessageA(window, WM_USER + 2, 0, WM_RBUTTONUP);  // the shell's right click on the icon
    HWND menu = WaitForPopupMenu(5000);
    ASSERT_NE(menu, nullptr) << "no tray menu";
    PostMenuKeys(menu, {VK_UP, VK_RETURN});  // from no selection, Up selects the last item, "E&xit"
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
}

TEST_F(Scenario, WithoutTrayIconTheHotKeyOpensTheMenuUntilTheFileLosesItsBookmarks)
{
    RegisterRecorder();
    WriteTextFile(file, Netscape(FIRST));
    SetTreskString("Bookmark Filename", file.c_str());
    SetTreskDword("Menu Style", 1);
    SetTreskDword("Refresh Menu", 1);
    SetTreskDword("Tray Icon", 0);
    HWND window = StartTreskAndWait(&tresk, false);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(LaunchFromMenu(window, {VK_DOWN, VK_RETURN}, true), FIRST + "|1");
    EXPECT_FALSE(TrayIconExists(window));
    DWORD value = 1;
    EXPECT_TRUE(ReadTreskDword("Tray Icon", &value) && value == 0);
    EXPECT_TRUE(ReadTreskDword("Menu Style", &value) && value == 1) << "not a first start: the stored style stays";
    std::string run;
    EXPECT_FALSE(ReadRunValue(&run)) << "start with Windows is off when the Run value is absent";

    WriteTextFile(file, "<DL><p>\n</DL><p>\n");
    EXPECT_EQ(AnswerMessageBox(tresk), "Tresk could not find any bookmarks in the specified bookmark file.  Please "
                                       "ensure that it is a valid Netscape bookmark file.");
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

}  // namespace
