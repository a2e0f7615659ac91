// tresk-cli list.
#include <cstdio>

#include "cli/commands.h"

int RunListCommand(int, char **)
{
    std::fprintf(stderr, "tresk-cli list: not yet supported\n");
    return 2;
}
