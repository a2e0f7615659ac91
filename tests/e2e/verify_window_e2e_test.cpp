// The Verify window of the real tresk.exe, opened from the tray menu, checking bookmarks against a server of
// this test: the rows and the progress line read from outside after whole runs, a second run, the proxy and
// its settings; "Threads" 0, Stop, a refresh and Close during slow runs.
#include "tests/e2e/driver.h"
#include "tests/verify/http_test_server.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

namespace {

const int VERIFY_BUTTON = 234, LIST = 236, PROGRESS = 237, PROXY_NAME = 241, PROXY_PORT = 242;
const char VERIFY_KEY[] = "Software\\Olvane\\Tresk\\Verify";

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
std::string BookmarkFile(std::string table, std::vector<std::string> *left)
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

class VerifyWindowEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = new HttpTestServer(Answer); }
    static void TearDownTestSuite() { delete server; }
    void SetUp() override { ResetTreskState(); }
    void TearDown() override
    {
        StopTresk(&tresk);
        ResetTreskState();
    }

    // Starts Tresk on the bookmarks with these "Threads", then opens the window.
    HWND Start(const std::string &bookmarks, DWORD threads)
    {
        WriteTextFile(bookmarkPath, bookmarks);
        SetTreskString("Bookmark Filename", bookmarkPath.c_str());
        SetTreskDword("Menu Style", 0);
        SetTreskDword("Tray Icon", 1);
        SetUserValue(VERIFY_KEY, "Threads", REG_DWORD, &threads, 4);
        mainWindow = StartTreskAndWait(&tresk);
        return mainWindow ? Open() : nullptr;
    }

    // From no selection, two steps down the tray menu is "&Verify Bookmarks...", three "&Refresh Bookmarks".
    // The window opens with its list filled.
    HWND Open()
    {
        ChooseFromTrayMenu(mainWindow, {VK_DOWN, VK_DOWN, VK_RETURN});
        HWND dialog = WaitForWindow(tresk, "#32770", "Verify Bookmarks", START_TIMEOUT, true);
        return dialog && WaitUntil([&] { return IsWindowVisible(GetDlgItem(dialog, PROGRESS)); }, 10000) ? dialog : nullptr;
    }

    // "&Verify" (or "&Stop"), then with a time given waiting until "&Verify" is back.
    static bool Press(HWND dialog, int timeoutMs = 0)
    {
        SendMessageA(dialog, WM_COMMAND, VERIFY_BUTTON, 0);
        return !timeoutMs || WaitForIdle(dialog, timeoutMs);
    }

    TreskProcess tresk;
    HWND mainWindow = nullptr;
    const std::string bookmarkPath = ScratchFolder("verify") + "\\bookmark.htm";
};

TEST_F(VerifyWindowEndToEnd, RunsLeaveTheFailuresAndTheProxyIsKept)
{
    std::string table = EVERY_OUTCOME;
    for (char c = 'M'; c <= 'Z'; c++)
        table += std::string("\n") + c + " passes|http://{S}/ok/" + c + "|";
    std::vector<std::string> failures;
    HWND dialog = Start(BookmarkFile(table, &failures), 6);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, LIST);
    std::vector<std::string> rows = Rows(list);
    ASSERT_EQ(rows.size(), 25u);  // neither folders nor separators
    EXPECT_EQ(rows[0], failures[0].substr(0, failures[0].rfind('|') + 1) + "Not Verified");
    EXPECT_EQ(ControlText(dialog, PROGRESS), "0 of 25 bookmarks processed");
    // The second run starts by setting the first one's failures back to "Not Verified".
    for (const char *progress : {"25 of 25 bookmarks processed  [17 verified, 8 failed]",
                                 "8 of 8 bookmarks processed  [0 verified, 8 failed]"}) {
        ASSERT_TRUE(Press(dialog, 60000));
        EXPECT_EQ(Rows(list), failures);
        EXPECT_EQ(ControlText(dialog, PROGRESS), progress);
    }
    // A click on "Status": the same rows in the order of their statuses, equal ones keeping theirs.
    ClickListHeader(list, 3);
    std::stable_sort(failures.begin(), failures.end(), [](const std::string &a, const std::string &b) {
        return a.substr(a.rfind('|')) < b.substr(b.rfind('|'));
    });
    EXPECT_TRUE(WaitUntil([&] { return Rows(list) == failures; }, 2000));

    std::string port = std::to_string(server->Port());
    SetDlgItemTextA(dialog, PROXY_NAME, "127.0.0.1");
    SetDlgItemTextA(dialog, PROXY_PORT, port.c_str());
    size_t seen = server->Requests().size();
    ASSERT_TRUE(Press(dialog, 60000));
    std::vector<std::string> requests = server->Requests();
    requests.erase(requests.begin(), requests.begin() + seen);
    EXPECT_EQ(requests.size(), 16u);  // none for ftp and mailto, a tunnel for https, 11 for the redirect loop
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "HEAD http://nowhere.invalid/ nowhere.invalid"), 1);
    EXPECT_EQ(std::count_if(requests.begin(), requests.end(), [](const std::string &r) { return r.find(" /") != r.npos; }), 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000));
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, PROXY_NAME), "127.0.0.1");
    EXPECT_EQ(ControlText(dialog, PROXY_PORT), port);
}

TEST_F(VerifyWindowEndToEnd, StopRefreshAndCloseDuringSlowRuns)
{
    std::string table;  // "Slow 0" to "Slow 9", checked in three seconds; Stop leaves the first six checked
    for (int i = 0; i < 10; i++)
        table += "Slow " + std::to_string(i) + "|http://{S}/slow/" + std::to_string(i) +
                 (i < 6 ? "|404 - Object Not Found" : "|Not Verified") + (i < 9 ? "\n" : "");
    std::vector<std::string> stopped, fresh;
    HWND dialog = Start(BookmarkFile(table, &stopped), 0);
    ASSERT_NE(dialog, nullptr);
    size_t seen = server->Requests().size();
    Press(dialog);
    Wait(700);
    EXPECT_EQ(server->Requests().size() - seen, 6u) << "\"Threads\" 0 gives 6 workers";
    // The table is rebuilt from another file while the rows are being checked.
    WriteTextFile(bookmarkPath, BookmarkFile("Fresh|http://{S}/ok/fresh|Not Verified", &fresh));
    ChooseFromTrayMenu(mainWindow, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    Press(dialog);
    EXPECT_EQ(ControlText(dialog, VERIFY_BUTTON), "Stopping (6)");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, VERIFY_BUTTON)));
    ASSERT_TRUE(WaitForIdle(dialog, 10000));
    EXPECT_EQ(Rows(GetDlgItem(dialog, LIST)), stopped);
    EXPECT_EQ(ControlText(dialog, PROGRESS), "6 of 10 bookmarks processed  [0 verified, 6 failed]");

    // Close during a second run waits until the workers have their answers; the rows are still the window's.
    seen = server->Requests().size();
    Press(dialog);
    Wait(500);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    Wait(500);
    EXPECT_TRUE(IsWindow(dialog)) << "closed while its workers were still checking";
    EXPECT_EQ(ControlText(dialog, VERIFY_BUTTON), "Stopping (6)");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000));
    std::vector<std::string> requests = server->Requests();
    EXPECT_EQ(std::count_if(requests.begin() + seen, requests.end(), [](const std::string &r) { return r.find("/slow/") != r.npos; }), 6);
    ASSERT_TRUE(IsRunning(tresk));
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Rows(GetDlgItem(dialog, LIST)), fresh);
}

}  // namespace
