// tresk-cli verify.
#include <cstdio>

#include "cli/commands.h"

int RunVerifyCommand(int, char **)
{
    std::fprintf(stderr, "tresk-cli verify: not yet supported\n");
    return 2;
}
