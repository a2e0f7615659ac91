// Finding the browsers' bookmarks: the Firefox profile that profiles.ini names, and the Chromium-family
// browser in use with its last used profile, in scratch trees laid out like the users' AppData.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bookmarks/browser_profiles.h"
#include "bookmarks/favorites_listing.h"
#include "tests/support/table_checks.h"

namespace fs = std::filesystem;

TEST(BrowserProfiles, FirefoxProfileInUse)
{
    const std::string sep = PATH_SEPARATOR, in = "F" + sep;
    const std::string two = "[Profile1]\nName=b\nIsRelative=1\nPath=Profiles/b.other\n\n"
                            "[Profile0]\nName=a\nIsRelative=1\nPath=Profiles/a.default\nDefault=1\n";
    const struct { const char *label; std::string ini; std::vector<std::string> folders; } rows[] = {
        {"an install's default wins over Default=1",
         "[Install308046B0AF4A39CB]\r\nDefault=Profiles/b.other\r\nLocked=1\r\n\r\n" + two,
         {in + "Profiles" + sep + "b.other"}},
        {"Default=1 without installs", two, {in + "Profiles" + sep + "a.default"}},
        {"the only profile, absolute", "[Profile0]\nName=x\nIsRelative=0\nPath=C:\\Elsewhere\\x\n", {"C:\\Elsewhere\\x"}},
        {"two profiles, neither the default", "[Profile0]\nPath=a\n[Profile1]\nPath=b\n", {}},
        {"no profile", "[General]\nStartWithLastProfile=1\n", {}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(FirefoxProfileFolders(row.ini, "F"), row.folders) << row.label;
}

TEST(BrowserProfiles, ChromiumBrowserInUse)
{
    fs::path local = MakeScratchDirectory("local");
    std::string edgeFile = WriteScratchFile(local / "Microsoft/Edge/User Data/Profile 2/Bookmarks", "{}");
    WriteScratchFile(local / "Microsoft/Edge/User Data/Local State", "{\"profile\": {\"last_used\": \"Profile 2\"}}");
    std::string chromeFile = WriteScratchFile(local / "Google/Chrome/User Data/Default/Bookmarks", "{}");
    fs::last_write_time(chromeFile, fs::last_write_time(edgeFile) - std::chrono::hours(1));
    EXPECT_EQ(FindChromiumBookmarks(local.string()), fs::path(edgeFile).make_preferred().string()) << "written last";
    fs::last_write_time(chromeFile, fs::last_write_time(edgeFile) + std::chrono::hours(1));
    EXPECT_EQ(FindChromiumBookmarks(local.string()), fs::path(chromeFile).make_preferred().string());
    EXPECT_STREQ(ChromiumBrowserOf(edgeFile.c_str()).name, "Microsoft Edge");
    EXPECT_STREQ(ChromiumBrowserOf("C:\\x\\BraveSoftware\\Brave-Browser\\User Data\\Default\\Bookmarks").name, "Brave");
    EXPECT_STREQ(ChromiumBrowserOf("D:\\portable\\Bookmarks").name, "Chromium");
    EXPECT_TRUE(InChromiumUserData(chromeFile, local.string()));
    EXPECT_FALSE(InChromiumUserData("D:\\portable\\Bookmarks", local.string()));
    EXPECT_EQ(FindChromiumBookmarks((local / "none").string()), "");
    char damaged[] = "{\"profile\": {\"last_used\": ";
    EXPECT_EQ(LastUsedChromiumProfile(damaged), "Default");
}
