// Resolving an Internet Shortcut by reading its file: the URL= line of its [InternetShortcut] section.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/fatal_error.h"
#include "base/ascii_case.h"
#include "bookmarks/favorites_reader.h"
#include "bookmarks/source_file.h"

// The blanks that the profile-file functions trim around names, values and section names: the
// control characters from tab to CR, ^Z (an old end-of-file mark) and the space.
static bool IsBlank(char c)
{
    return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' ';
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

// As the profile-file functions read the file (and so the Internet Shortcut object): a section's name
// runs to the last ']' of its line (a '[' line without one is no section), and only the first section of
// that name is looked in.
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
        size_t close = content.rfind(']');
        if (!content.empty() && content[0] == '[' && close != std::string::npos) {
            if (inShortcutSection)
                return false;  // its section ended without a URL
            inShortcutSection = EqualsNoCase(Trimmed(&content[1], &content[close]), "InternetShortcut");
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

bool ReadShortcutFileBytes(const char *path, std::string &bytes)
{
    std::FILE *file = OpenSourceFile(path, "rb");
    if (!file)
        return false;
    char chunk[4096];
    size_t got;
    while (bytes.size() < MAX_SHORTCUT_FILE && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (bytes.size() > MAX_SHORTCUT_FILE)
        bytes.resize(MAX_SHORTCUT_FILE);
    return !failed;
}

int ReadShortcutFileURL(const char *path, char **url, int *length)
{
    std::string bytes, target;
    if (!ReadShortcutFileBytes(path, bytes))
        return SHORTCUT_CANNOT_READ;
    if (!FindShortcutURL(bytes.data(), bytes.size(), target))
        return SHORTCUT_NO_URL;
    *url = static_cast<char *>(std::malloc(target.size() + 1));
    if (!*url)
        ShowFatalError(FATAL_OUT_OF_MEMORY);
    std::memcpy(*url, target.c_str(), target.size() + 1);
    *length = static_cast<int>(target.size());
    return 0;
}
