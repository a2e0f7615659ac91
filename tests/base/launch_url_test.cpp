// Every browser launch goes through LaunchURL: the shell's "open" with the URL exactly as stored and the
// "Startup Style" show command, seen by the recorder registered for the test scheme.
#include <gtest/gtest.h>

#include <string>

#include "base/launch_url.h"
#include "base/settings.h"
#include "tests/support/win_test_helpers.h"

TEST(LaunchURL, PassesTheURLAsStoredWithTheStartupStyle)
{
    StartRecordingLaunches();
    const std::string url = "tresktest://example.com/path%20with%20escapes/a?x=1&y=2#frag";
    for (int style : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
        settings.startupStyle = style;
        LaunchURL(url.c_str());
        EXPECT_EQ(NextLaunch(), url + "|" + std::to_string(style));
    }
}

