// Win32 helpers of the GUI tests.
#include "tests/support/win_test_helpers.h"

#include <tlhelp32.h>

#include <fstream>

#include "bookmarks/bookmark_table.h"

HWND CreateTestWindow()
{
    WNDCLASSA windowClass = {0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), 0, 0, 0, 0, "TreskTestWindow"};
    RegisterClassA(&windowClass);  // fails harmlessly once the class exists
    return CreateWindowA("TreskTestWindow", "Tresk test", WS_OVERLAPPEDWINDOW, -100, -100, 50, 50, nullptr, nullptr, nullptr, nullptr);
}

// Dispatches the messages `first` to `last` of this thread until `done` or `milliseconds` pass.
static bool Pump(UINT first, UINT last, const std::function<bool()> &done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG message; PeekMessageA(&message, nullptr, first, last, PM_REMOVE);)
            TranslateMessage(&message), DispatchMessageA(&message);
        if (done())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
    }
}

bool PumpUntil(const std::function<bool()> &done, DWORD milliseconds) { return Pump(0, WM_USER - 1, done, milliseconds); }

void PumpAll(DWORD milliseconds) { Pump(0, 0, [] { return false; }, milliseconds); }

int CountPostedMessages(HWND window, UINT message, DWORD milliseconds)
{
    int count = 0;
    PumpUntil([&] {
        for (MSG found; PeekMessageA(&found, window, message, message, PM_REMOVE);)
            count++;
        return false;
    }, milliseconds);
    return count;
}

int CountProcessThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {sizeof entry, 0, 0, 0, 0, 0, 0};
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Visible windows of the class, the topmost first: top-level ones, or the children of `parent`.
static std::vector<HWND> Windows(const char *windowClass, HWND parent = nullptr)
{
    std::vector<HWND> found;
    for (HWND w = FindWindowExA(parent, nullptr, windowClass, nullptr); w; w = FindWindowExA(parent, w, windowClass, nullptr))
        if (IsWindowVisible(w))
            found.push_back(w);
    return found;
}

std::vector<HWND> VisibleMenuWindows() { return Windows("#32768"); }

// GetWindowText sends WM_GETTEXT to a window of another thread of this process and waits for it, so it
// is asked only of visible windows, whose threads run their modal loops.
static std::string WindowText(HWND window)
{
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

MessageBoxAnswerer::MessageBoxAnswerer(const char *titlePrefix, int answer)
    : MessageBoxAnswerer(titlePrefix, [answer](HWND box) { PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0); })
{
}

MessageBoxAnswerer::MessageBoxAnswerer(const char *titlePrefix, std::function<void(HWND)> act)
    : prefix(titlePrefix), act(std::move(act)), worker([this] {
          for (; !stop; Sleep(20))
              for (HWND box : Windows("#32770")) {
                  DWORD process = 0;
                  GetWindowThreadProcessId(box, &process);
                  if (process != GetCurrentProcessId() || WindowText(box).compare(0, prefix.size(), prefix))
                      continue;
                  Sleep(100);  // let the box finish its initialisation
                  title = WindowText(box);
                  text.clear();
                  for (HWND label : Windows("Static", box))  // the icon is a label without text
                      text = WindowText(label).size() > text.size() ? WindowText(label) : text;
                  this->act(box);
                  boxes++;
                  while (!stop && IsWindowVisible(box))
                      Sleep(20);
              }
      })
{
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    stop = true;
    worker.join();
}

int DriveMenu(std::vector<MenuStep> steps, const std::function<int()> &open, DWORD pauseMs)
{
    std::thread driver([steps, pauseMs] {
        for (DWORD start = GetTickCount(); VisibleMenuWindows().empty(); Sleep(20))
            if (GetTickCount() - start > 3000)
                return;
        for (const MenuStep &step : steps) {
            Sleep(pauseMs);
            std::vector<HWND> open = VisibleMenuWindows();
            if (open.empty())
                return;
            step.run ? step.run() : void(PostMessageA(open.front(), step.message, step.wParam, 0));
        }
        for (int round = 0; round < 3 && (Sleep(pauseMs), !VisibleMenuWindows().empty()); round++)
            for (HWND menu : VisibleMenuWindows())
                PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    int result = open();
    driver.join();
    return result;
}

std::string ReadClipboardText()
{
    std::string text = "<no text>";
    OpenClipboard(nullptr);
    HANDLE data = GetClipboardData(CF_TEXT);
    if (const char *bytes = data ? static_cast<const char *>(GlobalLock(data)) : nullptr)
        text = bytes, GlobalUnlock(data);
    CloseClipboard();
    return text;
}

void AppendLines(int source, const std::vector<std::string> &lines)
{
    ReaderCursor cursor;
    StartReading(cursor, source);
    for (const std::string &line : lines) {
        const char *kind = line[0] == '[' ? OPEN_FOLDER : line == "]" ? CLOSE_FOLDER : line == "-" ? SEPARATOR : nullptr;
        AppendRecord(cursor, kind == OPEN_FOLDER ? line.c_str() + 1 : kind ? kind : line.c_str(), kind ? kind : ("tresktest://" + line + "/").c_str());
    }
}

Canvas::Canvas(int width, int height, COLORREF background)
    : width(width), height(height), dc(CreateCompatibleDC(nullptr)), previous(SelectObject(dc, CreateBitmap(width, height, 1, 32, nullptr)))
{
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas()
{
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
}

int Canvas::Count(RECT area, COLORREF colour) const
{
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += At(x, y) == colour;
    return count;
}

std::vector<BYTE> IconBits(HICON icon)
{
    ICONINFO info;
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    HBITMAP picture = info.hbmColor ? info.hbmColor : info.hbmMask;
    BITMAP size;
    GetObjectA(picture, sizeof size, &size);
    std::vector<BYTE> bits(size_t(size.bmWidthBytes) * size.bmHeight);
    GetBitmapBits(picture, LONG(bits.size()), bits.data());
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bits;
}

// The recorder notes every launch in url_recorder.log beside itself: "url|show command" a line.
static std::string RecorderPath(const char *file)
{
    std::string path = std::string("Z:") + TRESK_URL_RECORDER;
    for (char &c : path)
        c = c == '/' ? '\\' : c;
    return path.substr(0, path.find_last_of('\\') + 1) + file;
}

static size_t launchesRead;

void StartRecordingLaunches()
{
    std::string command = "\"" + RecorderPath("url_recorder.exe") + "\" \"%1\"";
    RegSetValueA(HKEY_CLASSES_ROOT, "tresktest\\shell\\open\\command", REG_SZ, command.c_str(), DWORD(command.size()));
    DeleteFileA(RecorderPath("url_recorder.log").c_str());
    launchesRead = 0;
}

std::string NextLaunch(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50)) {
        std::ifstream log(RecorderPath("url_recorder.log"));
        std::string line;
        for (size_t i = 0; std::getline(log, line) && !log.eof(); i++)  // a line counts once its end is written
            if (i == launchesRead)
                return launchesRead++, line;
    }
    return "";
}
