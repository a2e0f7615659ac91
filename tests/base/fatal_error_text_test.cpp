// The fatal error messages of every code, and that a short buffer is never overrun.
#include "base/fatal_error.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FormatFatalError, EveryCodeHasItsText)
{
    struct Row {
        int code;
        const char *want;
    };
    const Row rows[] = {
        {1, "Out of Memory"},
        {2, "Cannot Open File"},
        {3, "Cannot Read From File"},
        {4, "Cannot Write to File"},
        {5, ""},
        {6, ""},
        {7, ""},
        {8, "Overflow"},
        {9, "Invalid Bookmark File"},
        {10, "Cannot find Bookmark File"},
        {11, "Cannot access 'HKEY_CURRENT_USER\\Software\\Olvane\\Tresk' registry key.  Error Code: 1234"},
        {12, "An error occurred while parsing the bookmark file: C:\\b\\bookmark.htm"},
        {13, ""},
    };
    for (const Row &row : rows) {
        char buffer[512];
        std::memset(buffer, '#', sizeof buffer);
        FormatFatalError(row.code, 1234, "C:\\b\\bookmark.htm", buffer, sizeof buffer);
        EXPECT_STREQ(buffer, row.want) << "code " << row.code;
    }
}

TEST(FormatFatalError, LongFileNameIsCutToTheBuffer)
{
    std::string name(600, 'x');
    char buffer[64 + 8];
    std::memset(buffer, '#', sizeof buffer);
    FormatFatalError(12, 0, name.c_str(), buffer, 64);
    EXPECT_EQ(std::strlen(buffer), 63u);
    for (size_t i = 64; i < sizeof buffer; ++i)
        EXPECT_EQ(buffer[i], '#') << "overrun at " << i;
}
