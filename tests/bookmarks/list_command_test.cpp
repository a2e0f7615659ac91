// tresk-cli list run as a program: the exact lines it prints and its exit statuses.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "netscape_test_support.h"

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
        {"list --sort ascending " + sample, 2, false},
        {"list --favorites /tmp " + sample, 2, false},
        {"list --opera /tmp/opera.adr " + sample, 2, false},
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
