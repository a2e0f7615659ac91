// Every browser launch goes through LaunchURL: the shell's "open" with the URL exactly as stored and the
// "Startup Style" show command, seen by the recorder registered for the test scheme.
#include <gtest/gtest.h>

#include "base/launch_url.h"
#include "base/settings.h"
#include "tests/support/win_test_helpers.h"

TEST(LaunchURL, PassesTheURLAsStoredWithTheStartupStyle)
{
    StartRecordingLaunches();
    const struct {
        int startupStyle;
        const char *url;
    } rows[] = {
        {SW_SHOWNORMAL, "tresktest://example.com/a?x=1&y=2#frag"},
        {SW_SHOWMAXIMIZED, "tresktest://example.com/path%20with%20escapes/"},
    };
    for (const auto &row : rows) {
        settings.startupStyle = row.startupStyle;
        LaunchURL(row.url);
        EXPECT_EQ(NextLaunch(), std::string(row.url) + "|" + std::to_string(row.startupStyle));
    }
}

