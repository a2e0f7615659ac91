// TLS in the Windows build: Schannel through SSPI on the connected socket. The program reads and writes the
// socket itself and checks the server's certificate itself.
#define SECURITY_WIN32
#include "verify/tls_stream.h"

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#include <security.h>
#include <schannel.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Wine's Schannel keeps its handles in a table that grows without a lock, so every SSPI call goes through
// this one. The calls only compute; the waits for the network happen outside it.
std::mutex sspiLock;

const ULONG REQUEST_FLAGS = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                            ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_MANUAL_CRED_VALIDATION;
// Received bytes not yet decrypted: room for the largest record, and for a handshake flight that is read
// record by record.
const std::size_t INPUT_CAPACITY = 65536;

// What the revocation check could not tell says nothing about the certificate itself.
const DWORD REVOCATION_UNKNOWN = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;

SecBuffer *FindBuffer(SecBuffer *buffers, int count, ULONG type)
{
    for (int i = 0; i < count; i++)
        if (buffers[i].BufferType == type)
            return &buffers[i];
    return nullptr;
}

class SchannelStream : public ByteStream {
public:
    SchannelStream(SocketHandle connected, const char *hostName) : raw(connected), host(hostName), input(INPUT_CAPACITY) {}
    ~SchannelStream() override;

    SecureResult Handshake(int milliseconds, int *detail);
    int Send(const char *bytes, int length) override;
    int Receive(char *buffer, int length, int milliseconds) override;

private:
    SecureResult CheckCertificate();
    bool SendAll(const char *bytes, int length);
    // Reads more of the stream into input by end: the count, 0 at its end, STREAM_TIMED_OUT or STREAM_FAILED.
    int ReadMore(std::int64_t end);

    PlainStream raw;  // the socket's own bytes
    std::string host;
    CredHandle credentials = {};
    CtxtHandle context = {};
    bool haveCredentials = false;
    bool haveContext = false;
    SecPkgContext_StreamSizes sizes = {};
    std::vector<char> input;
    std::size_t inputLength = 0;
    std::string plain;  // decrypted bytes not yet handed out
    std::size_t plainUsed = 0;
    bool ended = false;
};

SchannelStream::~SchannelStream()
{
    std::lock_guard<std::mutex> hold(sspiLock);
    if (haveContext)
        DeleteSecurityContext(&context);
    if (haveCredentials)
        FreeCredentialsHandle(&credentials);
}

bool SchannelStream::SendAll(const char *bytes, int length)
{
    while (length > 0) {
        int sent = raw.Send(bytes, length);
        if (sent <= 0) {
            Fail(raw.error);
            return false;
        }
        bytes += sent;
        length -= sent;
    }
    return true;
}

int SchannelStream::ReadMore(std::int64_t end)
{
    if (inputLength == input.size())
        return Fail(SEC_E_INCOMPLETE_MESSAGE, true);  // no record is that long
    int n = raw.Receive(input.data() + inputLength, static_cast<int>(input.size() - inputLength), MillisecondsUntil(end));
    if (n == STREAM_TIMED_OUT)
        return TimedOut();
    if (n < 0)
        return Fail(raw.error);
    inputLength += n;
    return n;
}

SecureResult SchannelStream::Handshake(int milliseconds, int *detail)
{
    std::int64_t end = NowMilliseconds() + milliseconds;
    // Manual validation: Wine's automatic validation checks nothing, so the certificate is checked below.
    SCHANNEL_CRED schannelCredentials = {};
    schannelCredentials.dwVersion = SCHANNEL_CRED_VERSION;
    schannelCredentials.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    SECURITY_STATUS status;
    {
        std::lock_guard<std::mutex> hold(sspiLock);
        status = AcquireCredentialsHandleA(nullptr, const_cast<char *>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr,
                                           &schannelCredentials, nullptr, nullptr, &credentials, nullptr);
    }
    if (status != SEC_E_OK) {
        *detail = static_cast<int>(status);
        return SECURE_FAILED;
    }
    haveCredentials = true;

    for (bool first = true;; first = false) {
        SecBuffer in[2] = {{static_cast<ULONG>(inputLength), SECBUFFER_TOKEN, input.data()}, {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc = {SECBUFFER_VERSION, 2, in};
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outDesc = {SECBUFFER_VERSION, 1, out};
        ULONG attributes = 0;
        {
            std::lock_guard<std::mutex> hold(sspiLock);
            status = InitializeSecurityContextA(&credentials, first ? nullptr : &context, &host[0], REQUEST_FLAGS, 0, 0,
                                                first ? nullptr : &inDesc, 0, &context, &outDesc, &attributes, nullptr);
        }
        if (first && !FAILED(status))
            haveContext = true;
        bool sent = true;
        if (out[0].pvBuffer) {
            if (out[0].cbBuffer > 0)
                sent = SendAll(static_cast<const char *>(out[0].pvBuffer), static_cast<int>(out[0].cbBuffer));
            std::lock_guard<std::mutex> hold(sspiLock);
            FreeContextBuffer(out[0].pvBuffer);
        }
        if (!sent) {
            *detail = error;
            return SECURE_FAILED;
        }
        if (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED || status == SEC_I_INCOMPLETE_CREDENTIALS) {
            // what the call did not consume is the start of the next message
            if (!first && in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer > 0) {
                std::memmove(input.data(), input.data() + inputLength - in[1].cbBuffer, in[1].cbBuffer);
                inputLength = in[1].cbBuffer;
            } else if (!first) {
                inputLength = 0;
            }
            if (status == SEC_E_OK)
                break;
            // a server that asks for a client certificate gets none: the next call goes on without one
            if (status == SEC_I_INCOMPLETE_CREDENTIALS || (!first && inputLength > 0))
                continue;
        } else if (status != SEC_E_INCOMPLETE_MESSAGE) {
            *detail = static_cast<int>(status);
            return SECURE_FAILED;
        }
        // The handshake needs more from the server; it stops at the end of the stream.
        int n = ReadMore(end);
        if (n == STREAM_TIMED_OUT)
            return SECURE_TIMED_OUT;
        if (n <= 0) {
            *detail = n == 0 ? ERROR_DISCONNECTED : error;
            return SECURE_FAILED;
        }
    }
    {
        std::lock_guard<std::mutex> hold(sspiLock);
        status = QueryContextAttributesA(&context, SECPKG_ATTR_STREAM_SIZES, &sizes);
    }
    if (status != SEC_E_OK) {
        *detail = static_cast<int>(status);
        return SECURE_FAILED;
    }
    return CheckCertificate();
}

// The server's chain is built against the system's trusted roots, then the SSL policy checks it with the
// server's name. Wine's policy check passes a chain that ends at an unknown issuer, which only the chain's
// own status shows, so both are read.
SecureResult SchannelStream::CheckCertificate()
{
    PCCERT_CONTEXT remote = nullptr;
    SECURITY_STATUS status;
    {
        std::lock_guard<std::mutex> hold(sspiLock);
        status = QueryContextAttributesA(&context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &remote);
    }
    if (status != SEC_E_OK || !remote)
        return SECURE_UNTRUSTED;
    CERT_CHAIN_PARA chainPara = {};
    chainPara.cbSize = sizeof chainPara;
    LPSTR serverAuth[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
    chainPara.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
    chainPara.RequestedUsage.Usage.cUsageIdentifier = 1;
    chainPara.RequestedUsage.Usage.rgpszUsageIdentifier = serverAuth;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    SecureResult result = SECURE_UNTRUSTED;
    if (CertGetCertificateChain(nullptr, remote, nullptr, remote->hCertStore, &chainPara, 0, nullptr, &chain)) {
        WCHAR name[256] = L"";
        MultiByteToWideChar(CP_ACP, 0, host.c_str(), -1, name, 256);
        HTTPSPolicyCallbackData https = {};
        https.cbStruct = sizeof https;
        https.dwAuthType = AUTHTYPE_SERVER;
        https.pwszServerName = name;
        CERT_CHAIN_POLICY_PARA policyPara = {};
        policyPara.cbSize = sizeof policyPara;
        policyPara.pvExtraPolicyPara = &https;
        CERT_CHAIN_POLICY_STATUS policy = {};
        policy.cbSize = sizeof policy;
        DWORD chainErrors = chain->TrustStatus.dwErrorStatus & ~REVOCATION_UNKNOWN;
        if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policyPara, &policy))
            result = SECURE_UNTRUSTED;
        else if (policy.dwError == static_cast<DWORD>(CERT_E_EXPIRED) || (!policy.dwError && (chainErrors & CERT_TRUST_IS_NOT_TIME_VALID)))
            result = SECURE_EXPIRED;
        else if (policy.dwError == static_cast<DWORD>(CERT_E_CN_NO_MATCH))
            result = SECURE_NAME_MISMATCH;
        else if (policy.dwError == 0 && chainErrors == 0)
            result = SECURE_OK;
        CertFreeCertificateChain(chain);
    }
    CertFreeCertificateContext(remote);
    return result;
}

int SchannelStream::Send(const char *bytes, int length)
{
    std::vector<char> record(sizes.cbHeader + sizes.cbMaximumMessage + sizes.cbTrailer);
    int done = 0;
    while (done < length) {
        ULONG part = static_cast<ULONG>(length - done);
        if (part > sizes.cbMaximumMessage)
            part = sizes.cbMaximumMessage;
        char *data = record.data() + sizes.cbHeader;
        std::memcpy(data, bytes + done, part);
        SecBuffer buffers[4] = {{sizes.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                                {part, SECBUFFER_DATA, data},
                                {sizes.cbTrailer, SECBUFFER_STREAM_TRAILER, data + part},
                                {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc = {SECBUFFER_VERSION, 4, buffers};
        SECURITY_STATUS status;
        {
            std::lock_guard<std::mutex> hold(sspiLock);
            status = EncryptMessage(&context, 0, &desc, 0);
        }
        if (status != SEC_E_OK)
            return Fail(static_cast<int>(status), true);
        if (!SendAll(record.data(), static_cast<int>(buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer)))
            return STREAM_FAILED;
        done += static_cast<int>(part);
    }
    return length;
}

// Decrypted bytes and whole records already received are handed out before the socket is asked again:
// select on the socket cannot see them.
int SchannelStream::Receive(char *buffer, int length, int milliseconds)
{
    std::int64_t end = NowMilliseconds() + milliseconds;
    for (;;) {
        if (plainUsed < plain.size()) {
            std::size_t n = plain.size() - plainUsed;
            if (n > static_cast<std::size_t>(length))
                n = length;
            std::memcpy(buffer, plain.data() + plainUsed, n);
            plainUsed += n;
            return static_cast<int>(n);
        }
        if (ended)
            return 0;
        if (inputLength > 0) {
            SecBuffer buffers[4] = {{static_cast<ULONG>(inputLength), SECBUFFER_DATA, input.data()},
                                    {0, SECBUFFER_EMPTY, nullptr},
                                    {0, SECBUFFER_EMPTY, nullptr},
                                    {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc desc = {SECBUFFER_VERSION, 4, buffers};
            SECURITY_STATUS status;
            {
                std::lock_guard<std::mutex> hold(sspiLock);
                status = DecryptMessage(&context, &desc, 0, nullptr);
            }
            if (status == SEC_E_OK) {
                SecBuffer *data = FindBuffer(buffers, 4, SECBUFFER_DATA);
                SecBuffer *extra = FindBuffer(buffers, 4, SECBUFFER_EXTRA);
                plain.assign(data ? static_cast<const char *>(data->pvBuffer) : "", data ? data->cbBuffer : 0);
                plainUsed = 0;
                if (extra) {
                    std::memmove(input.data(), extra->pvBuffer, extra->cbBuffer);
                    inputLength = extra->cbBuffer;
                } else {
                    inputLength = 0;
                }
                continue;
            }
            if (status == SEC_I_CONTEXT_EXPIRED) {  // the server's close_notify
                ended = true;
                return 0;
            }
            if (status != SEC_E_INCOMPLETE_MESSAGE)
                return Fail(static_cast<int>(status), true);
        }
        int n = ReadMore(end);
        if (n <= 0)
            return n;
    }
}

}  // namespace

SecureResult StartSecureStream(SocketHandle socket, const char *hostName, int milliseconds,
                               std::unique_ptr<ByteStream> *stream, int *detail)
{
    *detail = 0;
    std::unique_ptr<SchannelStream> secure(new SchannelStream(socket, hostName));
    SecureResult result = secure->Handshake(milliseconds, detail);
    if (result == SECURE_OK)
        *stream = std::move(secure);
    return result;
}
