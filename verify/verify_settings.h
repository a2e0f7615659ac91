// The Verify window's settings as the "Verify" key holds them, with their defaults and odd cases, and the
// proxy as its two edits show it.
#pragma once
#include <string>

const int DEFAULT_THREAD_COUNT = 6;
// Every list call of every worker is carried out by the dialog's one thread, one at a time under one lock,
// so past a few dozen workers more threads only queue there; each also reserves a 1 MB stack, and 64 of
// them already take a noticeable share of a 32-bit address space.
const int MAX_THREAD_COUNT = 64;
const int DEFAULT_TIMEOUT_SECONDS = 60;
const int DEFAULT_PROXY_PORT = 8080;
// The proxy strings are stored as this many bytes: the text, its NUL and filler.
const int PROXY_TEXT_SIZE = 255;
// What the proxy edits show when there is no proxy.
extern const char NO_PROXY_TEXT[];  // "(none)"

// "Threads": a missing value or one below 1 gives 6, one above 64 gives 64.
int ThreadCountSetting(bool present, int value);
// "Send Timeout" and "Receive Timeout" in seconds: a missing value or one below 1 gives 60.
int TimeoutSetting(bool present, int value);

// The proxy name of the name edit's text: "(none)" means no proxy, that is "".
std::string ProxyName(const char *editText);
// The port of the port edit's text as a decimal number; 0 when it is not one ("(none)" included).
int ProxyPort(const char *editText);
// A proxy name is given but its port is empty or "(none)": the run must not start.
bool ProxyPortMissing(const char *nameText, const char *portText);
// The port as stored: the edit's text, or "8080" when it is empty or "(none)".
std::string StoredProxyPort(const char *portText);
// A proxy string as stored: the text cut to 255 bytes, NULs after it up to 255 bytes.
std::string PaddedProxyText(const std::string &text);
// The message that stops a run whose proxy has no port.
std::string ProxyPortMessage();
