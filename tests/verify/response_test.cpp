// The HTTP layer on responses handed to it as received: status line, status table, Location rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "verify/check_bookmark.h"
#include "verify/http_trans.h"
#include "verify/status_texts.h"

namespace {

// A transaction for http://h/d1/d2/p.html (or another URL) that has just received the given bytes.
struct Received {
    CTreskTrans trans;
    explicit Received(const std::string &response, const char *url = "http://h/d1/d2/p.html")
    {
        EXPECT_TRUE(trans.PrepareTarget(url));
        if (!response.empty()) {
            trans.m_response = AllocResponseBlock(response.size());
            std::memcpy(trans.m_response, response.data(), response.size());
            trans.m_responseLength = static_cast<std::uint32_t>(response.size());
        }
    }
};

struct ParseCase {
    const char *label;
    std::string response;
    int result;
    int code;
    int detail;
    const char *text;
};

const ParseCase parseCases[] = {
    {"200 with body", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\nhello", 1, 0, 0, ""},
    {"200 without body", "HTTP/1.0 200 OK\r\nServer: x\r\n\r\n", 1, 0, 0, ""},
    {"200 with no empty line", "HTTP/1.0 200 OK", 1, 0, 0, ""},
    {"reason phrase ignored", "HTTP/1.1 404 Not Found\r\n\r\n", 2, 11, 404, "Object Not Found"},
    {"204", "HTTP/1.0 204 No Content\r\n\r\n", 2, 10, 204, "No Content"},
    {"206 has its own text", "HTTP/1.0 206 Partial\r\n\r\n", 2, 10, 206, "Partial Content"},
    {"304", "HTTP/1.0 304 Not Modified\r\n\r\n", 2, 10, 304, "Not Modified"},
    {"307 not in the table", "HTTP/1.0 307 Temporary Redirect\r\nLocation: http://x/\r\n\r\n", 2, 10, 307,
     "Unsupported HTTP Extension"},
    {"999 not in the table", "HTTP/1.0 999 What\r\n\r\n", 2, 10, 999, "Unsupported HTTP Extension"},
    {"500", "HTTP/1.0 500 Oops\r\n\r\n", 2, 11, 500, "Internal Server Error"},
    {"505", "HTTP/1.0 505 x\r\n\r\n", 2, 11, 505, "HTTP Version not supported"},
    {"100", "HTTP/1.1 100 Continue\r\n\r\n", 2, 10, 100, "Continue"},
    {"status below 100", "HTTP/1.0 099 x\r\n\r\n", 3, 0, 0, ""},
    {"two digits then end", "HTTP/1.0 20", 3, 0, 0, ""},
    {"shorter than a status line", "HTTP/1.0", 3, 0, 0, ""},
    {"non-digit at 9", "HTTP/1.0 x00 OK\r\n\r\n", 3, 0, 0, ""},
    {"not HTTP at all", "<html>hello there</html>", 3, 0, 0, ""},
    {"empty", "", 3, 0, 0, ""},
    {"302 without Location", "HTTP/1.0 302 Found\r\nServer: x\r\n\r\n", 2, 13, 0, "Redirected - No Location in Header"},
    {"302 with LOCATION:", "HTTP/1.0 302 Found\r\nLOCATION: http://x/\r\n\r\n", 2, 13, 0,
     "Redirected - No Location in Header"},
    {"Location in the body only", "HTTP/1.0 302 Found\r\n\r\nLocation: http://x/", 2, 13, 0,
     "Redirected - No Location in Header"},
    {"301 with Location", "HTTP/1.0 301 Moved\r\nLocation: http://x/\r\n\r\n", 0, 0, 0, ""},
    {"302 with location", "HTTP/1.0 302 Found\r\nlocation: /y\r\n\r\n", 0, 0, 0, ""},
    {"Location too long", "HTTP/1.0 302 Found\r\nLocation: http://x/" + std::string(1100, 'a') + "\r\n\r\n", 2, 3, 0,
     "URL Too Long"},
};

TEST(ParseResponse, Table)
{
    for (const ParseCase &c : parseCases) {
        SCOPED_TRACE(c.label);
        Received r(c.response);
        EXPECT_EQ(r.trans.ParseResponse(), c.result);
        EXPECT_EQ(r.trans.m_errorCode, c.code);
        EXPECT_EQ(r.trans.m_errorDetail, c.detail);
        EXPECT_STREQ(r.trans.m_errorText, c.text);
    }
}

TEST(ParseResponse, SplitsHeaderAndBody)
{
    Received withBody("HTTP/1.0 200 OK\r\nA: b\r\n\r\nxyz");
    ASSERT_EQ(withBody.trans.ParseResponse(), 1);
    EXPECT_EQ(std::string(withBody.trans.m_header, withBody.trans.m_headerLength), "HTTP/1.0 200 OK\r\nA: b");
    EXPECT_EQ(std::string(withBody.trans.m_body, withBody.trans.m_bodyLength), "xyz");

    // an empty line at the very end is part of the header, as HEAD answers end
    Received headOnly("HTTP/1.0 200 OK\r\nA: b\r\n\r\n");
    ASSERT_EQ(headOnly.trans.ParseResponse(), 1);
    EXPECT_EQ(headOnly.trans.m_headerLength, headOnly.trans.m_responseLength);
    EXPECT_EQ(headOnly.trans.m_body, nullptr);
}

TEST(ParseResponse, OnReceiveCompleteOutcomes)
{
    Received empty("");
    empty.trans.OnReceiveComplete();
    EXPECT_EQ(empty.trans.m_errorCode, 12);
    EXPECT_STREQ(empty.trans.m_errorText, "Header Not Found");

    Received redirect("HTTP/1.0 302 Found\r\nLocation: http://other/x\r\n\r\n");
    redirect.trans.OnReceiveComplete();
    EXPECT_TRUE(redirect.trans.m_followLocation);
    EXPECT_EQ(redirect.trans.m_errorCode, 0);
    EXPECT_EQ(redirect.trans.m_response, nullptr);

    Received missing("HTTP/1.0 404 Nope\r\n\r\n");
    missing.trans.OnReceiveComplete();
    EXPECT_FALSE(missing.trans.m_followLocation);
    EXPECT_EQ(missing.trans.m_errorCode, 11);
    EXPECT_EQ(missing.trans.m_response, nullptr);
}

struct LocationCase {
    const char *label;
    const char *url;
    std::string value;  // what follows "Location:"
    const char *location;
};

const LocationCase locationCases[] = {
    {"parent", "http://h/d1/d2/p.html", " ../a.html", "h/d1/a.html"},
    {"dot also goes up", "http://h/d1/d2/p.html", " ./a.html", "h/d1/a.html"},
    {"subdirectory", "http://h/d1/d2/p.html", " sub/x.html", "h/d1/d2/sub/x.html"},
    {"rooted", "http://h/d1/d2/p.html", " /abs", "h/abs"},
    {"absolute", "http://h/d1/d2/p.html", " http://other/x", "http://other/x"},
    {"absolute anywhere in the value", "http://h/d1/p", " see http://other/x", "see http://other/x"},
    {"file at the root", "http://h/p.html", " x.html", "h/x.html"},
    {"no path", "http://h", " x.html", "h/x.html"},
    {"port dropped", "http://h:8080/d1/d2/p.html", " ../a.html", "h/d1/a.html"},
    {"above the root", "http://h/d1/p.html", " ../../a.html", "h/a.html"},
    {"https is relative", "http://h/d1/p.html", " https://s/x", "h/d1/https://s/x"},
    {"byte after the colon not examined", "http://h/d1/p.html", "/x", "h/d1/x"},
    {"value ends at LF", "http://h/", " /a\nB: c", "h/a"},
    {"first occurrence wins", "http://h/", " x\r\nlocation: /y", "h/x"},
};

TEST(FindLocation, WorkedExamples)
{
    for (const LocationCase &c : locationCases) {
        SCOPED_TRACE(c.label);
        Received r("HTTP/1.0 302 Found\r\nLocation:" + c.value + "\r\nServer: s\r\n\r\n", c.url);
        ASSERT_EQ(r.trans.ParseResponse(), 0);
        EXPECT_STREQ(r.trans.m_location, c.location);
    }
}

TEST(FindLocation, MismatchIsNotANewStart)
{
    // "LLocation:" holds "Location:" from its second byte, but the second L only ends the first match
    Received r("HTTP/1.0 302 Found\r\nLLocation: /y\r\nLocation: q\r\n\r\n", "http://h/d/p");
    ASSERT_EQ(r.trans.ParseResponse(), 0);
    EXPECT_STREQ(r.trans.m_location, "h/d/q");
}

TEST(FindLocation, ColonAtTheEndOfTheHeader)
{
    Received r("HTTP/1.0 302 Found\r\nLocation:");
    ASSERT_EQ(r.trans.ParseResponse(), 0);
    EXPECT_STREQ(r.trans.m_location, "h/d1/d2/");
}

TEST(FindLastSlash, Table)
{
    EXPECT_EQ(FindLastSlash("d1/d2/p.html", 12), 5);
    EXPECT_EQ(FindLastSlash("d1/d2/p.html", 5), 2);
    EXPECT_EQ(FindLastSlash("d1/d2/p.html", 2), -1);
    EXPECT_EQ(FindLastSlash("/", 1), 0);
    EXPECT_LT(FindLastSlash("/", 0), 0);
    EXPECT_LT(FindLastSlash("/", -3), 0);
}

TEST(WinsockErrors, KnownErrorsReportedWithDetailZero)
{
    const struct {
        int error;
        const char *text;
    } known[] = {{10043, "Protocol Not Supported"}, {10045, "Operation Not Supported"}, {10050, "Network Down"},
                 {10051, "Network Unreachable"},    {10060, "Request Timed Out"},      {10061, "Connection Refused"},
                 {10063, "Host Name Too Long"},     {10064, "Host Down"},              {10065, "Host Unreachable"},
                 {10101, "Disconnected"}};
    for (const auto &k : known) {
        SCOPED_TRACE(k.error);
        CTreskTrans trans;
        EXPECT_TRUE(trans.ReportWinsockError(k.error));
        EXPECT_EQ(trans.m_errorCode, 1);
        EXPECT_EQ(trans.m_errorDetail, 0);
        EXPECT_STREQ(trans.m_errorText, k.text);
    }
    for (int other : {10054, 10049, 0, -1}) {
        CTreskTrans trans;
        EXPECT_FALSE(trans.ReportWinsockError(other));
        EXPECT_EQ(trans.m_errorCode, 0);
    }
}

TEST(StatusTable, OnlyAcceptedStatusesAreFollowedOrPass)
{
    int accepted = 0;
    for (const StatusRecord *r = statusTable; r->text; r++)
        if (r->kind == STATUS_ACCEPTED)
            accepted++;
    EXPECT_EQ(accepted, 3);
    EXPECT_EQ(FindStatus(0), statusTable + 37);  // the "Extension Code" record; below 100 never reaches a search
    EXPECT_EQ(FindStatus(206)->kind, STATUS_NOT_ACCEPTED);
    EXPECT_STRNE(FindStatus(206)->text, FindStatus(205)->text);
}

TEST(FailureText, Formats)
{
    char status[STATUS_TEXT_CAPACITY];
    FormatFailureText(11, 404, "Object Not Found", status);
    EXPECT_STREQ(status, "404 - Object Not Found");
    FormatFailureText(10, 304, "Not Modified", status);
    EXPECT_STREQ(status, "Not Modified (304)");
    FormatFailureText(1, 10049, "Socket Connect Failed", status);
    EXPECT_STREQ(status, "Socket Connect Failed (10049)");
    FormatFailureText(7, 0, "Host Not Found", status);
    EXPECT_STREQ(status, "Host Not Found");
    FormatFailureText(1, -1, "Invalid Socket", status);
    EXPECT_STREQ(status, "Invalid Socket (-1)");
    std::string longText(300, 't');
    FormatFailureText(11, 500, longText.c_str(), status);
    EXPECT_EQ(std::strlen(status), STATUS_TEXT_CAPACITY - 1u);
}

TEST(CheckBookmark, IgnoredSchemesNeedNoConnection)
{
    const struct {
        const char *url;
        const char *status;
    } ignored[] = {{"ftp://h/x", "Ftp URL - Ignored"},      {"Ftp://h/x", "Ftp URL - Ignored"},
                   {"mailto:a@b", "MailTo URL - Ignored"},  {"MAILTO:a@b", "MailTo URL - Ignored"},
                   {"mailtoxyz", "MailTo URL - Ignored"},   {"https://h/", "Https URL - Ignored"},
                   {"HTTPS://h/", "Https URL - Ignored"}};
    for (const auto &i : ignored) {
        SCOPED_TRACE(i.url);
        char status[STATUS_TEXT_CAPACITY];
        EXPECT_FALSE(CheckBookmark(i.url, "", 0, 1, 1, status));
        EXPECT_STREQ(status, i.status);
    }
    char status[STATUS_TEXT_CAPACITY];
    EXPECT_FALSE(CheckBookmark("", "", 0, 1, 1, status));
    EXPECT_STREQ(status, "Empty URL");
    EXPECT_FALSE(CheckBookmark("http:/x", "", 0, 1, 1, status));
    EXPECT_STREQ(status, "Could Not Determine Protocol");
}

}  // namespace
