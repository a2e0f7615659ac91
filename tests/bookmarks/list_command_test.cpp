// tresk-cli list run as a program: the exact lines it prints and its exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "tests/support/netscape_test_support.h"

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

static CliResult RunCli(const std::string &arguments)
{
    std::string errPath = ::testing::TempDir() + "tresk_cli_stderr.txt";
    std::string command = std::string("'") + TRESK_CLI + "' " + arguments + " 2>'" + errPath + "'";
    CliResult result;
    FILE *pipe = popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (!pipe)
        return {-1, "", ""};
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        result.out.append(chunk, got);
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = ReadWholeFile(errPath);
    std::remove(errPath.c_str());
    return result;
}

TEST(ListCommandTest, PrintsEveryRecordAsOneTabSeparatedLine)
{
    CliResult result = RunCli("list '" TRESK_TEST_DATA "/netscape/netscape-bookmark.htm'");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "0\t0\t0\tfolder\t-1\t0\t0\tPersonal Toolbar Folder\tOpen Folder\t\n"
              "1\t1\t0\tbookmark\t0\t905000000\t904000002\tNetscape\thttp://home.netscape.com/\t\n"
              "2\t2\t0\tbookmark\t0\t0\t904000004\tYahoo!\thttp://www.yahoo.com/\t\n"
              "3\t3\t0\tend\t0\t0\t0\tClose Folder\tClose Folder\t\n"
              "4\t4\t0\tseparator\t-1\t0\t0\tSeparator\tSeparator\t\n"
              "5\t5\t0\tbookmark\t-1\t905000001\t0\tlower case anchor\thttp://lower.example/\t\n"
              "6\t6\t0\tfolder\t-1\t0\t0\tlower case heading\tOpen Folder\t\n"
              "7\t7\t0\tend\t1\t0\t0\tClose Folder\tClose Folder\t\n"
              "8\t8\t0\tbookmark\t-1\t0\t0\tAT&amp;T\thttp://www.example.com/?a=1&amp;b=2\t\n"
              "9\t9\t0\tend\t-1\t0\t0\tClose Folder\tClose Folder\t\n");
}

TEST(ListCommandTest, EscapesBackslashTabAndCarriageReturn)
{
    std::string path = WriteTempFile("cli_escapes.htm", "<DT><A HREF=\"C:\\dir\\a b\">tab\there\rcr\\</A>\n");
    CliResult result = RunCli("list '" + path + "'");
    std::remove(path.c_str());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "0\t0\t0\tbookmark\t-1\t0\t0\ttab\\there\\rcr\\\\\tC:\\\\dir\\\\a b\t\n");
}

TEST(ListCommandTest, ExitStatuses)
{
    const std::string sample = "'" TRESK_TEST_DATA "/netscape/firefox-export.htm'";
    const std::string noBookmarks =
        "Tresk could not find any bookmarks in the specified bookmark file.  Please ensure that it is a valid Netscape "
        "bookmark file.\n";
    std::string empty = WriteTempFile("cli_empty.htm", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n</DL><p>\n");
    struct {
        std::string arguments;
        int status;
        bool noBookmarksMessage;
    } rows[] = {
        {"list " + sample, 0, false},
        {"list --sort default " + sample, 0, false},
        {"list '" + empty + "'", 1, true},
        {"list '" + ::testing::TempDir() + "tresk_missing.htm'", 1, true},
        {"list '" + ::testing::TempDir() + "'", 1, true},
        {"list", 2, false},
        {"list " + sample + " " + sample, 2, false},
        {"list --bogus " + sample, 2, false},
        {"list --sort", 2, false},
        {"list --sort sideways " + sample, 2, false},
        {"list --sort ascending " + sample, 0, false},
        {"list --sort descending " + sample, 0, false},
        {"list --favorites", 2, false},
        {"list --opera", 2, false},
        // Sources that cannot be read add nothing: the Netscape records alone, as in the program.
        {"list --favorites '" + ::testing::TempDir() + "tresk_missing_dir' " + sample, 0, false},
        {"list --opera '" + ::testing::TempDir() + "tresk_missing.adr' " + sample, 0, false},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments);
        CliResult result = RunCli(row.arguments);
        EXPECT_EQ(result.status, row.status);
        if (row.noBookmarksMessage) {
            EXPECT_EQ(result.err, noBookmarks);
        }
        if (row.status != 0) {
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err, "");
        } else {
            EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 13);
        }
    }
    std::remove(empty.c_str());
}

// Two Netscape bookmarks for the other sources to follow.
static const char NETSCAPE_TWO[] = "<DT><A HREF=\"http://n/\">Zed</A>\n<DT><A HREF=\"http://m/\">alpha</A>\n";

static std::string ShortcutFile(const std::string &url)
{
    return "[DEFAULT]\r\nBASEURL=" + url + "\r\n[InternetShortcut]\r\nURL=" + url + "\r\n";
}

// A Favorites tree: folder Links with one shortcut, a shortcut beside it and a file that is no shortcut.
static std::filesystem::path MakeFavoritesTree()
{
    std::filesystem::path root = std::filesystem::path(::testing::TempDir()) / "tresk_cli_favorites";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Links");
    std::ofstream(root / "Links" / "Example.url", std::ios::binary) << ShortcutFile("http://example/");
    std::ofstream(root / "beta.URL", std::ios::binary) << ShortcutFile("http://beta/");
    std::ofstream(root / "notes.txt", std::ios::binary) << "not a shortcut\n";
    return root;
}

TEST(ListCommandTest, OperaHotlistFollowsTheNetscapeRecords)
{
    std::string netscape = WriteTempFile("cli_two.htm", NETSCAPE_TWO);
    CliResult result = RunCli("list --opera '" TRESK_TEST_DATA "/opera/sample.adr' '" + netscape + "'");
    std::remove(netscape.c_str());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "0\t0\t0\tbookmark\t-1\t0\t0\tZed\thttp://n/\t\n"
              "1\t1\t0\tbookmark\t-1\t0\t0\talpha\thttp://m/\t\n"
              "2\t2\t2\tfolder\t-1\t0\t0\tOpera Software\tOpen Folder\t\n"
              "3\t3\t2\tbookmark\t0\t978307200\t946684800\tOpera Web Site\thttp://www.opera.com/\tWhere Opera lives\n"
              "4\t4\t2\tend\t0\t0\t0\tClose Folder\tClose Folder\t\n"
              "5\t5\t2\tbookmark\t-1\t0\t1000000000\tDebian\thttp://www.debian.org/\t\n");
}

// Netscape, then Favorites, then the hotlist, then the sort: every record keeps its id (its reading
// position), and a sort reorders the top level and each folder by name.
TEST(ListCommandTest, AllSourcesInEachSortOrder)
{
    std::filesystem::path favorites = MakeFavoritesTree();
    std::string netscape = WriteTempFile("cli_two.htm", NETSCAPE_TWO);
    std::string hotlist = WriteTempFile("cli_hotlist.adr", "Opera Hotlist version 2.0\n\n#URL\n\tNAME=Opera\n\tURL=http://opera/\n");
    // The text of each record after its position, by id.
    const std::map<int, std::string> records = {
        {0, "0\t0\tbookmark\t-1\t0\t0\tZed\thttp://n/\t"},
        {1, "1\t0\tbookmark\t-1\t0\t0\talpha\thttp://m/\t"},
        {2, "2\t1\tfolder\t-1\t0\t0\tLinks\tOpen Folder\t"},
        {3, "3\t1\tbookmark\t0\t0\t0\tExample\thttp://example/\t"},
        {4, "4\t1\tend\t0\t0\t0\tClose Folder\tClose Folder\t"},
        {5, "5\t1\tbookmark\t-1\t0\t0\tbeta\thttp://beta/\t"},
        {6, "6\t2\tbookmark\t-1\t0\t0\tOpera\thttp://opera/\t"},
    };
    const struct {
        const char *sort;
        std::vector<int> ids;  // in table order
    } rows[] = {
        {"", {0, 1, 2, 3, 4, 5, 6}},
        {"--sort default ", {0, 1, 2, 3, 4, 5, 6}},
        // A-Z fold to lower case; the top level first, then each folder, its end record first.
        {"--sort ascending ", {1, 5, 2, 6, 0, 4, 3}},
        {"--sort descending ", {0, 6, 2, 5, 1, 3, 4}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.sort);
        CliResult result = RunCli(std::string("list ") + row.sort + "--opera '" + hotlist + "' --favorites '" +
                                  favorites.string() + "' '" + netscape + "'");
        std::string expected;
        for (size_t position = 0; position < row.ids.size(); position++)
            expected += std::to_string(position) + "\t" + records.at(row.ids[position]) + "\n";
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(result.out, expected);
    }
    std::remove(netscape.c_str());
    std::remove(hotlist.c_str());
    std::filesystem::remove_all(favorites);
}
