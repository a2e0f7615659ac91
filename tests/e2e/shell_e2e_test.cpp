// End-to-end tests of the shell with the real tresk.exe: first start, second start, the tray icon
// setting, a hot key held elsewhere, and Exit. Each starts from a clean registry state; all but the
// first-start tests name the sample bookmark file, so that start-up does not stop to ask for one.
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

namespace {

const int START_TIMEOUT = 20000;
const char LOCATE_TEXT[] = "Please locate a valid file (usually 'bookmark.htm') that contains Netscape Bookmarks.";
const char CANNOT_RUN_TEXT[] = "Tresk cannot be run without knowing the location of a valid Netscape bookmarks file.";

class ShellEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ResetTreskState(); }
    void TearDown() override
    {
        StopTresk(&second);
        StopTresk(&tresk);
        ResetTreskState();
    }

    static void KnowSampleBookmarks()
    {
        SetTreskString("Bookmark Filename", SourcePath("tests/data/sample-bookmarks.htm").c_str());
    }

    // Starts Tresk and waits until start-up is over: settings saved and, unless hidden, the tray icon there.
    HWND StartAndWait(bool expectTrayIcon)
    {
        EXPECT_TRUE(StartTresk(&tresk));
        HWND window = WaitForMainWindow(tresk, START_TIMEOUT);
        EXPECT_NE(window, nullptr) << "no main window; process running: " << IsRunning(tresk)
                                   << ", exit code " << WaitForExit(tresk, 0);
        if (expectTrayIcon) {
            EXPECT_TRUE(WaitForTrayIcon(window, START_TIMEOUT)) << "no tray icon";
        } else {
            std::string version;
            for (int waited = 0; waited < START_TIMEOUT && !ReadTreskString("Version", &version); waited += 100)
                Wait(100);
            Wait(500);
        }
        return window;
    }

    TreskProcess tresk;
    TreskProcess second;
};

struct ExpectedDword {
    const char *name;
    DWORD value;
};

TEST_F(ShellEndToEnd, FirstStartStoresEveryDefaultAndTheRunValue)
{
    HWND window = StartAndWait(true);
    ASSERT_NE(window, nullptr);
    const ExpectedDword defaults[] = {
        {"Tray Icon", 1}, {"Refresh Menu", 1}, {"Limit Menu Items Per Column", 0}, {"Menu Items Per Column", 25},
        {"Limit Menu Item Width", 1}, {"Menu Item Width", 250}, {"Hot Key", 0x342}, {"Display Empty Folders", 1},
        {"Menu Style", 3}, {"Snap Menu Left", 0}, {"Sort Order", 0}, {"Startup Style", 1},
        {"Double-Click Action", 4008}, {"Use IE Favorites", 0}, {"Use Opera Hotlist", 0}, {"Icon Style", 3},
        {"Reposition Submenus", 1},
    };
    for (const ExpectedDword &expected : defaults) {
        DWORD value = 0xDEADBEEF;
        EXPECT_TRUE(ReadTreskDword(expected.name, &value)) << expected.name << " missing or not a 4-byte REG_DWORD";
        EXPECT_EQ(value, expected.value) << expected.name;
    }
    std::string text;
    ASSERT_TRUE(ReadTreskString("Bookmark Filename", &text));
    EXPECT_EQ(text.size(), 260u) << "the whole buffer is stored";
    EXPECT_EQ(text, std::string(260, '\0'));
    ASSERT_TRUE(ReadTreskString("Version", &text));
    EXPECT_EQ(text, std::string("1.22", 5));
    std::string location;
    ASSERT_TRUE(ReadTreskString("Program Location", &location));
    EXPECT_NE(location.find("tresk.exe"), std::string::npos) << location;
    EXPECT_EQ(location.back(), '\0');
    ASSERT_TRUE(ReadRunValue(&text)) << "no Run value";
    EXPECT_EQ(text, location);
    HWND box = WaitForMessageBox(tresk, START_TIMEOUT);
    ASSERT_NE(box, nullptr) << "a first start knows no bookmark file and must ask for one";
    EXPECT_EQ(MessageBoxText(box), LOCATE_TEXT);
}

TEST_F(ShellEndToEnd, FirstStartAsksForTheBookmarkFileAndCancelEndsTheProgram)
{
    HWND window = StartAndWait(true);
    ASSERT_NE(window, nullptr);
    HWND box = WaitForMessageBox(tresk, START_TIMEOUT);
    ASSERT_NE(box, nullptr) << "no request for the bookmark file";
    EXPECT_EQ(MessageBoxText(box), LOCATE_TEXT);
    EXPECT_EQ(GetWindow(box, GW_OWNER), window);
    EXPECT_EQ(WaitForWindow(tresk, "#32770", "Tresk Options", 0), nullptr) << "Options opened before the answer";
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    HWND options = WaitForWindow(tresk, "#32770", "Tresk Options", START_TIMEOUT, true);
    ASSERT_NE(options, nullptr) << "the answer did not open the Options dialog";
    EXPECT_EQ(GetWindow(options, GW_OWNER), window);
    HWND browse = WaitForWindow(tresk, "#32770", "Browse for Bookmarks File", START_TIMEOUT, true);
    ASSERT_NE(browse, nullptr) << "the file browser did not open by itself";
    EXPECT_EQ(GetWindow(browse, GW_OWNER), options) << "the file browser belongs over the Options dialog";
    PostMessageA(browse, WM_COMMAND, IDCANCEL, 0);
    for (int waited = 0; waited < START_TIMEOUT && IsWindow(browse); waited += 100)
        Wait(100);
    ASSERT_FALSE(IsWindow(browse));
    EXPECT_TRUE(IsRunning(tresk)) << "leaving the file browser must leave the Options dialog open";
    ASSERT_TRUE(IsWindowVisible(options));

    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    HWND farewell = WaitForMessageBox(tresk, START_TIMEOUT);
    ASSERT_NE(farewell, nullptr) << "Cancel without a bookmark file did not say why the program ends";
    EXPECT_EQ(MessageBoxText(farewell), CANNOT_RUN_TEXT);
    EXPECT_TRUE(IsRunning(tresk)) << "ended before the message was read";
    PostMessageA(farewell, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
}

TEST_F(ShellEndToEnd, SecondStartExitsAndOpensTheOptionsOfTheFirst)
{
    KnowSampleBookmarks();
    HWND window = StartAndWait(true);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(StartTresk(&second));
    HWND options = WaitForWindow(tresk, "#32770", nullptr, START_TIMEOUT, true);
    ASSERT_NE(options, nullptr) << "no Options dialog in the first copy";
    EXPECT_EQ(GetWindow(options, GW_OWNER), window);
    EXPECT_FALSE(WaitForWindow(second, "Tresk", nullptr, 0)) << "the second copy made a window";

    // The second copy sends its request, so it ends once the dialog it asked for has closed.
    PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(WaitForExit(second, START_TIMEOUT), 0);
    EXPECT_TRUE(IsRunning(tresk));
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

TEST_F(ShellEndToEnd, KeyWithMenuStyleButNoTrayIconStartsWithoutIcon)
{
    SetTreskDword("Menu Style", 1);
    KnowSampleBookmarks();
    HWND window = StartAndWait(false);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsRunning(tresk));
    EXPECT_FALSE(TrayIconExists(window));
    DWORD value = 1;
    ASSERT_TRUE(ReadTreskDword("Tray Icon", &value));
    EXPECT_EQ(value, 0u);
    ASSERT_TRUE(ReadTreskDword("Menu Style", &value));
    EXPECT_EQ(value, 1u) << "not a first start: the stored style stays";
    std::string run;
    EXPECT_FALSE(ReadRunValue(&run)) << "start with Windows is off when the Run value is absent";
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

TEST_F(ShellEndToEnd, HotKeyHeldElsewhereIsReportedAndTreskGoesOn)
{
    // Ctrl+Shift+Alt+K, held by this process; the control value has shift 1, control 2, alt 4 as flags.
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_SHIFT | MOD_ALT, 'K'));
    SetTreskDword("Menu Style", 3);
    SetTreskDword("Tray Icon", 1);
    SetTreskDword("Hot Key", 0x74B);
    KnowSampleBookmarks();
    ASSERT_TRUE(StartTresk(&tresk));
    HWND box = WaitForWindow(tresk, "#32770", "Tresk", START_TIMEOUT, true);
    ASSERT_NE(box, nullptr) << "no conflict message";
    EXPECT_EQ(MessageBoxText(box), "The Hot Key of Ctrl+Shift+Alt+K is already in use by another application.");
    HWND window = WaitForMainWindow(tresk, 0);
    EXPECT_EQ(GetWindow(box, GW_OWNER), window);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitForTrayIcon(window, START_TIMEOUT)) << "start-up did not go on";
    Wait(500);
    EXPECT_TRUE(IsRunning(tresk));
    UnregisterHotKey(nullptr, 7);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

TEST_F(ShellEndToEnd, ProgramLocationLosesOneTrailingBlank)
{
    KnowSampleBookmarks();
    ASSERT_TRUE(StartTresk(&tresk, " extra  "));
    HWND window = WaitForMainWindow(tresk, START_TIMEOUT);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForTrayIcon(window, START_TIMEOUT));
    std::string location, run;
    ASSERT_TRUE(ReadTreskString("Program Location", &location));
    EXPECT_EQ(location, "\"" + TreskExePath() + "\" extra " + std::string(1, '\0'));
    ASSERT_TRUE(ReadRunValue(&run));
    EXPECT_EQ(run, location);
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
}

TEST_F(ShellEndToEnd, ExitFromTheTrayMenuEndsWithZeroAndRemovesTheIcon)
{
    KnowSampleBookmarks();
    HWND window = StartAndWait(true);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_USER + 2, 0, WM_RBUTTONUP);  // the shell's right click on the icon
    HWND menu = WaitForPopupMenu(5000);
    ASSERT_NE(menu, nullptr) << "no tray menu";
    PostMenuKeys(menu, {VK_UP, VK_RETURN});  // from no selection, Up selects the last item, "E&xit"
    EXPECT_EQ(WaitForExit(tresk, START_TIMEOUT), 0);
    EXPECT_FALSE(TrayIconExists(window)) << "the icon outlived the program";
}

}  // namespace
