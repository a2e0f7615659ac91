// The address that Quick URL Entry opens for what the user typed.
#pragma once
#include <string>

// The answer as typed when it contains "://" anywhere, otherwise "http://" in front of it.
std::string QuickUrlAddress(const std::string &answer);
