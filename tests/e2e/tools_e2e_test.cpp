// End-to-end: the last three tray commands with the real tresk.exe. Search from the tray icon's double click
// on a file of a few hundred bookmarks (typing, history, sorting, a refresh while it is open, Close);
// Quick URL Entry with its remembered address; About with its link. A recorder stands in for the browser.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

const UINT MSG_TRAY_NOTIFY = WM_USER + 2;
const std::string MAXIMIZED = "|3";  // the "Startup Style" that every launch must carry

// Three folders of 100 bookmarks ("apple" with a subfolder) whose case-sensitive order would differ, a mail
// link, names and addresses in mixed case; `news` gets the names of those containing "news" in any case.
std::string BookmarkFile(std::set<std::string> *news)
{
    const char *folders[] = {"Zebra", "apple", "Mango"};
    std::string file = "<DL><p>\n<DT><A HREF=\"mailto:Someone@Example.org\">Write to Someone</A>\n";
    for (int k = 0; k < 300; k++) {
        if (k % 100 == 0)
            file += std::string(k ? "</DL><p>\n" : "") + "<DT><H3>" + folders[k / 100] + "</H3>\n<DL><p>\n";
        std::string name = (k % 7 ? "Page " : "Daily NeWs ") + std::to_string(k);
        file += std::string(k == 150 ? "<DT><H3>Inner</H3>\n<DL><p>\n" : "") + "<DT><A HREF=\"http://site" +
                std::to_string(k) + (k % 11 ? ".example/p\">" : ".example/News/\">") + name + "</A>\n" +
                (k == 159 ? "</DL><p>\n" : "");
        if (k % 7 == 0 || k % 11 == 0)
            news->insert(name);
    }
    return file + "</DL><p>\n</DL><p>\n";
}

class ToolsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTreskState();
        std::ofstream(bookmarkPath, std::ios::binary) << BookmarkFile(&newsNames);
        SetTreskDword("Menu Style", 0);
        SetTreskDword("Tray Icon", 1);
        SetTreskDword("Startup Style", SW_SHOWMAXIMIZED);
        SetTreskString("Bookmark Filename", bookmarkPath.c_str());
        mainWindow = StartTreskAndWait(&tresk);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override
    {
        StopTresk(&tresk);
        ResetTreskState();
        DeleteFileA(bookmarkPath.c_str());
    }
    HWND TrayCommand(UINT letter, const char *caption)
    {
        ChooseFromTrayMenu(mainWindow, {letter});
        return WaitForWindow(tresk, "#32770", caption, 5000, true);
    }

    TreskProcess tresk;
    HWND mainWindow = nullptr;
    std::string bookmarkPath = WinePath("/tmp/tresk-e2e-tools.htm");
    std::set<std::string> newsNames;
    LaunchRecorder browser{"http"};
};

TEST_F(ToolsEndToEnd, SearchFindsLaunchesRemembersSortsAndKeepsItsResultsOverARefresh)
{
    for (LPARAM click : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, click);
    HWND search = WaitForWindow(tresk, "#32770", "Search Bookmarks", 5000, true);
    ASSERT_NE(search, nullptr);
    HWND list = GetDlgItem(search, 228), edit = FindWindowExA(GetDlgItem(search, 231), nullptr, "Edit", nullptr);
    auto countReads = [&](const std::string &count) { return WaitUntil([&] { return ControlText(search, 230) == count; }, 3000); };
    EXPECT_TRUE(countReads("301 bookmarks")) << ControlText(search, 230);
    EXPECT_TRUE(IsWindowVisible(mainWindow) && WaitForWindow(tresk, "Tresk", "Search Bookmarks", 0));  // a taskbar button

    PostTypedText(edit, "NEWS");
    Wait(500);
    EXPECT_EQ(ControlText(search, 230), "301 bookmarks") << "searched before the typing pause";
    ASSERT_TRUE(countReads(std::to_string(newsNames.size()) + " bookmarks")) << ControlText(search, 230);
    std::vector<std::string> names = ListViewColumn(list, 0);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), newsNames);

    // Ten more searches push the first out of the history; "Site" matches every bookmark, mail link aside.
    std::vector<std::string> searches = {"NEWS"};
    for (const char *text : {"page 1", "page 2", "page 3", "page 4", "page 5", "page 6", "page 7", "page 8",
                             "page 9", "Site"}) {
        searches.push_back(text);
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostTypedText(edit, text);
        Wait(1300);
    }
    ASSERT_TRUE(countReads("300 bookmarks")) << ControlText(search, 230);
    ClickListHeader(list, 2);
    Wait(1000);
    std::vector<std::string> folders = ListViewColumn(list, 2);
    EXPECT_TRUE(std::is_sorted(folders.begin(), folders.end(),
                               [](const std::string &a, const std::string &b) { return _stricmp(a.c_str(), b.c_str()) < 0; }));
    EXPECT_EQ(folders.front() + " " + folders.back(), "apple Zebra");

    // Regression: results held table positions, so a refresh under the open dialog made them name other records.
    names = ListViewColumn(list, 0);
    std::vector<std::string> urls = ListViewColumn(list, 1);
    std::ofstream(bookmarkPath, std::ios::trunc) << "<DL><p>\n<DT><A HREF=\"http://other.example/\">Other</A>\n";
    PostMessageA(mainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));  // which refreshes the bookmarks
    Wait(2000);
    EXPECT_EQ(ListViewColumn(list, 0), names);
    EXPECT_EQ(ListViewColumn(list, 1), urls);
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 1);
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(browser.Next(), urls[0] + MAXIMIZED);

    PostMessageA(search, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(search); }, 5000));
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    std::string value;
    EXPECT_TRUE(ReadTreskSubkeyValue("Search", "Window Placement", REG_BINARY, &value) && value.size() == 44);
    for (const char *width : {"Column 0 Width", "Column 1 Width", "Column 2 Width"})
        EXPECT_TRUE(ReadTreskSubkeyValue("Search", width, REG_DWORD, &value)) << width;
    EXPECT_FALSE(ReadTreskSubkeyValue("Search", "Search Term 11", REG_SZ, &value));
    for (int i = 1; i <= 10; i++)
        EXPECT_TRUE(ReadTreskSubkeyValue("Search", ("Search Term " + std::to_string(i)).c_str(), REG_SZ, &value) &&
                    value == searches[searches.size() - i] + '\0') << i << ": " << value;
}

TEST_F(ToolsEndToEnd, QuickUrlOpensTheAnswerWithASchemeAndOffersItAgain)
{
    HWND prompt = TrayCommand('Q', "Quick URL Entry");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ControlText(prompt, 239), "");
    SetDlgItemTextA(prompt, 239, "example.org/x");
    PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(browser.Next(), "http://example.org/x" + MAXIMIZED);

    prompt = TrayCommand('Q', "Quick URL Entry");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ControlText(prompt, 239), "http://example.org/x");
    SetDlgItemTextA(prompt, 239, "cancelled.example");
    PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(browser.Next(3000), "");
    std::string stored;
    EXPECT_TRUE(ReadTreskString("Quick URL Entry", &stored) && stored == std::string("http://example.org/x") + '\0');
}

TEST_F(ToolsEndToEnd, AboutLinkTurnsBlueWithTheHandAndOpensTheHomePage)
{
    HWND about = TrayCommand('A', "About Tresk");
    ASSERT_NE(about, nullptr);
    std::string text = ControlText(about, 101);
    EXPECT_TRUE(std::regex_search(text, std::regex("^Tresk [0-9.]+\r\n\\[[A-Z][a-z]{2} [0-9]{1,2} [0-9]{4}\\]\r\n")))
        << text;
    RECT link, dialog;
    GetWindowRect(GetDlgItem(about, 218), &link);
    GetWindowRect(about, &dialog);
    SetCursorPos((dialog.left + dialog.right) / 2, (dialog.top + dialog.bottom) / 2);  // X shows the dialog's cursor
    auto post = [&](UINT message, POINT point) {
        ScreenToClient(about, &point);
        PostMessageA(about, message, 0, MAKELPARAM(point.x, point.y));
        Wait(500);
    };
    const POINT onLink = {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    const COLORREF blue = RGB(0, 0, 255);
    post(WM_MOUSEMOVE, onLink);
    EXPECT_GT(CountScreenPixels(link, blue), 100);
    EXPECT_EQ(PointerShape(), "32x32+5+0");  // the hand, its hot spot at the fingertip
    post(WM_MOUSEMOVE, {dialog.right + 50, dialog.bottom + 50});  // seen though outside: the mouse is captured
    EXPECT_EQ(CountScreenPixels(link, blue), 0);
    EXPECT_NE(PointerShape(), "32x32+5+0");
    post(WM_MOUSEMOVE, onLink);
    post(WM_LBUTTONDOWN, onLink);
    EXPECT_EQ(browser.Next(), "http://tresk.example/" + MAXIMIZED);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    about = TrayCommand('A', "About Tresk");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(CountScreenPixels(link, blue), 0) << "the link opened hot";
    post(WM_MOUSEMOVE, onLink);
    EXPECT_GT(CountScreenPixels(link, blue), 100);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
}

}  // namespace
