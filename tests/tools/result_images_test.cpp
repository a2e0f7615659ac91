// The result lists' pictures: two for each icon set, one set per bookmark source, then the window's own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "bookmarks/bookmark_table.h"
#include "menu/icon_sets.h"
#include "res/menu_ids.h"
#include "tools/bookmark_copy.h"
#include "tools/result_list.h"

TEST(ResultImages, TwoPerIconSetThenTheWindowsOwn)
{
    appInstance = GetModuleHandleA(nullptr);
    LoadIconSets();
    const int extra[] = {IDI_LINK_FAILED, IDI_BOOKMARK_SMALL};
    HIMAGELIST images = CreateBookmarkImageList(ILC_COLOR32 | ILC_MASK, extra, 2);
    EXPECT_EQ(ImageList_GetImageCount(images), 2 * SOURCE_COUNT + 2);
    EXPECT_EQ(BookmarkImage("MAILTO:a@b", SOURCE_FIREFOX), BOOKMARK_IMAGE_COUNT - 1) << "the last set's mail link";
    ImageList_Destroy(images);
    DestroyIconSets();
}
