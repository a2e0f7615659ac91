// Rebuilding the table and menus from the sources, with what the user sees of it: the tray icon while
// reading, the messages about a missing bookmark file or one without bookmarks, and the change watch.
#pragma once

void RefreshBookmarks();
// MSG_SOURCES_CHANGED: rebuild now, or as soon as no menu, dialog or refresh is using the table.
void OnSourcesChanged();
