// The length of one minute of the Update option and the watchdog, shortened for test and demo runs.
#pragma once

namespace korvex::app {

inline constexpr int NormalMinuteMs = 60000;
inline constexpr int ShortestMinuteMs = 100;

// $KORVEX_MINUTE_MS when it holds a number of milliseconds from ShortestMinuteMs to NormalMinuteMs, else
// NormalMinuteMs. A node's refresh interval is Update x MinuteMs(); the watchdog allows one minute more.
int MinuteMs();
// A pause of a node thread's file reads, shortened as the minute is (at least 1 ms when `pauseMs` is not 0): a
// shortened watchdog allows no more.
int MinutePauseMs(int pauseMs);

}
