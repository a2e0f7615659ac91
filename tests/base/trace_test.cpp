// Trace indentation: 3 blanks a level, the indent written capped at 254 blanks, entries and exits balanced.
#include "base/trace.h"

#include <gtest/gtest.h>

#include <string>

TEST(Trace, EntriesAndExitsIndentByTheDepthCappedAt254)
{
    const struct { int depth; bool enter; size_t blanks; int after; } rows[] = {
        {0, true, 0, 3}, {3, true, 3, 6}, {252, true, 252, 255}, {255, true, 254, 258}, {300, true, 254, 303},
        {6, false, 3, 3}, {3, false, 0, 0}, {258, false, 254, 255}, {0, false, 0, -3},
    };
    for (const auto &row : rows) {
        traceDepth = row.depth;
        row.enter ? TraceEnter("Function") : TraceExit("Function");
        const std::string label = (row.enter ? "entry at " : "exit at ") + std::to_string(row.depth);
        EXPECT_EQ(LastTraceIndent(), std::string(row.blanks, ' ')) << label;
        EXPECT_EQ(traceDepth, row.after) << label;
    }
}
