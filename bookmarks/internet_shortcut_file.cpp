// Resolving an Internet Shortcut by reading its file: the URL= line of its [InternetShortcut] section.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/fatal_error.h"
#include "base/ascii_case.h"
#include "bookmarks/favorites_reader.h"
#include "bookmarks/source_file.h"

// A shortcut file is a few hundred bytes; a larger one is damaged, and only its start is looked at.
static const size_t MAX_SHORTCUT_FILE = 1 << 20;

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text between first and last without the blanks around it.
static std::string Trimmed(const char *first, const char *last)
{
    while (first < last && IsBlank(*first))
        first++;
    while (last > first && IsBlank(last[-1]))
        last--;
    return std::string(first, last);
}

static bool EqualsNoCase(const std::string &text, const char *word)
{
    return text.size() == std::strlen(word) && CompareNoCase(text.c_str(), word) == 0;
}

// A value in matching quotes loses them, as the profile-file functions return it.
static std::string Unquoted(const std::string &value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

bool FindShortcutURL(const char *text, size_t size, std::string &url)
{
    const char *end = text + size;
    bool inShortcutSection = false;
    for (const char *line = text; line < end;) {
        const char *lineEnd = line;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            lineEnd++;
        std::string content = Trimmed(line, lineEnd);
        line = lineEnd + 1;
        if (!content.empty() && content[0] == '[') {
            size_t close = content.find(']');
            std::string section = close == std::string::npos ? std::string() : content.substr(1, close - 1);
            inShortcutSection = EqualsNoCase(Trimmed(section.data(), section.data() + section.size()), "InternetShortcut");
            continue;
        }
        size_t equals = content.find('=');
        if (!inShortcutSection || equals == std::string::npos)
            continue;
        if (!EqualsNoCase(Trimmed(content.data(), content.data() + equals), "URL"))
            continue;
        std::string value = Unquoted(Trimmed(content.data() + equals + 1, content.data() + content.size()));
        url = value.substr(0, value.find('\0'));  // the URL is a C text
        return !url.empty();
    }
    return false;
}

int ReadShortcutFileURL(const char *path, char **url, int *length)
{
    std::FILE *file = OpenSourceFile(path, "rb");
    if (!file)
        return SHORTCUT_CANNOT_READ;
    std::string bytes;
    char chunk[4096];
    size_t got;
    while (bytes.size() < MAX_SHORTCUT_FILE && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return SHORTCUT_CANNOT_READ;
    std::string target;
    if (!FindShortcutURL(bytes.data(), std::min(bytes.size(), MAX_SHORTCUT_FILE), target))
        return SHORTCUT_NO_URL;
    *url = static_cast<char *>(std::malloc(target.size() + 1));
    if (!*url)
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    std::memcpy(*url, target.c_str(), target.size() + 1);
    *length = static_cast<int>(target.size());
    return 0;
}
