// What the menu, refresh and watch tests see of their stand-ins for the readers, the sort and the shell.
#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Reader and sort stand-ins (reader_standins.cpp): each records its calls and runs the test's hook.
struct ReaderCalls {
    std::vector<std::string> netscape, favorites, opera;
    int sorts = 0;
};
extern ReaderCalls readerCalls;
extern std::function<void()> netscapeHook, favoritesHook, operaHook, sortHook;
void ResetReaderStandins();

// Shell stand-ins (shell_standins_win.cpp).
extern std::vector<std::pair<int, std::string>> trayUpdates;
extern std::function<void()> optionsDialogHook;
extern int optionsDialogCalls;
void ResetShellStandins();
