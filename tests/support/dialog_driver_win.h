// Running one of the program's dialogs modally in a test, driving it as a user would, and seeing what it
// asks of the system.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// What the dialogs asked of the system, in order: "box <title> <style>: <text>" (answered OK at once),
// "beep <type>", "help <file> <command> <topic>", "browse <initial folder>" (cancelled) and "end <result>";
// a test may add notes of its own. Each run starts it afresh.
extern std::vector<std::string> dialogCalls;

// Runs the dialog `id` of the program's resources on this thread with the calls above recorded instead of
// made. Once it is up, `drive` is called with it from a timer; a dialog the drive leaves open is cancelled
// ("cancel" in the record), and ended with -1 if it stays open even then.
INT_PTR RunDialog(int id, HWND owner, DLGPROC procedure, const std::function<void(HWND)> &drive);

// A user's actions on a dialog's controls: a click, a choice in a drop-down list (with the notification the
// list sends), F1 on a control; a control's text, and which of some controls are enabled ("enabled 3 5").
void ClickItem(HWND dialog, int id);
void ChooseItem(HWND dialog, int id, int index);
void HelpOnItem(HWND dialog, int id);
std::string ItemText(HWND dialog, int id);
std::string EnabledItems(HWND dialog, const std::vector<int> &ids);
