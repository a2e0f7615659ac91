// End-to-end test driver: starts the real tresk.exe under Wine and watches it from outside, through its
// windows, its tray icon, its registry values and its exit code. Any end-to-end test can link it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Where tresk.exe is, as a Windows path (the Unix build path mapped onto Wine's Z: drive).
std::string TreskExePath();
// The Unix path of a file in the repository (tests/data/...) as a Windows path.
std::string WinePath(const std::string &unixPath);

// A file of the source tree (for example "tests/data/sample-bookmarks.htm") as a Windows path.
std::string SourcePath(const std::string &relative);

// Ends a tresk.exe that already runs, and removes Tresk's registry key with its subkeys and the "Tresk"
// value of the Run key.
void ResetTreskState();
void SetTreskDword(const char *name, DWORD value);
void SetTreskString(const char *name, const char *value);
bool ReadTreskDword(const char *name, DWORD *value);
bool ReadTreskString(const char *name, std::string *value);
bool ReadRunValue(std::string *value);

struct TreskProcess {
    PROCESS_INFORMATION info = {};
};

// Starts tresk.exe; `tail` is appended to its quoted path on the command line. False when it cannot start.
bool StartTresk(TreskProcess *process, const std::string &tail = "");
// Waits for the process to end; returns its exit code, or -1 on time-out.
int WaitForExit(const TreskProcess &process, int timeoutMs);
bool IsRunning(const TreskProcess &process);
// Ends the process if it still runs and closes its handles.
void StopTresk(TreskProcess *process);

// A top-level window of the process with this class (and caption, if given); null on time-out.
HWND WaitForWindow(const TreskProcess &process, const char *className, const char *caption, int timeoutMs,
                   bool mustBeVisible = false);
// The main window of the process (class "Tresk").
HWND WaitForMainWindow(const TreskProcess &process, int timeoutMs);
// Waits until the process has its tray icon (owner window, identifier 1); false on time-out.
bool WaitForTrayIcon(HWND owner, int timeoutMs);
// Whether the shell holds an icon of this owner and identifier: an empty modify succeeds only then.
bool TrayIconExists(HWND owner, UINT id = 1);

// The text of a message box.
std::string MessageBoxText(HWND box);
// A visible message box of the process with the caption "Tresk"; null on time-out.
HWND WaitForMessageBox(const TreskProcess &process, int timeoutMs);
// The open popup menu window (class "#32768"); null on time-out.
HWND WaitForPopupMenu(int timeoutMs);
// Posts key presses to a popup menu window, as typed keys (X key events do not reach hidden owners).
void PostMenuKeys(HWND menu, const std::vector<UINT> &virtualKeys);
// The text of a dialog's control, and waiting until it reads `text`; false on time-out.
std::string ControlText(HWND dialog, int id);
bool WaitForControlText(HWND dialog, int id, const std::string &text, int timeoutMs);
// A left click on a column's header in a report list view of another process.
void ClickListHeader(HWND list, int column);
// Every row of a report list view of another process, its first `columns` columns joined by '|'.
std::vector<std::string> ListViewRows(HWND list, int columns);
// Runs the message loop of this thread for a while (so windows of the test itself stay responsive).
void Wait(int milliseconds);
