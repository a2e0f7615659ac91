// The first-letter jumps: the two-pass search over the bookmark table and the command-text key letter.
#include "menu/menu_char.h"

#include <cstring>

#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"


// Folder ends and separators never match; neither do records without a menu item: those with no name and
// the empty folders that the builder deleted (menuPos -1).
static bool IsCandidate(const BookmarkEntry &entry, MenuHandle menu, int letter)
{
    if (entry.parentMenu != menu || entry.name[0] == '\0' || entry.menuPos < 0)
        return false;
    if (!IsFolderStart(entry) && !IsBookmark(entry))
        return false;
    return SameNoCase(static_cast<unsigned char>(entry.name[0]), letter);
}

static MenuCharChoice Choice(MenuCharAction action, int position)
{
    return {action, bookmarkTable.entries[position].menuPos};
}

MenuCharChoice FindBookmarkMenuChar(MenuHandle menu, int letter, int highlighted)
{
    const int count = bookmarkTable.entryCount;
    if (!bookmarkTable.entries || letter <= 0 || letter > 255)
        return {MENU_CHAR_IGNORE, 0};
    // A highlight left over from another table must not send the search out of bounds.
    if (highlighted < -1 || highlighted >= count)
        highlighted = -1;

    int remembered = -1;
    for (int p = highlighted + 1; p < count; p++) {
        if (!IsCandidate(bookmarkTable.entries[p], menu, letter))
            continue;
        if (remembered >= 0)
            return Choice(MENU_CHAR_SELECT, remembered);
        remembered = p;
    }
    const int last = remembered >= 0 ? remembered : highlighted;
    for (int p = 0; p <= last; p++) {
        if (!IsCandidate(bookmarkTable.entries[p], menu, letter))
            continue;
        if (remembered < 0)
            remembered = p;
        else if (p != remembered)
            return Choice(MENU_CHAR_SELECT, remembered);
        else
            return Choice(MENU_CHAR_EXECUTE, remembered);
    }
    if (remembered >= 0)
        return Choice(MENU_CHAR_EXECUTE, remembered);
    return {MENU_CHAR_IGNORE, 0};
}

char CommandKeyLetter(const char *text)
{
    const char *amp = std::strchr(text, '&');
    return amp ? amp[1] : text[0];
}
