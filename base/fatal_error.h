// Fatal conditions: a numbered message, the tray icon removed, the process ended with the number as exit code.
#pragma once
#include <cstddef>

enum FatalErrorCode {
    FATAL_OUT_OF_MEMORY = 1,
    FATAL_CANNOT_OPEN_FILE = 2,
    FATAL_CANNOT_READ_FILE = 3,
    FATAL_CANNOT_WRITE_FILE = 4,
    FATAL_OVERFLOW = 8,
    FATAL_INVALID_BOOKMARK_FILE = 9,
    FATAL_BOOKMARK_FILE_NOT_FOUND = 10,
    FATAL_REGISTRY_KEY = 11,
    FATAL_BOOKMARK_PARSE = 12,
};

// The message of a code: the table's text formatted with the last-error value (code 11) or the
// bookmark file name (code 12) into a buffer of `size` bytes. Codes without a message give "".
void FormatFatalError(int code, unsigned long lastError, const char *bookmarkFile, char *buffer, size_t size);

// Reports the condition and ends the process; usable from any thread.
[[noreturn]] void ShowFatalError(int code);
