// Internet Shortcut files resolved through the system's Internet Shortcut object, agreeing with the
// file reading of the host build, and the Favorites reader's use of COM on the calling thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_listing.h"
#include "bookmarks/favorites_reader.h"
#include "tests/support/table_checks.h"

// What one resolver makes of the file: "url length", or "" when it fails with a failure code (Windows'
// object loads a shortcut without a URL and answers S_FALSE from GetURL; Wine's refuses to load it, E_FAIL).
static std::string Resolved(int (*resolve)(const char *, char **, int *), const std::string &path,
                            int *result = nullptr)
{
    char *url = nullptr;
    int length = -1, code = resolve(path.c_str(), &url, &length);
    EXPECT_TRUE(code == 0 ? url != nullptr : (code == S_FALSE || FAILED(code)) && !url) << path << ": " << code;
    std::string seen = url ? std::string(url) + " " + std::to_string(length) : "";
    std::free(url);
    if (result)
        *result = code;
    return seen;
}

TEST(InternetShortcutTest, TheObjectAndTheFileReadingAgree)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    // Every shortcut file of the tests; the list case favorites-rules holds what the file reading makes of them.
    int compared = 0;
    for (const auto &item : std::filesystem::recursive_directory_iterator(TRESK_TEST_DATA "/favorites")) {
        std::string path = item.path().string();
        if (item.is_regular_file() && path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".url") == 0) {
            EXPECT_EQ(Resolved(ReadShortcutFileURL, path), Resolved(ResolveInternetShortcut, path)) << path;
            compared++;
        }
    }
    EXPECT_GE(compared, 25);
    CoUninitialize();
    int bare = 0;  // a thread without COM cannot use the object
    std::thread([&] { Resolved(ResolveInternetShortcut, TRESK_TEST_DATA "/favorites/plain.url", &bare); }).join();
    EXPECT_EQ(bare, static_cast<int>(CO_E_NOTINITIALIZED));
}

// The reader gives what the object gives, also where the file reading finds nothing and leaves the file to
// the object, and shortcuts named outside the code page resolve, shown by their names in the code page.
TEST(InternetShortcutTest, FavoritesReaderGivesTheObjectsTargets)
{
    std::string wide("\xFF\xFE");  // UTF-16 with its byte-order mark
    for (char c : std::string("[InternetShortcut]\r\nURL=http://wide/\r\n"))
        wide += {c, '\0'};
    const char *rows[][4] = {  // file name (UTF-8), its bytes, the name shown, the target
        {u8"Zażółć gęślą jaźń.url", "[InternetShortcut]\r\nURL=http://polish/\r\n", "Za?\xF3?? g??l? ja??", "http://polish/"},
        {u8"Ελληνικά.url", "[InternetShortcut]\r\nURL=http://greek/\r\n", "????????", "http://greek/"},
        {u8"书签 \U0001F600.url", "[InternetShortcut]\r\nURL=http://emoji/\r\n", "?? ?", "http://emoji/"},
        {"utf-16.url", "", "utf-16", "http://wide/"},
        {"utf-8 mark.url", "\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://mark/\r\n", "utf-8 mark", "http://mark/"},
        {"cr only.url", "[InternetShortcut]\rURL=http://cr/\r", "cr only", "http://cr/"},
        {"section twice.url", "[InternetShortcut]\r\nIconIndex=0\r\n[InternetShortcut]\r\nURL=http://2/\r\n", "section twice", "<unable to resolve>"},
        {"blank section.url", "[ InternetShortcut\t]\r\n\vURL\v=\vhttp://blank/\v\x1a\r\n", "blank section", "http://blank/"},
    };
    std::filesystem::path root = MakeScratchDirectory("favorites-object");
    for (const auto &row : rows)
        std::ofstream(root / std::filesystem::u8path(row[0]), std::ios::binary) << (row[1][0] ? std::string(row[1]) : wide);
    ASSERT_EQ(ReadFavoritesFolder(root.string().c_str()), 1);
    std::map<std::string, std::string> read;
    for (int i = 0; i < bookmarkTable.entryCount; i++)
        read[bookmarkTable.entries[i].name] = bookmarkTable.entries[i].url;
    for (const auto &row : rows)
        EXPECT_EQ(read[row[2]], row[3]) << row[0];
    EndShortcutResolving();
    EXPECT_EQ(bookmarkTable.entryCount, 8);
    ReleaseTable();
}

// A thread of its own, as the change watch's: the reader starts COM there itself and ends it again, balances
// it on a thread that has it, and leaves it alone when the listing fails. Hidden and system entries count.
TEST(InternetShortcutTest, FavoritesReaderStartsAndEndsComItself)
{
    std::filesystem::path root = MakeScratchDirectory("favorites-com");
    WriteScratchFile(root / "Hidden Folder" / "in.url", ShortcutText("http://in/"));
    WriteScratchFile(root / "system.url", ShortcutText("http://system/"));
    WriteScratchFile(root / "damaged.url", std::string("\x01\x02\xff", 3));
    SetFileAttributesA((root / "Hidden Folder").string().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA((root / "system.url").string().c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    int unlisted = -1, read = -1;
    HRESULT afterFailure = E_FAIL, afterReading = E_FAIL, first = E_FAIL, nested = E_FAIL, again = E_FAIL;
    std::thread([&] {
        unlisted = ReadFavoritesFolder((root / "missing").string().c_str());
        afterFailure = CoInitialize(nullptr);  // S_OK: nothing was left initialised
        CoUninitialize();
        read = ReadFavoritesFolder(root.string().c_str());
        afterReading = CoInitialize(nullptr);
        CoUninitialize();
        ReleaseTable();
        first = CoInitialize(nullptr);
        ReadFavoritesFolder(root.string().c_str());
        nested = CoInitialize(nullptr);  // S_FALSE: the reading did not end the thread's own COM
        CoUninitialize();
        CoUninitialize();
        again = CoInitialize(nullptr);  // S_OK: nor did it leave one more start behind
        CoUninitialize();
    }).join();
    EXPECT_EQ(std::make_pair(unlisted, read), std::make_pair(0, 1));  // a listing that fails reads nothing
    EXPECT_EQ((std::vector<HRESULT>{afterFailure, afterReading, first, nested, again}),
              (std::vector<HRESULT>{S_OK, S_OK, S_OK, S_FALSE, S_OK}));
    EXPECT_EQ(CheckTable(), "");
    EXPECT_EQ(bookmarkTable.entryCount, 5) << DumpTable();  // the hidden folder with its three records
    ReleaseTable();
    SetFileAttributesA((root / "system.url").string().c_str(), FILE_ATTRIBUTE_NORMAL);
}
