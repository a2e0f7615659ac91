// A small HTTP server on 127.0.0.1 for the link-check tests and benchmark, over the same socket seam, that can
// have TLS and a proxy in front of it (tls_front.py).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "verify/socket_seam.h"

struct ReceivedRequest {
    std::string method;
    std::string target;
    std::string host;  // the value of the Host line
};

struct ServerReply {
    std::string bytes;    // sent as they are
    int delayMs = 0;      // wait before answering
    int dripMs = 0;       // send the bytes one at a time with this pause
};

class HttpTestServer {
public:
    using Answer = std::function<ServerReply(const ReceivedRequest &)>;
    explicit HttpTestServer(Answer answer);
    ~HttpTestServer();

    int Port() const { return port; }
    std::string Url(const std::string &path) const;
    // "METHOD target host" of each request received, in order.
    std::vector<std::string> Requests();

    // Starts the TLS front of this server (false when it did not start), whose authority's certificate is then
    // authorityPem. SecureUrl gives the URL on https://localhost of the front's port for a kind of certificate:
    // "trusted", "self-signed", "unknown-ca", "wrong-name", "expired", or "plain" (no TLS at all: an HTTP server
    // that answers the handshake with 400).
    bool StartSecureFront();
    std::string SecureUrl(const std::string &kind, const std::string &path);
    // The front's proxy: it passes requests on to this server and opens tunnels to any port of 127.0.0.1.
    int ProxyPort() { return frontPorts["proxy"]; }
    std::string authorityPem;

private:
    void AcceptLoop();
    void Serve(SocketHandle connection);
    bool Pause(int milliseconds);

    Answer answer;
    SocketStartupData startup;
    SocketHandle listener = NO_SOCKET;
    SocketHandle frontControl = NO_SOCKET;
    std::map<std::string, int> frontPorts;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::thread acceptor;
    std::mutex lock;
    std::condition_variable idle;
    int serving = 0;
    std::vector<std::string> requests;
};

// A response with that status line and extra header lines, and an optional body.
std::string HttpResponse(const std::string &statusLine, const std::string &headers = "", const std::string &body = "");

// The platform's side of the TLS front: start a program without waiting for it; trust a test authority (PEM) for
// this process's secure checks, and forget it again. The trust store is read at the first secure check, so a
// process trusts one authority, before that.
bool StartHelperProcess(const std::string &commandLine);
void TrustTestAuthority(const std::string &pem);
void ForgetTestAuthority();
