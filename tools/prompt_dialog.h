// The prompt dialog (resource 134), which asks for one line of text, and Quick URL Entry, which uses it.
#pragma once
#include <windows.h>

#include <string>

// Inputs and output of the prompt, set just before it runs. The dialog empties the title and the text when
// it ends and the value once it has put it into the answer box; after OK the value holds the answer.
// Empty means none: the title is then "Tresk", the box starts empty.
extern std::string promptTitle;
extern std::string promptText;
extern std::string promptValue;

INT_PTR CALLBACK PromptDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the prompt modally, owned by the main window; true for OK.
bool RunPromptDialog();
// Asks for an address, opens it with the "Startup Style" and remembers it as "Quick URL Entry".
void QuickUrlEntry();
