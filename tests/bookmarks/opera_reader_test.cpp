// The Opera hotlist reader: keyword lines, value positions, folders and the file handling.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/opera_reader.h"
#include "tests/support/table_checks.h"

class OperaReaderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
};

struct HotlistCase {
    const char *label;
    const char *text;
    const char *records;  // DumpTable of what is appended
    int openAtEnd;        // folders whose "-" is missing
};

static const HotlistCase HOTLIST_CASES[] = {
    {"a full record", "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Example\n\tURL=http://example.com/\n"
     "\tCREATED=946684800\n\tVISITED=978307200\n\tORDER=3\n\tDESCRIPTION=some words\n",
     "-1 Example = http://example.com/ created 946684800 visited 978307200 (some words)\n", 0},
    {"keywords in lower case", "#url\nNAME=a\nURL=http://a/\n#folder\nNAME=F\n-\n",
     "-1 a = http://a/\n-1 F = Open Folder\n0 Close Folder = Close Folder\n", 0},
    {"a keyword is a whole line", "#URL \nNAME=a\nURL=http://a/\n#URLS\nNAME=b\nURL=http://b/\n#URL\nNAME=c\nURL=http://c/\n",
     "-1 c = http://c/\n", 0},
    {"no created line shifts the positions", "#URL\nNAME=a\nURL=http://a/\nVISITED=978307200\nORDER=1\n",
     "-1 a = http://a/\n", 0},
    {"visited read only at +4", "#URL\nNAME=a\nURL=http://a/\nORDER=1\nvisited=12\n", "-1 a = http://a/ visited 12\n", 0},
    {"a time key without a value", "#URL\nNAME=a\nURL=http://a/\nCREATED=\nVISITED=\nX\nDESCRIPTION=\n",
     "-1 a = http://a/\n", 0},
    {"blank lines take no position", "#URL\n\n\nNAME=a\n\nURL=http://a/\n\ncreated=5\n", "-1 a = http://a/ created 5\n", 0},
    {"a line of blanks takes a position", "#URL\n   \nNAME=a\nURL=http://a/\n", "-1  = =a\n", 0},
    {"tabs and spaces before a line go", "  \t#URL\n\t\t NAME=tabbed\n URL=http://t/\n", "-1 tabbed = http://t/\n", 0},
    {"trailing blanks stay", "#URL\nNAME=x  \nURL=http://x/ \n", "-1 x   = http://x/ \n", 0},
    {"a value line shorter than its key", "#URL\nNAME\nURL\n", "-1  = \n", 0},
    {"lines missing at the end", "#URL\n", "-1  = \n", 0},
    {"a folder's name only", "#FOLDER\nNAME=Only\n", "-1 Only = Open Folder\n", 1},
    {"\"-\" at top level is nothing", "-\n#URL\nNAME=a\nURL=http://a/\n-\n", "-1 a = http://a/\n", 0},
    {"\"-\" must be exact", "#FOLDER\nNAME=F\n- \n--\n#URL\nNAME=in\nURL=u\n",
     "-1 F = Open Folder\n0 in = u\n", 1},
    {"nested folders", "#FOLDER\nNAME=Outer\n#FOLDER\nNAME=Inner\n#URL\nNAME=deep\nURL=d\n-\n#URL\nNAME=mid\nURL=m\n-\n"
     "#URL\nNAME=top\nURL=t\n",
     "-1 Outer = Open Folder\n0 Inner = Open Folder\n1 deep = d\n1 Close Folder = Close Folder\n0 mid = m\n"
     "0 Close Folder = Close Folder\n-1 top = t\n", 0},
    {"a folder without its \"-\" stays open", "#FOLDER\nNAME=Open\n#URL\nNAME=a\nURL=u\n-\n-\n#FOLDER\nNAME=B\n#URL\nNAME=b\nURL=v\n",
     "-1 Open = Open Folder\n0 a = u\n0 Close Folder = Close Folder\n-1 B = Open Folder\n1 b = v\n", 1},
    {"CR LF line ends", "#URL\r\nNAME=a\r\n\r\nURL=http://a/\r\nCREATED=7\r\n", "-1 a = http://a/ created 7\n", 0},
    {"texts byte for byte", "#URL\nNAME=caf\xE9 &amp; \x80\nURL=http://h/\xC3\xA9?q=1#f\n",
     "-1 caf\xE9 &amp; \x80 = http://h/\xC3\xA9?q=1#f\n", 0},
    {"times beyond 32 bits are held", "#URL\nNAME=a\nURL=u\ncreated=99999999999\nvisited=-99999999999\n",
     "-1 a = u created 2147483647 visited -2147483648\n", 0},
};

TEST_F(OperaReaderTest, HotlistTexts)
{
    for (const HotlistCase &row : HOTLIST_CASES) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(ReadOperaHotlistText(row.text), 1);
        EXPECT_EQ(DumpTable(), row.records);
        EXPECT_EQ(CheckFolderCounts(), "");
        EXPECT_EQ(CheckDepthFirst(0, row.openAtEnd), "");
        for (int i = 0; i < bookmarkTable.entryCount; i++)
            EXPECT_EQ(bookmarkTable.entries[i].source, SOURCE_OPERA);
        DestroyBookmarkMenus();
        FreeBookmarkTable();
    }
}

TEST_F(OperaReaderTest, NothingToReadAppendsNothing)
{
    const char *texts[] = {"", "\n\n", "Opera Hotlist version 2.0\nNAME=a\nURL=b\n-\n", "#URL \n#FOLDERS\n"};
    for (const char *text : texts) {
        EXPECT_EQ(ReadOperaHotlistText(text), 0) << text;
        EXPECT_EQ(bookmarkTable.entryCount, 0) << text;
        EXPECT_EQ(bookmarkTable.rootMenu, nullptr) << text;
    }
    EXPECT_EQ(ReadOperaHotlist("no such directory/no such hotlist.adr"), 0);
    EXPECT_EQ(bookmarkTable.rootMenu, nullptr);
}

TEST_F(OperaReaderTest, NamesAndUrlsCutAt1024ButDescriptionsWhole)
{
    std::string longText(3000, 'x');
    std::string text = "#URL\nNAME=" + longText + "\nURL=" + longText + "\nCREATED=1\nVISITED=2\nORDER=3\nDESCRIPTION=" +
                       longText + "\n";
    ASSERT_EQ(ReadOperaHotlistText(text.c_str()), 1);
    ASSERT_EQ(bookmarkTable.entryCount, 1);
    EXPECT_EQ(std::string(bookmarkTable.entries[0].name), longText.substr(0, 1024));
    EXPECT_EQ(std::string(bookmarkTable.entries[0].url), longText.substr(0, 1024));
    EXPECT_EQ(std::string(bookmarkTable.entries[0].description), longText);
}

TEST_F(OperaReaderTest, AppendsAfterOtherSourcesAtTopLevel)
{
    ReaderCursor cursor;
    StartReading(cursor, SOURCE_NETSCAPE);
    AppendRecord(cursor, "N", OPEN_FOLDER);
    AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
    MenuHandle root = bookmarkTable.rootMenu;
    ASSERT_EQ(ReadOperaHotlistText("#FOLDER\nNAME=O\n#URL\nNAME=o\nURL=u\n-\n"), 1);
    EXPECT_EQ(bookmarkTable.rootMenu, root);
    EXPECT_EQ(DumpTable(2), "-1 O = Open Folder\n1 o = u\n1 Close Folder = Close Folder\n");
    EXPECT_EQ(bookmarkTable.folders[1].entry, 2);
    EXPECT_EQ(bookmarkTable.folders[1].parentMenu, root);
    EXPECT_EQ(CheckFolderCounts(), "");
    EXPECT_EQ(CheckDepthFirst(0), "");
}

TEST_F(OperaReaderTest, ReadsTheSampleHotlistFile)
{
    std::string path = std::string(TRESK_TEST_DATA) + "/opera/sample.adr";
    ASSERT_EQ(ReadOperaHotlist(path.c_str()), 1);
    EXPECT_EQ(DumpTable(),
              "-1 Opera Software = Open Folder\n"
              "0 Opera Web Site = http://www.opera.com/ created 946684800 visited 978307200 (Where Opera lives)\n"
              "0 Close Folder = Close Folder\n"
              "-1 Debian = http://www.debian.org/ created 1000000000\n");
    EXPECT_EQ(bookmarkTable.entries[1].lastModified, 946684800);
    EXPECT_EQ(bookmarkTable.entries[1].lastVisit, 978307200);
}
