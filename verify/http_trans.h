// The HTTP transaction classes that check one URL: socket layer, HTTP layer and the verifier's hooks.
#pragma once

#include <cstdint>
#include <memory>

#include "verify/byte_stream.h"

const int URL_CAPACITY = 1026;        // 1025 characters and the NUL
const int TEXT_CAPACITY = 256;
const int MAX_REDIRECTS = 10;
const int RESPONSE_LIMIT = 65536;     // the status line and Location live in the header; more is never read

// Outcome codes of a transaction; 0 is success.
enum {
    TRANS_SOCKET_ERROR = 1,
    TRANS_EMPTY_URL = 2,
    TRANS_URL_TOO_LONG = 3,
    TRANS_NO_PROXY = 5,
    TRANS_NO_PROTOCOL = 6,
    TRANS_BAD_HOST = 7,
    TRANS_BAD_PORT = 8,
    TRANS_UNKNOWN = 9,
    TRANS_HTTP_EXTENSION = 10,
    TRANS_HTTP_ERROR = 11,
    TRANS_NO_HEADER = 12,
    TRANS_NO_LOCATION = 13,
    TRANS_TOO_MANY_REDIRECTS = 14,
    // an https URL's secure connection (texts in status_texts.cpp)
    TRANS_CERT_UNTRUSTED = 15,
    TRANS_CERT_EXPIRED = 16,
    TRANS_CERT_NAME_MISMATCH = 17,
    TRANS_SECURE_FAILED = 18,
    TRANS_SECURE_TIMED_OUT = 19,
    TRANS_TUNNEL_REFUSED = 20,
};

// Live transactions; the first starts Windows Sockets and the last cleans it up.
extern std::int32_t g_transCount;

class CSocketTrans {
public:
    CSocketTrans();
    virtual void OnError();
    virtual void OnReceiveComplete();
    virtual void SetError(int code, int detail, const char *text);
    virtual ~CSocketTrans();
    virtual bool Initialize();

    void Request(const char *url);
    int SendText(const char *text);
    void ReleaseResponse();
    void SetServerName(const char *name);
    bool ReportWinsockError(int error);
    // Steps before the connection: the length checks, the split and the request target. False after SetError.
    bool PrepareTarget(const char *url);
    bool SplitURL();
    // Over m_stream: asks the proxy for a tunnel to the URL's host and port (false after SetError), and the
    // request with its answer, handed to OnReceiveComplete.
    bool OpenTunnel();
    void Exchange();
    // Ends the connection: the secure layer, then the socket.
    void CloseConnection();

    SocketHandle m_socket;
    Ipv4Address m_localAddr;
    Ipv4Address m_serverAddr;
    char m_serverName[256];
    char m_requestURI[1025];
    char m_serverAddrText[17];
    SocketStartupData m_wsaData;
    char *m_response;
    std::uint32_t m_responseLength;
    char *m_scheme;
    char *m_host;
    char *m_portText;
    std::int32_t m_port;
    char *m_path;
    char m_urlCopy[URL_CAPACITY];
    std::int32_t m_recvTimeout;
    std::int32_t m_sendTimeout;
    std::int32_t m_serverPort;
    std::int32_t m_useProxy;
    std::int32_t m_errorCode;
    std::int32_t m_errorDetail;
    char m_errorText[TEXT_CAPACITY];
    std::int32_t m_useHead;
    char m_location[URL_CAPACITY];

    // Set by the HTTP layer when m_location is to be requested next; Request follows it in its loop.
    bool m_followLocation;
    // The whole check, redirects included, ends by this steady-clock time in milliseconds (0: not started).
    std::int64_t m_deadline;
    // The URL's scheme is https: the request goes over TLS, by default to port 443.
    std::int32_t m_secure;
    // The stream of the connection in use: the socket itself or TLS around it; null between connections.
    ByteStream *m_stream;

private:
    void RequestOnce(const char *url);
    bool Connect();
    bool StartSecure();
    bool ReceiveHeader();
    void FailStream(const char *text);
    int RemainingTime() const;

    PlainStream m_plainStream;
    std::unique_ptr<ByteStream> m_secureStream;
};

class CHTTPTrans : public CSocketTrans {
public:
    CHTTPTrans();
    void OnError() override;
    void OnReceiveComplete() override;
    virtual void OnSuccess();
    virtual void OnHTTPError();
    virtual void OnFatalError();

    int ParseResponse();
    bool FindLocation();

    const char *m_header;
    std::uint32_t m_headerLength;
    const char *m_body;
    std::uint32_t m_bodyLength;
    // FindLocation met a Location whose URL would not fit m_location.
    bool m_locationTooLong;
};

class CTreskTrans : public CHTTPTrans {
public:
    void OnHTTPError() override;
    void OnFatalError() override;
};

// The status code at positions 9 to 11 of a response ("HTTP/1.0 200 OK"), read up to the first non-digit and never
// past the end; 0 when there is none.
int ReadStatusCode(const char *response, std::uint32_t length);

// Index of the last '/' among the first length characters, or -1.
int FindLastSlash(const char *text, int length);

// The settings of a VerifyURL call on its transaction: proxy (default port 8080), method and time-outs.
void ApplyVerifyOptions(CSocketTrans &trans, const char *proxyName, int proxyPort, int useHead, int sendTimeout,
                        int recvTimeout);

// Checks one URL; 1 on success, else 0 with the outcome in code, detail and text (256 bytes).
int VerifyURL(const char *url, const char *proxyName, int proxyPort, int useHead, int sendTimeout, int recvTimeout,
              int *code, int *detail, char *text);
