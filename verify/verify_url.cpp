// VerifyURL: one transaction for one URL, as the Verify workers and tresk-cli use it.
#include "verify/http_trans.h"

#include <cstdio>

// A time-out beyond a day is taken as a day, so seconds times 1000 stays within 32 bits.
static int TimeoutMilliseconds(int seconds)
{
    return (seconds > 86400 ? 86400 : seconds) * 1000;
}

void ApplyVerifyOptions(CSocketTrans &trans, const char *proxyName, int proxyPort, int useHead, int sendTimeout,
                        int recvTimeout)
{
    if (proxyName && *proxyName) {
        trans.SetServerName(proxyName);
        trans.m_serverPort = proxyPort < 1 ? 8080 : proxyPort;
        trans.m_useProxy = 1;
    } else {
        trans.m_useProxy = 0;
    }
    trans.m_useHead = useHead;
    if (sendTimeout > 0)
        trans.m_sendTimeout = TimeoutMilliseconds(sendTimeout);
    if (recvTimeout > 0)
        trans.m_recvTimeout = TimeoutMilliseconds(recvTimeout);
}

int VerifyURL(const char *url, const char *proxyName, int proxyPort, int useHead, int sendTimeout, int recvTimeout,
              int *code, int *detail, char *text)
{
    CTreskTrans trans;
    ApplyVerifyOptions(trans, proxyName, proxyPort, useHead, sendTimeout, recvTimeout);
    trans.Request(url);
    if (trans.m_errorCode != 0) {
        *code = trans.m_errorCode;
        *detail = trans.m_errorDetail;
        std::snprintf(text, TEXT_CAPACITY, "%s", trans.m_errorText);
    }
    return trans.m_errorCode == 0 ? 1 : 0;
}
