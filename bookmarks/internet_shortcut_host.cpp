// The host build resolves Internet Shortcuts by reading their files.
#include "bookmarks/favorites_reader.h"

int ResolveInternetShortcut(const char *path, char **url, int *length)
{
    return ReadShortcutFileURL(path, url, length);
}
