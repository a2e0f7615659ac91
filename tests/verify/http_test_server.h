// A small HTTP server on 127.0.0.1 for the link-check tests and benchmark, over the same socket seam.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "verify/socket_seam.h"

struct ReceivedRequest {
    std::string text;    // everything up to and including the empty line
    std::string method;
    std::string target;
    std::string host;    // the value of the Host line
};

struct ServerReply {
    std::string bytes;           // sent as they are
    int delayMs = 0;             // wait before answering
    bool holdOpen = false;       // after the bytes, keep the connection open until the client goes
    int dripMs = 0;              // send the bytes one at a time with this pause
    bool endless = false;        // after the bytes, send body bytes until the client goes
};

class HttpTestServer {
public:
    using Answer = std::function<ServerReply(const ReceivedRequest &)>;
    explicit HttpTestServer(Answer answer);
    ~HttpTestServer();

    int Port() const { return port; }
    std::string Url(const std::string &path) const;
    std::vector<ReceivedRequest> Requests();

private:
    void AcceptLoop();
    void Serve(SocketHandle connection);
    bool Pause(int milliseconds);

    Answer answer;
    SocketStartupData startup;
    SocketHandle listener = NO_SOCKET;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::thread acceptor;
    std::mutex lock;
    std::condition_variable idle;
    int serving = 0;
    std::vector<ReceivedRequest> requests;
};

// A response with that status line and extra header lines, and an optional body.
std::string HttpResponse(const std::string &statusLine, const std::string &headers = "", const std::string &body = "");
