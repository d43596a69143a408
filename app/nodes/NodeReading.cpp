// The node reading as a whole: both scans in order, and the zone's offset sources.
#include "app/nodes/NodeReading.h"

#include "platform/os/TimeZone.h"

namespace korvex::app {

TNodeReading ReadNode(
    const TTextLines& log, const TTextLines& unitInfo, base::TDateTime now, const TUtcOffsetFunc& utcOffset) {
    TNodeReading reading;
    ScanClientLog(log, now, utcOffset, reading);
    ScanUnitInfo(unitInfo, now, utcOffset, reading);
    return reading;
}

std::string ClientText(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t cut = maxBytes;
    // Back to the first byte of a sequence, at most three continuation bytes.
    for (int i = 0; i < 3 && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++i)
        --cut;
    return std::string(text.substr(0, cut));
}

TUtcOffsetFunc SystemUtcOffset() {
    return [](base::TDateTime utc) { return os::UtcOffsetMinutesAtUtc(utc); };
}

TUtcOffsetFunc FixedUtcOffset(int minutes) {
    return [minutes](base::TDateTime) { return minutes; };
}

}
