// Reader of the Internet Explorer Favorites tree of .URL Internet Shortcut files.
#pragma once

// Appends the directory's folders and shortcuts, depth first; 1 when it was listed, 0 otherwise.
int ReadFavoritesFolder(const char *directory);
