// Internet Shortcut files resolved through the system's Internet Shortcut object, and the Favorites
// reader's use of COM on the calling thread.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "bookmarks/bookmark_table.h"
#include "bookmarks/favorites_reader.h"
#include "tests/support/favorites_tree.h"
#include "tests/support/table_checks.h"

namespace fs = std::filesystem;

struct Resolved {
    int result;
    std::string url;
};

static Resolved Resolve(const std::string &path, bool throughObject)
{
    char *url = nullptr;
    int length = -1;
    int result = throughObject ? ResolveInternetShortcut(path.c_str(), &url, &length)
                               : ReadShortcutFileURL(path.c_str(), &url, &length);
    Resolved resolved{result, url ? url : ""};
    if (url) {
        EXPECT_EQ(length, static_cast<int>(std::strlen(url)));
    } else {
        EXPECT_NE(result, 0) << "success without a URL";
    }
    std::free(url);
    return resolved;
}

class InternetShortcutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(InternetShortcutTest, ResolvesThroughTheObject)
{
    struct {
        const char *file;
        bool resolves;
        const char *url;
    } rows[] = {
        {"plain.url", true, "http://www.example.com/"},
        {"other_section.url", true, "http://right/?q=1&r=2#frag"},
        {"spaced.url", true, "http://spaced/path"},
        {"no_url.url", false, ""},
        {"empty_value.url", false, ""},
        {"empty.url", false, ""},
        {"damaged.url", false, ""},
        {"missing.url", false, ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        std::string path = std::string(TRESK_TEST_DATA) + "/favorites/" + row.file;
        SetLastError(0xDEADBEEF);
        Resolved object = Resolve(path, true);
        // Windows' object loads a shortcut without a URL and answers S_FALSE from GetURL; Wine's
        // refuses to load it (E_FAIL). Either is a failure code of the step that failed.
        if (row.resolves) {
            EXPECT_EQ(object.result, 0) << std::hex << object.result;
        } else {
            EXPECT_TRUE(object.result == S_FALSE || FAILED(object.result)) << std::hex << object.result;
        }
        EXPECT_EQ(object.url, row.url);
        // The file reading that the host build uses agrees with the object.
        Resolved file = Resolve(path, false);
        EXPECT_EQ(file.result == 0, object.result == 0);
        EXPECT_EQ(file.url, object.url);
    }
}

TEST_F(InternetShortcutTest, WithoutComTheShortcutIsUnresolved)
{
    std::string path = std::string(TRESK_TEST_DATA) + "/favorites/plain.url";
    int result = 0;
    std::thread bare([&] {
        char *url = nullptr;
        int length = 0;
        result = ResolveInternetShortcut(path.c_str(), &url, &length);
        std::free(url);
    });
    bare.join();
    EXPECT_EQ(result, static_cast<int>(CO_E_NOTINITIALIZED));
}

class FavoritesComTest : public ::testing::Test {
protected:
    fs::path root;
    void SetUp() override
    {
        root = MakeScratchDirectory("favorites-com");
        fs::create_directories(root / "Hidden Folder");
        WriteTextFile(root / "Hidden Folder" / "in.url", ShortcutText("http://in/"));
        WriteTextFile(root / "system.url", ShortcutText("http://system/"));
        WriteTextFile(root / "damaged.url", std::string("\x01\x02\xff", 3));
        SetFileAttributesA((root / "Hidden Folder").string().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA((root / "system.url").string().c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    }
    void TearDown() override
    {
        DestroyBookmarkMenus();
        FreeBookmarkTable();
        SetFileAttributesA((root / "system.url").string().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

// A thread of its own, as the change watch's: the reader must start COM there itself and end it again.
TEST_F(FavoritesComTest, ReadsOnAFreshThreadAndLeavesComAsItWas)
{
    int read = -1;
    HRESULT afterwards = E_FAIL;
    std::thread watcher([&] {
        read = ReadFavoritesFolder(root.string().c_str());
        afterwards = CoInitialize(nullptr);  // S_OK: the reading left the thread without COM
        if (SUCCEEDED(afterwards))
            CoUninitialize();
    });
    watcher.join();
    EXPECT_EQ(read, 1);
    EXPECT_EQ(afterwards, S_OK);
    std::string tree = DumpTable();
    EXPECT_NE(tree.find("-1 Hidden Folder = Open Folder\n"), std::string::npos) << tree;
    EXPECT_NE(tree.find(" in = http://in/\n"), std::string::npos) << tree;
    EXPECT_NE(tree.find("-1 system = http://system/\n"), std::string::npos) << tree;
    EXPECT_NE(tree.find("-1 damaged = <unable to resolve>\n"), std::string::npos) << tree;
    EXPECT_EQ(bookmarkTable.entryCount, 5);
    EXPECT_EQ(CheckDepthFirst(0), "");
    EXPECT_EQ(CheckFolderCounts(), "");
}

TEST_F(FavoritesComTest, BalancesComOnAThreadThatHasIt)
{
    HRESULT first = E_FAIL, second = E_FAIL;
    int unlisted = -1;
    HRESULT afterFailure = E_FAIL;
    std::thread worker([&] {
        unlisted = ReadFavoritesFolder((root / "missing").string().c_str());
        afterFailure = CoInitialize(nullptr);  // a listing that failed never touched COM
        if (SUCCEEDED(afterFailure))
            CoUninitialize();
        first = CoInitialize(nullptr);
        ReadFavoritesFolder(root.string().c_str());
        second = CoInitialize(nullptr);  // still initialised once: S_FALSE
        if (SUCCEEDED(second))
            CoUninitialize();
        CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(unlisted, 0);
    EXPECT_EQ(afterFailure, S_OK);
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(second, S_FALSE);
    EXPECT_NE(DumpTable().find(" in = http://in/\n"), std::string::npos);
}
