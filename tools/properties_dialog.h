// The Bookmark Properties dialog (resource 115): everything the table knows about one bookmark.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "tools/bookmark_copy.h"

extern BookmarkCopy propertiesEntry;  // the bookmark shown; set just before the dialog runs

INT_PTR CALLBACK PropertiesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the dialog modally, owned by the main window, for the bookmark.
INT_PTR OpenPropertiesDialog(const BookmarkCopy &bookmark);
// A time in seconds since 1970 (UTC) as the user's long date, a blank and the time without seconds, in
// local time; "<unknown>" for the date when it cannot be formatted.
void FormatBookmarkTime(int32_t seconds, char *text, size_t size);
