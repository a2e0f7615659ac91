// Whole checks, and tresk-cli verify, against servers on 127.0.0.1 that the test starts: plain HTTP, TLS in front
// of it with test certificates of every kind, and a proxy in front of it, tunnels included.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "tests/verify/http_test_server.h"
#include "verify/check_bookmark.h"
#include "verify/http_trans.h"

namespace {

const std::string OK_HEADER = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";

HttpTestServer *server = nullptr;
bool secureFront = false;

std::string Url(const std::string &kind, const std::string &path)
{
    return kind == "http" ? server->Url(path) : server->SecureUrl(kind, path);
}

ServerReply Answer(const ReceivedRequest &request)
{
    const std::string &t = request.target;
    ServerReply reply;
    if (t.size() >= 4 && t.compare(t.size() - 4, 4, "/404") == 0) {
        reply.bytes = HttpResponse("HTTP/1.1 404 Not Found");
    } else if (t == "/to-https") {
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "location: " + Url("trusted", "/to-http") + "\r\n");
    } else if (t == "/to-http") {
        reply.bytes = HttpResponse("HTTP/1.0 301 Moved", "Location: " + Url("http", "/ok") + "\r\n");
    } else if (t == "/loop") {
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "Location: " + Url("http", "/loop") + "\r\n");
    } else if (t == "/silent" || t == "/slow") {
        reply.delayMs = t == "/slow" ? 300 : 60000;
        reply.bytes = t == "/slow" ? OK_HEADER : "";
    } else if (t == "/drip") {
        reply.bytes = OK_HEADER, reply.dripMs = 50;
    } else if (t != "/close" && (t != "/head-empty" || request.method == "GET")) {
        reply.bytes = OK_HEADER + (request.method == "GET" ? "<html>body</html>" : "");
    }
    return reply;
}

class HttpCheck : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new HttpTestServer(Answer);
        secureFront = server->StartSecureFront();
        if (secureFront)
            TrustTestAuthority(server->authorityPem);
    }
    static void TearDownTestSuite()
    {
        delete server;
        ForgetTestAuthority();
    }

    size_t seen = 0;
    void SetUp() override
    {
        ASSERT_GT(server->Port(), 0);
        ASSERT_TRUE(secureFront) << "the TLS front (tls_front.py) did not start";
        seen = server->Requests().size();
    }

    // The requests that arrived since the last call.
    std::vector<std::string> NewRequests()
    {
        std::vector<std::string> all = server->Requests();
        all.erase(all.begin(), all.begin() + seen);
        seen += all.size();
        return all;
    }

    // One transaction with time-outs in milliseconds, as VerifyURL runs it: "code detail text".
    std::string Run(const std::string &url, int timeoutMs = 3000, int proxyPort = 0, long long *ms = nullptr)
    {
        auto start = std::chrono::steady_clock::now();
        CTreskTrans trans;
        if (proxyPort) {
            trans.SetServerName("127.0.0.1");
            trans.m_serverPort = proxyPort;
            trans.m_useProxy = 1;
        }
        trans.m_useHead = 1;
        trans.m_sendTimeout = trans.m_recvTimeout = timeoutMs;
        trans.Request(url.c_str());
        EXPECT_EQ(trans.m_response, nullptr);
        if (ms)
            *ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        return std::to_string(trans.m_errorCode) + " " + std::to_string(trans.m_errorDetail) + " " + trans.m_errorText;
    }
};

TEST_F(HttpCheck, BookmarkStatusByServer)
{
    const struct {
        const char *label;
        std::string url, status;  // "(N)": the platform's own number
        size_t requests;          // that reach the server
    } cases[] = {
        {"200", Url("http", "/ok"), "", 1},
        {"404, not tried again", Url("http", "/404"), "404 - Object Not Found", 1},
        {"closes at once, also to GET", Url("http", "/close"), "Header Not Found", 2},
        {"empty HEAD answer, then GET", Url("http", "/head-empty"), "", 2},
        {"redirect loop", Url("http", "/loop"), "Too Many Redirects", 11},
        {"https 200", Url("trusted", "/ok"), "", 1},
        {"https 404", Url("trusted", "/404"), "404 - Object Not Found", 1},
        {"self-signed", Url("self-signed", "/ok"), "Certificate Not Trusted", 0},
        {"unknown authority, chain of one", Url("unknown-ca", "/ok"), "Certificate Not Trusted", 0},
        {"issued for another name", Url("wrong-name", "/ok"), "Certificate Name Mismatch", 0},
        {"expired", Url("expired", "/ok"), "Certificate Expired", 0},
        {"plain HTTP on the https port", Url("plain", "/ok"), "Secure Connection Failed (N)", 0},
        {"ftp ignored", "Ftp://h/x", "Ftp URL - Ignored", 0},
        {"mailto ignored", "MAILTO:a@b", "MailTo URL - Ignored", 0},
        {"https checked", "HTTPS://h:70000/", "Bad Port In URL", 0},
        {"empty", "", "Empty URL", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        char status[STATUS_TEXT_CAPACITY] = "x";
        EXPECT_EQ(CheckBookmark(c.url.c_str(), "", 0, 5, 5, status), c.status.empty());
        std::string shown = status;
        if (shown.compare(0, 26, "Secure Connection Failed (") == 0 && shown != "Secure Connection Failed (0)")
            shown = "Secure Connection Failed (N)";
        EXPECT_EQ(shown, c.status);
        EXPECT_EQ(NewRequests().size(), c.requests);
    }
}

TEST_F(HttpCheck, RequestsThatReachTheServer)
{
    std::string tunnel = "localhost:" + Url("trusted", "").substr(18);
    const struct {
        std::string url;
        int proxy;
        std::vector<std::string> requests;
    } cases[] = {
        {Url("http", "/to-https"), 0, {"HEAD /to-https 127.0.0.1", "HEAD /to-http localhost", "HEAD /ok 127.0.0.1"}},
        {"example.invalid/x", server->ProxyPort(), {"HEAD http://example.invalid/x example.invalid"}},
        {"http://example.invalid:81/y?q", server->ProxyPort(), {"HEAD http://example.invalid:81/y?q example.invalid"}},
        {"https://" + tunnel + "/ok", server->ProxyPort(), {"HEAD /ok localhost"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(Run(c.url, 3000, c.proxy), "0 0 ");
        EXPECT_EQ(NewRequests(), c.requests);
    }
    EXPECT_EQ(Run("https://refuse.invalid/x", 3000, server->ProxyPort()), "20 403 Proxy Tunnel Refused");
    EXPECT_EQ(NewRequests(), std::vector<std::string>{});
}

TEST_F(HttpCheck, WaitsEndWithinTheDeadline)
{
    // with 300 ms time-outs the check's deadline is 600 ms; one byte every 50 ms never trips a receive time-out
    const struct {
        const char *label;
        std::string url, outcome;
        long long belowMs;
    } cases[] = {
        {"silent server", Url("http", "/silent"), "1 0 Receive Timed Out", 3000},
        {"dripping server", Url("http", "/drip"), "1 0 Request Timed Out", 1500},
        {"no answer to the handshake", "https://localhost:" + std::to_string(server->Port()) + "/",
         "19 0 Secure Connection Timed Out", 1500},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        long long ms = 0;
        EXPECT_EQ(Run(c.url, 300, 0, &ms), c.outcome);
        EXPECT_GE(ms, 250);
        EXPECT_LT(ms, c.belowMs);
    }
}

TEST_F(HttpCheck, ParallelChecksShareTheSocketStartUp)
{
    const std::string urls[] = {Url("http", "/ok"), Url("trusted", "/ok"), Url("http", "/to-https")};
    std::atomic<int> passed{0};
    std::vector<std::thread> workers;
    for (int w = 0; w < 12; w++)
        workers.emplace_back([&] {
            for (int i = 0; i < 8; i++) {
                char status[STATUS_TEXT_CAPACITY];
                passed += CheckBookmark(urls[i % 3].c_str(), "", 0, 10, 10, status) ? 1 : 0;
            }
        });
    for (std::thread &t : workers)
        t.join();
    EXPECT_EQ(passed, 96);
    EXPECT_EQ(g_transCount, 0);
}

int RunVerify(std::vector<std::string> args, std::string *out)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    testing::internal::CaptureStdout();
    int status = RunVerifyCommand(static_cast<int>(argv.size()), argv.data());
    *out = testing::internal::GetCapturedStdout();
    return status;
}

TEST(VerifyCommand, BadArgumentsExitWithTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {}, {"--threads", "0", "h"}, {"--threads", "x", "h"}, {"--threads"}, {"--timeout", "-1", "h"},
        {"--proxy", ":8080", "h"}, {"--proxy", "p:0", "h"}, {"--proxy", "p:70000", "h"}, {"--fast", "h"},
        {"--bookmarks", "f.htm", "h"}, {"--bookmarks"}};
    for (const auto &args : cases) {
        SCOPED_TRACE(args.empty() ? "" : args[0] + " " + (args.size() > 1 ? args[1] : ""));
        std::string out;
        EXPECT_EQ(RunVerify(args, &out), 2);
        EXPECT_EQ(out, "");
    }
}

TEST_F(HttpCheck, CommandPrintsOneLinePerUrlInInputOrder)
{
    int closedPort = 0;
    CloseSocket(ListenOnLoopback(&closedPort));
    std::string slow = Url("http", "/slow"), notFound = Url("http", "/404"), secure = Url("trusted", "/");
    std::string refused = "http://127.0.0.1:" + std::to_string(closedPort) + "/", selfSigned = Url("self-signed", "/");
    std::string out;
    // the slow first URL finishes last, yet its line comes first
    EXPECT_EQ(RunVerify({"--threads", "3", "--timeout", "5", slow, notFound, "ftp://h/", refused, secure, selfSigned}, &out), 1);
    EXPECT_EQ(out, "ok\t" + slow + "\n404 - Object Not Found\t" + notFound + "\nFtp URL - Ignored\tftp://h/\n" +
                       "Connection Refused\t" + refused + "\nok\t" + secure + "\nCertificate Not Trusted\t" + selfSigned + "\n");
    EXPECT_EQ(RunVerify({Url("http", "/a"), secure}, &out), 0);
    EXPECT_EQ(out, "ok\t" + Url("http", "/a") + "\nok\t" + secure + "\n");
    NewRequests();
    EXPECT_EQ(RunVerify({"--threads", "1", "--proxy", "127.0.0.1:" + std::to_string(server->ProxyPort()), "h/ok", "http://h/404"}, &out), 1);
    EXPECT_EQ(out, "ok\th/ok\n404 - Object Not Found\thttp://h/404\n");
    std::vector<std::string> expected = {"HEAD http://h/ok h", "HEAD http://h/404 h"};
    EXPECT_EQ(NewRequests(), expected);
}

// A proxy named without a port was once asked on port 0; the command line and the window both mean 8080.
TEST_F(HttpCheck, CommandAsksAProxyWithoutPortOn8080)
{
    int port = 8080;
    SocketHandle proxy = ListenOnLoopback(&port);  // it never accepts: the request waits unanswered
    if (proxy == NO_SOCKET)
        GTEST_SKIP() << "port 8080 is taken on this machine";
    std::string out;
    EXPECT_EQ(RunVerify({"--timeout", "1", "--proxy", "127.0.0.1", "h/x"}, &out), 1);
    EXPECT_EQ(out, "Receive Timed Out\th/x\n") << "the proxy was not asked on 8080";
    CloseSocket(proxy);
}

}  // namespace
