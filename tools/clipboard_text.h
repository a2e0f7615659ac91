// The texts that the copy commands of the context menus put on the clipboard.
#pragma once
#include <string>

struct BookmarkEntry;

// Command ids of the context menus' bookmark commands (menu 114).
const int COMMAND_REFRESH = 4003;
const int COMMAND_ABOUT = 4004;
const int COMMAND_PROPERTIES = 4006;
const int COMMAND_BROWSE_TO = 4007;
const int COMMAND_COPY_NAME = 4009;
const int COMMAND_COPY_LOCATION = 4010;
const int COMMAND_COPY_HTML = 4011;

// The name (4009), the location (4010) or an HTML anchor (4011) of the record, nothing escaped;
// empty for any other command.
std::string ClipboardTextFor(int command, const BookmarkEntry &entry);
