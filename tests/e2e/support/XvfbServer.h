// A private Xvfb server for end-to-end tests: started on a free display number, stopped at the end.
#pragma once

#include <cstdlib>
#include <string>
#include <sys/types.h>

namespace korvex::e2e {

// Whether a test that cannot have its X server (or its program) fails instead of being skipped: ./test.sh and
// CI set KORVEX_TESTS_NEED_XVFB=1, so a machine without a working Xvfb cannot pass them by running none.
inline bool XvfbRequired() {
    const char* need = std::getenv("KORVEX_TESTS_NEED_XVFB");
    return need != nullptr && *need != '\0' && std::string(need) != "0";
}

// In a test or its SetUp: goes on when `condition` holds; otherwise skips the test, or fails it where
// XvfbRequired().
#define KORVEX_E2E_NEED(condition, why)                                                                       \
    do {                                                                                                      \
        if (!(condition)) {                                                                                   \
            if (::korvex::e2e::XvfbRequired()) FAIL() << why;                                                 \
            GTEST_SKIP() << why;                                                                              \
        }                                                                                                     \
    } while (false)

class XvfbServer {
public:
    // Starts Xvfb with one screen of the given size (24-bit) and waits until it accepts connections.
    explicit XvfbServer(int width = 1024, int height = 768);
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;
    ~XvfbServer();

    bool Running() const { return !FName.empty(); }
    const std::string& Name() const { return FName; }   // ":N", for $DISPLAY
    const std::string& Error() const { return FError; }

private:
    pid_t FPid = -1;
    std::string FName;
    std::string FError;
};

}
