// The prompt dialog, fitted to its question, and Quick URL Entry on top of it.
#include "tools/prompt_dialog.h"

#include <cstring>

#include "base/app_state.h"
#include "base/launch_url.h"
#include "base/settings.h"
#include "res/prompt_ids.h"
#include "tools/dialog_layout.h"
#include "tools/quick_url.h"

std::string promptTitle;
std::string promptText;
std::string promptValue;

// Quick URL Entry as the double-click action asks no busy guard, so the prompt may open over the Search
// dialog: it gives the busy state back as it found it, and Search stays guarded.
static LONG previousModalOpen;
static HWND previousModalWindow;

static const char QUICK_URL_VALUE[] = "Quick URL Entry";
static const DWORD QUICK_URL_SIZE = 1024;

// The answer box goes right under the question's last line, and the dialog ends 10 pixels below it.
static void FitToPrompt(HWND dialog)
{
    RECT prompt = ControlRect(dialog, IDC_PROMPT_TEXT);
    int width = prompt.right - prompt.left;
    HDC dc = GetDC(dialog);
    // Measured in the font the static shows it in: the device context's own font is the larger system font.
    HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    // DrawText counts no line after a final line break; a blank after it makes the empty line count.
    std::string measured = promptText + " ";
    DrawTextA(dc, measured.c_str(), -1, &prompt, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, previousFont);
    ReleaseDC(dialog, dc);
    PlaceControl(dialog, IDC_PROMPT_TEXT, prompt.left, prompt.top, width, prompt.bottom - prompt.top);
    RECT answer = ControlRect(dialog, IDC_PROMPT_VALUE);
    int answerHeight = answer.bottom - answer.top;
    PlaceControl(dialog, IDC_PROMPT_VALUE, prompt.left, prompt.bottom, answer.right - answer.left, answerHeight);

    RECT window, client, desktop;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    GetWindowRect(GetDesktopWindow(), &desktop);
    int dialogWidth = window.right - window.left;
    int dialogHeight = (window.bottom - window.top) - client.bottom + prompt.bottom + answerHeight + 10;
    SetWindowPos(dialog, nullptr, (desktop.right - dialogWidth) / 2, (desktop.bottom - dialogHeight) / 2, dialogWidth,
                 dialogHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

static INT_PTR OnInitDialog(HWND dialog)
{
    previousModalOpen = modalOpen;
    previousModalWindow = modalWindow;
    modalOpen = TRUE;
    modalWindow = dialog;
    SetWindowTextA(dialog, promptTitle.empty() ? "Tresk" : promptTitle.c_str());
    // The extra line break leaves one empty line between the question and the answer box.
    if (!promptText.empty()) {
        promptText += "\n";
        SetDlgItemTextA(dialog, IDC_PROMPT_TEXT, promptText.c_str());
    }
    SetDlgItemTextA(dialog, IDC_PROMPT_VALUE, promptValue.c_str());
    promptValue.clear();
    FitToPrompt(dialog);
    return TRUE;
}

static void OnOk(HWND dialog)
{
    HWND answer = GetDlgItem(dialog, IDC_PROMPT_VALUE);
    promptValue.assign(static_cast<size_t>(GetWindowTextLengthA(answer)) + 1, '\0');
    promptValue.resize(static_cast<size_t>(GetWindowTextA(answer, &promptValue[0], static_cast<int>(promptValue.size()))));
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK PromptDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            OnOk(dialog);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        promptTitle.clear();
        promptText.clear();
        modalOpen = previousModalOpen;
        modalWindow = previousModalWindow;
        return FALSE;
    }
    return FALSE;
}

bool RunPromptDialog()
{
    return DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_PROMPT), mainWindow, PromptDialogProc, 0) == 1;
}

// The address opened last time, or "" when there is none or it cannot be read.
static std::string StoredQuickUrl()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    char value[QUICK_URL_SIZE];
    DWORD size = sizeof value;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, QUICK_URL_VALUE, nullptr, &type, reinterpret_cast<BYTE *>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ || size == 0)
        return "";
    return std::string(value, strnlen(value, size));
}

// A failure to remember the address is not worth a message: the address has been opened.
static void StoreQuickUrl(const std::string &address)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, QUICK_URL_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE *>(address.c_str()),
                   static_cast<DWORD>(address.size() + 1));
    RegCloseKey(key);
}

void QuickUrlEntry()
{
    promptTitle = "Quick URL Entry";
    promptText = "Enter a URL to open:\n\n(eg. www.example.com)";
    promptValue = StoredQuickUrl();
    if (!RunPromptDialog())
        return;
    std::string address = QuickUrlAddress(promptValue);
    promptValue.clear();
    LaunchURL(address.c_str());
    StoreQuickUrl(address);
}
