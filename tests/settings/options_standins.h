// Recording stand-ins for what the Options dialog calls in other subsystems (tests only).
#pragma once
#include <string>
#include <vector>

// Every stand-in call in order, e.g. "RegisterAppHotKey 0x342", "SaveSettings".
extern std::vector<std::string> standinCalls;
// RegisterAppHotKey reports the key as taken while this is set.
extern bool standinHotKeyTaken;
// What ComputeMaxItemsPerColumn answers.
extern int standinMaxItemsPerColumn;

void ResetStandins();
