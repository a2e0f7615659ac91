// End-to-end test of the three bookmark sources with the real tresk.exe: the Plain menu holds the
// Netscape bookmarks, the Favorites and the Opera hotlist in that order, and a new shortcut in the
// Favorites folder and a rewritten hotlist reach the menu without any user action. Items are chosen with
// keys posted to the open menu; a recorder registered as the http handler notes what was launched.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int START_TIMEOUT = 20000;
const char SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char HTTP_COMMAND_KEY[] = "http\\shell\\open\\command";

std::string RecorderLog()
{
    std::string recorder = WinePath(URL_RECORDER_UNIX_PATH);
    return recorder.substr(0, recorder.find_last_of('\\') + 1) + "url_recorder.log";
}

// The URLs launched so far, without the show command.
std::vector<std::string> RecordedURLs()
{
    std::vector<std::string> urls;
    std::ifstream log(RecorderLog());
    std::string line;
    while (std::getline(log, line))
        urls.push_back(line.substr(0, line.find('|')));
    return urls;
}

void WriteText(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Shortcut(const std::string &url)
{
    return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

std::string Hotlist(const std::string &name, const std::string &url)
{
    return "Opera Hotlist version 2.0\n\n#URL\n\tNAME=" + name + "\n\tURL=" + url + "\n";
}

class SourcesEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTreskState();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        directory = std::string(temp) + "tresk-sources-" + std::to_string(GetTickCount());
        favorites = directory + "\\Favorites";
        hotlist = directory + "\\opera6.adr";
        CreateDirectoryA(directory.c_str(), nullptr);
        CreateDirectoryA(favorites.c_str(), nullptr);
        WriteText(directory + "\\bookmark.htm", "<DT><A HREF=\"http://netscape.test/\">Netscape One</A>\n");
        WriteText(favorites + "\\Favorite One.url", Shortcut("http://favorites.test/"));
        WriteText(hotlist, Hotlist("Opera One", "http://opera.test/"));
        WriteText("C:\\windows\\opera.ini", "[User Prefs]\r\nHot List File Ver2=" + hotlist + "\r\n");

        HKEY key;
        RegCreateKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        char old[MAX_PATH] = "";
        DWORD type = 0, bytes = sizeof old;
        hadFavorites = RegQueryValueExA(key, "Favorites", nullptr, &type, reinterpret_cast<BYTE *>(old), &bytes) ==
                       ERROR_SUCCESS;
        oldFavorites = old;
        RegSetValueExA(key, "Favorites", 0, REG_SZ, reinterpret_cast<const BYTE *>(favorites.c_str()),
                       static_cast<DWORD>(favorites.size() + 1));
        RegCloseKey(key);
        char command[1024] = "";
        LONG size = sizeof command;
        hadHandler = RegQueryValueA(HKEY_CLASSES_ROOT, HTTP_COMMAND_KEY, command, &size) == ERROR_SUCCESS;
        oldHandler = command;
        std::string recorder = "\"" + WinePath(URL_RECORDER_UNIX_PATH) + "\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, HTTP_COMMAND_KEY, REG_SZ, recorder.c_str(), static_cast<DWORD>(recorder.size()));
        DeleteFileA(RecorderLog().c_str());

        SetTreskString("Bookmark Filename", (directory + "\\bookmark.htm").c_str());
        SetTreskDword("Use IE Favorites", 1);
        SetTreskDword("Use Opera Hotlist", 1);
        SetTreskDword("Menu Style", 0);
        SetTreskDword("Tray Icon", 1);
        SetTreskDword("Sort Order", 0);
        SetTreskDword("Refresh Menu", 1);
    }
    void TearDown() override
    {
        StopTresk(&tresk);
        ResetTreskState();
        if (hadHandler)
            RegSetValueA(HKEY_CLASSES_ROOT, HTTP_COMMAND_KEY, REG_SZ, oldHandler.c_str(),
                         static_cast<DWORD>(oldHandler.size()));
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            if (hadFavorites)
                RegSetValueExA(key, "Favorites", 0, REG_SZ, reinterpret_cast<const BYTE *>(oldFavorites.c_str()),
                               static_cast<DWORD>(oldFavorites.size() + 1));
            else
                RegDeleteValueA(key, "Favorites");
            RegCloseKey(key);
        }
        DeleteFileA("C:\\windows\\opera.ini");
        for (const char *file : {"\\Favorites\\Favorite One.url", "\\Favorites\\Added.url", "\\bookmark.htm",
                                 "\\opera6.adr"})
            DeleteFileA((directory + file).c_str());
        RemoveDirectoryA(favorites.c_str());
        RemoveDirectoryA(directory.c_str());
        DeleteFileA(RecorderLog().c_str());
    }

    // Opens the bookmark menu as a click on the icon does, moves down `downs` items and chooses that
    // one; the URL launched, or "" when nothing was launched.
    std::string Choose(int downs)
    {
        size_t before = RecordedURLs().size();
        PostMessageA(window, WM_USER + 2, 0, WM_LBUTTONUP);
        HWND menu = WaitForPopupMenu(5000);
        if (!menu)
            return "";
        std::vector<UINT> keys(downs, VK_DOWN);
        keys.push_back(VK_RETURN);
        PostMenuKeys(menu, keys);
        for (int waited = 0; waited < 5000; waited += 100) {
            std::vector<std::string> urls = RecordedURLs();
            if (urls.size() > before)
                return urls.back();
            Wait(100);
        }
        PostMenuKeys(menu, {VK_ESCAPE});
        return "";
    }

    // Every item of the menu, top to bottom, by what it launches (Plain headers are lines, which the
    // keys pass over; the count of items is known to the caller).
    std::vector<std::string> MenuURLs(int items)
    {
        std::vector<std::string> urls;
        for (int i = 1; i <= items; i++)
            urls.push_back(Choose(i));
        return urls;
    }

    // Waits until the menu lists `expected`, opening it again every second.
    bool WaitForMenu(const std::vector<std::string> &expected, std::vector<std::string> *seen)
    {
        for (int attempt = 0; attempt < 10; attempt++) {
            *seen = MenuURLs(static_cast<int>(expected.size()));
            if (*seen == expected)
                return true;
            Wait(1000);
        }
        return false;
    }

    std::string directory, favorites, hotlist, oldHandler, oldFavorites;
    bool hadHandler = false, hadFavorites = false;
    TreskProcess tresk;
    HWND window = nullptr;
};

std::string Joined(const std::vector<std::string> &urls)
{
    std::ostringstream out;
    for (const std::string &url : urls)
        out << url << " ";
    return out.str();
}

TEST_F(SourcesEndToEnd, MenuHoldsTheThreeSourcesInOrderAndFollowsTheirChanges)
{
    ASSERT_TRUE(StartTresk(&tresk));
    window = WaitForMainWindow(tresk, START_TIMEOUT);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForTrayIcon(window, START_TIMEOUT));
    Wait(1000);

    std::vector<std::string> seen;
    EXPECT_TRUE(WaitForMenu({"http://netscape.test/", "http://favorites.test/", "http://opera.test/"}, &seen))
        << Joined(seen);

    // Wine 8 signals the subtree watch only for changes in the watched folder itself, not in subfolders
    // that existed before, so the new shortcut goes into the Favorites folder.
    WriteText(favorites + "\\Added.url", Shortcut("http://added.test/"));
    std::vector<std::string> withAdded;
    for (int attempt = 0; attempt < 8 && (withAdded = MenuURLs(4))[3] != "http://opera.test/"; attempt++)
        Wait(1000);
    EXPECT_EQ(withAdded[0], "http://netscape.test/") << Joined(withAdded);
    EXPECT_EQ(withAdded[3], "http://opera.test/") << Joined(withAdded);
    EXPECT_TRUE((withAdded[1] == "http://favorites.test/" && withAdded[2] == "http://added.test/") ||
                (withAdded[2] == "http://favorites.test/" && withAdded[1] == "http://added.test/"))
        << "the Favorites in listing order: " << Joined(withAdded);

    WriteText(hotlist, Hotlist("Opera Two", "http://opera-two.test/"));
    std::vector<std::string> rewritten;
    for (int attempt = 0; attempt < 8 && (rewritten = MenuURLs(4))[3] != "http://opera-two.test/"; attempt++)
        Wait(1000);
    EXPECT_EQ(rewritten[3], "http://opera-two.test/") << Joined(rewritten);
    EXPECT_TRUE(IsRunning(tresk));
}

}  // namespace
