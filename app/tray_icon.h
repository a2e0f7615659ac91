// The notification-area icon.
#pragma once

bool AddTrayIcon();
bool UpdateTrayIcon(int iconResource, const char *tipText);
bool DeleteTrayIcon();
