// The Verify window's settings: defaults, odd values and the proxy texts.
#include "verify/verify_settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char NO_PROXY_TEXT[] = "(none)";

int ThreadCountSetting(bool present, int value)
{
    if (!present || value < 1)
        return DEFAULT_THREAD_COUNT;
    return value > MAX_THREAD_COUNT ? MAX_THREAD_COUNT : value;
}

int TimeoutSetting(bool present, int value)
{
    return !present || value < 1 ? DEFAULT_TIMEOUT_SECONDS : value;
}

static bool IsEmptyOrNone(const char *text)
{
    return text[0] == '\0' || std::strcmp(text, NO_PROXY_TEXT) == 0;
}

std::string ProxyName(const char *editText)
{
    return IsEmptyOrNone(editText) ? std::string() : std::string(editText);
}

int ProxyPort(const char *editText)
{
    return static_cast<int>(std::strtol(editText, nullptr, 10));
}

bool ProxyPortMissing(const char *nameText, const char *portText)
{
    return !IsEmptyOrNone(nameText) && IsEmptyOrNone(portText);
}

std::string StoredProxyPort(const char *portText)
{
    return IsEmptyOrNone(portText) ? std::to_string(DEFAULT_PROXY_PORT) : std::string(portText);
}

std::string PaddedProxyText(const std::string &text)
{
    std::string stored = text.substr(0, PROXY_TEXT_SIZE);
    stored.resize(PROXY_TEXT_SIZE, '\0');
    return stored;
}

std::string ProxyPortMessage()
{
    char text[96];
    std::snprintf(text, sizeof text, "Please enter a Proxy Port (try using %d if you're not sure).", DEFAULT_PROXY_PORT);
    return text;
}
