// Opening a URL in the user's browser, the same way for every launch in the program.
#pragma once

// The application-starting cursor, ShellExecute "open" with the URL exactly as stored and the
// "Startup Style" show command, the cursor restored; the result is not examined.
void LaunchURL(const char *url);
