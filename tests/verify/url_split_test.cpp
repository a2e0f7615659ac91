// The URL split, port rules and request targets, checked before any connection is made.
#include <gtest/gtest.h>

#include <string>

#include "verify/http_trans.h"

namespace {

struct SplitCase {
    const char *label;
    std::string url;
    const char *proxy;   // null: direct
    int code;            // 0: accepted
    const char *text;
    const char *host;
    int port;
    const char *requestURI;
    const char *serverName;
};

std::string Repeat(char c, size_t n)
{
    return std::string(n, c);
}

// "http://h/" is 9 characters; the rest of the path makes up the length wanted.
std::string UrlOfLength(size_t n)
{
    return "http://h/" + Repeat('a', n - 9);
}

const SplitCase splitCases[] = {
    {"full", "http://h:8080/a/b?x", nullptr, 0, "", "h", 8080, "/a/b?x", "h"},
    {"no scheme", "h/x", nullptr, 0, "", "h", 80, "/x", "h"},
    {"host only", "http://h", nullptr, 0, "", "h", 80, "/", "h"},
    {"slash and nothing", "http://h/", nullptr, 0, "", "h", 80, "/", "h"},
    {"fragment kept", "http://h/p.html#top", nullptr, 0, "", "h", 80, "/p.html#top", "h"},
    {"any scheme is http", "ftp://h/", nullptr, 0, "", "h", 80, "/", "h"},
    {"port 0 accepted", "http://h:0/", nullptr, 0, "", "h", 0, "/", "h"},
    {"port 65535", "h:65535", nullptr, 0, "", "h", 65535, "/", "h"},
    {"port with blank and sign", "h: +81/", nullptr, 0, "", "h", 81, "/", "h"},
    {"port text not a number reads 0", "h:x/", nullptr, 0, "", "h", 0, "/", "h"},
    {"later colon ends the port", "h:81:9/p", nullptr, 0, "", "h", 81, "/p", "h"},
    {"1025 characters", UrlOfLength(1025), nullptr, 0, "", "h", 80, nullptr, "h"},
    {"1026 characters", UrlOfLength(1026), nullptr, 3, "URL Too Long", nullptr, -1, nullptr, nullptr},
    {"empty", "", nullptr, 2, "Empty URL", nullptr, -1, nullptr, nullptr},
    {"single slash after scheme", "http:/x", nullptr, 6, "Could Not Determine Protocol", nullptr, -1, nullptr, nullptr},
    {"single slash after host colon", "h:/x", nullptr, 6, "Could Not Determine Protocol", nullptr, -1, nullptr, nullptr},
    {"leading colon", ":x", nullptr, 7, "Bad Host In URL", nullptr, -1, nullptr, nullptr},
    {"scheme only", "http://", nullptr, 7, "Bad Host In URL", nullptr, -1, nullptr, nullptr},
    {"empty host before path", "http:///x", nullptr, 0, "", "/x", 80, "/", "/x"},
    {"port 70000", "http://h:70000/", nullptr, 8, "Bad Port In URL", nullptr, -1, nullptr, nullptr},
    {"negative port", "http://h:-1/", nullptr, 8, "Bad Port In URL", nullptr, -1, nullptr, nullptr},
    {"empty port text", "http://h:", nullptr, 8, "Bad Port In URL", nullptr, -1, nullptr, nullptr},
    {"empty port before path", "http://h:/", nullptr, 6, "Could Not Determine Protocol", nullptr, -1, nullptr, nullptr},
    {"host of 255", "http://" + Repeat('n', 255) + "/", nullptr, 0, "", nullptr, 80, "/", nullptr},
    {"host of 256 refused", "http://" + Repeat('n', 256) + "/", nullptr, 7, "Host Name Too Long", nullptr, -1, nullptr,
     nullptr},
    {"proxy, no scheme", "h/x", "proxy", 0, "", "h", 80, "http://h/x", "proxy"},
    {"proxy, scheme kept", "ftp://h:21/x", "proxy", 0, "", "h", 21, "ftp://h:21/x", "proxy"},
    {"proxy, empty scheme", "://h/x", "proxy", 0, "", "h", 80, "http://://h/x", "proxy"},
    {"proxy without name", "h/x", "", 5, "Proxy Not Specified", nullptr, -1, nullptr, nullptr},
    {"proxy, 1024 characters", UrlOfLength(1024), "proxy", 0, "", "h", 80, nullptr, "proxy"},
    {"proxy, 1025 characters refused", UrlOfLength(1025), "proxy", 3, "URL Too Long", nullptr, -1, nullptr, nullptr},
    {"proxy, host of 300", "http://" + Repeat('n', 300) + "/", "proxy", 0, "", nullptr, 80, nullptr, "proxy"},
};

TEST(UrlSplit, Table)
{
    for (const SplitCase &c : splitCases) {
        SCOPED_TRACE(c.label);
        CTreskTrans trans;
        if (c.proxy) {
            trans.SetServerName(c.proxy);
            trans.m_serverPort = 3128;
            trans.m_useProxy = 1;
        }
        bool accepted = trans.PrepareTarget(c.url.c_str());
        EXPECT_EQ(accepted, c.code == 0);
        EXPECT_EQ(trans.m_errorCode, c.code);
        EXPECT_EQ(trans.m_errorDetail, 0);
        EXPECT_STREQ(trans.m_errorText, c.text);
        if (c.code != 0)
            continue;
        if (c.host) {
            EXPECT_STREQ(trans.m_host, c.host);
        }
        EXPECT_EQ(trans.m_port, c.port);
        if (c.requestURI) {
            EXPECT_STREQ(trans.m_requestURI, c.requestURI);
        }
        if (c.serverName) {
            EXPECT_STREQ(trans.m_serverName, c.serverName);
        }
        EXPECT_EQ(trans.m_serverPort, c.proxy ? 3128 : c.port);
    }
}

TEST(UrlSplit, PartsPointIntoTheCopy)
{
    CTreskTrans trans;
    ASSERT_TRUE(trans.PrepareTarget("http://h:8080/a/b?x"));
    EXPECT_STREQ(trans.m_scheme, "http");
    EXPECT_STREQ(trans.m_portText, "8080");
    EXPECT_STREQ(trans.m_path, "a/b?x");
    EXPECT_EQ(trans.m_host, trans.m_urlCopy + 7);

    CTreskTrans bare;
    ASSERT_TRUE(bare.PrepareTarget("h"));
    EXPECT_EQ(bare.m_scheme, nullptr);
    EXPECT_EQ(bare.m_portText, nullptr);
    EXPECT_EQ(bare.m_path, nullptr);
}

TEST(UrlSplit, LongUrlsLeaveTheNextFieldsIntact)
{
    CTreskTrans trans;
    trans.m_recvTimeout = 1234;
    std::string url = UrlOfLength(1025);
    ASSERT_TRUE(trans.PrepareTarget(url.c_str()));
    EXPECT_EQ(std::string(trans.m_requestURI), "/" + url.substr(9));
    EXPECT_EQ(trans.m_recvTimeout, 1234);
    EXPECT_EQ(std::string(trans.m_path), url.substr(9));
}

TEST(UrlSplit, DottedFallbackOnlyForShortHosts)
{
    CTreskTrans trans;
    ASSERT_TRUE(trans.PrepareTarget("http://192.168.100.200/"));
    EXPECT_STREQ(trans.m_serverAddrText, "192.168.100.200");
    ASSERT_TRUE(trans.PrepareTarget("http://a-host-name-of-17x/"));
    EXPECT_STREQ(trans.m_serverAddrText, "");
}

}  // namespace
