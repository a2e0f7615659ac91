// Fuzz harness: any bytes as the response to a transaction for http://h/d1/d2/p.html, through
// ParseResponse, FindLocation and OnReceiveComplete.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "verify/http_trans.h"

static void Receive(CTreskTrans &trans, const uint8_t *data, size_t size)
{
    if (size == 0)
        return;
    trans.m_response = AllocResponseBlock(size);
    std::memcpy(trans.m_response, data, size);
    trans.m_responseLength = static_cast<std::uint32_t>(size);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > RESPONSE_LIMIT)
        return 0;
    CTreskTrans trans;
    if (!trans.PrepareTarget("http://h/d1/d2/p.html"))
        std::abort();
    Receive(trans, data, size);
    int result = trans.ParseResponse();
    if (result < 0 || result > 3)
        std::abort();
    if (trans.m_header && trans.m_headerLength + (trans.m_body ? trans.m_bodyLength + 4 : 0) != size)
        std::abort();
    trans.FindLocation();
    if (std::strlen(trans.m_location) >= URL_CAPACITY)
        std::abort();
    trans.OnReceiveComplete();
    if (trans.m_response || (trans.m_followLocation != (result == 0)))
        std::abort();
    return 0;
}
