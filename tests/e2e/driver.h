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
// A value of a subkey of Tresk's key ("Search", "Verify") as stored; false when missing or of another type.
bool ReadTreskSubkeyValue(const char *subkey, const char *name, DWORD type, std::string *data);

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
// Posts each character of text to a window as typed (WM_CHAR).
void PostTypedText(HWND window, const std::string &text);
// The texts of every item (sub-item 0) or of one sub-item of a list view in another process, top to bottom.
std::vector<std::string> ListViewColumn(HWND list, int subItem);
// How many pixels of the screen rectangle have exactly this colour (the screen as the user sees it).
int CountScreenPixels(const RECT &area, COLORREF colour);
// The cursor shown at the X pointer as WIDTHxHEIGHT+XHOT+YHOT, for instance "32x32+5+0" (tests/e2e/x11_cursor.py).
std::string PointerShape();

// Stands in for the browser: while it lives, e2e_url_recorder.exe (next to the test) is the handler of the
// scheme and notes every launch as "url|show command".
class LaunchRecorder {
public:
    explicit LaunchRecorder(const char *scheme);
    ~LaunchRecorder();  // gives the scheme its previous handler back
    // The next launch noted, in order; "" when none comes within the time.
    std::string Next(int timeoutMs = 15000);

private:
    void SetHandler(const char *command);
    std::string scheme, previousCommand;
    size_t taken = 0;
};

// Runs the message loop of this thread for a while (so windows of the test itself stay responsive).
void Wait(int milliseconds);
