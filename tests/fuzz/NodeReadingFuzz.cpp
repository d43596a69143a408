// Fuzz target: the node reading over a client log and a unit-info file ("\n@@unitinfo\n" divides the input).
#include "app/NodeReading.h"
#include "platform/base/DateTime.h"

#include "support/FuzzSupport.h"

using namespace korvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parts = fuzz::SplitAt(fuzz::AsText(data, size), "\n@@unitinfo\n");
    const auto log = app::TTextLines::FromText(parts[0]);
    const auto unitInfo = app::TTextLines::FromText(parts.size() > 1 ? parts[1] : std::string_view());
    const base::TDateTime now = base::EncodeDateTime(2024, 12, 5, 20, 10, 15, 0);
    // A zone whose offset changes inside the log's dates, as daylight saving does.
    const app::TUtcOffsetFunc zone = [](base::TDateTime utc) { return utc < 45600 ? 60 : 120; };
    const app::TNodeReading reading = app::ReadNode(log, unitInfo, now, zone);
    if (reading.Progress < 0) fuzz::Fail("negative progress", reading.WUName);
    // Pure: the same files give the same reading.
    if (!(app::ReadNode(log, unitInfo, now, zone) == reading)) fuzz::Fail("two readings differ");
    return 0;
}
