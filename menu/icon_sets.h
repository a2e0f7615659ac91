// The icon sets (Netscape, Internet Explorer, Opera, Chromium family, Firefox) of open folder, folder, bookmark
// and mail-link icons, one per bookmark source.
#pragma once
#include <windows.h>

#include "bookmarks/bookmark_table.h"

// Slots of each set.
const int ICON_OPEN_FOLDER = 0;
const int ICON_CLOSED_FOLDER = 1;
const int ICON_BOOKMARK = 2;
const int ICON_MAIL_LINK = 3;

extern HICON iconSets[SOURCE_COUNT][4];  // null where missing

void LoadIconSets();
// The bookmark icons of the Chromium-family and Firefox sets become those of the browsers' programs where
// they are installed (their App Paths entries); called once the settings have found the browser.
void LoadBrowserIcons();
void DestroyIconSets();
