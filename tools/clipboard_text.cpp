// The clipboard texts of the copy commands.
#include "tools/clipboard_text.h"

#include "res/resource.h"

std::string ClipboardTextFor(int command, const BookmarkCopy &entry)
{
    switch (command) {
    case IDC_CMD_COPY_NAME:
        return entry.name;
    case IDC_CMD_COPY_LOCATION:
        return entry.url;
    case IDC_CMD_COPY_HTML:
        // Pasted into a page as written: quotes and angle brackets in the texts stay as they are.
        return std::string("<A HREF=\"") + entry.url + "\">" + entry.name + "</A>";
    default:
        return std::string();
    }
}
