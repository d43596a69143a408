// The minute of the refresh interval: $KORVEX_MINUTE_MS within its range, else a real minute.
#include "app/settings/MinuteLength.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace korvex::app {
namespace {

// Sets or clears $KORVEX_MINUTE_MS (null clears it) and puts the old value back at the end of the scope.
class TMinuteVariable {
public:
    TMinuteVariable() {
        const char* old = std::getenv("KORVEX_MINUTE_MS");
        FHad = old != nullptr;
        if (old) FOld = old;
    }
    ~TMinuteVariable() { Set(FHad ? FOld.c_str() : nullptr); }
    void Set(const char* value) {
        if (value)
            ::setenv("KORVEX_MINUTE_MS", value, 1);
        else
            ::unsetenv("KORVEX_MINUTE_MS");
    }

private:
    bool FHad = false;
    std::string FOld;
};

TEST(MinuteLength, ReadsTheVariableWithinItsRange) {
    TMinuteVariable variable;
    const struct {
        const char* Value;
        int Expected;
    } cases[] = {{nullptr, 60000}, {"", 60000}, {"2000", 2000}, {"100", 100}, {"60000", 60000}, {"99", 60000},
        {"60001", 60000}, {"0", 60000}, {"-2000", 60000}, {"2s", 60000}, {" 2000", 60000},
        {"99999999999999999999", 60000}};
    for (const auto& c : cases) {
        variable.Set(c.Value);
        EXPECT_EQ(MinuteMs(), c.Expected) << (c.Value ? c.Value : "(unset)");
    }
}

// The pauses of the file reads shrink with the minute, so a shortened watchdog does not take them for a hang.
TEST(MinuteLength, FilePausesShrinkWithTheMinute) {
    TMinuteVariable variable;
    const struct {
        const char* Minute;
        int Pause;
        int Expected;
    } cases[] = {{nullptr, 250, 250}, {"1000", 250, 4}, {"100", 250, 1}, {"1000", 0, 0}, {"30000", 250, 125}};
    for (const auto& c : cases) {
        variable.Set(c.Minute);
        EXPECT_EQ(MinutePauseMs(c.Pause), c.Expected) << (c.Minute ? c.Minute : "(unset)") << " " << c.Pause;
    }
}

}
}
