// The change watch on real files under Wine: which changes reach the main window, its messages, and
// that starting, restarting and stopping never leave more than one thread.
#include <gtest/gtest.h>

#include "base/settings.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/app_state.h"
#include "bookmarks/change_watch.h"
#include "tests/support/win_test_helpers.h"


namespace {

const char BOOKMARK_WATCH_FAILED[] =
    "Tresk was unable to establish a watch on the bookmark file.  Automatic refreshing of the menu has been disabled.";
const char HOTLIST_WATCH_FAILED[] =
    "Tresk was unable to establish a watch on the Opera Hotlist file.  Automatic refreshing of the menu has been "
    "disabled.";

void WriteText(const std::string &path, const std::string &content)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(file) << path;
    std::fputs(content.c_str(), file);
    std::fclose(file);
}

const char TRESK_KEY[] = "Software\\Olvane\\Tresk";

void DeleteIgnoreWatchError()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TRESK_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Ignore Watch Error");
        RegCloseKey(key);
    }
}

DWORD ReadIgnoreWatchError()
{
    HKEY key;
    DWORD value = 0, size = sizeof value;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TRESK_KEY, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "Ignore Watch Error", nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size);
        RegCloseKey(key);
    }
    return value;
}

class ChangeWatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!mainWindow)
            mainWindow = CreateTestWindow();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        directory = std::string(temp) + "tresk-watch-" + std::to_string(GetTickCount());
        CreateDirectoryA(directory.c_str(), nullptr);
        CreateDirectoryA((directory + "\\opera").c_str(), nullptr);
        CreateDirectoryA((directory + "\\Favorites").c_str(), nullptr);
        CreateDirectoryA((directory + "\\Favorites\\News").c_str(), nullptr);
        bookmarkFile = directory + "\\bookmark.htm";
        hotlistFile = directory + "\\opera\\opera6.adr";
        WriteText(bookmarkFile, "<DT><A HREF=\"http://a/\">a</A>\n");
        WriteText(hotlistFile, "Opera Hotlist version 2.0\n");
        std::memset(&settings, 0, sizeof settings);
        settings.refreshMenu = 1;
        std::snprintf(settings.bookmarkFile, MAX_PATH, "%s", bookmarkFile.c_str());
        std::snprintf(settings.favoritesPath, MAX_PATH, "%s\\Favorites\\", directory.c_str());
        std::snprintf(settings.operaHotlistPath, MAX_PATH, "%s", hotlistFile.c_str());
        baseThreads = CountProcessThreads();
    }
    void TearDown() override
    {
        StopChangeWatch();
        CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 0);
        for (const char *file : {"\\bookmark.htm", "\\other.txt", "\\opera\\opera6.adr", "\\opera\\opera6.ini",
                                 "\\Favorites\\Paper.url"})
            DeleteFileA((directory + file).c_str());
        for (const char *folder : {"\\Favorites\\News", "\\Favorites", "\\opera", ""})
            RemoveDirectoryA((directory + folder).c_str());
    }
    // Starts the watch and lets the thread set up its notifications.
    void StartAndSettle()
    {
        StartChangeWatch();
        PumpUntil([] { return false; }, 300);
        CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 0);
    }
    std::string directory, bookmarkFile, hotlistFile;
    int baseThreads = 0;
};

TEST_F(ChangeWatchTest, RewritingTheBookmarkFileReportsOneChangeNeighboursNone)
{
    StartAndSettle();
    WriteText(directory + "\\other.txt", "not a bookmark file");
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 1000), 0) << "a neighbour's change refreshed";
    WriteText(bookmarkFile, "<DT><A HREF=\"http://b/\">bb</A>\n");
    DWORD start = GetTickCount();
    EXPECT_TRUE(PumpUntil([] {
        MSG message;
        return PeekMessageA(&message, mainWindow, MSG_SOURCES_CHANGED, MSG_SOURCES_CHANGED, PM_REMOVE) != 0;
    }, 1500));
    EXPECT_LT(GetTickCount() - start, 1500u);
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 800), 0) << "one write, one refresh";
}

TEST_F(ChangeWatchTest, HotlistChangeWaitsUntilTheWriterClosesIt)
{
    settings.useOperaHotlist = 1;
    StartAndSettle();
    WriteText(directory + "\\opera\\opera6.ini", "[User Prefs]\n");
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 800), 0);
    HANDLE writer = CreateFileA(hotlistFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    SetFilePointer(writer, 0, nullptr, FILE_END);
    WriteFile(writer, "#FOLDER\n", 8, &written, nullptr);
    FlushFileBuffers(writer);
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 800), 0) << "refreshed from a half-written file";
    CloseHandle(writer);
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 1200), 1);
}

TEST_F(ChangeWatchTest, HotlistRetryGivesUpWhenStoppedOrWhenTheFileIsGone)
{
    settings.useOperaHotlist = 1;
    StartAndSettle();
    // Held open by a writer, the hotlist cannot be read: the thread keeps trying until asked to stop.
    HANDLE writer = CreateFileA(hotlistFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(writer, "changed", 7, &written, nullptr);
    PumpUntil([] { return false; }, 500);
    RequestWatchStop();
    EXPECT_TRUE(PumpUntil([&] { return CountProcessThreads() == baseThreads; }, 1000)) << "still retrying after a stop";
    CloseHandle(writer);
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 300), 0);

    // A deleted hotlist is given up at once: nothing to report, and a stop is as prompt as ever.
    StartAndSettle();
    DeleteFileA(hotlistFile.c_str());
    WriteText(directory + "\\opera\\opera6.ini", "[User Prefs]\n");
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 800), 0);
    DWORD start = GetTickCount();
    StopChangeWatch();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(CountProcessThreads(), baseThreads);
}

TEST_F(ChangeWatchTest, NewShortcutBelowFavoritesReportsAChange)
{
    settings.useFavorites = 1;
    StartAndSettle();
    // Wine 8 signals a subtree watch only for changes in the watched folder itself, not in subfolders
    // that existed before; Windows signals both.
    WriteText(directory + "\\Favorites\\Paper.url", "[InternetShortcut]\nURL=http://paper/\n");
    EXPECT_GE(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 1000), 1);
}

TEST_F(ChangeWatchTest, StartsOnlyWhenRefreshMenuIsOnAndNeverTwice)
{
    settings.refreshMenu = 0;
    StartChangeWatch();
    EXPECT_EQ(CountProcessThreads(), baseThreads);
    settings.refreshMenu = 1;
    StartChangeWatch();
    StartChangeWatch();
    EXPECT_EQ(CountProcessThreads(), baseThreads + 1);
    // The Options dialog's restart: a stop request, then a start at once.
    RequestWatchStop();
    StartChangeWatch();
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(CountProcessThreads(), baseThreads + 1);
    // Only one thread watches: one write, one report.
    CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 0);
    WriteText(bookmarkFile, "<DT><A HREF=\"http://c/\">ccc</A>\n");
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 1200), 1);
    // Turning "Refresh Menu" off: the next start stops the thread.
    settings.refreshMenu = 0;
    StartChangeWatch();
    EXPECT_EQ(CountProcessThreads(), baseThreads);
}

TEST_F(ChangeWatchTest, StopWhileWaitingReturnsPromptlyWithTheThreadEnded)
{
    StartAndSettle();
    ASSERT_EQ(CountProcessThreads(), baseThreads + 1);
    DWORD start = GetTickCount();
    StopChangeWatch();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(CountProcessThreads(), baseThreads);
    StopChangeWatch();  // a second stop finds nothing to do
    RequestWatchStop();
}

TEST_F(ChangeWatchTest, RequestedStopEndsTheThreadWithinHalfASecond)
{
    StartAndSettle();
    RequestWatchStop();
    EXPECT_TRUE(PumpUntil([&] { return CountProcessThreads() == baseThreads; }, 600));
}

TEST_F(ChangeWatchTest, WatchFailuresAreReported)
{
    struct Case {
        const char *label;
        bool hotlist;
        const char *text;
    } cases[] = {
        {"bookmark directory missing", false, BOOKMARK_WATCH_FAILED},
        {"hotlist directory missing", true, HOTLIST_WATCH_FAILED},
    };
    for (const Case &c : cases) {
        std::string missing = directory + "\\missing\\file";
        if (c.hotlist) {
            settings.useOperaHotlist = 1;
            std::snprintf(settings.operaHotlistPath, MAX_PATH, "%s", missing.c_str());
        } else {
            std::snprintf(settings.bookmarkFile, MAX_PATH, "%s", missing.c_str());
        }
        {
            MessageBoxAnswerer answerer("Tresk Error ", IDOK);
            StartChangeWatch();
            EXPECT_TRUE(PumpUntil([&] { return answerer.Answered(); }, 3000)) << c.label;
            EXPECT_EQ(answerer.text, c.text) << c.label;
            EXPECT_EQ(answerer.title.compare(0, 12, "Tresk Error "), 0) << c.label;
            EXPECT_GT(std::atoi(answerer.title.c_str() + 12), 0) << "the error code: " << c.label;
            PumpUntil([] { return false; }, 200);
            EXPECT_EQ(answerer.boxes, 1) << c.label;
        }
        StopChangeWatch();
        EXPECT_EQ(CountProcessThreads(), baseThreads) << c.label;
        std::snprintf(settings.bookmarkFile, MAX_PATH, "%s", bookmarkFile.c_str());
    }
}

TEST_F(ChangeWatchTest, StopWhileAFailureMessageIsShownLeavesNoSecondThread)
{
    std::snprintf(settings.bookmarkFile, MAX_PATH, "%s\\missing\\file", directory.c_str());
    StartChangeWatch();
    ASSERT_TRUE(PumpUntil([] { return FindWindowA("#32770", nullptr) != nullptr; }, 3000));
    StopChangeWatch();  // gives up waiting for the thread in its message box
    std::snprintf(settings.bookmarkFile, MAX_PATH, "%s", bookmarkFile.c_str());
    StartChangeWatch();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 0), 0);
    // The new thread waits for the old one: no change is watched while the box is open.
    WriteText(bookmarkFile, "<DT><A HREF=\"http://d/\">dddd</A>\n");
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 800), 0);
    MessageBoxAnswerer answerer("Tresk Error ", IDOK);
    EXPECT_TRUE(PumpUntil([&] { return answerer.Answered(); }, 3000));
    // The old thread ends after its box, the new one then sets up: still nothing to report.
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 2500), 0);
    EXPECT_EQ(CountProcessThreads(), baseThreads + 1 + 1) << "the answerer's thread and one watch thread";
    WriteText(bookmarkFile, "<DT><A HREF=\"http://e/\">eeeee</A>\n");
    EXPECT_EQ(CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 1200), 1);
}

// A Favorites folder that cannot be watched on a volume whose name occurs in its path (an empty name
// always does): the long message, and "No" silences it for good through "Ignore Watch Error".
TEST_F(ChangeWatchTest, LongFavoritesMessageAnsweredNoIsNotShownAgain)
{
    char volumeName[256] = "";
    GetVolumeInformationA("C:\\", volumeName, sizeof volumeName, nullptr, nullptr, nullptr, nullptr, 0);
    if (volumeName[0] != '\0')
        GTEST_SKIP() << "drive C: of this prefix has a name: " << volumeName;
    DeleteIgnoreWatchError();
    settings.useFavorites = 1;
    std::snprintf(settings.favoritesPath, MAX_PATH, "C:\\tresk-missing-favorites\\");
    const std::string expected =
        "Tresk was unable to establish a watch on the Internet Explorer favorites directory.  Automatic refreshing of "
        "the bookmark menu has been disabled.\n\nThe reason for this appears to be a bug in the implementation in the "
        "FindFirstChangeNotification() function on Windows 95 and 98.  This function may fail when called against a "
        "directory that has the same name as the hard drive that it resides on.  In this case, both the folder and the "
        "hard drive are named \"\".\n\nDo you want to see this message in the future?";
    struct Step {
        const char *label;
        int answer;
        bool shown;
        DWORD ignoreValue;  // 0 = absent
    } steps[] = {
        {"first start, answered Yes", IDYES, true, 0},
        {"shown again, answered No", IDNO, true, 1},
        {"silenced", IDNO, false, 1},
    };
    for (const Step &step : steps) {
        MessageBoxAnswerer answerer("Tresk Error ", step.answer);
        StartChangeWatch();
        EXPECT_EQ(PumpUntil([&] { return answerer.Answered(); }, 1500), step.shown) << step.label;
        PumpUntil([] { return false; }, 200);
        StopChangeWatch();
        if (step.shown) {
            EXPECT_EQ(answerer.text, expected) << step.label;
        }
        EXPECT_EQ(ReadIgnoreWatchError(), step.ignoreValue) << step.label;
    }
    DeleteIgnoreWatchError();
}

}  // namespace
