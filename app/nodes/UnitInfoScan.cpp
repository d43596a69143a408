// The unit-info scan: name, start, deadline and progress from their fixed lines, and the reading's dates.
#include "app/nodes/ClientDates.h"
#include "app/nodes/ClientLogMarks.h"
#include "app/nodes/NodeReading.h"

#include "platform/base/Numbers.h"

namespace korvex::app {

namespace {

constexpr std::size_t NameLine = 2;
constexpr std::size_t DownloadLine = 3;
constexpr std::size_t DueLine = 4;

std::string From(std::string_view line, std::size_t column) {
    return column - 1 < line.size() ? std::string(line.substr(column - 1)) : std::string();
}

// "Progress: 45% [||||      ]": the text from column 11 up to the first "%" as a number; 0 when it is none or
// there is no "%".
int ProgressOf(std::string_view line) {
    const std::size_t percent = line.find('%');
    if (percent == std::string_view::npos || percent < 10) return 0;
    return base::StrToIntDef(std::string(line.substr(10, percent - 10)), 0);
}

}

void ScanUnitInfo(
    const TTextLines& unitInfo, base::TDateTime now, const TUtcOffsetFunc& utcOffset, TNodeReading& reading) {
    std::vector<std::string_view> lines = unitInfo.FirstLines(UnitInfoLines);
    for (std::string_view& line : lines)
        line = line.substr(0, MaxKeptLineBytes);
    ScanUnitInfo(lines, now, utcOffset, reading);
}

void ScanUnitInfo(const std::vector<std::string_view>& lines, base::TDateTime now, const TUtcOffsetFunc& utcOffset,
    TNodeReading& reading) {
    const std::size_t count = lines.size();

    // QMD and Amber units write a name of their own; the log's is kept for them.
    if (count > NameLine) {
        std::string_view line = lines[NameLine];
        if (line.find("QMD") == std::string_view::npos && line.find("Amber") == std::string_view::npos)
            reading.WUName = ClientText(From(line, 7));
    }

    // The year is not written: the start is the latest such date up to a day from now (time zones apart), and
    // the deadline the first such date from the start on.
    const base::TDateTime nowUtc = LocalToUtcWith(now, utcOffset);
    std::optional<base::TDateTime> startUtc;
    std::string startText = reading.StartText;
    if (startText.empty() && count > DownloadLine) startText = From(lines[DownloadLine], 16);
    if (!startText.empty()) {
        if (std::optional<TClientDate> date = ParseClientDate(startText)) startUtc = LatestNotAfter(*date, nowUtc + 1);
    }
    if (startUtc) reading.Start = UtcToLocalWith(*startUtc, utcOffset);

    std::size_t progressLine = DueLine;
    if (count > DueLine && lines[DueLine].substr(0, 3) == "Due") {
        progressLine = DueLine + 1;
        if (std::optional<TClientDate> date = ParseClientDate(From(lines[DueLine], 11))) {
            std::optional<base::TDateTime> deadlineUtc
                = startUtc ? FirstNotBefore(*date, *startUtc) : Nearest(*date, nowUtc);
            if (deadlineUtc) reading.Deadline = UtcToLocalWith(*deadlineUtc, utcOffset);
        }
    }

    if (count > progressLine) reading.Progress = ProgressOf(lines[progressLine]);
}

}
