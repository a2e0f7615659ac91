// Reading an Internet Shortcut's URL from its file: sections, keys, blanks, quotes and damage.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "bookmarks/favorites_reader.h"

// A literal with NUL bytes inside, all of it.
#define WITH_NUL(literal) std::string(literal, sizeof(literal) - 1)

struct ShortcutTextCase {
    const char *label;
    std::string text;
    const char *url;  // null: no URL found
};

static const ShortcutTextCase SHORTCUT_TEXT_CASES[] = {
    {"plain", "[InternetShortcut]\r\nURL=http://example.com/\r\n", "http://example.com/"},
    {"LF only and no final line end", "[InternetShortcut]\nURL=http://e/", "http://e/"},
    {"names in any case, blanks around key and value", "[internetSHORTCUT]\n  url \t= http://s/ a \t\n", "http://s/ a"},
    {"quotes around the value go", "[InternetShortcut]\nURL=\"http://q/\"\n", "http://q/"},
    {"a lone quote stays", "[InternetShortcut]\nURL=\"http://q/\n", "\"http://q/"},
    {"the first URL line counts", "[InternetShortcut]\nURL=http://1/\nURL=http://2/\n", "http://1/"},
    {"only the shortcut section counts", "[DEFAULT]\nURL=http://wrong/\n[InternetShortcut]\nURL=http://right/\n[Other]\nURL=x\n",
     "http://right/"},
    {"a later section ends it", "[InternetShortcut]\nIconIndex=1\n[Other]\nURL=http://other/\n", nullptr},
    {"no section", "URL=http://x/\n", nullptr},
    {"no URL line", "[InternetShortcut]\nIconFile=x.ico\n", nullptr},
    {"an empty value", "[InternetShortcut]\nURL=\n", nullptr},
    {"a key that only starts with URL", "[InternetShortcut]\nURLS=http://x/\nBASEURL=http://y/\n", nullptr},
    {"an unclosed section header", "[InternetShortcut\nURL=http://x/\n", nullptr},
    {"empty text", "", nullptr},
    {"a NUL ends the URL", WITH_NUL("[InternetShortcut]\nURL=http://n/\0tail\n"), "http://n/"},
    {"NUL bytes spoil a section line", WITH_NUL("\0\0[InternetShortcut]\nURL=http://z/\n"), nullptr},
    {"bytes beyond ASCII kept", "[InternetShortcut]\nURL=http://h/caf\xE9\n", "http://h/caf\xE9"},
};

TEST(ShortcutFileTest, UrlFromText)
{
    for (const ShortcutTextCase &row : SHORTCUT_TEXT_CASES) {
        SCOPED_TRACE(row.label);
        std::string url = "unchanged";
        bool found = FindShortcutURL(row.text.data(), row.text.size(), url);
        EXPECT_EQ(found, row.url != nullptr);
        if (row.url) {
            EXPECT_EQ(url, row.url);
        }
    }
}

TEST(ShortcutFileTest, UrlFromTheSeedFiles)
{
    struct {
        const char *file;
        int result;
        const char *url;
    } rows[] = {
        {"plain.url", 0, "http://www.example.com/"},
        {"other_section.url", 0, "http://right/?q=1&r=2#frag"},
        {"spaced.url", 0, "http://spaced/path"},
        {"no_url.url", SHORTCUT_NO_URL, nullptr},
        {"empty_value.url", SHORTCUT_NO_URL, nullptr},
        {"empty.url", SHORTCUT_NO_URL, nullptr},
        {"damaged.url", SHORTCUT_NO_URL, nullptr},
        {"missing.url", SHORTCUT_CANNOT_READ, nullptr},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        std::string path = std::string(TRESK_TEST_DATA) + "/favorites/" + row.file;
        char *url = nullptr;
        int length = -1;
        EXPECT_EQ(ReadShortcutFileURL(path.c_str(), &url, &length), row.result);
        if (row.url) {
            ASSERT_NE(url, nullptr);
            EXPECT_STREQ(url, row.url);
            EXPECT_EQ(length, static_cast<int>(std::strlen(row.url)));
        } else {
            EXPECT_EQ(url, nullptr);
        }
        std::free(url);
    }
}
