// The change watch: one thread waiting on file-system change notifications for the five sources.
#include "bookmarks/change_watch.h"

#include "base/settings.h"
#include "bookmarks/change_watch_file.h"
#include "bookmarks/change_watch_firefox.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "base/fatal_error.h"
#include "base/app_state.h"
#include "base/trace.h"

enum WatchSource { WATCH_BOOKMARKS, WATCH_FAVORITES, WATCH_HOTLIST, WATCH_CHROMIUM, WATCH_FIREFOX, WATCH_SOURCES };

// One watch thread and all it uses. The thread reads only this record (paths copied at the start), so
// the user-interface thread may change the settings while it runs. The record is freed by whichever of
// the two threads lets go of it last.
struct ChangeWatch {
    std::atomic<bool> running{true};  // watchRunning: cleared to ask the thread to stop
    std::atomic<int> references{2};
    HANDLE thread = nullptr;
    HANDLE stopEvent = nullptr;       // set with every stop request, so a waiting thread wakes at once
    HANDLE previousThread = nullptr;  // a thread this one replaces that may still be ending
    HANDLE notifications[WATCH_SOURCES] = {};
    FileStamp bookmarkFileStamp = {};
    FileStamp hotlistFileStamp = {};
    FileStamp chromiumFileStamp = {};
    FirefoxWatch firefox;
    bool useFavorites = false;
    bool useHotlist = false;
    bool useChromium = false;
    bool useFirefox = false;
    char chromiumFile[MAX_PATH] = "";
    char chromiumDirectory[MAX_PATH] = "";
    char firefoxDirectory[MAX_PATH] = "";
    char bookmarkFile[MAX_PATH] = "";
    char bookmarkDirectory[MAX_PATH] = "";
    char favoritesDirectory[MAX_PATH] = "";
    char hotlistFile[MAX_PATH] = "";
    char hotlistDirectory[MAX_PATH] = "";
};

// Both user-interface thread only.
static ChangeWatch *currentWatch = nullptr;
static HANDLE endingThread = nullptr;  // a stopped thread that had not ended when its stop returned

static const DWORD WAIT_PERIOD = 500;
static const DWORD STOP_WAIT_LIMIT = 2000;
static const char IGNORE_WATCH_ERROR[] = "Ignore Watch Error";

static const char BOOKMARK_WATCH_FAILED[] =
    "Tresk was unable to establish a watch on the bookmark file.  Automatic refreshing of the menu has been disabled.";
static const char FAVORITES_WATCH_FAILED[] =
    "Tresk was unable to establish a watch on the Internet Explorer favorites directory.  Automatic refreshing of "
    "the menu has been disabled.";
static const char FAVORITES_VOLUME_NAME_BUG[] =
    "Tresk was unable to establish a watch on the Internet Explorer favorites directory.  Automatic refreshing of "
    "the bookmark menu has been disabled.\n\nThe reason for this appears to be a bug in the implementation in the "
    "FindFirstChangeNotification() function on Windows 95 and 98.  This function may fail when called against a "
    "directory that has the same name as the hard drive that it resides on.  In this case, both the folder and the "
    "hard drive are named \"%s\".\n\nDo you want to see this message in the future?";
static const char HOTLIST_WATCH_FAILED[] =
    "Tresk was unable to establish a watch on the Opera Hotlist file.  Automatic refreshing of the menu has been "
    "disabled.";

static void CopyPath(char *target, const char *source)
{
    std::snprintf(target, MAX_PATH, "%s", source);
}

static void ReleaseWatch(ChangeWatch *watch)
{
    if (--watch->references > 0)
        return;
    if (watch->thread)
        CloseHandle(watch->thread);
    if (watch->previousThread)
        CloseHandle(watch->previousThread);
    CloseHandle(watch->stopEvent);
    delete watch;
}

static HANDLE DuplicateThreadHandle(HANDLE thread)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &copy, SYNCHRONIZE, FALSE, 0);
    return copy;
}

// Waits for a thread to end while answering messages sent to this thread's windows: a watch thread in
// a message box owned by mainWindow sends it messages and would otherwise never return.
static bool WaitForThreadEnd(HANDLE thread, DWORD limit)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= limit)
            return false;
        DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, limit - elapsed, QS_SENDMESSAGE);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

static void PostSourcesChanged()
{
    PostMessageA(mainWindow, MSG_SOURCES_CHANGED, 0, 0);
}

// Shared by OnBookmarkFileChanged and OnHotlistChanged: a neighbour's change leaves the stamp as it was,
// and a save in several steps is one change.
static void OnWatchedFileChanged(ChangeWatch *watch, int source, const char *path, FileStamp &known)
{
    if (WaitForQuietFolder(watch->notifications[source], watch->stopEvent) &&
        TakeNewStamp(path, known, watch->stopEvent))
        PostSourcesChanged();
}

static void OnBookmarkFileChanged(ChangeWatch *watch)
{
    OnWatchedFileChanged(watch, WATCH_BOOKMARKS, watch->bookmarkFile, watch->bookmarkFileStamp);
}

static void OnHotlistChanged(ChangeWatch *watch)
{
    OnWatchedFileChanged(watch, WATCH_HOTLIST, watch->hotlistFile, watch->hotlistFileStamp);
}

// The browser writes a new Bookmarks file and renames it over the old one; while the name is free for a
// moment there is no file, which is no change.
static void OnChromiumChanged(ChangeWatch *watch)
{
    OnWatchedFileChanged(watch, WATCH_CHROMIUM, watch->chromiumFile, watch->chromiumFileStamp);
}

static void LookAtFirefoxNow(ChangeWatch *watch)
{
    if (LookAtFirefox(watch->firefox))
        PostSourcesChanged();
}

static void ShowWatchError(ChangeWatch *watch, const char *text, DWORD error)
{
    if (!watch->running)
        return;  // stopped while setting up: nobody wants to hear about it
    char title[64];
    std::snprintf(title, sizeof title, "Tresk Error %lu", static_cast<unsigned long>(error));
    MessageBoxA(mainWindow, text, title, MB_ICONEXCLAMATION);
}

static HANDLE OpenNotification(const char *path, BOOL subtree, DWORD filter, DWORD &error)
{
    SetLastError(0);
    HANDLE notification = FindFirstChangeNotificationA(path, subtree, filter);
    error = GetLastError();
    return notification == INVALID_HANDLE_VALUE ? nullptr : notification;
}

static bool IgnoreWatchErrorSet()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof value, type = 0;
    LONG result = RegQueryValueExA(key, IGNORE_WATCH_ERROR, nullptr, &type, reinterpret_cast<BYTE *>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && value != 0;
}

static void SetIgnoreWatchError()
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        ShowFatalError(FATAL_REGISTRY_KEY);
    DWORD one = 1;
    RegSetValueExA(key, IGNORE_WATCH_ERROR, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), sizeof one);
    RegCloseKey(key);
}

// Windows 95 and 98 refuse a change notification on a folder named like its volume; the user may
// silence that message for good.
static void ReportFavoritesWatchError(ChangeWatch *watch, DWORD error)
{
    char root[4] = "";
    std::snprintf(root, sizeof root, "%s", watch->favoritesDirectory);
    char volumeName[256] = "";
    GetVolumeInformationA(root, volumeName, sizeof volumeName, nullptr, nullptr, nullptr, nullptr, 0);
    if (!std::strstr(watch->favoritesDirectory, volumeName)) {
        ShowWatchError(watch, FAVORITES_WATCH_FAILED, error);
        return;
    }
    if (!watch->running || IgnoreWatchErrorSet())
        return;
    char title[64];
    std::snprintf(title, sizeof title, "Tresk Error %lu", static_cast<unsigned long>(error));
    char text[sizeof FAVORITES_VOLUME_NAME_BUG + 256];
    std::snprintf(text, sizeof text, FAVORITES_VOLUME_NAME_BUG, volumeName);
    if (MessageBoxA(mainWindow, text, title, MB_YESNO | MB_ICONEXCLAMATION) == IDNO)
        SetIgnoreWatchError();
}

static void SetUpNotifications(ChangeWatch *watch)
{
    DWORD error = 0;
    watch->notifications[WATCH_BOOKMARKS] =
        OpenNotification(watch->bookmarkDirectory, FALSE, WATCHED_FILE_FILTER, error);
    if (!watch->notifications[WATCH_BOOKMARKS] && error != 0)
        ShowWatchError(watch, BOOKMARK_WATCH_FAILED, error);
    // A file that cannot be read now keeps a zero stamp, so its first readable change refreshes.
    ReadFileStamp(watch->bookmarkFile, watch->bookmarkFileStamp, error);
    if (watch->useFavorites) {
        const DWORD filter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
        watch->notifications[WATCH_FAVORITES] = OpenNotification(watch->favoritesDirectory, TRUE, filter, error);
        if (!watch->notifications[WATCH_FAVORITES] && error != 0)
            ReportFavoritesWatchError(watch, error);
    }
    if (watch->useHotlist) {
        watch->notifications[WATCH_HOTLIST] =
            OpenNotification(watch->hotlistDirectory, FALSE, WATCHED_FILE_FILTER, error);
        if (!watch->notifications[WATCH_HOTLIST] && error != 0)
            ShowWatchError(watch, HOTLIST_WATCH_FAILED, error);
        else if (watch->notifications[WATCH_HOTLIST])
            ReadFileStamp(watch->hotlistFile, watch->hotlistFileStamp, error);
    }
    // The browsers' folders are watched without a message when that fails: Firefox is looked at every few
    // seconds anyway, and a Refresh still reads both.
    if (watch->useChromium) {
        watch->notifications[WATCH_CHROMIUM] =
            OpenNotification(watch->chromiumDirectory, FALSE, WATCHED_FILE_FILTER, error);
        ReadFileStamp(watch->chromiumFile, watch->chromiumFileStamp, error);
    }
    if (watch->useFirefox) {
        watch->notifications[WATCH_FIREFOX] =
            OpenNotification(watch->firefoxDirectory, FALSE, WATCHED_FILE_FILTER | FILE_NOTIFY_CHANGE_SIZE, error);
        StartFirefoxWatch(watch->firefox);
    }
}

static void CloseNotifications(ChangeWatch *watch)
{
    for (HANDLE &notification : watch->notifications) {
        if (notification)
            FindCloseChangeNotification(notification);
        notification = nullptr;
    }
}

// The handler re-arms the notification: a watched file's does so before its quiet moment.
static void OnSourceSignalled(ChangeWatch *watch, int source)
{
    if (source == WATCH_BOOKMARKS) {
        OnBookmarkFileChanged(watch);
    } else if (source == WATCH_FAVORITES) {
        FindNextChangeNotification(watch->notifications[source]);
        PostSourcesChanged();  // every change in the tree refreshes
    } else if (source == WATCH_HOTLIST) {
        OnHotlistChanged(watch);
    } else if (source == WATCH_CHROMIUM) {
        OnChromiumChanged(watch);
    } else {
        // Firefox commits whole transactions to its WAL: no quiet moment is needed, and a busy profile
        // folder would seldom give one.
        FindNextChangeNotification(watch->notifications[source]);
        LookAtFirefoxNow(watch);
    }
}

static void WatchLoop(ChangeWatch *watch)
{
    while (watch->running) {
        // The stop event comes first; the notifications then in the order of the sources.
        HANDLE handles[1 + WATCH_SOURCES] = {watch->stopEvent};
        int sources[1 + WATCH_SOURCES] = {-1};
        DWORD count = 1;
        for (int source = 0; source < WATCH_SOURCES; source++) {
            if (watch->notifications[source]) {
                handles[count] = watch->notifications[source];
                sources[count++] = source;
            }
        }
        DWORD result = WaitForMultipleObjects(count, handles, FALSE, WAIT_PERIOD);
        if (!watch->running)
            break;
        if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
            OnSourceSignalled(watch, sources[result - WAIT_OBJECT_0]);
        } else if (result == WAIT_FAILED) {
            WaitForSingleObject(watch->stopEvent, WAIT_PERIOD);  // never spin on a broken handle
        }
        if (watch->useFirefox && FirefoxLookDue(watch->firefox))
            LookAtFirefoxNow(watch);
    }
}

// A thread that replaces another first waits for it to end, so two watch threads never run together.
static bool WaitForPreviousThread(ChangeWatch *watch)
{
    if (!watch->previousThread)
        return true;
    HANDLE handles[2] = {watch->previousThread, watch->stopEvent};
    DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    CloseHandle(watch->previousThread);
    watch->previousThread = nullptr;
    return result == WAIT_OBJECT_0 && watch->running;
}

// The thread owns its notifications: it alone opens, waits on and closes them, so a stop never closes a
// handle that is being waited on. It never touches the table; see MSG_SOURCES_CHANGED.
static DWORD WINAPI ChangeWatchThread(void *parameter)
{
    ChangeWatch *watch = static_cast<ChangeWatch *>(parameter);
    if (WaitForPreviousThread(watch)) {
        SetUpNotifications(watch);
        WatchLoop(watch);
    }
    CloseNotifications(watch);
    ReleaseWatch(watch);
    return 0;
}

static void CopyFavoritesDirectory(char *target, const char *path)
{
    CopyPath(target, path);
    size_t length = std::strlen(target);
    if (length > 3 && target[length - 1] == '\\')
        target[length - 1] = '\0';  // the watch wants the directory without a trailing backslash
}

void StartChangeWatch()
{
    // With "Refresh Menu" off no thread runs and no notification stays open.
    if (!settings.refreshMenu) {
        StopChangeWatch();
        return;
    }
    if (currentWatch && currentWatch->running)
        return;  // the running thread goes on
    TraceEnter("StartChangeWatch");
    ChangeWatch *watch = new ChangeWatch;
    watch->stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (currentWatch) {
        // Asked to stop but perhaps still ending: the new thread waits for it.
        watch->previousThread = DuplicateThreadHandle(currentWatch->thread);
        ReleaseWatch(currentWatch);
        currentWatch = nullptr;
    } else if (endingThread) {
        watch->previousThread = endingThread;
        endingThread = nullptr;
    }
    CopyPath(watch->bookmarkFile, settings.bookmarkFile);
    CopyPath(watch->bookmarkDirectory, GetDirectoryPart(settings.bookmarkFile).c_str());
    watch->useFavorites = settings.useFavorites != 0;
    CopyFavoritesDirectory(watch->favoritesDirectory, settings.favoritesPath);
    watch->useHotlist = settings.useOperaHotlist != 0;
    if (watch->useHotlist) {
        CopyPath(watch->hotlistFile, settings.operaHotlistPath);
        CopyPath(watch->hotlistDirectory, GetDirectoryPart(settings.operaHotlistPath).c_str());
    }
    watch->useChromium = settings.useChromium != 0;
    if (watch->useChromium) {
        CopyPath(watch->chromiumFile, settings.chromiumBookmarksPath);
        CopyPath(watch->chromiumDirectory, GetDirectoryPart(settings.chromiumBookmarksPath).c_str());
    }
    watch->useFirefox = settings.useFirefox != 0;
    if (watch->useFirefox) {
        CopyPath(watch->firefox.places, settings.firefoxPlacesPath);
        CopyPath(watch->firefoxDirectory, GetDirectoryPart(settings.firefoxPlacesPath).c_str());
    }
    watch->thread = CreateThread(nullptr, 0, ChangeWatchThread, watch, 0, nullptr);
    if (watch->thread) {
        currentWatch = watch;
    } else {
        watch->references = 1;  // no thread to let go of it
        ReleaseWatch(watch);
    }
    TraceExit("StartChangeWatch");
}

void RequestWatchStop()
{
    if (!currentWatch)
        return;
    currentWatch->running = false;
    SetEvent(currentWatch->stopEvent);
}

void StopChangeWatch()
{
    ChangeWatch *watch = currentWatch;
    if (!watch)
        return;
    currentWatch = nullptr;
    watch->running = false;
    SetEvent(watch->stopEvent);
    // A thread still in one of its set-up message boxes ends when the box is answered; the next
    // thread waits for it.
    if (!WaitForThreadEnd(watch->thread, STOP_WAIT_LIMIT)) {
        if (endingThread)
            CloseHandle(endingThread);
        endingThread = DuplicateThreadHandle(watch->thread);
    }
    ReleaseWatch(watch);
}
