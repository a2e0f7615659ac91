// The change watch on real files under Wine: the stamps that tell a watched file's own change from its
// neighbours', one report per save (in steps, by a rename), the hotlist's half-written retry, stop and
// restart with one thread at most, "Refresh Menu" off, the messages of a watch that cannot be set up, and
// Firefox's database, whose WAL changes with every page visited.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <sqlite3.h>

#include "base/app_state.h"
#include "base/settings.h"
#include "bookmarks/change_watch.h"
#include "bookmarks/firefox_reader.h"
#include "tests/support/table_checks.h"
#include "tests/support/win_test_helpers.h"

namespace {

const char TRESK_KEY[] = "Software\\Olvane\\Tresk";

// The "Ignore Watch Error" value, 0 when absent; `clear` deletes it first.
DWORD IgnoreWatchError(bool clear = false)
{
    DWORD value = 0, size = sizeof value;
    if (clear)
        SHDeleteValueA(HKEY_CURRENT_USER, TRESK_KEY, "Ignore Watch Error");
    SHGetValueA(HKEY_CURRENT_USER, TRESK_KEY, "Ignore Watch Error", nullptr, &value, &size);
    return value;
}

void Settle(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

class ChangeWatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!mainWindow)
            mainWindow = CreateTestWindow();
        directory = MakeScratchDirectory("watch").string();
        bookmarkFile = WriteScratchFile(directory + "\\bookmark.htm", "<DT><A HREF=\"http://a/\">a</A>\n");
        hotlistFile = WriteScratchFile(directory + "\\opera\\opera6.adr", "Opera Hotlist version 2.0\n");
        settings = Settings();
        settings.refreshMenu = 1;
        NameTheSources();
        baseThreads = CountProcessThreads();
    }
    void TearDown() override
    {
        StopChangeWatch();
        CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 0);
    }
    void NameTheSources()
    {
        std::snprintf(settings.bookmarkFile, MAX_PATH, "%s", bookmarkFile.c_str());
        std::snprintf(settings.operaHotlistPath, MAX_PATH, "%s", hotlistFile.c_str());
        std::snprintf(settings.favoritesPath, MAX_PATH, "%s\\", directory.c_str());
    }
    // Starts the watch and lets its thread set up its notifications.
    void StartAndSettle()
    {
        StartChangeWatch();
        Settle(300);
        CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, 0);
    }
    int Reports(DWORD milliseconds) { return CountPostedMessages(mainWindow, MSG_SOURCES_CHANGED, milliseconds); }
    std::string directory, bookmarkFile, hotlistFile;
    int baseThreads = 0;
};

// Each change is started, then finished after a pause: one report once it is finished, none before and
// none for a neighbour's change. A save in steps was reported at its first, half-written step, and one made
// by a rename not at all.
TEST_F(ChangeWatchTest, EachOwnChangeIsReportedOnceWhenFinished)
{
    settings.useOperaHotlist = 1;
    StartAndSettle();
    HANDLE writer = INVALID_HANDLE_VALUE;
    const auto hold = [&] {  // a writer that keeps the hotlist open
        writer = CreateFileA(hotlistFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(writer, "#FOLDER\n", 8, &written, nullptr);
        FlushFileBuffers(writer);
    };
    const auto write = [](const std::string &file, const char *text = "saved") {
        return [=] { WriteScratchFile(file, text); };
    };
    const auto rename = [](const std::string &file) {
        return [file] { MoveFileExA((file + ".tmp").c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING); };
    };
    const struct {
        const char *label;
        std::function<void()> start, finish;  // no finish: a neighbour's change, never reported
        DWORD pause;
    } changes[] = {
        {"neighbours", [&] { write(directory + "\\other.txt")(); write(directory + "\\opera\\opera6.ini")(); },
         nullptr, 0},
        {"one write", [] {}, write(bookmarkFile, "one write"), 0},
        {"in place, in two writes", write(bookmarkFile, "half"), write(bookmarkFile, "finished"), 100},
        {"deleted, a while without it, then a new file renamed to it",
         [&] { write(bookmarkFile + ".tmp")(); DeleteFileA(bookmarkFile.c_str()); }, rename(bookmarkFile), 400},
        {"the hotlist replaced by a rename", write(hotlistFile + ".tmp"), rename(hotlistFile), 100},
        {"the hotlist held by its writer", hold, [&] { CloseHandle(writer); }, 800},
    };
    for (const auto &change : changes) {
        change.start();
        EXPECT_EQ(Reports(change.pause), 0) << change.label << ": reported before it was finished";
        if (change.finish)
            change.finish();
        EXPECT_EQ(Reports(1200), change.finish ? 1 : 0) << change.label;
    }
    // Held open by a writer, the hotlist is retried until the thread is asked to stop.
    hold();
    Settle(500);
    RequestWatchStop();
    EXPECT_TRUE(PumpUntil([&] { return CountProcessThreads() == baseThreads; }, 600)) << "still retrying after a stop";
    CloseHandle(writer);
}

TEST_F(ChangeWatchTest, OneThreadAtMostThroughStartsStopsAndRestarts)
{
    settings.refreshMenu = 0;
    StartChangeWatch();
    EXPECT_EQ(CountProcessThreads(), baseThreads) << "\"Refresh Menu\" is off";
    settings.refreshMenu = 1;
    StartChangeWatch();
    StartChangeWatch();
    EXPECT_EQ(CountProcessThreads(), baseThreads + 1);
    RequestWatchStop();  // the Options dialog's restart: a stop request, then a start at once
    StartChangeWatch();
    Settle(1000);
    EXPECT_EQ(CountProcessThreads(), baseThreads + 1);
    WriteScratchFile(bookmarkFile, "<DT><A HREF=\"http://c/\">ccc</A>\n");
    EXPECT_EQ(Reports(1200), 1);
    settings.refreshMenu = 0;
    DWORD start = GetTickCount();
    StartChangeWatch();  // turned off: the next start stops the thread, without delay
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_EQ(CountProcessThreads(), baseThreads);
    StopChangeWatch();  // a second stop finds nothing to do
}

// Each source that cannot be watched has its message, titled with the error code. A Favorites folder on
// a volume whose name occurs in its path (an empty name always does) has the long one, which "No"
// silences for good through "Ignore Watch Error".
// Firefox holds its database in exclusive mode and writes every visit to the WAL: visits, also of a
// bookmarked page, are never reported and bring no reading of a copy within 30 s of the last; a bookmark
// added is reported at once.
TEST_F(ChangeWatchTest, FirefoxVisitsAreNoChangeABookmarkIs)
{
    std::string data = TRESK_TEST_DATA "/firefox/", places = directory + "\\firefox\\places.sqlite";
    ASSERT_EQ(MakeDatabase(places, {ReadFileBytes(data + "schema.sql"), ReadFileBytes(data + "rules.sql")}), "");
    sqlite3 *firefox = nullptr;
    sqlite3_open(places.c_str(), &firefox);
    auto run = [&](const std::string &sql) { return sqlite3_exec(firefox, sql.c_str(), nullptr, nullptr, nullptr); };
    run("PRAGMA locking_mode = EXCLUSIVE; PRAGMA wal_autocheckpoint = 0; SELECT count(*) FROM moz_places;");
    settings.useFirefox = 1;
    std::snprintf(settings.firefoxPlacesPath, MAX_PATH, "%s", places.c_str());
    ASSERT_EQ(ReadFirefoxBookmarks(places.c_str()), 1);  // the refresh's reading
    ReleaseTable();
    auto lastReading = LastFirefoxReading().when;
    StartAndSettle();
    for (int visit = 0; visit < 6; visit++) {
        std::string place = visit % 2 ? "1" : "8", time = std::to_string(1800000000000000LL + visit);
        ASSERT_EQ(run("INSERT INTO moz_historyvisits (place_id, visit_date, visit_type) VALUES (" + place + ", " + time +
                      ", 1); UPDATE moz_places SET visit_count = visit_count + 1, last_visit_date = " + time +
                      " WHERE id = " + place + ";"), SQLITE_OK);
        EXPECT_EQ(Reports(700), 0) << "a visit was reported";
    }
    EXPECT_TRUE(LastFirefoxReading().when == lastReading) << "a copy was read within 30 s of the last";
    ASSERT_EQ(run("INSERT INTO moz_places (id, url, guid) VALUES (50, 'https://new.example/', 'newplace0050'); "
                  "INSERT INTO moz_bookmarks (type, fk, parent, position, title, guid) VALUES (1, 50, 3, 1, 'New', "
                  "'newmark00050');"), SQLITE_OK);
    EXPECT_EQ(Reports(4000), 1) << "the new bookmark";
    sqlite3_close(firefox);
}

TEST_F(ChangeWatchTest, SetUpFailureMessages)
{
    char volumeName[256] = "";
    GetVolumeInformationA("C:\\", volumeName, sizeof volumeName, nullptr, nullptr, nullptr, nullptr, 0);
    if (volumeName[0] != '\0')
        GTEST_SKIP() << "drive C: of this prefix has a name: " << volumeName;
    IgnoreWatchError(true);
    const std::string longText =
        "Tresk was unable to establish a watch on the Internet Explorer favorites directory.  Automatic refreshing of "
        "the bookmark menu has been disabled.\n\nThe reason for this appears to be a bug in the implementation in the "
        "FindFirstChangeNotification() function on Windows 95 and 98.  This function may fail when called against a "
        "directory that has the same name as the hard drive that it resides on.  In this case, both the folder and the "
        "hard drive are named \"\".\n\nDo you want to see this message in the future?";
    struct {
        const char *label;
        char *missing;  // the one setting that names something missing
        int answer;
        std::string text;  // "": no message
        DWORD ignoreValue;  // 0 = absent
    } steps[] = {
        {"bookmark file", settings.bookmarkFile, IDOK, "Tresk was unable to establish a watch on the bookmark file.  "
                                                       "Automatic refreshing of the menu has been disabled.", 0},
        {"hotlist", settings.operaHotlistPath, IDOK, "Tresk was unable to establish a watch on the Opera Hotlist "
                                                     "file.  Automatic refreshing of the menu has been disabled.", 0},
        {"Favorites, answered Yes", settings.favoritesPath, IDYES, longText, 0},
        {"Favorites again, answered No", settings.favoritesPath, IDNO, longText, 1},
        {"Favorites silenced", settings.favoritesPath, IDNO, "", 1},
    };
    settings.useOperaHotlist = settings.useFavorites = 1;
    for (const auto &step : steps) {
        NameTheSources();
        bool favorites = step.missing == settings.favoritesPath;
        std::string missing = favorites ? "C:\\tresk-missing\\" : directory + "\\missing\\file";
        std::snprintf(step.missing, MAX_PATH, "%s", missing.c_str());
        MessageBoxAnswerer answerer("Tresk Error ", step.answer);
        StartChangeWatch();
        PumpUntil([&] { return answerer.Answered(); }, step.text.empty() ? 1500 : 3000);
        Settle(200);
        StopChangeWatch();
        EXPECT_EQ(answerer.text, step.text) << step.label;
        EXPECT_EQ(answerer.boxes, step.text.empty() ? 0 : 1) << step.label;
        bool coded = answerer.title.size() > 12 && std::atoi(answerer.title.c_str() + 12) > 0;
        EXPECT_EQ(coded, !step.text.empty()) << "the error code: " << answerer.title;
        EXPECT_EQ(IgnoreWatchError(), step.ignoreValue) << step.label;
    }
    IgnoreWatchError(true);
}

}  // namespace
