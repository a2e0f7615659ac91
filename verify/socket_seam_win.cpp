// The socket seam over Windows Sockets.
#include "verify/socket_seam.h"

#include <winsock2.h>
#include <windows.h>

static_assert(sizeof(WSADATA) <= sizeof(SocketStartupData), "room for WSADATA");
static_assert(sizeof(sockaddr_in) == sizeof(Ipv4Address), "Ipv4Address is a sockaddr_in");

int StartSockets(unsigned short version, SocketStartupData *data)
{
    return WSAStartup(version, reinterpret_cast<WSADATA *>(data->bytes));
}

void StopSockets()
{
    WSACleanup();
}

int LastSocketError()
{
    return WSAGetLastError();
}

int LastSystemError()
{
    return static_cast<int>(GetLastError());
}

int SocketErrorNumber(int systemError)
{
    return systemError;
}

SocketHandle OpenTcpSocket()
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    return s == INVALID_SOCKET ? NO_SOCKET : static_cast<SocketHandle>(s);
}

void CloseSocket(SocketHandle socket)
{
    closesocket(static_cast<SOCKET>(socket));
}

int SetLingerReset(SocketHandle socket)
{
    linger reset = {1, 0};
    return setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&reset),
                      sizeof reset) == SOCKET_ERROR ? -1 : 0;
}

static int SetTimeoutOption(SocketHandle socket, int option, int milliseconds)
{
    DWORD value = static_cast<DWORD>(milliseconds);
    return setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, option, reinterpret_cast<const char *>(&value),
                      sizeof value) == SOCKET_ERROR ? -1 : 0;
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
    return bind(static_cast<SOCKET>(socket), reinterpret_cast<const sockaddr *>(&local), sizeof local) == SOCKET_ERROR
               ? -1 : 0;
}

static timeval Interval(int milliseconds)
{
    if (milliseconds < 0)
        milliseconds = 0;
    timeval tv;
    tv.tv_sec = milliseconds / 1000;
    tv.tv_usec = (milliseconds % 1000) * 1000;
    return tv;
}

int WaitReadable(SocketHandle socket, int milliseconds)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(socket), &readable);
    timeval tv = Interval(milliseconds);
    int n = select(0, &readable, nullptr, nullptr, &tv);
    return n == SOCKET_ERROR ? -1 : (n > 0 ? 1 : 0);
}

static void SetBlocking(SOCKET s, bool blocking)
{
    u_long nonBlocking = blocking ? 0 : 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
}

// A connect that the network drops silently takes the system's own 20-120 s to fail, so it is made
// non-blocking and waited for; Winsock reports a failed attempt in the exception set, not the write set.
int ConnectWithin(SocketHandle socket, const Ipv4Address &server, int milliseconds)
{
    SOCKET s = static_cast<SOCKET>(socket);
    SetBlocking(s, false);
    if (connect(s, reinterpret_cast<const sockaddr *>(&server), sizeof server) == 0) {
        SetBlocking(s, true);
        return 0;
    }
    int error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
        SetBlocking(s, true);
        WSASetLastError(error);
        return -1;
    }
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval tv = Interval(milliseconds);
    int n = select(0, nullptr, &writable, &failed, &tv);
    if (n == SOCKET_ERROR) {
        error = WSAGetLastError();
    } else if (n == 0) {
        error = WSAETIMEDOUT;
    } else {
        int soError = 0;
        int size = sizeof soError;
        getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&soError), &size);
        // a failed attempt whose SO_ERROR reads 0 is still a failure: report it as refused
        error = FD_ISSET(s, &failed) && soError == 0 ? WSAECONNREFUSED : soError;
    }
    SetBlocking(s, true);
    WSASetLastError(error);
    return error == 0 ? 0 : -1;
}

int SendBytes(SocketHandle socket, const char *bytes, int length)
{
    return send(static_cast<SOCKET>(socket), bytes, length, 0);
}

int ReceiveBytes(SocketHandle socket, char *buffer, int length)
{
    return recv(static_cast<SOCKET>(socket), buffer, length, 0);
}

bool ResolveHostName(const char *name, std::uint32_t *address)
{
    // gethostbyname keeps its result per thread in Winsock, so parallel checks do not share it.
    hostent *entry = gethostbyname(name);
    if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0])
        return false;
    CopyMemory(address, entry->h_addr_list[0], sizeof *address);
    return true;
}

bool ParseDottedAddress(const char *text, std::uint32_t *address)
{
    unsigned long value = inet_addr(text);
    if (value == INADDR_NONE)
        return false;
    *address = static_cast<std::uint32_t>(value);
    return true;
}

std::uint16_t PortToNetwork(int port)
{
    return htons(static_cast<u_short>(port));
}

char *AllocResponseBlock(std::size_t size)
{
    return static_cast<char *>(VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
}

void FreeResponseBlock(char *block)
{
    VirtualFree(block, 0, MEM_RELEASE);
}

SocketHandle ListenOnLoopback(int *port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return NO_SOCKET;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    local.sin_port = htons(static_cast<u_short>(*port));
    int size = sizeof local;
    if (bind(s, reinterpret_cast<sockaddr *>(&local), sizeof local) == SOCKET_ERROR || listen(s, SOMAXCONN) == SOCKET_ERROR
        || getsockname(s, reinterpret_cast<sockaddr *>(&local), &size) == SOCKET_ERROR) {
        closesocket(s);
        return NO_SOCKET;
    }
    *port = ntohs(local.sin_port);
    return static_cast<SocketHandle>(s);
}

SocketHandle AcceptConnection(SocketHandle listener)
{
    SOCKET s = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
    return s == INVALID_SOCKET ? NO_SOCKET : static_cast<SocketHandle>(s);
}
