// TStringGrid: cell strings kept in step with the grid's size and drawn as text.
#include "platform/classes/TStringGrid.h"

#include "platform/classes/Errors.h"
#include "platform/classes/PropertyRegistry.h"

#include <algorithm>
#include <cstdint>

namespace korvex::classes {

TStringGrid::TStringGrid(TComponent* owner)
    : TDrawGrid(owner) {
    SizeChanged(0, 0);
}

TClass TStringGrid::StaticClass() {
    static const TClassInfo info = MakeClass<TStringGrid, TDrawGrid>("TStringGrid", [](auto&) {});
    return &info;
}

std::string TStringGrid::Cells(int col, int row) const {
    if (row < 0 || row >= int(FCells.size()) || col < 0 || col >= int(FCells[std::size_t(row)].size())) return {};
    return FCells[std::size_t(row)][std::size_t(col)];
}

void TStringGrid::SetCells(int col, int row, const std::string& value) {
    if (row < 0 || row >= RowCount() || col < 0 || col >= ColCount())
        throw EInvalidOperation("Grid index out of range");
    auto& cells = FCells[std::size_t(row)];
    if (col >= int(cells.size())) {
        if (value.empty()) return;
        cells.resize(std::size_t(col) + 1);
    }
    cells[std::size_t(col)] = value;
    InvalidateCell(col, row);
}

void TStringGrid::SetRows(int firstRow, std::vector<std::vector<std::string>> rows) {
    if (firstRow < 0 || std::int64_t(firstRow) + std::int64_t(rows.size()) > RowCount())
        throw EInvalidOperation("Grid index out of range");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].size() > std::size_t(ColCount())) rows[i].resize(std::size_t(ColCount()));
        FCells[std::size_t(firstRow) + i] = std::move(rows[i]);
    }
    Invalidate();
}

const std::vector<std::string>& TStringGrid::RowCells(int row) const {
    static const std::vector<std::string> none;
    return row < 0 || row >= int(FCells.size()) ? none : FCells[std::size_t(row)];
}

void TStringGrid::SortRows(int firstRow, int count, const TRowLess& less) {
    if (firstRow < 0 || count < 0 || std::int64_t(firstRow) + count > RowCount())
        throw EInvalidOperation("Grid index out of range");
    const auto first = FCells.begin() + firstRow;
    std::stable_sort(first, first + count, less);
    Invalidate();
}

void TStringGrid::SizeChanged(int, int) {
    FCells.resize(std::size_t(RowCount()));
    for (auto& row : FCells)
        if (row.size() > std::size_t(ColCount())) row.resize(std::size_t(ColCount()));
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex) {
    const std::size_t reach = std::size_t(std::max(fromIndex, toIndex)) + 1;
    for (auto& row : FCells) {
        if (row.size() <= std::size_t(std::min(fromIndex, toIndex))) continue;   // only empty cells move
        if (row.size() < reach) row.resize(reach);
        std::string cell = std::move(row[std::size_t(fromIndex)]);
        row.erase(row.begin() + fromIndex);
        row.insert(row.begin() + toIndex, std::move(cell));
    }
}

void TStringGrid::RowMoved(int fromIndex, int toIndex) {
    auto row = std::move(FCells[std::size_t(fromIndex)]);
    FCells.erase(FCells.begin() + fromIndex);
    FCells.insert(FCells.begin() + toIndex, std::move(row));
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        TCanvas* canvas = Canvas();
        canvas->TextRect(rect, rect.left + 2, rect.top + 2, Cells(col, row));
    }
    TDrawGrid::DrawCell(col, row, rect, state);
}

}
