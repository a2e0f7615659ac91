// The plain byte stream over the socket seam, and the clock that deadlines are measured on.
#include "verify/byte_stream.h"

#include <chrono>

std::int64_t NowMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int MillisecondsUntil(std::int64_t end)
{
    std::int64_t left = end - NowMilliseconds();
    if (left < 0)
        return 0;
    return left > 0x7fffffff ? 0x7fffffff : static_cast<int>(left);
}

int PlainStream::Send(const char *bytes, int length)
{
    int sent = SendBytes(socket, bytes, length);
    return sent < 0 ? Fail(LastSocketError()) : sent;
}

int PlainStream::Receive(char *buffer, int length, int milliseconds)
{
    int ready = WaitReadable(socket, milliseconds);
    if (ready == 0)
        return TimedOut();
    if (ready < 0)
        return Fail(LastSocketError());
    int n = ReceiveBytes(socket, buffer, length);
    return n < 0 ? Fail(LastSocketError()) : n;
}
