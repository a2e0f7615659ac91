// TLS in the host build: OpenSSL 3 on the connected socket, trusting what OpenSSL's default verify paths hold
// (SSL_CERT_FILE and SSL_CERT_DIR are honoured there, so a test can trust an authority of its own).
#include "verify/tls_stream.h"

#include <cerrno>
#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

namespace {

// One context for the process: reading the trust store is the costly part, and threads may share it.
// The trust store is read once, at the first secure check.
SSL_CTX *SharedContext()
{
    static SSL_CTX *context = [] {
        SSL_CTX *c = SSL_CTX_new(TLS_client_method());
        if (c) {
            SSL_CTX_set_default_verify_paths(c);
            SSL_CTX_set_verify(c, SSL_VERIFY_PEER, nullptr);
            // many servers close without a close_notify once they have answered; that is an end, not a fault
            SSL_CTX_set_options(c, SSL_OP_IGNORE_UNEXPECTED_EOF);
        }
        return c;
    }();
    return context;
}

// Waits for the socket (events POLLIN or POLLOUT) until end: 1 ready, 0 timed out, -1 failed.
int WaitUntil(int fd, short events, std::int64_t end)
{
    pollfd one = {fd, events, 0};
    int n;
    do {
        n = poll(&one, 1, MillisecondsUntil(end));
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

// The number that describes a failed call: OpenSSL's own error code, else the socket's Winsock number, else
// ERROR_DISCONNECTED when the peer simply closed.
int FailureNumber(int sslError, int savedErrno)
{
    unsigned long code = ERR_peek_last_error();
    if (code != 0)
        return static_cast<int>(code);
    if (sslError == SSL_ERROR_SYSCALL && savedErrno != 0)
        return SocketErrorNumber(savedErrno);
    return ERROR_DISCONNECTED;
}

SecureResult CertificateProblem(long verifyResult)
{
    switch (verifyResult) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
        return SECURE_EXPIRED;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        return SECURE_NAME_MISMATCH;
    default:
        return SECURE_UNTRUSTED;
    }
}

// The socket stays non-blocking, so every wait is bounded by the caller's time, also inside a TLS record.
class OpenSslStream : public ByteStream {
public:
    OpenSslStream(SSL *session, int socket) : ssl(session), fd(socket)
    {
        // a send waits as long as the socket's own send time-out allows
        timeval tv = {};
        socklen_t size = sizeof tv;
        getsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, &size);
        sendMilliseconds = static_cast<int>(tv.tv_sec * 1000 + tv.tv_usec / 1000);
    }
    ~OpenSslStream() override { SSL_free(ssl); }

    SecureResult Handshake(int milliseconds, int *detail);
    int Send(const char *bytes, int length) override;
    int Receive(char *buffer, int length, int milliseconds) override;

private:
    // After SSL_ERROR_WANT_READ or _WRITE: 1 to try again, or STREAM_TIMED_OUT / STREAM_FAILED.
    int WaitFor(int sslError, std::int64_t end);
    int Failed(int result);

    SSL *ssl;
    int fd;
    int sendMilliseconds = 0;
};

int OpenSslStream::WaitFor(int sslError, std::int64_t end)
{
    int ready = WaitUntil(fd, sslError == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN, end);
    if (ready > 0)
        return 1;
    return ready < 0 ? Fail(SocketErrorNumber(errno)) : TimedOut();
}

int OpenSslStream::Failed(int result)
{
    int savedErrno = errno;
    int sslError = SSL_get_error(ssl, result);
    if (sslError == SSL_ERROR_SYSCALL && savedErrno != 0 && ERR_peek_last_error() == 0)
        return Fail(SocketErrorNumber(savedErrno));
    return Fail(FailureNumber(sslError, savedErrno), true);
}

SecureResult OpenSslStream::Handshake(int milliseconds, int *detail)
{
    std::int64_t end = NowMilliseconds() + milliseconds;
    for (;;) {
        ERR_clear_error();
        errno = 0;
        int result = SSL_connect(ssl);
        if (result == 1)
            break;
        int savedErrno = errno;
        int sslError = SSL_get_error(ssl, result);
        if (sslError == SSL_ERROR_WANT_READ || sslError == SSL_ERROR_WANT_WRITE) {
            int wait = WaitFor(sslError, end);
            if (wait == STREAM_TIMED_OUT)
                return SECURE_TIMED_OUT;
            if (wait < 0) {
                *detail = error;
                return SECURE_FAILED;
            }
            continue;
        }
        // The verify result reads "passed" when the handshake failed before any certificate arrived (a plain
        // HTTP server on the https port), so only a failed verification names the certificate.
        long verified = SSL_get_verify_result(ssl);
        if (verified != X509_V_OK)
            return CertificateProblem(verified);
        *detail = FailureNumber(sslError, savedErrno);
        return SECURE_FAILED;
    }
    X509 *certificate = SSL_get1_peer_certificate(ssl);
    if (!certificate)
        return SECURE_UNTRUSTED;
    X509_free(certificate);
    long verified = SSL_get_verify_result(ssl);
    return verified == X509_V_OK ? SECURE_OK : CertificateProblem(verified);
}

int OpenSslStream::Send(const char *bytes, int length)
{
    std::int64_t end = NowMilliseconds() + sendMilliseconds;
    for (;;) {
        ERR_clear_error();
        errno = 0;
        int n = SSL_write(ssl, bytes, length);
        if (n > 0)
            return n;
        int sslError = SSL_get_error(ssl, n);
        if (sslError != SSL_ERROR_WANT_READ && sslError != SSL_ERROR_WANT_WRITE)
            return Failed(n);
        int wait = WaitFor(sslError, end);
        if (wait < 0)
            return wait == STREAM_TIMED_OUT ? Fail(ERROR_TIMED_OUT) : wait;
    }
}

// SSL_read gives what OpenSSL already holds before the socket is asked: select on the socket cannot see that.
int OpenSslStream::Receive(char *buffer, int length, int milliseconds)
{
    std::int64_t end = NowMilliseconds() + milliseconds;
    for (;;) {
        ERR_clear_error();
        errno = 0;
        int n = SSL_read(ssl, buffer, length);
        if (n > 0)
            return n;
        int sslError = SSL_get_error(ssl, n);
        if (sslError == SSL_ERROR_ZERO_RETURN)
            return 0;
        if (sslError != SSL_ERROR_WANT_READ && sslError != SSL_ERROR_WANT_WRITE)
            return Failed(n);
        int wait = WaitFor(sslError, end);
        if (wait < 0)
            return wait;
    }
}

}  // namespace

SecureResult StartSecureStream(SocketHandle socket, const char *hostName, int milliseconds,
                               std::unique_ptr<ByteStream> *stream, int *detail)
{
    *detail = 0;
    SSL_CTX *context = SharedContext();
    SSL *ssl = context ? SSL_new(context) : nullptr;
    if (!ssl) {
        *detail = static_cast<int>(ERR_peek_last_error());
        return SECURE_FAILED;
    }
    int fd = static_cast<int>(socket);
    std::unique_ptr<OpenSslStream> secure(new OpenSslStream(ssl, fd));
    SSL_set_fd(ssl, fd);
    // A numeric host is checked against the certificate's addresses and is never sent as the server name.
    if (!X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl), hostName)) {
        SSL_set_tlsext_host_name(ssl, hostName);
        SSL_set1_host(ssl, hostName);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL, 0) | O_NONBLOCK);
    SecureResult result = secure->Handshake(milliseconds, detail);
    if (result == SECURE_OK)
        *stream = std::move(secure);
    return result;
}
