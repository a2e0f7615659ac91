// The check of one bookmark's URL, as each Verify worker makes it.
#include "verify/check_bookmark.h"

#include <cstdio>

#include "base/ascii_case.h"
#include "verify/http_trans.h"

void FormatFailureText(int code, int detail, const char *text, char *status)
{
    if (code == TRANS_HTTP_ERROR)
        std::snprintf(status, STATUS_TEXT_CAPACITY, "%d - %s", detail, text);
    else if (detail != 0)
        std::snprintf(status, STATUS_TEXT_CAPACITY, "%s (%d)", text, detail);
    else
        std::snprintf(status, STATUS_TEXT_CAPACITY, "%s", text);
}

bool CheckBookmark(const char *url, const char *proxyName, int proxyPort, int sendTimeout, int recvTimeout,
                   char *status)
{
    status[0] = '\0';
    if (!url)
        url = "";
    if (StartsWithNoCase(url, "ftp://")) {
        std::snprintf(status, STATUS_TEXT_CAPACITY, "Ftp URL - Ignored");
        return false;
    }
    if (StartsWithNoCase(url, "mailto")) {
        std::snprintf(status, STATUS_TEXT_CAPACITY, "MailTo URL - Ignored");
        return false;
    }
    int code = 0, detail = 0;
    char text[TEXT_CAPACITY] = "";
    // Some servers answer HEAD with nothing usable; GET gets one more chance then.
    if (VerifyURL(url, proxyName, proxyPort, 1, sendTimeout, recvTimeout, &code, &detail, text))
        return true;
    if (code == TRANS_NO_HEADER && VerifyURL(url, proxyName, proxyPort, 0, sendTimeout, recvTimeout, &code, &detail, text))
        return true;
    FormatFailureText(code, detail, text, status);
    return false;
}
