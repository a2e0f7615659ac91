// The directory part of a path, which the change watch watches.
#include <gtest/gtest.h>

#include "bookmarks/change_watch.h"

TEST(GetDirectoryPart, TextBeforeTheLastBackslash)
{
    struct Case {
        const char *path, *expected;
    } cases[] = {
        {"C:\\Program Files\\Netscape\\Users\\default\\bookmark.htm", "C:\\Program Files\\Netscape\\Users\\default"},
        {"C:\\bookmark.htm", "C:"},
        {"bookmark.htm", ""},
        {"", ""},
        {"C:\\dir\\", "C:\\dir"},
        {"\\\\server\\share\\opera6.adr", "\\\\server\\share"},
        {"C:/forward/slashes.htm", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetDirectoryPart(c.path), c.expected) << c.path;
}
