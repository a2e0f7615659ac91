// The Options dialog run from its real template under Wine: controls, lists, enabling rules, arrows,
// help, Browse, and what OK, Cancel and Exit validate, apply and call.
#include "base/settings.h"
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/shell.h"
#include "res/options_ids.h"
#include "settings/options_dialog.h"
#include "tests/settings/options_standins.h"

using Calls = std::vector<std::string>;

namespace {

// ---- Platform calls redirected through the program's import table, so the test sees their arguments.

// Returns the original function, or null when the program does not import it.
void *PatchImport(const char *dll, const char *function, void *replacement)
{
    void *original = (void *)GetProcAddress(GetModuleHandleA(dll), function);
    auto *base = (BYTE *)GetModuleHandleA(nullptr);
    auto *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + imports.VirtualAddress); d->Name; d++) {
        for (auto *slot = (IMAGE_THUNK_DATA *)(base + d->FirstThunk); slot->u1.Function; slot++) {
            if ((void *)slot->u1.Function != original)
                continue;
            DWORD old;
            VirtualProtect(&slot->u1.Function, sizeof(void *), PAGE_READWRITE, &old);
            slot->u1.Function = (ULONG_PTR)replacement;
            VirtualProtect(&slot->u1.Function, sizeof(void *), old, &old);
            return original;
        }
    }
    return nullptr;
}

std::vector<UINT> beeps;

BOOL WINAPI RecordBeep(UINT type)
{
    beeps.push_back(type);
    return TRUE;
}

// The dialog's results; the dialog still ends through the real EndDialog.
std::vector<INT_PTR> endResults;
BOOL(WINAPI *realEndDialog)(HWND, INT_PTR);

BOOL WINAPI RecordEndDialog(HWND dialog, INT_PTR result)
{
    endResults.push_back(result);
    return realEndDialog(dialog, result);
}

struct HelpCall {
    HWND window;
    std::string file;
    UINT command;
    ULONG_PTR data;
};
std::vector<HelpCall> helpCalls;

BOOL WINAPI RecordWinHelp(HWND window, LPCSTR file, UINT command, ULONG_PTR data)
{
    helpCalls.push_back({window, file ? file : "", command, data});
    return TRUE;
}

struct BrowseCall {
    HWND owner;
    std::string file, initialDir, title, defExt, filter;
    DWORD flags;
};
std::vector<BrowseCall> browseCalls;
std::string browsePick;  // the file the user "picks"; empty = the user cancels

BOOL WINAPI FakeGetOpenFileName(OPENFILENAMEA *info)
{
    BrowseCall call{info->hwndOwner, info->lpstrFile, info->lpstrInitialDir ? info->lpstrInitialDir : "",
                    info->lpstrTitle ? info->lpstrTitle : "", info->lpstrDefExt ? info->lpstrDefExt : "", "",
                    info->Flags};
    for (const char *p = info->lpstrFilter; p && *p; p += strlen(p) + 1)
        call.filter += std::string(p) + "|";
    browseCalls.push_back(call);
    if (browsePick.empty())
        return FALSE;
    snprintf(info->lpstrFile, info->nMaxFile, "%s", browsePick.c_str());
    return TRUE;
}

// ---- Message boxes: a watcher thread finds the real "Tresk" box of this process, reads it and closes it.

struct SeenBox {
    std::string text;
    HWND owner;
};

class MessageBoxWatcher {
public:
    // echo: also write each text to standard error, for a death test to match
    explicit MessageBoxWatcher(bool echo = false) : echo_(echo), thread_([this] { Watch(); }) {}
    ~MessageBoxWatcher()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    std::vector<SeenBox> Seen()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        return seen_;
    }

private:
    static BOOL CALLBACK FindText(HWND child, LPARAM param)
    {
        char cls[32], text[512];
        GetClassNameA(child, cls, sizeof cls);
        if (_stricmp(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
            *(std::string *)param = text;
        return TRUE;
    }
    void Watch()
    {
        while (!stop_) {
            HWND box = FindWindowA("#32770", "Tresk");
            DWORD process = 0;
            if (box)
                GetWindowThreadProcessId(box, &process);
            if (box && process == GetCurrentProcessId() && IsWindowVisible(box)) {
                SeenBox seen{"", GetWindow(box, GW_OWNER)};
                EnumChildWindows(box, FindText, (LPARAM)&seen.text);
                seen_.push_back(seen);
                if (echo_)
                    fprintf(stderr, "box: %s\n", seen.text.c_str());
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
    }
    std::atomic<bool> stop_{false};
    bool echo_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

const char SHELL_FOLDERS[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char NETSCAPE_KEY[] = "Software\\Netscape\\Netscape Navigator\\Main";

// ---- The main window stand-in: it counts the WM_CLOSE that the Exit button sends.

int mainWindowCloses;

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        mainWindowCloses++;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The prefix's own "Favorites" shell folder, put back after every test.
std::string originalFavorites;
bool hadFavorites;

void SetUpProcessOnce()
{
    static bool done;
    if (done)
        return;
    done = true;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS, 0, KEY_READ, &key) == 0) {
        char value[MAX_PATH] = "";
        DWORD size = sizeof value - 1;
        hadFavorites = RegQueryValueExA(key, "Favorites", nullptr, nullptr, (BYTE *)value, &size) == 0;
        originalFavorites = value;
        RegCloseKey(key);
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA cls = {};
    cls.lpfnWndProc = TestMainProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TreskOptionsTestMain";
    RegisterClassA(&cls);
    ASSERT_TRUE(PatchImport("user32.dll", "MessageBeep", (void *)RecordBeep));
    realEndDialog = (BOOL(WINAPI *)(HWND, INT_PTR))PatchImport("user32.dll", "EndDialog", (void *)RecordEndDialog);
    ASSERT_TRUE(realEndDialog);
    ASSERT_TRUE(PatchImport("user32.dll", "WinHelpA", (void *)RecordWinHelp));
    ASSERT_TRUE(PatchImport("comdlg32.dll", "GetOpenFileNameA", (void *)FakeGetOpenFileName));
}


std::string TempPath(const char *name)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

void WriteFile(const std::string &path, const char *text)
{
    FILE *f = fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr) << path;
    fputs(text, f);
    fclose(f);
}

std::string WindowsDirFile(const char *name)
{
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\" + name;
}

void SetRegString(const char *keyName, const char *value, const char *data)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyName, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, value, 0, REG_SZ, (const BYTE *)data, (DWORD)strlen(data) + 1);
    RegCloseKey(key);
}

void DeleteRegValue(const char *keyName, const char *value)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_WRITE, &key) == 0) {
        RegDeleteValueA(key, value);
        RegCloseKey(key);
    }
}

std::string GetText(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    return cls;
}

// The settings of a configured user, as LoadSettings leaves them.
void ConfiguredSettings(const std::string &bookmarkFile)
{
    settings = Settings{};
    settings.trayIcon = 1;
    settings.refreshMenu = 1;
    settings.limitItemsPerColumn = 0;
    settings.itemsPerColumn = 25;
    settings.limitItemWidth = 1;
    settings.itemWidth = 250;
    settings.hotKey = 0x342;
    settings.displayEmptyFolders = 1;
    settings.menuStyle = 3;
    settings.snapMenuLeft = 0;
    settings.sortOrder = 0;
    settings.startupStyle = 1;
    settings.doubleClickAction = 4008;
    settings.useFavorites = 0;
    settings.useOperaHotlist = 0;
    settings.iconStyle = 3;
    settings.repositionSubmenus = 1;
    snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", bookmarkFile.c_str());
    settings.runAtStartup = 1;
    settings.useBookmarkFile = !bookmarkFile.empty();
}

}  // namespace

class OptionsDialogTest : public ::testing::Test {
public:
    HWND dialog = nullptr;
    std::string bookmarkFile = TempPath("tresk-options-bookmark.htm");

    void SetUp() override
    {
        SetUpProcessOnce();
        WriteFile(bookmarkFile, "<TITLE>Bookmarks</TITLE>\n");
        mainWindow = CreateWindowA("TreskOptionsTestMain", "main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(mainWindow, nullptr);
        ConfiguredSettings(bookmarkFile);
        ResetStandins();
        beeps.clear();
        helpCalls.clear();
        endResults.clear();
        browseCalls.clear();
        browsePick.clear();
        mainWindowCloses = 0;
        // Favorites and Opera available unless a test takes them away.
        SetRegString(SHELL_FOLDERS, "Favorites", "C:\\users\\tester\\Favorites");
        WriteFile(WindowsDirFile("opera.ini"), "[User Prefs]\nHot List File Ver2=C:\\opera\\opera6.adr\n");
        DeleteRegValue(NETSCAPE_KEY, "Install Directory");
    }

    void TearDown() override
    {
        if (dialog && IsWindow(dialog))
            DestroyWindow(dialog);
        DestroyWindow(mainWindow);
        DeleteFileA(bookmarkFile.c_str());
        DeleteFileA(WindowsDirFile("opera.ini").c_str());
        DeleteRegValue(NETSCAPE_KEY, "Install Directory");
        if (hadFavorites)
            SetRegString(SHELL_FOLDERS, "Favorites", originalFavorites.c_str());
        else
            DeleteRegValue(SHELL_FOLDERS, "Favorites");
    }

    void Open()
    {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), mainWindow,
                                    OptionsDialogProc, 0);
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        // Left hidden: Wine needs seconds to destroy a shown window on a display without a window manager.
        Pump();
        standinCalls.clear();
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    HWND Item(int id) { return GetDlgItem(dialog, id); }
    bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    // The dialog itself stays hidden, so a control's own visibility is its style bit.
    bool Shown(int id) { return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Checked(int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Notify(int id, int code) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), (LPARAM)Item(id)); }
    void Select(int id, int index)
    {
        SendMessageA(Item(id), CB_SETCURSEL, index, 0);
        Notify(id, CBN_SELCHANGE);
    }
    int Selection(int id) { return (int)SendMessageA(Item(id), CB_GETCURSEL, 0, 0); }
    void SetText(int id, const std::string &text) { SetWindowTextA(Item(id), text.c_str()); }
    void Arrow(int id, int code) { SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(code, 0), (LPARAM)Item(id)); }
    // OK as a click of the button.
    void PressOK() { Click(IDOK); }
    // The dialog asked to end with this result (EndDialog does not destroy a modeless dialog).
    bool Closed(INT_PTR result = 1) { return endResults == std::vector<INT_PTR>{result}; }
    bool StaysOpen() { return endResults.empty(); }
};

// ---- The template

struct ControlRow {
    int id;
    const char *cls;
    const char *text;
    int x, y, w, h;
};

const ControlRow CONTROLS[] = {
    {201, "Button", "R&un at Windows Startup", 7, 4, 128, 10},
    {202, "Button", "&Display Icon in System Tray", 137, 4, 113, 10},
    {246, "Static", "&Hot Key:", 7, 18, 52, 8},
    {212, "msctls_hotkey32", "", 62, 15, 80, 14},
    {-1, "Static", "", 16, 32, 166, 1},
    {247, "Static", "&Bookmark File:", 7, 38, 53, 11},
    {213, "Edit", nullptr, 62, 37, 131, 13},
    {214, "Button", "Bro&wse...", 194, 37, 50, 14},
    {205, "Button", "Include &Internet Explorer Favorites", 7, 53, 128, 10},
    {222, "Button", "Include &Opera Hotlist Items", 137, 53, 113, 10},
    {203, "Button", "Re&fresh Menu When Any of These Change", 8, 68, 173, 10},
    {232, "Static", "Icon St&yle:", 7, 82, 52, 9},
    {223, "ComboBox", nullptr, 62, 80, 131, -1},
    {-1, "Static", "", 16, 97, 166, 1},
    {248, "Static", "Me&nu Style:", 7, 104, 52, 9},
    {216, "ComboBox", nullptr, 62, 102, 131, -1},
    {249, "Static", "Sor&t Bookmarks:", 7, 123, 52, 9},
    {218, "ComboBox", nullptr, 62, 121, 131, -1},
    {206, "Button", "&Limit Menu Items per Column", 8, 139, 109, 10},
    {207, "Edit", "25", 119, 137, 20, 12},
    {208, "ScrollBar", "", 139, 137, 9, 12},
    {220, "Static", "Items (max items = 40)", 153, 139, 96, 12},
    {209, "Button", "Li&mit Menu Item Width", 8, 153, 108, 10},
    {210, "Edit", "250", 119, 152, 20, 12},
    {211, "ScrollBar", "", 139, 152, 9, 12},
    {245, "Static", "Pixels", 153, 154, 35, 12},
    {215, "Button", "Dis&play Empty Folders", 8, 166, 176, 12},
    {217, "Button", "&Snap Menu and Mouse to Left Side of Screen", 8, 180, 176, 12},
    {224, "Button", "&Reposition Submenus for Easier Navigation", 8, 194, 176, 12},
    {-1, "Static", "", 15, 207, 166, 1},
    {251, "Static", "St&art Browser:", 7, 215, 52, 9},
    {219, "ComboBox", nullptr, 61, 212, 131, -1},
    {250, "Static", "Default Double- &Click Action:", 7, 228, 53, 16},
    {221, "ComboBox", nullptr, 61, 231, 131, -1},
    {3, "Button", "Exit Tresk", 1, 251, 79, 14},
    {1, "Button", "OK", 145, 251, 50, 14},
    {2, "Button", "Cancel", 200, 251, 50, 14},
};

TEST_F(OptionsDialogTest, EveryControlInTemplateOrderWithItsIdTextAndPlace)
{
    Open();
    EXPECT_EQ(GetText(dialog), "Tresk Options");
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    RECT client;
    GetClientRect(dialog, &client);
    RECT size = {0, 0, 251, 269};
    MapDialogRect(dialog, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlRow &row : CONTROLS) {
        SCOPED_TRACE("control " + std::to_string(row.id) + " " + (row.text ? row.text : ""));
        ASSERT_NE(child, nullptr);
        EXPECT_EQ((int)(short)GetDlgCtrlID(child), row.id);
        EXPECT_STRCASEEQ(ClassOf(child).c_str(), row.cls);
        if (row.text) {
            EXPECT_EQ(GetText(child), row.text);
        }
        // The dialog manager converts the place and the size each on its own.
        RECT place = {row.x, row.y, row.w, row.h < 0 ? 0 : row.h};
        MapDialogRect(dialog, &place);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, dialog, (POINT *)&actual, 2);
        EXPECT_EQ(actual.left, place.left);
        EXPECT_EQ(actual.top, place.top);
        EXPECT_EQ(actual.right - actual.left, place.right);
        if (row.h >= 0) {  // a closed drop-down list sizes itself to its font
            EXPECT_EQ(actual.bottom - actual.top, place.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "more controls than expected";

    for (int id : {207, 210}) {
        LONG style = GetWindowLongA(Item(id), GWL_STYLE);
        EXPECT_TRUE(style & ES_NUMBER) << id;
        EXPECT_TRUE(style & ES_RIGHT) << id;
    }
    EXPECT_FALSE(Shown(IDC_EXIT_TRESK)) << "tray icon on: no exit button";
    EXPECT_TRUE(GetWindowLongA(Item(IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
}

struct ListRow {
    int id;
    std::vector<std::pair<std::string, int>> items;  // text and item data (index where the data is unused)
};

TEST_F(OptionsDialogTest, FiveListsHoldTheirItemsInOrderWithTheirData)
{
    const ListRow lists[] = {
        {223, {{"Netscape Icons", 0}, {"Internet Explorer Icons", 1}, {"Opera Icons", 2},
               {"Application-Specific Icons", 3}}},
        {216, {{"Plain", 0}, {"Fancy", 1}, {"Very Fancy", 2}, {"Dancy", 3}}},
        {218, {{"Default Order", 0}, {"Ascending", 1}, {"Descending", 2}}},
        {219, {{"Normal Window", 1}, {"Maximized Window", 3}}},
        {221, {{"Search Bookmarks", 4008}, {"Verify Bookmarks", 4012}, {"Refresh Bookmarks", 4003},
               {"Quick URL Entry", 4013}, {"Options", 4002}}},
    };
    Open();
    for (const ListRow &list : lists) {
        SCOPED_TRACE("list " + std::to_string(list.id));
        ASSERT_EQ(SendMessageA(Item(list.id), CB_GETCOUNT, 0, 0), (LRESULT)list.items.size());
        for (size_t i = 0; i < list.items.size(); i++) {
            char text[64] = "";
            SendMessageA(Item(list.id), CB_GETLBTEXT, i, (LPARAM)text);
            EXPECT_EQ(text, list.items[i].first);
            if (list.id == 219 || list.id == 221) {
                EXPECT_EQ(SendMessageA(Item(list.id), CB_GETITEMDATA, i, 0), list.items[i].second);
            }
        }
    }
}

TEST_F(OptionsDialogTest, OpeningShowsTheSettings)
{
    settings.runAtStartup = 0;
    settings.refreshMenu = 0;
    settings.limitItemsPerColumn = 1;
    settings.itemsPerColumn = 30;
    settings.itemWidth = 300;
    settings.snapMenuLeft = 1;
    settings.displayEmptyFolders = 0;
    settings.repositionSubmenus = 0;
    settings.iconStyle = 1;
    settings.menuStyle = 2;
    settings.sortOrder = 2;
    settings.startupStyle = 3;
    settings.doubleClickAction = 4013;
    settings.useFavorites = 1;
    settings.useOperaHotlist = 1;
    settings.hotKey = 0x641;  // Ctrl+Alt+A
    Open();
    EXPECT_FALSE(Checked(201));
    EXPECT_TRUE(Checked(202));
    EXPECT_FALSE(Checked(203));
    EXPECT_TRUE(Checked(206));
    EXPECT_EQ(GetText(Item(207)), "30");
    EXPECT_TRUE(Checked(209));
    EXPECT_EQ(GetText(Item(210)), "300");
    EXPECT_TRUE(Checked(217));
    EXPECT_FALSE(Checked(215));
    EXPECT_FALSE(Checked(224));
    EXPECT_TRUE(Checked(205));
    EXPECT_TRUE(Checked(222));
    EXPECT_EQ(GetText(Item(213)), bookmarkFile);
    EXPECT_EQ(SendMessageA(Item(212), HKM_GETHOTKEY, 0, 0), 0x641);
    EXPECT_EQ(Selection(223), 1);
    EXPECT_EQ(Selection(216), 2);
    EXPECT_EQ(Selection(218), 2);
    EXPECT_EQ(Selection(219), 1);  // "Maximized Window"
    EXPECT_EQ(Selection(221), 3);  // "Quick URL Entry"
    EXPECT_EQ(modalOpen, TRUE);
    EXPECT_EQ(modalWindow, dialog);
    EXPECT_STREQ(settings.favoritesPath, "C:\\users\\tester\\Favorites");
    EXPECT_STREQ(settings.operaHotlistPath, "C:\\opera\\opera6.adr");
    EXPECT_TRUE(browseCalls.empty()) << "a known bookmark file opens no browser";

    DestroyWindow(dialog);
    EXPECT_EQ(modalOpen, FALSE);
    EXPECT_EQ(modalWindow, nullptr);
}

TEST_F(OptionsDialogTest, ValuesTheListsDoNotOfferLeaveThemUnselectedAndUnchangedOnOK)
{
    settings.startupStyle = 7;
    settings.doubleClickAction = 4099;
    Open();
    EXPECT_EQ(Selection(219), CB_ERR);
    EXPECT_EQ(Selection(221), CB_ERR);
    PressOK();
    EXPECT_EQ(settings.startupStyle, 7);
    EXPECT_EQ(settings.doubleClickAction, 4099);
}

TEST_F(OptionsDialogTest, ItemsPerColumnAboveTheScreenMaximumOpensAtTheMaximum)
{
    standinMaxItemsPerColumn = 33;
    settings.itemsPerColumn = 50;
    Open();
    EXPECT_EQ(GetText(Item(220)), "Items (max items = 33)");
    EXPECT_EQ(GetText(Item(207)), "33");
}

TEST_F(OptionsDialogTest, FavoritesAndOperaAreOfferedOnlyWhenFound)
{
    DeleteRegValue(SHELL_FOLDERS, "Favorites");
    DeleteFileA(WindowsDirFile("opera.ini").c_str());
    settings.useFavorites = 1;
    settings.useOperaHotlist = 1;
    Open();
    EXPECT_FALSE(Enabled(205));
    EXPECT_FALSE(Checked(205));
    EXPECT_FALSE(Enabled(222));
    EXPECT_FALSE(Checked(222));
    EXPECT_EQ(settings.useFavorites, 0);
    EXPECT_EQ(settings.useOperaHotlist, 0);
}

TEST_F(OptionsDialogTest, HotKeyIsFreeWhileTheDialogIsOpen)
{
    ASSERT_TRUE(RegisterHotKey(mainWindow, 1, MOD_CONTROL | MOD_SHIFT, 'B'));
    HWND other = CreateWindowA("TreskOptionsTestMain", "other", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    EXPECT_FALSE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_SHIFT, 'B')) << "held by the main window";
    Open();
    EXPECT_TRUE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_SHIFT, 'B')) << "the dialog released it";
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
}

// ---- Enabling rules

TEST_F(OptionsDialogTest, PlainStyleDisablesIconStyleAndWidthLimitOthersBringThemBack)
{
    settings.limitItemWidth = 0;
    Open();
    EXPECT_TRUE(Enabled(209));
    EXPECT_FALSE(Enabled(210)) << "width limit off";
    EXPECT_FALSE(Enabled(211));
    EXPECT_TRUE(Enabled(223));

    Select(216, 0);
    for (int id : {209, 210, 211, 232, 223})
        EXPECT_FALSE(Enabled(id)) << id;

    Select(216, 1);
    EXPECT_TRUE(Enabled(209));
    EXPECT_FALSE(Enabled(210)) << "follows its unchecked box";
    EXPECT_TRUE(Enabled(232));
    EXPECT_TRUE(Enabled(223));

    Click(209);
    EXPECT_TRUE(Enabled(210));
    EXPECT_TRUE(Enabled(211));
    Select(216, 0);
    EXPECT_FALSE(Enabled(210));
    Select(216, 3);
    EXPECT_TRUE(Enabled(210)) << "follows its checked box";
}

TEST_F(OptionsDialogTest, PlainStyleAtOpeningStartsDisabled)
{
    settings.menuStyle = 0;
    Open();
    for (int id : {209, 210, 211, 232, 223})
        EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(OptionsDialogTest, ItemLimitCheckBoxEnablesItsEditAndArrows)
{
    Open();
    EXPECT_FALSE(Enabled(207));
    EXPECT_FALSE(Enabled(208));
    Click(206);
    EXPECT_TRUE(Enabled(207));
    EXPECT_TRUE(Enabled(208));
    Click(206);
    EXPECT_FALSE(Enabled(207));
}

TEST_F(OptionsDialogTest, TrayIconBoxRulesTheDoubleClickListButNotTheExitButton)
{
    Open();
    EXPECT_TRUE(Enabled(221));
    Click(202);
    EXPECT_FALSE(Checked(202));
    EXPECT_FALSE(Enabled(221));
    EXPECT_FALSE(Enabled(250));
    EXPECT_FALSE(Shown(IDC_EXIT_TRESK));
    Click(202);
    EXPECT_TRUE(Enabled(221));
    EXPECT_TRUE(Enabled(250));
}

TEST_F(OptionsDialogTest, WithoutTrayIconExitButtonShowsAndDoubleClickListStaysEnabled)
{
    settings.trayIcon = 0;
    Open();
    EXPECT_TRUE(Shown(IDC_EXIT_TRESK));
    EXPECT_TRUE(Enabled(221));
}

// ---- Items per column and the arrows

TEST_F(OptionsDialogTest, LeavingItemsPerColumnAboveTheMaximumBeepsAndSetsTheMaximum)
{
    Open();
    SetText(207, "999");
    Notify(207, EN_KILLFOCUS);
    EXPECT_EQ(GetText(Item(207)), "40");
    EXPECT_EQ(beeps, std::vector<UINT>{MB_ICONASTERISK});

    beeps.clear();
    SetText(207, "40");
    Notify(207, EN_KILLFOCUS);
    EXPECT_EQ(GetText(Item(207)), "40");
    EXPECT_TRUE(beeps.empty());
}

struct ArrowRow {
    const char *label;
    int arrows;
    const char *start;
    int code;
    const char *expected;
    bool beep;
};

TEST_F(OptionsDialogTest, ArrowsStepByOneWithinTheirBounds)
{
    const ArrowRow rows[] = {
        {"items up", 208, "25", SB_LINEUP, "26", false},
        {"items down", 208, "25", SB_LINEDOWN, "24", false},
        {"items up stops at max", 208, "40", SB_LINEUP, "40", false},
        {"items down at 1 beeps", 208, "1", SB_LINEDOWN, "1", true},
        {"items down from 0 beeps", 208, "0", SB_LINEDOWN, "0", true},
        {"items page up ignored", 208, "25", SB_PAGEUP, "25", false},
        {"width up", 211, "250", SB_LINEUP, "251", false},
        {"width has no upper bound", 211, "99999", SB_LINEUP, "100000", false},
        {"width down at 1 beeps", 211, "1", SB_LINEDOWN, "1", true},
        {"width thumb ignored", 211, "250", SB_THUMBPOSITION, "250", false},
    };
    Open();
    for (const ArrowRow &row : rows) {
        SCOPED_TRACE(row.label);
        int edit = row.arrows == 208 ? 207 : 210;
        SetText(edit, row.start);
        beeps.clear();
        Arrow(row.arrows, row.code);
        EXPECT_EQ(GetText(Item(edit)), row.expected);
        EXPECT_EQ(beeps.size(), row.beep ? 1u : 0u);
        if (row.beep && !beeps.empty()) {
            EXPECT_EQ(beeps[0], (UINT)MB_ICONASTERISK);
        }
    }
}

// ---- Context help

TEST_F(OptionsDialogTest, HelpOnAControlShowsItsOwnersPopupTopic)
{
    const int rows[][2] = {
        {201, 201}, {202, 202}, {212, 212}, {213, 213}, {214, 214}, {216, 216}, {223, 223}, {221, 221},
        {207, 206}, {208, 206}, {220, 206}, {210, 209}, {211, 209}, {245, 209}, {232, 223}, {246, 212},
        {247, 213}, {248, 216}, {249, 218}, {250, 221}, {251, 219}, {IDOK, IDOK},
    };
    Open();
    for (const auto &row : rows) {
        SCOPED_TRACE("help on " + std::to_string(row[0]));
        helpCalls.clear();
        HELPINFO help = {sizeof help, HELPINFO_WINDOW, row[0], Item(row[0]), 0, {0, 0}};
        SendMessageA(dialog, WM_HELP, 0, (LPARAM)&help);
        ASSERT_EQ(helpCalls.size(), 1u);
        EXPECT_EQ(helpCalls[0].window, dialog);
        EXPECT_EQ(helpCalls[0].file, "tresk.hlp");
        EXPECT_EQ(helpCalls[0].command, (UINT)HELP_CONTEXTPOPUP);
        EXPECT_EQ(helpCalls[0].data, (ULONG_PTR)row[1]);
    }
    helpCalls.clear();
    HELPINFO menuHelp = {sizeof menuHelp, HELPINFO_MENUITEM, 4002, nullptr, 0, {0, 0}};
    SendMessageA(dialog, WM_HELP, 0, (LPARAM)&menuHelp);
    EXPECT_TRUE(helpCalls.empty());
}

// ---- Browse

struct BrowseRow {
    const char *label;
    const char *bookmarkSetting;  // the current setting
    const char *installDir;       // Netscape "Install Directory", null = absent
    const char *expectedDir;
};

TEST_F(OptionsDialogTest, BrowseStartsInTheBookmarkFolderOrNetscapeUsersFolder)
{
    const BrowseRow rows[] = {
        {"folder of the setting", "C:\\Netscape\\Users\\me\\bookmark.htm", nullptr, "C:\\Netscape\\Users\\me"},
        {"setting without folder", "bookmark.htm", "D:\\Nets", ""},
        {"Communicator cut off", "", "D:\\Apps\\Netscape\\Communicator", "D:\\Apps\\Netscape\\Users"},
        {"any letter case", "", "D:\\Apps\\Netscape\\COMMUNICATOR", "D:\\Apps\\Netscape\\Users"},
        {"other install folder", "", "D:\\Navigator", "D:\\Navigator\\Users"},
        {"no Netscape", "", nullptr, "C:\\Program Files\\Netscape\\Users"},
    };
    for (const BrowseRow &row : rows) {
        SCOPED_TRACE(row.label);
        if (row.installDir)
            SetRegString(NETSCAPE_KEY, "Install Directory", row.installDir);
        else
            DeleteRegValue(NETSCAPE_KEY, "Install Directory");
        ConfiguredSettings(row.bookmarkSetting);
        Open();
        SetText(213, bookmarkFile);  // the edit box does not count, only the setting
        browseCalls.clear();
        Click(IDC_BROWSE);
        ASSERT_EQ(browseCalls.size(), 1u);
        EXPECT_EQ(browseCalls[0].initialDir, row.expectedDir);
        DestroyWindow(dialog);
    }
}

TEST_F(OptionsDialogTest, BrowseAsksForABookmarkFileAndFillsTheEditOnly)
{
    Open();
    browsePick = "C:\\Picked\\bookmark.htm";
    Click(IDC_BROWSE);
    ASSERT_EQ(browseCalls.size(), 1u);
    const BrowseCall &call = browseCalls[0];
    EXPECT_EQ(call.owner, dialog);
    EXPECT_EQ(call.file, "bookmark*.htm*");
    EXPECT_EQ(call.title, "Browse for Bookmarks File");
    EXPECT_EQ(call.filter, "Netscape Bookmark File|bookmark.htm|All Files|*.*|");
    EXPECT_EQ(call.defExt, "htm");
    EXPECT_EQ(call.flags, 0x81004u);
    EXPECT_EQ(GetText(Item(213)), "C:\\Picked\\bookmark.htm");
    EXPECT_EQ(settings.bookmarkFile, bookmarkFile) << "nothing changes before OK";

    browsePick.clear();  // the user cancels the browser
    Click(IDC_BROWSE);
    EXPECT_EQ(GetText(Item(213)), "C:\\Picked\\bookmark.htm");
}

TEST_F(OptionsDialogTest, FirstStartOpensTheBrowserByItself)
{
    SetRegString(NETSCAPE_KEY, "Install Directory", "C:\\Netscape\\Communicator");
    ConfiguredSettings("");
    Open();  // pumps the posted Browse click
    ASSERT_EQ(browseCalls.size(), 1u);
    EXPECT_EQ(browseCalls[0].initialDir, "C:\\Netscape\\Users");
}

// ---- OK

TEST_F(OptionsDialogTest, OKRefusesAnEmptyOrMissingBookmarkFile)
{
    const std::pair<std::string, std::string> rows[] = {
        {"", "Please specify the location of the Bookmark File."},
        {TempPath("tresk-no-such-file.htm"), "The specified bookmark file does not exist."},
    };
    Open();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.second);
        SetText(213, row.first);
        MessageBoxWatcher watcher;
        PressOK();
        std::vector<SeenBox> seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, row.second);
        EXPECT_EQ(seen[0].owner, mainWindow);
        EXPECT_TRUE(StaysOpen());
        EXPECT_EQ(standinCalls, Calls{}) << "nothing applied or saved";
        EXPECT_EQ(settings.bookmarkFile, bookmarkFile);
    }
}

struct ApplyRow {
    const char *label;
    std::function<void(OptionsDialogTest &)> change;
    Calls calls;
};

#define CHANGE [&](OptionsDialogTest & t)

TEST_F(OptionsDialogTest, OKAppliesAndSavesCallingOnlyWhatTheChangeNeeds)
{
    std::string otherFile = TempPath("tresk-options-other.htm");
    WriteFile(otherFile, "x");
    std::string sameInOtherCase = bookmarkFile;
    for (char &c : sameInOtherCase)
        c = (char)toupper((unsigned char)c);
    const Calls saveOnly = {"RegisterAppHotKey 0x342", "SaveSettings"};
    const Calls rebuild = {"RegisterAppHotKey 0x342", "SaveSettings", "DestroyBookmarkMenus", "RefreshBookmarks"};
    const ApplyRow rows[] = {
        {"nothing changed", CHANGE { (void)t; }, saveOnly},
        {"snap left", CHANGE { t.Click(217); }, saveOnly},
        {"reposition submenus", CHANGE { t.Click(224); }, saveOnly},
        {"start browser", CHANGE { t.Select(219, 1); }, saveOnly},
        {"run at startup", CHANGE { t.Click(201); }, saveOnly},
        {"sort order", CHANGE { t.Select(218, 1); }, rebuild},
        {"menu style", CHANGE { t.Select(216, 1); }, rebuild},
        {"icon style", CHANGE { t.Select(223, 0); }, rebuild},
        {"empty folders", CHANGE { t.Click(215); }, rebuild},
        {"items limit", CHANGE { t.Click(206); }, rebuild},
        {"items per column", CHANGE { t.SetText(207, "24"); }, rebuild},
        {"width limit", CHANGE { t.Click(209); }, rebuild},
        {"item width", CHANGE { t.SetText(210, "200"); }, rebuild},
        {"file in other letter case", CHANGE { t.SetText(213, sameInOtherCase); }, saveOnly},
        {"other bookmark file", CHANGE { t.SetText(213, otherFile); },
         {"RegisterAppHotKey 0x342", "SaveSettings", "DestroyBookmarkMenus", "RefreshBookmarks", "StopChangeWatch",
          "StartChangeWatch"}},
        {"favorites with watch on", CHANGE { t.Click(205); },
         {"RegisterAppHotKey 0x342", "SaveSettings", "DestroyBookmarkMenus", "RefreshBookmarks", "StopChangeWatch",
          "StartChangeWatch"}},
        {"favorites with watch turned off", CHANGE { t.Click(205); t.Click(203); },
         {"RegisterAppHotKey 0x342", "SaveSettings", "DestroyBookmarkMenus", "RefreshBookmarks",
          "RequestWatchStop"}},
        {"opera with watch on", CHANGE { t.Click(222); },
         {"RegisterAppHotKey 0x342", "SaveSettings", "DestroyBookmarkMenus", "RefreshBookmarks", "StopChangeWatch",
          "StartChangeWatch"}},
        {"watch off", CHANGE { t.Click(203); }, {"RegisterAppHotKey 0x342", "SaveSettings", "RequestWatchStop"}},
        {"tray icon off", CHANGE { t.Click(202); }, {"DeleteTrayIcon", "RegisterAppHotKey 0x342", "SaveSettings"}},
        {"double-click action", CHANGE { t.Select(221, 4); },
         {"DestroyPopupMenus", "LoadPopupMenus", "RegisterAppHotKey 0x342", "SaveSettings"}},
        {"hot key", CHANGE { SendMessageA(t.Item(212), HKM_SETHOTKEY, 0x644, 0); },
         {"RegisterAppHotKey 0x644", "SaveSettings"}},
    };
    for (const ApplyRow &row : rows) {
        SCOPED_TRACE(row.label);
        ConfiguredSettings(bookmarkFile);
        endResults.clear();
        Open();
        row.change(*this);
        PressOK();
        EXPECT_EQ(standinCalls, row.calls);
        EXPECT_TRUE(Closed());
        DestroyWindow(dialog);
    }
    DeleteFileA(otherFile.c_str());
}

TEST_F(OptionsDialogTest, OKWritesEveryControlIntoTheSettings)
{
    std::string otherFile = TempPath("tresk-options-other.htm");
    WriteFile(otherFile, "x");
    Open();
    for (int id : {201, 202, 203, 205, 206, 209, 215, 217, 222, 224})
        Click(id);
    SetText(207, "12");
    SetText(210, "180");
    SetText(213, otherFile);
    Select(223, 2);
    Select(216, 1);
    Select(218, 1);
    Select(219, 1);
    Select(221, 1);
    SendMessageA(Item(212), HKM_SETHOTKEY, 0x255, 0);
    PressOK();
    EXPECT_EQ(settings.runAtStartup, 0);
    EXPECT_EQ(settings.trayIcon, 0);
    EXPECT_EQ(settings.refreshMenu, 0);
    EXPECT_EQ(settings.useFavorites, 1);
    EXPECT_EQ(settings.limitItemsPerColumn, 1);
    EXPECT_EQ(settings.limitItemWidth, 0);
    EXPECT_EQ(settings.displayEmptyFolders, 0);
    EXPECT_EQ(settings.snapMenuLeft, 1);
    EXPECT_EQ(settings.useOperaHotlist, 1);
    EXPECT_EQ(settings.repositionSubmenus, 0);
    EXPECT_EQ(settings.itemsPerColumn, 12);
    EXPECT_EQ(settings.itemWidth, 180);
    EXPECT_EQ(settings.bookmarkFile, otherFile);
    EXPECT_EQ(settings.useBookmarkFile, 1);
    EXPECT_EQ(settings.iconStyle, 2);
    EXPECT_EQ(settings.menuStyle, 1);
    EXPECT_EQ(settings.sortOrder, 1);
    EXPECT_EQ(settings.startupStyle, 3);
    EXPECT_EQ(settings.doubleClickAction, 4012);
    EXPECT_EQ(settings.hotKey, 0x255);
    DeleteFileA(otherFile.c_str());
}

TEST_F(OptionsDialogTest, TakenHotKeyOnOKPutsTheOldKeyBackAndKeepsTheDialogOpen)
{
    Open();
    SendMessageA(Item(212), HKM_SETHOTKEY, 0x644, 0);
    Click(217);
    standinHotKeyTaken = true;
    PressOK();
    EXPECT_EQ(standinCalls, Calls{"RegisterAppHotKey 0x644"});
    EXPECT_EQ(settings.hotKey, 0x342);
    EXPECT_EQ(settings.snapMenuLeft, 1) << "written into memory, not saved";
    EXPECT_TRUE(StaysOpen());

    standinCalls.clear();
    Click(IDCANCEL);  // Cancel puts the old key back
    EXPECT_EQ(standinCalls, Calls{"RegisterAppHotKey 0x342"});
    EXPECT_TRUE(StaysOpen()) << "still taken";
    standinHotKeyTaken = false;
    standinCalls.clear();
    Click(IDCANCEL);
    EXPECT_EQ(standinCalls, Calls{"RegisterAppHotKey 0x342"});
    EXPECT_TRUE(Closed(0));
}

TEST_F(OptionsDialogTest, CancelRegistersTheOldKeyAndChangesNothing)
{
    Open();
    Click(217);
    SendMessageA(Item(212), HKM_SETHOTKEY, 0x644, 0);
    Click(IDCANCEL);
    EXPECT_EQ(standinCalls, Calls{"RegisterAppHotKey 0x342"});
    EXPECT_TRUE(Closed(0));
    EXPECT_EQ(settings.snapMenuLeft, 0);
    EXPECT_EQ(settings.hotKey, 0x342);
}

TEST_F(OptionsDialogTest, CancelOnAFirstStartEndsTheProgramWithItsMessage)
{
    ConfiguredSettings("");
    EXPECT_EXIT(
        {
            Open();
            MessageBoxWatcher watcher(true);
            Click(IDCANCEL);
            fprintf(stderr, "still running\n");
            exit(5);
        },
        ::testing::ExitedWithCode(0),
        "box: Tresk cannot be run without knowing the location of a valid Netscape bookmarks file\\.\\s"
        "\\[standin\\] DeleteTrayIcon\\s$");
}

TEST_F(OptionsDialogTest, ExitButtonConfirmsAndClosesTheMainWindowEvenWhenOKRefuses)
{
    settings.trayIcon = 0;
    Open();
    Click(IDC_EXIT_TRESK);
    EXPECT_EQ(standinCalls, Calls({"RegisterAppHotKey 0x342", "SaveSettings"}));
    EXPECT_EQ(mainWindowCloses, 1);

    DestroyWindow(dialog);
    Open();
    SetText(213, "");
    standinCalls.clear();
    MessageBoxWatcher watcher;
    Click(IDC_EXIT_TRESK);
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(standinCalls, Calls{});
    EXPECT_EQ(mainWindowCloses, 2);
}

// ---- The modal run that the shell uses

struct ModalStep {
    int button;
    LONG modalOpenSeen;
    HWND modalWindowSeen;
};
ModalStep modalStep;

void CALLBACK PressWhenOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    modalStep.modalOpenSeen = modalOpen;
    modalStep.modalWindowSeen = modalWindow;
    if (modalWindow)
        SendMessageA(modalWindow, WM_COMMAND, MAKEWPARAM(modalStep.button, BN_CLICKED),
                     (LPARAM)GetDlgItem(modalWindow, modalStep.button));
}

TEST_F(OptionsDialogTest, ModalRunReturnsOneForOKAndZeroForCancel)
{
    for (int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button);
        modalStep = {button, FALSE, nullptr};
        SetTimer(nullptr, 0, 50, PressWhenOpen);
        INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OPTIONS), mainWindow,
                                         OptionsDialogProc, 0);
        EXPECT_EQ(result, button == IDOK ? 1 : 0);
        EXPECT_EQ(modalStep.modalOpenSeen, TRUE);
        EXPECT_NE(modalStep.modalWindowSeen, nullptr);
        EXPECT_EQ(modalOpen, FALSE);
        EXPECT_EQ(modalWindow, nullptr);
    }
}
