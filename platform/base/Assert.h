// KORVEX_ASSERT: checks for programming errors, active in test and sanitizer builds only.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace korvex::base {

[[noreturn]] inline void AssertFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: assertion failed: %s\n", file, line, condition);
    std::abort();
}

}

#ifdef KORVEX_ASSERTS
#define KORVEX_ASSERT(cond) ((cond) ? (void)0 : ::korvex::base::AssertFailed(#cond, __FILE__, __LINE__))
#else
// Not evaluated, but still compiled, so variables used only in checks do not warn.
#define KORVEX_ASSERT(cond) ((void)sizeof((cond) ? 1 : 0))
#endif
