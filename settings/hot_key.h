// The global hot key that opens the bookmark menu.
#pragma once

// Registers hot key 1 from a hot-key control value (0 = none); shows the conflict message on failure.
bool RegisterAppHotKey(int value);
