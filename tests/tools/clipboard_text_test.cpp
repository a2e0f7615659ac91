// The clipboard texts of the copy commands, byte for byte: nothing is escaped.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tools/clipboard_text.h"

TEST(ClipboardTextFor, NameLocationAndAnchorUnescaped)
{
    BookmarkCopy entry = {};
    entry.name = "Say \"hi\" <b>&amp;";
    entry.url = "http://x/?a=\"1\"&b=<2>";
    const std::pair<int, const char *> rows[] = {{IDC_CMD_COPY_NAME, "Say \"hi\" <b>&amp;"},
        {IDC_CMD_COPY_LOCATION, "http://x/?a=\"1\"&b=<2>"},
        {IDC_CMD_COPY_HTML, "<A HREF=\"http://x/?a=\"1\"&b=<2>\">Say \"hi\" <b>&amp;</A>"}, {IDC_CMD_BROWSE, ""}, {0, ""}};
    for (const auto &row : rows)
        EXPECT_EQ(ClipboardTextFor(row.first, entry), row.second) << row.first;
}
