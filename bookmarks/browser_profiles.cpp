// Finding the bookmarks of today's browsers in their profile folders.
#include "bookmarks/browser_profiles.h"

#include <rapidjson/document.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "base/ascii_case.h"
#include "bookmarks/favorites_listing.h"
#include "bookmarks/source_file.h"
#include "bookmarks/text_helpers.h"

const ChromiumBrowser CHROMIUM_BROWSERS[CHROMIUM_BROWSER_COUNT] = {
    {"Google\\Chrome", "Google Chrome", "chrome.exe"},
    {"Microsoft\\Edge", "Microsoft Edge", "msedge.exe"},
    {"BraveSoftware\\Brave-Browser", "Brave", "brave.exe"},
    {"Vivaldi", "Vivaldi", "vivaldi.exe"},
    {"Chromium", "Chromium", "chrome.exe"},
};

// a, the separator, then b with both kinds of slash turned into the platform's separator.
static std::string JoinPath(const std::string &a, std::string b)
{
    for (char &c : b)
        if (c == '\\' || c == '/')
            c = PATH_SEPARATOR[0];
    return a + PATH_SEPARATOR + b;
}

// The last-write time of a regular file, or -1 when there is none.
static long long WriteTime(const std::string &path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) ? static_cast<long long>(status.st_mtime) : -1;
}

// Of the paths, the file written last; empty when none is a file.
static std::string NewestFile(const std::vector<std::string> &paths)
{
    std::string newest;
    long long newestTime = -1;
    for (const std::string &path : paths) {
        long long time = WriteTime(path);
        if (time > newestTime)
            newest = path, newestTime = time;
    }
    return newest;
}

std::string LastUsedChromiumProfile(char *localState)
{
    rapidjson::Document document;
    document.ParseInsitu<rapidjson::kParseIterativeFlag>(localState);
    if (document.HasParseError() || !document.IsObject())
        return "Default";
    auto profile = document.FindMember("profile");
    if (profile == document.MemberEnd() || !profile->value.IsObject())
        return "Default";
    auto lastUsed = profile->value.FindMember("last_used");
    bool named = lastUsed != profile->value.MemberEnd() && lastUsed->value.IsString() &&
                 lastUsed->value.GetStringLength() > 0;
    return named ? lastUsed->value.GetString() : "Default";
}

std::string FindChromiumBookmarks(const std::string &localAppData)
{
    std::vector<std::string> found;
    for (const ChromiumBrowser &browser : CHROMIUM_BROWSERS) {
        std::string userData = JoinPath(localAppData, std::string(browser.folder) + "\\User Data");
        char *localState = ReadSourceFile(JoinPath(userData, "Local State").c_str(), "rb");
        std::string profile = localState ? LastUsedChromiumProfile(localState) : "Default";
        std::free(localState);
        found.push_back(JoinPath(userData, profile + "\\Bookmarks"));
    }
    return NewestFile(found);
}

// The path with every slash a backslash, as the browsers' folders are written above.
static std::string Backslashed(std::string path)
{
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

const ChromiumBrowser &ChromiumBrowserOf(const char *bookmarksPath)
{
    std::string path = Backslashed(bookmarksPath);
    for (const ChromiumBrowser &browser : CHROMIUM_BROWSERS)
        if (FindNoCase(path.c_str(), ("\\" + std::string(browser.folder) + "\\User Data\\").c_str()))
            return browser;
    return CHROMIUM_BROWSERS[CHROMIUM_BROWSER_COUNT - 1];
}

bool InChromiumUserData(const std::string &path, const std::string &localAppData)
{
    std::string full = Backslashed(path);
    for (const ChromiumBrowser &browser : CHROMIUM_BROWSERS)
        if (StartsWithNoCase(full.c_str(), Backslashed(localAppData + "\\" + browser.folder + "\\User Data\\").c_str()))
            return true;
    return false;
}

static bool IsAbsolute(const std::string &path)
{
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::vector<std::string> FirefoxProfileFolders(const std::string &ini, const std::string &iniFolder)
{
    std::vector<std::string> installs, profiles, defaults;
    std::istringstream lines(ini);
    std::string line, section, path;
    bool isDefault = false;
    auto endProfile = [&] {
        if (StartsWithNoCase(section.c_str(), "[Profile") && !path.empty()) {
            profiles.push_back(path);
            if (isDefault)
                defaults.push_back(path);
        }
        path.clear();
        isDefault = false;
    };
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[') {
            endProfile();
            section = line;
            continue;
        }
        size_t equals = line.find('=');
        std::string key = line.substr(0, equals), value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (CompareNoCase(key.c_str(), "Default") == 0 && StartsWithNoCase(section.c_str(), "[Install") && !value.empty())
            installs.push_back(value);
        else if (CompareNoCase(key.c_str(), "Default") == 0)
            isDefault = value == "1";
        else if (CompareNoCase(key.c_str(), "Path") == 0)
            path = value;
    }
    endProfile();
    std::vector<std::string> &chosen = !installs.empty() ? installs : !defaults.empty() ? defaults : profiles;
    std::vector<std::string> folders;
    if (&chosen == &profiles && profiles.size() != 1)
        return folders;  // several profiles and none named the default: none is known to be in use
    for (const std::string &folder : chosen)
        folders.push_back(IsAbsolute(folder) ? folder : JoinPath(iniFolder, folder));
    return folders;
}

std::string FindFirefoxPlaces(const std::string &firefoxFolder)
{
    char *ini = ReadSourceFile(JoinPath(firefoxFolder, "profiles.ini").c_str(), "rb");
    if (!ini)
        return "";
    std::vector<std::string> places;
    for (const std::string &folder : FirefoxProfileFolders(ini, firefoxFolder))
        places.push_back(JoinPath(folder, "places.sqlite"));
    std::free(ini);
    // Several installations of Firefox each name their profile: the one in use wrote its places.sqlite last.
    return NewestFile(places);
}
