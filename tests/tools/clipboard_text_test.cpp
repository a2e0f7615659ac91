// The clipboard texts of the copy commands, byte for byte.
#include <gtest/gtest.h>

#include "tools/clipboard_text.h"
#include "res/resource.h"

namespace {

TEST(ClipboardTextFor, NameLocationAndAnchorUnescaped)
{
    BookmarkCopy entry = {};
    entry.name = "Say \"hi\" <b>&amp;";
    entry.url = "http://x/?a=\"1\"&b=<2>";
    struct Case {
        int command;
        const char *expected;
    } cases[] = {
        {IDC_CMD_COPY_NAME, "Say \"hi\" <b>&amp;"},
        {IDC_CMD_COPY_LOCATION, "http://x/?a=\"1\"&b=<2>"},
        {IDC_CMD_COPY_HTML, "<A HREF=\"http://x/?a=\"1\"&b=<2>\">Say \"hi\" <b>&amp;</A>"},
        {IDC_CMD_BROWSE, ""},
        {0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ClipboardTextFor(c.command, entry), c.expected) << c.command;
}

}  // namespace
