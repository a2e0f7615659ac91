// The fatal error report as the user meets it, in a child process for each code: a message box owned by the main
// window, then the tray icon gone and the code as the exit code.
#include <windows.h>
#include <process.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ShowFatalError, ShowsTheMessageRemovesTheTrayIconAndExitsWithTheCode)
{
    const struct { int code; const char *text; } rows[] = {
        {11, "Cannot access 'HKEY_CURRENT_USER\\Software\\Olvane\\Tresk' registry key.  Error Code: 4321"},
        {12, "An error occurred while parsing the bookmark file: C:\\data\\bookmark.htm"},
    };
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::strcpy(std::strrchr(self, '\\') + 1, "fatal_error_child.exe");
    for (const auto &row : rows) {
        const std::string code = std::to_string(row.code);
        auto child = reinterpret_cast<HANDLE>(_spawnl(_P_NOWAIT, self, "child", code.c_str(), nullptr));
        HWND box = nullptr;
        for (int waited = 0; !box && waited < 20000 && WaitForSingleObject(child, 50); waited += 50)
            box = FindWindowA("#32770", "Tresk Fatal Error");
        char text[600] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_EQ(std::string(text), row.text) << "code " << code;
        EXPECT_EQ(GetWindow(box, GW_OWNER), FindWindowA("Tresk", nullptr)) << "code " << code << ": main window";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (WaitForSingleObject(child, 20000) != WAIT_OBJECT_0)
            TerminateProcess(child, 999);
        DWORD exitCode = 0;
        GetExitCodeProcess(child, &exitCode);
        EXPECT_EQ(exitCode, static_cast<DWORD>(row.code)) << "98: no tray icon at first, 99: it outlived the report";
        CloseHandle(child);
    }
}
