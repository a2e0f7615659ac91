// Drawing the owner-drawn items of the bookmark menu and of the tray and context menus.
#pragma once
#include <windows.h>
#include <commctrl.h>

extern int highlightedEntry;              // position of the bookmark item last drawn selected
extern DRAWITEMSTRUCT selectedItemRecord; // the draw request of that item
extern HBITMAP sideBarBitmap;
extern HIMAGELIST sideBarImageList;
extern HDC sideBarStrip;                  // the gradient, SIDE_BAR_WIDTH - 2 wide, as high as the menu
// sideBarPainted lives with the bookmark table (bookmarks/bookmark_table.h), which clears it too.

const int ICON_SIZE = 16;
const int SIDE_BAR_WIDTH = 24;
const int SIDE_BAR_PICTURE_HEIGHT = 200;
const int ITEM_MARGIN = 6;               // added to the text height of every measured item

// Loads menu resource `resource` into *loaded (kept for DestroyLoadedPopup) and answers its first popup,
// every item but the separators made owner-drawn; null when the resource cannot be loaded.
HMENU LoadOwnerDrawnPopup(int resource, HMENU *loaded);
void DestroyLoadedPopup(HMENU *loaded, HMENU *popup);

LRESULT MeasureBookmarkItem(MEASUREITEMSTRUCT *request);
LRESULT DrawBookmarkItem(DRAWITEMSTRUCT *request);
LRESULT MeasureCustomItem(MEASUREITEMSTRUCT *request);
LRESULT DrawCustomItem(DRAWITEMSTRUCT *request);
void SetMenuFont(HDC dc, int sizeDelta, bool bold, HFONT *createdFont, HFONT *previousFont);
void RemoveMenuFont(HDC dc, HFONT createdFont, HFONT previousFont);
bool IsSourceHeader(ULONG_PTR itemData);
int IconSetForEntry(int position);

// One frame of the "Dancy" side bar into dc (a back buffer or the menu window): the gradient strip, then
// the picture with its top at pictureTop. height is the menu window's client height.
void PaintSideBarFrame(HDC dc, int height, int pictureTop);
// Frees the strip, the picture and its image list (main window destruction).
void FreeSideBar();
