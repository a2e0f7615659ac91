// End to end: the release's installer and uninstaller, silent, around a running Tresk: what they leave
// behind, and the user's bookmark file that they must never touch.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const int TIMEOUT = 30000;
const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tresk";

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const char *path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The file's bytes and last write time, to tell that nothing wrote to it.
std::string Fingerprint(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        return "<missing>";
    std::ostringstream text;
    text << attributes.ftLastWriteTime.dwHighDateTime << ':' << attributes.ftLastWriteTime.dwLowDateTime << '\n'
         << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// The program's version resource, as "major.minor".
std::string ProgramVersion(const std::string &path)
{
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::string data(size, '\0');
    VS_FIXEDFILEINFO *info = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoA(path.c_str(), 0, size, &data[0]) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&info), &length))
        return "<none>";
    return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS));
}

// Runs a program to its end; its exit code, or -1.
int RunToEnd(const std::string &commandLine)
{
    TreskProcess process;
    int code = StartProgram(commandLine, &process.info) ? WaitForExit(process, TIMEOUT) : -1;
    StopTresk(&process);
    return code;
}

const std::string SETUP = "\"" + WinePath(TRESK_SETUP_UNIX_PATH) + "\" /S";

TEST(InstallerEndToEnd, SilentInstallOverAndRemovalOfARunningTreskLeaveNoTraceAndTheBookmarksAlone)
{
    ResetTreskState();
    const std::string programs = UserFolder(CSIDL_LOCAL_APPDATA) + "\\Programs";
    const std::string folder = programs + "\\Tresk", exe = folder + "\\tresk.exe";
    const std::string shortcut = UserFolder(CSIDL_PROGRAMS) + "\\Tresk.lnk";
    // The bookmark file lies beside the program's folder, where a careless removal would reach it.
    const std::string bookmarks = programs + "\\bookmark.htm";
    CreateDirectoryA(programs.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(SourcePath("tests/data/sample-bookmarks.htm").c_str(), bookmarks.c_str(), FALSE));
    const std::string bookmarksBefore = Fingerprint(bookmarks);
    SetTreskString("Bookmark Filename", bookmarks.c_str());
    SetTreskDword("Menu Style", 3);
    SetTreskDword("Tray Icon", 1);
    SetUserValue(RUN_KEY, "Tresk", REG_SZ, "on", 3);  // start with Windows is on

    ASSERT_EQ(RunToEnd(SETUP), 0) << "silent install: " << SETUP;
    EXPECT_TRUE(Exists(exe));
    EXPECT_TRUE(Exists(folder + "\\uninstall.exe"));
    EXPECT_EQ(ProgramVersion(exe), TRESK_VERSION) << "the version resource and the release differ";
    // The shortcut's link information spells out its target's path.
    std::string link = Fingerprint(shortcut), target = exe;
    CharLowerBuffA(&link[0], static_cast<DWORD>(link.size()));
    CharLowerBuffA(&target[0], static_cast<DWORD>(target.size()));
    EXPECT_NE(link.find(target), std::string::npos) << "Start menu shortcut";
    const std::string uninstall = "\"" + folder + "\\uninstall.exe\"";
    const std::pair<const char *, std::string> entry[] = {{"DisplayName", "Tresk"}, {"DisplayVersion", TRESK_VERSION},
                                                          {"Publisher", "Olvane"}, {"UninstallString", uninstall}};
    for (const auto &[name, expected] : entry)
        EXPECT_EQ(UserValue(UNINSTALL_KEY, name), expected + '\0') << name;
    EXPECT_GE(atoi(UserValue(UNINSTALL_KEY, "EstimatedSize").c_str()), 100) << "KB: the program alone is more";

    // Installing again over a running copy asks it to close instead of failing on its locked file.
    TreskProcess tresk;
    ASSERT_TRUE(StartProgram("\"" + exe + "\"", &tresk.info));
    ASSERT_TRUE(WaitForTrayIcon(WaitForMainWindow(tresk, TIMEOUT), TIMEOUT)) << "the installed copy shows no icon";
    ASSERT_EQ(RunToEnd(SETUP), 0) << "install over the running copy";
    EXPECT_EQ(WaitForExit(tresk, 0), 0) << "the running copy was not closed through its window";
    StopTresk(&tresk);

    ASSERT_TRUE(StartProgram("\"" + exe + "\"", &tresk.info));
    HWND window = WaitForMainWindow(tresk, TIMEOUT);
    ASSERT_TRUE(WaitForTrayIcon(window, TIMEOUT)) << "the reinstalled copy shows no icon";
    std::string run = UserValue(RUN_KEY, "Tresk");
    EXPECT_NE(run.find(exe), std::string::npos) << "start with Windows names the installed copy: " << run;

    // The uninstaller copies itself away and runs from there: done when the folder, removed last, is gone.
    ASSERT_EQ(RunToEnd(uninstall + " /S"), 0);
    EXPECT_TRUE(WaitUntil([&] { return !Exists(folder); }, TIMEOUT)) << "program folder";
    EXPECT_EQ(WaitForExit(tresk, TIMEOUT), 0) << "the running copy was not closed through its window";
    EXPECT_FALSE(TrayIconExists(window));
    EXPECT_FALSE(Exists(shortcut));
    EXPECT_FALSE(KeyExists(UNINSTALL_KEY));
    EXPECT_EQ(UserValue(RUN_KEY, "Tresk"), "<missing>");
    EXPECT_FALSE(KeyExists("Software\\Olvane\\Tresk")) << "settings";
    EXPECT_TRUE(Fingerprint(bookmarks) == bookmarksBefore) << "the bookmark file was touched";

    StopTresk(&tresk);
    DeleteFileA(bookmarks.c_str());
    ResetTreskState();
}

}  // namespace
