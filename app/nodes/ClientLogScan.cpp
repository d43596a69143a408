// The client log scan: the fields of the reading cut from the keyword lines of the log.
#include "app/nodes/ClientDates.h"
#include "app/nodes/ClientLogMarks.h"
#include "app/nodes/NodeReading.h"

#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace korvex::app {

namespace {

// Text of a line from a 1-based column to its end, and the same as a client text.
std::string_view Tail(std::string_view line, std::size_t column) {
    return column - 1 < line.size() ? line.substr(column - 1) : std::string_view();
}
std::string From(std::string_view line, std::size_t column) {
    return ClientText(Tail(line, column));
}

// A count as the frame lines write it: the 3 characters from a 1-based column, or more while the count goes
// on, without "," and " ", read as a number; 0 when they are none or no sane frame count.
int CountAt(std::string_view line, std::size_t column) {
    const std::size_t from = column - 1;
    if (from >= line.size()) return 0;
    std::size_t to = std::min(from + 3, line.size());
    while (to < line.size() && ((line[to] >= '0' && line[to] <= '9') || line[to] == ','))
        ++to;
    std::int64_t value = 0;
    bool digits = false;
    for (char c : line.substr(from, to - from)) {
        if (c == ',' || c == ' ') continue;
        if (c < '0' || c > '9') return 0;
        digits = true;
        value = value * 10 + (c - '0');
        if (value > 1000000000) return 0;
    }
    return digits ? static_cast<int>(value) : 0;
}

// The text between the first "(" and the first ")" as a number, 0 when it is none.
int FrameNumber(std::string_view line) {
    const std::size_t open = line.find('(');
    const std::size_t close = line.find(')');
    std::string_view text;
    if (close != std::string_view::npos) {
        const std::size_t from = open == std::string_view::npos ? 0 : open + 1;
        if (from < close) text = line.substr(from, close - from);
    }
    return base::StrToIntDef(std::string(text), 0);
}

// The bytes a Run-Clone-Gen drops: ":", ",", "(", ")", " " and "-".
struct TRunCloneGenMarks {
    bool Mark[256] = {};
    constexpr TRunCloneGenMarks() {
        for (unsigned char c : {':', ',', '(', ')', ' ', '-'})
            Mark[c] = true;
    }
    bool operator()(char c) const { return Mark[static_cast<unsigned char>(c)]; }
};
constexpr TRunCloneGenMarks IsRunCloneGenMark;

// "[20:10:16] Project: 2605 (Run 5, Clone 33, Gen 12)" gives "5-33-12". The text from "Run" to the end less
// the ")" (the whole line without a "Run") without its marks, then the first "Run" dropped and the first
// "Clone" and "Gen" turned into "-". One copy of the kept bytes and a few moves in it: linear in the line.
std::string RunCloneGen(std::string_view line) {
    const std::size_t run = line.find("Run");
    const std::string_view text = run == std::string_view::npos ? line : line.substr(run, line.size() - run - 1);
    const auto marks = static_cast<std::size_t>(std::count_if(text.begin(), text.end(), IsRunCloneGenMark));
    std::string s;
    s.reserve(text.size() - marks + 2);   // the two "-" inserted below
    std::remove_copy_if(text.begin(), text.end(), std::back_inserter(s), IsRunCloneGenMark);
    if (std::size_t at = s.find("Run"); at != std::string::npos) s.erase(at, 3);
    if (std::size_t at = s.find("Clone"); at != std::string::npos) s.insert(at, 1, '-');
    if (std::size_t at = s.find("Gen"); at != std::string::npos) s.insert(at, 1, '-');
    if (std::size_t at = s.find("Clone"); at != std::string::npos) s.erase(at, 5);
    if (std::size_t at = s.find("Gen"); at != std::string::npos) s.erase(at, 3);
    return s;
}

// The start comes from the last "Working on" line of the current unit (its protein line names the unit) whose
// first step or frame is logged within 50 lines of the protein line; a "Working on" line that is the log's last
// line does not count. Null when there is none.
const TUnitStart* FindUnitStart(const TLogMarks& m, const std::string& wuName) {
    for (auto it = m.UnitStarts.rbegin(); it != m.UnitStarts.rend(); ++it)
        if (it->WorkingOn < m.LastLine && it->Name == wuName) return &*it;
    return nullptr;
}

}

void ScanClientLog(const TTextLines& log, base::TDateTime now, const TUtcOffsetFunc& utcOffset, TNodeReading& reading) {
    if (log.Empty()) return;
    ScanClientLog(FindLogMarks(log.Text()), now, utcOffset, reading);
}

void ScanClientLog(const TLogMarks& m, base::TDateTime now, const TUtcOffsetFunc& utcOffset, TNodeReading& reading,
    const TLogScanStages& stages) {
    auto passed = [&stages](TLogScanStage stage) {
        if (stages) stages(stage);
    };

    // Identity of the client and the unit; a match on line 0 does not count.
    if (m.Version.Index > 0) reading.Version = From(m.Version.Text, 12);
    passed(TLogScanStage::Version);
    if (m.CoreRequired.Index > 0) reading.CoreRequired = From(m.CoreRequired.Text, 27);
    if (m.System.Index > 0)
        reading.WUName = From(m.System.Text, 20);
    else if (m.Protein.Index > 0)
        reading.WUName = From(m.Protein.Text, 21);
    passed(TLogScanStage::Identity);
    if (m.UserName.Index > 0) {
        const std::string_view line = m.UserName.Text;
        const std::size_t teamAt = line.find(" (Team ");   // 0-based: the 1-based position less one
        reading.UserName = teamAt == std::string_view::npos ? From(line, 25)
            : teamAt > 24                                   ? ClientText(line.substr(24, teamAt - 24))
                                                            : std::string();
        if (std::size_t team = line.find("(Team "); team != std::string_view::npos)
            reading.Team = std::string(line.substr(team + 6, 5));
    }

    // Status: the last keyword of the order below that occurs at or after the anchor decides.
    TLineIndex anchor = 0;
    if (m.LoadedQueue.Found()) {
        anchor = m.LoadedQueue.Index;
        reading.Status = TNodeStatus::QueueLoaded;
    }
    passed(TLogScanStage::UserAndQueue);
    if (m.ResultsSent.Index > 0 && m.ResultsSent.Index >= anchor) anchor = m.ResultsSent.Index;
    if (m.BracketCompleted.Index >= anchor) reading.Status = TNodeStatus::Running;
    if (m.FramesCompleted.Index >= anchor) reading.Status = TNodeStatus::Running;
    if (m.ServiceStop.Index >= anchor) reading.Status = TNodeStatus::Undecided;
    if (m.ClientShutdown.Index >= anchor) reading.Status = TNodeStatus::Undecided;
    if (m.ErrorAttempt.Index >= anchor) reading.Status = TNodeStatus::AttemptError;
    passed(TLogScanStage::Status);

    reading.StartText.clear();
    if (const TUnitStart* start = FindUnitStart(m, reading.WUName)) {
        passed(TLogScanStage::StartLineFound);
        reading.StartText = start->StartText;
        passed(TLogScanStage::StartTextTaken);
    }
    passed(TLogScanStage::StartTextDone);

    // The unit's lines start at its project line.
    const TLineIndex c = m.Clone.Found() ? m.Clone.Index : 0;
    if (m.Clone.Found()) {
        passed(TLogScanStage::RunCloneGenFound);
        reading.RCG = ClientText(RunCloneGen(m.Clone.Text), MaxRunCloneGen);
    }
    passed(TLogScanStage::RunCloneGenDone);
    auto fromUnit = [c](const TLogLine& line) { return line.Found() && line.Index >= c; };

    // The last stamp of the unit, placed in the day before now.
    auto lastStep = [&](const TLogLine& line) -> base::TDateTime {
        std::optional<std::int64_t> msecs = StampMSecs(line.Text);
        if (!msecs) return 0;
        const base::TDateTime nowUtc = LocalToUtcWith(now, utcOffset);
        base::TDateTime utc = static_cast<double>(static_cast<std::int64_t>(nowUtc)) + *msecs / base::MSecsPerDay;
        if (utc > nowUtc + 1.0 / 24) utc -= 1;   // an hour of grace for a node clock ahead of ours
        return UtcToLocalWith(utc, utcOffset);
    };
    auto difference = [](const TLogLine& from, const TLogLine& to) -> std::optional<std::int64_t> {
        std::optional<std::int64_t> a = StampMSecs(from.Text);
        std::optional<std::int64_t> b = StampMSecs(to.Text);
        if (!a || !b) return std::nullopt;
        return StampDifference(*a, *b);
    };

    // Time per percent from the last two step lines of the unit.
    if (fromUnit(m.Step)) reading.LastStepTime = lastStep(m.Step);
    passed(TLogScanStage::StepLinesDone);
    if (fromUnit(m.Step) && m.Step.Index > 0 && m.StepPrevious.Index > 0 && fromUnit(m.StepPrevious)) {
        if (std::optional<std::int64_t> d = difference(m.StepPrevious, m.Step))
            reading.TimePerPercent = DurationText(*d);
    }
    passed(TLogScanStage::TimePerPercentDone);
    if (reading.TimePerPercent != NoTimeText) return;

    // Frame-counting cores: frame time from the last two frame lines, frames from the last count line.
    int total = 0;
    if (fromUnit(m.FramesCompleted)) {
        std::string_view line = m.FramesCompleted.Text;
        total = CountAt(line, 32);
        std::size_t remaining = line.find("Remaining:");
        if (remaining != std::string_view::npos) total += CountAt(line, remaining + 1 + 11);
        if (total > MaxFrames) total = 0;
    }
    if (fromUnit(m.Frame) && fromUnit(m.FramePrevious) && m.Frame.Index > 0 && m.FramePrevious.Index > 0) {
        passed(TLogScanStage::FrameLinesFound);
        reading.CurrentFrame = FrameNumber(m.Frame.Text);
        reading.TotalFrames = total;
        reading.LastStepTime = lastStep(m.Frame);
        passed(TLogScanStage::FrameStepTimeRead);
        if (std::optional<std::int64_t> d = difference(m.FramePrevious, m.Frame)) {
            reading.FrameTime = DurationText(*d);
            reading.TimePerPercent = DurationText(*d * (total / 100));
        }
    }
    passed(TLogScanStage::FramesDone);
}

}
