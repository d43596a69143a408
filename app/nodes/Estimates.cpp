// Speed, remaining time, finish and points rates.
#include "app/nodes/Estimates.h"

#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace korvex::app {

namespace {

constexpr double UnreadablePercentMSecs = 1200000;   // speed measurement
constexpr double UnreadableStepMSecs = 300000;   // refinement
constexpr double FallbackRemainMinutes = 6000;   // a division that fails
constexpr double NegativeRemainMinutes = 60000;
constexpr std::int64_t FallbackFinishMSecs = 5000;
constexpr int LastTimeStampDay = 3652059;   // 9999-12-31

// Milliseconds of the day of a time text; nothing when it is not a time.
std::optional<double> TimeTextMSecs(const std::string& text) {
    base::TDateTime time = 0;
    if (!base::TryStrToTime(text, time)) return std::nullopt;
    return static_cast<double>(base::DateTimeToTimeStamp(time).Time);
}

// The point in time of a day and milliseconds (which may exceed a day); fallback when out of range.
base::TDateTime FromStamp(std::int64_t day, std::int64_t msecs, const base::TTimeStamp& fallback) {
    base::TDateTime result = 0;
    if (day > 0 && day <= LastTimeStampDay && msecs >= 0 && msecs <= INT32_MAX
        && base::TryTimeStampToDateTime({static_cast<int>(msecs), static_cast<int>(day)}, result))
        return result;
    if (base::TryTimeStampToDateTime({fallback.Time + static_cast<int>(FallbackFinishMSecs), fallback.Date}, result))
        return result;
    return 0;
}

}

double PercentSpeed(const std::string& timePerPercent, int credit) {
    const double t = TimeTextMSecs(timePerPercent).value_or(UnreadablePercentMSecs);
    const double x = t != 0 ? 100 / ((t / 60) / 1000) : 5;
    return credit / 100.0 * x;
}

double BlendSpeed(double old, double v) {
    const double d = std::fabs(v - old);
    auto halvings = [&](int count) {
        double r = v;
        for (int i = 0; i < count; ++i)
            r = (r + old) / 2;
        return r;
    };
    if (d < 3) return halvings(2);
    if (d < 6) return halvings(4);
    if (d < 10) return halvings(6);
    return (3 * old + 4 * v) / 7;
}

TFinishEstimate EstimateFinish(const TNodeReading& reading, const std::string& nodeCore, base::TDateTime now,
    base::TDateTime cycleStart, const std::function<void(int stage)>& stage) {
    auto passed = [&stage](int s) {
        if (stage) stage(s);
    };
    const int p = reading.Progress;
    const base::TTimeStamp start = base::DateTimeToTimeStamp(reading.Start);
    const base::TTimeStamp current = base::DateTimeToTimeStamp(now);
    const base::TTimeStamp cycle = base::DateTimeToTimeStamp(cycleStart != 0 ? cycleStart : now);

    std::int64_t days = static_cast<std::int64_t>(current.Date) - start.Date;
    std::int64_t minutes = (static_cast<std::int64_t>(current.Time) - start.Time) / 60000;
    if (minutes == 0 && days == 0) minutes = static_cast<std::int64_t>(p) * 20 + 1;   // under a minute
    const double elapsed = static_cast<double>(minutes + days * 1440);
    passed(261);

    double a = 0;
    if (p == 0)
        a = elapsed / 100;
    else if (p == 1 && elapsed > 9000)
        a = 0.5;
    else if (p == 2 && elapsed > 6000)
        a = 0.2;
    passed(262);
    // Numbers of a node's files are range-checked by the reading; in doubles here all the same, so that no
    // value can overflow.
    double r = (p + a) != 0 ? (100.0 - p) * elapsed / (p + a) : FallbackRemainMinutes;
    if (!std::isfinite(r)) r = FallbackRemainMinutes;
    if (r < 0) r = NegativeRemainMinutes;
    passed(263);

    TFinishEstimate e;
    e.RemainMinutes = r;
    e.RemainText = base::FormatFloat(RemainFormat, r / 60);
    passed(264);
    const std::int64_t whole = base::Trunc(r);
    const std::int64_t n = whole / 60 / 24;
    e.Finish = FromStamp(cycle.Date + n, cycle.Time + (whole - n * 1440) * 60000, cycle);
    passed(265);

    // Near the end, the last step's rate and the time since it give a better figure.
    double t = 0;
    double steps = 0;
    if (nodeCore == "TINKER") {
        if (p <= 95 || reading.FrameTime == NoTimeText) return e;
        t = TimeTextMSecs(reading.FrameTime).value_or(UnreadableStepMSecs);
        steps = reading.LastStepTime != 0 ? static_cast<double>(reading.TotalFrames) - reading.CurrentFrame : 100.0 - p;
    } else {
        if (r >= 720 || p <= 79 || reading.TimePerPercent == NoTimeText) return e;
        t = TimeTextMSecs(reading.TimePerPercent).value_or(UnreadableStepMSecs);
        steps = 100.0 - p;
    }
    passed(266);
    double rms = steps * t;
    if (reading.LastStepTime != 0) {
        // The last step lies within the day before now; a node clock ahead of ours counts as no time.
        const double since = std::round((now - reading.LastStepTime) * base::MSecsPerDay);
        rms -= since > 0 ? since : 0;
    }
    if (!std::isfinite(rms) || rms < 0) rms = UnreadableStepMSecs;
    passed(267);
    e.Refined = true;
    e.RemainMinutes = rms / 60000;
    e.RemainText = base::FormatFloat(RemainFormat, rms / 60 / 60 / 1000);
    passed(268);
    const std::int64_t startMSecs = cycle.Time < 0 ? 0 : cycle.Time;
    e.Finish = FromStamp(cycle.Date, startMSecs + base::Trunc(rms), cycle);
    passed(269);
    return e;
}

TPointsRates PointsRates(int progress, int credit, const std::string& remainText) {
    const double c = credit / 100.0;
    double h = 100;
    if (!base::TryStrToFloat(remainText, h)) h = 100;
    double pph = h != 0 ? (100.0 - progress) * c / h : 0;
    if (!std::isfinite(pph)) pph = 0;
    TPointsRates rates;
    rates.PerHour = pph;
    rates.PerDay = pph * 24;
    rates.HourText = base::FormatFloat(PointsFormat, rates.PerHour);
    rates.DayText = base::FormatFloat(PointsFormat, rates.PerDay);
    return rates;
}

}
