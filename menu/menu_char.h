// The first-letter jumps of the bookmark menu and of the command menus, apart from the Windows messages.
#pragma once

#include "bookmarks/menu_handle.h"

// What a WM_MENUCHAR answer asks the menu to do; the values are those of MNC_IGNORE, MNC_EXECUTE, MNC_SELECT.
enum MenuCharAction { MENU_CHAR_IGNORE = 0, MENU_CHAR_EXECUTE = 2, MENU_CHAR_SELECT = 3 };

struct MenuCharChoice {
    MenuCharAction action;
    int menuPos;  // item position within the menu; 0 when ignored
};

// The item of `menu` that typing `letter` reaches, with the table position `highlighted` selected: the next
// item after it whose name starts with the letter (wrapping round), selected when several start with it,
// executed when it is the only one.
MenuCharChoice FindBookmarkMenuChar(MenuHandle menu, int letter, int highlighted);

// The key letter of a command text: the character after the first '&', or the first character.
char CommandKeyLetter(const char *text);
