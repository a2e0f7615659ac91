// The end-to-end driver: process start and stop, window, menu and tray lookups, registry access, scratch
// files, the recorder's log and scripts outside Wine.
#include "tests/e2e/driver.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
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

bool ReadUserString(const char *key, const char *name, std::string *value)
{
    DWORD type = 0, size = 0;
    if (SHGetValueA(HKEY_CURRENT_USER, key, name, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    value->assign(size, '\0');
    return SHGetValueA(HKEY_CURRENT_USER, key, name, nullptr, &(*value)[0], &size) == ERROR_SUCCESS;
}

bool ReadTreskDword(const char *name, DWORD *value)
{
    DWORD type = 0, size = sizeof *value;
    return SHGetValueA(HKEY_CURRENT_USER, TRESK_KEY, name, &type, value, &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof *value;
}

static std::string wineFavorites;  // the prefix's own value, read before the first change

void UseFavoritesAndHotlist(const std::string &favorites, const std::string &hotlist)
{
    if (wineFavorites.empty())
        ReadUserString(SHELL_FOLDERS_KEY, "Favorites", &wineFavorites);
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
    if (!wineFavorites.empty())
        SetUserValue(SHELL_FOLDERS_KEY, "Favorites", REG_SZ, wineFavorites.data(), wineFavorites.size());
    DeleteFileA(OPERA_INI);
}

static bool Launch(std::string commandLine, PROCESS_INFORMATION *info)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, info);
}

bool StartTresk(TreskProcess *process, const std::string &tail)
{
    return Launch("\"" + TreskExePath() + "\"" + tail, &process->info);
}

HWND StartTreskAndWait(TreskProcess *process, bool withIcon, const std::string &tail)
{
    HWND window = StartTresk(process, tail) ? WaitForMainWindow(*process, START_TIMEOUT) : nullptr;
    if (window && withIcon && !WaitForTrayIcon(window, START_TIMEOUT))
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
                   bool mustBeVisible, const std::vector<HWND> &known)
{
    HWND found = nullptr;
    auto matches = [&] {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        return (!process.info.dwProcessId || owner == process.info.dwProcessId) &&
               (!mustBeVisible || IsWindowVisible(found)) && !std::count(known.begin(), known.end(), found);
    };
    WaitUntil([&] {
        while ((found = FindWindowExA(nullptr, found, className, caption)) && !matches()) {
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

bool TrayIconExists(HWND owner, UINT id)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = id;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

std::string MessageBoxText(HWND box)
{
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    return text;
}

std::string AnswerMessageBox(const TreskProcess &process, int button, HWND *owner)
{
    HWND box = WaitForMessageBox(process, START_TIMEOUT);
    if (!box)
        return "(no message box)";
    std::string text = MessageBoxText(box);
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

std::string LaunchFromMenu(HWND window, const std::vector<UINT> &keys, bool byHotKey)
{
    std::string command = "\"" + WinePath(TRESK_E2E_RECORDER) + "\" \"%1\"";
    std::string log = WinePath(TRESK_E2E_RECORDER_LOG), launch;
    SHSetValueA(HKEY_CLASSES_ROOT, "tresktest\\shell\\open\\command", nullptr, REG_SZ, command.c_str(),
                static_cast<DWORD>(command.size() + 1));
    DeleteFileA(log.c_str());
    PostMessageA(window, byHotKey ? WM_HOTKEY : WM_USER + 2, byHotKey, byHotKey ? 0 : WM_LBUTTONUP);
    HWND menu = WaitForPopupMenu(5000);
    PostMenuKeys(menu, keys);
    WaitUntil([&] { return menu && std::getline(std::ifstream(log), launch).good(); }, 5000);
    CloseMenu(window, menu);
    return launch;
}

// Menu mode ends on a cancel-mode message, one nested menu at a time.
bool CloseMenu(HWND window, HWND menu)
{
    return WaitUntil([&] {
        PostMessageA(window, WM_CANCELMODE, 0, 0);
        Wait(100);
        return !IsWindowVisible(menu);
    }, 5000);
}

bool RunUnixShell(const std::string &script, int timeoutMs)
{
    static int runs = 0;
    std::string mark = TRESK_E2E_SCRATCH "/done-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++runs);
    PROCESS_INFORMATION info = {};
    if (!Launch("Z:\\bin\\sh -c \"(" + script + "); echo $? >" + mark + ".part; mv " + mark + ".part " + mark + "\"",
                &info))
        return false;
    CloseHandle(info.hProcess);  // no use: Wine's handle cannot wait for a Unix program
    CloseHandle(info.hThread);
    std::string status, done = WinePath(mark);
    WaitUntil([&] { return std::getline(std::ifstream(done), status).good(); }, timeoutMs);
    DeleteFileA(done.c_str());
    return status == "0";
}
