// A small HTTP server on 127.0.0.1 for the link-check tests and benchmark, over the same socket seam.
#include "tests/verify/http_test_server.h"

#include <algorithm>
#include <chrono>

std::string HttpResponse(const std::string &statusLine, const std::string &headers, const std::string &body)
{
    return statusLine + "\r\n" + headers + "\r\n" + body;
}

HttpTestServer::HttpTestServer(Answer answerRequest) : answer(std::move(answerRequest))
{
    StartSockets(0x0202, &startup);
    listener = ListenOnLoopback(&port);
    if (listener != NO_SOCKET)
        acceptor = std::thread([this] { AcceptLoop(); });
}

HttpTestServer::~HttpTestServer()
{
    stopping = true;
    if (acceptor.joinable())
        acceptor.join();
    std::unique_lock<std::mutex> hold(lock);
    idle.wait(hold, [this] { return serving == 0; });
    if (listener != NO_SOCKET)
        CloseSocket(listener);
    StopSockets();
}

std::string HttpTestServer::Url(const std::string &path) const
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

std::vector<ReceivedRequest> HttpTestServer::Requests()
{
    std::lock_guard<std::mutex> hold(lock);
    return requests;
}

void HttpTestServer::AcceptLoop()
{
    while (!stopping) {
        if (WaitReadable(listener, 20) <= 0)
            continue;
        SocketHandle connection = AcceptConnection(listener);
        if (connection == NO_SOCKET)
            continue;
        {
            std::lock_guard<std::mutex> hold(lock);
            serving++;
        }
        std::thread([this, connection] {
            Serve(connection);
            CloseSocket(connection);
            std::lock_guard<std::mutex> hold(lock);
            if (--serving == 0)
                idle.notify_all();
        }).detach();
    }
}

// Sleeps in short steps; false when the server is stopping.
bool HttpTestServer::Pause(int ms)
{
    using namespace std::chrono;
    auto until = steady_clock::now() + milliseconds(ms);
    for (auto now = steady_clock::now(); !stopping && now < until; now = steady_clock::now())
        std::this_thread::sleep_for(std::min<steady_clock::duration>(until - now, milliseconds(20)));
    return !stopping;
}

static std::string HeaderValue(const std::string &text, const std::string &name)
{
    std::string::size_type at = text.find("\r\n" + name + ": ");
    if (at == std::string::npos)
        return "";
    at += name.size() + 4;
    return text.substr(at, text.find("\r\n", at) - at);
}

void HttpTestServer::Serve(SocketHandle connection)
{
    std::string text;
    char chunk[1024];
    while (!stopping && text.find("\r\n\r\n") == std::string::npos && text.size() < 65536) {
        int ready = WaitReadable(connection, 20);
        if (ready < 0)
            return;
        if (ready == 0)
            continue;
        int n = ReceiveBytes(connection, chunk, sizeof chunk);
        if (n <= 0)
            return;
        text.append(chunk, n);
    }
    ReceivedRequest request;
    request.text = text;
    std::string::size_type space = text.find(' ');
    request.method = text.substr(0, space);
    if (space != std::string::npos)
        request.target = text.substr(space + 1, text.find(' ', space + 1) - space - 1);
    request.host = HeaderValue(text, "Host");
    {
        std::lock_guard<std::mutex> hold(lock);
        requests.push_back(request);
    }
    ServerReply reply = answer(request);
    if (reply.delayMs > 0 && !Pause(reply.delayMs))
        return;
    if (reply.dripMs > 0) {
        for (char c : reply.bytes)
            if (SendBytes(connection, &c, 1) != 1 || !Pause(reply.dripMs))
                return;
    } else if (!reply.bytes.empty()) {
        std::string::size_type sent = 0;
        while (sent < reply.bytes.size()) {
            int n = SendBytes(connection, reply.bytes.data() + sent, static_cast<int>(reply.bytes.size() - sent));
            if (n <= 0)
                return;
            sent += n;
        }
    }
    if (reply.endless) {
        std::string body(4096, 'x');
        while (!stopping && SendBytes(connection, body.data(), static_cast<int>(body.size())) > 0) {
        }
    }
    // hold the connection until the client resets or closes it
    while (reply.holdOpen && !stopping) {
        int ready = WaitReadable(connection, 20);
        if (ready < 0 || (ready > 0 && ReceiveBytes(connection, chunk, sizeof chunk) <= 0))
            return;
    }
}
