// tresk-cli: Tresk's readers and link check for scripts and tests.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

static int Usage()
{
    std::fprintf(stderr,
                 "usage: tresk-cli list [--sort default|ascending|descending] [--favorites DIR] [--opera FILE] [--chromium FILE]\n"
                 "                      [--firefox PLACES] BOOKMARK_FILE\n"
                 "       tresk-cli verify [--threads N] [--proxy HOST[:PORT]] [--timeout SECONDS] (URL ... | --bookmarks FILE)\n");
    return 2;
}

int main(int argc, char **argv)
{
    if (argc < 2)
        return Usage();
    if (std::strcmp(argv[1], "list") == 0)
        return RunListCommand(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "verify") == 0)
        return RunVerifyCommand(argc - 2, argv + 2);
    return Usage();
}
