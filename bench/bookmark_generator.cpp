// Generated Chrome-style Netscape bookmark exports for the benchmarks.
#include "bench/bookmark_generator.h"

#include <cstdint>
#include <cstdio>

static const char BASE64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Deterministic pseudo-random numbers, so every run measures the same files.
static uint32_t NextRandom(uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

bool WriteChromeExport(const std::string &path, int bookmarks)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    uint32_t state = 12345;
    std::fputs("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- This is an automatically generated file.\n"
               "     It will be read and overwritten.\n     DO NOT EDIT! -->\n"
               "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
               "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n"
               "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1700000000\" PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n"
               "    <DL><p>\n",
               file);
    std::string icon;
    for (int i = 0; i < bookmarks; i++) {
        if (i % 50 == 0) {
            if (i)
                std::fputs("        </DL><p>\n", file);
            std::fprintf(file, "        <DT><H3 ADD_DATE=\"%d\" LAST_MODIFIED=\"%d\">Folder %d</H3>\n        <DL><p>\n",
                         1600000000 + i, 1700000000 + i, i / 50);
        }
        bool inSubfolder = i % 250 >= 240;
        if (i % 250 == 240)
            std::fprintf(file, "            <DT><H3 ADD_DATE=\"%d\">Subfolder %d</H3>\n            <DL><p>\n", 1600000000 + i, i);
        icon.assign(140 + NextRandom(state) % 241, 'A');
        for (char &c : icon)
            c = BASE64[NextRandom(state) % 64];
        std::fprintf(file,
                     "%s<DT><A HREF=\"https://www.example%d.com/path/to/page-%u.html?ref=bookmarks\" ADD_DATE=\"%d\" "
                     "ICON=\"data:image/png;base64,%s\">Example page %d &amp; more</A>\n",
                     inSubfolder ? "                " : "            ", i % 997, NextRandom(state), 1600000000 + i,
                     icon.c_str(), i);
        if (i % 250 == 249)
            std::fputs("            </DL><p>\n", file);
    }
    std::fputs("        </DL><p>\n    </DL><p>\n</DL><p>\n", file);
    return std::fclose(file) == 0;
}

long FileSize(const std::string &path)
{
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fclose(file);
    return size;
}
