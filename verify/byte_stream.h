// The byte stream that a request and its answer travel over: the connected socket itself, or TLS around it.
#pragma once

#include <cstdint>

#include "verify/socket_seam.h"

// Results of ByteStream::Receive besides a byte count.
const int STREAM_FAILED = -1;
const int STREAM_TIMED_OUT = -2;

class ByteStream {
public:
    virtual ~ByteStream() {}
    // Sends the bytes: their count, or STREAM_FAILED.
    virtual int Send(const char *bytes, int length) = 0;
    // Receives up to length bytes, waiting at most the given time: their count, 0 at the end of the stream,
    // STREAM_TIMED_OUT or STREAM_FAILED. Bytes the stream already holds are given without waiting.
    virtual int Receive(char *buffer, int length, int milliseconds) = 0;

    // Why the last call failed: a Winsock error number (ERROR_TIMED_OUT after STREAM_TIMED_OUT), or, when
    // secureFailure is set, the secure layer's own number (an SSPI status or an OpenSSL error code).
    int error = 0;
    bool secureFailure = false;

protected:
    int Fail(int number, bool secure = false)
    {
        error = number;
        secureFailure = secure;
        return STREAM_FAILED;
    }
    int TimedOut()
    {
        error = ERROR_TIMED_OUT;
        secureFailure = false;
        return STREAM_TIMED_OUT;
    }
};

// The connected socket as it is.
class PlainStream : public ByteStream {
public:
    explicit PlainStream(SocketHandle connected = NO_SOCKET) : socket(connected) {}
    int Send(const char *bytes, int length) override;
    int Receive(char *buffer, int length, int milliseconds) override;

private:
    SocketHandle socket;
};

// The steady clock in milliseconds, and what is left until a time on it (0 once it has passed).
std::int64_t NowMilliseconds();
int MillisecondsUntil(std::int64_t end);
