// Win32 helpers of the GUI tests: waits and message pumps, message boxes, menus driven by posted keys, the
// clipboard, the program's own shell with watched messages, memory canvases and the browser launches that
// a recorder program notes. Redirected imports: tests/support/import_redirect_win.h.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// A hidden top-level window of this thread, to own menus and receive the private messages.
HWND CreateTestWindow();
// Pumps this thread's messages until `done` is true or `milliseconds` pass; true when done. The private
// messages (WM_USER and above) stay queued for the test to look at.
bool PumpUntil(const std::function<bool()> &done, DWORD milliseconds);
// Runs every message of this thread, the private ones too, for `milliseconds`.
void PumpAll(DWORD milliseconds);
// Removes every `message` queued for `window` within `milliseconds`, pumping the rest; returns how many.
int CountPostedMessages(HWND window, UINT message, DWORD milliseconds);
// The number of threads of this process.
int CountProcessThreads();

// A thread that waits for a dialog of this process whose title starts with `titlePrefix`, records its
// title and text (its longest label), and answers it: with the button `answer` (IDOK, IDYES, IDNO), or by
// running `act` on it (on the answering thread: post or send to the dialog, never to the test thread's
// own windows). `boxes` counts the dialogs answered.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer(const char *titlePrefix, int answer);
    MessageBoxAnswerer(const char *titlePrefix, std::function<void(HWND)> act);
    ~MessageBoxAnswerer();
    bool Answered() const { return boxes > 0; }
    std::string title, text;
    std::atomic<int> boxes{0};

private:
    std::string prefix;
    std::function<void(HWND)> act;
    std::atomic<bool> stop{false};
    std::thread worker;
};

// One step of a menu driven from another thread: a key (WM_KEYDOWN of a virtual key, WM_CHAR of a
// character) posted to the top open menu, or a function run on the driving thread.
struct MenuStep {
    UINT message;
    WPARAM wParam;
    std::function<void()> run;
};
inline MenuStep Key(WPARAM virtualKey) { return {WM_KEYDOWN, virtualKey, nullptr}; }
inline MenuStep Char(char c) { return {WM_CHAR, static_cast<unsigned char>(c), nullptr}; }
inline MenuStep Act(std::function<void()> run) { return {0, 0, std::move(run)}; }
// Runs `open`, which opens a popup menu and returns once it closes, while another thread waits for the menu
// to show and takes the steps with a pause before each while a menu is open; at the end, Escape closes
// whatever menu is still open, so that no test hangs in a menu loop. Answers what `open` returned.
int DriveMenu(std::vector<MenuStep> steps, const std::function<int()> &open, DWORD pauseMs = 150);
// The visible popup-menu windows (class "#32768"), the one opened last first.
std::vector<HWND> VisibleMenuWindows();
// The CF_TEXT text on the clipboard, or "<no text>".
std::string ReadClipboardText();

// Appends records as a reader does: "[Name" opens a folder, "]" closes it, "-" is a separator, anything
// else is a bookmark of that name at "tresktest://name/".
void AppendLines(int source, const std::vector<std::string> &lines);
// The program's shell as its start sets it up (main window, icon sets, popup menus, colour caches,
// nested menus); the test links tresk_res_obj for the program's resources.
void StartTestShell();
// Records every one of `messages` that `window` handles, with its lParam and result (one window per test
// program; a new call replaces the list and clears the record).
struct SeenMessage {
    UINT message;
    LPARAM lParam;
    LRESULT result;
};
extern std::vector<SeenMessage> seenMessages;
void WatchMessages(HWND window, std::vector<UINT> messages);

// A 32-bit memory device context to draw into and read pixels back from.
struct Canvas {
    Canvas(int width, int height, COLORREF background);
    ~Canvas();
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    int Count(RECT area, COLORREF colour) const;  // pixels of that colour in area
    int width, height;
    HDC dc;
    HGDIOBJ previous;
};
// An icon's colour bits (its mask's when it has no colour), to tell pictures apart whatever the handles.
std::vector<BYTE> IconBits(HICON icon);

// Registers the recorder program as the handler of "tresktest:" URLs in this prefix and empties its log.
void StartRecordingLaunches();
// The next launch the recorder noted, as "url|show command", waiting up to `ms`; "" when none came.
std::string NextLaunch(DWORD ms = 15000);
