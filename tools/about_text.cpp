// The About dialog's texts.
#include "tools/about_text.h"

// Tresk has no web site of its own yet. A name under the reserved ".example" domain can never be anybody
// else's site, so the link claims nothing that is not the project's; the day Tresk has a home page, it
// goes here.
const char HOME_PAGE[] = "http://tresk.example/";

std::string AboutText(const char *version, const char *buildDate)
{
    std::string date = buildDate;
    size_t padding = date.find("  ");
    if (padding != std::string::npos)
        date.erase(padding, 1);
    std::string year = date.size() >= 4 ? date.substr(date.size() - 4) : date;
    return std::string("Tresk ") + version + "\r\n[" + date + "]\r\nCopyright (C) " + year + " Olvane";
}
