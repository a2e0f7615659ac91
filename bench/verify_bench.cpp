// Benchmark: 5,000 link checks on loopback against a server with a latency mix, with 6 and 32 threads, all over
// http and then half of them over https (through the tests' TLS front). Prints checks per second, wall time
// against the ideal (sum of latencies / threads) and the checker's peak memory, each run in a process of its own.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/latency_mix.h"
#include "tests/verify/http_test_server.h"
#include "verify/check_bookmark.h"

namespace {

// The server and its TLS front run in a child process, so the peak memory measured is the checker's alone. The
// child tells the server's port, the front's port and the front's authority (PEM) on a pipe.
pid_t StartServer(int *port, int *securePort, std::string *authority)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)  // the front must not hold the pipe open
        return -1;
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        int ports[2] = {0, 0};
        HttpTestServer server([&ports](const ReceivedRequest &r) { return LatencyMixAnswer(r, ports[0], ports[1]); });
        if (!server.StartSecureFront())
            _exit(1);
        ports[0] = server.Port();
        ports[1] = std::atoi(server.SecureUrl("trusted", "").c_str() + 18);  // after "https://localhost:"
        std::string told(reinterpret_cast<char *>(ports), sizeof ports);
        told += server.authorityPem;
        if (write(fds[1], told.data(), told.size()) != static_cast<ssize_t>(told.size()))
            _exit(1);
        close(fds[1]);
        for (;;)
            pause();  // until the parent's SIGKILL
    }
    close(fds[1]);
    std::string told;
    char chunk[4096];
    for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;)
        told.append(chunk, n);
    close(fds[0]);
    if (told.size() <= 2 * sizeof(int))
        return -1;
    std::memcpy(port, told.data(), sizeof *port);
    std::memcpy(securePort, told.data() + sizeof *port, sizeof *securePort);
    *authority = told.substr(2 * sizeof(int));
    return child;
}

long PeakMemoryKiB()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void Run(const char *mix, const std::vector<std::string> &urls, const std::vector<long> &latencies, long latencySumMs,
         int threads)
{
    std::atomic<size_t> next{0};
    std::atomic<int> passed{0};
    std::atomic<long long> excessUs{0};
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; t++)
        workers.emplace_back([&] {
            char status[STATUS_TEXT_CAPACITY];
            for (size_t i = next++; i < urls.size(); i = next++) {
                auto begin = std::chrono::steady_clock::now();
                if (CheckBookmark(urls[i].c_str(), "", 0, 10, 10, status))
                    passed++;
                auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begin);
                excessUs += took.count() - latencies[i] * 1000;
            }
        });
    for (std::thread &w : workers)
        w.join();
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double ideal = latencySumMs / 1000.0 / threads;
    std::printf("%-15s threads %2d: %d URLs (%d passed) in %.2f s = %.0f URLs/s; ideal %.2f s; wall/ideal %.3f; "
                "mean time over the server's latency %.2f ms per URL; peak memory %.1f MB\n",
                mix, threads, static_cast<int>(urls.size()), passed.load(), wall, urls.size() / wall, ideal, wall / ideal,
                excessUs.load() / 1000.0 / urls.size(), PeakMemoryKiB() / 1024.0);
    std::fflush(stdout);
}

// One run in a child process of its own, so that each peak memory is that run's.
void RunApart(const char *mix, const std::vector<std::string> &urls, const std::vector<long> &latencies,
              long latencySumMs, int threads)
{
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        Run(mix, urls, latencies, latencySumMs, threads);
        _exit(0);
    }
    waitpid(child, nullptr, 0);
}

// The whole tresk-cli verify process on the same URLs (read from a bookmark file), its output thrown away: thread
// start-up, the progress lock and the result lines included.
void RunCli(const std::vector<std::string> &urls, long latencySumMs, int threads)
{
    std::string file = "/tmp/tresk-verify-bench-" + std::to_string(getpid()) + ".html";
    {
        std::ofstream out(file);
        out << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
        for (const std::string &url : urls)
            out << "<DT><A HREF=\"" << url << "\">b</A>\n";
        out << "</DL><p>\n";
    }
    std::string threadText = std::to_string(threads);
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(TRESK_CLI, TRESK_CLI, "verify", "--threads", threadText.c_str(), "--timeout", "10", "--bookmarks",
              file.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double ideal = latencySumMs / 1000.0 / threads;
    std::printf("tresk-cli verify threads %2d: %d URLs in %.2f s (exit %d); ideal %.2f s; wall/ideal %.3f (goal 1.05)\n",
                threads, static_cast<int>(urls.size()), wall, WIFEXITED(status) ? WEXITSTATUS(status) : -1, ideal,
                wall / ideal);
    std::fflush(stdout);
    std::remove(file.c_str());
}

}  // namespace

int main(int argc, char **argv)
{
    int port = 0, securePort = 0;
    std::string authority;
    pid_t server = StartServer(&port, &securePort, &authority);
    if (server < 0) {
        std::fprintf(stderr, "verify_bench: could not start the server and its TLS front\n");
        return 1;
    }
    TrustTestAuthority(authority);
    std::vector<std::string> plain, mixed;
    std::vector<long> latencies;
    long latencySumMs = 0;
    int count = argc > 1 ? std::atoi(argv[1]) : URL_COUNT;
    for (int i = 0; i < count; i++) {
        std::string path = PathFor(i);
        latencies.push_back(LatencyMs(path));
        latencySumMs += latencies.back();
        plain.push_back("http://127.0.0.1:" + std::to_string(port) + path);
        mixed.push_back(i % 2 ? plain.back() : "https://localhost:" + std::to_string(securePort) + path);
    }
    std::printf("verify_bench: %d URLs, latency sum %.1f s (70%% 200 after %d ms, 10%% 404, 10%% 1-3 redirects, "
                "5%% 500, 5%% 200 after %d ms)\n",
                count, latencySumMs / 1000.0, BASE_MS, SLOW_MS);
    int only = argc > 2 ? std::atoi(argv[2]) : 0;  // the second argument, when given: that thread count alone
    for (int threads : {6, 32}) {
        if (only && threads != only)
            continue;
        RunApart("http only", plain, latencies, latencySumMs, threads);
        RunApart("half https", mixed, latencies, latencySumMs, threads);
    }
    RunCli(plain, latencySumMs, 32);
    ForgetTestAuthority();
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
    return 0;
}
