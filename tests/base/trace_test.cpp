// Trace indentation: 3 blanks per level, capped at 254, and balanced by the exits.
#include "base/trace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(Trace, IndentGrowsByThreeAndIsCappedAt254)
{
    traceDepth = 0;
    TraceEnter("outer");
    EXPECT_STREQ(LastTraceIndent(), "");
    TraceEnter("inner");
    EXPECT_EQ(std::string(LastTraceIndent()), std::string(3, ' '));
    EXPECT_EQ(traceDepth, 6);
    for (int level = 0; level < 100; ++level)
        TraceEnter("deep");
    EXPECT_EQ(std::strlen(LastTraceIndent()), 254u) << "depth " << traceDepth;
    for (int level = 0; level < 100; ++level)
        TraceExit("deep");
    TraceExit("inner");
    EXPECT_EQ(std::string(LastTraceIndent()), std::string(3, ' '));
    TraceExit("outer");
    EXPECT_EQ(traceDepth, 0);
    EXPECT_STREQ(LastTraceIndent(), "");
}

TEST(Trace, DepthOf85LevelsIsTheFirstToHitTheCap)
{
    traceDepth = 84 * 3;  // 252 blanks
    TraceEnter("level 85");
    EXPECT_EQ(std::strlen(LastTraceIndent()), 252u);
    TraceEnter("level 86");
    EXPECT_EQ(std::strlen(LastTraceIndent()), 254u);
    traceDepth = 0;
}
