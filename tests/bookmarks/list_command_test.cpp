// tresk-cli list run as a program, in both builds: each case of tests/data/list (NAME.args, paths taken in
// a copy of tests/data where firefox/NAME.sql has become the database firefox/NAME.sqlite) prints exactly
// NAME.out, or with an empty NAME.out ends with status 1 and the no-bookmarks message; usage errors end
// with status 2.
#include <gtest/gtest.h>

#ifdef _WIN32
#undef popen  // the output is read in binary mode, as the host reads it
#define popen(command, mode) _popen(command, "rb")
#define WIFEXITED(status) true
#define WEXITSTATUS(status) (status)
#else
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/table_checks.h"

struct CliResult {
    int status;
    std::string out, err;
};

static CliResult RunCli(const std::string &arguments)
{
    static int runs = 0;  // a file per run: Wine's cmd may still hold the last one for a moment
    std::string errPath = WriteScratchFile("cli-" + std::to_string(++runs) + ".err", "");
    static const std::string data = CopyTestDataWithDatabases(TRESK_TEST_DATA).string();
#ifdef _WIN32
    // cmd.exe's own quoting, and the whole line quoted once more for its /c; the program's Unix path on
    // Wine's Z: drive.
    std::string cli = "Z:" TRESK_CLI;
    std::replace(cli.begin(), cli.end(), '/', '\\');
    std::string command = "\"cd /d \"" + data + "\" && \"" + cli + "\" " + arguments + " 2>\"" + errPath + "\"\"";
#else
    std::string command = "cd '" + data + "' && '" TRESK_CLI "' " + arguments + " 2>'" + errPath + "'";
#endif
    CliResult result{-1, "", ""};
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        result.out.append(chunk, got);
    int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = ReadFileBytes(errPath);
    result.err.erase(std::remove(result.err.begin(), result.err.end(), '\r'), result.err.end());  // text mode
    return result;
}

TEST(ListCommandTest, EveryCasePrintsItsExpectedLines)
{
    const std::string noBookmarks = "Tresk could not find any bookmarks in the specified bookmark file.  Please ensure "
                                    "that it is a valid Netscape bookmark file.\n";
    int cases = 0;
    for (const auto &item : std::filesystem::directory_iterator(TRESK_TEST_DATA "/list")) {
        if (item.path().extension() != ".args")
            continue;
        std::string arguments = ReadFileBytes(item.path());
        arguments.erase(arguments.find_last_not_of('\n') + 1);
        std::string expected = ReadFileBytes(std::filesystem::path(item.path()).replace_extension(".out"));
#ifdef _WIN32
        // The Favorites come in the system's listing order there (the same records, in another order): the
        // host's cases describe the portable listing.
        if (arguments.find("--favorites") != std::string::npos)
            continue;
#endif
        SCOPED_TRACE(item.path().stem().string() + ": list " + arguments);
        CliResult result = RunCli("list " + arguments);
        EXPECT_EQ(result.out, expected);
        EXPECT_EQ(result.status, expected.empty() ? 1 : 0);
        EXPECT_EQ(result.err, expected.empty() ? noBookmarks : "");
        cases++;
    }
    EXPECT_GE(cases, 25);
}

TEST(ListCommandTest, UsageErrors)
{
    for (const char *arguments : {"list", "list netscape/two.htm netscape/two.htm", "list --bogus netscape/two.htm",
                                  "list --sort", "list --sort sideways netscape/two.htm", "list --favorites",
                                  "list --opera", "list --chromium", "list --firefox"}) {
        CliResult result = RunCli(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
        EXPECT_EQ(result.err.rfind("usage: tresk-cli list ", 0), 0u) << arguments;
    }
}
