// End-to-end: the tray's dialogs with one start of the real tresk.exe, a recorder standing in for the browser.
// Search from the tray icon's double click on a file of a few hundred bookmarks (typing, history, sorting, a
// refresh while it is open, Close); Quick URL Entry with its remembered address; About with its link; the
// Verify window checking bookmarks against a server of this test: the rows and the progress line read from
// outside after whole runs, a second run, the proxy and its settings, then "Threads" 0, Stop, a refresh and
// Close during slow runs.
#include "tests/e2e/driver.h"
#include "tests/verify/http_test_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

namespace {

const UINT MSG_TRAY_NOTIFY = WM_USER + 2;
const std::string MAXIMIZED = "|3";  // the "Startup Style" that every launch must carry
const int VERIFY_BUTTON = 234, LIST = 236, PROGRESS = 237, PROXY_NAME = 241, PROXY_PORT = 242;
const char VERIFY_KEY[] = "Software\\Olvane\\Tresk\\Verify";

// Three folders of 100 bookmarks ("apple" with a subfolder) whose case-sensitive order would differ, a mail
// link, names and addresses in mixed case; `news` gets the names of those containing "news" in any case.
std::string SearchFile(std::set<std::string> *news)
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

HttpTestServer *server = nullptr;

// By path, also where a proxy's request names the whole URL. /slow/... answers 404 after three seconds.
ServerReply Answer(const ReceivedRequest &request)
{
    std::string path = std::regex_replace(request.target, std::regex("^http://[^/]*"), "");
    ServerReply reply;
    reply.delayMs = path.compare(0, 6, "/slow/") == 0 ? 3000 : 0;
    if (path.compare(0, 4, "/ok/") == 0)
        reply.bytes = HttpResponse("HTTP/1.0 200 OK");
    else if (path == "/moved" || path == "/loop")
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "Location: " + server->Url(path == "/loop" ? path : "/ok/") + "\r\n");
    else
        reply.bytes = HttpResponse("HTTP/1.0 404 Not Found");
    return reply;
}

// Every outcome once, in the list's order by name, as Name|URL|the Status it leaves (none: the row goes), in
// folders opened by "[name" and closed by "]"; {S} is the server, {R} a port where nothing listens.
const char EVERY_OUTCOME[] = R"(|http://{S}/404/empty|404 - Object Not Found
Alpha|http://{S}/ok/1|
Bravo|http://{S}/404/b|404 - Object Not Found
Charlie|http://{S}/moved|
Delta|http://{R}/|Connection Refused
Echo|http://nowhere.invalid/|Host Not Found
[Tools
Foxtrot|ftp://files.example/x|Ftp URL - Ignored
Golf|mailto:golf@example.com|MailTo URL - Ignored
Hotel|https://{R}/|Connection Refused
[Deep
India|http://{S}/loop|Too Many Redirects
Juliet|gopher://{S}/ok/gopher|
]
])";

// The bookmark file of the table (each bookmark after a separator), and the rows that a run leaves:
// Name|Location|Folder|Status.
std::string VerifyFile(std::string table, std::vector<std::string> *left)
{
    int refused = 0;
    CloseSocket(ListenOnLoopback(&refused));
    table = std::regex_replace(table, std::regex("\\{S\\}"), "127.0.0.1:" + std::to_string(server->Port()));
    table = std::regex_replace(table, std::regex("\\{R\\}"), "127.0.0.1:" + std::to_string(refused));
    std::string file = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    std::vector<std::string> paths = {""};  // the folder path inside each folder opened
    std::istringstream lines(table);
    for (std::string line; std::getline(lines, line);) {
        if (line[0] == '[') {
            file += "<DT><H3>" + line.substr(1) + "</H3>\n<DL><p>\n";
            paths.push_back(paths.back() + (paths.back().empty() ? "" : " > ") + line.substr(1));
        } else if (line == "]") {
            file += "</DL><p>\n";
            paths.pop_back();
        } else {
            size_t url = line.find('|') + 1, status = line.find('|', url) + 1;
            file += "<HR><DT><A HREF=\"" + line.substr(url, status - url - 1) + "\">" + line.substr(0, url - 1) + "</A>\n";
            if (status < line.size())
                left->push_back(line.substr(0, status) + paths.back() + line.substr(status - 1));
        }
    }
    return file + "</DL><p>\n";
}

// Every row of the list: Name|Location|Folder|Status.
std::vector<std::string> Rows(HWND list)
{
    std::vector<std::string> rows = ListViewColumn(list, 0);
    for (int column = 1; column < 4; column++) {
        std::vector<std::string> texts = ListViewColumn(list, column);
        for (size_t row = 0; row < rows.size() && row < texts.size(); row++)
            rows[row] += "|" + texts[row];
    }
    return rows;
}

// Until button 234 reads "&Verify" again, the idle window restored.
bool WaitForIdle(HWND dialog, int timeoutMs)
{
    return WaitUntil([&] { return ControlText(dialog, VERIFY_BUTTON) == "&Verify"; }, timeoutMs);
}

// "&Verify" (or "&Stop"), then with a time given waiting until "&Verify" is back.
bool Press(HWND dialog, int timeoutMs = 0)
{
    SendMessageA(dialog, WM_COMMAND, VERIFY_BUTTON, 0);
    return !timeoutMs || WaitForIdle(dialog, timeoutMs);
}

TEST(ToolsEndToEnd, SearchQuickUrlAboutAndVerifyFromTheTray)
{
    ResetTreskState();
    HttpTestServer local(Answer);
    server = &local;
    std::set<std::string> newsNames;
    const std::string bookmarkPath = ScratchFolder("tools") + "\\bookmark.htm";
    WriteTextFile(bookmarkPath, SearchFile(&newsNames));
    SetTreskDword("Menu Style", 0);
    SetTreskDword("Tray Icon", 1);
    SetTreskDword("Startup Style", SW_SHOWMAXIMIZED);
    SetTreskString("Bookmark Filename", bookmarkPath.c_str());
    SetUserValue(VERIFY_KEY, "Threads", REG_DWORD, "\0\0\0\0", 4);  // which means six
    RecordLaunches();
    TreskProcess tresk;
    HWND mainWindow = StartTreskAndWait(&tresk);
    ASSERT_NE(mainWindow, nullptr);
    auto trayCommand = [&](UINT letter, const char *caption) {
        ChooseFromTrayMenu(mainWindow, {letter});
        return WaitForWindow(tresk, "#32770", caption, 5000, true);
    };

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
    WriteTextFile(bookmarkPath, "<DL><p>\n<DT><A HREF=\"http://other.example/\">Other</A>\n");
    PostMessageA(mainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 1024));  // which refreshes the bookmarks
    Wait(2000);
    EXPECT_EQ(ListViewColumn(list, 0), names);
    EXPECT_EQ(ListViewColumn(list, 1), urls);
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 1);
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(NextLaunch(), urls[0] + MAXIMIZED);

    PostMessageA(search, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(search); }, 5000));
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    const std::string key = std::string(TRESK_KEY) + "\\Search";
    EXPECT_EQ(UserValue(key, "Window Placement"), "44 bytes");
    for (const char *width : {"Column 0 Width", "Column 1 Width", "Column 2 Width"})
        EXPECT_EQ(UserValue(key, width).find_first_not_of("0123456789"), std::string::npos) << width;  // a number
    EXPECT_EQ(UserValue(key, "Search Term 11"), "<missing>");
    for (int i = 1; i <= 10; i++)
        EXPECT_EQ(UserValue(key, ("Search Term " + std::to_string(i)).c_str()), searches[searches.size() - i] + '\0') << i;

    HWND prompt = trayCommand('Q', "Quick URL Entry");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ControlText(prompt, 239), "");
    SetDlgItemTextA(prompt, 239, "example.org/x");
    PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(NextLaunch(), "http://example.org/x" + MAXIMIZED);

    prompt = trayCommand('Q', "Quick URL Entry");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ControlText(prompt, 239), "http://example.org/x");
    SetDlgItemTextA(prompt, 239, "cancelled.example");
    PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(NextLaunch(3000), "");
    EXPECT_EQ(UserValue(TRESK_KEY, "Quick URL Entry"), std::string("http://example.org/x") + '\0');

    HWND about = trayCommand('A', "About Tresk");
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
    EXPECT_EQ(NextLaunch(), "http://tresk.example/" + MAXIMIZED);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    about = trayCommand('A', "About Tresk");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(CountScreenPixels(link, blue), 0) << "the link opened hot";
    post(WM_MOUSEMOVE, onLink);
    EXPECT_GT(CountScreenPixels(link, blue), 100);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 5000));

    // The Verify window, on the bookmark file as it is now when `refresh`. From no selection, two steps down
    // the tray menu is "&Verify Bookmarks...", three "&Refresh Bookmarks"; the window opens with its list filled.
    auto open = [&](bool refresh) {
        if (refresh) {
            ChooseFromTrayMenu(mainWindow, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
            Wait(1000);
        }
        ChooseFromTrayMenu(mainWindow, {VK_DOWN, VK_DOWN, VK_RETURN});
        HWND verify = WaitForWindow(tresk, "#32770", "Verify Bookmarks", START_TIMEOUT, true);
        return verify && WaitUntil([&] { return IsWindowVisible(GetDlgItem(verify, PROGRESS)); }, 10000) ? verify : nullptr;
    };
    std::string table = EVERY_OUTCOME;
    for (char c = 'M'; c <= 'Z'; c++)
        table += std::string("\n") + c + " passes|http://{S}/ok/" + c + "|";
    std::vector<std::string> failures;
    WriteTextFile(bookmarkPath, VerifyFile(table, &failures));
    HWND verify = open(true);
    ASSERT_NE(verify, nullptr);
    HWND results = GetDlgItem(verify, LIST);
    std::vector<std::string> rows = Rows(results);
    ASSERT_EQ(rows.size(), 25u);  // neither folders nor separators
    EXPECT_EQ(rows[0], failures[0].substr(0, failures[0].rfind('|') + 1) + "Not Verified");
    EXPECT_EQ(ControlText(verify, PROGRESS), "0 of 25 bookmarks processed");
    // The second run starts by setting the first one's failures back to "Not Verified".
    for (const char *progress : {"25 of 25 bookmarks processed  [17 verified, 8 failed]",
                                 "8 of 8 bookmarks processed  [0 verified, 8 failed]"}) {
        ASSERT_TRUE(Press(verify, 60000));
        EXPECT_EQ(Rows(results), failures);
        EXPECT_EQ(ControlText(verify, PROGRESS), progress);
    }
    // A click on "Status": the same rows in the order of their statuses, equal ones keeping theirs.
    ClickListHeader(results, 3);
    std::stable_sort(failures.begin(), failures.end(), [](const std::string &a, const std::string &b) {
        return a.substr(a.rfind('|')) < b.substr(b.rfind('|'));
    });
    EXPECT_TRUE(WaitUntil([&] { return Rows(results) == failures; }, 2000));

    std::string port = std::to_string(server->Port());
    SetDlgItemTextA(verify, PROXY_NAME, "127.0.0.1");
    SetDlgItemTextA(verify, PROXY_PORT, port.c_str());
    size_t seen = server->Requests().size();
    ASSERT_TRUE(Press(verify, 60000));
    std::vector<std::string> requests = server->Requests();
    requests.erase(requests.begin(), requests.begin() + seen);
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "HEAD http://nowhere.invalid/ nowhere.invalid"), 1);
    PostMessageA(verify, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verify); }, 5000));

    // Slow bookmarks, through the proxy that the window kept.
    table = "";  // "Slow 0" to "Slow 9", checked in three seconds; Stop leaves the first six checked
    for (int i = 0; i < 10; i++)
        table += "Slow " + std::to_string(i) + "|http://{S}/slow/" + std::to_string(i) +
                 (i < 6 ? "|404 - Object Not Found" : "|Not Verified") + (i < 9 ? "\n" : "");
    std::vector<std::string> stopped, fresh;
    WriteTextFile(bookmarkPath, VerifyFile(table, &stopped));
    verify = open(true);
    ASSERT_NE(verify, nullptr);
    EXPECT_EQ(ControlText(verify, PROXY_NAME), "127.0.0.1");
    EXPECT_EQ(ControlText(verify, PROXY_PORT), port);
    seen = server->Requests().size();
    Press(verify);
    Wait(700);
    EXPECT_EQ(server->Requests().size() - seen, 6u) << "\"Threads\" 0 gives 6 workers";
    // The table is rebuilt from another file while the rows are being checked.
    WriteTextFile(bookmarkPath, VerifyFile("Fresh|http://{S}/ok/fresh|Not Verified", &fresh));
    ChooseFromTrayMenu(mainWindow, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    Press(verify);
    EXPECT_EQ(ControlText(verify, VERIFY_BUTTON), "Stopping (6)");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(verify, VERIFY_BUTTON)));
    ASSERT_TRUE(WaitForIdle(verify, 10000));
    EXPECT_EQ(Rows(GetDlgItem(verify, LIST)), stopped);
    EXPECT_EQ(ControlText(verify, PROGRESS), "6 of 10 bookmarks processed  [0 verified, 6 failed]");

    // Close during a second run waits until the workers have their answers; the rows are still the window's.
    seen = server->Requests().size();
    Press(verify);
    Wait(500);
    PostMessageA(verify, WM_COMMAND, IDCANCEL, 0);
    Wait(500);
    EXPECT_TRUE(IsWindow(verify)) << "closed while its workers were still checking";
    EXPECT_EQ(ControlText(verify, VERIFY_BUTTON), "Stopping (6)");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(verify); }, 10000));
    requests = server->Requests();
    EXPECT_EQ(std::count_if(requests.begin() + seen, requests.end(), [](const std::string &r) { return r.find("/slow/") != r.npos; }), 6);
    ASSERT_TRUE(IsRunning(tresk));
    verify = open(false);  // the refresh during the run has come by now
    ASSERT_NE(verify, nullptr);
    EXPECT_EQ(Rows(GetDlgItem(verify, LIST)), fresh);
    StopTresk(&tresk);
    ResetTreskState();
}

}  // namespace
