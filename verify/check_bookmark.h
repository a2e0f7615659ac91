// The check of one bookmark's URL, as each Verify worker makes it.
#pragma once

const int STATUS_TEXT_CAPACITY = 256;

// True when the URL passed. Otherwise status (STATUS_TEXT_CAPACITY bytes) holds what the bookmark's row
// shows: an "... URL - Ignored" text for ftp and mailto, or the failure text of the check. http and https
// URLs (and any other scheme, requested as HTTP) are checked.
// Time-outs in seconds; 0 or less keeps the 90-second defaults. An empty proxy name checks directly.
bool CheckBookmark(const char *url, const char *proxyName, int proxyPort, int sendTimeout, int recvTimeout,
                   char *status);

// The row text for a failed check: "%d - %s" for an HTTP error status, "%s (%d)" when another outcome
// carries a detail number, the text alone otherwise.
void FormatFailureText(int code, int detail, const char *text, char *status);
