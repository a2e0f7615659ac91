// The trace facility. Its sink is empty unless the program is built with TRESK_TRACE.
#include "base/trace.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

int traceDepth = 0;
static char traceLine[256];

static unsigned TickCount()
{
    using namespace std::chrono;
    return static_cast<unsigned>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The indent line is traceDepth blanks; the 256-byte buffer keeps room for the NUL, so 254 is the cap.
static void TraceIndent()
{
    int blanks = traceDepth < 0 ? 0 : (traceDepth > 254 ? 254 : traceDepth);
    std::memset(traceLine, ' ', blanks);
    traceLine[blanks] = '\0';
    Trace("%s", traceLine);
}

const char *LastTraceIndent()
{
    return traceLine;
}

void TraceEnter(const char *name)
{
    TraceIndent();
    char line[256];
    std::snprintf(line, sizeof line, "==>%s \t[%u]\n", name, TickCount());
    Trace("%s", line);
    traceDepth += 3;
}

void TraceExit(const char *name)
{
    traceDepth -= 3;
    TraceIndent();
    char line[256];
    std::snprintf(line, sizeof line, "<==%s \t[%u]\n", name, TickCount());
    Trace("%s", line);
}

void Trace(const char *format, ...)
{
#if TRESK_TRACE
    if (FILE *log = std::fopen("tresk-trace.log", "a")) {
        va_list args;
        va_start(args, format);
        std::vfprintf(log, format, args);
        va_end(args);
        std::fclose(log);
    }
#else
    (void)format;
#endif
}
