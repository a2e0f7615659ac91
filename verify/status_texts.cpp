// The HTTP status table and the Winsock error texts that outcomes are worded with.
#include "verify/status_texts.h"

#include "verify/http_trans.h"

// The status texts of HTTP/1.1, except that 404 reads "Object Not Found".
const StatusRecord statusTable[] = {
    {10, 100, "Continue"},
    {10, 101, "Switching Protocols"},
    {0, 200, "OK"},
    {10, 201, "Created"},
    {10, 202, "Accepted"},
    {10, 203, "Non-Authoritative Information"},
    {10, 204, "No Content"},
    {10, 205, "Reset Content"},
    {10, 206, "Partial Content"},
    {10, 300, "Multiple Choices"},
    {0, 301, "Moved Permanently"},
    {0, 302, "Moved Temporarily"},
    {10, 303, "See Other"},
    {10, 304, "Not Modified"},
    {10, 305, "Use Proxy"},
    {11, 400, "Bad Request"},
    {11, 401, "Unauthorized"},
    {11, 402, "Payment Required"},
    {11, 403, "Forbidden"},
    {11, 404, "Object Not Found"},
    {11, 405, "Method Not Allowed"},
    {11, 406, "Not Acceptable"},
    {11, 407, "Proxy Authentication Required"},
    {11, 408, "Request Time-out"},
    {11, 409, "Conflict"},
    {11, 410, "Gone"},
    {11, 411, "Length Required"},
    {11, 412, "Precondition Failed"},
    {11, 413, "Request Entity Too Large"},
    {11, 414, "Request-URI Too Large"},
    {11, 415, "Unsupported Media Type"},
    {11, 500, "Internal Server Error"},
    {11, 501, "Not Implemented"},
    {11, 502, "Bad Gateway"},
    {11, 503, "Service Unavailable"},
    {11, 504, "Gateway Time-out"},
    {11, 505, "HTTP Version not supported"},
    {11, 0, "Extension Code"},
    {0, 0, nullptr},
};

const StatusRecord *FindStatus(int status)
{
    for (const StatusRecord *record = statusTable; record->text; record++)
        if (record->status == status)
            return record;
    return nullptr;
}

struct WinsockErrorRecord {
    int error;
    const char *text;
};

static const WinsockErrorRecord winsockErrors[] = {
    {10043, "Protocol Not Supported"},   // WSAEPROTONOSUPPORT
    {10045, "Operation Not Supported"},  // WSAEOPNOTSUPP
    {10050, "Network Down"},             // WSAENETDOWN
    {10051, "Network Unreachable"},      // WSAENETUNREACH
    {10060, "Request Timed Out"},        // WSAETIMEDOUT
    {10061, "Connection Refused"},       // WSAECONNREFUSED
    {10063, "Host Name Too Long"},       // WSAENAMETOOLONG
    {10064, "Host Down"},                // WSAEHOSTDOWN
    {10065, "Host Unreachable"},         // WSAEHOSTUNREACH
    {10101, "Disconnected"},             // WSAEDISCON
};

const char *WinsockErrorText(int error)
{
    for (const WinsockErrorRecord &record : winsockErrors)
        if (record.error == error)
            return record.text;
    return nullptr;
}

struct SecureOutcomeRecord {
    int code;
    const char *text;
};

// The same texts in both builds; the detail is 0 but for a failed connection (the platform's number) and a
// refused tunnel (the proxy's status code).
static const SecureOutcomeRecord secureOutcomes[] = {
    {TRANS_CERT_UNTRUSTED, "Certificate Not Trusted"},
    {TRANS_CERT_EXPIRED, "Certificate Expired"},
    {TRANS_CERT_NAME_MISMATCH, "Certificate Name Mismatch"},
    {TRANS_SECURE_FAILED, "Secure Connection Failed"},
    {TRANS_SECURE_TIMED_OUT, "Secure Connection Timed Out"},
    {TRANS_TUNNEL_REFUSED, "Proxy Tunnel Refused"},
};

const char *SecureOutcomeText(int code)
{
    for (const SecureOutcomeRecord &record : secureOutcomes)
        if (record.code == code)
            return record.text;
    return nullptr;
}
