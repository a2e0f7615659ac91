// The TLS front's platform side on the host: started through the shell, its authority trusted for this process
// only, through SSL_CERT_FILE, which OpenSSL's default verify paths read.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "tests/verify/http_test_server.h"

static std::string authorityFile;

bool StartHelperProcess(const std::string &commandLine)
{
    return std::system((commandLine + " </dev/null >/dev/null &").c_str()) == 0;
}

void TrustTestAuthority(const std::string &pem)
{
    authorityFile = "/tmp/tresk-test-authority-" + std::to_string(getpid()) + ".pem";
    FILE *file = std::fopen(authorityFile.c_str(), "w");
    if (!file)
        return;
    std::fputs(pem.c_str(), file);
    std::fclose(file);
    setenv("SSL_CERT_FILE", authorityFile.c_str(), 1);
}

void ForgetTestAuthority()
{
    if (!authorityFile.empty())
        std::remove(authorityFile.c_str());
}
