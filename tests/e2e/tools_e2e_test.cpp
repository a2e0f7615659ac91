// End-to-end: the last three tray commands with the real tresk.exe. Search from the tray icon's double click
// on a file of a few hundred bookmarks (typing, history, sorting, a refresh while it is open, Close);
// Quick URL Entry with its remembered address; About with its link. A recorder stands in for the browser.
#include "tests/e2e/driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

const UINT MSG_TRAY_NOTIFY = WM_USER + 2;
const std::string SHOWN_MAXIMIZED = "|3";  // the "Startup Style" that every launch must carry
const char *const FOLDERS[] = {"Zebra", "apple", "Mango"};  // a case-sensitive order would differ

// Folders of 100 bookmarks ("apple" with a subfolder), a mail link, names and addresses in mixed case;
// `news` gets the names of those that contain "news" in any case.
std::string BookmarkFile(std::set<std::string> *news)
{
    std::string file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                       "<DT><A HREF=\"mailto:Someone@Example.org\">Write to Someone</A>\n";
    for (int k = 0; k < 300; k++) {
        if (k % 100 == 0)
            file += std::string(k ? "</DL><p>\n" : "") + "<DT><H3>" + FOLDERS[k / 100] + "</H3>\n<DL><p>\n";
        if (k == 150)
            file += "<DT><H3>Inner</H3>\n<DL><p>\n";
        std::string name = (k % 7 == 0 ? "Daily NeWs " : "Page ") + std::to_string(k);
        std::string path = k % 11 == 0 ? "/News/" : "/p";
        file += "<DT><A HREF=\"http://site" + std::to_string(k) + ".example" + path + "\">" + name + "</A>\n";
        if (k == 159)
            file += "</DL><p>\n";
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
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        bookmarkPath = std::string(temp) + "tresk-e2e-tools.htm";
        std::ofstream(bookmarkPath, std::ios::binary) << BookmarkFile(&newsNames);
        SetTreskDword("Menu Style", 0);
        SetTreskDword("Tray Icon", 1);
        SetTreskDword("Startup Style", SW_SHOWMAXIMIZED);
        SetTreskString("Bookmark Filename", bookmarkPath.c_str());
        ASSERT_TRUE(StartTresk(&tresk));
        mainWindow = WaitForMainWindow(tresk, 20000);
        ASSERT_NE(mainWindow, nullptr);
        ASSERT_TRUE(WaitForTrayIcon(mainWindow, 20000));
    }
    void TearDown() override
    {
        StopTresk(&tresk);
        ResetTreskState();
        DeleteFileA(bookmarkPath.c_str());
    }

    // Runs a tray menu command by its letter and returns the dialog it opens.
    HWND TrayCommand(UINT letter, const char *caption)
    {
        PostMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, WM_RBUTTONUP);
        if (HWND menu = WaitForPopupMenu(5000))
            PostMenuKeys(menu, {letter});
        return WaitForWindow(tresk, "#32770", caption, 5000, true);
    }
    std::string Text(HWND dialog, int control)
    {
        char text[1024] = "";
        GetDlgItemTextA(dialog, control, text, sizeof text);
        return text;
    }
    // Waits for the Search dialog's count label to read `expected`.
    bool CountReads(HWND search, const std::string &expected, int timeoutMs)
    {
        for (int waited = 0; Text(search, 230) != expected; waited += 50) {
            if (waited >= timeoutMs)
                return false;
            Wait(50);
        }
        return true;
    }
    static bool Closes(HWND dialog)
    {
        for (int waited = 0; IsWindow(dialog) && waited < 5000; waited += 100)
            Wait(100);
        return !IsWindow(dialog);
    }
    std::vector<std::string> Column(HWND list, int column)
    {
        std::vector<std::string> texts;
        for (int item = 0; item < ListView_GetItemCount(list); item++)
            texts.push_back(ListViewText(list, item, column));
        return texts;
    }

    TreskProcess tresk;
    HWND mainWindow = nullptr;
    std::string bookmarkPath;
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
    EXPECT_TRUE(CountReads(search, "301 bookmarks", 5000)) << Text(search, 230);
    char title[64] = "";
    GetWindowTextA(mainWindow, title, sizeof title);
    EXPECT_TRUE(IsWindowVisible(mainWindow) && std::string(title) == "Search Bookmarks") << title;  // a taskbar button

    PostTypedText(edit, "NEWS");
    Wait(600);
    EXPECT_EQ(Text(search, 230), "301 bookmarks") << "searched before the typing pause";
    ASSERT_TRUE(CountReads(search, std::to_string(newsNames.size()) + " bookmarks", 3000)) << Text(search, 230);
    std::vector<std::string> names = Column(list, 0);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), newsNames);

    // Ten more searches push the first out of the history; "Site" matches every bookmark, mail link aside.
    std::vector<std::string> searches;
    for (int i = 1; i <= 9; i++)
        searches.push_back("page " + std::to_string(i));
    searches.push_back("Site");
    for (const std::string &text : searches) {
        PostMessageA(edit, EM_SETSEL, 0, -1);
        PostTypedText(edit, text);
        Wait(1300);
    }
    ASSERT_TRUE(CountReads(search, "300 bookmarks", 3000)) << Text(search, 230);
    HWND header = ListView_GetHeader(list);
    int folderX = ListView_GetColumnWidth(list, 0) + ListView_GetColumnWidth(list, 1) + 20;
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(folderX, 5));
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(folderX, 5));
    Wait(1000);
    std::vector<std::string> folders = Column(list, 2);
    for (size_t i = 1; i < folders.size(); i++)
        ASSERT_LE(_stricmp(folders[i - 1].c_str(), folders[i].c_str()), 0) << i << ": " << folders[i];
    EXPECT_EQ(folders.front(), "apple");
    EXPECT_EQ(folders.back(), "Zebra");

    // Regression: results held table positions, so a refresh under the open dialog made them name other records.
    names = Column(list, 0);
    std::vector<std::string> urls = Column(list, 1);
    std::ofstream(bookmarkPath, std::ios::binary | std::ios::trunc)
        << "<DL><p>\n<DT><A HREF=\"http://other.example/\">Other</A>\n</DL><p>\n";
    PostMessageA(mainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));  // which rebuilds the menus
    Wait(2000);
    EXPECT_EQ(Column(list, 0), names);
    EXPECT_EQ(Column(list, 1), urls);
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 1);
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(browser.Next(), urls[0] + SHOWN_MAXIMIZED);

    PostMessageA(search, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(Closes(search));
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    std::string value;
    EXPECT_TRUE(ReadTreskSubkeyValue("Search", "Window Placement", REG_BINARY, &value) && value.size() == 44);
    for (const char *width : {"Column 0 Width", "Column 1 Width", "Column 2 Width"})
        EXPECT_TRUE(ReadTreskSubkeyValue("Search", width, REG_DWORD, &value)) << width;
    for (int i = 1; i <= 10; i++) {
        EXPECT_TRUE(ReadTreskSubkeyValue("Search", ("Search Term " + std::to_string(i)).c_str(), REG_SZ, &value));
        EXPECT_EQ(value, searches[searches.size() - i] + '\0') << i;
    }
    EXPECT_FALSE(ReadTreskSubkeyValue("Search", "Search Term 11", REG_SZ, &value));
}

TEST_F(ToolsEndToEnd, QuickUrlOpensTheAnswerWithAScheme)
{
    HWND prompt = TrayCommand('Q', "Quick URL Entry");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(Text(prompt, 239), "");
    PostMessageA(mainWindow, MSG_TRAY_NOTIFY, 0, WM_LBUTTONUP);
    EXPECT_EQ(WaitForPopupMenu(1000), nullptr) << "the busy guard let the bookmark menu open";
    SetDlgItemTextA(prompt, 239, "example.org/x");
    PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(browser.Next(), "http://example.org/x" + SHOWN_MAXIMIZED);

    prompt = TrayCommand('Q', "Quick URL Entry");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(Text(prompt, 239), "http://example.org/x");
    SetDlgItemTextA(prompt, 239, "cancelled.example");
    PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(browser.Next(3000), "");
    std::string stored;
    EXPECT_TRUE(ReadTreskString("Quick URL Entry", &stored));
    EXPECT_EQ(stored, std::string("http://example.org/x") + '\0');
}

TEST_F(ToolsEndToEnd, AboutLinkTurnsBlueWithTheHandAndOpensTheHomePage)
{
    HWND about = TrayCommand('A', "About Tresk");
    ASSERT_NE(about, nullptr);
    std::string text = Text(about, 101);
    EXPECT_TRUE(std::regex_search(text, std::regex("^Tresk [0-9.]+\r\n\\[[A-Z][a-z]{2} [0-9]{1,2} [0-9]{4}\\]\r\n"))) << text;
    RECT link, dialog;
    GetWindowRect(GetDlgItem(about, 218), &link);
    GetWindowRect(about, &dialog);
    SetCursorPos((dialog.left + dialog.right) / 2, (dialog.top + dialog.bottom) / 2);  // the pointer over the dialog
    Wait(300);
    POINT onLink = {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    POINT outside = {dialog.right + 50, dialog.bottom + 50};
    auto moveTo = [&](HWND window, POINT point, UINT message) {
        ScreenToClient(window, &point);
        PostMessageA(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
        Wait(500);
    };
    const COLORREF blue = RGB(0, 0, 255);
    moveTo(about, onLink, WM_MOUSEMOVE);
    EXPECT_GT(CountScreenPixels(link, blue), 100);
    EXPECT_EQ(PointerShape(), "32x32+5+0");  // the hand, its hot spot at the fingertip
    moveTo(about, outside, WM_MOUSEMOVE);   // seen although outside: the mouse is captured
    EXPECT_EQ(CountScreenPixels(link, blue), 0);
    EXPECT_NE(PointerShape(), "32x32+5+0");

    moveTo(about, onLink, WM_MOUSEMOVE);
    moveTo(about, onLink, WM_LBUTTONDOWN);
    EXPECT_EQ(browser.Next(), "http://tresk.example/" + SHOWN_MAXIMIZED);
    EXPECT_TRUE(Closes(about));

    about = TrayCommand('A', "About Tresk");
    ASSERT_NE(about, nullptr);
    Wait(300);
    EXPECT_EQ(CountScreenPixels(link, blue), 0) << "the link opened hot";
    moveTo(about, onLink, WM_MOUSEMOVE);
    EXPECT_GT(CountScreenPixels(link, blue), 100);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
}

}  // namespace
