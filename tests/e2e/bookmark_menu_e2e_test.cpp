// End-to-end tests of the main job with the real tresk.exe: a configured bookmark file in the "Plain"
// style, the bookmark menu opened from the tray or the hot key and driven by keys, the chosen bookmark
// launched as stored; the change watch; a file without bookmarks. A recorder program stands in for the
// browser as the handler of the "tresktest" scheme in this prefix.
#include "tests/e2e/driver.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <vector>
#include <string>

namespace {

const int START_TIMEOUT = 20000;
const UINT MSG_TRAY_NOTIFY = WM_USER + 2;

std::string ProgramDir()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1);
}

std::string RecorderLog()
{
    return ProgramDir() + "url_recorder.log";
}

// The recorder's first line ("url|show command"); "" when nothing was launched within the time.
std::string RecordedLaunch(int timeoutMs = 15000)
{
    for (int waited = 0;; waited += 100) {
        std::ifstream log(RecorderLog());
        std::string line;
        if (std::getline(log, line))
            return line;
        if (waited >= timeoutMs)
            return "";
        Wait(100);
    }
}

void WriteFile(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// A bookmark file whose first record is a bookmark, followed by a folder of two bookmarks.
std::string BookmarkFile(const std::string &firstUrl)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
           "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n"
           "<DL><p>\n"
           "    <DT><A HREF=\"" + firstUrl + "\" ADD_DATE=\"978303600\">First</A>\n"
           "    <DT><H3 ADD_DATE=\"978303600\">Folder</H3>\n"
           "    <DL><p>\n"
           "        <DT><A HREF=\"tresktest://inner.example/one\">Inner One</A>\n"
           "        <DT><A HREF=\"tresktest://inner.example/two?q=a%20b&x=%7E#frag\">Inner Two</A>\n"
           "    </DL><p>\n"
           "</DL><p>\n";
}

class BookmarkMenuEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        HKEY scheme;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, "tresktest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scheme, nullptr);
        RegSetValueExA(scheme, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1);
        RegCloseKey(scheme);
        std::string command = "\"" + ProgramDir() + "e2e_url_recorder.exe\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, "tresktest\\shell\\open\\command", REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size()));
    }
    static void TearDownTestSuite() { SHDeleteKeyA(HKEY_CLASSES_ROOT, "tresktest"); }

    void SetUp() override
    {
        ResetTreskState();
        DeleteFileA(RecorderLog().c_str());
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "tresk-e2e-menu";
        RemoveTestFolder(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        bookmarkPath = folder + "\\bookmark.htm";
    }

    void TearDown() override
    {
        StopTresk(&tresk);
        ResetTreskState();
        RemoveTestFolder(folder);
    }

    static void RemoveTestFolder(const std::string &directory)
    {
        for (const char *name : {"bookmark.htm", "other.txt", "replacement.htm"})
            DeleteFileA((directory + "\\" + name).c_str());
        RemoveDirectoryA(directory.c_str());
    }

    // Configures the "Plain" style, maximised browser windows and the bookmark file, then starts Tresk.
    HWND StartConfigured()
    {
        SetTreskDword("Menu Style", 0);
        SetTreskDword("Startup Style", SW_SHOWMAXIMIZED);
        SetTreskDword("Tray Icon", 1);
        SetTreskDword("Refresh Menu", 1);
        SetTreskString("Bookmark Filename", bookmarkPath.c_str());
        EXPECT_TRUE(StartTresk(&tresk));
        HWND window = WaitForMainWindow(tresk, START_TIMEOUT);
        EXPECT_NE(window, nullptr);
        if (window) {
            EXPECT_TRUE(WaitForTrayIcon(window, START_TIMEOUT));
        }
        Wait(1000);  // the start-up refresh and the watch's first look at the file
        return window;
    }

    // Opens the bookmark menu by a left click on the tray icon (or the hot key), types the keys and
    // returns what was launched.
    std::string Choose(HWND window, const std::vector<UINT> &keys, bool byHotKey = false)
    {
        DeleteFileA(RecorderLog().c_str());
        if (byHotKey)
            PostMessageA(window, WM_HOTKEY, 1, 0);
        else
            PostMessageA(window, MSG_TRAY_NOTIFY, 0, WM_LBUTTONUP);
        HWND menu = WaitForPopupMenu(5000);
        if (!menu)
            return "no menu";
        PostMenuKeys(menu, keys);
        std::string launched = RecordedLaunch();
        for (int waited = 0; waited < 5000 && WaitForPopupMenu(0); waited += 100)
            Wait(100);
        return launched;
    }

    TreskProcess tresk;
    std::string folder;
    std::string bookmarkPath;
};

TEST_F(BookmarkMenuEndToEnd, KeysChooseABookmarkThatOpensAsStoredWithTheStartupStyle)
{
    const std::string first = "tresktest://first.example/start?lang=en#top";
    WriteFile(bookmarkPath, BookmarkFile(first));
    HWND window = StartConfigured();
    ASSERT_NE(window, nullptr);
    const struct {
        const char *what;
        std::vector<UINT> keys;
        bool byHotKey;
        std::string expected;
    } rows[] = {
        {"the first bookmark of the file", {VK_DOWN, VK_RETURN}, false, first},
        {"into the folder, its second bookmark", {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, false,
         "tresktest://inner.example/two?q=a%20b&x=%7E#frag"},
        {"the hot key opens the same menu", {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}, true,
         "tresktest://inner.example/one"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(Choose(window, row.keys, row.byHotKey), row.expected + "|" + std::to_string(SW_SHOWMAXIMIZED))
            << row.what;
    EXPECT_TRUE(IsRunning(tresk));
}

// Whether the menu was rebuilt shows in what its first item launches: the file on disk is changed under
// the menu, and only a rebuild makes the menu follow it.
TEST_F(BookmarkMenuEndToEnd, RewritingTheFileRebuildsTheMenuAndAnotherFileInItsFolderDoesNot)
{
    const std::string shown = "tresktest://old.example/";
    WriteFile(bookmarkPath, BookmarkFile(shown));
    HWND window = StartConfigured();
    ASSERT_NE(window, nullptr);
    const std::string launchedShown = shown + "|" + std::to_string(SW_SHOWMAXIMIZED);
    ASSERT_EQ(Choose(window, {VK_DOWN, VK_RETURN}), launchedShown);

    // New contents of the same size with the old last-write time, moved in by a rename (which writes
    // nothing): the file itself has not been saved again, so a change beside it must not rebuild from them.
    HANDLE original = CreateFileA(bookmarkPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(original, INVALID_HANDLE_VALUE);
    FILETIME written;
    ASSERT_TRUE(GetFileTime(original, nullptr, nullptr, &written));
    CloseHandle(original);
    std::string replacementPath = folder + "\\replacement.htm";
    WriteFile(replacementPath, BookmarkFile("tresktest://new.example/"));
    HANDLE replacement = CreateFileA(replacementPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(replacement, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(replacement, nullptr, nullptr, &written));
    CloseHandle(replacement);
    // The watch opens the file for a moment to read its stamp, which refuses the rename meanwhile.
    bool moved = false;
    for (int attempt = 0; attempt < 20 && !moved; ++attempt) {
        moved = MoveFileExA(replacementPath.c_str(), bookmarkPath.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        if (!moved)
            Wait(100);
    }
    ASSERT_TRUE(moved) << GetLastError();
    Wait(1000);
    WriteFile(folder + "\\other.txt", "another file in the same folder\n");
    Wait(1500);
    EXPECT_EQ(Choose(window, {VK_DOWN, VK_RETURN}), launchedShown) << "a change beside the file rebuilt the menu";

    // Saving the file itself rebuilds the menu within about a second.
    const std::string saved = "tresktest://saved.example/new?id=2";
    WriteFile(bookmarkPath, BookmarkFile(saved));
    Wait(1200);
    EXPECT_EQ(Choose(window, {VK_DOWN, VK_RETURN}), saved + "|" + std::to_string(SW_SHOWMAXIMIZED))
        << "saving the bookmark file did not rebuild the menu";
    EXPECT_TRUE(IsRunning(tresk));
}

TEST_F(BookmarkMenuEndToEnd, FileWithoutBookmarksEndsTheProgramWithTheMessage)
{
    WriteFile(bookmarkPath, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<TITLE>Bookmarks</TITLE>\n<DL><p>\n</DL><p>\n");
    SetTreskDword("Menu Style", 0);
    SetTreskString("Bookmark Filename", bookmarkPath.c_str());
    ASSERT_TRUE(StartTresk(&tresk));
    HWND box = WaitForMessageBox(tresk, START_TIMEOUT);
    ASSERT_NE(box, nullptr) << "no message; running: " << IsRunning(tresk);
    EXPECT_EQ(MessageBoxText(box), "Tresk could not find any bookmarks in the specified bookmark file.  Please "
                                   "ensure that it is a valid Netscape bookmark file.");
    EXPECT_TRUE(IsRunning(tresk));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

}  // namespace
