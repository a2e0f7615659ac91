// The latency mix of the link-check benchmarks.
#include "bench/latency_mix.h"

std::string PathFor(int i)
{
    int bucket = (i * 37) % 100;  // spreads each kind over the whole list
    std::string n = std::to_string(i);
    if (bucket < 70)
        return "/ok/" + n;
    if (bucket < 80)
        return "/nf/" + n;
    if (bucket < 90)
        return "/r" + std::to_string(1 + i % 3) + "/" + n;
    if (bucket < 95)
        return "/err/" + n;
    return "/slow/" + n;
}

long LatencyMs(const std::string &path)
{
    if (path.compare(0, 6, "/slow/") == 0)
        return SLOW_MS;
    if (path.compare(0, 2, "/r") == 0)
        return (path[2] - '0' + 1) * BASE_MS;
    return BASE_MS;
}

ServerReply LatencyMixAnswer(const ReceivedRequest &request, int port, int securePort)
{
    const std::string &t = request.target;
    ServerReply reply;
    reply.delayMs = BASE_MS;
    if (t.compare(0, 6, "/slow/") == 0) {
        reply.delayMs = SLOW_MS;
        reply.bytes = HttpResponse("HTTP/1.0 200 OK");
    } else if (t.compare(0, 4, "/nf/") == 0) {
        reply.bytes = HttpResponse("HTTP/1.0 404 Not Found");
    } else if (t.compare(0, 5, "/err/") == 0) {
        reply.bytes = HttpResponse("HTTP/1.0 500 Internal Server Error");
    } else if (t.compare(0, 2, "/r") == 0 && t[2] >= '1' && t[2] <= '3') {
        std::string next = t[2] == '1' ? "/ok" + t.substr(3) : "/r" + std::string(1, char(t[2] - 1)) + t.substr(3);
        std::string self = request.host == "localhost" ? "https://localhost:" + std::to_string(securePort)
                                                       : "http://127.0.0.1:" + std::to_string(port);
        reply.bytes = HttpResponse("HTTP/1.0 302 Found", "Location: " + self + next + "\r\n");
    } else {
        reply.bytes = HttpResponse("HTTP/1.0 200 OK", "Content-Type: text/html\r\n");
    }
    return reply;
}
