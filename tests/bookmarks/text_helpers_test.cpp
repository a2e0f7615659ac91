// The shared text helpers: short copies in rotating buffers and search without regard to case.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bookmarks/text_helpers.h"

TEST(TextHelpersTest, LeftAndRightStringCopies)
{
    struct {
        const char *text;
        int n;
        const char *left;
        const char *right;
    } rows[] = {
        {"bookmark.htm", 4, "book", ".htm"}, {"abc", 3, "abc", "abc"}, {"abc", 10, "abc", "abc"},
        {"abc", 0, "", ""},                  {"abc", -5, "", ""},      {"", 3, "", ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.text) + " n=" + std::to_string(row.n));
        EXPECT_STREQ(LeftString(row.text, row.n), row.left);
        EXPECT_STREQ(RightString(row.text, row.n), row.right);
    }
}

TEST(TextHelpersTest, ResultsStayValidUntilTwoFurtherCalls)
{
    const char *first = LeftString("first", 5);
    const char *second = RightString("second", 6);
    EXPECT_STREQ(first, "first");
    EXPECT_STREQ(second, "second");
    const char *third = LeftString("third", 5);
    EXPECT_STREQ(second, "second");
    EXPECT_STREQ(third, "third");
}

TEST(TextHelpersTest, CopiesNeverOverrunTheirBuffer)
{
    std::string longText(3000, 'x');
    longText += "END";
    EXPECT_EQ(std::strlen(LeftString(longText.c_str(), 5000)), 1024u);
    const char *right = RightString(longText.c_str(), 5000);
    EXPECT_EQ(std::strlen(right), 1024u);
    EXPECT_STREQ(right + 1021, "END");
}

TEST(TextHelpersTest, FindNoCaseFoldsLettersOnly)
{
    struct {
        const char *text;
        const char *pattern;
        int at;  // -1: not found
    } rows[] = {
        {"x LAST_VISIT=\"1\"", "last_visit", 2},
        {"<dt><a href", "<A HREF", 4},
        {"Title</a>", "</A>", 5},
        {"aaab", "AAB", 1},
        {"abc", "abcd", -1},
        {"", "a", -1},
        {"abc", "", 0},
        {"[x]", "{X}", -1},         // '[' and '{' differ by the case bit but are no letters
        {"@home", "`HOME", -1},
        {"caf\xe9", "CAF\xc9", -1},  // only A to Z fold
        {"no match here", "LAST_MODIFIED", -1},
        {"_a_b", "_B", 2},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.text) + " / " + row.pattern);
        const char *found = FindNoCase(row.text, row.pattern);
        EXPECT_EQ(found ? static_cast<int>(found - row.text) : -1, row.at);
    }
}

TEST(TextHelpersTest, FindStaysInsideItsRange)
{
    const char text[] = "abc</A>def";
    EXPECT_EQ(FindNoCaseIn(text, text + 6, "</a>"), nullptr);  // the match would end past the range
    EXPECT_EQ(FindNoCaseIn(text, text + 7, "</a>"), text + 3);
    EXPECT_EQ(FindIn(text, text + 6, "</A>"), nullptr);
    EXPECT_EQ(FindIn(text, text + 7, "</A>"), text + 3);
    EXPECT_EQ(FindIn(text, text + 7, "</a>"), nullptr);  // the exact search keeps case
}

TEST(TextHelpersTest, FindNoCaseOnLongLines)
{
    std::string line(4 << 20, 'l');  // a letter that starts the pattern, over and over
    line += "Last_Modified=\"5\"";
    const char *found = FindNoCase(line.c_str(), "LAST_MODIFIED");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found - line.c_str(), 4 << 20);
    EXPECT_EQ(FindNoCase(line.c_str(), "LAST_VISIT"), nullptr);
    EXPECT_EQ(FindNoCase(line.c_str(), "LASTX"), nullptr);
}
