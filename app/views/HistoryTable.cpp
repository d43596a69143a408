// The history window's rows: reading, sorting, totals and search.
#include "app/views/HistoryTable.h"

#include "app/nodes/WorkUnitHistory.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"

#include <algorithm>

namespace korvex::app {

namespace {

// The run time's Copy over a view: 1-based, an index below 1 counts as 1, a count <= 0 or an index past the
// end gives nothing.
std::string_view Cut(std::string_view s, std::int64_t index, std::int64_t count) {
    if (index < 1) index = 1;
    if (count <= 0 || index > std::int64_t(s.size())) return {};
    return s.substr(std::size_t(index - 1), std::size_t(count));
}

std::int64_t PosOf(char mark, std::string_view s) {
    const std::size_t at = s.find(mark);
    return at == std::string_view::npos ? 0 : std::int64_t(at) + 1;
}

std::string Decoded(std::string_view field) {
    return field.find('%') == std::string_view::npos ? std::string(field) : DecodeHistoryField(std::string(field));
}

}

THistoryRow ParseHistoryRecord(std::string_view line, int index) {
    const std::int64_t close = PosOf(']', line);
    const std::int64_t star = PosOf('*', line);
    const std::int64_t hash = PosOf('#', line);
    const std::int64_t equal = PosOf('=', line);
    const std::int64_t at = PosOf('@', line);
    const std::int64_t rest = std::int64_t(line.size()) + 1;
    THistoryRow row;
    row[hcIndex] = std::to_string(index);
    row[hcDate] = std::string(Cut(line, 2, close - 2));
    row[hcName] = Decoded(Cut(line, close + 2, star - close - 2));
    row[hcRunCloneGen] = Decoded(Cut(line, star + 1, hash - star - 1));
    row[hcPoints] = std::string(Cut(line, hash + 1, equal - hash - 1));
    if (at > 0) {
        row[hcNode] = Decoded(Cut(line, equal + 1, at - equal - 1));
        row[hcSpeed] = std::string(Cut(line, at + 1, rest));
    } else {
        row[hcNode] = Decoded(Cut(line, equal + 1, rest));
    }
    return row;
}

THistoryRead ReadHistoryTail(const std::string& path, std::size_t keep) {
    THistoryRead read;
    if (keep == 0) keep = 1;
    // Every line is a record, a blank one too (its fields are empty). The rows kept go round in a ring once
    // it is full, the oldest given up.
    if (!ForEachHistoryLine(path, [&read, keep](std::string_view line) {
            ++read.Lines;
            THistoryRow row = line.empty() ? THistoryRow {} : ParseHistoryRecord(line, 0);
            row[hcIndex] = std::to_string(read.Lines);
            int points = 0;
            if (base::TryStrToInt(row[hcPoints], points)) read.PointsTotal += points;
            if (read.Rows.size() < keep)
                read.Rows.push_back(std::move(row));
            else
                read.Rows[std::size_t((read.Lines - 1) % std::int64_t(keep))] = std::move(row);
        }))
        return {};
    if (read.Lines > std::int64_t(keep))   // the oldest kept row first
        std::rotate(
            read.Rows.begin(), read.Rows.begin() + std::ptrdiff_t(read.Lines % std::int64_t(keep)), read.Rows.end());
    return read;
}

std::vector<THistoryRow> ReadHistory(const std::string& path) {
    return ReadHistoryTail(path).Rows;
}

std::int64_t HistoryPointsTotal(const std::vector<THistoryRow>& rows) {
    std::int64_t total = 0;
    for (const THistoryRow& row : rows) {
        int points = 0;
        if (base::TryStrToInt(row[hcPoints], points)) total += points;
    }
    return total;
}

void SortHistory(std::vector<THistoryRow>& rows, int column) {
    if (column < 0 || column >= HistoryColumnCount) return;
    // std::string compares its bytes as unsigned chars: the plain 8-bit order.
    std::stable_sort(rows.begin(), rows.end(),
        [column](const THistoryRow& a, const THistoryRow& b) { return a[column] < b[column]; });
}

int FindHistoryRow(const std::vector<THistoryRow>& rows, const std::string& text, int from) {
    return FindHistoryRow(int(rows.size()), [&rows](int row, int column) -> std::string_view {
        return rows[std::size_t(row)][std::size_t(column)];
    }, text, from);
}

int FindHistoryRow(int count, const THistoryCellText& field, const std::string& text, int from) {
    if (text.empty() || count <= 0) return -1;
    const std::string wanted = base::AnsiUpperCase(text);
    const int start = from < 0 || from >= count ? 0 : from + 1;
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        for (int c = hcDate; c < HistoryColumnCount; ++c)
            if (base::AnsiUpperCase(std::string(field(i, c))).find(wanted) != std::string::npos) return i;
    }
    return -1;
}

}
