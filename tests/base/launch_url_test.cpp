// Opening bookmarks: the bookmark menu's choice and LaunchURL reach the shell with the verb "open", the URL
// exactly as stored and the "Startup Style" show command. A recorder program is registered as the handler
// of a test scheme in this prefix's HKEY_CLASSES_ROOT.
#include "app/main_window.h"
#include "app/popup_menus.h"
#include "app/shell.h"
#include "base/launch_url.h"
#include "bookmarks/bookmark_table.h"
#include "base/settings.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

std::string ProgramDir()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1);
}

std::string LogPath()
{
    return ProgramDir() + "url_recorder.log";
}

// Waits for the recorder's line; "" on time-out.
std::string RecordedLine()
{
    for (int waited = 0; waited < 15000; waited += 100) {
        std::ifstream log(LogPath());
        std::string line;
        if (std::getline(log, line))
            return line;
        Sleep(100);
    }
    return "";
}

class LaunchURL : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        appInstance = GetModuleHandleA(nullptr);
        CreateMainWindow(appInstance);
        HKEY scheme;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, "tresktest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scheme, nullptr);
        RegSetValueExA(scheme, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1);
        RegCloseKey(scheme);
        std::string command = "\"" + ProgramDir() + "url_recorder.exe\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, "tresktest\\shell\\open\\command", REG_SZ, command.c_str(),
                     static_cast<DWORD>(command.size()));
    }
    static void TearDownTestSuite() { SHDeleteKeyA(HKEY_CLASSES_ROOT, "tresktest"); }
    void SetUp() override
    {
        DeleteFileA(LogPath().c_str());
        settings = Settings();
    }
};

TEST_F(LaunchURL, PassesTheURLAsStoredWithTheStartupStyle)
{
    const struct {
        int startupStyle;
        const char *url;
    } rows[] = {
        {SW_SHOWNORMAL, "tresktest://example.com/a?x=1&y=2#frag"},
        {SW_SHOWMAXIMIZED, "tresktest://example.com/path%20with%20escapes/"},
    };
    for (const auto &row : rows) {
        DeleteFileA(LogPath().c_str());
        settings.startupStyle = row.startupStyle;
        ::LaunchURL(row.url);
        EXPECT_EQ(RecordedLine(), std::string(row.url) + "|" + std::to_string(row.startupStyle));
    }
}

void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (HWND menu = FindWindowA("#32768", nullptr)) {
        if (!IsWindowVisible(menu))
            return;
        KillTimer(nullptr, timer);
        for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageA(menu, WM_KEYDOWN, key, 1);
            PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
        }
    }
}

TEST_F(LaunchURL, BookmarkMenuChoiceOpensThatEntry)
{
    char name[] = "n";
    char first[] = "tresktest://first/", second[] = "tresktest://second/";
    BookmarkEntry entries[2] = {};
    entries[0].name = name;
    entries[0].url = first;
    entries[1].name = name;
    entries[1].url = second;
    HMENU root = CreatePopupMenu();
    AppendMenuA(root, MF_STRING, 1, "first");   // position 0
    AppendMenuA(root, MF_STRING, 2, "second");  // position 1
    bookmarkTable.entries = entries;
    bookmarkTable.entryCount = 2;
    bookmarkTable.rootMenu = root;
    settings.startupStyle = SW_SHOWMAXIMIZED;

    UINT_PTR chooser = SetTimer(nullptr, 0, 50, ChooseSecondItem);
    bookmarkMenuOpen = true;
    PopupBookmarkMenu();
    KillTimer(nullptr, chooser);
    EXPECT_EQ(RecordedLine(), "tresktest://second/|3");

    bookmarkTable.entries = nullptr;
    bookmarkTable.entryCount = 0;
    bookmarkTable.rootMenu = nullptr;
    DestroyMenu(root);
}

}  // namespace
