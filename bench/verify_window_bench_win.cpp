// Benchmark under Wine: the Verify window of the real tresk.exe checks 5,000 bookmarks against a loopback server
// with the latency mix of verify_bench, 6 workers. Prints the time from the press of "&Verify" to its return
// against the ideal (sum of latencies / threads), and how long the window took to answer a message meanwhile.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/latency_mix.h"
#include "tests/e2e/driver.h"
#include "verify/check_bookmark.h"

namespace {

const int THREADS = 6;
const int VERIFY_BUTTON = 234, PROGRESS = 237;

double Seconds(std::chrono::steady_clock::duration span)
{
    return std::chrono::duration<double>(span).count();
}

// Tresk on the bookmark file with "Threads" 6; the Verify window opened from the tray menu and filled.
HWND OpenVerifyWindow(TreskProcess *tresk, const std::string &bookmarkPath)
{
    ResetTreskState();
    SetTreskString("Bookmark Filename", bookmarkPath.c_str());
    SetTreskDword("Menu Style", 0);
    SetTreskDword("Tray Icon", 1);
    DWORD threads = THREADS;
    SetUserValue("Software\\Olvane\\Tresk\\Verify", "Threads", REG_DWORD, &threads, 4);
    HWND main = StartTreskAndWait(tresk);
    if (!main)
        return nullptr;
    PostMessageA(main, WM_USER + 2, 0, WM_RBUTTONUP);
    HWND menu = WaitForPopupMenu(5000);
    if (!menu)
        return nullptr;
    PostMenuKeys(menu, {VK_DOWN, VK_DOWN, VK_RETURN});
    HWND dialog = WaitForWindow(*tresk, "#32770", "Verify Bookmarks", 20000, true);
    return dialog && WaitUntil([&] { return IsWindowVisible(GetDlgItem(dialog, PROGRESS)); }, 120000) ? dialog : nullptr;
}

// The same checks without the window: six threads calling CheckBookmark, each taking the next URL.
double BareChecks(const std::vector<std::string> &urls)
{
    std::atomic<size_t> next{0};
    auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> workers;
    for (int t = 0; t < THREADS; t++)
        workers.emplace_back([&] {
            char status[STATUS_TEXT_CAPACITY];
            for (size_t i = next++; i < urls.size(); i = next++)
                CheckBookmark(urls[i].c_str(), "", 0, 10, 10, status);
        });
    for (std::thread &worker : workers)
        worker.join();
    return Seconds(std::chrono::steady_clock::now() - start);
}

}  // namespace

int main(int argc, char **argv)
{
    int count = argc > 1 ? std::atoi(argv[1]) : URL_COUNT;
    int port = 0;
    HttpTestServer server([&port](const ReceivedRequest &r) { return LatencyMixAnswer(r, port, 0); });
    port = server.Port();
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string bookmarkPath = std::string(temp) + "tresk-verify-bench.htm";
    std::ofstream file(bookmarkPath, std::ios::binary);
    file << "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    long latencySumMs = 0;
    std::vector<std::string> urls;
    for (int i = 0; i < count; i++) {
        std::string path = PathFor(i);
        latencySumMs += LatencyMs(path);
        urls.push_back(server.Url(path));
        file << "<DT><A HREF=\"" << urls.back() << "\">Bookmark " << i << "</A>\n";
    }
    file << "</DL><p>\n";
    file.close();

    double ideal = latencySumMs / 1000.0 / THREADS;
    double bare = BareChecks(urls);
    std::printf("verify_window_bench: the same checks without the window %.2f s; wall/ideal %.3f\n", bare, bare / ideal);
    std::fflush(stdout);

    TreskProcess tresk;
    HWND dialog = OpenVerifyWindow(&tresk, bookmarkPath);
    if (!dialog) {
        std::fprintf(stderr, "verify_window_bench: the Verify window did not open\n");
        StopTresk(&tresk);
        return 1;
    }
    // Each look at the button is a message the window's thread must answer; its time is the window's answer time.
    using Clock = std::chrono::steady_clock;
    std::vector<double> answers;
    auto start = Clock::now();
    SendMessageA(dialog, WM_COMMAND, VERIFY_BUTTON, 0);
    for (;;) {
        auto asked = Clock::now();
        std::string button = ControlText(dialog, VERIFY_BUTTON);
        answers.push_back(Seconds(Clock::now() - asked) * 1000);
        if (button == "&Verify")
            break;
        Sleep(20);
    }
    double wall = Seconds(Clock::now() - start);
    std::sort(answers.begin(), answers.end());
    std::printf("verify_window_bench: %d bookmarks, %d threads, latency sum %.1f s: \"%s\"\n", count, THREADS,
                latencySumMs / 1000.0, ControlText(dialog, PROGRESS).c_str());
    std::printf("verify_window_bench: press to \"&Verify\" %.2f s; ideal %.2f s; wall/ideal %.3f; window answered "
                "%zu looks, median %.2f ms, 99th percentile %.2f ms, slowest %.2f ms\n",
                wall, ideal, wall / ideal, answers.size(), answers[answers.size() / 2],
                answers[answers.size() * 99 / 100], answers.back());
    StopTresk(&tresk);
    ResetTreskState();
    DeleteFileA(bookmarkPath.c_str());
    return 0;
}
