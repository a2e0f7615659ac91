// Quick URL Entry's address rule.
#include "tools/quick_url.h"

std::string QuickUrlAddress(const std::string &answer)
{
    // Any scheme written with "://" is taken as typed; "mailto:" has none and is treated as a host name.
    return answer.find("://") == std::string::npos ? "http://" + answer : answer;
}
