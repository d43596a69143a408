// TCustomGrid: painting the cells, the mouse (selecting, sizing, moving), keys and the wheel.
#include "platform/classes/TCustomGrid.h"

#include "platform/classes/TColor.h"
#include "platform/classes/TComponentWatch.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/user/Input.h"
#include "platform/user/VirtualKeys.h"
#include "platform/user/controls/ControlsCommon.h"

#include <algorithm>
#include <cstdint>

namespace korvex::classes {

using namespace user;

namespace {

constexpr int SizingSlop = 3;   // pixels either side of a line that start sizing

}   // namespace

// ---------------------------------------------------------------------------------------------------------
// Painting

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    TRect clip = canvas->ClipRect();
    PaintCells(canvas, clip);
}

void TCustomGrid::PaintCells(TCanvas* canvas, const TRect& clip) {
    int lw = LineWidth();
    TAxis h = Horz();
    TAxis v = Vert();
    int right = 0;
    int bottom = 0;
    TGridRect sel = Selection();
    bool focused = Focused();
    auto drawLine = [&](int x1, int y1, int x2, int y2, TColor color) {
        canvas->Brush()->SetColor(color);
        canvas->FillRect(Rect(x1, y1, x2, y2));
    };
    for (int row = 0, y = 0; row < RowCount() && y < v.Extent; ++row) {
        if (row == FFixedRows) row = v.First;
        if (row >= RowCount()) break;
        int height = FRowHeights[std::size_t(row)];
        if (height + lw == 0) continue;   // takes no room: nothing to see
        if (y + height + lw <= clip.top) {
            y += height + lw;
            continue;
        }
        if (y >= clip.bottom) break;
        for (int col = 0, x = 0; col < ColCount() && x < h.Extent; ++col) {
            if (col == FFixedCols) col = h.First;
            if (col >= ColCount()) break;
            int width = FColWidths[std::size_t(col)];
            if (width + lw == 0) continue;
            TRect cell = Rect(x, y, x + width, y + height);
            x += width + lw;
            right = std::max(right, x);
            if (cell.right + lw <= clip.left || cell.left >= clip.right) continue;
            bool fixed = col < FFixedCols || row < FFixedRows;
            TGridDrawState state;
            if (fixed)
                state.Include(gdFixed);
            else {
                bool isFocus = col == FCurrent.X && row == FCurrent.Y;
                if (isFocus && focused) state.Include(gdFocused);
                if (sel.Contains(col, row)
                    && (!isFocus || FOptions.Contains(goRowSelect) || FOptions.Contains(goDrawFocusSelected)
                        || !focused))
                    state.Include(gdSelected);
            }
            if (lw > 0) {
                bool vline = fixed ? FOptions.Contains(goFixedVertLine) : FOptions.Contains(goVertLine);
                bool hline = fixed ? FOptions.Contains(goFixedHorzLine) : FOptions.Contains(goHorzLine);
                TColor lineColor = fixed ? clBlack : FGridLineColor;
                TColor back = fixed ? FFixedColor : Color();
                drawLine(cell.right, cell.top, cell.right + lw, cell.bottom + lw, vline ? lineColor : back);
                drawLine(cell.left, cell.bottom, cell.right, cell.bottom + lw, hline ? lineColor : back);
            }
            if (FDefaultDrawing) {
                canvas->Brush()->SetColor(fixed ? FFixedColor : state.Contains(gdSelected) ? clHighlight : Color());
                canvas->Font()->Assign(Font());
                if (state.Contains(gdSelected)) canvas->Font()->SetColor(clHighlightText);
                canvas->FillRect(cell);
                if (fixed && FCtl3D && FOptions.Contains(goFixedVertLine) && FOptions.Contains(goFixedHorzLine)) {
                    RECT edge = cell;
                    gdi::DrawEdge(canvas->Handle(), &edge, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
                }
            }
            DrawCell(col, row, cell, state);
            if (FDefaultDrawing && state.Contains(gdFocused) && !FOptions.Contains(goRowSelect)) {
                canvas->Brush()->SetColor(Color());
                canvas->DrawFocusRect(cell);
            }
        }
        y += height + lw;
        bottom = y;
    }
    // What is right of and below the cells.
    canvas->Brush()->SetColor(Color());
    if (right < h.Extent) canvas->FillRect(Rect(right, 0, h.Extent, v.Extent));
    if (bottom < v.Extent) canvas->FillRect(Rect(0, bottom, std::min(right, h.Extent), v.Extent));
    if (FGridState == gsRowMoving || FGridState == gsColMoving) {
        canvas->Brush()->SetColor(clBlack);
        if (FGridState == gsRowMoving && FMovePos >= 0) canvas->FillRect(Rect(0, FMovePos - 1, right, FMovePos + 1));
        if (FGridState == gsColMoving && FMovePos >= 0) canvas->FillRect(Rect(FMovePos - 1, 0, FMovePos + 1, bottom));
    }
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (OnDrawCell) OnDrawCell(this, col, row, rect, state);
}

// ---------------------------------------------------------------------------------------------------------
// Mouse

namespace {

// The first cell of the axis in view whose far line lies within the slop of `at`; -1 when none. The cells in
// view are walked in order (the fixed ones, then from the first scrollable one) until the extent is passed.
int LineNear(const std::vector<int>& sizes, int fixed, int first, int extent, int lineWidth, int at) {
    std::int64_t pos = 0;
    const int count = int(sizes.size());
    for (int i = 0; i < count && pos < extent; ++i) {
        if (i == fixed) i = first;
        if (i >= count) break;
        const std::int64_t line = pos + sizes[std::size_t(i)];
        if (at >= line - SizingSlop && at <= line + lineWidth + SizingSlop - 1) return i;
        pos = line + lineWidth;
    }
    return -1;
}

std::int64_t FixedExtent(const std::vector<int>& sizes, int fixed, int lineWidth) {
    std::int64_t extent = 0;
    for (int i = 0; i < fixed; ++i)
        extent += sizes[std::size_t(i)] + lineWidth;
    return extent;
}

}

// A column line in the fixed rows (goColSizing) or a row line in the fixed columns (goRowSizing) near (x, y).
bool TCustomGrid::SizingLineAt(int x, int y, TGridState& state, int& index) const {
    const int lw = LineWidth();
    if (FOptions.Contains(goColSizing) && y >= 0 && y < FixedExtent(FRowHeights, FFixedRows, lw)) {
        const int col = LineNear(FColWidths, FFixedCols, FTopLeft.X, ClientWidth(), lw, x);
        if (col >= 0) {
            state = gsColSizing;
            index = col;
            return true;
        }
    }
    if (FOptions.Contains(goRowSizing) && x >= 0 && x < FixedExtent(FColWidths, FFixedCols, lw)) {
        const int row = LineNear(FRowHeights, FFixedRows, FTopLeft.Y, ClientHeight(), lw, y);
        if (row >= 0) {
            state = gsRowSizing;
            index = row;
            return true;
        }
    }
    return false;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && CanFocus() && !Focused() && !RunUserCode(this, [this] { SetFocus(); })) return;
    if (button == mbLeft) {
        TGridState sizing = gsNormal;
        int index = -1;
        TGridCoord cell = MouseCoord(x, y);
        if (SizingLineAt(x, y, sizing, index)) {
            FGridState = sizing;
            FSizingIndex = index;
            FSizingOrigin
                = sizing == gsColSizing ? Position(Horz(), index, LineWidth()) : Position(Vert(), index, LineWidth());
        } else if (cell.X >= 0 && cell.Y >= 0 && cell.Y < FFixedRows && cell.X >= FFixedCols
            && FOptions.Contains(goColMoving)) {
            FGridState = gsColMoving;
            FMoveIndex = cell.X;
            FMovePos = -1;
        } else if (cell.X >= 0 && cell.Y >= 0 && cell.X < FFixedCols && cell.Y >= FFixedRows
            && FOptions.Contains(goRowMoving)) {
            FGridState = gsRowMoving;
            FMoveIndex = cell.Y;
            FMovePos = -1;
        } else if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
            bool extend
                = shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && !FOptions.Contains(goRowSelect);
            if (!FocusCell(cell.X, cell.Y, !extend)) return;
            FGridState = gsSelecting;
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    switch (FGridState) {
    case gsColSizing:
        if (FSizingIndex < ColCount()) FColWidths[std::size_t(FSizingIndex)] = std::max(x - FSizingOrigin, 0);
        SizesChanged(ColCount(), RowCount());
        break;
    case gsRowSizing:
        if (FSizingIndex < RowCount()) FRowHeights[std::size_t(FSizingIndex)] = std::max(y - FSizingOrigin, 0);
        SizesChanged(ColCount(), RowCount());
        break;
    case gsRowMoving:
    case gsColMoving: {
        TGridCoord cell = MouseCoord(x, y);
        int target = FGridState == gsRowMoving ? cell.Y : cell.X;
        int fixed = FGridState == gsRowMoving ? FFixedRows : FFixedCols;
        int pos = -1;
        if (target >= fixed)
            pos = FGridState == gsRowMoving ? Position(Vert(), target, LineWidth())
                                            : Position(Horz(), target, LineWidth());
        if (pos != FMovePos) {
            FMovePos = pos;
            Invalidate();
        }
        break;
    }
    case gsSelecting: {
        TGridCoord cell = MouseCoord(x, y);
        bool alive = true;
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows && FOptions.Contains(goRangeSelect)
            && !FOptions.Contains(goRowSelect))
            alive = FocusCell(cell.X, cell.Y, false);
        else if (cell.Y >= FFixedRows && FOptions.Contains(goRowSelect) && cell.Y != FCurrent.Y)
            alive = FocusCell(FCurrent.X, cell.Y, true);
        if (!alive) return;
        break;
    }
    default:
        break;
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGridState state = FGridState;
    FGridState = gsNormal;
    if (state == gsRowMoving || state == gsColMoving) {
        TGridCoord cell = MouseCoord(x, y);
        int target = state == gsRowMoving ? cell.Y : cell.X;
        int fixed = state == gsRowMoving ? FFixedRows : FFixedCols;
        FMovePos = -1;
        Invalidate();
        if (target >= fixed && target != FMoveIndex) {
            if (state == gsRowMoving)
                MoveRow(FMoveIndex, target);
            else
                MoveColumn(FMoveIndex, target);
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGrid::WMSetCursor(TMessage& m) {
    if (LOWORD(m.LParam) == HTCLIENT && FGridState == gsNormal) {
        POINT p {};
        GetCursorPos(&p);
        TPoint client = ScreenToClient(Point(p.x, p.y));
        TGridState state = gsNormal;
        int index = -1;
        if (SizingLineAt(client.x, client.y, state, index)) {
            user::SetCursor(LoadCursor(nullptr, state == gsColSizing ? IDC_SIZEWE : IDC_SIZENS));
            m.Result = 1;
            return;
        }
    }
    TCustomControl::WMSetCursor(m);
}

// Moving keeps the focused row (column) on the same record.
void TCustomGrid::MoveRow(int fromIndex, int toIndex) {
    if (fromIndex < 0 || fromIndex >= RowCount() || toIndex < 0 || toIndex >= RowCount() || fromIndex == toIndex)
        return;
    int height = FRowHeights[std::size_t(fromIndex)];
    FRowHeights.erase(FRowHeights.begin() + fromIndex);
    FRowHeights.insert(FRowHeights.begin() + toIndex, height);
    RowMoved(fromIndex, toIndex);
    if (FCurrent.Y == fromIndex) FCurrent.Y = toIndex;
    FAnchor.Y = FCurrent.Y;
    Invalidate();
    if (OnRowMoved) OnRowMoved(this, fromIndex, toIndex);
}

void TCustomGrid::MoveColumn(int fromIndex, int toIndex) {
    if (fromIndex < 0 || fromIndex >= ColCount() || toIndex < 0 || toIndex >= ColCount() || fromIndex == toIndex)
        return;
    int width = FColWidths[std::size_t(fromIndex)];
    FColWidths.erase(FColWidths.begin() + fromIndex);
    FColWidths.insert(FColWidths.begin() + toIndex, width);
    ColumnMoved(fromIndex, toIndex);
    if (FCurrent.X == fromIndex) FCurrent.X = toIndex;
    FAnchor.X = FCurrent.X;
    Invalidate();
    if (OnColumnMoved) OnColumnMoved(this, fromIndex, toIndex);
}

void TCustomGrid::ColumnMoved(int, int) {
}
void TCustomGrid::RowMoved(int, int) {
}

// One notch moves the view by one row.
bool TCustomGrid::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    SetTopRow(TopRow() - (wheelDelta > 0 ? 1 : -1));
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Keys and focus

void TCustomGrid::WndProc(TMessage& message) {
    if (message.Msg == WM_GETDLGCODE) {
        message.Result = DLGC_WANTARROWS | (FOptions.Contains(goTabs) ? DLGC_WANTTAB : 0);
        return;
    }
    if (message.Msg == WM_CANCELMODE) FGridState = gsNormal;
    TCustomControl::WndProc(message);
}

void TCustomGrid::KeyDown(WORD& key, TShiftState shift) {
    if (!RunUserCode(this, [&] { TCustomControl::KeyDown(key, shift); }) || key == 0) return;
    int page = std::max(VisibleRowCount(), 1);
    int col = FCurrent.X;
    int row = FCurrent.Y;
    bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
    case VK_UP:
        --row;
        break;
    case VK_DOWN:
        ++row;
        break;
    case VK_LEFT:
        --col;
        break;
    case VK_RIGHT:
        ++col;
        break;
    case VK_PRIOR:
        row -= page;
        break;
    case VK_NEXT:
        row += page;
        break;
    case VK_HOME:
        if (ctrl) row = FFixedRows;
        col = FFixedCols;
        break;
    case VK_END:
        if (ctrl) row = RowCount() - 1;
        col = ColCount() - 1;
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs)) return;
        col += shift.Contains(ssShift) ? -1 : 1;
        break;
    default:
        return;
    }
    if (FOptions.Contains(goRowSelect) && key != VK_TAB) col = FCurrent.X;
    col = std::clamp(col, FFixedCols, ColCount() - 1);
    row = std::clamp(row, FFixedRows, RowCount() - 1);
    bool extend = shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && !FOptions.Contains(goRowSelect)
        && key != VK_TAB;
    FocusCell(col, row, !extend);
    key = 0;
}

void TCustomGrid::WMSetFocus(TMessage& m) {
    TCustomControl::WMSetFocus(m);
    Invalidate();
}

void TCustomGrid::WMKillFocus(TMessage& m) {
    TCustomControl::WMKillFocus(m);
    Invalidate();
}

}
