// The texts that the copy commands of the context menus put on the clipboard.
#pragma once
#include <string>

struct BookmarkEntry;

// The name (4009), the location (4010) or an HTML anchor (4011) of the record, nothing escaped;
// empty for any other command.
std::string ClipboardTextFor(int command, const BookmarkEntry &entry);
