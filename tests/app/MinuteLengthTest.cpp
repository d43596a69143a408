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

// The pauses of the file reads shrink with the minute, so a shortened watchdog does not take them for a hang.
TEST(MinuteLength, FilePausesShrinkWithTheMinute) {
    const char* old = std::getenv("KORVEX_MINUTE_MS");
    const std::string saved = old ? old : "";
    const struct {
        const char* Minute;
        int Pause;
        int Expected;
    } cases[] = {{nullptr, 250, 250}, {"1000", 250, 4}, {"100", 250, 1}, {"1000", 0, 0}, {"30000", 250, 125}};
    for (const auto& c : cases) {
        if (c.Minute) ::setenv("KORVEX_MINUTE_MS", c.Minute, 1);
        else ::unsetenv("KORVEX_MINUTE_MS");
        EXPECT_EQ(MinutePauseMs(c.Pause), c.Expected) << (c.Minute ? c.Minute : "(unset)") << " " << c.Pause;
    }
    if (old) ::setenv("KORVEX_MINUTE_MS", saved.c_str(), 1);
    else ::unsetenv("KORVEX_MINUTE_MS");
}

}
}
