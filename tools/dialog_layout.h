// Small layout helpers of the tool dialogs.
#pragma once
#include <windows.h>

// The window rectangle of a dialog's control in the dialog's client coordinates.
RECT ControlRect(HWND dialog, int control);
// Moves and sizes a control.
void PlaceControl(HWND dialog, int control, int left, int top, int width, int height);
