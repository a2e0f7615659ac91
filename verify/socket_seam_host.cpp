// The socket seam over POSIX sockets, translating errno into the Winsock numbers the error table uses.
#include "verify/socket_seam.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

static_assert(sizeof(sockaddr_in) == sizeof(Ipv4Address), "Ipv4Address is a sockaddr_in");

static thread_local int lastSocketError = 0;

static int WinsockNumber(int error)
{
    switch (error) {
    case 0: return 0;
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: return 10024;
    case EAGAIN: return ERROR_WOULD_BLOCK;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EPROTONOSUPPORT: return 10043;
    case EOPNOTSUPP: return 10045;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ECONNABORTED: return 10053;
    case EPIPE:
    case ECONNRESET: return 10054;
    case ENOBUFS: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case ETIMEDOUT: return ERROR_TIMED_OUT;
    case ECONNREFUSED: return ERROR_REFUSED;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    default: return 10000 + error;
    }
}

static int Fail(int error)
{
    lastSocketError = WinsockNumber(error);
    return -1;
}

int StartSockets(unsigned short, SocketStartupData *)
{
    return 0;
}

void StopSockets()
{
}

int LastSocketError()
{
    return lastSocketError;
}

int LastSystemError()
{
    return errno;
}

int SocketErrorNumber(int systemError)
{
    return WinsockNumber(systemError);
}

SocketHandle OpenTcpSocket()
{
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (s < 0) {
        Fail(errno);
        return NO_SOCKET;
    }
    return static_cast<SocketHandle>(s);
}

void CloseSocket(SocketHandle socket)
{
    close(static_cast<int>(socket));
}

int SetLingerReset(SocketHandle socket)
{
    linger reset = {1, 0};
    return setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &reset, sizeof reset) == 0 ? 0 : Fail(errno);
}

static int SetTimeoutOption(SocketHandle socket, int option, int milliseconds)
{
    timeval tv = {milliseconds / 1000, (milliseconds % 1000) * 1000};
    return setsockopt(static_cast<int>(socket), SOL_SOCKET, option, &tv, sizeof tv) == 0 ? 0 : Fail(errno);
}

int SetReceiveTimeout(SocketHandle socket, int milliseconds)
{
    return SetTimeoutOption(socket, SO_RCVTIMEO, milliseconds);
}

int SetSendTimeout(SocketHandle socket, int milliseconds)
{
    return SetTimeoutOption(socket, SO_SNDTIMEO, milliseconds);
}

int BindSocket(SocketHandle socket, const Ipv4Address &local)
{
    return bind(static_cast<int>(socket), reinterpret_cast<const sockaddr *>(&local), sizeof local) == 0 ? 0 : Fail(errno);
}

static int WaitFor(SocketHandle socket, short events, int milliseconds)
{
    pollfd one = {static_cast<int>(socket), events, 0};
    int n = poll(&one, 1, milliseconds < 0 ? 0 : milliseconds);
    if (n < 0)
        return Fail(errno);
    return n > 0 ? 1 : 0;
}

int WaitReadable(SocketHandle socket, int milliseconds)
{
    return WaitFor(socket, POLLIN, milliseconds);
}

int ConnectWithin(SocketHandle socket, const Ipv4Address &server, int milliseconds)
{
    int s = static_cast<int>(socket);
    int flags = fcntl(s, F_GETFL, 0);
    fcntl(s, F_SETFL, flags | O_NONBLOCK);
    int error = 0;
    if (connect(s, reinterpret_cast<const sockaddr *>(&server), sizeof server) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            int ready = WaitFor(socket, POLLOUT, milliseconds);
            if (ready < 0) {
                error = errno;
            } else if (ready == 0) {
                error = ETIMEDOUT;
            } else {
                socklen_t size = sizeof error;
                getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size);
            }
        }
    }
    fcntl(s, F_SETFL, flags);
    return error == 0 ? 0 : Fail(error);
}

int SendBytes(SocketHandle socket, const char *bytes, int length)
{
    // MSG_NOSIGNAL: a peer that has gone must give an error, not SIGPIPE.
    ssize_t n = send(static_cast<int>(socket), bytes, static_cast<size_t>(length), MSG_NOSIGNAL);
    return n < 0 ? Fail(errno) : static_cast<int>(n);
}

int ReceiveBytes(SocketHandle socket, char *buffer, int length)
{
    ssize_t n = recv(static_cast<int>(socket), buffer, static_cast<size_t>(length), 0);
    if (n < 0)
        return Fail(errno == EAGAIN ? ETIMEDOUT : errno);
    return static_cast<int>(n);
}

bool ResolveHostName(const char *name, std::uint32_t *address)
{
    // getaddrinfo, because gethostbyname shares one result among threads here.
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || !found)
        return false;
    *address = reinterpret_cast<sockaddr_in *>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

bool ParseDottedAddress(const char *text, std::uint32_t *address)
{
    in_addr_t value = inet_addr(text);
    if (value == INADDR_NONE)
        return false;
    *address = value;
    return true;
}

std::uint16_t PortToNetwork(int port)
{
    return htons(static_cast<std::uint16_t>(port));
}

char *AllocResponseBlock(std::size_t size)
{
    return static_cast<char *>(std::malloc(size));
}

void FreeResponseBlock(char *block)
{
    std::free(block);
}

SocketHandle ListenOnLoopback(int *port)
{
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (s < 0)
        return NO_SOCKET;
    int reuse = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(static_cast<std::uint16_t>(*port));
    socklen_t size = sizeof local;
    if (bind(s, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0 || listen(s, SOMAXCONN) != 0
        || getsockname(s, reinterpret_cast<sockaddr *>(&local), &size) != 0) {
        close(s);
        return NO_SOCKET;
    }
    *port = ntohs(local.sin_port);
    return static_cast<SocketHandle>(s);
}

SocketHandle AcceptConnection(SocketHandle listener)
{
    int s = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
    return s < 0 ? NO_SOCKET : static_cast<SocketHandle>(s);
}
