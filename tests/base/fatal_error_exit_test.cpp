// The fatal error report as the user meets it: a message box owned by the main window, then the code as
// the exit code. Each code runs in a child process.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Report {
    std::string title, text, ownerClass;
    bool iconWhileShown = false, iconAfterExit = true;
    int exitCode = -1;
};

struct BoxSearch {
    DWORD processId;
    HWND box;
};

// The shell answers an empty modify only for an icon it holds.
bool TrayIconExists(HWND owner)
{
    NOTIFYICONDATAA probe = {};
    probe.cbSize = NOTIFYICONDATAA_V1_SIZE;
    probe.hWnd = owner;
    probe.uID = 1;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
{
    auto *search = reinterpret_cast<BoxSearch *>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64];
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

Report RunChild(int code)
{
    Report report;
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self = path;
    std::string commandLine = "\"" + self.substr(0, self.find_last_of('\\') + 1) + "fatal_error_child.exe\" " +
                              std::to_string(code);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return report;
    BoxSearch search = {child.dwProcessId, nullptr};
    for (int waited = 0; waited < 20000 && !search.box; waited += 50) {
        EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (!search.box)
            Sleep(50);
    }
    if (search.box) {
        char text[600] = "";
        GetWindowTextA(search.box, text, sizeof text);
        report.title = text;
        GetDlgItemTextA(search.box, 0xFFFF, text, sizeof text);
        report.text = text;
        HWND owner = GetWindow(search.box, GW_OWNER);
        if (owner) {
            GetClassNameA(owner, text, sizeof text);
            report.ownerClass = text;
            report.iconWhileShown = TrayIconExists(owner);
        }
        PostMessageA(search.box, WM_COMMAND, IDOK, 0);
        WaitForSingleObject(child.hProcess, 20000);
        report.iconAfterExit = owner && TrayIconExists(owner);
    }
    if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(child.hProcess, 999);
    DWORD exitCode = 0;
    GetExitCodeProcess(child.hProcess, &exitCode);
    report.exitCode = static_cast<int>(exitCode);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    return report;
}

TEST(ShowFatalError, ShowsTheMessageAndExitsWithTheCode)
{
    const struct {
        int code;
        const char *text;
    } rows[] = {
        {1, "Out of Memory"},
        {3, "Cannot Read From File"},
        {11, "Cannot access 'HKEY_CURRENT_USER\\Software\\Olvane\\Tresk' registry key.  Error Code: 4321"},
        {12, "An error occurred while parsing the bookmark file: C:\\data\\bookmark.htm"},
    };
    for (const auto &row : rows) {
        Report report = RunChild(row.code);
        EXPECT_EQ(report.title, "Tresk Fatal Error") << "code " << row.code;
        EXPECT_EQ(report.text, row.text) << "code " << row.code;
        EXPECT_EQ(report.ownerClass, "Tresk") << "code " << row.code << ": the box is owned by the main window";
        EXPECT_EQ(report.exitCode, row.code);
        EXPECT_TRUE(report.iconWhileShown) << "code " << row.code;
        EXPECT_FALSE(report.iconAfterExit) << "code " << row.code << ": the tray icon outlived the report";
    }
}

}  // namespace
