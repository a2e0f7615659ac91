// The three icon sets (Netscape, Internet Explorer, Opera) of folder, open folder, bookmark and header icons.
#pragma once
#include <windows.h>

extern HICON iconSets[3][4];

void LoadIconSets();
void DestroyIconSets();
