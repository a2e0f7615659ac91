// Running a dialog modally from a test: the program's imports of the calls a dialog makes to the user
// (message boxes, beeps, help, the file browser) and of EndDialog are redirected to a record.
#include "tests/support/dialog_driver_win.h"

#include "tests/support/import_redirect_win.h"

#include <commdlg.h>

std::vector<std::string> dialogCalls;

static bool ended;
static BOOL(WINAPI *realEndDialog)(HWND, INT_PTR);
static std::function<void(HWND)> currentDrive;
static DLGPROC currentProcedure;
static HWND currentDialog;

static int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR title, UINT style)
{
    dialogCalls.push_back(std::string("box ") + title + " " + std::to_string(style) + ": " + text);
    return IDOK;
}

static BOOL WINAPI RecordBeep(UINT type)
{
    dialogCalls.push_back("beep " + std::to_string(type));
    return TRUE;
}

static BOOL WINAPI RecordHelp(HWND, LPCSTR file, UINT command, ULONG_PTR topic)
{
    dialogCalls.push_back(std::string("help ") + file + " " + std::to_string(command) + " " + std::to_string(topic));
    return TRUE;
}

static BOOL WINAPI RecordBrowse(OPENFILENAMEA *browse)
{
    dialogCalls.push_back(std::string("browse ") + (browse->lpstrInitialDir ? browse->lpstrInitialDir : ""));
    return FALSE;
}

static BOOL WINAPI RecordEnd(HWND dialog, INT_PTR result)
{
    ended = true;
    dialogCalls.push_back("end " + std::to_string(result));
    return realEndDialog(dialog, result);
}

// The dialog's own procedure, once it has noted which window the dialog is.
static INT_PTR CALLBACK NoteDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        currentDialog = dialog;
    return currentProcedure(dialog, message, wParam, lParam);
}

static void CALLBACK Drive(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    currentDrive(currentDialog);
    if (!ended) {
        dialogCalls.push_back("cancel");
        SendMessageA(currentDialog, WM_COMMAND, IDCANCEL, 0);
    }
    if (!ended)
        EndDialog(currentDialog, -1);
}

INT_PTR RunDialog(int id, HWND owner, DLGPROC procedure, const std::function<void(HWND)> &drive)
{
    if (!realEndDialog) {
        RedirectImport("user32.dll", "MessageBoxA", reinterpret_cast<void *>(RecordBox));
        RedirectImport("user32.dll", "MessageBeep", reinterpret_cast<void *>(RecordBeep));
        RedirectImport("user32.dll", "WinHelpA", reinterpret_cast<void *>(RecordHelp));
        RedirectImport("comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void *>(RecordBrowse));
        realEndDialog = reinterpret_cast<BOOL(WINAPI *)(HWND, INT_PTR)>(
            RedirectImport("user32.dll", "EndDialog", reinterpret_cast<void *>(RecordEnd)));
    }
    dialogCalls.clear();
    ended = false;
    currentDrive = drive;
    currentProcedure = procedure;
    SetTimer(nullptr, 0, 10, Drive);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner, NoteDialog, 0);
}

void ClickItem(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void ChooseItem(HWND dialog, int id, int index)
{
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void HelpOnItem(HWND dialog, int id)
{
    HELPINFO help = {sizeof help, HELPINFO_WINDOW, id, GetDlgItem(dialog, id), 0, {0, 0}};
    SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
}

std::string ItemText(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string EnabledItems(HWND dialog, const std::vector<int> &ids)
{
    std::string enabled = "enabled";
    for (int id : ids)
        enabled += IsWindowEnabled(GetDlgItem(dialog, id)) ? " " + std::to_string(id) : "";
    return enabled;
}
