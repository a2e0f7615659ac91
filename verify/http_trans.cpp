// CHTTPTrans and CTreskTrans: the status line, the status table, Location and the verifier's trace hooks.
#include "verify/http_trans.h"

#include <cstdio>
#include <cstring>

#include "base/trace.h"
#include "verify/status_texts.h"

int ReadStatusCode(const char *response, std::uint32_t length)
{
    int status = 0;
    for (std::uint32_t i = 9; i < 12 && i < length && response[i] >= '0' && response[i] <= '9'; i++)
        status = status * 10 + (response[i] - '0');
    return status;
}

int FindLastSlash(const char *text, int length)
{
    for (int i = length - 1; i >= 0; i--)
        if (text[i] == '/')
            return i;
    return -1;
}

CHTTPTrans::CHTTPTrans()
    : m_header(nullptr), m_headerLength(0), m_body(nullptr), m_bodyLength(0), m_locationTooLong(false)
{
}

static void SetOutcome(CSocketTrans &trans, int code, int detail, const char *text)
{
    trans.m_errorCode = code;
    trans.m_errorDetail = detail;
    std::snprintf(trans.m_errorText, sizeof trans.m_errorText, "%s", text);
}

// The header and body pointers point into the response block, so they go with it.
static void ReleaseParsed(CHTTPTrans &trans)
{
    trans.ReleaseResponse();
    trans.m_header = trans.m_body = nullptr;
    trans.m_headerLength = trans.m_bodyLength = 0;
}

void CHTTPTrans::OnError()
{
    OnFatalError();
    ReleaseParsed(*this);
}

void CHTTPTrans::OnReceiveComplete()
{
    int result = ParseResponse();
    switch (result) {
    case 0:
        // Request follows m_location in its loop once this returns.
        ReleaseParsed(*this);
        m_followLocation = true;
        break;
    case 1:
        OnSuccess();
        ReleaseParsed(*this);
        break;
    case 2:
        OnHTTPError();
        ReleaseParsed(*this);
        break;
    case 3:
        SetOutcome(*this, TRANS_NO_HEADER, 0, "Header Not Found");
        OnFatalError();
        ReleaseParsed(*this);
        break;
    default: {
        char text[TEXT_CAPACITY];
        std::snprintf(text, sizeof text, "Unknown Error (%d)", result);
        SetOutcome(*this, TRANS_UNKNOWN, 0, text);
        OnFatalError();
        ReleaseParsed(*this);
        break;
    }
    }
}

void CHTTPTrans::OnSuccess()
{
}

void CHTTPTrans::OnHTTPError()
{
}

void CHTTPTrans::OnFatalError()
{
}

// 0: follow m_location, 1: success, 2: failure recorded, 3: no usable status line.
int CHTTPTrans::ParseResponse()
{
    m_header = m_body = nullptr;
    m_headerLength = m_bodyLength = 0;
    m_locationTooLong = false;
    if (!m_response || m_responseLength == 0)
        return 3;
    const char *r = m_response;
    std::uint32_t length = m_responseLength;
    m_header = r;
    m_headerLength = length;
    for (std::uint32_t i = 0; i + 4 < length; i++) {
        if (r[i] == '\r' && r[i + 1] == '\n' && r[i + 2] == '\r' && r[i + 3] == '\n') {
            m_headerLength = i;
            m_body = r + i + 4;
            m_bodyLength = length - i - 4;
            break;
        }
    }
    int status = ReadStatusCode(r, length);
    if (status < 100)
        return 3;
    const StatusRecord *record = FindStatus(status);
    if (!record) {
        SetOutcome(*this, TRANS_HTTP_EXTENSION, status, "Unsupported HTTP Extension");
        return 2;
    }
    if (record->kind != STATUS_ACCEPTED) {
        SetOutcome(*this, record->kind, status, record->text);
        return 2;
    }
    if (status == 200)
        return 1;
    if (!FindLocation()) {
        SetOutcome(*this, TRANS_NO_LOCATION, 0, "Redirected - No Location in Header");
        return 2;
    }
    if (m_locationTooLong) {
        SetOutcome(*this, TRANS_URL_TOO_LONG, 0, "URL Too Long");
        return 2;
    }
    return 0;
}

// Walks [from, end) matching the pattern; a mismatching byte restarts the match without being retried.
// Returns the position just past the match, or null.
static const char *MatchWalk(const char *from, const char *end, const char *upper, const char *lower)
{
    std::size_t size = std::strlen(upper);
    std::size_t k = 0;
    for (const char *p = from; p < end; p++) {
        k = (*p == upper[k] || *p == lower[k]) ? k + 1 : 0;
        if (k == size)
            return p + 1;
    }
    return nullptr;
}

// Appends to m_location, refusing (not cutting) what does not fit.
struct LocationBuilder {
    char *text;
    std::size_t length;
    bool tooLong;

    void Append(const char *from, std::size_t count)
    {
        if (tooLong || length + count >= URL_CAPACITY) {
            tooLong = true;
            return;
        }
        std::memcpy(text + length, from, count);
        length += count;
        text[length] = '\0';
    }
};

bool CHTTPTrans::FindLocation()
{
    m_locationTooLong = false;
    if (!m_header || m_headerLength == 0)
        return false;
    const char *end = m_header + m_headerLength;
    const char *name = MatchWalk(m_header, end, "Location:", "location:");
    if (!name)
        return false;
    // the byte after the colon, normally a blank, is skipped unexamined
    const char *value = name < end ? name + 1 : end;
    const char *lineEnd = value;
    while (lineEnd < end && *lineEnd != '\r')
        lineEnd++;
    const char *valueEnd = value;
    while (valueEnd < end && *valueEnd != '\r' && *valueEnd != '\n')
        valueEnd++;

    LocationBuilder out = {m_location, 0, false};
    m_location[0] = '\0';
    if (MatchWalk(value, lineEnd, "http://", "http://") || MatchWalk(value, lineEnd, "https://", "https://")) {
        out.Append(value, valueEnd - value);
    } else {
        // Relative to the current URL. An http page's goes to the same host with no scheme and no port, so to
        // port 80; an https page's stays on https at the same host and port.
        const char *path = m_path ? m_path : "";
        const char *host = m_host ? m_host : "";
        if (m_secure)
            out.Append("https://", 8);
        out.Append(host, std::strlen(host));
        if (m_secure && m_portText) {
            out.Append(":", 1);
            out.Append(m_portText, std::strlen(m_portText));
        }
        int d = FindLastSlash(path, static_cast<int>(std::strlen(path)));
        const char *v = value;
        bool rooted = v < valueEnd && *v == '/';
        if (rooted || d < 1) {
            if (!rooted)
                out.Append("/", 1);
        } else {
            // every leading dot segment ("./" as well as "../") goes one directory up
            while (v < valueEnd && *v == '.') {
                for (int i = 0; i < 3 && v < valueEnd && *v != '/'; i++)
                    v++;
                if (v < valueEnd)
                    v++;
                d = FindLastSlash(path, d);
            }
            if (d > 0) {
                out.Append("/", 1);
                out.Append(path, d);
            }
            if (!(v < valueEnd && *v == '/'))
                out.Append("/", 1);
        }
        out.Append(v, valueEnd - v);
    }
    if (out.tooLong) {
        m_location[0] = '\0';
        m_locationTooLong = true;
    }
    return true;
}

void CTreskTrans::OnHTTPError()
{
    Trace("CTreskTrans::OnHTTPError\n");
    Trace("HTTP Error: %d, %d, %s\n", m_errorCode, m_errorDetail, m_errorText);
}

void CTreskTrans::OnFatalError()
{
    Trace("CTreskTrans::OnFatalError\n");
    Trace("Fatal Error: %d, %d, %s\n", m_errorCode, m_errorDetail, m_errorText);
}
