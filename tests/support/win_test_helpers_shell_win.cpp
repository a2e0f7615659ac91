// The program's own shell for the GUI tests, and the messages its main window is seen to handle.
#include "tests/support/win_test_helpers.h"

#include <algorithm>

#include "app/main_window.h"
#include "app/popup_menus.h"
#include "base/app_state.h"
#include "menu/icon_sets.h"

void StartTestShell()
{
    RegisterDialogControls();
    CreateMainWindow(appInstance);
    LoadIconSets();
    LoadPopupMenus();
    highlightColorCache = GetSysColor(COLOR_HIGHLIGHT);
    menuColorCache = GetSysColor(COLOR_MENU);
    DetectNestedMenus();
}

std::vector<SeenMessage> seenMessages;
static std::vector<UINT> watchedMessages;
static WNDPROC watchedProc;

// Runs the window's own procedure, then notes the message and its result.
static LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CallWindowProcA(watchedProc, window, message, wParam, lParam);
    if (std::count(watchedMessages.begin(), watchedMessages.end(), message))
        seenMessages.push_back({message, lParam, result});
    return result;
}

void WatchMessages(HWND window, std::vector<UINT> messages)
{
    watchedMessages = std::move(messages);
    seenMessages.clear();
    if (!watchedProc)
        watchedProc = WNDPROC(SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(WatchProc)));
}
