// TStringGrid: a grid holding a string for every cell, painted as text unless the owner paints it.
#pragma once

#include "platform/classes/TCustomGrid.h"

#include <functional>
#include <string>
#include <vector>

namespace korvex::classes {

// Cells follow the grid's size: added rows and columns start empty, removed ones are dropped; moving a
// row or column moves its cells.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* owner);
    static TClass StaticClass();
    TClass ClassType() const override { return StaticClass(); }

    // Outside the grid: reading gives "", writing raises EInvalidOperation.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& value);
    // Rows from firstRow on take the given cells (extra cells of a row beyond ColCount are dropped) and the
    // grid repaints once: a fill of many rows without a repaint request per cell. Rows past RowCount raise
    // EInvalidOperation before anything changes.
    void SetRows(int firstRow, std::vector<std::vector<std::string>> rows);
    // The cells of a row as held, without copies: a row may hold fewer cells than ColCount (the rest read as
    // ""); a row outside the grid holds none.
    const std::vector<std::string>& RowCells(int row) const;
    using TRowLess = std::function<bool(const std::vector<std::string>&, const std::vector<std::string>&)>;
    // Orders `count` rows from firstRow on by `less`, stably (rows the order calls equal keep their order), and
    // repaints once; rows outside the grid raise EInvalidOperation before anything moves.
    void SortRows(int firstRow, int count, const TRowLess& less);

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;

private:
    // By row, then column; a row holds cells up to its last one written (the rest read as empty).
    std::vector<std::vector<std::string>> FCells;
};

}
