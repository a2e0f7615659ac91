// Win32 helpers of the GUI tests.
#include "tests/support/win_test_helpers.h"

#include <tlhelp32.h>

#include <vector>

HWND CreateTestWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TreskTestWindow";
        RegisterClassA(&windowClass);
        registered = true;
    }
    return CreateWindowA("TreskTestWindow", "Tresk test", WS_OVERLAPPEDWINDOW, -100, -100, 50, 50, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

int CountPostedMessages(HWND window, UINT message, DWORD milliseconds)
{
    int count = 0;
    PumpUntil([&] {
        MSG found;
        while (PeekMessageA(&found, window, message, message, PM_REMOVE))
            count++;
        return false;
    }, milliseconds);
    return count;
}

int CountProcessThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            count++;
    CloseHandle(snapshot);
    return count;
}

MessageBoxAnswerer::MessageBoxAnswerer(const char *titlePrefix, int answer)
    : prefix(titlePrefix), answer(answer), worker([this] { Run(); })
{
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    stop = true;
    worker.join();
}

struct BoxSearch {
    const std::string *prefix;
    HWND found;
};

// GetWindowText sends WM_GETTEXT to a window of another thread of this process, and waits for it: it
// is asked only of visible dialogs of this process, whose threads run their modal loops. Asking the
// test thread's own windows would deadlock once that thread waits for this one to end.
static BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
{
    BoxSearch *search = reinterpret_cast<BoxSearch *>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || std::string(className) != "#32770" || !IsWindowVisible(window))
        return TRUE;
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title).compare(0, search->prefix->size(), *search->prefix) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The box's text is the longest of its static controls (the icon is a static without text).
static BOOL CALLBACK CollectText(HWND child, LPARAM parameter)
{
    std::string *text = reinterpret_cast<std::string *>(parameter);
    char className[64] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        std::vector<char> buffer(4096);
        GetWindowTextA(child, buffer.data(), static_cast<int>(buffer.size()));
        if (std::string(buffer.data()).size() > text->size())
            *text = buffer.data();
    }
    return TRUE;
}

void MessageBoxAnswerer::Run()
{
    while (!stop) {
        BoxSearch search = {&prefix, nullptr};
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Sleep(100);  // let the box finish its initialisation
            char buffer[256] = "";
            GetWindowTextA(search.found, buffer, sizeof buffer);
            title = buffer;
            text.clear();
            EnumChildWindows(search.found, CollectText, reinterpret_cast<LPARAM>(&text));
            PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
            boxes++;
            answered = true;
            while (!stop && IsWindow(search.found))
                Sleep(20);
        }
        Sleep(20);
    }
}
