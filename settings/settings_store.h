// Loading the settings record from the registry at start-up and saving it after every change.
#pragma once

// Reads every value (first-start and missing-value defaults), registers the hot key, finds the Favorites
// and the hotlist, and writes the record back with the version, program location and start-up entry.
void LoadSettings();
void SaveSettings();
