// The sockets that the link check uses: Winsock in the Windows build, POSIX sockets on the host.
// Every error number handed out is a Winsock number (a refused connection is 10061 on both).
#pragma once

#include <cstddef>
#include <cstdint>

using SocketHandle = std::uintptr_t;
const SocketHandle NO_SOCKET = ~static_cast<SocketHandle>(0);

// An IPv4 socket address laid out as the platform's sockaddr_in; port and address in network byte order.
struct Ipv4Address {
    std::uint16_t family;
    std::uint16_t port;
    std::uint32_t address;
    unsigned char zero[8];
};

// Room for the Windows Sockets start-up data (WSADATA); unused on the host.
struct SocketStartupData {
    alignas(8) unsigned char bytes[512];
};

const int ERROR_WOULD_BLOCK = 10035;   // WSAEWOULDBLOCK
const int ERROR_TIMED_OUT = 10060;     // WSAETIMEDOUT
const int ERROR_REFUSED = 10061;       // WSAECONNREFUSED
const int ERROR_DISCONNECTED = 10101;  // WSAEDISCON: the peer closed the connection

// WSAStartup with the requested version word; 0 on success.
int StartSockets(unsigned short version, SocketStartupData *data);
void StopSockets();
int LastSocketError();
int LastSystemError();
// The Winsock number for an error number that the system's own socket calls left (errno on the host).
int SocketErrorNumber(int systemError);

SocketHandle OpenTcpSocket();
void CloseSocket(SocketHandle socket);
// Each returns 0, or -1 with the error in LastSocketError().
int SetLingerReset(SocketHandle socket);
int SetReceiveTimeout(SocketHandle socket, int milliseconds);
int SetSendTimeout(SocketHandle socket, int milliseconds);
int BindSocket(SocketHandle socket, const Ipv4Address &local);
// Waits up to the given time for the socket to become readable: 1 readable, 0 not, -1 error.
int WaitReadable(SocketHandle socket, int milliseconds);
// Connects, giving up with ERROR_TIMED_OUT after the given time; 0 or -1.
int ConnectWithin(SocketHandle socket, const Ipv4Address &server, int milliseconds);
int SendBytes(SocketHandle socket, const char *bytes, int length);
int ReceiveBytes(SocketHandle socket, char *buffer, int length);

// Name to first IPv4 address (network order); false when the name does not resolve.
bool ResolveHostName(const char *name, std::uint32_t *address);
// Dotted IPv4 text to address as inet_addr reads it; false for INADDR_NONE.
bool ParseDottedAddress(const char *text, std::uint32_t *address);
std::uint16_t PortToNetwork(int port);

// Blocks for the whole response: VirtualAlloc in the Windows build.
char *AllocResponseBlock(std::size_t size);
void FreeResponseBlock(char *block);

// For the test and benchmark servers: a listening socket on 127.0.0.1 (port 0 picks one) and accept.
SocketHandle ListenOnLoopback(int *port);
SocketHandle AcceptConnection(SocketHandle listener);
