// The thread that watches the bookmark sources for changes and tells the main window (MSG_SOURCES_CHANGED).
#pragma once
#include <string>

// Starts the watch when "Refresh Menu" is on (stops it when off); a running watch goes on.
void StartChangeWatch();
// Asks the watch to stop and waits briefly for its thread.
void StopChangeWatch();
// Asks the watch to stop without waiting.
void RequestWatchStop();

// The text before the last backslash of path; empty when it has none.
std::string GetDirectoryPart(const char *path);
