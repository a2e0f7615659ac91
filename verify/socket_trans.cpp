// CSocketTrans: the URL split, one TCP connection (through a proxy's tunnel and TLS for https), the request and
// the bounded receive.
#include "verify/http_trans.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "base/ascii_case.h"
#include "base/trace.h"
#include "verify/status_texts.h"
#include "verify/tls_stream.h"

std::int32_t g_transCount = 0;

// Workers construct and destroy transactions at the same time; the lock keeps every start-up of
// Windows Sockets paired with exactly one clean-up.
static std::mutex transCountLock;

const char USER_AGENT_LINE[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows NT; DigExt; KVR Agent;)\r\n";

CSocketTrans::CSocketTrans()
{
    m_socket = NO_SOCKET;
    std::memset(&m_localAddr, 0, sizeof m_localAddr);
    m_localAddr.family = 2;  // AF_INET, any address, port 0
    std::memset(&m_serverAddr, 0, sizeof m_serverAddr);
    m_serverAddr.family = 2;
    m_serverName[0] = '\0';
    m_requestURI[0] = '\0';
    m_serverAddrText[0] = '\0';
    std::memset(&m_wsaData, 0, sizeof m_wsaData);
    m_response = nullptr;
    m_responseLength = 0;
    m_scheme = m_host = m_portText = m_path = nullptr;
    m_port = -1;
    m_urlCopy[0] = '\0';
    m_recvTimeout = 90000;
    m_sendTimeout = 90000;
    m_serverPort = 80;
    m_useProxy = 0;
    m_errorCode = 0;
    m_errorDetail = 0;
    m_errorText[0] = '\0';
    m_useHead = 0;
    m_location[0] = '\0';
    m_followLocation = false;
    m_deadline = 0;
    m_secure = 0;
    m_stream = nullptr;
    Initialize();

    std::lock_guard<std::mutex> hold(transCountLock);
    if (g_transCount == 0) {
        static const unsigned short versions[] = {0x0002, 0x0101, 0x0001};
        for (unsigned short version : versions) {
            if (StartSockets(version, &m_wsaData) == 0)
                break;
            StopSockets();
        }
    }
    g_transCount++;
}

CSocketTrans::~CSocketTrans()
{
    CloseConnection();
    ReleaseResponse();
    std::lock_guard<std::mutex> hold(transCountLock);
    if (--g_transCount == 0)
        StopSockets();
}

bool CSocketTrans::Initialize()
{
    return true;
}

void CSocketTrans::OnError()
{
    ReleaseResponse();
}

void CSocketTrans::OnReceiveComplete()
{
    ReleaseResponse();
}

void CSocketTrans::SetError(int code, int detail, const char *text)
{
    m_errorCode = code;
    m_errorDetail = detail;
    std::snprintf(m_errorText, sizeof m_errorText, "%s", text);
    OnError();
}

void CSocketTrans::ReleaseResponse()
{
    if (m_response) {
        FreeResponseBlock(m_response);
        m_response = nullptr;
        m_responseLength = 0;
    }
}

void CSocketTrans::SetServerName(const char *name)
{
    std::snprintf(m_serverName, sizeof m_serverName, "%s", name);
}

bool CSocketTrans::ReportWinsockError(int error)
{
    const char *text = WinsockErrorText(error);
    if (!text)
        return false;
    SetError(TRANS_SOCKET_ERROR, 0, text);
    return true;
}

void CSocketTrans::CloseConnection()
{
    m_stream = nullptr;
    m_secureStream.reset();
    if (m_socket != NO_SOCKET) {
        CloseSocket(m_socket);
        m_socket = NO_SOCKET;
    }
}

// Closes the connection and reports why the stream failed: the secure layer's own failure, or a Winsock
// error with the given text.
void CSocketTrans::FailStream(const char *text)
{
    int error = m_stream->error;
    bool secure = m_stream->secureFailure;
    CloseConnection();
    if (secure)
        SetError(TRANS_SECURE_FAILED, error, SecureOutcomeText(TRANS_SECURE_FAILED));
    else
        SetError(TRANS_SOCKET_ERROR, error, text);
}

int CSocketTrans::SendText(const char *text)
{
    int result = m_stream->Send(text, static_cast<int>(std::strlen(text)));
    if (result < 0)
        FailStream("Socket Send Failed");
    return result;
}

// One check, redirects included, must end by the send plus the receive time-out. Redirects are followed
// here in a loop rather than from inside the HTTP layer, so a long chain never deepens the stack.
void CSocketTrans::Request(const char *url)
{
    m_deadline = NowMilliseconds() + static_cast<std::int64_t>(m_sendTimeout) + m_recvTimeout;
    m_followLocation = false;
    RequestOnce(url);
    for (int redirects = 1; m_followLocation; redirects++) {
        m_followLocation = false;
        if (redirects > MAX_REDIRECTS) {
            SetError(TRANS_TOO_MANY_REDIRECTS, 0, "Too Many Redirects");
            break;
        }
        RequestOnce(m_location);
    }
}

void CSocketTrans::RequestOnce(const char *url)
{
    ReleaseResponse();
    if (!PrepareTarget(url) || !Connect())
        return;
    if (m_secure && ((m_useProxy && !OpenTunnel()) || !StartSecure()))
        return;
    Exchange();
}

// The scheme decides the protocol: https (in any case) goes over TLS, every other scheme is requested as HTTP.
// Splits m_urlCopy in place: scheme "://" host ":" port "/" path. The character after "://" and after the
// host's colon is never examined, and the text after the first slash is the path whatever it holds.
bool CSocketTrans::SplitURL()
{
    char *copy = m_urlCopy;
    int start = 0;
    bool metSlash = false;
    for (int i = 0;; i++) {
        char c = copy[i];
        if (c == ':') {
            copy[i] = '\0';
            if (copy[i + 1] == '/') {
                if (copy[i + 2] != '/') {
                    SetError(TRANS_NO_PROTOCOL, 0, "Could Not Determine Protocol");
                    return false;
                }
                m_scheme = copy + start;
                start = i + 3;
            } else if (!m_host) {
                m_host = copy + start;
                start = i + 1;
            } else {
                continue;
            }
            if (copy[start] == '\0')
                break;  // the unexamined character is the end of the URL
            i = start;
        } else if (c == '/') {
            copy[i] = '\0';
            if (!m_host)
                m_host = copy + start;
            else
                m_portText = copy + start;
            start = i + 1;
            metSlash = true;
            break;
        } else if (c == '\0') {
            break;
        }
    }
    if (!m_host) {
        m_host = copy + start;
    } else {
        if (!metSlash && !m_portText)
            m_portText = copy + start;
        if (metSlash && !m_path)
            m_path = copy + start;
    }
    return true;
}

bool CSocketTrans::PrepareTarget(const char *url)
{
    m_scheme = m_host = m_portText = m_path = nullptr;
    m_port = -1;
    m_secure = 0;
    if (!url || !*url) {
        SetError(TRANS_EMPTY_URL, 0, "Empty URL");
        return false;
    }
    std::size_t length = strnlen(url, URL_CAPACITY);
    if (length >= URL_CAPACITY) {
        SetError(TRANS_URL_TOO_LONG, 0, "URL Too Long");
        return false;
    }
    std::memmove(m_urlCopy, url, length + 1);  // the URL may be m_urlCopy itself
    if (!SplitURL())
        return false;
    if (!*m_host) {
        SetError(TRANS_BAD_HOST, 0, "Bad Host In URL");
        return false;
    }
    m_secure = m_scheme && CompareNoCase(m_scheme, "https") == 0;
    if (!m_portText) {
        m_port = m_secure ? 443 : 80;
    } else {
        long port = std::strtol(m_portText, nullptr, 10);
        if (!*m_portText || port < 0 || port > 65535) {
            SetError(TRANS_BAD_PORT, 0, "Bad Port In URL");
            return false;
        }
        m_port = static_cast<std::int32_t>(port);
    }

    if (!m_useProxy) {
        // A host name has at most 255 characters; a longer one is refused rather than cut.
        std::size_t hostLength = std::strlen(m_host);
        if (hostLength >= sizeof m_serverName) {
            SetError(TRANS_BAD_HOST, 0, "Host Name Too Long");
            return false;
        }
        std::snprintf(m_requestURI, sizeof m_requestURI, "/%s", m_path ? m_path : "");
        std::memcpy(m_serverName, m_host, hostLength + 1);
        // a dotted address has at most 15 characters; a longer host has no dotted form to fall back on
        if (hostLength < sizeof m_serverAddrText)
            std::memcpy(m_serverAddrText, m_host, hostLength + 1);
        else
            m_serverAddrText[0] = '\0';
        m_serverPort = m_port;
        return true;
    }
    if (!*m_serverName) {
        SetError(TRANS_NO_PROXY, 0, "Proxy Not Specified");
        return false;
    }
    if (m_serverPort < 0 || m_serverPort > 65535) {
        SetError(TRANS_BAD_PORT, 0, "Bad Proxy Port");
        return false;
    }
    if (m_secure) {
        // inside the tunnel the request goes to the server itself
        std::snprintf(m_requestURI, sizeof m_requestURI, "/%s", m_path ? m_path : "");
        return true;
    }
    const char *format = (!m_scheme || !*m_scheme) ? "http://%s" : "%s";
    int written = std::snprintf(m_requestURI, sizeof m_requestURI, format, url);
    if (written < 0 || written >= static_cast<int>(sizeof m_requestURI)) {
        SetError(TRANS_URL_TOO_LONG, 0, "URL Too Long");
        return false;
    }
    return true;
}

int CSocketTrans::RemainingTime() const
{
    return MillisecondsUntil(m_deadline);
}

static int Smaller(int a, int b)
{
    return a < b ? a : b;
}

// Opens the TCP connection to the server (or the proxy); false after SetError.
bool CSocketTrans::Connect()
{
    m_socket = OpenTcpSocket();
    if (m_socket == NO_SOCKET) {
        SetError(TRANS_SOCKET_ERROR, -1, "Invalid Socket");
        return false;
    }
    auto fail = [this](const char *text) {
        int error = LastSocketError();
        CloseConnection();
        SetError(TRANS_SOCKET_ERROR, error, text);
        return false;
    };
    // Linger on with time 0: closing resets the connection at once instead of lingering in TIME_WAIT.
    if (SetLingerReset(m_socket) != 0)
        return fail("Error In setsockopt(SO_LINGER)");
    if (SetReceiveTimeout(m_socket, m_recvTimeout) != 0)
        return fail("Error In setsockopt(SO_RCVTIMEO)");
    if (SetSendTimeout(m_socket, m_sendTimeout) != 0)
        return fail("Error In setsockopt(SO_SNDTIMEO)");
    if (BindSocket(m_socket, m_localAddr) != 0)
        return fail("Could Not Bind Socket");

    std::uint32_t address = 0;
    if (!(*m_serverName && ResolveHostName(m_serverName, &address))
        && !(*m_serverAddrText && ParseDottedAddress(m_serverAddrText, &address))) {
        CloseConnection();
        SetError(TRANS_BAD_HOST, 0, "Host Not Found");
        return false;
    }
    m_serverAddr.family = 2;
    m_serverAddr.address = address;
    m_serverAddr.port = PortToNetwork(m_serverPort);

    if (WaitReadable(m_socket, 0) < 0)
        return fail("Socket Select Failed");
    if (ConnectWithin(m_socket, m_serverAddr, Smaller(m_sendTimeout, RemainingTime())) != 0) {
        int error = LastSocketError();
        CloseConnection();
        if (!ReportWinsockError(error))
            SetError(TRANS_SOCKET_ERROR, error, "Socket Connect Failed");
        return false;
    }
    m_plainStream = PlainStream(m_socket);
    m_stream = &m_plainStream;
    return true;
}

// CONNECT names the URL's host as written, so the proxy resolves it; any answer but 200 refuses the tunnel.
bool CSocketTrans::OpenTunnel()
{
    char request[2 * 256 + 64 + sizeof USER_AGENT_LINE];
    std::snprintf(request, sizeof request, "CONNECT %s:%d HTTP/1.0\r\nHost: %s:%d\r\n%s\r\n", m_host, m_port, m_host,
                  m_port, USER_AGENT_LINE);
    if (SendText(request) == -1 || !ReceiveHeader())
        return false;
    int status = ReadStatusCode(m_response, m_responseLength);
    ReleaseResponse();
    if (status == 200)
        return true;
    CloseConnection();
    SetError(TRANS_TUNNEL_REFUSED, status, SecureOutcomeText(TRANS_TUNNEL_REFUSED));
    return false;
}

// The handshake gets what is left of the receive time-out and of the check's deadline, whichever is less.
bool CSocketTrans::StartSecure()
{
    int detail = 0;
    SecureResult result = StartSecureStream(m_socket, m_host, Smaller(m_recvTimeout, RemainingTime()), &m_secureStream,
                                            &detail);
    if (result == SECURE_OK) {
        m_stream = m_secureStream.get();
        return true;
    }
    static const int codes[] = {0, TRANS_CERT_UNTRUSTED, TRANS_CERT_EXPIRED, TRANS_CERT_NAME_MISMATCH,
                                TRANS_SECURE_FAILED, TRANS_SECURE_TIMED_OUT};
    CloseConnection();
    SetError(codes[result], detail, SecureOutcomeText(codes[result]));
    return false;
}

void CSocketTrans::Exchange()
{
    const char *pieces[] = {
        m_useHead ? "HEAD " : "GET ",
        m_requestURI,
        " HTTP/1.0\r\n",
        "Accept: image/gif, image/x-bitmap, image/jpeg, image/pjpeg, application/vnd.ms-powerpoint, "
        "application/vnd.ms-excel, application/msword, application/x-comet, */*\r\n",
        "Accept-Language: en\r\n",
        "Accept-Encoding: gzip, deflate\r\n",
        "Cache-Control: no-cache\r\n",
        "Proxy-Connection: Keep-Alive\r\n",
        USER_AGENT_LINE,
        "Host: ",
        m_host,
        "\r\n",
        "\r\n",
    };
    for (const char *piece : pieces)
        if (SendText(piece) == -1)
            return;
    if (!ReceiveHeader())
        return;
    CloseConnection();
    OnReceiveComplete();
}

static bool HeaderComplete(const char *block, std::uint32_t from, std::uint32_t length)
{
    for (std::uint32_t i = from; i + 4 <= length; i++)
        if (std::memcmp(block + i, "\r\n\r\n", 4) == 0)
            return true;
    return false;
}

// Receives into m_response until the server closes, the header is complete or RESPONSE_LIMIT bytes arrived:
// the HTTP layer reads only the status line and Location, so an endless body or a kept-alive connection cannot
// hold a check. Each wait is bounded by the receive time-out and by what is left of the check's deadline.
// False after SetError.
bool CSocketTrans::ReceiveHeader()
{
    char chunk[1023];
    char *block = nullptr;
    std::uint32_t length = 0;
    for (;;) {
        int room = Smaller(static_cast<int>(sizeof chunk), RESPONSE_LIMIT - static_cast<int>(length));
        int n = m_stream->Receive(chunk, room, Smaller(m_recvTimeout, RemainingTime()));
        if (n < 0) {
            // what arrived goes with the outcome: SetError releases it
            m_response = block;
            m_responseLength = length;
            int error = m_stream->error;
            if (m_stream->secureFailure || (length > 0 && !WinsockErrorText(error))) {
                FailStream("Error During Receive");
            } else {
                CloseConnection();
                if (length == 0)
                    SetError(TRANS_SOCKET_ERROR, 0, "Receive Timed Out");
                else
                    ReportWinsockError(error);
            }
            return false;
        }
        if (n == 0)
            break;
        char *grown = AllocResponseBlock(length + n);
        if (!grown) {
            int error = LastSystemError();
            if (block)
                FreeResponseBlock(block);
            CloseConnection();
            SetError(TRANS_SOCKET_ERROR, error, "Memory Allocation Failed");
            return false;
        }
        if (block) {
            std::memcpy(grown, block, length);
            FreeResponseBlock(block);
        }
        std::memcpy(grown + length, chunk, n);
        block = grown;
        std::uint32_t searchFrom = length > 3 ? length - 3 : 0;
        length += n;
        if (length >= RESPONSE_LIMIT || HeaderComplete(block, searchFrom, length))
            break;
    }
    m_response = block;
    m_responseLength = length;
    return true;
}
