// A small HTTP server on 127.0.0.1 for the link-check tests and benchmark, over the same socket seam.
#include "tests/verify/http_test_server.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>

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
    if (frontControl != NO_SOCKET)
        CloseSocket(frontControl);  // the front ends with its control connection
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

// The front connects back to a port of ours and tells its ports and authority there: Wine starts the host's
// python3, but hands nothing of its output to the Windows side.
bool HttpTestServer::StartSecureFront()
{
    int controlPort = 0;
    SocketHandle control = ListenOnLoopback(&controlPort);
    if (control == NO_SOCKET)
        return false;
    std::string command = TRESK_PYTHON " " TRESK_TLS_FRONT " " + std::to_string(controlPort) + " " + std::to_string(port);
    if (StartHelperProcess(command) && WaitReadable(control, 60000) > 0)
        frontControl = AcceptConnection(control);
    CloseSocket(control);
    std::string told;
    char chunk[4096];
    while (frontControl != NO_SOCKET && told.find("end\n") == std::string::npos && WaitReadable(frontControl, 10000) > 0) {
        int n = ReceiveBytes(frontControl, chunk, sizeof chunk);
        if (n <= 0)
            break;
        told.append(chunk, n);
    }
    std::istringstream lines(told);
    for (std::string line; std::getline(lines, line) && line != "end";) {
        if (line.compare(0, 5, "-----") == 0 || !authorityPem.empty())
            authorityPem += line + "\n";
        else
            frontPorts[line.substr(0, line.find(' '))] = std::atoi(line.c_str() + line.find(' ') + 1);
    }
    return frontPorts.size() == 7 && !authorityPem.empty();
}

std::string HttpTestServer::SecureUrl(const std::string &kind, const std::string &path)
{
    return "https://localhost:" + std::to_string(frontPorts[kind]) + path;
}

std::vector<std::string> HttpTestServer::Requests()
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
    std::istringstream(text) >> request.method >> request.target;
    std::string::size_type host = text.find("\r\nHost: ");
    if (host != std::string::npos)
        request.host = text.substr(host + 8, text.find("\r\n", host + 8) - host - 8);
    {
        std::lock_guard<std::mutex> hold(lock);
        requests.push_back(request.method + " " + request.target + " " + request.host);
    }
    ServerReply reply = answer(request);
    if (reply.delayMs > 0 && !Pause(reply.delayMs))
        return;
    std::string::size_type sent = 0;
    while (sent < reply.bytes.size()) {
        int size = reply.dripMs > 0 ? 1 : static_cast<int>(reply.bytes.size() - sent);
        int n = SendBytes(connection, reply.bytes.data() + sent, size);
        if (n <= 0 || (reply.dripMs > 0 && !Pause(reply.dripMs)))
            return;
        sent += n;
    }
}
