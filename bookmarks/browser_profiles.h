// Where today's browsers keep their bookmarks: the Chromium family's Bookmarks file, Firefox's places.sqlite.
#pragma once
#include <string>
#include <vector>

struct ChromiumBrowser {
    const char *folder;   // under %LOCALAPPDATA%, holding "User Data"
    const char *name;     // the label of the source's header item
    const char *program;  // its key under App Paths, whose program has the browser's icon
};
const int CHROMIUM_BROWSER_COUNT = 5;
extern const ChromiumBrowser CHROMIUM_BROWSERS[CHROMIUM_BROWSER_COUNT];

// The Bookmarks file of the Chromium-family browser in use: of each browser under localAppData the profile
// that "User Data\Local State" names as last used (else "Default"), and of those with a Bookmarks file the
// one written last. Empty when none has one.
std::string FindChromiumBookmarks(const std::string &localAppData);
// The profile folder named by profile.last_used in the text of a Local State file (parsed in place, so
// changed); "Default" when it names none.
std::string LastUsedChromiumProfile(char *localState);
// The browser whose own folders hold the path; Chromium's when it is none of them.
const ChromiumBrowser &ChromiumBrowserOf(const char *bookmarksPath);
// Whether the path lies in a Chromium-family browser's "User Data" folder under localAppData.
bool InChromiumUserData(const std::string &path, const std::string &localAppData);

// places.sqlite of the profile in use that firefoxFolder\profiles.ini names; empty when it names none that has one.
std::string FindFirefoxPlaces(const std::string &firefoxFolder);
// The profile folders the text of profiles.ini names, best first: the Default= of each [Install...]
// section, else the [Profile...] with Default=1, else the only profile. Relative paths are taken in
// iniFolder, their '/' turned into the platform's separator.
std::vector<std::string> FirefoxProfileFolders(const std::string &ini, const std::string &iniFolder);
