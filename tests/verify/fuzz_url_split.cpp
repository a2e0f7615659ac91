// Fuzz harness: any text as a URL through the length checks, the split, the port rules and both targets.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "verify/http_trans.h"

static bool Inside(const CSocketTrans &trans, const char *part)
{
    return !part || (part >= trans.m_urlCopy && part < trans.m_urlCopy + URL_CAPACITY);
}

static void Check(const std::string &url, bool proxy)
{
    CTreskTrans trans;
    ApplyVerifyOptions(trans, proxy ? "proxy" : "", 8080, 0, 0, 0);
    bool accepted = trans.PrepareTarget(url.c_str());
    if (accepted != (trans.m_errorCode == 0))
        std::abort();
    if (!Inside(trans, trans.m_scheme) || !Inside(trans, trans.m_host) || !Inside(trans, trans.m_portText)
        || !Inside(trans, trans.m_path))
        std::abort();
    if (accepted && (trans.m_port < 0 || trans.m_port > 65535 || !*trans.m_host
                     || std::strlen(trans.m_requestURI) >= sizeof trans.m_requestURI))
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string url(reinterpret_cast<const char *>(data), size);
    url = url.substr(0, url.find('\0'));
    Check(url, false);
    Check(url, true);
    return 0;
}
