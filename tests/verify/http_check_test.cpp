// Whole checks against an HTTP server on 127.0.0.1 that the test starts: every outcome a server can cause.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/verify/http_test_server.h"
#include "verify/check_bookmark.h"
#include "verify/http_trans.h"

namespace {

const std::string OK_HEADER = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

// Answers by request target; unknown targets get 200 with a body.
ServerReply AnswerByPath(const ReceivedRequest &request, int port)
{
    const std::string &t = request.target;
    std::string self = "http://127.0.0.1:" + std::to_string(port);
    ServerReply reply;
    if (t == "/ok-nobody")
        reply.bytes = OK_HEADER;
    else if (t == "/404")
        reply.bytes = HttpResponse("HTTP/1.1 404 Not Found");
    else if (t == "/204")
        reply.bytes = HttpResponse("HTTP/1.0 204 No Content");
    else if (t == "/307")
        reply.bytes = HttpResponse("HTTP/1.0 307 Temporary Redirect", "Location: " + self + "/ok\r\n");
    else if (t == "/500")
        reply.bytes = HttpResponse("HTTP/1.0 500 Internal Server Error", "", "oops");
    else if (t == "/301")
        reply.bytes = HttpResponse("HTTP/1.0 301 Moved Permanently", "Location: " + self + "/ok\r\n");
    else if (t == "/302")
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "location: " + self + "/302-2\r\n");
    else if (t == "/302-2")
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "Location: " + self + "/ok-nobody\r\n");
    else if (t == "/302-to-404")
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "Location: " + self + "/404\r\n");
    else if (t == "/shouting")
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "LOCATION: " + self + "/ok\r\n");
    else if (t == "/loop")
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "Location: " + self + "/loop\r\n");
    else if (t == "/silent")
        reply.holdOpen = true;
    else if (t == "/close")
        reply.bytes = "";
    else if (t == "/head-empty")
        reply.bytes = request.method == "HEAD" ? "" : OK_HEADER;
    else if (t == "/garbage")
        reply.bytes = "garbage";
    else if (t == "/drip")
        reply.bytes = OK_HEADER, reply.dripMs = 50;
    else if (t == "/endless-body")
        reply.bytes = OK_HEADER, reply.endless = true;
    else if (t == "/endless-header")
        reply.bytes = "HTTP/1.0 200 OK\r\nX-Long: ", reply.endless = true;
    else if (t == "/header-then-hold")
        reply.bytes = OK_HEADER, reply.holdOpen = true;
    else if (t == "/half-then-silent")
        reply.bytes = "HTTP/1.0 200 OK\r\n", reply.holdOpen = true;
    else
        reply.bytes = OK_HEADER + "<html>body</html>";
    return reply;
}

class HttpCheck : public ::testing::Test {
protected:
    int port = 0;
    HttpTestServer server{[this](const ReceivedRequest &r) { return AnswerByPath(r, server.Port()); }};

    void SetUp() override
    {
        ASSERT_GT(server.Port(), 0);
        port = server.Port();
    }

    struct Outcome {
        int code;
        int detail;
        std::string text;
        std::string location;
    };

    // One transaction with time-outs in milliseconds, as VerifyURL runs it.
    Outcome Run(const std::string &url, bool head = false, int timeoutMs = 3000, const char *proxy = "",
                int proxyPort = 0)
    {
        CTreskTrans trans;
        if (*proxy) {
            trans.SetServerName(proxy);
            trans.m_serverPort = proxyPort;
            trans.m_useProxy = 1;
        }
        trans.m_useHead = head;
        trans.m_sendTimeout = trans.m_recvTimeout = timeoutMs;
        trans.Request(url.c_str());
        EXPECT_EQ(trans.m_response, nullptr);
        return {trans.m_errorCode, trans.m_errorDetail, trans.m_errorText, trans.m_location};
    }

    std::vector<std::string> Targets()
    {
        std::vector<std::string> targets;
        for (const ReceivedRequest &r : server.Requests())
            targets.push_back(r.method + " " + r.target);
        return targets;
    }
};

TEST_F(HttpCheck, OutcomesByServerAnswer)
{
    const struct {
        const char *path;
        bool head;
        int code;
        int detail;
        const char *text;
    } cases[] = {
        {"/ok", false, 0, 0, ""},
        {"/ok", true, 0, 0, ""},
        {"/ok-nobody", false, 0, 0, ""},
        {"/404", false, 11, 404, "Object Not Found"},
        {"/204", false, 10, 204, "No Content"},
        {"/307", false, 10, 307, "Unsupported HTTP Extension"},
        {"/500", true, 11, 500, "Internal Server Error"},
        {"/301", false, 0, 0, ""},
        {"/302", true, 0, 0, ""},
        {"/302-to-404", false, 11, 404, "Object Not Found"},
        {"/shouting", false, 13, 0, "Redirected - No Location in Header"},
        {"/loop", false, 14, 0, "Too Many Redirects"},
        {"/close", false, 12, 0, "Header Not Found"},
        {"/garbage", false, 12, 0, "Header Not Found"},
        {"/endless-body", false, 0, 0, ""},
        {"/endless-header", false, 0, 0, ""},
        {"/header-then-hold", true, 0, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        Outcome o = Run(server.Url(c.path), c.head);
        EXPECT_EQ(o.code, c.code);
        EXPECT_EQ(o.detail, c.detail);
        EXPECT_EQ(o.text, c.text);
    }
}

TEST_F(HttpCheck, RedirectsAreFollowedOnTheSameObject)
{
    Outcome o = Run(server.Url("/302"), true);
    EXPECT_EQ(o.code, 0);
    std::vector<std::string> expected = {"HEAD /302", "HEAD /302-2", "HEAD /ok-nobody"};
    EXPECT_EQ(Targets(), expected);
}

TEST_F(HttpCheck, RedirectLoopEndsAfterTenRedirects)
{
    Outcome o = Run(server.Url("/loop"));
    EXPECT_EQ(o.code, 14);
    EXPECT_EQ(server.Requests().size(), 11u);
}

TEST_F(HttpCheck, SilentServerEndsAtTheReceiveTimeOut)
{
    auto start = std::chrono::steady_clock::now();
    Outcome o = Run(server.Url("/silent"), false, 300);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.detail, 0);
    EXPECT_EQ(o.text, "Receive Timed Out");
    EXPECT_GE(took, std::chrono::milliseconds(250));
    EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(HttpCheck, PartOfAHeaderThenSilenceIsATimeOut)
{
    Outcome o = Run(server.Url("/half-then-silent"), false, 300);
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.detail, 0);
    EXPECT_EQ(o.text, "Request Timed Out");
}

TEST_F(HttpCheck, DrippingServerEndsAtTheCheckDeadline)
{
    // one byte every 50 ms never trips the 300 ms receive time-out; the 600 ms deadline of the check does
    auto start = std::chrono::steady_clock::now();
    Outcome o = Run(server.Url("/drip"), false, 300);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(o.text, "Request Timed Out");
    EXPECT_LT(took, std::chrono::milliseconds(1500));
}

TEST_F(HttpCheck, RefusedConnection)
{
    int closedPort = 0;
    SocketHandle probe = ListenOnLoopback(&closedPort);
    ASSERT_NE(probe, NO_SOCKET);
    CloseSocket(probe);
    Outcome o = Run("http://127.0.0.1:" + std::to_string(closedPort) + "/");
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.detail, 0);
    EXPECT_EQ(o.text, "Connection Refused");
}

TEST_F(HttpCheck, RequestIsSentByteForByte)
{
    ASSERT_EQ(Run(server.Url("/a/b?x#frag"), true).code, 0);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].text,
              "HEAD /a/b?x#frag HTTP/1.0\r\n"
              "Accept: image/gif, image/x-bitmap, image/jpeg, image/pjpeg, application/vnd.ms-powerpoint, "
              "application/vnd.ms-excel, application/msword, application/x-comet, */*\r\n"
              "Accept-Language: en\r\n"
              "Accept-Encoding: gzip, deflate\r\n"
              "Cache-Control: no-cache\r\n"
              "Proxy-Connection: Keep-Alive\r\n"
              "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt; KVR Agent;)\r\n"
              "Host: 127.0.0.1\r\n"
              "\r\n");
}

TEST_F(HttpCheck, ProxyRequestsCarryTheWholeUrlAndTheBareHost)
{
    const struct {
        const char *url;
        const char *target;
        const char *host;
    } cases[] = {
        {"example.invalid/x", "http://example.invalid/x", "example.invalid"},
        {"http://example.invalid:81/y?q", "http://example.invalid:81/y?q", "example.invalid"},
        {"gopher://example.invalid", "gopher://example.invalid", "example.invalid"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        size_t before = server.Requests().size();
        EXPECT_EQ(Run(c.url, false, 3000, "127.0.0.1", port).code, 0);
        ASSERT_EQ(server.Requests().size(), before + 1);
        EXPECT_EQ(server.Requests().back().target, c.target);
        EXPECT_EQ(server.Requests().back().host, c.host);
    }
}

TEST_F(HttpCheck, RelativeRedirectThroughTheProxy)
{
    // the server answers the first request with "Location: ../a.html"; relative results carry no scheme or port
    HttpTestServer relative([](const ReceivedRequest &r) {
        ServerReply reply;
        reply.bytes = r.target == "http://site/d1/d2/p.html"
                          ? HttpResponse("HTTP/1.0 302 Found", "Location: ../a.html\r\n")
                          : OK_HEADER;
        return reply;
    });
    Outcome o = Run("http://site/d1/d2/p.html", true, 3000, "127.0.0.1", relative.Port());
    EXPECT_EQ(o.code, 0);
    ASSERT_EQ(relative.Requests().size(), 2u);
    EXPECT_EQ(relative.Requests()[1].target, "http://site/d1/a.html");
    EXPECT_EQ(relative.Requests()[1].host, "site");
}

TEST_F(HttpCheck, UrlLengthLimits)
{
    std::string base = server.Url("/");
    std::string longest = base + std::string(1025 - base.size(), 'p');
    EXPECT_EQ(Run(longest).code, 0);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, longest.substr(base.size() - 1));
    Outcome o = Run(longest + "p");
    EXPECT_EQ(o.code, 3);
    EXPECT_EQ(o.text, "URL Too Long");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpCheck, MalformedUrlsNeverConnect)
{
    const struct {
        std::string url;
        int code;
        const char *text;
    } cases[] = {
        {"http://127.0.0.1:70000/", 8, "Bad Port In URL"},
        {"http://127.0.0.1:/", 6, "Could Not Determine Protocol"},
        {"http://127.0.0.1:", 8, "Bad Port In URL"},
        {"http:/x", 6, "Could Not Determine Protocol"},
        {":x", 7, "Bad Host In URL"},
        {"", 2, "Empty URL"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        int code = 0, detail = -5;
        char text[TEXT_CAPACITY] = "";
        EXPECT_EQ(VerifyURL(c.url.c_str(), "", 0, 0, 1, 1, &code, &detail, text), 0);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(detail, 0);
        EXPECT_STREQ(text, c.text);
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(HttpCheck, VerifyURLLeavesOutputsAloneOnSuccess)
{
    int code = 77, detail = 78;
    char text[TEXT_CAPACITY] = "untouched";
    EXPECT_EQ(VerifyURL(server.Url("/ok").c_str(), "", 0, 1, 5, 5, &code, &detail, text), 1);
    EXPECT_EQ(code, 77);
    EXPECT_EQ(detail, 78);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(VerifyURL(server.Url("/ok").c_str(), "127.0.0.1", port, 0, 5, 5, &code, &detail, text), 1);
    EXPECT_EQ(server.Requests().back().target, server.Url("/ok"));
}

TEST_F(HttpCheck, BookmarkStatusTexts)
{
    const struct {
        const char *path;
        bool passes;
        const char *status;
    } cases[] = {
        {"/ok", true, ""},
        {"/404", false, "404 - Object Not Found"},
        {"/204", false, "No Content (204)"},
        {"/307", false, "Unsupported HTTP Extension (307)"},
        {"/shouting", false, "Redirected - No Location in Header"},
        {"/head-empty", true, ""},
        {"/close", false, "Header Not Found"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        char status[STATUS_TEXT_CAPACITY] = "x";
        EXPECT_EQ(CheckBookmark(server.Url(c.path).c_str(), "", 0, 5, 5, status), c.passes);
        EXPECT_STREQ(status, c.status);
    }
}

TEST_F(HttpCheck, EmptyHeadAnswerIsTriedAgainWithGet)
{
    char status[STATUS_TEXT_CAPACITY];
    EXPECT_TRUE(CheckBookmark(server.Url("/head-empty").c_str(), "", 0, 5, 5, status));
    EXPECT_FALSE(CheckBookmark(server.Url("/404").c_str(), "", 0, 5, 5, status));
    std::vector<std::string> expected = {"HEAD /head-empty", "GET /head-empty", "HEAD /404"};
    EXPECT_EQ(Targets(), expected);
}

TEST_F(HttpCheck, ParallelChecksShareTheSocketStartUp)
{
    std::atomic<int> passed{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 12; w++)
        workers.emplace_back([&] {
            for (int i = 0; i < 8; i++) {
                char status[STATUS_TEXT_CAPACITY];
                if (CheckBookmark(server.Url(i % 2 ? "/ok" : "/301").c_str(), "", 0, 10, 10, status))
                    passed++;
            }
        });
    for (std::thread &t : workers)
        t.join();
    EXPECT_EQ(passed, 96);
    EXPECT_EQ(g_transCount, 0);
}

}  // namespace
