// The node reading as a whole: both scans in order, and the zone's offset sources.
#include "app/NodeReading.h"

#include "platform/os/TimeZone.h"

namespace korvex::app {

TNodeReading ReadNode(
    const TTextLines& log, const TTextLines& unitInfo, base::TDateTime now, const TUtcOffsetFunc& utcOffset) {
    TNodeReading reading;
    ScanClientLog(log, now, utcOffset, reading);
    ScanUnitInfo(unitInfo, now, utcOffset, reading);
    return reading;
}

TUtcOffsetFunc SystemUtcOffset() {
    return [](base::TDateTime utc) { return os::UtcOffsetMinutesAtUtc(utc); };
}

TUtcOffsetFunc FixedUtcOffset(int minutes) {
    return [minutes](base::TDateTime) { return minutes; };
}

}
