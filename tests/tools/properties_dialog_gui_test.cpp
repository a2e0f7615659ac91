// The Bookmark Properties dialog made from the program's template: every field, the placeholders, local
// times, and the busy guard's dialog handed back on close. Runs with TZ one hour east of UTC.
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "bookmarks/bookmark_table.h"
#include "res/properties_ids.h"
#include "tests/support/dialog_driver_win.h"
#include "tests/support/win_test_helpers.h"
#include "tools/properties_dialog.h"

// The user's long date and time without seconds of a local wall-clock time, formatted here on its own.
std::string LocalText(WORD year, WORD month, WORD dayOfWeek, WORD day, WORD hour)
{
    SYSTEMTIME t = {year, month, dayOfWeek, day, hour, 0, 0, 0};
    char date[256] = "", time[256] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

// Opens the dialog for the record at position (once a table exists) and answers its fields, "|" between them.
std::string Open(int position, HWND *dialog)
{
    if (!mainWindow) {
        mainWindow = CreateTestWindow();
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_OPERA);
        AppendRecord(cursor, "Top <page>", "http://top.example/?q=\"x\"", "First line\r\nsecond line");
        AppendLines(SOURCE_OPERA, {"[A", "[B", "Inner", "]", "]", "Damaged"});
        AppendLines(SOURCE_FAVORITES, {"Fav"});
        bookmarkTable.entries[0].lastVisit = 946684800;     // 2000-01-01 00:00:00 UTC
        bookmarkTable.entries[0].lastModified = 951782400;  // 2000-02-29 00:00:00 UTC
        bookmarkTable.entries[6].lastVisit = -5;            // only a damaged source has times before 1970
        bookmarkTable.entries[6].lastModified = 7;
    }
    propertiesEntry = CopyBookmark(position);
    *dialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_PROPERTIES), mainWindow, PropertiesDialogProc, 0);
    std::string fields;
    for (int id : {IDC_PROPERTIES_NAME, IDC_PROPERTIES_LOCATION, IDC_PROPERTIES_DESCRIPTION, IDC_PROPERTIES_FOLDER, IDC_PROPERTIES_VISITED, IDC_PROPERTIES_MODIFIED})
        fields += (fields.empty() ? "" : "|") + ItemText(*dialog, id);
    return fields;
}

TEST(PropertiesDialog, EveryFieldAndItsPlaceholders)
{
    const std::pair<int, std::string> rows[] = {
        {0, "Top <page>|http://top.example/?q=\"x\"|First line\r\nsecond line|<none>|" + LocalText(2000, 1, 6, 1, 1) + "|" + LocalText(2000, 2, 2, 29, 1)},
        {3, "Inner|tresktest://Inner/||A > B|<never visited>|<undefined>"},
        {6, "Damaged|tresktest://Damaged/||<none>|<unknown>|" + LocalText(1970, 1, 4, 1, 1)},
        {7, "Fav|tresktest://Fav/||<none>|<undefined>|<undefined>"},  // Favorites have no visit time
    };
    ASSERT_NE(rows[0].second.find("2000"), std::string::npos) << rows[0].second;
    for (const auto &row : rows) {
        HWND dialog;
        EXPECT_EQ(Open(row.first, &dialog), row.second) << "position " << row.first;
        DestroyWindow(dialog);
    }
}

TEST(PropertiesDialog, TheBusyGuardsDialogIsHandedBackOrTheGuardClearedAndVerifyActivated)
{
    HWND dialog, other = CreateWindowA("STATIC", "search", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, appInstance, nullptr);
    modalOpen = TRUE;
    modalWindow = other;  // opened from the Search dialog
    Open(0, &dialog);
    EXPECT_EQ(modalWindow, dialog);
    DestroyWindow(dialog);
    EXPECT_TRUE(modalOpen && modalWindow == other && GetActiveWindow() == other) << "Search is the guard's dialog again";
    modalOpen = FALSE;
    modalWindow = nullptr;
    g_verifyDialog = other;  // opened alone while the Verify window is open
    Open(0, &dialog);
    EXPECT_TRUE(modalOpen);
    DestroyWindow(dialog);
    EXPECT_TRUE(!modalOpen && !modalWindow && GetActiveWindow() == other) << "cleared, Verify activated";
    DestroyWindow(other);
    g_verifyDialog = nullptr;
}

