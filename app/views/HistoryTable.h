// The history window's rows: the history file read into text fields, sorted by a column, totalled and searched.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::app {

// A row as the history grid shows it: column 0 the line's number in the file (from 1), then the fields.
inline constexpr int HistoryColumnCount = 7;
enum THistoryColumn { hcIndex, hcDate, hcName, hcRunCloneGen, hcPoints, hcNode, hcSpeed };
using THistoryRow = std::array<std::string, HistoryColumnCount>;

// Fields are cut at the first "]", "*", "#", "=" and "@" of the line: the date between the leading "[" and
// "]", the name from two characters after "]" to "*", run-clone-gen to "#", points to "=", then the node up to
// "@" and the speed after it (no "@": the node is the rest and the speed empty). A missing mark shifts or
// empties the fields of that line only. Name, run-clone-gen and node are decoded as the writer encodes them.
THistoryRow ParseHistoryRecord(std::string_view line, int index);

// The most rows a history window holds: the grid's rows less the header and the total row.
inline constexpr std::size_t MaxHistoryRows = 999998;

// A history file read for the window: its last lines as rows, and what the whole file holds.
struct THistoryRead {
    std::vector<THistoryRow> Rows;   // in file order
    std::int64_t Lines = 0;   // every line of the file
    std::int64_t PointsTotal = 0;   // of every line, as HistoryPointsTotal counts them
};
// Every line of the file, a blank one too, numbered from 1; of a file longer than `keep` lines, only the last
// `keep` become rows (the newest units), while Lines and PointsTotal count the whole file. A missing or
// unreadable file gives nothing.
THistoryRead ReadHistoryTail(const std::string& path, std::size_t keep = MaxHistoryRows);
// The rows of ReadHistoryTail.
std::vector<THistoryRow> ReadHistory(const std::string& path);

// The points of every row summed; a points text that is not an integer counts 0.
std::int64_t HistoryPointsTotal(const std::vector<THistoryRow>& rows);

// Sorts ascending by the column's text compared byte by byte (dates and numbers sort as text). Stable: rows
// with equal keys keep their order. Whole rows move, their numbers included. A column outside the row
// changes nothing.
void SortHistory(std::vector<THistoryRow>& rows, int column);

// The first row after `from` (wrapping round to it) with a field that holds `text`, case folded (Cyrillic
// included); -1 for an empty text or when no row holds it. `from` -1 searches from the first row.
int FindHistoryRow(const std::vector<THistoryRow>& rows, const std::string& text, int from);
// The same over `count` rows held elsewhere, `field` giving a row's text in a column.
using THistoryCellText = std::function<std::string_view(int row, int column)>;
int FindHistoryRow(int count, const THistoryCellText& field, const std::string& text, int from);

}
