// Recording stand-ins for the shell, tray, popup menus, hot key, settings store, table, refresh and menu
// builder functions that the Options dialog calls; the tests read back what was called.
#include "base/settings.h"
#include "tests/settings/options_standins.h"

#include <cstdio>

#include "app/popup_menus.h"
#include "app/shell.h"
#include "app/tray_icon.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/change_watch.h"
#include "menu/menu_builder.h"
#include "settings/hot_key.h"

std::vector<std::string> standinCalls;
bool standinHotKeyTaken;
int standinMaxItemsPerColumn = 40;

HINSTANCE appInstance;
HWND mainWindow;
LONG modalOpen;
HWND modalWindow;

void ResetStandins()
{
    standinCalls.clear();
    standinHotKeyTaken = false;
    standinMaxItemsPerColumn = 40;
}

// Also written to standard error, where a death test (a process that ends) can match it.
static void Record(const std::string &call)
{
    standinCalls.push_back(call);
    fprintf(stderr, "[standin] %s\n", call.c_str());
    fflush(stderr);
}

bool AddTrayIcon()
{
    Record("AddTrayIcon");
    return true;
}

bool DeleteTrayIcon()
{
    Record("DeleteTrayIcon");
    return true;
}

void DestroyPopupMenus() { Record("DestroyPopupMenus"); }
void LoadPopupMenus() { Record("LoadPopupMenus"); }

bool RegisterAppHotKey(int value)
{
    char call[64];
    snprintf(call, sizeof call, "RegisterAppHotKey 0x%X", (unsigned)value);
    Record(call);
    return !standinHotKeyTaken;
}

void SaveSettings() { Record("SaveSettings"); }
void DestroyBookmarkMenus() { Record("DestroyBookmarkMenus"); }
void RefreshBookmarks() { Record("RefreshBookmarks"); }
void StartChangeWatch() { Record("StartChangeWatch"); }
void StopChangeWatch() { Record("StopChangeWatch"); }
void RequestWatchStop() { Record("RequestWatchStop"); }
int ComputeMaxItemsPerColumn() { return standinMaxItemsPerColumn; }
