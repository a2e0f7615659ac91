// The latency mix of the link-check benchmarks: which path each URL number asks for, how long the server takes
// over it, and the server's answers.
#pragma once
#include <string>

#include "tests/verify/http_test_server.h"

const int URL_COUNT = 5000;
const int BASE_MS = 50;
const int SLOW_MS = 500;

// By URL number: 70% 200, 10% 404, 10% one to three redirects, 5% 500, 5% slow 200.
std::string PathFor(int i);
// Server time spent on one URL: every answer waits BASE_MS, a slow one SLOW_MS; a redirect adds a request.
long LatencyMs(const std::string &path);
// The answer to a request of the mix. A redirect stays on the scheme it came by: requests through the TLS front
// (securePort) name localhost.
ServerReply LatencyMixAnswer(const ReceivedRequest &request, int port, int securePort);
