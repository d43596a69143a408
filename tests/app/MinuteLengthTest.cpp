// The minute of the refresh interval: $KORVEX_MINUTE_MS within its range, else a real minute.
#include "app/settings/MinuteLength.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace korvex::app {
namespace {

TEST(MinuteLength, ReadsTheVariableWithinItsRange) {
    const char* old = std::getenv("KORVEX_MINUTE_MS");
    const std::string saved = old ? old : "";
    const struct {
        const char* Value;
        int Expected;
    } cases[] = {{nullptr, 60000}, {"", 60000}, {"2000", 2000}, {"100", 100}, {"60000", 60000}, {"99", 60000},
        {"60001", 60000}, {"0", 60000}, {"-2000", 60000}, {"2s", 60000}, {" 2000", 60000},
        {"99999999999999999999", 60000}};
    for (const auto& c : cases) {
        if (c.Value) ::setenv("KORVEX_MINUTE_MS", c.Value, 1);
        else ::unsetenv("KORVEX_MINUTE_MS");
        EXPECT_EQ(MinuteMs(), c.Expected) << (c.Value ? c.Value : "(unset)");
    }
    if (old) ::setenv("KORVEX_MINUTE_MS", saved.c_str(), 1);
    else ::unsetenv("KORVEX_MINUTE_MS");
}

}
}
