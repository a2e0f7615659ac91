// End-to-end test driver: starts the real tresk.exe under Wine and watches it from outside, through its
// windows, its tray icon, its registry values, its exit code and what it launches. Any end-to-end test can
// link it.
#pragma once
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

// Long enough for a start of tresk.exe under Wine on a busy machine.
const int START_TIMEOUT = 20000;
const char TRESK_KEY[] = "Software\\Olvane\\Tresk";
const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A Unix path as a Windows path (on Wine's Z: drive).
std::string WinePath(const std::string &unixPath);
// Where tresk.exe is, as a Windows path.
inline std::string TreskExePath() { return WinePath(TRESK_EXE_UNIX_PATH); }
// A file of the source tree (for example "tests/data/sample-bookmarks.htm") as a Windows path.
inline std::string SourcePath(const std::string &relative) { return WinePath(TRESK_SOURCE_DIR "/" + relative); }

// A folder of the test user's as the shell knows it, for example CSIDL_APPDATA.
std::string UserFolder(int csidl);
// Ends a tresk.exe that already runs, removes Tresk's registry key with its subkeys and the "Tresk" value
// of the Run key, and undoes UseFavoritesAndHotlist.
void ResetTreskState();
void SetUserValue(const char *key, const char *name, DWORD type, const void *data, size_t size);
inline void SetTreskDword(const char *name, DWORD value) { SetUserValue(TRESK_KEY, name, REG_DWORD, &value, 4); }
inline void SetTreskString(const char *name, const char *v) { SetUserValue(TRESK_KEY, name, REG_SZ, v, strlen(v) + 1); }
// A value under HKEY_CURRENT_USER as text: a REG_DWORD of 4 bytes in decimal, a REG_SZ as stored (its
// terminating NUL and any bytes after it included), any other as "N bytes"; "<missing>" when there is none.
std::string UserValue(const std::string &key, const char *name);
// Points the Favorites ("Shell Folders") and the Opera hotlist (opera.ini) at these paths.
void UseFavoritesAndHotlist(const std::string &favorites, const std::string &hotlist);

struct TreskProcess {
    PROCESS_INFORMATION info = {};
};

// Starts any program by its command line, without waiting for it; false when it cannot start.
bool StartProgram(std::string commandLine, PROCESS_INFORMATION *info);
// Starts tresk.exe; `tail` is appended to its quoted path on the command line. False when it cannot start.
bool StartTresk(TreskProcess *process, const std::string &tail = "");
// Starts tresk.exe and waits for its main window and tray icon, then for the first refresh; null when the
// window or the icon does not come.
HWND StartTreskAndWait(TreskProcess *process, const std::string &tail = "");
// Waits for the process to end; returns its exit code, or -1 on time-out.
int WaitForExit(const TreskProcess &process, int timeoutMs);
inline bool IsRunning(const TreskProcess &p) { return WaitForSingleObject(p.info.hProcess, 0) == WAIT_TIMEOUT; }
// Ends the process if it still runs and closes its handles.
void StopTresk(TreskProcess *process);

// Looks at `done` every 50 ms until it returns true (true) or the time is up (false). The test's thread
// owns no window, so it need not run messages meanwhile.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs);
inline void Wait(int milliseconds) { WaitUntil([] { return false; }, milliseconds); }

// A top-level window of the process (of any process when it has no id) with this class (and caption, if
// given); null on time-out.
HWND WaitForWindow(const TreskProcess &process, const char *className, const char *caption, int timeoutMs,
                   bool mustBeVisible = false);
// The main window of the process (class "Tresk").
inline HWND WaitForMainWindow(const TreskProcess &p, int ms) { return WaitForWindow(p, "Tresk", "Tresk", ms); }
// Whether the shell holds the icon of this owner: an empty modify succeeds only then.
bool TrayIconExists(HWND owner);
inline bool WaitForTrayIcon(HWND owner, int ms) { return WaitUntil([=] { return TrayIconExists(owner); }, ms); }

// Waits for a visible message box of the process captioned "Tresk", answers it with `button` and returns
// its text, or "(no message box)"; `owner` receives the box's owner window when given.
std::string AnswerMessageBox(const TreskProcess &process, int button = IDOK, HWND *owner = nullptr);

// A visible popup menu window (class "#32768"); null on time-out. Wine keeps hidden ones around.
inline HWND WaitForPopupMenu(int timeoutMs) { return WaitForWindow({}, "#32768", nullptr, timeoutMs, true); }
// Posts key presses to a popup menu window, as typed keys (X key events do not reach hidden owners).
void PostMenuKeys(HWND menu, const std::vector<UINT> &virtualKeys);
// Opens the tray menu of tresk.exe (its main window) as the shell's right click on the icon does, and types
// `keys` in it.
void ChooseFromTrayMenu(HWND window, const std::vector<UINT> &keys);

// An empty folder of this name in the build tree's scratch folder (TRESK_E2E_SCRATCH, a Unix path), as a
// Windows path; emptied again by the next call.
std::string ScratchFolder(const std::string &name);
void WriteTextFile(const std::string &path, const std::string &text);

// Opens the bookmark menu as a tray click does; its window, or null when none shows.
HWND OpenBookmarkMenu(HWND window);
// Ends the menu mode of tresk.exe (its main window) until `menu` is hidden.
void CloseMenus(HWND window, HWND menu);
// Opens the bookmark menu as a tray click does, types `keys` and returns the launch that followed, as the
// recorder notes it (RecordLaunches), or "" when none came; the menu is closed then.
std::string LaunchFromMenu(HWND window, const std::vector<UINT> &keys);

// Runs a /bin/sh script outside Wine and waits until it has ended; false when it failed or ran out of
// time. Wine gives no handle to wait on for a Unix program, so the script leaves its status in a file.
bool RunUnixShell(const std::string &script, int timeoutMs = 20000);
// Posts each character of text to a window as typed (WM_CHAR).
void PostTypedText(HWND window, const std::string &text);
// The texts of every item (sub-item 0) or of one sub-item of a list view in another process, top to bottom.
std::vector<std::string> ListViewColumn(HWND list, int subItem);
// A left click on a column's header in a list view of another process.
void ClickListHeader(HWND list, int column);
// The text of a dialog's control.
std::string ControlText(HWND dialog, int id);
// How many pixels of the screen rectangle have exactly this colour (the screen as the user sees it).
int CountScreenPixels(const RECT &area, COLORREF colour);
// The cursor shown at the X pointer as WIDTHxHEIGHT+XHOT+YHOT, for instance "32x32+5+0" (tests/e2e/x11_cursor.py).
std::string PointerShape();

// Stands in for the browser: makes e2e_url_recorder.exe (next to the test) the handler of the schemes "http"
// and "tresktest" in this prefix and empties its log, where it notes every launch as "url|show command".
void RecordLaunches();
// The next launch noted since, in order; "" when none comes within the time.
std::string NextLaunch(int timeoutMs = 15000);
