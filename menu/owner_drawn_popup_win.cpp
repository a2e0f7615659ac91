// The fixed popup menus (tray and context menus) loaded from the resources with their items owner-drawn.
#include "menu/owner_draw.h"

#include "base/app_state.h"

// Separators stay plain; every other item is drawn by the program.
static void MakeOwnerDrawn(HMENU popup)
{
    for (int position = 0; position < GetMenuItemCount(popup); ++position) {
        if (GetMenuState(popup, position, MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_TYPE;
        item.fType = MFT_OWNERDRAW;
        SetMenuItemInfoA(popup, position, TRUE, &item);
    }
}

HMENU LoadOwnerDrawnPopup(int resource, HMENU *loaded)
{
    *loaded = LoadMenuA(appInstance, MAKEINTRESOURCEA(resource));
    HMENU popup = *loaded ? GetSubMenu(*loaded, 0) : nullptr;
    if (popup)
        MakeOwnerDrawn(popup);
    return popup;
}

void DestroyLoadedPopup(HMENU *loaded, HMENU *popup)
{
    if (*loaded)
        DestroyMenu(*loaded);
    *loaded = nullptr;
    *popup = nullptr;
}
