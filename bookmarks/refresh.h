// Rebuilding the table and menus from the sources, and the thread that watches the sources for changes.
#pragma once
#include <string>

// The change watch never touches the table: the user-interface thread may be using it (an open menu,
// the Search list, a refresh of its own). When a source changed, the watch thread posts this message to
// mainWindow and the window procedure calls OnSourcesChanged, which refreshes on the user-interface thread.
const unsigned MSG_SOURCES_CHANGED = 0x0400 + 4;  // WM_USER + 4
// Timer of mainWindow that retries a refresh the watch asked for while the table was in use.
const unsigned TIMER_SOURCES_RETRY = 5;

void RefreshBookmarks();
void StartChangeWatch();
void StopChangeWatch();
void RequestWatchStop();
// MSG_SOURCES_CHANGED: rebuild now, or as soon as no menu, dialog or refresh is using the table.
void OnSourcesChanged();

// The text before the last backslash of path; empty when it has none.
std::string GetDirectoryPart(const char *path);
