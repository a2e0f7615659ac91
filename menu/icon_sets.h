// The three icon sets (Netscape, Internet Explorer, Opera flavours) of open folder, folder, bookmark and mail-link icons.
#pragma once
#include <windows.h>

// Slots of each set.
const int ICON_OPEN_FOLDER = 0;
const int ICON_CLOSED_FOLDER = 1;
const int ICON_BOOKMARK = 2;
const int ICON_MAIL_LINK = 3;

extern HICON iconSets[3][4];  // null where missing

void LoadIconSets();
void DestroyIconSets();
