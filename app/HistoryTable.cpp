// The history window's rows: reading, sorting, totals and search.
#include "app/HistoryTable.h"

#include "app/WorkUnitHistory.h"
#include "platform/base/Numbers.h"
#include "platform/base/Strings.h"
#include "platform/os/LineLoader.h"

#include <algorithm>
#include <climits>

namespace korvex::app {

THistoryRow ParseHistoryRecord(const std::string& line, int index) {
    using base::Copy;
    using base::Pos;
    const int close = Pos("]", line);
    const int star = Pos("*", line);
    const int hash = Pos("#", line);
    const int equal = Pos("=", line);
    const int at = Pos("@", line);
    THistoryRow row;
    row[hcIndex] = std::to_string(index);
    row[hcDate] = Copy(line, 2, close - 2);
    row[hcName] = DecodeHistoryField(Copy(line, close + 2, star - close - 2));
    row[hcRunCloneGen] = DecodeHistoryField(Copy(line, star + 1, hash - star - 1));
    row[hcPoints] = Copy(line, hash + 1, equal - hash - 1);
    if (at > 0) {
        row[hcNode] = DecodeHistoryField(Copy(line, equal + 1, at - equal - 1));
        row[hcSpeed] = Copy(line, at + 1, INT_MAX);
    } else {
        row[hcNode] = DecodeHistoryField(Copy(line, equal + 1, INT_MAX));
    }
    return row;
}

std::vector<THistoryRow> ReadHistory(const std::string& path) {
    std::vector<std::string> lines;
    std::vector<THistoryRow> rows;
    if (!os::TryLoadLines(path, lines)) return rows;
    rows.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        rows.push_back(ParseHistoryRecord(lines[i], int(i) + 1));
    return rows;
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
    if (text.empty() || rows.empty()) return -1;
    const std::string wanted = base::AnsiUpperCase(text);
    const int count = int(rows.size());
    const int start = from < 0 || from >= count ? 0 : from + 1;
    for (int step = 0; step < count; ++step) {
        const int i = (start + step) % count;
        for (int c = hcDate; c < HistoryColumnCount; ++c)
            if (base::AnsiUpperCase(rows[i][c]).find(wanted) != std::string::npos) return i;
    }
    return -1;
}

}
