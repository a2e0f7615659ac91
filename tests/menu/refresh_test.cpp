// RefreshBookmarks with stand-in readers: the order of its steps, its messages, the first-start path,
// the exit without bookmarks, and refreshes asked for by the change watch.
#include <gtest/gtest.h>

#include "base/settings.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "tests/menu/standins.h"
#include "tests/support/win_test_helpers.h"

extern HWND mainWindow;
extern bool bookmarkMenuOpen;

namespace {

const char NO_BOOKMARK_FILE[] = "Please locate a valid file (usually 'bookmark.htm') that contains Netscape Bookmarks.";
const char NO_BOOKMARKS[] =
    "Tresk could not find any bookmarks in the specified bookmark file.  Please ensure that it is a valid Netscape "
    "bookmark file.";

void AppendBookmarks(int source, const char *stem, int count)
{
    ReaderCursor cursor;
    StartReading(cursor, source);
    for (int i = 0; i < count; i++)
        AppendRecord(cursor, (stem + std::to_string(i)).c_str(), "http://example.com/");
}

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!mainWindow)
            mainWindow = CreateTestWindow();
        std::memset(&settings, 0, sizeof settings);
        // A directory that exists, so a started watch has nothing to complain about.
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        std::snprintf(settings.bookmarkFile, MAX_PATH, "%sbookmark.htm", temp);
        std::strcpy(settings.favoritesPath, "C:\\tresk-test\\Favorites");
        std::strcpy(settings.operaHotlistPath, "C:\\tresk-test\\opera6.adr");
        settings.useBookmarkFile = 1;
        settings.limitItemsPerColumn = 1;
        ResetReaderStandins();
        ResetShellStandins();
        netscapeHook = [] { AppendBookmarks(SOURCE_NETSCAPE, "n", 3); };
        favoritesHook = [] { AppendBookmarks(SOURCE_FAVORITES, "f", 2); };
        operaHook = [] { AppendBookmarks(SOURCE_OPERA, "o", 1); };
        DrainQueue();
    }
    void TearDown() override
    {
        StopChangeWatch();
        DestroyBookmarkMenus();
        FreeBookmarkTable();
        DrainQueue();
    }
    static void DrainQueue()
    {
        MSG message;
        while (PeekMessageA(&message, mainWindow, 0, 0, PM_REMOVE))
            ;
    }
    static bool ClosePosted()
    {
        MSG message;
        return PeekMessageA(&message, mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0;
    }
    using TrayUpdates = std::vector<std::pair<int, std::string>>;
};

TEST_F(RefreshTest, ReadsTheSwitchedOnSourcesSortsAndBuilds)
{
    struct Case {
        const char *label;
        int favorites, opera, entries;
    } cases[] = {
        {"bookmark file only", 0, 0, 3},
        {"with Favorites", 1, 0, 5},
        {"with the hotlist", 0, 1, 4},
        {"all three", 1, 1, 6},
    };
    for (const Case &c : cases) {
        settings.useFavorites = c.favorites;
        settings.useOperaHotlist = c.opera;
        ResetShellStandins();
        readerCalls = ReaderCalls();
        RefreshBookmarks();
        EXPECT_EQ(readerCalls.netscape, std::vector<std::string>{settings.bookmarkFile}) << c.label;
        EXPECT_EQ(readerCalls.favorites.size(), static_cast<size_t>(c.favorites)) << c.label;
        EXPECT_EQ(readerCalls.opera.size(), static_cast<size_t>(c.opera)) << c.label;
        if (c.favorites) {
            EXPECT_EQ(readerCalls.favorites[0], settings.favoritesPath);
        }
        if (c.opera) {
            EXPECT_EQ(readerCalls.opera[0], settings.operaHotlistPath);
        }
        EXPECT_EQ(readerCalls.sorts, 1) << c.label;
        // A second refresh replaced the first table instead of adding to it.
        EXPECT_EQ(bookmarkTable.entryCount, c.entries) << c.label;
        ASSERT_TRUE(bookmarkTable.rootMenu);
        EXPECT_GE(GetMenuItemCount(static_cast<HMENU>(bookmarkTable.rootMenu)), c.entries) << c.label;
        EXPECT_EQ(trayUpdates, (TrayUpdates{{12, "Refreshing Bookmarks..."}, {11, "Tresk"}})) << c.label;
        EXPECT_FALSE(ClosePosted()) << c.label;
    }
}

TEST_F(RefreshTest, WithRefreshMenuOffNoWatchThreadRuns)
{
    int before = CountProcessThreads();
    settings.refreshMenu = 0;
    RefreshBookmarks();
    EXPECT_EQ(CountProcessThreads(), before);
    settings.refreshMenu = 1;
    RefreshBookmarks();
    EXPECT_EQ(CountProcessThreads(), before + 1);
    RefreshBookmarks();  // the running watch goes on; no second thread
    EXPECT_EQ(CountProcessThreads(), before + 1);
    StopChangeWatch();
    EXPECT_EQ(CountProcessThreads(), before);
}

TEST_F(RefreshTest, NoBookmarksEndsTheProgramWithItsMessage)
{
    netscapeHook = nullptr;
    MessageBoxAnswerer answerer("Tresk", IDOK);
    RefreshBookmarks();
    ASSERT_TRUE(answerer.Answered());
    EXPECT_EQ(answerer.title, "Tresk");
    EXPECT_EQ(answerer.text, NO_BOOKMARKS);
    EXPECT_TRUE(ClosePosted());
    EXPECT_EQ(trayUpdates, (TrayUpdates{{12, "Refreshing Bookmarks..."}, {11, "Tresk"}}));
    EXPECT_TRUE(readerCalls.favorites.empty());
    EXPECT_EQ(readerCalls.sorts, 0);
}

TEST_F(RefreshTest, FirstStartAsksForTheFileAndGoesOnWithTheChosenOne)
{
    settings.bookmarkFile[0] = '\0';
    optionsDialogHook = [] { std::strcpy(settings.bookmarkFile, "C:\\chosen\\bookmark.htm"); };
    MessageBoxAnswerer answerer("Tresk", IDOK);
    RefreshBookmarks();
    ASSERT_TRUE(answerer.Answered());
    EXPECT_EQ(answerer.text, NO_BOOKMARK_FILE);
    EXPECT_EQ(optionsDialogCalls, 1);
    EXPECT_EQ(readerCalls.netscape, std::vector<std::string>{"C:\\chosen\\bookmark.htm"});
    EXPECT_EQ(bookmarkTable.entryCount, 3);
}

TEST_F(RefreshTest, FirstStartLeftWithoutAFileShowsNoSecondMessage)
{
    settings.bookmarkFile[0] = '\0';
    MessageBoxAnswerer answerer("Tresk", IDOK);
    RefreshBookmarks();
    EXPECT_EQ(optionsDialogCalls, 1);
    EXPECT_EQ(answerer.boxes, 1);
    EXPECT_TRUE(readerCalls.netscape.empty());
    EXPECT_EQ(trayUpdates.back(), (std::pair<int, std::string>{11, "Tresk"}));
}

TEST_F(RefreshTest, WatchRefreshWaitsUntilTheMenuIsClosed)
{
    RefreshBookmarks();
    readerCalls = ReaderCalls();
    bookmarkMenuOpen = true;
    PostMessageA(mainWindow, MSG_SOURCES_CHANGED, 0, 0);
    PostMessageA(mainWindow, MSG_SOURCES_CHANGED, 0, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, mainWindow, MSG_SOURCES_CHANGED, MSG_SOURCES_CHANGED, PM_REMOVE));
    OnSourcesChanged();  // what the window procedure does
    EXPECT_FALSE(PumpUntil([] { return !readerCalls.netscape.empty(); }, 700)) << "refreshed under an open menu";
    bookmarkMenuOpen = false;
    EXPECT_TRUE(PumpUntil([] { return !readerCalls.netscape.empty(); }, 2000));
    PumpUntil([] { return false; }, 400);
    EXPECT_EQ(readerCalls.netscape.size(), 1u) << "two reports of one change refresh once";
}

}  // namespace
