// The Options dialog run modally from the program's resources, one scenario a row: what OK refuses, what
// it returns and saves for each kind of change, the caps and their beeps, the enabling rules, context help.
#include "base/app_state.h"
#include "base/settings.h"
#include "menu/menu_builder.h"
#include "res/options_ids.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"
#include "tests/support/dialog_driver_win.h"
#include "tests/support/scratch_registry_win.h"
#include "tests/support/win_test_helpers.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Calls = std::vector<std::string>;

void Note(const std::string &note) { dialogCalls.push_back(note); }
void SetHotKey(HWND d, int key) { SendDlgItemMessageA(d, IDC_HOT_KEY, HKM_SETHOTKEY, key, 0); }
// OK, then what the registry holds under each of `values`.
void Ok(HWND d, std::initializer_list<const char *> values)
{
    ClickItem(d, IDOK);
    for (const char *value : values)
        Note(value + std::string(" ") + std::to_string(GetUserDword("Software\\Olvane\\Tresk", value)));
}
// Types into an edit box and leaves it (step -1), or steps it with its arrows, the next control; notes the text.
void Step(HWND d, int id, const std::string &text, int step)
{
    SetDlgItemTextA(d, id, text.c_str());
    if (step < 0)
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), (LPARAM)GetDlgItem(d, id));
    else
        SendMessageA(d, WM_VSCROLL, step, (LPARAM)GetDlgItem(d, id + 1));
    Note(std::to_string(id) + " " + ItemText(d, id));
}
std::string End(int changes) { return "end " + std::to_string(changes); }
std::string Help(int topic) { return "help tresk.hlp 8 " + std::to_string(topic); }

// A first start's settings, saved, with `file` as the bookmark file; then the dialog, driven by `drive`.
Calls RunOptions(const std::string &file, const std::function<void(HWND)> &drive)
{
    ScratchUserKey scratch;
    SetUserString("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites", "C:\\Fav");
    SetUserString("Software\\Netscape\\Netscape Navigator\\Main", "Install Directory", "D:\\Nets\\COMMUNICATOR");
    LoadSettings();
    std::snprintf(settings.bookmarkFile, sizeof settings.bookmarkFile, "%s", file.c_str());
    settings.useBookmarkFile = !file.empty();
    RunDialog(IDD_OPTIONS, mainWindow, OptionsDialogProc, drive);
    return dialogCalls;
}

TEST(OptionsDialog, EachScenarioMakesItsCallsAndSavesItsValues)
{
    InitCommonControls();
    mainWindow = CreateTestWindow();
    ASSERT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 'K'));  // a hot key another program holds
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    // This program stands for the bookmark file; then the same file in other letter case, another name, none.
    std::string file = path, same = file, other = file, missing = file + ".none";
    CharUpperA(&same[0]);
    other.insert(other.find_last_of('\\'), "\\.");
    const std::string max = std::to_string(ComputeMaxItemsPerColumn()), box = "box Tresk 48: ";
    const std::vector<int> styled = {209, 210, 211, 232, 223};  // what the Plain style disables
    // An OK that went through saves the change of "Snap Menu Left", which needs nothing rebuilt.
    const auto snapThenOk = [](HWND d) { ClickItem(d, IDC_SNAP_LEFT); Ok(d, {"Snap Menu Left"}); };
    const struct { const char *label; std::function<void(HWND)> drive; Calls want; } rows[] = {
        {"no file", [&](HWND d) { SetDlgItemTextA(d, IDC_BOOKMARK_FILE, ""); snapThenOk(d); },
         {box + "Please specify the location of the Bookmark File.", "Snap Menu Left 0", "cancel", End(0)}},
        {"missing file", [&](HWND d) { SetDlgItemTextA(d, IDC_BOOKMARK_FILE, missing.c_str()); snapThenOk(d); },
         {box + "The specified bookmark file does not exist.", "Snap Menu Left 0", "cancel", End(0)}},
        {"taken hot key", [&](HWND d) { SetHotKey(d, 0x64B); snapThenOk(d); },
         {box + "The Hot Key of Ctrl+Alt+K is already in use by another application.", "Snap Menu Left 0", "cancel",
          End(0)}},
        {"no rebuild: snap left, start browser, hot key, the same file in other letter case",
         [&](HWND d) {
             ChooseItem(d, IDC_START_BROWSER, 1); SetHotKey(d, 0x644); ClickItem(d, IDC_SNAP_LEFT);
             SetDlgItemTextA(d, IDC_BOOKMARK_FILE, same.c_str()); Ok(d, {"Snap Menu Left", "Startup Style", "Hot Key"});
         },
         {End(0), "Snap Menu Left 1", "Startup Style 3", "Hot Key " + std::to_string(0x644)}},
        {"sort order", [](HWND d) { ChooseItem(d, IDC_SORT_ORDER, 2); Ok(d, {"Sort Order"}); },
         {End(OPTIONS_MENUS), "Sort Order 2"}},
        {"items per column",
         [](HWND d) { SetDlgItemInt(d, IDC_ITEMS_PER_COLUMN, 24, 0); Ok(d, {"Menu Items Per Column"}); },
         {End(OPTIONS_MENUS), "Menu Items Per Column 24"}},
        {"other file", [&](HWND d) { SetDlgItemTextA(d, IDC_BOOKMARK_FILE, other.c_str()); Ok(d, {}); },
         {End(OPTIONS_MENUS | OPTIONS_WATCH_RESTART)}},
        {"favorites", [](HWND d) { ClickItem(d, IDC_USE_FAVORITES); Ok(d, {"Use IE Favorites"}); },
         {End(OPTIONS_MENUS | OPTIONS_WATCH_RESTART), "Use IE Favorites 1"}},
        {"favorites, no watch",
         [](HWND d) { ClickItem(d, IDC_USE_FAVORITES); ClickItem(d, IDC_REFRESH_MENU); Ok(d, {}); },
         {End(OPTIONS_MENUS | OPTIONS_WATCH_SWITCH)}},
        {"tray icon", [](HWND d) { ClickItem(d, IDC_TRAY_ICON); Ok(d, {"Tray Icon"}); },
         {End(OPTIONS_TRAY_ICON), "Tray Icon 0"}},
        {"double-click", [](HWND d) { ChooseItem(d, IDC_DOUBLE_CLICK, 4); Ok(d, {"Double-Click Action"}); },
         {End(OPTIONS_TRAY_MENU), "Double-Click Action 4002"}},
        {"caps and arrows",
         [&](HWND d) {
             Note(ItemText(d, IDC_MAX_ITEMS_LABEL));  // then 207, the items per column, and 210, the item width
             Step(d, 207, "999", -1); Step(d, 207, max, -1); Step(d, 207, max, SB_LINEUP);
             Step(d, 207, "1", SB_LINEDOWN); Step(d, 210, "1", SB_LINEDOWN); Step(d, 210, "250", SB_LINEUP);
         },
         {"Items (max items = " + max + ")", "beep 64", "207 " + max, "207 " + max, "207 " + max, "beep 64", "207 1",
          "beep 64", "210 1", "210 251", "cancel", End(0)}},
        {"enabling",
         [&](HWND d) {
             Note(EnabledItems(d, styled));
             ClickItem(d, IDC_LIMIT_WIDTH); ChooseItem(d, IDC_MENU_STYLE, 0); Note(EnabledItems(d, styled));
             ChooseItem(d, IDC_MENU_STYLE, 1); Note(EnabledItems(d, styled));  // the width edit follows its box
             ClickItem(d, IDC_LIMIT_ITEMS); ClickItem(d, IDC_TRAY_ICON); Note(EnabledItems(d, {207, 208, 250, 221}));
         },
         {"enabled 209 210 211 232 223", "enabled", "enabled 209 232 223", "enabled 207 208", "cancel", End(0)}},
        {"browsers not found, greyed; help on one of them, on an arrow and on a label",
         [&](HWND d) {
             Note(EnabledItems(d, {IDC_USE_CHROMIUM, IDC_USE_FIREFOX}));
             for (int id : {IDC_USE_FIREFOX, IDC_ITEMS_ARROWS, IDC_SORT_LABEL}) HelpOnItem(d, id);
         },
         {"enabled", Help(IDC_USE_FIREFOX), Help(IDC_LIMIT_ITEMS), Help(IDC_SORT_ORDER), "cancel", End(0)}},
    };
    for (const auto &row : rows)
        EXPECT_EQ(RunOptions(file, row.drive), row.want) << row.label;
    // A first start opens the file browser in Netscape's folder of user profiles; Cancel leaves no file.
    EXPECT_EQ(RunOptions("", [](HWND) {}), Calls({"browse D:\\Nets\\Users", "cancel", End(OPTIONS_NO_BOOKMARK_FILE)}));
}

}  // namespace
