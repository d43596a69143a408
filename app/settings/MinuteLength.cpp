// The minute of the refresh interval and the watchdog, from the environment.
#include "app/settings/MinuteLength.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace korvex::app {

int MinuteMs() {
    const char* text = std::getenv("KORVEX_MINUTE_MS");
    if (!text || !*text) return NormalMinuteMs;
    int ms = 0;
    const char* end = text + std::strlen(text);
    auto [rest, error] = std::from_chars(text, end, ms);
    if (error != std::errc() || rest != end || ms < ShortestMinuteMs || ms > NormalMinuteMs) return NormalMinuteMs;
    return ms;
}

}
