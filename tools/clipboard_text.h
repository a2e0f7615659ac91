// The texts that the copy commands of the context menus put on the clipboard.
#pragma once
#include <string>

#include "tools/bookmark_copy.h"

// The name (4009), the location (4010) or an HTML anchor (4011) of the record, nothing escaped;
// empty for any other command.
std::string ClipboardTextFor(int command, const BookmarkCopy &entry);
