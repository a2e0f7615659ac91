// Drawing the owner-drawn items of the bookmark menu and of the tray and context menus.
#pragma once
#include <windows.h>

extern int highlightedEntry;              // position of the bookmark item last drawn selected
extern DRAWITEMSTRUCT selectedItemRecord; // the draw request of that item
extern HBITMAP sideBarBitmap;
extern HIMAGELIST sideBarImageList;
extern HDC sideBarStrip;

LRESULT MeasureBookmarkItem(MEASUREITEMSTRUCT *request);
LRESULT DrawBookmarkItem(DRAWITEMSTRUCT *request);
LRESULT MeasureCustomItem(MEASUREITEMSTRUCT *request);
LRESULT DrawCustomItem(DRAWITEMSTRUCT *request);
void SetMenuFont(HDC dc, int sizeDelta, bool bold, HFONT *createdFont, HFONT *previousFont);
void RemoveMenuFont(HDC dc, HFONT createdFont, HFONT previousFont);
bool IsSourceHeader(ULONG_PTR itemData);
int IconSetForEntry(int position);
