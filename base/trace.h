// Trace lines: function entry and exit with indentation, and printf-style detail lines.
// The shipped program discards them; a TRESK_TRACE build appends them to tresk-trace.log.
#pragma once

void TraceEnter(const char *name);
void TraceExit(const char *name);
void Trace(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Indentation depth in blanks: grows by 3 per level; the indent written is capped at 254 blanks.
extern int traceDepth;
// The last line handed to Trace by TraceEnter/TraceExit (for tests of the indentation).
const char *LastTraceIndent();
