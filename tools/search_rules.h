// What the Search dialog finds and remembers: the matching rule, the count label and the search history.
#pragma once
#include <string>
#include <vector>

struct BookmarkEntry;

// The search history holds at most this many texts, most recent first.
const size_t SEARCH_HISTORY_LIMIT = 10;

// A bookmark (no folder mark or separator, not both name and URL empty) whose name or URL contains text,
// A-Z folded; the empty text matches every bookmark.
bool MatchesSearch(const BookmarkEntry &entry, const char *text);
// The table positions of every match, in table order.
std::vector<int> FindSearchResults(const char *text);
// "1 bookmark", otherwise "<count> bookmarks".
std::string ResultCountText(int count);
// Puts text first, removing an entry equal to it without regard to case, and drops the oldest beyond the limit.
void AddToSearchHistory(std::vector<std::string> &history, const std::string &text);
