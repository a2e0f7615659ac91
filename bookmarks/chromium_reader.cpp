// Reader of the Chromium family's Bookmarks file: the JSON tree under "roots", parsed with RapidJSON.
#include "bookmarks/chromium_reader.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/trace.h"
#include "bookmarks/bookmark_table.h"
#include "bookmarks/source_file.h"
#include "bookmarks/text_helpers.h"

using Node = rapidjson::Value;

static const size_t MAX_TEXT = 1024;
// The browsers count microseconds from 1601-01-01, the Windows file-time epoch; the table seconds from 1970.
static const long long SECONDS_FROM_1601_TO_1970 = 11644473600LL;
// In the order the browsers show them; any other root (a newer browser's) is left out.
static const char *const ROOTS[] = {"bookmark_bar", "other", "synced"};

static const char *MemberText(const Node &node, const char *key)
{
    Node::ConstMemberIterator member = node.FindMember(key);
    return member != node.MemberEnd() && member->value.IsString() ? member->value.GetString() : nullptr;
}

static bool HasType(const Node &node, const char *type)
{
    const char *text = node.IsObject() ? MemberText(node, "type") : nullptr;
    return text && std::string(text) == type;
}

// Dates are decimal strings; "0", a missing date and one before 1970 mean none.
static int32_t DateOf(const Node &node, const char *key)
{
    const char *text = MemberText(node, key);
    long long microseconds = text ? std::strtoll(text, nullptr, 10) : 0;
    long long seconds = microseconds / 1000000 - SECONDS_FROM_1601_TO_1970;
    return microseconds > 0 && seconds > 0 ? TableTime(seconds) : 0;
}

// Names are UTF-8: the table keeps them in the code page, cut at 1024 bytes.
static std::string TextOf(const Node &node, const char *key, bool utf8)
{
    Node::ConstMemberIterator member = node.FindMember(key);
    if (member == node.MemberEnd() || !member->value.IsString())
        return "";
    const Node &value = member->value;
    if (utf8)
        return CodePageText(value.GetString(), value.GetStringLength(), MAX_TEXT);
    return std::string(value.GetString(), std::min<size_t>(value.GetStringLength(), MAX_TEXT));
}

static void SetDates(int position, const Node &node)
{
    BookmarkEntry &entry = bookmarkTable.entries[position];
    entry.lastModified = DateOf(node, "date_added");
    entry.lastVisit = DateOf(node, "date_last_used");
}

static void AppendUrl(ReaderCursor &cursor, const Node &node)
{
    std::string url = TextOf(node, "url", false);
    if (IsKindMarker(url.c_str()))
        return;
    SetDates(AppendRecord(cursor, TextOf(node, "name", true).c_str(), url.c_str()), node);
}

// A folder being read: its children and the next one to take.
struct OpenLevel {
    const Node *children;
    rapidjson::SizeType next;
};

static void OpenFolder(ReaderCursor &cursor, const Node &node, std::vector<OpenLevel> &open)
{
    static const Node noChildren(rapidjson::kArrayType);
    SetDates(AppendRecord(cursor, TextOf(node, "name", true).c_str(), OPEN_FOLDER), node);
    Node::ConstMemberIterator children = node.FindMember("children");
    bool listed = children != node.MemberEnd() && children->value.IsArray();
    open.push_back({listed ? &children->value : &noChildren, 0});
}

// Depth first with a stack of its own: a file nested thousands deep must not use up the thread's stack.
static void AppendTree(ReaderCursor &cursor, const Node &root)
{
    std::vector<OpenLevel> open;
    OpenFolder(cursor, root, open);
    while (!open.empty()) {
        OpenLevel &level = open.back();
        if (level.next == level.children->Size()) {
            AppendRecord(cursor, CLOSE_FOLDER, CLOSE_FOLDER);
            open.pop_back();
            continue;
        }
        const Node &child = (*level.children)[level.next++];
        if (HasType(child, "folder"))
            OpenFolder(cursor, child, open);  // `level` is not used after this
        else if (HasType(child, "url"))
            AppendUrl(cursor, child);
    }
}

int ReadChromiumBookmarksText(char *text)
{
    TraceEnter("ReadChromiumBookmarksText");
    // Parsed iteratively, in place: no recursion however deep the file, and no second copy of its texts.
    rapidjson::Document document;
    document.ParseInsitu<rapidjson::kParseIterativeFlag>(text);
    std::vector<const Node *> roots;
    if (!document.HasParseError() && document.IsObject()) {
        Node::ConstMemberIterator all = document.FindMember("roots");
        for (const char *name : ROOTS) {
            if (all == document.MemberEnd() || !all->value.IsObject())
                break;
            Node::ConstMemberIterator root = all->value.FindMember(name);
            if (root != all->value.MemberEnd() && HasType(root->value, "folder"))
                roots.push_back(&root->value);
        }
    }
    Trace("%d roots", static_cast<int>(roots.size()));
    if (!roots.empty()) {
        ReaderCursor cursor;
        StartReading(cursor, SOURCE_CHROMIUM);
        for (const Node *root : roots)
            AppendTree(cursor, *root);
    }
    TraceExit("ReadChromiumBookmarksText");
    return roots.empty() ? 0 : 1;
}

int ReadChromiumBookmarks(const char *path)
{
    TraceEnter("ReadChromiumBookmarks");
    int result = ReadSourceWith(path, "rb", ReadChromiumBookmarksText);
    TraceExit("ReadChromiumBookmarks");
    return result;
}
