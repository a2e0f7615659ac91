// Fuzz harness: any bytes as what a server sends, through the byte-stream layer (a stand-in stream, not TLS):
// first as the answer to a request for http://h/d1/d2/p.html, then as a proxy's answer to an https tunnel
// followed by the request's answer. The last byte sets the size of the chunks the stream hands out.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/verify/fake_stream.h"
#include "verify/http_trans.h"

static void Check(const uint8_t *data, size_t size, const char *url, bool tunnel)
{
    FakeStream stream;
    stream.incoming.assign(reinterpret_cast<const char *>(data), size);
    stream.chunk = size ? 1 + data[size - 1] % 64 : 1;
    CTreskTrans trans;
    ApplyVerifyOptions(trans, tunnel ? "proxy" : "", 0, 0, 0, 0);
    if (!trans.PrepareTarget(url))
        std::abort();
    trans.m_stream = &stream;
    if (!tunnel || trans.OpenTunnel())
        trans.Exchange();
    if (trans.m_response || trans.m_stream || stream.at > size || std::strlen(trans.m_location) >= URL_CAPACITY)
        std::abort();
    if (trans.m_followLocation && trans.m_errorCode != 0)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4 * RESPONSE_LIMIT)
        return 0;
    Check(data, size, "http://h/d1/d2/p.html", false);
    Check(data, size, "https://h:8443/d1/p.html", true);
    return 0;
}
