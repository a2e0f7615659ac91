// Counting the GDI objects (and the device contexts, icons and image lists) that the menu code creates and
// frees: Wine's GetGuiResources is a stub, so the test program's own imports are redirected to counters.
#pragma once

// Redirects the program's imports once; later calls do nothing.
void StartCountingGdiObjects();
// Objects created less objects freed since the counting started.
long LiveGdiObjects();
// How many times DestroyIcon was called since the counting started.
long DestroyIconCalls();
