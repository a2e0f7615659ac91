// Bookmark source files are opened only when they are regular files, and read whole.
#include "bookmarks/source_file.h"

#include <sys/stat.h>

#include <cstdlib>

#include "base/fatal_error.h"

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

char *ReadSourceFile(const char *path, const char *mode, size_t *length)
{
    std::FILE *file = OpenSourceFile(path, mode);
    if (!file)
        return nullptr;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        ShowFatalError(FATAL_CANNOT_READ_FILE);
    }
    char *text = static_cast<char *>(std::malloc(static_cast<size_t>(size) + 1));
    if (!text) {
        std::fclose(file);
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    }
    // Text mode may read fewer bytes than the length taken (CR LF pairs become LF).
    size_t got = std::fread(text, 1, static_cast<size_t>(size), file);
    std::fclose(file);
    text[got] = '\0';
    if (length)
        *length = got;
    return text;
}

int ReadSourceWith(const char *path, const char *mode, int (*readText)(char *text))
{
    char *text = ReadSourceFile(path, mode);
    int result = text ? readText(text) : 0;
    std::free(text);
    return result;
}
