// tresk-cli verify: argument rules, result lines in input order and the exit status, against a local server.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commands.h"
#include "tests/verify/http_test_server.h"

namespace {

int RunVerify(std::vector<std::string> args, std::string *out = nullptr)
{
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    testing::internal::CaptureStdout();
    int status = RunVerifyCommand(static_cast<int>(argv.size()), argv.data());
    std::string printed = testing::internal::GetCapturedStdout();
    if (out)
        *out = printed;
    return status;
}

TEST(VerifyCommand, BadArgumentsExitWithTwo)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--threads", "0", "h"},
        {"--threads", "x", "h"},
        {"--threads"},
        {"--timeout", "-1", "h"},
        {"--proxy", ":8080", "h"},
        {"--proxy", "p:0", "h"},
        {"--proxy", "p:70000", "h"},
        {"--fast", "h"},
        {"--bookmarks", "f.htm", "h"},
        {"--bookmarks"},
    };
    for (const auto &args : cases) {
        std::string joined;
        for (const std::string &a : args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        std::string out;
        EXPECT_EQ(RunVerify(args, &out), 2);
        EXPECT_EQ(out, "");
    }
}

class VerifyCommandRun : public ::testing::Test {
protected:
    HttpTestServer server{[](const ReceivedRequest &r) {
        ServerReply reply;
        if (r.target == "/404" || r.target == "http://h/404")
            reply.bytes = HttpResponse("HTTP/1.0 404 Not Found");
        else
            reply.bytes = HttpResponse("HTTP/1.0 200 OK", "", r.method == "GET" ? "body" : "");
        if (r.target == "/slow")
            reply.delayMs = 300;
        return reply;
    }};
};

TEST_F(VerifyCommandRun, OneLinePerUrlInInputOrder)
{
    int closedPort = 0;
    SocketHandle probe = ListenOnLoopback(&closedPort);
    CloseSocket(probe);
    std::string refused = "http://127.0.0.1:" + std::to_string(closedPort) + "/";
    std::string out;
    // the slow first URL finishes last, yet its line comes first
    EXPECT_EQ(RunVerify({"--threads", "3", "--timeout", "5", server.Url("/slow"), server.Url("/404"), "ftp://h/",
                         refused, server.Url("/ok")},
                        &out),
              1);
    EXPECT_EQ(out, "ok\t" + server.Url("/slow") + "\n" + "404 - Object Not Found\t" + server.Url("/404") + "\n" +
                       "Ftp URL - Ignored\tftp://h/\n" + "Connection Refused\t" + refused + "\n" + "ok\t" +
                       server.Url("/ok") + "\n");
}

TEST_F(VerifyCommandRun, AllPassedExitsWithZero)
{
    std::string out;
    EXPECT_EQ(RunVerify({server.Url("/a"), server.Url("/b")}, &out), 0);
    EXPECT_EQ(out, "ok\t" + server.Url("/a") + "\nok\t" + server.Url("/b") + "\n");
}

TEST_F(VerifyCommandRun, ThroughTheProxy)
{
    std::string proxy = "127.0.0.1:" + std::to_string(server.Port());
    std::string out;
    EXPECT_EQ(RunVerify({"--threads", "1", "--proxy", proxy, "h/ok", "http://h/404"}, &out), 1);
    EXPECT_EQ(out, "ok\th/ok\n404 - Object Not Found\thttp://h/404\n");
    ASSERT_EQ(server.Requests().size(), 2u);
    EXPECT_EQ(server.Requests()[0].target, "http://h/ok");
    EXPECT_EQ(server.Requests()[0].method, "HEAD");
}

}  // namespace
