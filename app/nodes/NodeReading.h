// The node reading: what a node's client log and unit-info file say, and the pure function that reads them.
#pragma once

#include "app/nodes/TextLines.h"
#include "platform/base/DateTimeType.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

// A node's client status as the log decides it, or the host test when the host does not answer.
enum class TNodeStatus {
    Undecided,   // nothing decided, service stopped, client shut down
    QueueLoaded,   // the queue was loaded
    Running,   // a unit is running
    AttemptError,   // an upload or download attempt failed
    HostDown,   // the host does not answer (never from the log)
};

// The status square's colour (0x00BBGGRR) of a status, as painted and as the inspection tool prints it.
constexpr int StatusColor(TNodeStatus status) {
    switch (status) {
    case TNodeStatus::Undecided:
        return 65535;   // yellow
    case TNodeStatus::QueueLoaded:
        return 9498256;   // light green
    case TNodeStatus::Running:
        return 32768;   // green
    case TNodeStatus::AttemptError:
        return 0;   // black
    case TNodeStatus::HostDown:
        return 255;   // red
    }
    return 65535;
}

inline constexpr const char* NoTimeText = "00:00:00";   // Time per percent / Frame time without a value

// Every text kept from a client file is cut to this many bytes (a run-clone-gen to fewer), on a code point
// boundary: a line of megabytes never reaches the grid whole.
inline constexpr std::size_t MaxClientText = 255;
inline constexpr std::size_t MaxRunCloneGen = 64;
std::string ClientText(std::string_view text, std::size_t maxBytes = MaxClientText);

// Frame counts read from client files that add up past this count as none.
inline constexpr int MaxFrames = 1000000000;

// What one cycle reads from a node's files. Points in time are local; 0 means none.
struct TNodeReading {
    std::string WUName;
    std::string RCG;   // run, clone and gen joined by "-" ("5-33-12")
    std::string Version;
    std::string CoreRequired;
    std::string UserName;
    std::string Team;
    int Progress = 0;   // percent
    base::TDateTime Start = 0;
    base::TDateTime Deadline = 0;
    TNodeStatus Status = TNodeStatus::Undecided;
    std::string TimePerPercent = NoTimeText;   // hh:nn:ss
    std::string FrameTime = NoTimeText;   // hh:nn:ss, frame-counting cores only
    int TotalFrames = 0;
    int CurrentFrame = 0;
    base::TDateTime LastStepTime = 0;   // the last progress line, within the day before now
    std::string StartText;   // date text of the unit's "Working on" line

    bool operator==(const TNodeReading&) const = default;
};

// Minutes east of UTC in force at a point in time given in UTC.
using TUtcOffsetFunc = std::function<int(base::TDateTime utc)>;

// The system zone (os::UtcOffsetMinutesAtUtc), and a fixed offset.
TUtcOffsetFunc SystemUtcOffset();
TUtcOffsetFunc FixedUtcOffset(int minutes);

// The reading of a node from its two files' lines, the local time now and the zone. Pure: no file, no clock.
// Bad input of any kind gives the cycle-start values of the fields it concerns.
TNodeReading ReadNode(
    const TTextLines& log, const TTextLines& unitInfo, base::TDateTime now, const TUtcOffsetFunc& utcOffset);

struct TLogMarks;

// Where the log scan has got to, in the order it passes them; the values are the stages a monitoring thread
// reports for them.
enum class TLogScanStage : int {
    Version = 90,   // the client's version
    Identity = 91,   // core required and unit name
    UserAndQueue = 92,   // user name and team, the loaded queue
    Status = 93,   // the status from the anchor on
    StartLineFound = 931,   // the unit's "Working on" line found
    StartTextTaken = 94,
    StartTextDone = 95,
    RunCloneGenFound = 96,
    RunCloneGenDone = 97,
    StepLinesDone = 98,   // the last step line read
    TimePerPercentDone = 99,
    FrameLinesFound = 991,   // frame-counting cores only, from here on
    FrameStepTimeRead = 992,
    FramesDone = 993,
};
using TLogScanStages = std::function<void(TLogScanStage)>;

// The two halves of ReadNode, in the order it runs them (the unit-info scan uses the log's results).
void ScanClientLog(const TTextLines& log, base::TDateTime now, const TUtcOffsetFunc& utcOffset, TNodeReading& reading);
void ScanUnitInfo(
    const TTextLines& unitInfo, base::TDateTime now, const TUtcOffsetFunc& utcOffset, TNodeReading& reading);
// The same from the log's marks, and from the unit-info file's first lines (UnitInfoLines of them, each cut to
// MaxKeptLineBytes: the scan needs no more).
void ScanClientLog(const TLogMarks& marks, base::TDateTime now, const TUtcOffsetFunc& utcOffset, TNodeReading& reading,
    const TLogScanStages& stages = {});
inline constexpr std::size_t UnitInfoLines = 6;
void ScanUnitInfo(const std::vector<std::string_view>& lines, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    TNodeReading& reading);

// Every text the log scan looks for (for comparison runs of other tools over the same file).
inline constexpr std::array<const char*, 21> ClientLogKeywords
    = {"Version", "Core required:", "System:", "Protein:", "User name:", "(Team ", "Loaded queue successfully",
        "Results successfully sent", "] Completed ", "Frames Completed:", "Service stop", "Client Shutdown.",
        "Error: Attempt", "Working on", "Completed 0 out", "Finished a frame (1)", "Clone", "Completed ", "Completed",
        "Finished a frame", "Remaining:"};

}
