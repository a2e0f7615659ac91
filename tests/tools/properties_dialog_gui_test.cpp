// The Bookmark Properties dialog made from its template: every field read back, placeholders, local times,
// and the busy guard's dialog handed back on close. Runs with TZ one hour east of UTC (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/shell.h"
#include "bookmarks/bookmark_table.h"
#include "res/properties_ids.h"
#include "tests/tools/interact_standins.h"
#include "tools/properties_dialog.h"

extern HWND g_verifyDialog;

namespace {

const int32_t Y2K = 946684800;       // 2000-01-01 00:00:00 UTC
const int32_t LEAP_DAY = 951782400;  // 2000-02-29 00:00:00 UTC

// The user's long date and time without seconds of a local wall-clock time, formatted here on its own.
std::string LocalText(WORD year, WORD month, WORD dayOfWeek, WORD day, WORD hour)
{
    SYSTEMTIME t = {year, month, dayOfWeek, day, hour, 0, 0, 0};
    char date[256] = "", time[256] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

class PropertiesDialogTest : public ::testing::Test {
protected:
    int top = -1, inner = -1, favorite = -1, damaged = -1;
    HWND dialog = nullptr;
    void SetUp() override
    {
        CreateTestShell();
        modalOpen = FALSE;
        modalWindow = nullptr;
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_OPERA);
        top = AppendRecord(cursor, "Top <page>", "http://top.example/?q=\"x\"", "First line\r\nsecond line");
        AppendRecord(cursor, "A", OPEN_FOLDER);
        AppendRecord(cursor, "B", OPEN_FOLDER);
        inner = AppendRecord(cursor, "Inner", "http://inner.example/");
        AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
        AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
        damaged = AppendRecord(cursor, "Damaged", "http://damaged.example/");
        StartReading(cursor, SOURCE_FAVORITES);
        favorite = AppendRecord(cursor, "Fav", "http://fav.example/");
        bookmarkTable.entries[top].lastVisit = Y2K;
        bookmarkTable.entries[top].lastModified = LEAP_DAY;
        bookmarkTable.entries[damaged].lastVisit = -5;
        bookmarkTable.entries[damaged].lastModified = 7;
        BuildTestMenus();
    }
    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
        g_verifyDialog = nullptr;
        FreeTestTable();
        DestroyTestShell();
    }
    HWND Open(int position)
    {
        propertiesEntry = position;
        dialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_PROPERTIES), mainWindow, PropertiesDialogProc, 0);
        return dialog;
    }
    std::string Field(int id)
    {
        char text[1100] = "";
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }
    void Close()
    {
        DestroyWindow(dialog);
        dialog = nullptr;
    }
};

TEST_F(PropertiesDialogTest, EveryFieldOfATopLevelBookmark)
{
    ASSERT_TRUE(Open(top));
    std::string visited = LocalText(2000, 1, 6, 1, 1);  // one hour east of UTC: 01:00 on 1 January
    ASSERT_NE(visited.find("2000"), std::string::npos) << visited;
    EXPECT_EQ(Field(IDC_PROPERTIES_NAME), "Top <page>");
    EXPECT_EQ(Field(IDC_PROPERTIES_LOCATION), "http://top.example/?q=\"x\"");
    EXPECT_EQ(Field(IDC_PROPERTIES_DESCRIPTION), "First line\r\nsecond line");
    EXPECT_EQ(Field(IDC_PROPERTIES_FOLDER), "<none>");
    EXPECT_EQ(Field(IDC_PROPERTIES_VISITED), visited);
    EXPECT_EQ(Field(IDC_PROPERTIES_MODIFIED), LocalText(2000, 2, 2, 29, 1));
}

TEST_F(PropertiesDialogTest, PlaceholdersAndFolderPath)
{
    struct Case {
        const char *label;
        int *position;
        const char *folder, *description, *visited, *modified;
    } cases[] = {
        {"nested, never visited", &inner, "A > B", "", "<never visited>", "<undefined>"},
        {"Favorites has no visit time", &favorite, "<none>", "", "<undefined>", "<undefined>"},
        {"time before 1970", &damaged, "<none>", "", "<unknown>", nullptr},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(Open(*c.position)) << c.label;
        EXPECT_EQ(Field(IDC_PROPERTIES_FOLDER), c.folder) << c.label;
        EXPECT_EQ(Field(IDC_PROPERTIES_DESCRIPTION), c.description) << c.label;
        EXPECT_EQ(Field(IDC_PROPERTIES_VISITED), c.visited) << c.label;
        if (c.modified) {
            EXPECT_EQ(Field(IDC_PROPERTIES_MODIFIED), c.modified) << c.label;
        }
        Close();
    }
    // Seven seconds after the epoch is still 1 January 1970 in the user's zone, at 01:00.
    ASSERT_TRUE(Open(damaged));
    EXPECT_EQ(Field(IDC_PROPERTIES_MODIFIED), LocalText(1970, 1, 4, 1, 1));
}

TEST_F(PropertiesDialogTest, TemplateLabelsAndReadOnlyEdits)
{
    ASSERT_TRUE(Open(top));
    char title[64] = "";
    GetWindowTextA(dialog, title, sizeof title);
    EXPECT_STREQ(title, "Bookmark Properties");
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);

    struct Case {
        int id;
        const char *label;
        LONG required;
    } cases[] = {
        {IDC_PROPERTIES_NAME, "&Name:", ES_AUTOHSCROLL},
        {IDC_PROPERTIES_LOCATION, "&Location (URL):", ES_AUTOHSCROLL},
        {IDC_PROPERTIES_DESCRIPTION, "&Description:", ES_MULTILINE | WS_VSCROLL},
        {IDC_PROPERTIES_FOLDER, "&Folder:", 0},
        {IDC_PROPERTIES_VISITED, "Last &Visited On:", 0},
        {IDC_PROPERTIES_MODIFIED, "Last &Modified On:", 0},
    };
    for (const Case &c : cases) {
        HWND edit = GetDlgItem(dialog, c.id);
        ASSERT_TRUE(edit) << c.label;
        LONG editStyle = GetWindowLongA(edit, GWL_STYLE);
        EXPECT_EQ(editStyle & (ES_READONLY | c.required), ES_READONLY | c.required) << c.label;
        // The edit control turns the template's border into a sunken client edge.
        bool bordered = (editStyle & WS_BORDER) || (GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(bordered) << c.label;
        // The label is the static text just before its edit box in the tab order.
        char label[64] = "";
        GetWindowTextA(GetWindow(edit, GW_HWNDPREV), label, sizeof label);
        EXPECT_STREQ(label, c.label);
    }
    HWND ok = GetDlgItem(dialog, IDOK);
    ASSERT_TRUE(ok);
    EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & 0xF, BS_DEFPUSHBUTTON);
    RECT units = {0, 0, 255, 145}, client;
    MapDialogRect(dialog, &units);
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

TEST_F(PropertiesDialogTest, OpenedFromSearchGivesTheBusyGuardBack)
{
    HWND search = CreateWindowA("STATIC", "search", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, appInstance, nullptr);
    modalOpen = TRUE;
    modalWindow = search;
    ASSERT_TRUE(Open(top));
    EXPECT_EQ(modalWindow, dialog);
    Close();
    EXPECT_EQ(modalWindow, search);
    EXPECT_EQ(modalOpen, TRUE);
    EXPECT_EQ(GetActiveWindow(), search);
    DestroyWindow(search);
}

TEST_F(PropertiesDialogTest, OpenedAloneClearsTheGuardAndActivatesVerify)
{
    HWND verify = CreateWindowA("STATIC", "verify", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, appInstance, nullptr);
    g_verifyDialog = verify;
    ASSERT_TRUE(Open(top));
    EXPECT_EQ(modalOpen, TRUE);
    Close();
    EXPECT_EQ(modalOpen, FALSE);
    EXPECT_EQ(modalWindow, nullptr);
    EXPECT_EQ(GetActiveWindow(), verify);
    DestroyWindow(verify);
}

TEST_F(PropertiesDialogTest, StalePositionEndsAtOnce)
{
    EXPECT_EQ(OpenPropertiesDialog(bookmarkTable.entryCount), 0);
    EXPECT_EQ(modalOpen, FALSE);
    EXPECT_EQ(modalWindow, nullptr);
}

}  // namespace
