// Bookmark source files are opened only when they are regular files.
#include "bookmarks/source_file.h"

#include <sys/stat.h>

// Looked at before opening, because opening a pipe waits for a writer, and again once open, because
// the path may have been replaced in between.
std::FILE *OpenSourceFile(const char *path, const char *mode)
{
    struct stat status;
    if (stat(path, &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;
    std::FILE *file = std::fopen(path, mode);
    if (file && (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode))) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}
