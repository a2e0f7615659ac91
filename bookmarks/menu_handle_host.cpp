// Popup menus of the host build: distinct tokens, tracked so tests can see what is still alive.
#include "bookmarks/menu_handle.h"

#include <cstdint>
#include <mutex>
#include <unordered_set>

static std::mutex menuLock;
static std::unordered_set<uintptr_t> liveMenus;
static uintptr_t nextMenu = 0x1000;

MenuHandle NewPopupMenu()
{
    std::lock_guard<std::mutex> hold(menuLock);
    nextMenu += 16;
    liveMenus.insert(nextMenu);
    return reinterpret_cast<MenuHandle>(nextMenu);
}

bool IsLiveMenu(MenuHandle menu)
{
    std::lock_guard<std::mutex> hold(menuLock);
    return liveMenus.count(reinterpret_cast<uintptr_t>(menu)) != 0;
}

void DestroyPopupMenu(MenuHandle menu)
{
    std::lock_guard<std::mutex> hold(menuLock);
    liveMenus.erase(reinterpret_cast<uintptr_t>(menu));
}

int LiveMenuCount()
{
    std::lock_guard<std::mutex> hold(menuLock);
    return static_cast<int>(liveMenus.size());
}
