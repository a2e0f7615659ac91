// The Verify window as the rest of the program sees it.
#pragma once
#include <windows.h>

// The open Verify window, or null. It runs without the busy flag, so the tray command and the Properties
// dialog look it up here.
extern HWND g_verifyDialog;
