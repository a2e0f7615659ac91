// The Search dialog's rules: which records match, how the count reads, how the history moves.
#include "tools/search_rules.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/text_helpers.h"

bool MatchesSearch(const BookmarkEntry &entry, const char *text)
{
    if (!IsBookmark(entry) || (entry.name[0] == '\0' && entry.url[0] == '\0'))
        return false;
    return FindNoCase(entry.name, text) || FindNoCase(entry.url, text);
}

std::vector<int> FindSearchResults(const char *text)
{
    std::vector<int> positions;
    for (int position = 0; position < bookmarkTable.entryCount; position++)
        if (MatchesSearch(bookmarkTable.entries[position], text))
            positions.push_back(position);
    return positions;
}

std::string ResultCountText(int count)
{
    return count == 1 ? "1 bookmark" : std::to_string(count) + " bookmarks";
}

void AddToSearchHistory(std::vector<std::string> &history, const std::string &text)
{
    history.erase(std::remove_if(history.begin(), history.end(),
                                 [&](const std::string &entry) { return CompareNoCase(entry.c_str(), text.c_str()) == 0; }),
                  history.end());
    history.insert(history.begin(), text);
    if (history.size() > SEARCH_HISTORY_LIMIT)
        history.resize(SEARCH_HISTORY_LIMIT);
}
