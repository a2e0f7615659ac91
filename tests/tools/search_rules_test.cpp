// The rules of the bookmark tools that need no window: what a search finds, how its history moves, how the
// result rows sort, and the address Quick URL Entry opens.
#include <gtest/gtest.h>

#include <algorithm>

#include "bookmarks/bookmark_table.h"
#include "tests/support/table_checks.h"
#include "tools/bookmark_copy.h"
#include "tools/quick_url.h"
#include "tools/search_rules.h"

namespace {

TEST(SearchRules, FindsBookmarksByNameOrAddressInAnyCaseAndNothingElse)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    const char *records[][2] = {{"News folder", OPEN_FOLDER}, {"Daily news", "http://a.example/"},
                                {"Weather", "http://NEWS.example/"}, {"Other", "http://b.example/"},
                                {"", CLOSE_FOLDER}, {"", SEPARATOR}, {"", ""}, {"Mail", "mailto:x@y"}};
    for (const auto &record : records)
        AppendRecord(cursor, record[0], record[1]);
    EXPECT_EQ(FindSearchResults("NEWS"), (std::vector<int>{1, 2}));
    EXPECT_EQ(FindSearchResults(""), (std::vector<int>{1, 2, 3, 7}));  // never folders, separators or blanks
    ReleaseTable();
    EXPECT_EQ(ResultCountText(1) + ", " + ResultCountText(0), "1 bookmark, 0 bookmarks");
}

TEST(SearchRules, HistoryKeepsTheTenLatestOnceEachMostRecentFirst)
{
    std::vector<std::string> history;
    for (int i = 1; i <= 11; i++)
        AddToSearchHistory(history, "term " + std::to_string(i));
    EXPECT_EQ(history.size(), 10u);
    EXPECT_EQ(history.back(), "term 2");
    AddToSearchHistory(history, "TERM 5");  // a repeat in other case moves up, as typed
    EXPECT_EQ(history.size(), 10u);
    EXPECT_EQ(history[0] + " " + history[1], "TERM 5 term 11");
    EXPECT_EQ(std::count(history.begin(), history.end(), "term 5"), 0);
}

TEST(SearchRules, RowsSortByColumnKeepingTiesAndSayWhereEachWent)
{
    std::vector<BookmarkCopy> rows(4);
    const char *cells[][2] = {{"b", "Zebra"}, {"A", "apple"}, {"c", "Mango"}, {"a", "apple"}};
    for (size_t i = 0; i < rows.size(); i++)
        rows[i].name = cells[i][0], rows[i].folderPath = cells[i][1];
    EXPECT_EQ(SortBookmarkCopies(rows, 2, +1), (std::vector<int>{3, 0, 2, 1}));
    SortBookmarkCopies(rows, 0, -1);
    EXPECT_EQ(rows[0].name + rows[1].name + rows[2].name + rows[3].name, "cbAa");
}

TEST(QuickUrlAddress, AddsHttpUnlessTheAnswerHoldsASchemeSeparator)
{
    const char *cases[][2] = {{"example.org/x", "http://example.org/x"}, {"ftp://f.example/", "ftp://f.example/"},
                              {"mailto:a@b.example", "http://mailto:a@b.example"},
                              {"see a://b", "see a://b"}, {"", "http://"}};
    for (const auto &c : cases)
        EXPECT_EQ(QuickUrlAddress(c[0]), c[1]) << c[0];
}

}  // namespace
