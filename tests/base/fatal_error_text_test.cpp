// The fatal error message of every code, and a message cut to a short buffer without writing past it.
#include "base/fatal_error.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(FormatFatalError, EveryCodeHasItsText)
{
    const struct { int code; const char *text; } rows[] = {
        {1, "Out of Memory"}, {2, "Cannot Open File"}, {3, "Cannot Read From File"}, {4, "Cannot Write to File"},
        {5, ""}, {6, ""}, {7, ""}, {8, "Overflow"}, {9, "Invalid Bookmark File"}, {10, "Cannot find Bookmark File"},
        {11, "Cannot access 'HKEY_CURRENT_USER\\Software\\Olvane\\Tresk' registry key.  Error Code: 1234"},
        {12, "An error occurred while parsing the bookmark file: C:\\b\\bookmark.htm"}, {13, ""},
    };
    for (const auto &row : rows) {
        char text[512];
        FormatFatalError(row.code, 1234, "C:\\b\\bookmark.htm", text, sizeof text);
        EXPECT_STREQ(text, row.text) << "code " << row.code;
    }
    char cut[64 + 4];
    std::memset(cut, '#', sizeof cut);
    FormatFatalError(12, 0, std::string(600, 'x').c_str(), cut, 64);
    const std::string want = "An error occurred while parsing the bookmark file: " + std::string(12, 'x');
    EXPECT_EQ(std::string(cut, sizeof cut), want + '\0' + "####");
}
