// The host build's fatal error report: the message on standard error, then exit with the code.
#include "base/fatal_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

void ShowFatalError(int code)
{
    char message[512];
    FormatFatalError(code, static_cast<unsigned long>(errno), "", message, sizeof message);
    std::fprintf(stderr, "Tresk Fatal Error: %s\n", message);
    std::exit(code);
}
