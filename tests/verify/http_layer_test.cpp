// The URL split, the request, the receive and the HTTP layer on a stand-in stream: no network.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/verify/fake_stream.h"
#include "verify/http_trans.h"

namespace {

// "http://h/" is 9 characters; the rest of the path makes up the length wanted.
std::string UrlOfLength(size_t n)
{
    return "http://h/" + std::string(n - 9, 'a');
}

void UseProxy(CSocketTrans &trans, const char *name = "proxy")
{
    trans.SetServerName(name);
    trans.m_serverPort = 3128;
    trans.m_useProxy = 1;
}

struct SplitCase {
    const char *label;
    std::string url;
    const char *proxy;     // null: direct
    std::string outcome;   // "host:port request-target", or "code text"
};

const SplitCase splitCases[] = {
    {"full", "http://h:8080/a/b?x", nullptr, "h:8080 /a/b?x"},
    {"no scheme", "h/x", nullptr, "h:80 /x"},
    {"host only", "http://h", nullptr, "h:80 /"},
    {"host of 17 characters", "http://a-host-name-of-17/", nullptr, "a-host-name-of-17:80 /"},
    {"https on 443", "https://h/x", nullptr, "h:443 /x"},
    {"HTTPS in capitals", "HTTPS://h:8443", nullptr, "h:8443 /"},
    {"httpsx is http", "httpsx://h/", nullptr, "h:80 /"},
    {"port 0 accepted", "http://h:0/", nullptr, "h:0 /"},
    {"port 65535", "h:65535", nullptr, "h:65535 /"},
    {"port with blank and sign", "h: +81/", nullptr, "h:81 /"},
    {"port text not a number reads 0", "h:x/", nullptr, "h:0 /"},
    {"later colon ends the port", "h:81:9/p", nullptr, "h:81 /p"},
    {"1025 characters", UrlOfLength(1025), nullptr, "h:80 /" + std::string(1016, 'a')},
    {"1026 characters", UrlOfLength(1026), nullptr, "3 URL Too Long"},
    {"empty", "", nullptr, "2 Empty URL"},
    {"single slash after scheme", "http:/x", nullptr, "6 Could Not Determine Protocol"},
    {"leading colon", ":x", nullptr, "7 Bad Host In URL"},
    {"scheme only", "http://", nullptr, "7 Bad Host In URL"},
    {"empty host before path", "http:///x", nullptr, "/x:80 /"},
    {"port 70000", "http://h:70000/", nullptr, "8 Bad Port In URL"},
    {"negative port", "http://h:-1/", nullptr, "8 Bad Port In URL"},
    {"empty port text", "http://h:", nullptr, "8 Bad Port In URL"},
    {"host of 255", "http://" + std::string(255, 'n') + "/", nullptr, std::string(255, 'n') + ":80 /"},
    {"host of 256 refused", "http://" + std::string(256, 'n') + "/", nullptr, "7 Host Name Too Long"},
    {"proxy, no scheme", "h/x", "proxy", "h:80 http://h/x"},
    {"proxy, scheme kept", "ftp://h:21/x", "proxy", "h:21 ftp://h:21/x"},
    {"proxy, empty scheme", "://h/x", "proxy", "h:80 http://://h/x"},
    {"proxy, https goes through a tunnel", "https://h/x?q", "proxy", "h:443 /x?q"},
    {"proxy without name", "h/x", "", "5 Proxy Not Specified"},
    {"proxy, 1024 characters", UrlOfLength(1024), "proxy", "h:80 http://h/" + std::string(1015, 'a')},
    {"proxy, 1025 characters refused", UrlOfLength(1025), "proxy", "3 URL Too Long"},
};

TEST(UrlSplit, Table)
{
    for (const SplitCase &c : splitCases) {
        SCOPED_TRACE(c.label);
        CTreskTrans trans;
        if (c.proxy)
            UseProxy(trans, c.proxy);
        trans.m_recvTimeout = 1234;  // the field after the URL copy: a long URL must not reach it
        bool accepted = trans.PrepareTarget(c.url.c_str());
        EXPECT_EQ(trans.m_recvTimeout, 1234);
        EXPECT_EQ(accepted ? std::string(trans.m_host) + ":" + std::to_string(trans.m_port) + " " + trans.m_requestURI
                           : std::to_string(trans.m_errorCode) + " " + trans.m_errorText,
                  c.outcome);
        EXPECT_EQ(accepted, trans.m_errorCode == 0);
        EXPECT_EQ(trans.m_errorDetail, 0);
        if (accepted) {
            EXPECT_STREQ(trans.m_serverName, c.proxy ? c.proxy : trans.m_host);
            EXPECT_EQ(trans.m_serverPort, c.proxy ? 3128 : trans.m_port);
        }
        if (accepted && !c.proxy) {  // a host that fits may be a dotted address to fall back on
            EXPECT_STREQ(trans.m_serverAddrText, std::strlen(trans.m_host) < sizeof trans.m_serverAddrText ? trans.m_host : "");
        }
    }
}

// One request and its answer over the stand-in stream, as after a connect: through a proxy's tunnel first for
// an https URL with a proxy (the TLS layer itself is left out).
struct Exchanged {
    CTreskTrans trans;
    FakeStream stream;
    Exchanged(const char *url, const std::string &incoming, bool head = false, const char *proxy = nullptr)
    {
        stream.incoming = incoming;
        if (proxy)
            UseProxy(trans, proxy);
        trans.m_useHead = head;
        EXPECT_TRUE(trans.PrepareTarget(url));
    }
    // "follow <location>", or "code detail text"
    std::string Run()
    {
        trans.m_stream = &stream;
        if (!(trans.m_secure && trans.m_useProxy) || trans.OpenTunnel())
            trans.Exchange();
        EXPECT_EQ(trans.m_response, nullptr);
        EXPECT_EQ(trans.m_stream, nullptr);
        if (trans.m_followLocation)
            return "follow " + std::string(trans.m_location);
        return std::to_string(trans.m_errorCode) + " " + std::to_string(trans.m_errorDetail) + " " + trans.m_errorText;
    }
};

const char *const PAGE = "http://h/d1/d2/p.html";
const char *const TUNNEL = "https://Host.example:8443/x";  // asked for through a proxy

struct AnswerCase {
    const char *label;
    const char *url;
    std::string incoming;
    int end;  // what the stream does after the bytes (FakeStream::then)
    const char *outcome;
};

const AnswerCase answerCases[] = {
    {"200 with body", PAGE, "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nhello", 0, "0 0 "},
    {"200 with no empty line", PAGE, "HTTP/1.0 200 OK", 0, "0 0 "},
    {"reason phrase ignored", PAGE, "HTTP/1.1 404 Not Found\r\n\r\n", 0, "11 404 Object Not Found"},
    {"204", PAGE, "HTTP/1.0 204 No Content\r\n\r\n", 0, "10 204 No Content"},
    {"206 has its own text", PAGE, "HTTP/1.0 206 Partial\r\n\r\n", 0, "10 206 Partial Content"},
    {"307 not in the table", PAGE, "HTTP/1.0 307 Temporary\r\nLocation: http://x/\r\n\r\n", 0,
     "10 307 Unsupported HTTP Extension"},
    {"500", PAGE, "HTTP/1.0 500 Oops\r\n\r\n", 0, "11 500 Internal Server Error"},
    {"505", PAGE, "HTTP/1.0 505 x\r\n\r\n", 0, "11 505 HTTP Version not supported"},
    {"status below 100", PAGE, "HTTP/1.0 099 x\r\n\r\n", 0, "12 0 Header Not Found"},
    {"two digits then end", PAGE, "HTTP/1.0 20", 0, "12 0 Header Not Found"},
    {"non-digit at 9", PAGE, "HTTP/1.0 x00 OK\r\n\r\n", 0, "12 0 Header Not Found"},
    {"closed without a byte", PAGE, "", 0, "12 0 Header Not Found"},
    {"302 without Location", PAGE, "HTTP/1.0 302 Found\r\nServer: x\r\n\r\n", 0, "13 0 Redirected - No Location in Header"},
    {"302 with LOCATION:", PAGE, "HTTP/1.0 302 Found\r\nLOCATION: http://x/\r\n\r\n", 0,
     "13 0 Redirected - No Location in Header"},
    {"Location in the body only", PAGE, "HTTP/1.0 302 Found\r\n\r\nLocation: http://x/", 0,
     "13 0 Redirected - No Location in Header"},
    {"Location too long", PAGE, "HTTP/1.0 302 Found\r\nLocation: http://x/" + std::string(1100, 'a') + "\r\n\r\n", 0,
     "3 0 URL Too Long"},
    {"silence", PAGE, "", STREAM_TIMED_OUT, "1 0 Receive Timed Out"},
    {"part of a header, then silence", PAGE, "HTTP/1.0 200 OK\r\n", STREAM_TIMED_OUT, "1 0 Request Timed Out"},
    {"reset before a byte", PAGE, "", 10054, "1 0 Receive Timed Out"},
    {"reset after a byte", PAGE, "H", 10054, "1 10054 Error During Receive"},
    {"known error after a byte", PAGE, "H", 10061, "1 0 Connection Refused"},
    {"secure layer fails", PAGE, "", -77, "18 -77 Secure Connection Failed"},
    {"tunnel refused", TUNNEL, "HTTP/1.1 403 Forbidden\r\n\r\n", 0, "20 403 Proxy Tunnel Refused"},
    {"proxy closes at once", TUNNEL, "", 0, "20 0 Proxy Tunnel Refused"},
    {"proxy silent", TUNNEL, "", STREAM_TIMED_OUT, "1 0 Receive Timed Out"},
    // Location, for a 302 or 301
    {"parent", PAGE, "HTTP/1.0 302 Found\r\nLocation: ../a.html\r\n\r\n", 0, "follow h/d1/a.html"},
    {"dot also goes up", PAGE, "HTTP/1.0 301 Moved\r\nLocation: ./a.html\r\n\r\n", 0, "follow h/d1/a.html"},
    {"subdirectory", PAGE, "HTTP/1.0 302 Found\r\nLocation: sub/x.html\r\n\r\n", 0, "follow h/d1/d2/sub/x.html"},
    {"rooted", PAGE, "HTTP/1.0 302 Found\r\nLocation: /abs\r\n\r\n", 0, "follow h/abs"},
    {"absolute", PAGE, "HTTP/1.0 302 Found\r\nlocation: http://other/x\r\n\r\n", 0, "follow http://other/x"},
    {"absolute https", PAGE, "HTTP/1.0 302 Found\r\nLocation: https://s/x\r\n\r\n", 0, "follow https://s/x"},
    {"absolute anywhere in the value", "http://h/d1/p", "HTTP/1.0 302 Found\r\nLocation: see http://o/x\r\n\r\n", 0,
     "follow see http://o/x"},
    {"file at the root", "http://h/p.html", "HTTP/1.0 302 Found\r\nLocation: x.html\r\n\r\n", 0, "follow h/x.html"},
    {"directory page", "http://h/d1/", "HTTP/1.0 302 Found\r\nLocation: x.html\r\n\r\n", 0, "follow h/d1/x.html"},
    {"no path", "http://h", "HTTP/1.0 302 Found\r\nLocation: x.html\r\n\r\n", 0, "follow h/x.html"},
    {"port dropped", "http://h:8080/d1/d2/p.html", "HTTP/1.0 302 Found\r\nLocation: ../a.html\r\n\r\n", 0,
     "follow h/d1/a.html"},
    {"above the root", "http://h/d1/p.html", "HTTP/1.0 302 Found\r\nLocation: ../../a.html\r\n\r\n", 0, "follow h/a.html"},
    {"https page keeps scheme and port", "https://h:8443/d1/p.html", "HTTP/1.0 302 Found\r\nLocation: x.html\r\n\r\n",
     0, "follow https://h:8443/d1/x.html"},
    {"byte after the colon not examined", "http://h/d1/p.html", "HTTP/1.0 302 Found\r\nLocation:/x\r\n\r\n", 0,
     "follow h/d1/x"},
    {"value ends at LF", "http://h/", "HTTP/1.0 302 Found\r\nLocation: /a\nB: c\r\n\r\n", 0, "follow h/a"},
    {"first occurrence wins", "http://h/", "HTTP/1.0 302 Found\r\nLocation: x\r\nlocation: /y\r\n\r\n", 0,
     "follow h/x"},
    {"mismatch is not a new start", "http://h/d/p", "HTTP/1.0 302 Found\r\nLLocation: /y\r\nLocation: q\r\n\r\n", 0,
     "follow h/d/q"},
    {"colon at the end of the header", PAGE, "HTTP/1.0 302 Found\r\nLocation:", 0, "follow h/d1/d2/"},
};

TEST(Exchange, OutcomesByAnswer)
{
    for (const AnswerCase &c : answerCases) {
        for (size_t chunk : {1, 1023}) {
            SCOPED_TRACE(std::string(c.label) + ", chunks of " + std::to_string(chunk));
            Exchanged x(c.url, c.incoming, false, c.url == TUNNEL ? "proxy" : nullptr);
            x.stream.chunk = chunk;
            x.stream.then = c.end;
            EXPECT_EQ(x.Run(), c.outcome);
        }
    }
}

TEST(Exchange, ReceiveStopsAtTheHeaderOrTheLimit)
{
    Exchanged body(PAGE, "HTTP/1.0 200 OK\r\n\r\n" + std::string(100000, 'x'));
    EXPECT_EQ(body.Run(), "0 0 ");
    EXPECT_LT(body.stream.at, 2000u);
    Exchanged header(PAGE, "HTTP/1.0 200 OK\r\nX-Long: " + std::string(100000, 'x'));
    EXPECT_EQ(header.Run(), "0 0 ");
    EXPECT_EQ(header.stream.at, static_cast<size_t>(RESPONSE_LIMIT));
}

const std::string USER_AGENT = "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt; KVR Agent;)\r\n";
const std::string REQUEST_LINES =
    "Accept: image/gif, image/x-bitmap, image/jpeg, image/pjpeg, application/vnd.ms-powerpoint, "
    "application/vnd.ms-excel, application/msword, application/x-comet, */*\r\n"
    "Accept-Language: en\r\nAccept-Encoding: gzip, deflate\r\nCache-Control: no-cache\r\n"
    "Proxy-Connection: Keep-Alive\r\n" + USER_AGENT;

TEST(Exchange, RequestIsSentByteForByte)
{
    const struct {
        const char *url;
        bool head;
        const char *proxy;
        std::string request;
    } cases[] = {
        {"http://h:81/a/b?x#frag", true, nullptr, "HEAD /a/b?x#frag HTTP/1.0\r\n" + REQUEST_LINES + "Host: h\r\n\r\n"},
        {"h:81/x", false, "proxy", "GET http://h:81/x HTTP/1.0\r\n" + REQUEST_LINES + "Host: h\r\n\r\n"},
        {TUNNEL, true, "proxy", "CONNECT Host.example:8443 HTTP/1.0\r\nHost: Host.example:8443\r\n" + USER_AGENT +
                                    "\r\nHEAD /x HTTP/1.0\r\n" + REQUEST_LINES + "Host: Host.example\r\n\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url);
        Exchanged x(c.url, "HTTP/1.0 200 OK\r\n\r\n", c.head, c.proxy);
        x.Run();
        EXPECT_EQ(x.stream.sent, c.request);
    }
    Exchanged refused(PAGE, "");
    refused.stream.sendFailure = 10053;
    EXPECT_EQ(refused.Run(), "1 10053 Socket Send Failed");
    EXPECT_EQ(refused.stream.sent, "");
}

TEST(VerifyOptions, ProxyPortAndTimeOuts)
{
    const struct {
        const char *proxy;
        int port, seconds, useProxy, serverPort, milliseconds;
    } cases[] = {{"p", 0, 0, 1, 8080, 90000}, {"p", -3, 5, 1, 8080, 5000}, {"p", 3128, 100000, 1, 3128, 86400000},
                 {"", 3128, -1, 0, 80, 90000}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.port);
        CTreskTrans trans;
        ApplyVerifyOptions(trans, c.proxy, c.port, 1, c.seconds, c.seconds);
        EXPECT_EQ(trans.m_useProxy, c.useProxy);
        EXPECT_EQ(trans.m_serverPort, c.serverPort);
        EXPECT_EQ(trans.m_sendTimeout, c.milliseconds);
        EXPECT_EQ(trans.m_recvTimeout, c.milliseconds);
        EXPECT_EQ(trans.m_useHead, 1);
    }
}

}  // namespace
