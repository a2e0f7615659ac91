// TLS around a connected socket: Schannel in the Windows build, OpenSSL on the host.
#pragma once

#include <memory>

#include "verify/byte_stream.h"

// How the secure connection ended up.
enum SecureResult {
    SECURE_OK,
    SECURE_UNTRUSTED,      // self-signed, from an unknown authority, a chain that ends nowhere, not for a server
    SECURE_EXPIRED,        // outside the certificate's validity period
    SECURE_NAME_MISMATCH,  // issued for another name
    SECURE_FAILED,         // the handshake or the protocol failed; the detail is the platform's number
    SECURE_TIMED_OUT,      // the handshake did not end in time
};

// Makes the TLS handshake on the connected socket for hostName (sent as the server name, and the name the
// certificate must carry) within the given time, then checks the server's certificate against the system's
// trusted authorities. On SECURE_OK *stream is the stream to use. *detail is the platform's number for
// SECURE_FAILED (a Winsock number when the socket failed or the server closed, ERROR_DISCONNECTED for that),
// else 0.
SecureResult StartSecureStream(SocketHandle socket, const char *hostName, int milliseconds,
                               std::unique_ptr<ByteStream> *stream, int *detail);
