// The Netscape bookmark file reader: recognised lines, cut texts, times, other browsers' layouts and hostile files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/netscape_test_support.h"

#ifndef TRESK_TEST_DATA
#error TRESK_TEST_DATA must name tests/data
#endif

class NetscapeReaderTest : public ::testing::Test {
protected:
    void TearDown() override { ReleaseTable(); }

    // Reads the bytes as a bookmark file; the table must hold together whatever they were.
    int Read(const std::string &bytes)
    {
        std::string path = WriteTempFile(::testing::UnitTest::GetInstance()->current_test_info()->name(), bytes);
        int result = ReadNetscapeBookmarks(path.c_str());
        std::remove(path.c_str());
        ExpectTableConsistent();
        return result;
    }
};

struct LineCase {
    const char *label;
    const char *lines;  // what stands between "<DL><p>" and the outermost "</DL>"
    std::vector<std::string> records;  // without the final top-level end record
};

static const LineCase lineCases[] = {
    {"netscape heading", "<DT><H3 FOLDED ADD_DATE=\"9\">News</H3>\n<DL><p>\n</DL><p>",
     {"F -1|News||0|0", "E 0|Close Folder||0|0"}},
    {"bookmark with both times",
     "<DT><A HREF=\"http://a.example/\" ADD_DATE=\"1\" LAST_VISIT=\"905000000\" LAST_MODIFIED=\"904000002\">A</A>",
     {"B -1|A|http://a.example/|905000000|904000002"}},
    {"no times", "<DT><A HREF=\"http://b/\">B</A>", {"B -1|B|http://b/|0|0"}},
    {"visit of 0", "<DT><A HREF=\"u\" LAST_VISIT=\"0\">t</A>", {"B -1|t|u|0|0"}},
    {"time with blanks and sign", "<DT><A HREF=\"u\" LAST_VISIT=\" -15x\" LAST_MODIFIED=\"+20\">t</A>",
     {"B -1|t|u|-15|20"}},
    {"time beyond 32 bits", "<DT><A HREF=\"u\" LAST_VISIT=\"99999999999\" LAST_MODIFIED=\"-99999999999\">t</A>",
     {"B -1|t|u|2147483647|-2147483648"}},
    {"time names in any case", "<DT><A HREF=\"u\" last_Visit=\"7\" Last_Modified=\"8\">t</A>", {"B -1|t|u|7|8"}},
    {"empty time", "<DT><A HREF=\"u\" LAST_VISIT=\"\">t</A>", {"B -1|t|u|0|0"}},
    {"time without closing quote", "<DT><A HREF=\"u\">t</A> LAST_VISIT=\"42", {"B -1|t|u|42|0"}},
    {"time name at the end of the line", "<DT><A HREF=\"u\">t</A>LAST_MODIFIED=", {"B -1|t|u|0|0"}},
    {"lower-case tags", "<dt><a href=\"http://l/\" last_visit=\"3\">lower</a>\n<hr>\n<dt><h3 folded>Sub</h3>\n</dl>",
     {"B -1|lower|http://l/|3|0", "S -1|Separator||0|0", "F -1|Sub</h3>||0|0", "E 0|Close Folder||0|0"}},
    {"mixed-case anchor is neither form", "<DT><A href=\"http://m/\">mixed</A>", {"B -1|mixed||0|0"}},
    {"upper anchor found before lower", "<DT><a href=\"low\">x</a><A HREF=\"up\">", {"B -1|x|up|0|0"}},
    {"character reference kept", "<DT><A HREF=\"http://e/?a=1&amp;b=2\">AT&amp;T</A>",
     {"B -1|AT&amp;T|http://e/?a=1&amp;b=2|0|0"}},
    {"indent of spaces and tabs", "  \t \t<DT><A HREF=\"u\">t</A>\n\t\t<HR>", {"B -1|t|u|0|0", "S -1|Separator||0|0"}},
    {"separator then bookmark on one line", "<HR>    <DT><A HREF=\"u\">after</A>",
     {"S -1|Separator||0|0", "B -1|after|u|0|0"}},
    {"separators and a list end on one line", "<DT><H3>F</H3>\n<HR><hr>\t</DL>",
     {"F -1|F||0|0", "S 0|Separator||0|0", "S 0|Separator||0|0", "E 0|Close Folder||0|0"}},
    {"text after a separator that is no tag", "<HR> junk <DT><A HREF=\"u\">t</A>", {"S -1|Separator||0|0"}},
    {"heading without attributes", "<DT><H3>Plain</H3>\n</DL>", {"F -1|Plain||0|0", "E 0|Close Folder||0|0"}},
    {"heading with a quote in its name", "<DT><H3 A=\"1\">Say \"hi\">there</H3>\n</DL>",
     {"F -1|Say \"hi\">there||0|0", "E 0|Close Folder||0|0"}},
    {"heading without quote-and-bracket", "<DT><H3 ADD_DATE=\"1\n</DL>", {"F -1|||0|0", "E 0|Close Folder||0|0"}},
    {"heading without its end tag", "<DT><H3 ADD_DATE=\"1\">Open ended\n</DL>",
     {"F -1|Open ended||0|0", "E 0|Close Folder||0|0"}},
    {"bookmark without anchor", "<DT>", {"B -1|||0|0"}},
    {"bookmark without closing quote", "<DT><A HREF=\"http://cut", {"B -1||http://cut|0|0"}},
    {"bookmark without title end", "<DT><A HREF=\"u\">runs on", {"B -1|runs on|u|0|0"}},
    {"other lines ignored", "<DD>description\n<H1>Title</H1>\n<DL><p>\n<!-- <DT><A HREF=\"x\">x</A> -->\n<p>",
     {}},
};

TEST_F(NetscapeReaderTest, RecognisedLinesGiveTheirRecords)
{
    for (const LineCase &row : lineCases) {
        SCOPED_TRACE(row.label);
        std::string file = std::string("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n") + row.lines + "\n</DL><p>\n";
        std::vector<std::string> expected = row.records;
        expected.push_back("E -1|Close Folder||0|0");
        bool countable = !row.records.empty();
        EXPECT_EQ(Read(file), countable ? 1 : 0);
        if (countable)
            EXPECT_EQ(DumpTable(), expected);
        else
            EXPECT_EQ(bookmarkTable.entryCount, 0);
        ReleaseTable();
    }
}

TEST_F(NetscapeReaderTest, TextsAreCutAt1024Characters)
{
    struct {
        const char *label;
        size_t length;
        size_t kept;
    } rows[] = {{"short", 10, 10}, {"exactly 1024", 1024, 1024}, {"1025", 1025, 1024}, {"long", 5000, 1024}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.label);
        std::string title(row.length, 't'), url(row.length, 'u'), folder(row.length, 'f');
        title.back() = 'T';
        std::string file = "<DL><p>\n<DT><H3 X=\"1\">" + folder + "</H3>\n<DL><p>\n<DT><A HREF=\"" + url + "\">" + title +
                           "</A>\n</DL><p>\n</DL>\n";
        ASSERT_EQ(Read(file), 1);
        ASSERT_EQ(bookmarkTable.entryCount, 4);
        EXPECT_EQ(std::string(bookmarkTable.entries[0].name), folder.substr(0, row.kept));
        EXPECT_EQ(std::string(bookmarkTable.entries[1].url), url.substr(0, row.kept));
        EXPECT_EQ(std::string(bookmarkTable.entries[1].name), title.substr(0, row.kept));
        ReleaseTable();
    }
}

TEST_F(NetscapeReaderTest, FirefoxExportKeepsTheBookmarkAfterEachSeparator)
{
    ASSERT_EQ(ReadNetscapeBookmarks(TRESK_TEST_DATA "/netscape/firefox-export.htm"), 1);
    ExpectTableConsistent();
    std::vector<std::string> expected = {
        "B -1|Debian &amp; friends|https://www.debian.org/|0|1700000100",
        "S -1|Separator||0|0",
        "B -1|After the separator|https://example.org/after-separator|0|1700000300",
        "F -1|Mozilla Firefox||0|0",
        "B 0|Get Help|https://support.mozilla.org/products/firefox|0|1690000002",
        "B 0|About Us|https://www.mozilla.org/about/|0|1690000004",
        "E 0|Close Folder||0|0",
        "F -1|Bookmarks Toolbar||0|0",
        "B 1|Most Visited|place:sort=8&maxResults=10|0|1690000013",
        "F 1|Empty||0|0",
        "E 2|Close Folder||0|0",
        "E 1|Close Folder||0|0",
        "E -1|Close Folder||0|0",
    };
    EXPECT_EQ(DumpTable(), expected);
    ASSERT_EQ(bookmarkTable.folderCount, 3);
    EXPECT_EQ(bookmarkTable.folders[0].entry, 3);
    EXPECT_EQ(bookmarkTable.folders[1].parentMenu, bookmarkTable.rootMenu);
    EXPECT_EQ(bookmarkTable.folders[2].parentMenu, bookmarkTable.folders[1].menu);
    EXPECT_EQ(bookmarkTable.folders[2].childCount, 1);  // an empty folder holds only its end record
    EXPECT_NE(bookmarkTable.rootMenu, nullptr);
}

TEST_F(NetscapeReaderTest, NetscapeFileReadsAsWritten)
{
    ASSERT_EQ(ReadNetscapeBookmarks(TRESK_TEST_DATA "/netscape/netscape-bookmark.htm"), 1);
    ExpectTableConsistent();
    std::vector<std::string> expected = {
        "F -1|Personal Toolbar Folder||0|0",
        "B 0|Netscape|http://home.netscape.com/|905000000|904000002",
        "B 0|Yahoo!|http://www.yahoo.com/|0|904000004",
        "E 0|Close Folder||0|0",
        "S -1|Separator||0|0",
        "B -1|lower case anchor|http://lower.example/|905000001|0",
        "F -1|lower case heading||0|0",
        "E 1|Close Folder||0|0",
        "B -1|AT&amp;T|http://www.example.com/?a=1&amp;b=2|0|0",
        "E -1|Close Folder||0|0",
    };
    EXPECT_EQ(DumpTable(), expected);
}

TEST_F(NetscapeReaderTest, SafariTabIndentedExportWithBareHeadings)
{
    ASSERT_EQ(ReadNetscapeBookmarks(TRESK_TEST_DATA "/netscape/safari-export.html"), 1);
    ExpectTableConsistent();
    // Safari writes no list around the whole file, so there is no top-level end record.
    std::vector<std::string> expected = {
        "F -1|Favorites||0|0",
        "B 0|Apple|https://www.apple.com/|0|0",
        "F 0|News||0|0",
        "B 1|Example News|https://news.example/|0|0",
        "E 1|Close Folder||0|0",
        "E 0|Close Folder||0|0",
        "F -1|Reading List||0|0",
        "B 2|Read later|https://read.example/later|0|0",
        "E 2|Close Folder||0|0",
    };
    EXPECT_EQ(DumpTable(), expected);
}

TEST_F(NetscapeReaderTest, CrLfAndLfFilesGiveTheSameTable)
{
    std::string lf = ReadWholeFile(TRESK_TEST_DATA "/netscape/firefox-export.htm");
    ASSERT_FALSE(lf.empty());
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(Read(lf), 1);
    std::vector<std::string> fromLf = DumpTable();
    ReleaseTable();
    ASSERT_EQ(Read(crlf), 1);
    EXPECT_EQ(DumpTable(), fromLf);
    EXPECT_EQ(fromLf.size(), 13u);
}

TEST_F(NetscapeReaderTest, CtrlZIsAnOrdinaryByte)
{
    ASSERT_EQ(Read("<DT><A HREF=\"u\">a\x1a" "b</A>\r\n<DT><A HREF=\"v\">after</A>\r\n"), 1);
    std::vector<std::string> expected = {"B -1|a\x1a" "b|u|0|0", "B -1|after|v|0|0"};
    EXPECT_EQ(DumpTable(), expected);
}

TEST_F(NetscapeReaderTest, UnreadableOrEmptyFilesLeaveTheTableEmpty)
{
    EXPECT_EQ(ReadNetscapeBookmarks((::testing::TempDir() + "tresk_no_such_file.htm").c_str()), 0);
    EXPECT_EQ(ReadNetscapeBookmarks(::testing::TempDir().c_str()), 0);  // a directory, not a file
    EXPECT_EQ(Read(""), 0);
    EXPECT_EQ(Read("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n</DL><p>\n"), 0);
    EXPECT_EQ(Read("\n\r\n   \n\t\n"), 0);
    EXPECT_EQ(bookmarkTable.entries, nullptr);
    EXPECT_EQ(bookmarkTable.entryCount, 0);
    EXPECT_EQ(bookmarkTable.rootMenu, nullptr);
}

// Hostile files: whatever they hold, the reader stays inside its lines and its counted slots.

TEST_F(NetscapeReaderTest, NulBytesEndTheirLine)
{
    static const char bytes[] = "<DT><A HREF=\"u\">x\0y</A>\n\0\0<HR>\n<DT><H3\0 A=\"1\">z</H3>\n";
    std::string file(bytes, sizeof bytes - 1);
    ASSERT_EQ(Read(file), 1);
    std::vector<std::string> expected = {"B -1|x|u|0|0", "S -1|Separator||0|0", "F -1|||0|0"};
    EXPECT_EQ(DumpTable(), expected);
}

TEST_F(NetscapeReaderTest, CrOnlyLineEndsMakeOneLine)
{
    // A lone CR is an ordinary byte, so the whole file is one line: one bookmark whose title ends at "</A>".
    ASSERT_EQ(Read("<DT><A HREF=\"u\">one</A>\r<DT><A HREF=\"v\">two</A>\r</DL>\r"), 1);
    std::vector<std::string> expected = {"B -1|one|u|0|0"};
    EXPECT_EQ(DumpTable(), expected);
}

TEST_F(NetscapeReaderTest, FiveMegabyteLines)
{
    std::string icon(5 << 20, 'A');
    std::string file = "<DL><p>\n<DT><A HREF=\"http://big/\" ICON=\"data:image/png;base64," + icon + "\" LAST_VISIT=\"5\">Big</A>\n" +
                       std::string(5 << 20, 'x') + "\n<DT><A HREF=\"" + icon + "\n</DL>\n";
    ASSERT_EQ(Read(file), 1);
    ASSERT_EQ(bookmarkTable.entryCount, 3);
    EXPECT_EQ(DumpRecord(bookmarkTable.entries[0]), "B -1|Big|http://big/|5|0");
    EXPECT_EQ(std::strlen(bookmarkTable.entries[1].url), 1024u);
    EXPECT_STREQ(bookmarkTable.entries[1].name, "");
}

TEST_F(NetscapeReaderTest, TenThousandNestedFolders)
{
    const int depth = 10000;
    std::string file = "<DL><p>\n";
    for (int i = 0; i < depth; i++)
        file += "<DT><H3 A=\"1\">f" + std::to_string(i) + "</H3>\n<DL><p>\n";
    file += "<DT><A HREF=\"http://deep/\">deep</A>\n";
    for (int i = 0; i <= depth; i++)
        file += "</DL><p>\n";
    ASSERT_EQ(Read(file), 1);
    ASSERT_EQ(bookmarkTable.entryCount, 2 * depth + 2);
    ASSERT_EQ(bookmarkTable.folderCount, depth);
    EXPECT_EQ(DumpRecord(bookmarkTable.entries[depth]), "B 9999|deep|http://deep/|0|0");
    EXPECT_EQ(bookmarkTable.entries[depth + 1].parentFolder, depth - 1);
    EXPECT_EQ(bookmarkTable.entries[2 * depth + 1].parentFolder, -1);
    EXPECT_EQ(bookmarkTable.folders[0].childCount, 2);
}

TEST_F(NetscapeReaderTest, ExtraListEndsTakeNoSlotOfTheRecordsThatFollow)
{
    std::string file = "</DL>\n</DL>\n</DL>\n<DT><H3 A=\"1\">F</H3>\n</DL>\n</DL>\n</DL>\n"
                       "<DT><A HREF=\"u\">kept</A>\n<HR>\n</DL>\n";
    ASSERT_EQ(Read(file), 1);
    std::vector<std::string> expected = {"E -1|Close Folder||0|0", "F -1|F||0|0", "E 0|Close Folder||0|0",
                                         "B -1|kept|u|0|0", "S -1|Separator||0|0"};
    EXPECT_EQ(DumpTable(), expected);
}

TEST_F(NetscapeReaderTest, MarkerUrlsCannotPushPastTheCountedSlots)
{
    // A bookmark whose location is "Open Folder" is a folder start to every consumer of the table; the
    // list ends that follow may close it, but never beyond the slots the file's lines were counted for.
    std::string file = "<DL><p>\n";
    for (int i = 0; i < 50; i++)
        file += "<DT><A HREF=\"Open Folder\">x</A>\n";
    for (int i = 0; i < 200; i++)
        file += "</DL>\n";
    ASSERT_EQ(Read(file), 1);
    EXPECT_EQ(bookmarkTable.entryCount, 51);  // 50 bookmark lines and the outermost list end
}

TEST_F(NetscapeReaderTest, LinesAcrossReadPiecesReadWhole)
{
    // The file is read in pieces of 64 KB; lines of many lengths put CR, LF and tags on every side of a
    // piece boundary, and a CR LF file must still read as its LF twin.
    std::string lf;
    int bookmarks = 0;
    for (int i = 0; lf.size() < (3u << 20); i++, bookmarks++)
        lf += "<DT><A HREF=\"http://p/" + std::to_string(i) + "\" ICON=\"" + std::string(static_cast<size_t>(i * 37 % 4099), 'x') +
              "\">t" + std::to_string(i) + "</A>\n";
    std::string crlf;
    for (char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(Read(lf), 1);
    std::vector<std::string> fromLf = DumpTable();
    ASSERT_EQ(static_cast<int>(fromLf.size()), bookmarks);
    for (int i = 0; i < bookmarks; i++)
        ASSERT_EQ(fromLf[static_cast<size_t>(i)], "B -1|t" + std::to_string(i) + "|http://p/" + std::to_string(i) + "|0|0");
    ReleaseTable();
    ASSERT_EQ(Read(crlf), 1);
    EXPECT_EQ(DumpTable(), fromLf);
}
