// Redirecting this program's imports of a system function, for calls a test must see or must not make
// for real (a beep, the help program, a file browser).
#pragma once

// Every import slot of the program that holds `function` of `module` now calls `replacement`; returns the
// real function, or null when the program does not import it.
void *RedirectImport(const char *module, const char *function, void *replacement);
