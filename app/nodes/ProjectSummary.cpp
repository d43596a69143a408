// The project summary page: rows read into the project table and the user's list, the page fetched.
#include "app/nodes/ProjectSummary.h"

#include "app/settings/ProgramLog.h"
#include "app/settings/Settings.h"
#include "app/settings/SettingsKey.h"
#include "app/nodes/TextLines.h"
#include "platform/base/DateTime.h"
#include "platform/base/Numbers.h"
#include "platform/os/Http.h"
#include "platform/os/TextFiles.h"

#include <algorithm>

namespace korvex::app {

namespace {

constexpr std::string_view Boundary = SummaryCellBoundary;

// Drops everything up to and including the next boundary; false (s emptied) when there is none.
bool SkipCell(std::string_view& s) {
    const std::size_t at = s.find(Boundary);
    if (at == std::string_view::npos) {
        s = {};
        return false;
    }
    s.remove_prefix(at + Boundary.size());
    return true;
}

std::string_view CellText(std::string_view s) {
    return s.substr(0, s.find(Boundary));
}

std::string WithoutBlanks(std::string_view s) {
    std::string out(s);
    out.erase(std::remove(out.begin(), out.end(), ' '), out.end());
    return out;
}

// A row is known when its name occurs inside a name of the table; an empty name, which occurs in every name,
// only when the table holds an empty name already (so a page read twice adds nothing the second time).
bool Known(const TProjectTable& table, const std::string& name) {
    for (int k = 1; k <= table.Count(); ++k) {
        if (name.empty() ? table.Name(k).empty() : table.Name(k).find(name) != std::string::npos) return true;
    }
    return false;
}

}

std::optional<TProjectRow> ParseProjectSummaryRow(std::string_view line) {
    if (line.find(ProjectServerPrefix) == std::string_view::npos) return std::nullopt;
    std::string_view s = line;
    SkipCell(s);
    SkipCell(s);
    TProjectRow row;
    row.Name = std::string(CellText(s));   // missing cells: empty
    for (int i = 0; i < 4; ++i)
        SkipCell(s);
    const std::string rest = WithoutBlanks(s);
    const std::size_t credit = rest.find(std::string(".00") + SummaryCellBoundary);
    if (credit == std::string::npos || !base::TryStrToInt(rest.substr(0, credit), row.Credit)) row.Credit = 0;
    std::string_view tail = rest;
    SkipCell(tail);
    SkipCell(tail);
    row.Core = std::string(CellText(tail));
    return row;
}

TProjectSummaryResult AddProjectSummary(std::string_view pageText, TProjectTable& table) {
    TProjectSummaryResult result;
    const TTextLines lines = TTextLines::FromText(pageText);
    TSettingsBatch batch;
    lines.ForEachLine([&](std::size_t index, std::string_view line) {
        if (index == 0) return;   // the first line is never a row
        std::optional<TProjectRow> row = ParseProjectSummaryRow(line);
        if (!row) return;
        ++result.Rows;
        if (Known(table, row->Name)) return;
        table.Add(*row);
        TSettingsKey units(UnitsKey);
        const int n = units.Integer("UnitsCount", 0) + 1;
        const base::TDateTime now = base::Now();
        units.WriteInteger("UnitsCount", n);
        units.WriteFloat("Date", now);
        units.WriteText(NodeValue("Name", n), row->Name);
        units.WriteText(NodeValue("Core", n), row->Core);
        units.WriteInteger(NodeValue("Credit", n), row->Credit);
        ++result.Added;
        result.UnitsCount = n;
        result.Date = now;
    });
    return result;
}

std::string ProjectSummaryAddedText(int language, base::TDateTime date, int unitsCount, int tableCount) {
    const std::string numbers = std::to_string(unitsCount) + "/" + std::to_string(tableCount);
    if (language == 0) return "Посл.обновл: " + base::DateTimeToStr(date) + " Известно WU: " + numbers;
    if (language == 1) return "Last update: " + base::DateTimeToStr(date) + " Known units: " + numbers;
    return "";
}

std::string KnownUnitsText(int language, int tableCount) {
    TSettingsKey units(UnitsKey, false);
    if (!units.IsOpen()) return language == 0 ? "Нет обновлений. Исп. внутр. база" : "No update. Defaul base in use";
    const std::optional<double> date = units.FloatIfPresent("Date");
    const std::optional<int> count = units.IntegerIfPresent("UnitsCount");
    return "Last update: " + base::DateTimeToStr(date.value_or(0)) + "   Known units: "
        + std::to_string(count.value_or(0)) + "/" + std::to_string(tableCount);
}

std::string KnownUnitsHint(int language) {
    if (language == 0) return "Формат известных WU -\r\n\"Из Inet\"/\"Всего в базе\"";
    return "Known WUs format -\r\n\"From Inet\"/\"Total base\"";
}

TSummaryFetch FetchProjectSummary(const std::string& url, const std::string& file, int timeoutMs) {
    const os::THttpResult page = os::HttpGet(url, timeoutMs);
    if (page.InitFailed) return TSummaryFetch::InitFailed;
    if (!page.Ok) {
        WLog("Project summary: " + page.Error + " (" + page.Detail + ")");
        return TSummaryFetch::OpenFailed;
    }
    if (!os::RewriteFileAtomically(file, page.Body + "\r\n")) return TSummaryFetch::WriteFailed;
    return TSummaryFetch::Ok;
}

std::string SummaryFetchFailureText(TSummaryFetch result, int language, const std::string& url) {
    if (language != 0 && language != 1) return "";
    const bool ru = language == 0;
    switch (result) {
    case TSummaryFetch::Ok: return "";
    case TSummaryFetch::InitFailed:
        return ru ? "Невозможно инициализировать Wininet (доступ в сеть)" : "Unable to initialize Wininet";
    case TSummaryFetch::OpenFailed: return (ru ? "Невозможно открыть URL " : "Cannot open URL ") + url;
    case TSummaryFetch::WriteFailed: return (ru ? "Невозможно записать " : "Cannot write ") + std::string(ProjectSummaryFile);
    }
    return "";
}

}
