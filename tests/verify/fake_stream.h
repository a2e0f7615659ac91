// A stand-in for a connection's byte stream, for the HTTP layer without a network: hands out the server's bytes
// in chunks, then ends, times out or fails as told, and keeps what was sent.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "verify/byte_stream.h"

struct FakeStream : ByteStream {
    std::string incoming;     // the server's bytes
    std::size_t chunk = 1023;  // at most this many per Receive
    int then = 0;             // after them: 0 (the end), STREAM_TIMED_OUT, or a failure with that number (< 0: secure)
    int sendFailure = 0;      // not 0: every Send fails with this Winsock number
    std::string sent;
    std::size_t at = 0;

    int Send(const char *bytes, int length) override
    {
        if (sendFailure)
            return Fail(sendFailure);
        sent.append(bytes, length);
        return length;
    }
    int Receive(char *buffer, int length, int) override
    {
        if (at == incoming.size())
            return then == 0 ? 0 : then == STREAM_TIMED_OUT ? TimedOut() : Fail(then, then < 0);
        std::size_t n = std::min({chunk, static_cast<std::size_t>(length), incoming.size() - at});
        std::memcpy(buffer, incoming.data() + at, n);
        at += n;
        return static_cast<int>(n);
    }
};
