// Rebuilding the table and menus from the sources, and the thread that watches the sources for changes.
#pragma once

void RefreshBookmarks();
void StartChangeWatch();
void StopChangeWatch();
void RequestWatchStop();
