// The clipboard texts of the copy commands, byte for byte: nothing is escaped.
#include <gtest/gtest.h>

#include "bookmarks/bookmark_table.h"
#include "res/resource.h"
#include "tools/clipboard_text.h"

TEST(ClipboardTextFor, NameLocationAndAnchorUnescaped)
{
    char name[] = "Say \"hi\" <b>&amp;", url[] = "http://x/?a=\"1\"&b=<2>";
    BookmarkEntry entry = {};
    entry.name = name;
    entry.url = url;
    const std::pair<int, const char *> rows[] = {{IDC_CMD_COPY_NAME, name}, {IDC_CMD_COPY_LOCATION, url},
        {IDC_CMD_COPY_HTML, "<A HREF=\"http://x/?a=\"1\"&b=<2>\">Say \"hi\" <b>&amp;</A>"}, {IDC_CMD_BROWSE, ""}, {0, ""}};
    for (const auto &row : rows)
        EXPECT_EQ(ClipboardTextFor(row.first, entry), row.second) << row.first;
}
