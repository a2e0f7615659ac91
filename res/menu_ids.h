// Numbers of the menu and list pictures shared by res/menu_pictures.rc and the code.
#pragma once

// 32 x 32 icons whose picture fills the upper-left 16 x 16: the program's own icon set.
#define IDI_OPEN_FOLDER 13
#define IDI_CLOSED_FOLDER 14
#define IDI_BOOKMARK 15
#define IDI_MAIL_LINK 16
// 16 x 16 icons of the Search and Verify lists and of the Opera-flavoured set.
#define IDI_BOOKMARK_SMALL 120
#define IDI_MAIL_LINK_SMALL 121
#define IDI_OPERA_BOOKMARK 126
// 16 x 16 globes of the Chromium-family and Firefox sets where the browser's program has no icon to lend.
#define IDI_CHROMIUM_BOOKMARK 127
#define IDI_FIREFOX_BOOKMARK 128
#define IDI_LINK_FAILED 139
// The hand over a link.
#define IDC_LINK_HAND 107
// List header sort marks.
#define IDB_SORT_UP 123
#define IDB_SORT_DOWN 124
// The side-bar picture is a named bitmap: "SIDE_BAR".
