// The end-to-end driver: process start and stop, window, menu and tray lookups, registry access, scratch
// files, the recorder's log and scripts outside Wine.
#include "tests/e2e/driver.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <fstream>

static const char SHELL_FOLDERS_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
static const char OPERA_INI[] = "C:\\windows\\opera.ini";  // where the profile functions look for it

std::string WinePath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void SetUserValue(const char *key, const char *name, DWORD type, const void *data, size_t size)
{
    SHSetValueA(HKEY_CURRENT_USER, key, name, type, data, static_cast<DWORD>(size));
}

std::string UserValue(const std::string &key, const char *name)
{
    DWORD type = 0, size = 0;
    if (SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, &type, nullptr, &size) != ERROR_SUCCESS)
        return "<missing>";
    std::string data(size, '\0');
    SHGetValueA(HKEY_CURRENT_USER, key.c_str(), name, nullptr, &data[0], &size);
    DWORD number = 0;
    if (type == REG_DWORD && size == sizeof number)
        return std::to_string((std::memcpy(&number, data.data(), size), number));
    return type == REG_SZ ? data : std::to_string(size) + " bytes";
}

std::string UserFolder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

static std::string wineFavorites;  // the prefix's own value, read before the first change

void UseFavoritesAndHotlist(const std::string &favorites, const std::string &hotlist)
{
    if (wineFavorites.empty())
        wineFavorites = UserValue(SHELL_FOLDERS_KEY, "Favorites");
    SetUserValue(SHELL_FOLDERS_KEY, "Favorites", REG_SZ, favorites.c_str(), favorites.size() + 1);
    WriteTextFile(OPERA_INI, "[User Prefs]\r\nHot List File Ver2=" + hotlist + "\r\n");
}

void ResetTreskState()
{
    // A copy that runs already, for instance one that Wine started from the Run value when the session
    // began, would turn the test's start into a second start.
    DWORD id = 0;
    GetWindowThreadProcessId(FindWindowA("Tresk", "Tresk"), &id);
    TreskProcess stray;
    stray.info.hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    StopTresk(&stray);
    SHDeleteKeyA(HKEY_CURRENT_USER, TRESK_KEY);
    SHDeleteValueA(HKEY_CURRENT_USER, RUN_KEY, "Tresk");
    if (!wineFavorites.empty() && wineFavorites != "<missing>")
        SetUserValue(SHELL_FOLDERS_KEY, "Favorites", REG_SZ, wineFavorites.data(), wineFavorites.size());
    DeleteFileA(OPERA_INI);
}

bool StartProgram(std::string commandLine, PROCESS_INFORMATION *info)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, info);
}

bool StartTresk(TreskProcess *process, const std::string &tail)
{
    return StartProgram("\"" + TreskExePath() + "\"" + tail, &process->info);
}

HWND StartTreskAndWait(TreskProcess *process, const std::string &tail)
{
    HWND window = StartTresk(process, tail) ? WaitForMainWindow(*process, START_TIMEOUT) : nullptr;
    if (window && !WaitForTrayIcon(window, START_TIMEOUT))
        return nullptr;
    Wait(1000);  // the first refresh ends after the icon is there
    return window;
}

int WaitForExit(const TreskProcess &process, int timeoutMs)
{
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.info.hProcess, &code);
    return static_cast<int>(code);
}

void StopTresk(TreskProcess *process)
{
    if (IsRunning(*process) && TerminateProcess(process->info.hProcess, 99))
        WaitForSingleObject(process->info.hProcess, 5000);
    CloseHandle(process->info.hProcess);
    CloseHandle(process->info.hThread);
    process->info = {};
}

bool WaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs))
            return false;
    return true;
}

HWND WaitForWindow(const TreskProcess &process, const char *className, const char *caption, int timeoutMs,
                   bool mustBeVisible)
{
    HWND found = nullptr;
    auto matches = [&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        return (!process.info.dwProcessId || owner == process.info.dwProcessId) &&
               (!mustBeVisible || IsWindowVisible(found));
    };
    WaitUntil([&] {
        while ((found = FindWindowExA(nullptr, found, className, caption)) && !matches()) {
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

bool TrayIconExists(HWND owner)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

std::string AnswerMessageBox(const TreskProcess &process, int button, HWND *owner)
{
    HWND box = WaitForWindow(process, "#32770", "Tresk", START_TIMEOUT, true);
    if (!box)
        return "(no message box)";
    std::string text = ControlText(box, 0xFFFF);  // the message box's text control
    if (owner)
        *owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntil([&] { return !IsWindow(box); }, START_TIMEOUT);
    return text;
}

void PostMenuKeys(HWND menu, const std::vector<UINT> &virtualKeys)
{
    for (UINT key : virtualKeys) {
        PostMessageA(menu, WM_KEYDOWN, key, 1);
        PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
        Wait(100);
    }
}

// Character messages alone: a posted key-down would become a second character in the receiver's loop.
void PostTypedText(HWND window, const std::string &text)
{
    for (char c : text)
        PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
    Wait(100);
}

// The item structure and the text go into the list's own process, where the list can write to them.
std::vector<std::string> ListViewColumn(HWND list, int subItem)
{
    std::vector<std::string> texts;
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    char text[1100];
    char *remote = static_cast<char *>(VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + sizeof text, MEM_COMMIT,
                                                      PAGE_READWRITE));
    LVITEMA request = {};
    request.iSubItem = subItem;
    request.pszText = remote + sizeof(LVITEMA);
    request.cchTextMax = sizeof text;
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; remote && item < count && WriteProcessMemory(process, remote, &request, sizeof request, nullptr);
         item++) {
        text[0] = '\0';
        if (SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(remote)) > 0)
            ReadProcessMemory(process, request.pszText, text, sizeof text - 1, nullptr);
        texts.push_back(text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);  // both fail harmlessly on null
    CloseHandle(process);
    return texts;
}

void ClickListHeader(HWND list, int column)
{
    // The middle of the column: near its edges a press starts sizing it.
    int x = static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)) / 2;
    for (int left = 0; left < column; left++)
        x += static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, left, 0));
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 4));
    PostMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(x, 4));
}

std::string ControlText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

int CountScreenPixels(const RECT &area, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = area.top; y < area.bottom; y++)
        for (int x = area.left; x < area.right; x++)
            count += GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return count;
}

std::string PointerShape()
{
    std::string output = TRESK_E2E_SCRATCH "/pointer-" + std::to_string(GetCurrentProcessId());
    std::string shape;
    if (RunUnixShell("python3 " TRESK_SOURCE_DIR "/tests/e2e/x11_cursor.py > " + output))
        std::getline(std::ifstream(WinePath(output)), shape);
    DeleteFileA(WinePath(output).c_str());
    return shape;
}

static std::string RecorderLog() { return WinePath(TRESK_E2E_RECORDER_LOG); }

static size_t launchesTaken;

// No handler needs to come back: the prefix is the build tree's own.
void RecordLaunches()
{
    std::string command = "\"" + WinePath(TRESK_E2E_RECORDER) + "\" \"%1\"";
    for (const char *scheme : {"http", "tresktest"}) {
        HKEY key;
        RegCreateKeyExA(HKEY_CLASSES_ROOT, scheme, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1);
        RegSetValueA(key, "shell\\open\\command", REG_SZ, command.c_str(), static_cast<DWORD>(command.size()));
        RegCloseKey(key);
    }
    DeleteFileA(RecorderLog().c_str());
    launchesTaken = 0;
}

std::string NextLaunch(int timeoutMs)
{
    for (int waited = 0;; waited += 100) {
        std::ifstream log(RecorderLog());
        std::string line;
        for (size_t i = 0; std::getline(log, line); i++)
            if (i == launchesTaken)
                return launchesTaken++, line;
        if (waited >= timeoutMs)
            return "";
        Wait(100);
    }
}

std::string ScratchFolder(const std::string &name)
{
    std::string path = TRESK_E2E_SCRATCH "/" + name;
    RunUnixShell("rm -rf '" + path + "' && mkdir -p '" + path + "'");
    return WinePath(path);
}

void WriteTextFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

HWND OpenBookmarkMenu(HWND window)
{
    PostMessageA(window, WM_USER + 2, 0, WM_LBUTTONUP);
    return WaitForPopupMenu(5000);
}

void CloseMenus(HWND window, HWND menu)
{
    // Menu mode ends on a cancel-mode message, one nested menu at a time.
    WaitUntil([&] {
        PostMessageA(window, WM_CANCELMODE, 0, 0);
        Wait(100);
        return !IsWindowVisible(menu);
    }, 5000);
}

std::string LaunchFromMenu(HWND window, const std::vector<UINT> &keys)
{
    RecordLaunches();
    HWND menu = OpenBookmarkMenu(window);
    PostMenuKeys(menu, keys);
    std::string launch = menu ? NextLaunch(5000) : "";
    CloseMenus(window, menu);
    return launch;
}

void ChooseFromTrayMenu(HWND window, const std::vector<UINT> &keys)
{
    PostMessageA(window, WM_USER + 2, 0, WM_RBUTTONUP);
    if (HWND menu = WaitForPopupMenu(5000))
        PostMenuKeys(menu, keys);
}

bool RunUnixShell(const std::string &script, int timeoutMs)
{
    static int runs = 0;
    std::string mark = TRESK_E2E_SCRATCH "/done-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++runs);
    PROCESS_INFORMATION info = {};
    if (!StartProgram("Z:\\bin\\sh -c \"(" + script + "); echo $? >" + mark + ".part; mv " + mark + ".part " + mark + "\"",
                &info))
        return false;
    CloseHandle(info.hProcess);  // no use: Wine's handle cannot wait for a Unix program
    CloseHandle(info.hThread);
    std::string status, done = WinePath(mark);
    WaitUntil([&] { return std::getline(std::ifstream(done), status).good(); }, timeoutMs);
    DeleteFileA(done.c_str());
    return status == "0";
}
