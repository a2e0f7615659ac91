// The About dialog's texts: the home-page address and the lines about the program.
#pragma once
#include <string>

// The link's caption and the address it opens.
extern const char HOME_PAGE[];

// "Tresk <version>", the build date in square brackets, the copyright line; lines end with "\r\n" as a
// static control shows them. buildDate is in the compiler's __DATE__ form ("Mmm dd yyyy", a day below 10
// padded with a blank), shown without the padding.
std::string AboutText(const char *version, const char *buildDate);
