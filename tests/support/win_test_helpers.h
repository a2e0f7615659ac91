// Win32 helpers of the GUI tests: a hidden owner window, message pumping, answering message boxes.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

// A hidden top-level window of this thread, to own menus and receive the private messages.
HWND CreateTestWindow();

// Pumps this thread's messages until `done` is true or `milliseconds` pass; true when done. The private
// messages (WM_USER and above) stay queued for the test to look at.
template <typename Done>
bool PumpUntil(Done done, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, WM_USER - 1, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Removes every `message` queued for `window` within `milliseconds`, pumping the rest; returns how many.
int CountPostedMessages(HWND window, UINT message, DWORD milliseconds);

// The number of threads of this process.
int CountProcessThreads();

// A thread that waits for a message box of this process whose title starts with `titlePrefix`, records
// its title and text, and answers it with the button `answer` (IDOK, IDYES, IDNO).
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer(const char *titlePrefix, int answer);
    ~MessageBoxAnswerer();
    bool Answered() const { return answered; }
    std::string title, text;
    int boxes = 0;  // message boxes answered so far

private:
    void Run();
    std::string prefix;
    int answer;
    std::atomic<bool> stop{false}, answered{false};
    std::thread worker;
};
