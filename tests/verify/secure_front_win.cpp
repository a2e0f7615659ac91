// The TLS front's platform side in the Windows build, under Wine: Wine starts the host's python3 like any
// program, and the test authority goes into the current user's root store, which lives in the build tree's
// Wine prefix (no dialog there, unlike Windows).
#include <windows.h>
#include <wincrypt.h>

#include "tests/verify/http_test_server.h"

static PCCERT_CONTEXT trusted = nullptr;

bool StartHelperProcess(const std::string &commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void TrustTestAuthority(const std::string &pem)
{
    BYTE der[8192];
    DWORD size = sizeof der;
    if (!CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, der, &size, nullptr, nullptr))
        return;
    HCERTSTORE root = CertOpenSystemStoreA(0, "ROOT");
    if (!root)
        return;
    CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der, size, CERT_STORE_ADD_REPLACE_EXISTING, &trusted);
    // The store reaches the registry, where the chain engine reads it, only when its last reference goes, and
    // the added certificate keeps one: write it now.
    CertControlStore(root, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    CertCloseStore(root, 0);
}

void ForgetTestAuthority()
{
    if (!trusted)
        return;
    HCERTSTORE root = CertDuplicateStore(trusted->hCertStore);
    CertDeleteCertificateFromStore(trusted);  // frees the context as well
    CertControlStore(root, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    CertCloseStore(root, 0);
    trusted = nullptr;
}
