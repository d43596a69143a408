// The minute of the refresh interval and the watchdog, from the environment.
#include "app/settings/MinuteLength.h"

#include <algorithm>
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

int MinutePauseMs(int pauseMs) {
    if (pauseMs <= 0) return 0;
    return std::max(1, static_cast<int>(static_cast<long long>(pauseMs) * MinuteMs() / NormalMinuteMs));
}

}
