// The end-to-end driver: process start and stop, window and tray lookups, registry access.
#include "tests/e2e/driver.h"

#include <psapi.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <commctrl.h>

#include <cstring>
#include <fstream>

static const char PROGRAM_KEY[] = "Software\\Olvane\\Tresk";
static const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string WinePath(const std::string &unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string SourcePath(const std::string &relative)
{
    return WinePath(std::string(TRESK_SOURCE_DIR) + "/" + relative);
}

std::string TreskExePath()
{
    return WinePath(TRESK_EXE_UNIX_PATH);
}

// A copy of tresk.exe that runs already, for instance one that Wine started from the Run value when the
// session began, would turn the test's start into a second start. Only processes of tresk.exe are ended.
static void StopStrayTresk()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        HWND window = FindWindowA("Tresk", "Tresk");
        if (!window)
            return;
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, processId);
        if (!process)
            return;
        char image[MAX_PATH] = "";
        GetProcessImageFileNameA(process, image, sizeof image);
        size_t length = strlen(image);
        bool isTresk = length >= 10 && _stricmp(image + length - 10, "\\tresk.exe") == 0;
        if (isTresk) {
            TerminateProcess(process, 98);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
        if (!isTresk)
            return;
    }
}

void ResetTreskState()
{
    StopStrayTresk();
    SHDeleteKeyA(HKEY_CURRENT_USER, PROGRAM_KEY);
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RUN_KEY, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
        RegDeleteValueA(run, "Tresk");
        RegCloseKey(run);
    }
}

static HKEY CreateProgramKey()
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, PROGRAM_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void SetTreskDword(const char *name, DWORD value)
{
    HKEY key = CreateProgramKey();
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
    RegCloseKey(key);
}

void SetTreskString(const char *name, const char *value)
{
    HKEY key = CreateProgramKey();
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

static bool ReadValue(const char *path, const char *name, DWORD expectedType, std::string *data)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == expectedType;
    if (ok) {
        data->assign(size, '\0');
        ok = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(&(*data)[0]), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}

bool ReadTreskDword(const char *name, DWORD *value)
{
    std::string data;
    if (!ReadValue(PROGRAM_KEY, name, REG_DWORD, &data) || data.size() != sizeof(DWORD))
        return false;
    std::memcpy(value, data.data(), sizeof(DWORD));
    return true;
}

// String values are returned as stored, terminating NUL and any bytes after it included.
bool ReadTreskString(const char *name, std::string *value)
{
    return ReadValue(PROGRAM_KEY, name, REG_SZ, value);
}

bool ReadRunValue(std::string *value)
{
    return ReadValue(RUN_KEY, "Tresk", REG_SZ, value);
}

bool ReadTreskSubkeyValue(const char *subkey, const char *name, DWORD type, std::string *data)
{
    return ReadValue((std::string(PROGRAM_KEY) + "\\" + subkey).c_str(), name, type, data);
}

bool StartTresk(TreskProcess *process, const std::string &tail)
{
    std::string commandLine = "\"" + TreskExePath() + "\"" + tail;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process->info) != FALSE;
}

int WaitForExit(const TreskProcess &process, int timeoutMs)
{
    if (WaitForSingleObject(process.info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.info.hProcess, &code);
    return static_cast<int>(code);
}

bool IsRunning(const TreskProcess &process)
{
    return process.info.hProcess && WaitForSingleObject(process.info.hProcess, 0) == WAIT_TIMEOUT;
}

void StopTresk(TreskProcess *process)
{
    if (!process->info.hProcess)
        return;
    if (IsRunning(*process)) {
        TerminateProcess(process->info.hProcess, 99);
        WaitForSingleObject(process->info.hProcess, 5000);
    }
    CloseHandle(process->info.hProcess);
    CloseHandle(process->info.hThread);
    process->info = {};
}

struct WindowQuery {
    DWORD processId;
    const char *className;
    const char *caption;
    bool mustBeVisible;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    auto *query = reinterpret_cast<WindowQuery *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId)
        return TRUE;
    char text[256];
    GetClassNameA(window, text, sizeof text);
    if (strcmp(text, query->className) != 0)
        return TRUE;
    if (query->caption) {
        GetWindowTextA(window, text, sizeof text);
        if (strcmp(text, query->caption) != 0)
            return TRUE;
    }
    if (query->mustBeVisible && !IsWindowVisible(window))
        return TRUE;
    query->found = window;
    return FALSE;
}

HWND WaitForWindow(const TreskProcess &process, const char *className, const char *caption, int timeoutMs,
                   bool mustBeVisible)
{
    for (int waited = 0;; waited += 50) {
        WindowQuery query = {process.info.dwProcessId, className, caption, mustBeVisible, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found || waited >= timeoutMs)
            return query.found;
        Wait(50);
    }
}

HWND WaitForMessageBox(const TreskProcess &process, int timeoutMs)
{
    return WaitForWindow(process, "#32770", "Tresk", timeoutMs, true);
}

HWND WaitForMainWindow(const TreskProcess &process, int timeoutMs)
{
    return WaitForWindow(process, "Tresk", "Tresk", timeoutMs);
}

bool TrayIconExists(HWND owner, UINT id)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = id;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

bool WaitForTrayIcon(HWND owner, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (TrayIconExists(owner))
            return true;
        Wait(100);
    }
    return false;
}

std::string MessageBoxText(HWND box)
{
    char text[1024] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    return text;
}

// Wine keeps hidden "#32768" windows around, so the visible one is searched among all of them.
static BOOL CALLBACK MatchVisibleMenu(HWND window, LPARAM parameter)
{
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32768") != 0 || !IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND *>(parameter) = window;
    return FALSE;
}

HWND WaitForPopupMenu(int timeoutMs)
{
    for (int waited = 0;; waited += 50) {
        HWND menu = nullptr;
        EnumWindows(MatchVisibleMenu, reinterpret_cast<LPARAM>(&menu));
        if (menu || waited >= timeoutMs)
            return menu;
        Wait(50);
    }
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
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process)
        CloseHandle(process);
    return texts;
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

// Wine gives no handle to wait on for a Unix program: its output file is renamed into place when it is done.
std::string PointerShape()
{
    std::string output = "/tmp/tresk-e2e-" + std::to_string(GetCurrentProcessId()) + ".cursor";
    std::string line = "Z:\\bin\\sh -c \"python3 " TRESK_SOURCE_DIR "/tests/e2e/x11_cursor.py > " + output +
                       ".part; mv " + output + ".part " + output + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return "";
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    std::string shape;
    for (int waited = 0; waited < 20000 && !std::getline(std::ifstream(WinePath(output)), shape); waited += 100)
        Wait(100);
    DeleteFileA(WinePath(output).c_str());
    return shape;
}

static std::string NextToTest(const char *name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self = path;
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

static std::string RecorderLog()
{
    return NextToTest("url_recorder.log");
}

LaunchRecorder::LaunchRecorder(const char *scheme) : scheme(scheme)
{
    char previous[1024] = "";
    LONG size = sizeof previous;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, (this->scheme + "\\shell\\open\\command").c_str(), previous, &size) ==
        ERROR_SUCCESS)
        previousCommand = previous;
    SetHandler(("\"" + NextToTest("e2e_url_recorder.exe") + "\" \"%1\"").c_str());
    DeleteFileA(RecorderLog().c_str());
}

LaunchRecorder::~LaunchRecorder()
{
    if (previousCommand.empty())
        SHDeleteKeyA(HKEY_CLASSES_ROOT, scheme.c_str());
    else
        SetHandler(previousCommand.c_str());
    DeleteFileA(RecorderLog().c_str());
}

void LaunchRecorder::SetHandler(const char *command)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CLASSES_ROOT, scheme.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1);
    RegSetValueA(key, "shell\\open\\command", REG_SZ, command, static_cast<DWORD>(std::strlen(command)));
    RegCloseKey(key);
}

std::string LaunchRecorder::Next(int timeoutMs)
{
    for (int waited = 0;; waited += 100) {
        std::ifstream log(RecorderLog());
        std::string line;
        for (size_t i = 0; std::getline(log, line); i++)
            if (i == taken)
                return taken++, line;
        if (waited >= timeoutMs)
            return "";
        Wait(100);
    }
}

void Wait(int milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD now = GetTickCount();
        if (static_cast<int>(end - now) <= 0)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}
